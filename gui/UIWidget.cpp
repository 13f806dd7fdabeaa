#include "gui/UIWidget.h"

#include <vector>

#include "engine/director/CCDirector.h"
#include "engine/director/CCScheduler.h"
#include "engine/nodes/CCNode.h"
#include "gui/GUIRenderer.h"
#include "gui/Layout.h"
#include "gui/LayoutParameter.h"
#include "gui/RectClippingNode.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

namespace {
UIWidget* widgetAt(CCArray* array, unsigned int index) {
    return static_cast<UIWidget*>(array->objectAtIndex(index));
}

// Calls f on each widget of a snapshot of the array, keeping each alive while it runs: a
// callback may change the tree under us.
template <class F>
void forEachWidget(CCArray* array, F f) {
    if (!array || array->count() == 0) return;
    std::vector<RefPtr<UIWidget>> snapshot;
    snapshot.reserve(array->count());
    for (CCObject* o : *array) snapshot.emplace_back(static_cast<UIWidget*>(o));
    for (const RefPtr<UIWidget>& w : snapshot) f(w.get());
}
}  // namespace

UIWidget::UIWidget() {}

UIWidget::~UIWidget() {
    releaseResources();
    m_pLayoutParameter.reset();
    m_pScheduler.reset();
}

UIWidget* UIWidget::create() { return ccCreateInitialized(new UIWidget()); }

// ---------------------------------------------------------------- creation and destruction

void UIWidget::createChildrenArray() {
    if (!m_children) m_children = CCArray::create();
}

void UIWidget::takeScheduler() { m_pScheduler = CCDirector::sharedDirector()->getScheduler(); }

bool UIWidget::init() {
    createChildrenArray();
    initRenderer();
    if (!m_pRender) return false;
    m_pRender->setZOrder(m_nWidgetZOrder);
    if (CCRGBAProtocol* rgba = dynamic_cast<CCRGBAProtocol*>(m_pRender.get())) {
        rgba->setCascadeColorEnabled(true);
        rgba->setCascadeOpacityEnabled(true);
    }
    m_bBright = true;
    m_eBrightStyle = BrightNormal;
    onStateNormal();
    setIgnoreSize(true);
    takeScheduler();
    return true;
}

void UIWidget::initRenderer() { m_pRender = GUIRenderer::create(); }

void UIWidget::releaseResources() {
    m_bUpdateEnabled = false;
    if (m_pScheduler) m_pScheduler->unscheduleAllForTarget(this);
    removeAllChildren();
    m_children.reset();
    if (m_pRender) {
        m_pRender->removeAllChildrenWithCleanup(true);
        m_pRender->removeFromParentAndCleanup(true);
        m_pRender.reset();
    }
}

// ---------------------------------------------------------------- tree

bool UIWidget::addChild(UIWidget* child) {
    if (!child || !m_children || m_children->containsObject(child)) return false;
    // A widget lives in one tree at a time; a second parent (or a cycle) would leave its
    // render node where it was and two arrays owning it.
    if (child->m_pParent) {
        CCLog("UIWidget::addChild: widget \"%s\" already has a parent; remove it first",
              child->getName());
        return false;
    }
    for (UIWidget* w = this; w; w = w->m_pParent) {
        if (w == child) {
            CCLog("UIWidget::addChild: widget \"%s\" cannot become its own descendant",
                  child->getName());
            return false;
        }
    }
    child->m_pParent = this;
    int z = child->m_nWidgetZOrder;
    unsigned int count = m_children->count();
    if (count == 0) {
        m_children->addObject(child);
    } else {
        // After every child whose z-order is <= the new one: equals stay below the newcomer.
        bool placed = false;
        for (int i = (int)count - 1; i >= 0; --i) {
            if (widgetAt(m_children, (unsigned int)i)->m_nWidgetZOrder <= z) {
                if ((unsigned int)i == count - 1) {
                    m_children->addObject(child);
                } else {
                    m_children->insertObject(child, (unsigned int)i + 1);
                }
                placed = true;
                break;
            }
        }
        if (!placed) m_children->insertObject(child, 0);
    }
    if (m_pRender && child->m_pRender) m_pRender->addChild(child->m_pRender.get(), z);
    if (m_bRunning) child->onEnter();
    return true;
}

bool UIWidget::removeChild(UIWidget* child) {
    if (!child || !m_children || !m_children->containsObject(child)) return false;
    RefPtr<UIWidget> keep(child);
    if (m_bRunning) child->onExit();
    child->stopUpdatesRecursively();
    child->m_pParent = nullptr;
    if (m_pRender && child->m_pRender) m_pRender->removeChild(child->m_pRender.get(), true);
    m_children->removeObject(child);
    return true;
}

