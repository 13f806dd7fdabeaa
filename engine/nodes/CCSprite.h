#pragma once

#include <string>

#include "engine/base/RefPtr.h"
#include "engine/render/CCTexture2D.h"
#include "engine/nodes/CCNode.h"
#include "engine/render/RenderTypes.h"

namespace pagly::engine {

class CCSpriteFrame;
class CCTexture2D;

// An image on screen: a rectangle of a texture (possibly a rotated, trimmed sprite-sheet
// frame) drawn with the node's transform, colour and opacity. Its content size is the
// untrimmed frame size; the anchor starts at the centre. An empty sprite draws nothing.
class CCSprite : public CCNodeRGBA {
  public:
    CCSprite();
    ~CCSprite() override;

    // An empty sprite (no texture).
    static CCSprite* create();
    // Null when the image cannot be loaded.
    static CCSprite* create(const char* fileName);
    static CCSprite* create(const char* fileName, const CCRect& rect);
    static CCSprite* createWithTexture(CCTexture2D* texture);
    static CCSprite* createWithTexture(CCTexture2D* texture, const CCRect& rect);
    static CCSprite* createWithSpriteFrame(CCSpriteFrame* frame);
    // Null when the frame cache does not know the name.
    static CCSprite* createWithSpriteFrameName(const char* frameName);

    // The initialisers reset the sprite (anchor at the centre, white, opaque, no flip).
    // On failure they return false and leave the sprite as it was.
    bool init() override;
    virtual bool initWithTexture(CCTexture2D* texture);
    virtual bool initWithTexture(CCTexture2D* texture, const CCRect& rect);
    virtual bool initWithTexture(CCTexture2D* texture, const CCRect& rect, bool rotated);
    virtual bool initWithSpriteFrame(CCSpriteFrame* frame);
    virtual bool initWithSpriteFrameName(const char* frameName);
    virtual bool initWithFile(const char* fileName);
    virtual bool initWithFile(const char* fileName, const CCRect& rect);

    virtual void setTexture(CCTexture2D* texture);
    CCTexture2D* getTexture() const { return m_texture.get(); }
    // The region of the texture (pixels, origin top-left; unrotated size for rotated regions).
    virtual void setTextureRect(const CCRect& rect);
    virtual void setTextureRect(const CCRect& rect, bool rotated, const CCSize& untrimmedSize);
    const CCRect& getTextureRect() const { return m_rect; }
    bool isTextureRectRotated() const { return m_rectRotated; }
    // Where the drawn rectangle's lower-left corner sits in the node (trimmed frames).
    const CCPoint& getOffsetPosition() const { return m_offsetPosition; }

    virtual void setDisplayFrame(CCSpriteFrame* frame);
    bool isFrameDisplayed(CCSpriteFrame* frame) const;
    // A new frame describing what is shown now (autoreleased).
    CCSpriteFrame* displayFrame();

    void setFlipX(bool flip);
    bool isFlipX() const { return m_flipX; }
    void setFlipY(bool flip);
    bool isFlipY() const { return m_flipY; }

    void setBlendFunc(const ccBlendFunc& blend);
    const ccBlendFunc& getBlendFunc() const { return m_blend; }
    // Textures hold straight alpha here, so this flag changes nothing drawn; kept for callers.
    virtual void setOpacityModifyRGB(bool modify) { m_opacityModifyRGB = modify; }
    virtual bool isOpacityModifyRGB() const { return m_opacityModifyRGB; }

    void draw(Renderer* renderer) override;
    std::string description() const override;

  protected:
    void updateOffsetPosition();

    RefPtr<CCTexture2D> m_texture;
    CCRect m_rect;
    bool m_rectRotated = false;
    CCPoint m_offsetPosition;
    CCPoint m_unflippedOffsetFromCenter;
    bool m_flipX = false, m_flipY = false;
    bool m_opacityModifyRGB = true;
    ccBlendFunc m_blend;
};

}  // namespace pagly::engine
