#pragma once

#include "engine/base/RefPtr.h"
#include "engine/nodes/CCNode.h"
#include "gui/GuiNamespace.h"

namespace pagly::engine {
class CCSprite;
class CCSpriteBatchNode;
class CCSpriteFrame;

}  // namespace pagly::engine

namespace pagly::gui {

// A nine-slice sprite: one image (a file, a sprite frame or a rectangle of a texture) cut by
// cap insets into four corners, four edges and a centre, each a sprite in one batch node.
// Resizing keeps the corners, stretches the edges along one axis and the centre along both.
class CCScale9Sprite : public CCNodeRGBA {
  public:
    CCScale9Sprite();
    ~CCScale9Sprite() override;

    static CCScale9Sprite* create();
    static CCScale9Sprite* createWithSpriteFrame(CCSpriteFrame* spriteFrame);

    bool init() override;
    void setContentSize(const CCSize& size) override;
    void visit(Renderer* renderer) override;

    void setColor(const ccColor3B& color) override;
    const ccColor3B& getColor() override { return m_color; }
    void setOpacity(unsigned char opacity) override;
    unsigned char getOpacity() override { return m_cOpacity; }
    virtual void setOpacityModifyRGB(bool modify);
    virtual bool isOpacityModifyRGB() { return m_bOpacityModifyRGB; }
    void updateDisplayedColor(const ccColor3B& parentColor) override;
    void updateDisplayedOpacity(unsigned char parentOpacity) override;

    // --- operations it adds, in their slot order ---
    virtual CCSize getSourceSize() { return m_sourceSize; }
    virtual CCSize getPreferredSize() { return m_preferredSize; }
    virtual void setPreferredSize(const CCSize& size);
    virtual CCRect getCapInsets() { return m_capInsets; }
    virtual void setCapInsets(const CCRect& capInsets);
    virtual float getInsetLeft() { return m_insetLeft; }
    virtual void setInsetLeft(float inset);
    virtual float getInsetTop() { return m_insetTop; }
    virtual void setInsetTop(float inset);
    virtual float getInsetRight() { return m_insetRight; }
    virtual void setInsetRight(float inset);
    virtual float getInsetBottom() { return m_insetBottom; }
    virtual void setInsetBottom(float inset);
    virtual bool initWithBatchNode(CCSpriteBatchNode* batch, const CCRect& rect,
                                   const CCRect& capInsets);
    virtual bool initWithBatchNode(CCSpriteBatchNode* batch, const CCRect& rect, bool rotated,
                                   const CCRect& capInsets);
    virtual bool initWithFile(const char* file);
    virtual bool initWithFile(const CCRect& capInsets, const char* file);
    virtual bool initWithFile(const char* file, const CCRect& rect);
    virtual bool initWithFile(const char* file, const CCRect& rect, const CCRect& capInsets);
    virtual bool initWithSpriteFrame(CCSpriteFrame* spriteFrame);
    virtual bool initWithSpriteFrame(CCSpriteFrame* spriteFrame, const CCRect& capInsets);
    virtual bool initWithSpriteFrameName(const char* spriteFrameName);
    virtual bool initWithSpriteFrameName(const char* spriteFrameName, const CCRect& capInsets);
    // Cuts the image into its nine pieces.
    virtual bool updateSlices(CCSpriteBatchNode* batch, const CCRect& rect, bool rotated,
                              const CCRect& capInsets);
    virtual void setSpriteFrame(CCSpriteFrame* spriteFrame);

    // --- for inspection ---
    CCSpriteBatchNode* getBatchNode() const { return m_scale9Image.get(); }
    const CCRect& getSpriteRect() const { return m_spriteRect; }
    bool isSpriteFrameRotated() const { return m_bSpriteFrameRotated; }
    const CCRect& getEffectiveCapInsets() const { return m_capInsetsInternal; }
    CCSprite* getTopLeft() const { return m_topLeft.get(); }
    CCSprite* getTop() const { return m_top.get(); }
    CCSprite* getTopRight() const { return m_topRight.get(); }
    CCSprite* getLeft() const { return m_left.get(); }
    CCSprite* getCentre() const { return m_centre.get(); }
    CCSprite* getRight() const { return m_right.get(); }
    CCSprite* getBottomLeft() const { return m_bottomLeft.get(); }
    CCSprite* getBottom() const { return m_bottom.get(); }
    CCSprite* getBottomRight() const { return m_bottomRight.get(); }
    // Places the pieces now instead of at the next draw.
    void layoutNow();

  protected:
    void applyInsetMargins();
    void layoutSlices();
    void releasePieces();

    CCSize m_sourceSize;
    CCSize m_preferredSize;
    CCRect m_capInsets;
    float m_insetLeft = 0, m_insetTop = 0, m_insetRight = 0, m_insetBottom = 0;
    bool m_bSpritesGenerated = false;
    CCRect m_spriteRect;
    bool m_bSpriteFrameRotated = false;
    CCRect m_capInsetsInternal;
    bool m_positionsAreDirty = false;
    RefPtr<CCSpriteBatchNode> m_scale9Image;
    RefPtr<CCSprite> m_topLeft, m_top, m_topRight, m_left, m_centre, m_right, m_bottomLeft,
        m_bottom, m_bottomRight;
    bool m_bOpacityModifyRGB = false;
    unsigned char m_cOpacity = 255;
    ccColor3B m_color = ccColor3B(255, 255, 255);
};

}  // namespace pagly::gui
