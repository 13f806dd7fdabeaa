#include "gui/CCScale9Sprite.h"

#include <cmath>

#include "engine/render/CCTexture2D.h"
#include "engine/nodes/CCSprite.h"
#include "engine/nodes/CCSpriteBatchNode.h"
#include "engine/nodes/CCSpriteFrame.h"
#include "engine/nodes/CCSpriteFrameCache.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

namespace {
bool isZero(const CCRect& r) { return r.equals(CCRectZero); }

// The rotation by a quarter turn leaves float noise (cos of pi/2 is not 0 in float); texture
// rectangles are whole pixels, so snap values that are within a hair of a whole number.
float snap(float v) {
    float r = std::round(v);
    return std::fabs(v - r) < 1e-3f ? r : v;
}

// One of the nine pieces: where it is cut from (relative to the source rectangle, y down),
// its z-order and tag in the batch node.
struct Piece {
    RefPtr<CCSprite> CCScale9Sprite::*member;
    CCRect rect;
    int zOrder;
    int tag;
};
}  // namespace

CCScale9Sprite::CCScale9Sprite() {}

CCScale9Sprite::~CCScale9Sprite() {
    releasePieces();
    m_scale9Image.reset();
}

CCScale9Sprite* CCScale9Sprite::create() { return ccCreateInitialized(new CCScale9Sprite()); }

CCScale9Sprite* CCScale9Sprite::createWithSpriteFrame(CCSpriteFrame* spriteFrame) {
    CCScale9Sprite* sprite = new CCScale9Sprite();
    if (!sprite->initWithSpriteFrame(spriteFrame)) {
        delete sprite;
        return nullptr;
    }
    sprite->autorelease();
    return sprite;
}

void CCScale9Sprite::releasePieces() {
    m_topLeft.reset();
    m_top.reset();
    m_topRight.reset();
    m_left.reset();
    m_centre.reset();
    m_right.reset();
    m_bottomLeft.reset();
    m_bottom.reset();
    m_bottomRight.reset();
}

// ---------------------------------------------------------------- initialisers

bool CCScale9Sprite::init() { return initWithBatchNode(nullptr, CCRectZero, CCRectZero); }

bool CCScale9Sprite::initWithBatchNode(CCSpriteBatchNode* batch, const CCRect& rect,
                                       const CCRect& capInsets) {
    return initWithBatchNode(batch, rect, false, capInsets);
}

bool CCScale9Sprite::initWithBatchNode(CCSpriteBatchNode* batch, const CCRect& rect, bool rotated,
                                       const CCRect& capInsets) {
    if (batch) {
        updateSlices(batch, rect, rotated, capInsets);
        setAnchorPoint(CCPoint(0.5f, 0.5f));
    }
    m_positionsAreDirty = true;
    return true;
}

bool CCScale9Sprite::initWithFile(const char* file) { return initWithFile(file, CCRectZero); }

bool CCScale9Sprite::initWithFile(const CCRect& capInsets, const char* file) {
    return initWithFile(file, CCRectZero, capInsets);
}

bool CCScale9Sprite::initWithFile(const char* file, const CCRect& rect) {
    return initWithFile(file, rect, CCRectZero);
}

bool CCScale9Sprite::initWithFile(const char* file, const CCRect& rect, const CCRect& capInsets) {
    // An image that cannot be used has been named by the texture cache; the old one stays.
    CCSpriteBatchNode* batch = file ? CCSpriteBatchNode::create(file, 9) : nullptr;
    return initWithBatchNode(batch, rect, capInsets);
}

bool CCScale9Sprite::initWithSpriteFrame(CCSpriteFrame* spriteFrame) {
    return initWithSpriteFrame(spriteFrame, CCRectZero);
}

bool CCScale9Sprite::initWithSpriteFrame(CCSpriteFrame* spriteFrame, const CCRect& capInsets) {
    if (!spriteFrame) return false;
    CCSpriteBatchNode* batch = CCSpriteBatchNode::createWithTexture(spriteFrame->getTexture(), 9);
    return initWithBatchNode(batch, spriteFrame->getRect(), spriteFrame->isRotated(), capInsets);
}

