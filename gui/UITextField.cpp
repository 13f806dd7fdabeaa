#include "gui/UITextField.h"

#include "gui/UICCTextField.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

UITextField::UITextField() {}

UITextField::~UITextField() {}

UITextField* UITextField::create() { return ccCreateInitialized(new UITextField()); }

void UITextField::initRenderer() {
    UIWidget::initRenderer();
    m_pTextFieldRenderer = UICCTextField::create("input words here", "Thonburi", 20);
    if (m_pTextFieldRenderer) m_pRender->addChild(m_pTextFieldRenderer);
}

bool UITextField::init() {
    if (!UIWidget::init() || !m_pTextFieldRenderer) return false;
    setUpdateEnabled(true);
    return true;
}

std::string UITextField::getDescription() const { return "TextField"; }

CCNode* UITextField::getRenderNode() { return m_pTextFieldRenderer; }

CCSize UITextField::getContentSize() {
    return m_pTextFieldRenderer ? m_pTextFieldRenderer->getContentSize() : CCSizeZero;
}

// ---------------------------------------------------------------- text and font

void UITextField::setText(const char* text) {
    if (!text) return;
    m_pTextFieldRenderer->setString(text);
    fitText();
}

const char* UITextField::getStringValue() const { return m_pTextFieldRenderer->getString(); }

void UITextField::setPlaceHolder(const char* text) {
    m_pTextFieldRenderer->setPlaceHolder(text);
    fitText();
}

void UITextField::setFontSize(int size) {
    m_pTextFieldRenderer->setFontSize((float)size);
    fitText();
}

void UITextField::setFontName(const char* name) {
    m_pTextFieldRenderer->setFontName(name);
    fitText();
}

void UITextField::setMaxLengthEnabled(bool enabled) {
    m_pTextFieldRenderer->setMaxLengthEnabled(enabled);
}
bool UITextField::isMaxLengthEnabled() const { return m_pTextFieldRenderer->isMaxLengthEnabled(); }
void UITextField::setMaxLength(int length) { m_pTextFieldRenderer->setMaxLength(length); }
int UITextField::getMaxLength() const { return m_pTextFieldRenderer->getMaxLength(); }
// The shown text changes with the password style, so the size rule runs again.
void UITextField::setPasswordEnabled(bool enabled) {
    m_pTextFieldRenderer->setPasswordEnabled(enabled);
    fitText();
}
bool UITextField::isPasswordEnabled() const { return m_pTextFieldRenderer->isPasswordEnabled(); }
void UITextField::setPasswordStyleText(const char* styleText) {
    m_pTextFieldRenderer->setPasswordStyleText(styleText);
    fitText();
}
const char* UITextField::getPasswordStyleText() const {
    return m_pTextFieldRenderer->getPasswordStyleText();
}

// ---------------------------------------------------------------- size and look

void UITextField::fitText() {
    if (m_bIgnoreSize) {
        m_pTextFieldRenderer->setScale(1.0f);
        m_size = m_pTextFieldRenderer->getContentSize();
        return;
    }
    const CCSize& content = m_pTextFieldRenderer->getContentSize();
    if (content.width <= 0 || content.height <= 0) {
        m_pTextFieldRenderer->setScale(1.0f);
        return;
    }
    m_pTextFieldRenderer->setScaleX(m_size.width / content.width);
    m_pTextFieldRenderer->setScaleY(m_size.height / content.height);
}

void UITextField::onSizeChanged() {
    if (m_pTextFieldRenderer) fitText();
}

void UITextField::setAnchorPoint(const CCPoint& anchor) {
    UIWidget::setAnchorPoint(anchor);
    m_pTextFieldRenderer->setAnchorPoint(anchor);
}

bool UITextField::hitTest(const CCPoint& worldPoint) {
    if (!m_bUseTouchArea) return UIWidget::hitTest(worldPoint);
    if (!CCAffineTransformIsInvertible(m_pRender->nodeToWorldTransform())) return false;
    CCPoint p = m_pRender->convertToNodeSpace(worldPoint);
    CCRect area(-m_anchorPoint.x * m_touchSize.width, -m_anchorPoint.y * m_touchSize.height,
                m_touchSize.width, m_touchSize.height);
    return area.containsPoint(p);
}

// ---------------------------------------------------------------- input

bool UITextField::onTouchBegan(const CCPoint& touchPoint) {
    RefPtr<UITextField> keep(this);
    bool pass = UIWidget::onTouchBegan(touchPoint);
    m_pTextFieldRenderer->attachWithIME();
    return pass;
}

void UITextField::releaseKeyboard() { m_pTextFieldRenderer->detachWithIME(); }

void UITextField::addEventListener(CCObject* target, SEL_TextFieldEvent selector) {
    m_pTextFieldListener = target;
    m_pfnTextFieldSelector = selector;
}

void UITextField::fireEvent(TextFieldEventType kind) {
    if (!m_pTextFieldListener || !m_pfnTextFieldSelector) return;
    RefPtr<CCObject> target(m_pTextFieldListener);
    (target.get()->*m_pfnTextFieldSelector)(this, kind);
}

// What the field noted since the last frame, in a fixed order, each kind at most once.
void UITextField::update(float) {
    RefPtr<UITextField> keep(this);  // a listener may drop the field
    UICCTextField* text = m_pTextFieldRenderer;
    if (text->getAttachWithIME()) {
        text->setAttachWithIME(false);
        fireEvent(TextFieldEventAttachWithIME);
    }
    if (text->getDetachWithIME()) {
        text->setDetachWithIME(false);
        fireEvent(TextFieldEventDetachWithIME);
    }
    if (text->getInsertText()) {
        text->setInsertText(false);
        fireEvent(TextFieldEventInsertText);
        fitText();
    }
    if (text->getDeleteBackward()) {
        text->setDeleteBackward(false);
        fireEvent(TextFieldEventDeleteBackward);
        // Shorter text refits as longer text does, or the field keeps the size of what was deleted.
        fitText();
    }
}

}  // namespace pagly::gui
