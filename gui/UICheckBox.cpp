#include "gui/UICheckBox.h"

#include "engine/nodes/CCSprite.h"
#include "gui/TextureNodes.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

UICheckBox::UICheckBox() {}

UICheckBox::~UICheckBox() {}

UICheckBox* UICheckBox::create() { return ccCreateInitialized(new UICheckBox()); }

void UICheckBox::initRenderer() {
    UIWidget::initRenderer();
    m_pBackGroundBox = CCSprite::create();
    m_pBackGroundSelectedBox = CCSprite::create();
    m_pFrontCross = CCSprite::create();
    m_pBackGroundBoxDisabled = CCSprite::create();
    m_pFrontCrossDisabled = CCSprite::create();
    m_pRender->addChild(m_pBackGroundBox);
    m_pRender->addChild(m_pBackGroundSelectedBox);
    m_pRender->addChild(m_pFrontCross);
    m_pRender->addChild(m_pBackGroundBoxDisabled);
    m_pRender->addChild(m_pFrontCrossDisabled);
}

bool UICheckBox::init() {
    if (!UIWidget::init()) return false;
    setSelectedState(false);
    return true;
}

std::string UICheckBox::getDescription() const { return "CheckBox"; }

// ---------------------------------------------------------------- images

void UICheckBox::loadTextures(const char* backGround, const char* backGroundSelected,
                              const char* cross, const char* backGroundDisabled,
                              const char* frontCrossDisabled, TextureResType texType) {
    loadTextureBackGround(backGround, texType);
    loadTextureBackGroundSelected(backGroundSelected, texType);
    loadTextureFrontCross(cross, texType);
    loadTextureBackGroundDisabled(backGroundDisabled, texType);
    loadTextureFrontCrossDisabled(frontCrossDisabled, texType);
}

void UICheckBox::loadImage(CCSprite* sprite, TextureResType& typeField, const char* name,
                           TextureResType texType) {
    if (!name || !*name) return;
    std::string copy = name;
    typeField = texType;
    // The initialisers reset the sprite's anchor; give it the widget's again.
    texturenode::load(sprite, false, copy.c_str(), texType);
    texturenode::tint(sprite, false, getColor(), getOpacity());
    sprite->setAnchorPoint(m_anchorPoint);
    fitImage(sprite);
}

void UICheckBox::loadTextureBackGround(const char* name, TextureResType texType) {
    loadImage(m_pBackGroundBox, m_eBackGroundTexType, name, texType);
}
void UICheckBox::loadTextureBackGroundSelected(const char* name, TextureResType texType) {
    loadImage(m_pBackGroundSelectedBox, m_eBackGroundSelectedTexType, name, texType);
}
void UICheckBox::loadTextureFrontCross(const char* name, TextureResType texType) {
    loadImage(m_pFrontCross, m_eFrontCrossTexType, name, texType);
}
void UICheckBox::loadTextureBackGroundDisabled(const char* name, TextureResType texType) {
    loadImage(m_pBackGroundBoxDisabled, m_eBackGroundDisabledTexType, name, texType);
}
void UICheckBox::loadTextureFrontCrossDisabled(const char* name, TextureResType texType) {
    loadImage(m_pFrontCrossDisabled, m_eFrontCrossDisabledTexType, name, texType);
}

// ---------------------------------------------------------------- size

void UICheckBox::fitImage(CCSprite* sprite) {
    if (m_bIgnoreSize) {
        sprite->setScale(1.0f);
        // The box decides the natural size of the whole check box.
        if (sprite == m_pBackGroundBox) m_size = m_pBackGroundBox->getContentSize();
        return;
    }
    texturenode::fit(sprite, false, false, m_size, sprite->getContentSize());
}

void UICheckBox::onSizeChanged() {
    fitImage(m_pBackGroundBox);
    fitImage(m_pBackGroundSelectedBox);
    fitImage(m_pFrontCross);
    fitImage(m_pBackGroundBoxDisabled);
    fitImage(m_pFrontCrossDisabled);
}

CCSize UICheckBox::getContentSize() { return m_pBackGroundBox->getContentSize(); }