bool CCScale9Sprite::initWithSpriteFrameName(const char* spriteFrameName) {
    return initWithSpriteFrameName(spriteFrameName, CCRectZero);
}

bool CCScale9Sprite::initWithSpriteFrameName(const char* spriteFrameName, const CCRect& capInsets) {
    if (!spriteFrameName) return false;
    CCSpriteFrame* frame =
        CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(spriteFrameName);
    if (!frame) {
        CCLog("CCScale9Sprite: no sprite frame named \"%s\"", spriteFrameName);
        return false;
    }
    return initWithSpriteFrame(frame, capInsets);
}

void CCScale9Sprite::setSpriteFrame(CCSpriteFrame* spriteFrame) {
    if (!spriteFrame) return;
    CCSpriteBatchNode* batch = CCSpriteBatchNode::createWithTexture(spriteFrame->getTexture(), 9);
    updateSlices(batch, spriteFrame->getRect(), spriteFrame->isRotated(), CCRectZero);
    m_insetLeft = m_insetTop = m_insetRight = m_insetBottom = 0;
}

// ---------------------------------------------------------------- cutting

bool CCScale9Sprite::updateSlices(CCSpriteBatchNode* batch, const CCRect& sourceRect, bool rotated,
                                  const CCRect& capInsets) {
    // A rebuild keeps the tint it had.
    unsigned char opacity = getOpacity();
    ccColor3B color = getColor();

    // Keep the new batch alive across the removal below (it may be our current one).
    RefPtr<CCSpriteBatchNode> keep(batch);
    removeAllChildrenWithCleanup(true);
    releasePieces();

    if (batch != m_scale9Image.get()) m_scale9Image = batch;
    if (!m_scale9Image) return false;
    m_scale9Image->removeAllChildrenWithCleanup(true);
    CCTexture2D* texture = m_scale9Image->getTexture();

    m_capInsets = capInsets;
    CCRect rect = sourceRect;
    if (isZero(rect)) {
        CCSize textureSize = texture ? texture->getContentSize() : CCSizeZero;
        rect = CCRect(0, 0, textureSize.width, textureSize.height);
    }
    m_spriteRect = rect;
    m_bSpriteFrameRotated = rotated;
    m_sourceSize = rect.size;
    m_preferredSize = m_sourceSize;
    m_capInsetsInternal = m_capInsets;

    float w = rect.size.width, h = rect.size.height;
    if (isZero(m_capInsetsInternal)) {
        // Three equal bands each way.
        m_capInsetsInternal = CCRect(w / 3, h / 3, w / 3, h / 3);
    }
    float left = m_capInsetsInternal.origin.x, top = m_capInsetsInternal.origin.y;
    float centreW = m_capInsetsInternal.size.width, centreH = m_capInsetsInternal.size.height;
    float right = w - (left + centreW), bottom = h - (top + centreH);

    // Texture space: y grows downwards, so the top row starts at y = 0.
    const Piece pieces[9] = {
        {&CCScale9Sprite::m_centre, CCRect(left, top, centreW, centreH), 0, 0},
        {&CCScale9Sprite::m_top, CCRect(left, 0, centreW, top), 1, 1},
        {&CCScale9Sprite::m_bottom, CCRect(left, top + centreH, centreW, bottom), 1, 4},
        {&CCScale9Sprite::m_left, CCRect(0, top, left, centreH), 1, 2},
        {&CCScale9Sprite::m_right, CCRect(left + centreW, top, right, centreH), 1, 3},
        {&CCScale9Sprite::m_topLeft, CCRect(0, 0, left, top), 2, 6},
        {&CCScale9Sprite::m_topRight, CCRect(left + centreW, 0, right, top), 2, 5},
        {&CCScale9Sprite::m_bottomLeft, CCRect(0, top + centreH, left, bottom), 2, 8},
        {&CCScale9Sprite::m_bottomRight, CCRect(left + centreW, top + centreH, right, bottom), 2,
         7},
    };

    CCAffineTransform t = CCAffineTransformIdentity;
    if (!rotated) {
        t = CCAffineTransformTranslate(t, rect.origin.x, rect.origin.y);
    } else {
        // A rotated region is stored turned a quarter clockwise in the texture.
        t = CCAffineTransformTranslate(t, rect.origin.x + rect.size.height, rect.origin.y);
        t = CCAffineTransformRotate(t, 1.57079633f);
    }
    for (const Piece& piece : pieces) {
        CCRect moved = CCRectApplyAffineTransform(piece.rect, t);
        CCRect textureRect(snap(moved.origin.x), snap(moved.origin.y), piece.rect.size.width,
                           piece.rect.size.height);
        if (!rotated) textureRect = moved;
        CCSprite* sprite = new CCSprite();
        sprite->initWithTexture(texture, textureRect, rotated);
        m_scale9Image->addChild(sprite, piece.zOrder, piece.tag);
        this->*piece.member = sprite;
        sprite->release();
    }

    setContentSize(rect.size);
    addChild(m_scale9Image.get());

    if (m_bSpritesGenerated) {
        setOpacity(opacity);
        setColor(color);
    }
    m_bSpritesGenerated = true;
    return true;
}

