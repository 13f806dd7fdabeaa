#include "engine/nodes/CCSprite.h"

#include <cstdio>

#include "engine/base/CCRedraw.h"
#include "engine/nodes/CCSpriteFrame.h"
#include "engine/nodes/CCSpriteFrameCache.h"
#include "engine/render/CCTexture2D.h"
#include "engine/render/CCTextureCache.h"
#include "engine/render/Renderer.h"

namespace pagly::engine {

CCSprite::CCSprite() { m_obAnchorPoint = CCPoint(0.5f, 0.5f); }

CCSprite::~CCSprite() = default;

namespace {
template <class Init>
CCSprite* makeSprite(Init init) {
    CCSprite* sprite = new CCSprite();
    if (!init(sprite)) {
        sprite->release();
        return nullptr;
    }
    sprite->autorelease();
    return sprite;
}
}  // namespace

CCSprite* CCSprite::create() {
    return makeSprite([](CCSprite* s) { return s->init(); });
}
CCSprite* CCSprite::create(const char* fileName) {
    return makeSprite([&](CCSprite* s) { return s->initWithFile(fileName); });
}
CCSprite* CCSprite::create(const char* fileName, const CCRect& rect) {
    return makeSprite([&](CCSprite* s) { return s->initWithFile(fileName, rect); });
}
CCSprite* CCSprite::createWithTexture(CCTexture2D* texture) {
    return makeSprite([&](CCSprite* s) { return s->initWithTexture(texture); });
}
CCSprite* CCSprite::createWithTexture(CCTexture2D* texture, const CCRect& rect) {
    return makeSprite([&](CCSprite* s) { return s->initWithTexture(texture, rect); });
}
CCSprite* CCSprite::createWithSpriteFrame(CCSpriteFrame* frame) {
    return makeSprite([&](CCSprite* s) { return s->initWithSpriteFrame(frame); });
}
CCSprite* CCSprite::createWithSpriteFrameName(const char* frameName) {
    return makeSprite([&](CCSprite* s) { return s->initWithSpriteFrameName(frameName); });
}

bool CCSprite::init() { return initWithTexture(nullptr, CCRectZero); }

bool CCSprite::initWithTexture(CCTexture2D* texture) {
    if (!texture) return false;
    return initWithTexture(
        texture, CCRect(0, 0, (float)texture->getPixelsWide(), (float)texture->getPixelsHigh()));
}

bool CCSprite::initWithTexture(CCTexture2D* texture, const CCRect& rect) {
    return initWithTexture(texture, rect, false);
}

bool CCSprite::initWithTexture(CCTexture2D* texture, const CCRect& rect, bool rotated) {
    // Reset to a fresh sprite's state, as every initialiser does.
    m_realColor = m_displayedColor = kColorWhite;
    m_realOpacity = m_displayedOpacity = 255;
    m_bCascadeColor = m_bCascadeOpacity = false;
    m_opacityModifyRGB = true;
    m_blend = ccBlendFunc();
    m_flipX = m_flipY = false;
    setAnchorPoint(CCPoint(0.5f, 0.5f));
    m_offsetPosition = CCPointZero;
    m_unflippedOffsetFromCenter = CCPointZero;
    m_texture = texture;
    setTextureRect(rect, rotated, rect.size);
    ccRequestRedraw();
    return true;
}

bool CCSprite::initWithFile(const char* fileName) {
    CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(fileName);
    if (!texture) return false;
    return initWithTexture(texture);
}

bool CCSprite::initWithFile(const char* fileName, const CCRect& rect) {
    CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(fileName);
    if (!texture) return false;
    return initWithTexture(texture, rect);
}

bool CCSprite::initWithSpriteFrame(CCSpriteFrame* frame) {
    if (!frame) return false;
    RefPtr<CCSpriteFrame> keep(frame);  // the frame may only be held by what we replace
    initWithTexture(frame->getTexture(), frame->getRect());
    setDisplayFrame(frame);
    return true;
}

bool CCSprite::initWithSpriteFrameName(const char* frameName) {
    if (!frameName || !*frameName) return false;
    CCSpriteFrame* frame =
        CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(frameName);
    if (!frame) return false;
    return initWithSpriteFrame(frame);
}

void CCSprite::setTexture(CCTexture2D* texture) {
    if (m_texture.get() == texture) return;
    m_texture = texture;
    ccRequestRedraw();
}

void CCSprite::setTextureRect(const CCRect& rect) {
    setTextureRect(rect, m_rectRotated, rect.size);
}

void CCSprite::setTextureRect(const CCRect& rect, bool rotated, const CCSize& untrimmedSize) {
    m_rect = rect;
    m_rectRotated = rotated;
    setContentSize(untrimmedSize);
    updateOffsetPosition();
    ccRequestRedraw();
}

void CCSprite::updateOffsetPosition() {
    CCPoint offset = m_unflippedOffsetFromCenter;
    if (m_flipX) offset.x = -offset.x;
    if (m_flipY) offset.y = -offset.y;
    m_offsetPosition.x = offset.x + (m_obContentSize.width - m_rect.size.width) / 2;
    m_offsetPosition.y = offset.y + (m_obContentSize.height - m_rect.size.height) / 2;
}

void CCSprite::setDisplayFrame(CCSpriteFrame* frame) {
    if (!frame) return;
    m_unflippedOffsetFromCenter = frame->getOffset();
    setTexture(frame->getTexture());
    setTextureRect(frame->getRect(), frame->isRotated(), frame->getOriginalSize());
}

bool CCSprite::isFrameDisplayed(CCSpriteFrame* frame) const {
    return frame && frame->getTexture() == m_texture.get() && frame->getRect().equals(m_rect);
}

CCSpriteFrame* CCSprite::displayFrame() {
    return CCSpriteFrame::createWithTexture(m_texture.get(), m_rect, m_rectRotated,
                                            m_unflippedOffsetFromCenter, m_obContentSize);
}

void CCSprite::setFlipX(bool flip) {
    if (m_flipX == flip) return;
    m_flipX = flip;
    updateOffsetPosition();
    ccRequestRedraw();
}

void CCSprite::setFlipY(bool flip) {
    if (m_flipY == flip) return;
    m_flipY = flip;
    updateOffsetPosition();
    ccRequestRedraw();
}

void CCSprite::setBlendFunc(const ccBlendFunc& blend) {
    if (m_blend == blend) return;
    m_blend = blend;
    ccRequestRedraw();
}

void CCSprite::draw(Renderer* renderer) {
    if (!renderer || !m_texture) return;
    TexturedQuad q;
    q.texture = m_texture.get();
    q.textureRect = m_rect;
    q.rotated = m_rectRotated;
    q.rect = CCRect(m_offsetPosition.x, m_offsetPosition.y, m_rect.size.width, m_rect.size.height);
    q.transform = m_worldTransform;
    q.color =
        ccColor4B(m_displayedColor.r, m_displayedColor.g, m_displayedColor.b, m_displayedOpacity);
    q.flipX = m_flipX;
    q.flipY = m_flipY;
    q.blend = m_blend;
    renderer->drawTexturedQuad(q);
}

std::string CCSprite::description() const {
    char buf[160];
    snprintf(buf, sizeof buf, "<CCSprite tag=%d rect=(%g,%g,%g,%g)%s>", m_nTag, m_rect.origin.x,
             m_rect.origin.y, m_rect.size.width, m_rect.size.height, m_texture ? "" : " empty");
    return buf;
}

}  // namespace pagly::engine
