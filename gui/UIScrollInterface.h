#pragma once

#include "engine/base/CCGeometry.h"
#include "gui/UIWidget.h"

namespace cocos2d {
namespace extension {

// The four touch hooks of a container that moves its content with a finger. The container's own
// touch operations run the widget behaviour first and then press / move / release; a child's touch
// events reach intercept, so a drag that begins on a button inside still moves the content.
class UIScrollInterface {
  public:
    virtual ~UIScrollInterface() = default;

    virtual void handlePressLogic(const CCPoint& touchPoint) = 0;
    virtual void handleMoveLogic(const CCPoint& touchPoint) = 0;
    virtual void handleReleaseLogic(const CCPoint& touchPoint) = 0;
    virtual void interceptTouchEvent(WidgetTouchEvent kind, UIWidget* sender,
                                     const CCPoint& touchPoint) = 0;
};

}  // namespace extension
}  // namespace cocos2d
