#include "gui/UIButton.h"

#include "engine/nodes/CCLabelTTF.h"
#include "gui/TextureNodes.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

namespace {
const int kImageZ = 0;
const int kTitleZ = 1;

// The button's title keeps its own colour when the button is tinted (the render node passes
// its colour down to every child), yet fades with the button's opacity.
class ButtonTitle : public CCLabelTTF {
  public:
    static ButtonTitle* create() {
        ButtonTitle* title = new ButtonTitle();
        if (!title->init()) {
            delete title;
            return nullptr;
        }
        title->autorelease();
        return title;
    }
    void updateDisplayedColor(const ccColor3B&) override {
        CCLabelTTF::updateDisplayedColor(kColorWhite);
    }
    void updateDisplayedFromParent() override {
        CCRGBAProtocol* parent = dynamic_cast<CCRGBAProtocol*>(m_pParent);
        unsigned char parentOpacity =
            parent && parent->isCascadeOpacityEnabled() ? parent->getDisplayedOpacity() : 255;
        unsigned char opacity = (unsigned char)(m_realOpacity * parentOpacity / 255);
        if (m_displayedColor != m_realColor || m_displayedOpacity != opacity) {
            m_displayedColor = m_realColor;
            m_displayedOpacity = opacity;
            displayedColorChanged();
        }
    }
};
}  // namespace

UIButton::UIButton() {}

UIButton::~UIButton() {}

UIButton* UIButton::create() { return ccCreateInitialized(new UIButton()); }

bool UIButton::init() { return UIWidget::init(); }

void UIButton::createImageNodes() {
    m_pButtonNormal = texturenode::create(m_bScale9Enabled);
    m_pButtonClicked = texturenode::create(m_bScale9Enabled);
    m_pButtonDisable = texturenode::create(m_bScale9Enabled);
    m_pRender->addChild(m_pButtonNormal, kImageZ);
    m_pRender->addChild(m_pButtonClicked, kImageZ);
    m_pRender->addChild(m_pButtonDisable, kImageZ);
}

void UIButton::initRenderer() {
    UIWidget::initRenderer();
    createImageNodes();
    m_pTitle = ButtonTitle::create();
    m_pRender->addChild(m_pTitle, kTitleZ);
}

std::string UIButton::getDescription() const { return "Button"; }

// ---------------------------------------------------------------- images

void UIButton::loadTexture(CCNode* node, std::string& file, TextureResType& typeField, CCSize& size,
                           const CCRect& capInsets, const char* name, TextureResType texType) {
    if (!name || !*name) return;
    // Copy first: the caller may hand us our own stored name.
    std::string copy = name;
    file = copy;
    typeField = texType;
    // The page swaps the sentence buttons' images after their document gave the insets.
    texturenode::load(node, m_bScale9Enabled, copy.c_str(), texType, capInsets);
    texturenode::tint(node, m_bScale9Enabled, getColor(), getOpacity());
    size = node->getContentSize();
    setAnchorPoint(m_anchorPoint);
    bool isNormal = node == m_pButtonNormal;
    texturenode::fit(node, m_bScale9Enabled, m_bIgnoreSize, m_size, size);
    if (isNormal && m_bIgnoreSize && !m_bScale9Enabled) {
        m_size = size;
        placeTitle();
    }
}

void UIButton::loadTextureNormal(const char* name, TextureResType texType) {
    loadTexture(m_pButtonNormal, m_strNormalFileName, m_eNormalTexType, m_normalTextureSize,
                m_capInsetsNormal, name, texType);
}

void UIButton::loadTexturePressed(const char* name, TextureResType texType) {
    loadTexture(m_pButtonClicked, m_strPressedFileName, m_ePressedTexType, m_pressedTextureSize,
                m_capInsetsPressed, name, texType);
}

void UIButton::loadTextureDisabled(const char* name, TextureResType texType) {
    loadTexture(m_pButtonDisable, m_strDisabledFileName, m_eDisabledTexType, m_disabledTextureSize,
                m_capInsetsDisabled, name, texType);
}

void UIButton::setCapInsets(const CCRect& capInsets) {
    m_capInsetsNormal = m_capInsetsPressed = m_capInsetsDisabled = capInsets;
    texturenode::setCapInsets(m_pButtonNormal, m_bScale9Enabled, capInsets);
    texturenode::setCapInsets(m_pButtonClicked, m_bScale9Enabled, capInsets);
    texturenode::setCapInsets(m_pButtonDisable, m_bScale9Enabled, capInsets);
}

