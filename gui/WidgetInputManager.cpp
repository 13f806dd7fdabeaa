#include "gui/WidgetInputManager.h"

#include <vector>

#include "gui/UIWidget.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

namespace {
// The widgets holding the touch, each kept alive while it is called: a listener may remove
// or replace its own widget, or clear the whole tree.
std::vector<RefPtr<UIWidget>> snapshot(CCArray* array) {
    std::vector<RefPtr<UIWidget>> widgets;
    for (CCObject* o : *array) widgets.emplace_back(static_cast<UIWidget*>(o));
    return widgets;
}
}  // namespace

WidgetInputManager::WidgetInputManager() : m_touchedWidgets(CCArray::create()) {}

WidgetInputManager::~WidgetInputManager() {
    m_touchedWidgets->removeAllObjects();
    m_touchedWidgets.reset();
}

bool WidgetInputManager::onTouchBegan(const CCPoint& point) {
    // One touch at a time: the moves and the release of a second finger would otherwise reach
    // the first finger's widget too, and its release would end both.
    if (m_touchedWidgets->count() > 0) return false;
    m_touchBeganPos = point;
    if (m_pRootWidget) pickTouchedWidget(m_pRootWidget, point);
    return m_touchedWidgets->count() > 0;
}

bool WidgetInputManager::pickTouchedWidget(UIWidget* widget, const CCPoint& point) {
    if (!widget) return false;
    if (CCArray* children = widget->getChildren()) {
        for (int i = (int)children->count() - 1; i >= 0; --i) {
            if ((unsigned int)i >= children->count()) continue;
            UIWidget* child = static_cast<UIWidget*>(children->objectAtIndex((unsigned int)i));
            if (pickTouchedWidget(child, point)) return true;
        }
    }
    if (widget->isEnabled() && widget->isTouchEnabled() && widget->hitTest(point) &&
        widget->clippingAncestorsContain(point)) {
        m_touchedWidgets->addObject(widget);
        widget->onTouchBegan(point);
        return true;
    }
    return false;
}

void WidgetInputManager::onTouchMoved(const CCPoint& point) {
    m_touchMovedPos = point;
    for (const RefPtr<UIWidget>& w : snapshot(m_touchedWidgets.get())) w->onTouchMoved(point);
}

void WidgetInputManager::onTouchEnded(const CCPoint& point) {
    m_touchEndedPos = point;
    for (const RefPtr<UIWidget>& w : snapshot(m_touchedWidgets.get())) w->onTouchEnded(point);
    m_touchedWidgets->removeAllObjects();
}

void WidgetInputManager::onTouchCancelled(const CCPoint& point) {
    m_touchEndedPos = point;
    for (const RefPtr<UIWidget>& w : snapshot(m_touchedWidgets.get())) w->onTouchCancelled(point);
    m_touchedWidgets->removeAllObjects();
}

void WidgetInputManager::abandonTouch() {
    std::vector<RefPtr<UIWidget>> widgets = snapshot(m_touchedWidgets.get());
    m_touchedWidgets->removeAllObjects();
    for (const RefPtr<UIWidget>& w : widgets) w->setFocus(false);
}

}  // namespace pagly::gui
