#pragma once

#include "engine/nodes/CCLayer.h"
#include "engine/nodes/CCRGBAValues.h"
#include "engine/render/RenderTypes.h"

namespace pagly::engine {

// A layer with colour and opacity (optionally cascading to children), like CCNodeRGBA.
class CCLayerRGBA : public CCLayer, public CCRGBAProtocol, protected CCRGBAValues {
  public:
    CCLayerRGBA();

    void setColor(const ccColor3B& color) override;
    const ccColor3B& getColor() override { return m_realColor; }
    const ccColor3B& getDisplayedColor() override { return m_displayedColor; }
    unsigned char getDisplayedOpacity() override { return m_displayedOpacity; }
    unsigned char getOpacity() override { return m_realOpacity; }
    void setOpacity(unsigned char opacity) override;
    bool isCascadeColorEnabled() override { return m_bCascadeColor; }
    void setCascadeColorEnabled(bool enabled) override { m_bCascadeColor = enabled; }
    bool isCascadeOpacityEnabled() override { return m_bCascadeOpacity; }
    void setCascadeOpacityEnabled(bool enabled) override { m_bCascadeOpacity = enabled; }
    void updateDisplayedColor(const ccColor3B& parentColor) override;
    void updateDisplayedOpacity(unsigned char parentOpacity) override;
    void updateDisplayedFromParent() override;
};

// A solid rectangle of colour over the layer's content size (the design size by default),
// its lower-left corner at the layer's position.
class CCLayerColor : public CCLayerRGBA {
  public:
    // Transparent black, the size of the design.
    static CCLayerColor* create();
    static CCLayerColor* create(const ccColor4B& color);
    static CCLayerColor* create(const ccColor4B& color, float width, float height);
    bool init() override;
    virtual bool initWithColor(const ccColor4B& color);
    virtual bool initWithColor(const ccColor4B& color, float width, float height);

    void changeWidth(float width);
    void changeHeight(float height);
    void changeWidthAndHeight(float width, float height);
    void setContentSize(const CCSize& size) override;

    void setBlendFunc(const ccBlendFunc& blend) { m_blend = blend; }
    const ccBlendFunc& getBlendFunc() const { return m_blend; }

    void draw(Renderer* renderer) override;

  protected:
    // The colours of the corners bl, br, tl, tr.
    virtual void cornerColors(ccColor4B out[4]);

    ccBlendFunc m_blend;
};

}  // namespace pagly::engine