void UIWidget::removeFromParent() {
    if (m_pParent) m_pParent->removeChild(this);
}

void UIWidget::removeAllChildren() {
    if (!m_children) return;
    unsigned int times = m_children->count();
    for (unsigned int i = 0; i < times && m_children && m_children->count() > 0; ++i) {
        removeChild(static_cast<UIWidget*>(m_children->lastObject()));
    }
}

void UIWidget::reorderChild(UIWidget* child) {
    if (!child || !m_children || !m_children->containsObject(child)) return;
    RefPtr<UIWidget> keep(child);
    m_children->removeObject(child);
    int z = child->m_nWidgetZOrder;
    unsigned int count = m_children->count();
    for (int i = (int)count - 1; i >= 0; --i) {
        if (widgetAt(m_children, (unsigned int)i)->m_nWidgetZOrder <= z) {
            m_children->insertObject(child, (unsigned int)i + 1);
            return;
        }
    }
    m_children->insertObject(child, 0);
}

CCArray* UIWidget::getChildren() { return m_children.get(); }

void UIWidget::setWidgetZOrder(int zOrder) {
    m_nWidgetZOrder = zOrder;
    if (m_pRender) m_pRender->setZOrder(zOrder);
    if (m_pParent) m_pParent->reorderChild(this);
}

void UIWidget::setLayoutParameter(LayoutParameter* parameter) { m_pLayoutParameter = parameter; }

// ---------------------------------------------------------------- lifecycle

void UIWidget::onEnter() {
    forEachWidget(m_children.get(), [](UIWidget* w) { w->onEnter(); });
    m_bRunning = true;
    m_size = m_bIgnoreSize ? getContentSize() : m_customSize;
    onSizeChanged();
    setPosition(getPosition());
    // Taking a widget off its tree stops its per-frame update; back on one, it needs it again.
    if (m_bUpdateEnabled) setUpdateEnabled(true);
}

void UIWidget::onExit() {
    m_bRunning = false;
    forEachWidget(m_children.get(), [](UIWidget* w) { w->onExit(); });
}

void UIWidget::update(float) {}

void UIWidget::setUpdateEnabled(bool enabled) {
    m_bUpdateEnabled = enabled;
    if (!m_pScheduler) return;
    if (enabled) {
        m_pScheduler->scheduleSelector(memberCallback(&UIWidget::update), this, 0.0f, false);
    } else {
        m_pScheduler->unscheduleSelector(memberCallback(&UIWidget::update), this);
    }
}

void UIWidget::stopUpdatesRecursively() {
    if (m_pScheduler) m_pScheduler->unscheduleSelector(memberCallback(&UIWidget::update), this);
    if (!m_children) return;
    for (CCObject* o : *m_children) static_cast<UIWidget*>(o)->stopUpdatesRecursively();
}

// ---------------------------------------------------------------- state

void UIWidget::setEnabled(bool enabled) {
    m_bEnabled = enabled;
    if (GUIRenderer* renderer = dynamic_cast<GUIRenderer*>(m_pRender.get())) {
        renderer->setEnabled(enabled);
    } else if (RectClippingNode* clipper = dynamic_cast<RectClippingNode*>(m_pRender.get())) {
        clipper->setEnabled(enabled);
    }
    forEachWidget(m_children.get(), [enabled](UIWidget* w) { w->setEnabled(enabled); });
}

void UIWidget::setTouchEnabled(bool enabled) { m_bTouchEnabled = enabled; }

void UIWidget::setVisible(bool visible) {
    m_bVisible = visible;
    if (m_pRender) m_pRender->setVisible(visible);
}

void UIWidget::setBright(bool bright) {
    m_bBright = bright;
    if (bright) {
        m_eBrightStyle = BrightNormal;
        onStateNormal();
    } else {
        onStateDisabled();
    }
}

void UIWidget::setBrightStyle(BrightStyle style) {
    if (m_eBrightStyle == style) return;
    m_eBrightStyle = style;
    if (style == BrightNormal) {
        onStateNormal();
    } else if (style == BrightHighlight) {
        onStatePressed();
    }
}

void UIWidget::setFocus(bool focus) {
    if (focus == m_bFocus) return;
    m_bFocus = focus;
    if (!m_bBright) {
        onStateDisabled();
    } else {
        setBrightStyle(focus ? BrightHighlight : BrightNormal);
    }
}

void UIWidget::onStateNormal() {}
void UIWidget::onStatePressed() {}
void UIWidget::onStateDisabled() {}

// ---------------------------------------------------------------- touches

void UIWidget::addTouchListener(CCObject* target, SEL_TouchEvent selector) {
    m_pTouchEventListener = target;
    m_pfnTouchEventSelector = selector;
}

