#include "app/CaptionLayout.h"

#include <algorithm>
#include <cmath>

#include "app/VisibleArea.h"

using namespace pagly::engine;

namespace pagly {

float captionMargin() { return (VisibleArea::top().y - VisibleArea::bottom().y) / 80; }

float captionBoxWidth(float buttonWidth) {
    // The text keeps the button's width; the margins widen the box, as far as the screen allows.
    return std::min(std::fabs(buttonWidth) + 2 * captionMargin(), VisibleArea::size().width);
}

CaptionPlacement placeCaption(const CCPoint& buttonPosition, float scaleX, float scaleY,
                              const CCSize& buttonSize, float labelHeight) {
    double sx = std::fabs(scaleX), sy = std::fabs(scaleY);
    double width = sx * buttonSize.width;
    double height = buttonSize.height;
    double L = labelHeight;
    CCPoint left = VisibleArea::left(), right = VisibleArea::right();
    CCPoint top = VisibleArea::top(), bottom = VisibleArea::bottom();
    CCPoint center = VisibleArea::center();

    double half = captionBoxWidth((float)width) / 2;
    double x = center.x + (double)buttonPosition.x;
    double visibleWidth = (double)right.x - left.x;
    double X;
    if (half > x) {
        X = half;
    } else if (x > visibleWidth - half) {
        X = visibleWidth - half;
    } else {
        X = x;
    }

    double gap = ((double)top.y - bottom.y) / 40;
    double by = center.y + (double)buttonPosition.y;
    double Y, backgroundY;
    if (by > center.y) {
        // Upper half: below the button; big buttons leave a little more room.
        // Compared as the float the widget keeps: a document's 1.4 is 1.4f, just under 1.4.
        if (std::fabs(scaleY) < 1.4f) {
            Y = by - (height * sy / 2 + L / 2);
        } else {
            Y = by - (height * sy * 6 / 11 + L / 2);
        }
        backgroundY = Y - gap / 2;
    } else {
        Y = by + height * sy / 2 + L * 3 / 5;
        backgroundY = Y + gap / 2;
    }
    // The text in the middle of its background, half the extra height above and below it, so
    // it never sits on the background's border.
    return CaptionPlacement{(float)X, (float)backgroundY, (float)backgroundY, (float)gap};
}

}  // namespace pagly
