#pragma once

#include "engine/base/CCGeometry.h"
#include "engine/base/CCObject.h"
#include "gui/GuiNamespace.h"

namespace pagly::engine {
class CCAction;

}  // namespace pagly::engine

namespace pagly::gui {

// The kinds of key frame; each kind has its own frame list in a node, indexed by this value.
enum ActionFrameType {
    FrameMove = 0,
    FrameScale = 1,
    FrameRotation = 2,
    FrameTint = 3,
    FrameFade = 4,
    FrameTypeCount = 5
};

// One key frame of a timeline: where on the timeline it sits (frameIndex, in frame steps)
// and, in the subclasses, the value the widget reaches there. getAction makes the engine
// action that carries the widget from the previous frame's value to this one.
class ActionFrame : public CCObject {
  public:
    ActionFrame() = default;

    // An autoreleased engine action of the given duration (seconds) towards this frame's
    // value; the bare base class has no value and gives null.
    virtual CCAction* getAction(float duration);

    ActionFrameType getFrameType() const { return m_frameType; }
    void setFrameType(ActionFrameType type) { m_frameType = type; }
    int getFrameIndex() const { return m_frameIndex; }
    void setFrameIndex(int index) { m_frameIndex = index; }

  protected:
    ActionFrameType m_frameType = FrameMove;
    int m_frameIndex = 0;
};

// A position frame (points, parent space): CCMoveTo.
class ActionMoveFrame : public ActionFrame {
  public:
    ActionMoveFrame();
    CCAction* getAction(float duration) override;
    const CCPoint& getPosition() const { return m_position; }
    void setPosition(const CCPoint& position) { m_position = position; }

  private:
    CCPoint m_position;
};

// A scale frame: CCScaleTo.
class ActionScaleFrame : public ActionFrame {
  public:
    ActionScaleFrame();
    CCAction* getAction(float duration) override;
    float getScaleX() const { return m_scaleX; }
    void setScaleX(float scale) { m_scaleX = scale; }
    float getScaleY() const { return m_scaleY; }
    void setScaleY(float scale) { m_scaleY = scale; }

  private:
    float m_scaleX = 1.0f;
    float m_scaleY = 1.0f;
};

// A rotation frame (degrees): CCRotateTo.
class ActionRotationFrame : public ActionFrame {
  public:
    ActionRotationFrame();
    CCAction* getAction(float duration) override;
    float getRotation() const { return m_rotation; }
    void setRotation(float rotation) { m_rotation = rotation; }

  private:
    float m_rotation = 0.0f;
};

// A colour frame: CCTintTo.
class ActionTintFrame : public ActionFrame {
  public:
    ActionTintFrame();
    CCAction* getAction(float duration) override;
    const ccColor3B& getColor() const { return m_color; }
    void setColor(const ccColor3B& color) { m_color = color; }

  private:
    ccColor3B m_color;
};

// An opacity frame: CCFadeTo with the opacity truncated to an integer, low byte kept.
class ActionFadeFrame : public ActionFrame {
  public:
    ActionFadeFrame();
    CCAction* getAction(float duration) override;
    float getOpacity() const { return m_opacity; }
    void setOpacity(float opacity) { m_opacity = opacity; }

  private:
    float m_opacity = 255.0f;
};

}  // namespace pagly::gui