void UIWidget::callTouchListener(WidgetTouchEvent kind) {
    if (!m_pTouchEventListener || !m_pfnTouchEventSelector) return;
    // The listener may drop the last other reference to its own object while it runs.
    RefPtr<CCObject> target(m_pTouchEventListener);
    (target.get()->*m_pfnTouchEventSelector)(this, kind);
}

void UIWidget::onChildTouchEvent(WidgetTouchEvent kind, UIWidget* sender, const CCPoint& point) {
    if (m_pParent) m_pParent->onChildTouchEvent(kind, sender, point);
}

bool UIWidget::onTouchBegan(const CCPoint& touchPoint) {
    RefPtr<UIWidget> keep(this);
    setFocus(true);
    m_touchStartPos = touchPoint;
    if (m_pParent) m_pParent->onChildTouchEvent(TouchBegan, this, touchPoint);
    callTouchListener(TouchBegan);
    return m_bPassThrough;
}

void UIWidget::onTouchMoved(const CCPoint& touchPoint) {
    RefPtr<UIWidget> keep(this);
    m_touchMovePos = touchPoint;
    setFocus(hitTest(touchPoint));
    if (m_pParent) m_pParent->onChildTouchEvent(TouchMoved, this, touchPoint);
    callTouchListener(TouchMoved);
}

void UIWidget::onTouchEnded(const CCPoint& touchPoint) {
    RefPtr<UIWidget> keep(this);
    m_touchEndPos = touchPoint;
    bool hadFocus = m_bFocus;
    setFocus(false);
    if (m_pParent) m_pParent->onChildTouchEvent(TouchEnded, this, touchPoint);
    callTouchListener(hadFocus ? TouchEnded : TouchCancelled);
}

void UIWidget::onTouchCancelled(const CCPoint&) {
    RefPtr<UIWidget> keep(this);
    setFocus(false);
    callTouchListener(TouchCancelled);
}

void UIWidget::onLongPress() {}

bool UIWidget::hitTest(const CCPoint& worldPoint) {
    if (!m_pRender) return false;
    // Scaled to nothing it covers nothing (its inverse would be taken as identity).
    if (!CCAffineTransformIsInvertible(m_pRender->nodeToWorldTransform())) return false;
    CCPoint p = m_pRender->convertToNodeSpace(worldPoint);
    CCRect area(-m_anchorPoint.x * m_size.width, -m_anchorPoint.y * m_size.height, m_size.width,
                m_size.height);
    if (!area.containsPoint(p)) return false;
    if (m_hitAreas.empty()) return true;
    CCPoint fromTopLeft(p.x - area.origin.x, area.origin.y + area.size.height - p.y);
    for (const CCRect& part : m_hitAreas) {
        if (part.containsPoint(fromTopLeft)) return true;
    }
    return false;
}

bool UIWidget::clippingAncestorsContain(const CCPoint& worldPoint) {
    UIWidget* from = this;
    for (;;) {
        Layout* clipper = nullptr;
        for (UIWidget* w = from->m_pParent; w; w = w->m_pParent) {
            Layout* layout = dynamic_cast<Layout*>(w);
            if (layout && layout->isClippingEnabled()) {
                clipper = layout;
                break;
            }
        }
        if (!clipper) return true;
        if (!clipper->hitTest(worldPoint)) return false;
        from = clipper;
    }
}

// ---------------------------------------------------------------- size and placement

void UIWidget::setSize(const CCSize& size) {
    m_customSize = size;
    m_size = m_bIgnoreSize ? getContentSize() : size;
    if (m_bRunning) updateSizePercent();
    onSizeChanged();
}

void UIWidget::setSizePercent(const CCPoint& percent) {
    m_sizePercent = percent;
    if (!m_bRunning) return;
    CCSize parentSize = m_pParent ? m_pParent->getSize() : CCSizeZero;
    CCSize size(parentSize.width * percent.x, parentSize.height * percent.y);
    m_customSize = size;
    m_size = size;
    onSizeChanged();
}

void UIWidget::updateSizePercent() {
    if (!m_pParent) return;
    const CCSize& parentSize = m_pParent->getSize();
    m_sizePercent.x = parentSize.width > 0 ? m_customSize.width / parentSize.width : 0;
    m_sizePercent.y = parentSize.height > 0 ? m_customSize.height / parentSize.height : 0;
}

void UIWidget::updatePositionPercent() {
    if (!m_pParent || !m_pRender) return;
    const CCSize& parentSize = m_pParent->getSize();
    const CCPoint& p = m_pRender->getPosition();
    m_positionPercent.x = parentSize.width > 0 ? p.x / parentSize.width : 0;
    m_positionPercent.y = parentSize.height > 0 ? p.y / parentSize.height : 0;
}