// ---------------------------------------------------------------- placing

void CCScale9Sprite::setContentSize(const CCSize& size) {
    CCNodeRGBA::setContentSize(size);
    m_positionsAreDirty = true;
}

void CCScale9Sprite::setPreferredSize(const CCSize& size) {
    setContentSize(size);
    m_preferredSize = size;
}

void CCScale9Sprite::visit(Renderer* renderer) {
    if (m_positionsAreDirty) {
        layoutSlices();
        m_positionsAreDirty = false;
    }
    CCNodeRGBA::visit(renderer);
}

void CCScale9Sprite::layoutNow() {
    layoutSlices();
    m_positionsAreDirty = false;
}

void CCScale9Sprite::layoutSlices() {
    if (!m_topLeft || !m_topRight || !m_bottomRight || !m_bottomLeft || !m_centre) return;
    CCSize size = m_obContentSize;
    CCSize centre = m_centre->getContentSize();

    float sizableWidth =
        size.width - m_topLeft->getContentSize().width - m_topRight->getContentSize().width;
    float sizableHeight =
        size.height - m_topLeft->getContentSize().height - m_bottomRight->getContentSize().height;

    // A centre with no width (or height) has nothing to stretch: it stays empty and the far
    // pieces still go to the far edge instead of to a position of infinity or NaN.
    float horizontalScale = centre.width != 0 ? sizableWidth / centre.width : 1.0f;
    float verticalScale = centre.height != 0 ? sizableHeight / centre.height : 1.0f;
    m_centre->setScaleX(horizontalScale);
    m_centre->setScaleY(verticalScale);

    float rescaledWidth = centre.width != 0 ? centre.width * horizontalScale : sizableWidth;
    float rescaledHeight = centre.height != 0 ? centre.height * verticalScale : sizableHeight;
    float leftWidth = m_bottomLeft->getContentSize().width;
    float bottomHeight = m_bottomLeft->getContentSize().height;

    CCSprite* all[9] = {m_topLeft, m_top,        m_topRight, m_left,       m_centre,
                        m_right,   m_bottomLeft, m_bottom,   m_bottomRight};
    for (CCSprite* piece : all) {
        if (piece) piece->setAnchorPoint(CCPointZero);
    }

    m_bottomLeft->setPosition(CCPoint(0, 0));
    m_bottomRight->setPosition(CCPoint(leftWidth + rescaledWidth, 0));
    m_topLeft->setPosition(CCPoint(0, bottomHeight + rescaledHeight));
    m_topRight->setPosition(CCPoint(leftWidth + rescaledWidth, bottomHeight + rescaledHeight));
    if (m_left) {
        m_left->setPosition(CCPoint(0, bottomHeight));
        m_left->setScaleY(verticalScale);
    }
    if (m_right) {
        m_right->setPosition(CCPoint(leftWidth + rescaledWidth, bottomHeight));
        m_right->setScaleY(verticalScale);
    }
    if (m_bottom) {
        m_bottom->setPosition(CCPoint(leftWidth, 0));
        m_bottom->setScaleX(horizontalScale);
    }
    if (m_top) {
        m_top->setPosition(CCPoint(leftWidth, bottomHeight + rescaledHeight));
        m_top->setScaleX(horizontalScale);
    }
    m_centre->setPosition(CCPoint(leftWidth, bottomHeight));
}

