#include "gui/reader/ActionFrame.h"

#include <cmath>

#include "engine/actions/CCActionInterval.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

CCAction* ActionFrame::getAction(float) {
    CCLog("Need a definition of <getAction> for ActionFrame");
    return nullptr;
}

ActionMoveFrame::ActionMoveFrame() { m_frameType = FrameMove; }

CCAction* ActionMoveFrame::getAction(float duration) {
    return CCMoveTo::create(duration, m_position);
}

ActionScaleFrame::ActionScaleFrame() { m_frameType = FrameScale; }

CCAction* ActionScaleFrame::getAction(float duration) {
    return CCScaleTo::create(duration, m_scaleX, m_scaleY);
}

ActionRotationFrame::ActionRotationFrame() { m_frameType = FrameRotation; }

CCAction* ActionRotationFrame::getAction(float duration) {
    return CCRotateTo::create(duration, m_rotation);
}

ActionTintFrame::ActionTintFrame() : m_color(ccColor3B(255, 255, 255)) { m_frameType = FrameTint; }

CCAction* ActionTintFrame::getAction(float duration) {
    return CCTintTo::create(duration, m_color.r, m_color.g, m_color.b);
}

ActionFadeFrame::ActionFadeFrame() { m_frameType = FrameFade; }

CCAction* ActionFadeFrame::getAction(float duration) {
    // Truncate, then keep the low byte; a value outside the int range (or NaN) would make
    // the conversion undefined, so those saturate first.
    double o = m_opacity;
    long long whole = 0;
    if (std::isnan(o)) {
        whole = 0;
    } else if (o >= 2147483647.0) {
        whole = 2147483647LL;
    } else if (o <= -2147483648.0) {
        whole = -2147483648LL;
    } else {
        whole = (long long)o;
    }
    return CCFadeTo::create(duration, (unsigned char)(whole & 0xFF));
}

}  // namespace pagly::gui
