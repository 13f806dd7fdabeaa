#include "engine/nodes/CCMenuItem.h"

#include <cstdio>

#include "engine/base/CCRedraw.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCSprite.h"
#include "engine/nodes/CCTextAlignment.h"

namespace pagly::engine {

namespace {

enum { kNormalTag = 0x1, kSelectedTag = 0x2, kDisabledTag = 0x3 };

// The menu font when an item does not set its own.
unsigned int s_fontSize = 32;
std::string& defaultFontName() {
    static std::string* name = new std::string("Arial");
    return *name;
}

const float kSelectedZoom = 1.2f;

template <class T, class Init>
T* make(Init init) {
    T* item = new T();
    if (!init(item)) {
        item->release();
        return nullptr;
    }
    item->autorelease();
    return item;
}

}  // namespace

// --- CCMenuItem ---

CCMenuItem::CCMenuItem() { m_obAnchorPoint = CCPoint(0.5f, 0.5f); }

CCMenuItem::~CCMenuItem() = default;

CCMenuItem* CCMenuItem::create() { return create(nullptr, nullptr); }

CCMenuItem* CCMenuItem::create(CCObject* target, SEL_MenuHandler selector) {
    return make<CCMenuItem>([&](CCMenuItem* i) { return i->initWithTarget(target, selector); });
}

bool CCMenuItem::initWithTarget(CCObject* target, SEL_MenuHandler selector) {
    setAnchorPoint(CCPoint(0.5f, 0.5f));
    m_pListener = target;
    m_pfnSelector = selector;
    m_bEnabled = true;
    m_bSelected = false;
    return true;
}

CCRect CCMenuItem::rect() {
    return CCRect(m_obPosition.x - m_obContentSize.width * m_obAnchorPoint.x,
                  m_obPosition.y - m_obContentSize.height * m_obAnchorPoint.y,
                  m_obContentSize.width, m_obContentSize.height);
}

void CCMenuItem::activate() {
    if (!m_bEnabled || !m_pListener || !m_pfnSelector) return;
    // The callback may remove this item or replace the scene that holds its target.
    RefPtr<CCObject> keepTarget(m_pListener);
    RefPtr<CCMenuItem> keepSelf(this);
    (m_pListener->*m_pfnSelector)(this);
}

void CCMenuItem::selected() { m_bSelected = true; }

void CCMenuItem::unselected() { m_bSelected = false; }

void CCMenuItem::setEnabled(bool enabled) {
    if (m_bEnabled == enabled) return;
    m_bEnabled = enabled;
    ccRequestRedraw();
}

void CCMenuItem::setTarget(CCObject* target, SEL_MenuHandler selector) {
    m_pListener = target;
    m_pfnSelector = selector;
}

std::string CCMenuItem::description() const {
    char buf[120];
    snprintf(buf, sizeof buf, "<CCMenuItem tag=%d z=%d%s>", m_nTag, m_nZOrder,
             m_bEnabled ? "" : " disabled");
    return buf;
}

// --- CCMenuItemLabel ---

CCMenuItemLabel::CCMenuItemLabel() : m_tDisabledColor(ccColor3B(126, 126, 126)) {}

CCMenuItemLabel::~CCMenuItemLabel() = default;

CCMenuItemLabel* CCMenuItemLabel::create(CCNode* label) { return create(label, nullptr, nullptr); }

CCMenuItemLabel* CCMenuItemLabel::create(CCNode* label, CCObject* target,
                                         SEL_MenuHandler selector) {
    return make<CCMenuItemLabel>(
        [&](CCMenuItemLabel* i) { return i->initWithLabel(label, target, selector); });
}

bool CCMenuItemLabel::initWithLabel(CCNode* label, CCObject* target, SEL_MenuHandler selector) {
    initWithTarget(target, selector);
    m_fOriginalScale = 1.0f;
    m_realColor = m_displayedColor = kColorWhite;
    setLabel(label);
    return true;
}

void CCMenuItemLabel::setLabel(CCNode* label) {
    if (label == m_pLabel.get()) return;
    if (m_pLabel) removeChild(m_pLabel, true);
    m_pLabel = label;
    if (label) {
        addChild(label);
        label->setAnchorPoint(CCPoint(0, 0));
        label->setPosition(CCPointZero);
        setContentSize(label->getContentSize());
        applyLabelColor();
    } else {
        setContentSize(CCSizeZero);
    }
}

void CCMenuItemLabel::setString(const char* text) {
    CCLabelProtocol* protocol = dynamic_cast<CCLabelProtocol*>(m_pLabel.get());
    if (!protocol) return;
    protocol->setString(text);
    setContentSize(m_pLabel->getContentSize());
}

void CCMenuItemLabel::setDisabledColor(const ccColor3B& color) {
    m_tDisabledColor = color;
    applyLabelColor();
}

void CCMenuItemLabel::applyLabelColor() {
    CCRGBAProtocol* rgba = dynamic_cast<CCRGBAProtocol*>(m_pLabel.get());
    if (!rgba) return;
    rgba->setColor(m_bEnabled ? m_realColor : m_tDisabledColor);
    rgba->setOpacity(m_realOpacity);
}

void CCMenuItemLabel::setColor(const ccColor3B& color) {
    CCMenuItem::setColor(color);
    applyLabelColor();
}

void CCMenuItemLabel::setOpacity(unsigned char opacity) {
    CCMenuItem::setOpacity(opacity);
    applyLabelColor();
}

void CCMenuItemLabel::activate() {
    if (!m_bEnabled) return;
    if (m_bSelected) setScale(m_fOriginalScale);
    CCMenuItem::activate();
}

void CCMenuItemLabel::selected() {
    if (!m_bEnabled) return;
    if (!m_bSelected) m_fOriginalScale = getScale();
    CCMenuItem::selected();
    setScale(m_fOriginalScale * kSelectedZoom);
}

void CCMenuItemLabel::unselected() {
    if (!m_bEnabled) return;
    if (m_bSelected) setScale(m_fOriginalScale);
    CCMenuItem::unselected();
}

void CCMenuItemLabel::setEnabled(bool enabled) {
    if (m_bEnabled == enabled) return;
    if (!enabled && m_bSelected) {
        setScale(m_fOriginalScale);
        m_bSelected = false;
    }
    CCMenuItem::setEnabled(enabled);
    applyLabelColor();
}

// --- CCMenuItemFont ---

void CCMenuItemFont::setFontSize(unsigned int size) {
    if (size > 0) s_fontSize = size;
}
unsigned int CCMenuItemFont::fontSize() { return s_fontSize; }
void CCMenuItemFont::setFontName(const char* name) {
    if (name && *name) defaultFontName() = name;
}
const char* CCMenuItemFont::fontName() { return defaultFontName().c_str(); }

CCMenuItemFont* CCMenuItemFont::create(const char* text) { return create(text, nullptr, nullptr); }

CCMenuItemFont* CCMenuItemFont::create(const char* text, CCObject* target,
                                       SEL_MenuHandler selector) {
    return make<CCMenuItemFont>(
        [&](CCMenuItemFont* i) { return i->initWithString(text, target, selector); });
}

bool CCMenuItemFont::initWithString(const char* text, CCObject* target, SEL_MenuHandler selector) {
    m_strFontName = defaultFontName();
    m_uFontSize = s_fontSize;
    CCLabelTTF* label =
        CCLabelTTF::create(text ? text : "", m_strFontName.c_str(), (float)m_uFontSize);
    return label && initWithLabel(label, target, selector);
}

void CCMenuItemFont::recreateLabel() {
    CCLabelTTF* label = dynamic_cast<CCLabelTTF*>(m_pLabel.get());
    if (!label) return;
    label->setFontName(m_strFontName.c_str());
    label->setFontSize((float)m_uFontSize);
    setContentSize(label->getContentSize());
}

void CCMenuItemFont::setFontSizeObj(unsigned int size) {
    if (size == 0) return;
    m_uFontSize = size;
    recreateLabel();
}

void CCMenuItemFont::setFontNameObj(const char* name) {
    if (!name || !*name) return;
    m_strFontName = name;
    recreateLabel();
}

// --- CCMenuItemSprite ---

CCMenuItemSprite* CCMenuItemSprite::create(CCNode* normal, CCNode* selected, CCNode* disabled) {
    return create(normal, selected, disabled, nullptr, nullptr);
}

CCMenuItemSprite* CCMenuItemSprite::create(CCNode* normal, CCNode* selected, CCObject* target,
                                           SEL_MenuHandler selector) {
    return create(normal, selected, nullptr, target, selector);
}

CCMenuItemSprite* CCMenuItemSprite::create(CCNode* normal, CCNode* selected, CCNode* disabled,
                                           CCObject* target, SEL_MenuHandler selector) {
    return make<CCMenuItemSprite>([&](CCMenuItemSprite* i) {
        return i->initWithNormalSprite(normal, selected, disabled, target, selector);
    });
}

bool CCMenuItemSprite::initWithNormalSprite(CCNode* normal, CCNode* selected, CCNode* disabled,
                                            CCObject* target, SEL_MenuHandler selector) {
    initWithTarget(target, selector);
    setNormalImage(normal);
    setSelectedImage(selected);
    setDisabledImage(disabled);
    return true;
}

void CCMenuItemSprite::replaceImage(CCNode*& slot, CCNode* image, int tag) {
    if (slot == image) return;
    // The slots point at children without owning them: a node that is already a child (of
    // another state, or of another parent) would stay in a slot after its owner let it go.
    if (image && image->getParent()) {
        CCLog("CCMenuItemSprite: image %s already has a parent; kept the previous one",
              image->description().c_str());
        return;
    }
    if (image) {
        addChild(image, 0, tag);
        image->setAnchorPoint(CCPoint(0, 0));
        image->setPosition(CCPointZero);
    }
    if (slot) removeChild(slot, true);
    slot = image;
}

void CCMenuItemSprite::setNormalImage(CCNode* image) {
    replaceImage(m_pNormalImage, image, kNormalTag);
    setContentSize(m_pNormalImage ? m_pNormalImage->getContentSize() : CCSizeZero);
    updateImagesVisibility();
}

void CCMenuItemSprite::setSelectedImage(CCNode* image) {
    replaceImage(m_pSelectedImage, image, kSelectedTag);
    updateImagesVisibility();
}

void CCMenuItemSprite::setDisabledImage(CCNode* image) {
    replaceImage(m_pDisabledImage, image, kDisabledTag);
    updateImagesVisibility();
}

void CCMenuItemSprite::updateImagesVisibility() {
    // Exactly one image shows; the normal one stands in for a missing selected or disabled.
    CCNode* shown = m_pNormalImage;
    if (!m_bEnabled) {
        if (m_pDisabledImage) shown = m_pDisabledImage;
    } else if (m_bSelected && m_pSelectedImage) {
        shown = m_pSelectedImage;
    }
    for (CCNode* image : {m_pNormalImage, m_pSelectedImage, m_pDisabledImage})
        if (image) image->setVisible(image == shown);
}

void CCMenuItemSprite::selected() {
    CCMenuItem::selected();
    updateImagesVisibility();
}

void CCMenuItemSprite::unselected() {
    CCMenuItem::unselected();
    updateImagesVisibility();
}

void CCMenuItemSprite::setEnabled(bool enabled) {
    CCMenuItem::setEnabled(enabled);
    updateImagesVisibility();
}

void CCMenuItemSprite::setColor(const ccColor3B& color) {
    CCMenuItem::setColor(color);
    for (CCNode* image : {m_pNormalImage, m_pSelectedImage, m_pDisabledImage})
        if (CCRGBAProtocol* rgba = dynamic_cast<CCRGBAProtocol*>(image)) rgba->setColor(color);
}

void CCMenuItemSprite::setOpacity(unsigned char opacity) {
    CCMenuItem::setOpacity(opacity);
    for (CCNode* image : {m_pNormalImage, m_pSelectedImage, m_pDisabledImage})
        if (CCRGBAProtocol* rgba = dynamic_cast<CCRGBAProtocol*>(image)) rgba->setOpacity(opacity);
}

// --- CCMenuItemImage ---

CCMenuItemImage* CCMenuItemImage::create() {
    return create(nullptr, nullptr, nullptr, nullptr, nullptr);
}

CCMenuItemImage* CCMenuItemImage::create(const char* normalImage, const char* selectedImage) {
    return create(normalImage, selectedImage, nullptr, nullptr, nullptr);
}

CCMenuItemImage* CCMenuItemImage::create(const char* normalImage, const char* selectedImage,
                                         const char* disabledImage) {
    return create(normalImage, selectedImage, disabledImage, nullptr, nullptr);
}

CCMenuItemImage* CCMenuItemImage::create(const char* normalImage, const char* selectedImage,
                                         CCObject* target, SEL_MenuHandler selector) {
    return create(normalImage, selectedImage, nullptr, target, selector);
}

CCMenuItemImage* CCMenuItemImage::create(const char* normalImage, const char* selectedImage,
                                         const char* disabledImage, CCObject* target,
                                         SEL_MenuHandler selector) {
    return make<CCMenuItemImage>([&](CCMenuItemImage* i) {
        return i->initWithNormalImage(normalImage, selectedImage, disabledImage, target, selector);
    });
}

bool CCMenuItemImage::initWithNormalImage(const char* normalImage, const char* selectedImage,
                                          const char* disabledImage, CCObject* target,
                                          SEL_MenuHandler selector) {
    auto load = [](const char* file) -> CCNode* {
        if (!file || !*file) return nullptr;
        // An image that cannot be used is named by the texture cache; the item shows nothing.
        return CCSprite::create(file);
    };
    return initWithNormalSprite(load(normalImage), load(selectedImage), load(disabledImage), target,
                                selector);
}

}  // namespace pagly::engine