// ---------------------------------------------------------------- insets

void CCScale9Sprite::setCapInsets(const CCRect& capInsets) {
    if (!m_scale9Image) return;
    // Re-cut, but keep the size on screen.
    CCSize contentSize = m_obContentSize;
    updateSlices(m_scale9Image.get(), m_spriteRect, m_bSpriteFrameRotated, capInsets);
    setContentSize(contentSize);
}

void CCScale9Sprite::applyInsetMargins() {
    CCRect insets;
    if (m_insetLeft == 0 && m_insetTop == 0 && m_insetRight == 0 && m_insetBottom == 0) {
        insets = CCRectZero;
    } else {
        // The pieces are cut in the image's upright space whether or not the region is stored
        // rotated, so the margins map the same way in both cases.
        float w = m_spriteRect.size.width, h = m_spriteRect.size.height;
        insets = CCRect(m_insetLeft, m_insetTop, w - m_insetLeft - m_insetRight,
                        h - m_insetTop - m_insetBottom);
    }
    setCapInsets(insets);
}

void CCScale9Sprite::setInsetLeft(float inset) {
    m_insetLeft = inset;
    applyInsetMargins();
}
void CCScale9Sprite::setInsetTop(float inset) {
    m_insetTop = inset;
    applyInsetMargins();
}
void CCScale9Sprite::setInsetRight(float inset) {
    m_insetRight = inset;
    applyInsetMargins();
}
void CCScale9Sprite::setInsetBottom(float inset) {
    m_insetBottom = inset;
    applyInsetMargins();
}

// ---------------------------------------------------------------- colour

void CCScale9Sprite::setColor(const ccColor3B& color) {
    if (!m_scale9Image) return;
    m_color = color;
    if (CCArray* children = m_scale9Image->getChildren()) {
        for (CCObject* o : *children) {
            if (CCRGBAProtocol* piece = dynamic_cast<CCRGBAProtocol*>(o)) piece->setColor(color);
        }
    }
}

void CCScale9Sprite::setOpacity(unsigned char opacity) {
    if (!m_scale9Image) return;
    m_cOpacity = opacity;
    if (CCArray* children = m_scale9Image->getChildren()) {
        for (CCObject* o : *children) {
            if (CCRGBAProtocol* piece = dynamic_cast<CCRGBAProtocol*>(o)) {
                piece->setOpacity(opacity);
            }
        }
    }
}

void CCScale9Sprite::setOpacityModifyRGB(bool modify) {
    if (!m_scale9Image) return;
    m_bOpacityModifyRGB = modify;
    if (CCArray* children = m_scale9Image->getChildren()) {
        for (CCObject* o : *children) {
            if (CCSprite* piece = dynamic_cast<CCSprite*>(o)) piece->setOpacityModifyRGB(modify);
        }
    }
}

// A colour or opacity cascaded from the parent becomes this node's own.
void CCScale9Sprite::updateDisplayedColor(const ccColor3B& parentColor) {
    CCNodeRGBA::updateDisplayedColor(parentColor);
    setColor(parentColor);
}

void CCScale9Sprite::updateDisplayedOpacity(unsigned char parentOpacity) {
    CCNodeRGBA::updateDisplayedOpacity(parentOpacity);
    setOpacity(parentOpacity);
}

}  // namespace pagly::gui