void UIWidget::setIgnoreSize(bool ignore) {
    m_bIgnoreSize = ignore;
    m_size = ignore ? getContentSize() : m_customSize;
    onSizeChanged();
}

void UIWidget::onSizeChanged() {}

CCSize UIWidget::getContentSize() { return m_size; }

void UIWidget::setPosition(const CCPoint& position) {
    if (m_pRender) m_pRender->setPosition(position);
    if (m_bRunning) updatePositionPercent();
}

const CCPoint& UIWidget::getPosition() const {
    return m_pRender ? m_pRender->getPosition() : CCPointZero;
}

void UIWidget::setRotation(float degrees) {
    if (m_pRender) m_pRender->setRotation(degrees);
}

float UIWidget::getRotation() const { return m_pRender ? m_pRender->getRotation() : 0.0f; }

void UIWidget::setAnchorPoint(const CCPoint& anchor) {
    m_anchorPoint = anchor;
    if (m_pRender) m_pRender->setAnchorPoint(anchor);
}

void UIWidget::setScale(float scale) {
    if (m_pRender) m_pRender->setScale(scale);
}
void UIWidget::setScaleX(float scaleX) {
    if (m_pRender) m_pRender->setScaleX(scaleX);
}
void UIWidget::setScaleY(float scaleY) {
    if (m_pRender) m_pRender->setScaleY(scaleY);
}
float UIWidget::getScaleX() const { return m_pRender ? m_pRender->getScaleX() : 1.0f; }
float UIWidget::getScaleY() const { return m_pRender ? m_pRender->getScaleY() : 1.0f; }

void UIWidget::setFlipX(bool) {}
bool UIWidget::isFlipX() { return false; }
void UIWidget::setFlipY(bool) {}
bool UIWidget::isFlipY() { return false; }

float UIWidget::getLeftEdge() {
    float x = getPosition().x;
    return m_eWidgetKind == ContainerWidget ? x : x - m_anchorPoint.x * m_size.width;
}
float UIWidget::getRightEdge() { return getLeftEdge() + m_size.width; }
float UIWidget::getBottomEdge() {
    float y = getPosition().y;
    return m_eWidgetKind == ContainerWidget ? y : y - m_anchorPoint.y * m_size.height;
}
float UIWidget::getTopEdge() { return getBottomEdge() + m_size.height; }

// ---------------------------------------------------------------- colour

namespace {
CCRGBAProtocol* rgbaOf(CCNode* node) { return dynamic_cast<CCRGBAProtocol*>(node); }
}  // namespace

void UIWidget::setColor(const ccColor3B& color) {
    if (CCRGBAProtocol* rgba = rgbaOf(m_pRender.get())) rgba->setColor(color);
}
ccColor3B UIWidget::getColor() {
    CCRGBAProtocol* rgba = rgbaOf(m_pRender.get());
    return rgba ? rgba->getColor() : kColorWhite;
}
void UIWidget::setOpacity(unsigned char opacity) {
    if (CCRGBAProtocol* rgba = rgbaOf(m_pRender.get())) rgba->setOpacity(opacity);
}
unsigned char UIWidget::getOpacity() {
    CCRGBAProtocol* rgba = rgbaOf(m_pRender.get());
    return rgba ? rgba->getOpacity() : 255;
}
bool UIWidget::isCascadeOpacityEnabled() {
    CCRGBAProtocol* rgba = rgbaOf(m_pRender.get());
    return rgba ? rgba->isCascadeOpacityEnabled() : false;
}
void UIWidget::setCascadeOpacityEnabled(bool enabled) {
    if (CCRGBAProtocol* rgba = rgbaOf(m_pRender.get())) rgba->setCascadeOpacityEnabled(enabled);
}
bool UIWidget::isCascadeColorEnabled() {
    CCRGBAProtocol* rgba = rgbaOf(m_pRender.get());
    return rgba ? rgba->isCascadeColorEnabled() : false;
}
void UIWidget::setCascadeColorEnabled(bool enabled) {
    if (CCRGBAProtocol* rgba = rgbaOf(m_pRender.get())) rgba->setCascadeColorEnabled(enabled);
}

// The engine runs every node's actions through the director's one action manager.
void UIWidget::setActionManager(CCActionManager*) {}
CCActionManager* UIWidget::getActionManager() {
    return CCDirector::sharedDirector()->getActionManager();
}

// ---------------------------------------------------------------- misc

CCNode* UIWidget::getRenderNode() { return m_pRender.get(); }

std::string UIWidget::getDescription() const { return "Widget"; }

void UIWidget::setName(const char* name) {
    if (name) m_strName = name;
}

}  // namespace pagly::gui