void UIButton::setScale9Enabled(bool enabled) {
    if (enabled == m_bScale9Enabled) return;
    m_eBrightStyle = BrightNone;
    m_bScale9Enabled = enabled;
    m_pRender->removeChild(m_pButtonNormal, true);
    m_pRender->removeChild(m_pButtonClicked, true);
    m_pRender->removeChild(m_pButtonDisable, true);
    createImageNodes();
    std::string normal = m_strNormalFileName, pressed = m_strPressedFileName,
                disabled = m_strDisabledFileName;
    loadTextureNormal(normal.c_str(), m_eNormalTexType);
    loadTexturePressed(pressed.c_str(), m_ePressedTexType);
    loadTextureDisabled(disabled.c_str(), m_eDisabledTexType);
    if (enabled) {
        // Remember the size mode to restore; the base call keeps that memory intact.
        m_bPrevIgnoreSize = m_bIgnoreSize;
        UIWidget::setIgnoreSize(false);
    } else {
        setIgnoreSize(m_bPrevIgnoreSize);
    }
    texturenode::setCapInsets(m_pButtonNormal, m_bScale9Enabled, m_capInsetsNormal);
    texturenode::setCapInsets(m_pButtonClicked, m_bScale9Enabled, m_capInsetsPressed);
    texturenode::setCapInsets(m_pButtonDisable, m_bScale9Enabled, m_capInsetsDisabled);
    if (!m_bBright) {
        onStateDisabled();
    } else {
        m_eBrightStyle = BrightNormal;
        onStateNormal();
    }
}

// A nine-slice button always has a custom size.
void UIButton::setIgnoreSize(bool ignore) {
    if (m_bScale9Enabled && ignore) return;
    UIWidget::setIgnoreSize(ignore);
    m_bPrevIgnoreSize = ignore;
}

void UIButton::onSizeChanged() {
    texturenode::fit(m_pButtonNormal, m_bScale9Enabled, m_bIgnoreSize, m_size, m_normalTextureSize);
    if (m_bIgnoreSize && !m_bScale9Enabled) m_size = m_normalTextureSize;
    texturenode::fit(m_pButtonClicked, m_bScale9Enabled, m_bIgnoreSize, m_size,
                     m_pressedTextureSize);
    texturenode::fit(m_pButtonDisable, m_bScale9Enabled, m_bIgnoreSize, m_size,
                     m_disabledTextureSize);
    // Keep the title centred when the size changes under a non-central anchor.
    placeTitle();
}

CCSize UIButton::getContentSize() { return m_normalTextureSize; }

// ---------------------------------------------------------------- look

CCNode* UIButton::getRenderNode() {
    if (!m_bBright) return m_pButtonDisable;
    switch (m_eBrightStyle) {
        case BrightNormal:
            return m_pButtonNormal;
        case BrightHighlight:
            return m_pButtonClicked;
        default:
            return nullptr;
    }
}

void UIButton::onStateNormal() {
    m_pButtonNormal->setVisible(true);
    m_pButtonClicked->setVisible(false);
    m_pButtonDisable->setVisible(false);
}

void UIButton::onStatePressed() {
    m_pButtonNormal->setVisible(false);
    m_pButtonClicked->setVisible(true);
    m_pButtonDisable->setVisible(false);
}

void UIButton::onStateDisabled() {
    m_pButtonNormal->setVisible(false);
    m_pButtonClicked->setVisible(false);
    m_pButtonDisable->setVisible(true);
}

void UIButton::setAnchorPoint(const CCPoint& anchor) {
    UIWidget::setAnchorPoint(anchor);
    m_pButtonNormal->setAnchorPoint(anchor);
    m_pButtonClicked->setAnchorPoint(anchor);
    m_pButtonDisable->setAnchorPoint(anchor);
    placeTitle();
}

void UIButton::placeTitle() {
    m_pTitle->setPosition(
        CCPoint((0.5f - m_anchorPoint.x) * m_size.width, (0.5f - m_anchorPoint.y) * m_size.height));
}

void UIButton::setFlipX(bool flipX) {
    m_pTitle->setFlipX(flipX);
    if (m_bScale9Enabled) return;
    texturenode::setFlipX(m_pButtonNormal, flipX);
    texturenode::setFlipX(m_pButtonClicked, flipX);
    texturenode::setFlipX(m_pButtonDisable, flipX);
}

void UIButton::setFlipY(bool flipY) {
    m_pTitle->setFlipY(flipY);
    if (m_bScale9Enabled) return;
    texturenode::setFlipY(m_pButtonNormal, flipY);
    texturenode::setFlipY(m_pButtonClicked, flipY);
    texturenode::setFlipY(m_pButtonDisable, flipY);
}

bool UIButton::isFlipX() {
    return m_bScale9Enabled ? false : texturenode::isFlipX(m_pButtonNormal);
}

bool UIButton::isFlipY() {
    return m_bScale9Enabled ? false : texturenode::isFlipY(m_pButtonNormal);
}

void UIButton::setColor(const ccColor3B& color) {
    UIWidget::setColor(color);
    setTitleColor(m_titleColor);
}

// ---------------------------------------------------------------- title

void UIButton::setTitleText(const char* text) { m_pTitle->setString(text); }
const char* UIButton::getTitleText() const { return m_pTitle->getString(); }

void UIButton::setTitleColor(const ccColor3B& color) {
    m_titleColor = color;
    m_pTitle->setColor(color);
}

void UIButton::setTitleFontSize(float size) { m_pTitle->setFontSize(size); }
float UIButton::getTitleFontSize() const { return m_pTitle->getFontSize(); }

void UIButton::setTitleFontName(const char* fontName) {
    if (fontName) m_pTitle->setFontName(fontName);
}
const char* UIButton::getTitleFontName() const { return m_pTitle->getFontName(); }

}  // namespace pagly::gui
