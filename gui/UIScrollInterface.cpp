#include "gui/UIScrollInterface.h"

namespace cocos2d {
namespace extension {

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

}  // namespace extension
}  // namespace cocos2d
