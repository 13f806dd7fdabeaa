#include "gui/UIScrollInterface.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

void UIScrollInterface::interceptTouchEvent(WidgetTouchEvent kind, UIWidget* sender,
                                            const CCPoint& touchPoint) {
    switch (kind) {
        case TouchBegan:
            handlePressLogic(touchPoint);
            break;
        case TouchMoved:
            if (!sender || !hasLeftChild(sender, touchPoint)) break;
            sender->setFocus(false);
            handleMoveLogic(touchPoint);
            break;
        case TouchEnded:
            handleReleaseLogic(touchPoint);
            break;
        default:
            break;
    }
}

}  // namespace pagly::gui
