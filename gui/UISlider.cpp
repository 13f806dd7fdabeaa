#include "gui/UISlider.h"

#include <algorithm>

#include "engine/nodes/CCSprite.h"
#include "gui/CCScale9Sprite.h"
#include "gui/TextureNodes.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

UISlider::UISlider() {}

UISlider::~UISlider() {}

UISlider* UISlider::create() { return ccCreateInitialized(new UISlider()); }

void UISlider::initRenderer() {
    UIWidget::initRenderer();
    createBarNodes();
    m_pSlidBallNormalRenderer = CCSprite::create();
    m_pSlidBallPressedRenderer = CCSprite::create();
    m_pSlidBallDisabledRenderer = CCSprite::create();
    m_pSlidBallPressedRenderer->setVisible(false);
    m_pSlidBallDisabledRenderer->setVisible(false);
    m_pSlidBallRenderer = CCNode::create();
    m_pSlidBallRenderer->addChild(m_pSlidBallNormalRenderer);
    m_pSlidBallRenderer->addChild(m_pSlidBallPressedRenderer);
    m_pSlidBallRenderer->addChild(m_pSlidBallDisabledRenderer);
    m_pRender->addChild(m_pSlidBallRenderer);
}

// Bar and progress lie under the ball; the progress above the bar.
void UISlider::createBarNodes() {
    m_pBarRenderer = texturenode::create(m_bScale9Enabled);
    m_pProgressBarRenderer = texturenode::create(m_bScale9Enabled);
    m_pProgressBarRenderer->setAnchorPoint(CCPoint(0.0f, 0.5f));
    m_pRender->addChild(m_pBarRenderer, -1);
    m_pRender->addChild(m_pProgressBarRenderer, -1);
}

std::string UISlider::getDescription() const { return "Slider"; }

// ---------------------------------------------------------------- images

void UISlider::loadBarTexture(const char* name, TextureResType texType) {
    if (!name || !*name) return;
    std::string copy = name;
    m_strTextureFile = copy;
    m_eBarTexType = texType;
    texturenode::load(m_pBarRenderer, m_bScale9Enabled, copy.c_str(), texType,
                      m_capInsetsBarRenderer);
    texturenode::tint(m_pBarRenderer, m_bScale9Enabled, getColor(), getOpacity());
    m_barTextureSize = m_pBarRenderer->getContentSize();
    onSizeChanged();
}

void UISlider::loadProgressBarTexture(const char* name, TextureResType texType) {
    if (!name || !*name) return;
    std::string copy = name;
    m_strProgressBarTextureFile = copy;
    m_eProgressBarTexType = texType;
    // An image that cannot be loaded leaves the node as it is: it must then hold the whole old
    // image, not the share the progress showed, or that share would pass for the whole from now on.
    if (m_bScale9Enabled) {
        static_cast<CCScale9Sprite*>(m_pProgressBarRenderer)
            ->setPreferredSize(m_progressTextureSize);
    } else {
        static_cast<CCSprite*>(m_pProgressBarRenderer)
            ->setTextureRect(CCRect(m_progressTextureOrigin.x, m_progressTextureOrigin.y,
                                    m_progressTextureSize.width, m_progressTextureSize.height));
    }
    texturenode::load(m_pProgressBarRenderer, m_bScale9Enabled, copy.c_str(), texType,
                      m_capInsetsProgressBarRenderer);
    texturenode::tint(m_pProgressBarRenderer, m_bScale9Enabled, getColor(), getOpacity());
    m_pProgressBarRenderer->setAnchorPoint(CCPoint(0.0f, 0.5f));
    m_progressTextureSize = m_pProgressBarRenderer->getContentSize();
    // A sheet frame is cut from its own place in the sheet, a file from its corner; read from the
    // node, which shows the one it holds.
    m_progressTextureOrigin = CCPointZero;
    if (!m_bScale9Enabled) {
        m_progressTextureOrigin =
            static_cast<CCSprite*>(m_pProgressBarRenderer)->getTextureRect().origin;
    }
    fitProgress();
}

