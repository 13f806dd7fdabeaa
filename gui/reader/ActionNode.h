#pragma once

#include "engine/base/CCObject.h"
#include "engine/base/RefPtr.h"
#include "gui/reader/ActionFrame.h"
#include "gui/GuiNamespace.h"

namespace pagly::engine {
class CCAction;
class CCArray;
class CCNode;

}  // namespace pagly::engine

namespace pagly::gui {

class JsonDictionary;

// The key frames of one animated widget within a timeline, one list per kind of frame.
// It binds to the widget by action tag, prepares the engine action that plays all kinds in
// parallel (each kind's frames in sequence) and can pose the widget at any time. Actions
// drive the widget's render node, not the widget's stored properties.
class ActionNode : public CCObject {
  public:
    ActionNode();
    ~ActionNode() override;

    // Poses the target at `time` seconds; true when some kind found a frame at or after it.
    virtual bool updateToTime(float time);
    // Runs the prepared action on the target, repeated forever when loop is set.
    virtual void play(bool loop);
    // Stops the action last started by play.
    virtual void stop();
    // Reads "ActionTag" and the frames of "actionframelist", then binds to root's tree.
    virtual void loadFromDictionary(JsonDictionary* node, CCObject* root);
    // The engine node the actions run on: the target itself, or a widget's render node.
    virtual CCNode* getTargetNode();
    // Prepares the parallel action from the frame lists; null without a target.
    virtual CCAction* rebuildAction();
    // Runs the action last made by play on the target node.
    virtual void runOnTarget();
    // Finds the target: the widget of root's tree with this node's action tag.
    virtual void initActionNodeFromRoot(CCObject* root);
    // Puts the target at `progress` (0..1) of the frame's action of the given duration.
    virtual void applyFrameAt(float duration, float progress, ActionFrame* frame);

    // Appends a frame to the list of its kind.
    void addFrame(ActionFrame* frame);
    // The frames of one kind in document order (null for a kind out of range).
    CCArray* getFrameList(int kind) const;
    int getKindCount() const { return FrameTypeCount; }

    float getUnitTime() const { return m_unitTime; }
    // Seconds per frame step; the owning timeline calls rebuildAction afterwards.
    void setUnitTime(float unitTime) { m_unitTime = unitTime; }
    int getActionTag() const { return m_actionTag; }
    void setActionTag(int tag) { m_actionTag = tag; }
    // Not retained: the node must not be played or posed after its widget is gone.
    CCObject* getTarget() const { return m_target; }
    void setTarget(CCObject* target) { m_target = target; }
    CCAction* getSpawn() const { return m_spawn.get(); }
    CCAction* getRunningAction() const { return m_runningAction.get(); }

  private:
    float m_unitTime = 0.1f;
    int m_actionTag = 0;
    CCObject* m_target = nullptr;
    RefPtr<CCAction> m_spawn;
    RefPtr<CCAction> m_runningAction;
    RefPtr<CCArray> m_frameLists;
};

}  // namespace pagly::gui
