#include "engine/nodes/CCLabelTTF.h"

#include <SDL.h>

#include <cmath>
#include <cstdio>

#include "engine/base/CCRedraw.h"
#include "engine/nodes/CCFontCache.h"
#include "engine/render/CCTexture2D.h"

namespace pagly::engine {

namespace {

const char* const kDefaultFontName = "Arial";
const float kDefaultFontSize = 12.0f;

CCSize sanitized(const CCSize& size) {
    // Negative or NaN sides mean "no dimension".
    return CCSize(size.width > 0 ? size.width : 0, size.height > 0 ? size.height : 0);
}

template <class Init>
CCLabelTTF* makeLabel(Init init) {
    CCLabelTTF* label = new CCLabelTTF();
    if (!init(label)) {
        label->release();
        return nullptr;
    }
    label->autorelease();
    return label;
}

}  // namespace

CCLabelTTF::CCLabelTTF() : m_fontName(kDefaultFontName), m_fontSize(kDefaultFontSize) {}

CCLabelTTF::~CCLabelTTF() = default;

CCLabelTTF* CCLabelTTF::create() {
    return makeLabel([](CCLabelTTF* l) { return l->init(); });
}

CCLabelTTF* CCLabelTTF::create(const char* text, const char* fontName, float fontSize) {
    return makeLabel([&](CCLabelTTF* l) { return l->initWithString(text, fontName, fontSize); });
}

CCLabelTTF* CCLabelTTF::create(const char* text, const char* fontName, float fontSize,
                               const CCSize& dimensions, CCTextAlignment hAlignment) {
    return makeLabel([&](CCLabelTTF* l) {
        return l->initWithString(text, fontName, fontSize, dimensions, hAlignment);
    });
}

CCLabelTTF* CCLabelTTF::create(const char* text, const char* fontName, float fontSize,
                               const CCSize& dimensions, CCTextAlignment hAlignment,
                               CCVerticalTextAlignment vAlignment) {
    return makeLabel([&](CCLabelTTF* l) {
        return l->initWithString(text, fontName, fontSize, dimensions, hAlignment, vAlignment);
    });
}

bool CCLabelTTF::init() { return initWithString("", kDefaultFontName, kDefaultFontSize); }

bool CCLabelTTF::initWithString(const char* text, const char* fontName, float fontSize) {
    return initWithString(text, fontName, fontSize, CCSizeZero, kTextAlignmentLeft,
                          kVerticalTextAlignmentTop);
}

bool CCLabelTTF::initWithString(const char* text, const char* fontName, float fontSize,
                                const CCSize& dimensions, CCTextAlignment hAlignment) {
    return initWithString(text, fontName, fontSize, dimensions, hAlignment,
                          kVerticalTextAlignmentTop);
}

bool CCLabelTTF::initWithString(const char* text, const char* fontName, float fontSize,
                                const CCSize& dimensions, CCTextAlignment hAlignment,
                                CCVerticalTextAlignment vAlignment) {
    // Start as a plain sprite without texture (white, opaque, anchor at the centre).
    if (!CCSprite::initWithTexture(nullptr, CCRectZero)) return false;
    m_string = text ? text : "";
    m_fontName = fontName && *fontName ? fontName : kDefaultFontName;
    m_fontSize = fontSize;
    m_dimensions = sanitized(dimensions);
    m_hAlignment = hAlignment;
    m_vAlignment = vAlignment;
    updateTexture();
    return true;
}

void CCLabelTTF::setString(const char* text) {
    if (!text || m_string == text) return;
    m_string = text;
    updateTexture();
}

void CCLabelTTF::setHorizontalAlignment(CCTextAlignment alignment) {
    if (m_hAlignment == alignment) return;
    m_hAlignment = alignment;
    updateTexture();
}

void CCLabelTTF::setVerticalAlignment(CCVerticalTextAlignment alignment) {
    if (m_vAlignment == alignment) return;
    m_vAlignment = alignment;
    updateTexture();
}

void CCLabelTTF::setDimensions(const CCSize& dimensions) {
    CCSize size = sanitized(dimensions);
    if (size.equals(m_dimensions)) return;
    m_dimensions = size;
    updateTexture();
}

void CCLabelTTF::setFontSize(float size) {
    if (m_fontSize == size) return;
    m_fontSize = size;
    updateTexture();
}

void CCLabelTTF::setFontName(const char* fontName) {
    if (!fontName || !*fontName || m_fontName == fontName) return;
    m_fontName = fontName;
    updateTexture();
}

bool CCLabelTTF::updateTexture() {
    ccRequestRedraw();
    SDL_Surface* surface = CCFontCache::sharedFontCache()->renderText(
        m_string, m_fontName, m_fontSize, m_dimensions, m_hAlignment, m_vAlignment);
    CCTexture2D* texture = nullptr;
    if (surface) {
        texture = new CCTexture2D();
        // Labels are scaled and rotated like sprites: smooth sampling reads better.
        if (texture->initWithSurface(surface)) {
            texture->setAntiAliasTexParameters();
        } else {
            texture->release();
            texture = nullptr;
        }
    }
    setTexture(texture);
    if (texture) {
        CCRect rect(0, 0, (float)texture->getPixelsWide(), (float)texture->getPixelsHigh());
        setTextureRect(rect, false, rect.size);
        texture->release();  // the sprite holds it now
        return true;
    }
    setTextureRect(CCRectZero, false, m_dimensions);
    return false;
}

std::string CCLabelTTF::description() const {
    char buf[200];
    snprintf(buf, sizeof buf, "<CCLabelTTF tag=%d font=%s %g \"%.60s\">", m_nTag,
             m_fontName.c_str(), m_fontSize, m_string.c_str());
    return buf;
}

}  // namespace pagly::engine
