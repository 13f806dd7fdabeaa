#pragma once

#include "engine/base/CCGeometry.h"
#include "gui/GuiNamespace.h"

namespace pagly::engine {
class CCNode;

}  // namespace pagly::engine

namespace pagly::gui {

// The size rule of the text widgets: with ignoreSize the text node shows at scale 1 and the
// widget takes the node's content size (written to `widgetSize`); without it the text is
// stretched to the widget's size, or left at scale 1 when the text has no area.
void applyLabelSizeRule(CCNode* textNode, bool ignoreSize, CCSize& widgetSize);

}  // namespace pagly::gui
