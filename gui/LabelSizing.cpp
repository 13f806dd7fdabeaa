#include "gui/LabelSizing.h"

#include "engine/nodes/CCNode.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

void applyLabelSizeRule(CCNode* textNode, bool ignoreSize, CCSize& widgetSize) {
    if (!textNode) return;
    const CCSize& content = textNode->getContentSize();
    if (ignoreSize) {
        textNode->setScale(1.0f);
        widgetSize = content;
        return;
    }
    if (content.width <= 0 || content.height <= 0) {
        textNode->setScale(1.0f);
        return;
    }
    textNode->setScaleX(widgetSize.width / content.width);
    textNode->setScaleY(widgetSize.height / content.height);
}

}  // namespace pagly::gui