CCNode* UICheckBox::getRenderNode() { return m_pBackGroundBox; }

void UICheckBox::setAnchorPoint(const CCPoint& anchor) {
    UIWidget::setAnchorPoint(anchor);
    m_pBackGroundBox->setAnchorPoint(anchor);
    m_pBackGroundSelectedBox->setAnchorPoint(anchor);
    m_pFrontCross->setAnchorPoint(anchor);
    m_pBackGroundBoxDisabled->setAnchorPoint(anchor);
    m_pFrontCrossDisabled->setAnchorPoint(anchor);
}

void UICheckBox::setFlipX(bool flipX) {
    m_pBackGroundBox->setFlipX(flipX);
    m_pBackGroundSelectedBox->setFlipX(flipX);
    m_pFrontCross->setFlipX(flipX);
    m_pBackGroundBoxDisabled->setFlipX(flipX);
    m_pFrontCrossDisabled->setFlipX(flipX);
}

void UICheckBox::setFlipY(bool flipY) {
    m_pBackGroundBox->setFlipY(flipY);
    m_pBackGroundSelectedBox->setFlipY(flipY);
    m_pFrontCross->setFlipY(flipY);
    m_pBackGroundBoxDisabled->setFlipY(flipY);
    m_pFrontCrossDisabled->setFlipY(flipY);
}

bool UICheckBox::isFlipX() { return m_pBackGroundBox->isFlipX(); }

bool UICheckBox::isFlipY() { return m_pBackGroundBox->isFlipY(); }

// ---------------------------------------------------------------- look and state

// The check mark shows exactly while selected, in the normal and the pressed look alike: after the
// disabled look hid it, coming back to normal must show it again for a selected box.
void UICheckBox::onStateNormal() {
    m_pBackGroundBox->setVisible(true);
    m_pBackGroundSelectedBox->setVisible(false);
    m_pBackGroundBoxDisabled->setVisible(false);
    m_pFrontCrossDisabled->setVisible(false);
    m_pFrontCross->setVisible(m_bIsSelected);
}

void UICheckBox::onStatePressed() {
    m_pBackGroundBox->setVisible(false);
    m_pBackGroundSelectedBox->setVisible(true);
    m_pBackGroundBoxDisabled->setVisible(false);
    m_pFrontCrossDisabled->setVisible(false);
    m_pFrontCross->setVisible(m_bIsSelected);
}

void UICheckBox::onStateDisabled() {
    m_pBackGroundBox->setVisible(false);
    m_pBackGroundSelectedBox->setVisible(false);
    m_pFrontCross->setVisible(false);
    m_pBackGroundBoxDisabled->setVisible(true);
    m_pFrontCrossDisabled->setVisible(m_bIsSelected);
}

void UICheckBox::setSelectedState(bool selected) {
    m_bIsSelected = selected;
    if (m_bBright) {
        m_pFrontCross->setVisible(selected);
    } else {
        m_pFrontCrossDisabled->setVisible(selected);
    }
}

void UICheckBox::addEventListener(CCObject* target, SEL_SelectedStateEvent selector) {
    m_pSelectedStateListener = target;
    m_pfnSelectedStateSelector = selector;
}

void UICheckBox::fireEvent(CheckBoxEventType kind) {
    if (!m_pSelectedStateListener || !m_pfnSelectedStateSelector) return;
    RefPtr<CCObject> target(m_pSelectedStateListener);
    (target.get()->*m_pfnSelectedStateSelector)(this, kind);
}

void UICheckBox::onTouchEnded(const CCPoint& touchPoint) {
    RefPtr<UICheckBox> keep(this);
    m_touchEndPos = touchPoint;
    if (m_bFocus) {
        callTouchListener(TouchEnded);
        setSelectedState(!m_bIsSelected);
        fireEvent(m_bIsSelected ? CheckBoxEventSelected : CheckBoxEventUnselected);
        setFocus(false);
    }
    // Released outside: nothing for the listeners, the parent still hears of the end.
    if (m_pParent) m_pParent->onChildTouchEvent(TouchEnded, this, touchPoint);
}

}  // namespace pagly::gui
