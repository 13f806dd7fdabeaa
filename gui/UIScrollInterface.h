#pragma once

#include "engine/base/CCGeometry.h"
#include "gui/UIWidget.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

// The four touch hooks of a container that moves its content with a finger. The container's own
// touch operations run the widget behaviour first and then press / move / release; a child's touch
// events reach intercept, so a drag that begins on a button inside still moves the content.
class UIScrollInterface {
  public:
    virtual ~UIScrollInterface() = default;

    virtual void handlePressLogic(const CCPoint& touchPoint) = 0;
    virtual void handleMoveLogic(const CCPoint& touchPoint) = 0;
    virtual void handleReleaseLogic(const CCPoint& touchPoint) = 0;
    // A child's press and release drive the container; a move does once the finger has left the
    // child (each container measures that its own way), and the child then loses its press.
    virtual void interceptTouchEvent(WidgetTouchEvent kind, UIWidget* sender,
                                     const CCPoint& touchPoint);

  protected:
    // Whether a finger at touchPoint has gone far enough from where it touched `sender` for the
    // drag to become the container's.
    virtual bool hasLeftChild(UIWidget* sender, const CCPoint& touchPoint) const = 0;
};

}  // namespace pagly::gui