void UISlider::loadBall(CCSprite* sprite, std::string& file, TextureResType& typeField,
                        const char* name, TextureResType texType) {
    if (!name || !*name) return;
    std::string copy = name;
    file = copy;
    typeField = texType;
    texturenode::load(sprite, false, copy.c_str(), texType);
    texturenode::tint(sprite, false, getColor(), getOpacity());
}

void UISlider::loadBallTextureNormal(const char* name, TextureResType texType) {
    loadBall(m_pSlidBallNormalRenderer, m_strSlidBallNormalTextureFile, m_eBallNTexType, name,
             texType);
}
void UISlider::loadBallTexturePressed(const char* name, TextureResType texType) {
    loadBall(m_pSlidBallPressedRenderer, m_strSlidBallPressedTextureFile, m_eBallPTexType, name,
             texType);
}
void UISlider::loadBallTextureDisabled(const char* name, TextureResType texType) {
    loadBall(m_pSlidBallDisabledRenderer, m_strSlidBallDisabledTextureFile, m_eBallDTexType, name,
             texType);
}

// ---------------------------------------------------------------- nine-slice mode

void UISlider::setScale9Enabled(bool enabled) {
    if (enabled == m_bScale9Enabled) return;
    m_bScale9Enabled = enabled;
    m_pRender->removeChild(m_pBarRenderer, true);
    m_pRender->removeChild(m_pProgressBarRenderer, true);
    createBarNodes();
    std::string bar = m_strTextureFile, progress = m_strProgressBarTextureFile;
    loadBarTexture(bar.c_str(), m_eBarTexType);
    loadProgressBarTexture(progress.c_str(), m_eProgressBarTexType);
    if (enabled) {
        m_bPrevIgnoreSize = m_bIgnoreSize;
        UIWidget::setIgnoreSize(false);
    } else {
        setIgnoreSize(m_bPrevIgnoreSize);
    }
    setCapInsetsBarRenderer(m_capInsetsBarRenderer);
    setCapInsetProgressBarRenderer(m_capInsetsProgressBarRenderer);
}

// A nine-slice slider always has a custom size.
void UISlider::setIgnoreSize(bool ignore) {
    if (m_bScale9Enabled && ignore) return;
    UIWidget::setIgnoreSize(ignore);
    m_bPrevIgnoreSize = ignore;
}

void UISlider::setCapInsets(const CCRect& capInsets) {
    setCapInsetsBarRenderer(capInsets);
    setCapInsetProgressBarRenderer(capInsets);
}

void UISlider::setCapInsetsBarRenderer(const CCRect& capInsets) {
    m_capInsetsBarRenderer = capInsets;
    texturenode::setCapInsets(m_pBarRenderer, m_bScale9Enabled, capInsets);
}

void UISlider::setCapInsetProgressBarRenderer(const CCRect& capInsets) {
    m_capInsetsProgressBarRenderer = capInsets;
    texturenode::setCapInsets(m_pProgressBarRenderer, m_bScale9Enabled, capInsets);
}

// ---------------------------------------------------------------- size and percent

void UISlider::fitBar() {
    if (m_bIgnoreSize) {
        if (!m_bScale9Enabled) m_pBarRenderer->setScale(1.0f);
        m_size = m_pBarRenderer->getContentSize();
        m_fBarLength = m_size.width;
        return;
    }
    m_fBarLength = m_size.width;
    texturenode::fit(m_pBarRenderer, m_bScale9Enabled, false, m_size,
                     m_pBarRenderer->getContentSize());
}

void UISlider::fitProgress() {
    if (m_bScale9Enabled && !m_bIgnoreSize) {
        static_cast<CCScale9Sprite*>(m_pProgressBarRenderer)->setPreferredSize(m_size);
    } else if (m_progressTextureSize.width <= 0 || m_progressTextureSize.height <= 0) {
        m_pProgressBarRenderer->setScale(1.0f);
    } else {
        m_pProgressBarRenderer->setScaleX(m_size.width / m_progressTextureSize.width);
        m_pProgressBarRenderer->setScaleY(m_size.height / m_progressTextureSize.height);
    }
    m_pProgressBarRenderer->setPosition(CCPoint(-m_fBarLength / 2.0f, 0.0f));
    setPercent(m_nPercent);
}

