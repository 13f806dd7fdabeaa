#pragma once

#include "gui/UIWidget.h"
#include "gui/WidgetHelper.h"
#include "gui/GuiNamespace.h"

namespace pagly::engine {
class CCNode;

}  // namespace pagly::engine

namespace pagly::gui {

// The two things timelines need from a widget tree, in one place.

// The engine node that carries the whole widget (not the node of its current look).
inline CCNode* wholeRenderNode(UIWidget* widget) {
    return widget ? widget->getContainerNode() : nullptr;
}

// The first widget of root's tree, depth-first in child order, with the action tag.
inline UIWidget* widgetWithActionTag(UIWidget* root, int tag) {
    return WidgetHelper::findWidgetByActionTag(root, tag);
}

}  // namespace pagly::gui