void UISlider::onSizeChanged() {
    fitBar();
    fitProgress();
}

CCSize UISlider::getContentSize() { return m_barTextureSize; }

CCNode* UISlider::getRenderNode() { return m_pBarRenderer; }

void UISlider::setPercent(int percent) {
    percent = std::min(100, std::max(0, percent));
    m_nPercent = percent;
    float filled = m_fBarLength * percent / 100.0f;
    m_pSlidBallRenderer->setPosition(CCPoint(filled - m_fBarLength / 2.0f, 0.0f));
    if (m_bScale9Enabled) {
        static_cast<CCScale9Sprite*>(m_pProgressBarRenderer)
            ->setPreferredSize(CCSize(filled, m_progressTextureSize.height));
        return;
    }
    CCSprite* progress = static_cast<CCSprite*>(m_pProgressBarRenderer);
    progress->setTextureRect(CCRect(m_progressTextureOrigin.x, m_progressTextureOrigin.y,
                                    m_progressTextureSize.width * percent / 100.0f,
                                    m_progressTextureSize.height));
}

int UISlider::percentAt(float x) const {
    // A bar without length has no percent to offer: keep the current one.
    if (!(m_fBarLength > 0.0f)) return m_nPercent;
    float percent = (x + m_fBarLength / 2.0f) / m_fBarLength * 100.0f;
    // Far outside the bar the value is clamped anyway; keep the conversion to int defined.
    percent = std::min(101.0f, std::max(-1.0f, percent));
    return (int)percent;  // truncated toward zero
}

// ---------------------------------------------------------------- touches and look

void UISlider::addEventListener(CCObject* target, SEL_SlidPercentChangedEvent selector) {
    m_pSlidPercentListener = target;
    m_pfnSlidPercentSelector = selector;
}

void UISlider::fireEvent() {
    if (!m_pSlidPercentListener || !m_pfnSlidPercentSelector) return;
    RefPtr<CCObject> target(m_pSlidPercentListener);
    (target.get()->*m_pfnSlidPercentSelector)(this, SliderEventPercentChanged);
}

bool UISlider::onTouchBegan(const CCPoint& touchPoint) {
    RefPtr<UISlider> keep(this);
    bool pass = UIWidget::onTouchBegan(touchPoint);
    CCPoint p = m_pRender->convertToNodeSpace(touchPoint);
    setPercent(percentAt(p.x));
    fireEvent();
    return pass;
}

// The ball follows the finger; the widget's own move handling (focus, parent, listener) is not
// wanted while sliding.
void UISlider::onTouchMoved(const CCPoint& touchPoint) {
    RefPtr<UISlider> keep(this);
    CCPoint p = m_pRender->convertToNodeSpace(touchPoint);
    m_pSlidBallRenderer->setPosition(CCPoint(p.x, 0.0f));
    setPercent(percentAt(p.x));
    fireEvent();
}

void UISlider::onStateNormal() {
    m_pSlidBallNormalRenderer->setVisible(true);
    m_pSlidBallPressedRenderer->setVisible(false);
    m_pSlidBallDisabledRenderer->setVisible(false);
}

void UISlider::onStatePressed() {
    m_pSlidBallNormalRenderer->setVisible(false);
    m_pSlidBallPressedRenderer->setVisible(true);
    m_pSlidBallDisabledRenderer->setVisible(false);
}

void UISlider::onStateDisabled() {
    m_pSlidBallNormalRenderer->setVisible(false);
    m_pSlidBallPressedRenderer->setVisible(false);
    m_pSlidBallDisabledRenderer->setVisible(true);
}

}  // namespace pagly::gui
