#pragma once

#include "engine/base/CCGeometry.h"
#include "engine/base/CCObject.h"

namespace pagly::engine {

// One finger (or the mouse) on the screen, in design coordinates with the origin bottom-left.
class CCTouch : public CCObject {
  public:
    CCTouch() = default;
    int getID() const { return m_nId; }
    CCPoint getLocation() const { return m_point; }
    CCPoint getPreviousLocation() const { return m_prevPoint; }
    CCPoint getStartLocation() const { return m_startPoint; }
    CCPoint getDelta() const { return m_point - m_prevPoint; }
    // The engine has no separate view space: design coordinates serve both.
    CCPoint getLocationInView() const { return m_point; }

    void setTouchInfo(int id, float x, float y) {
        m_nId = id;
        m_prevPoint = m_point;
        m_point = CCPoint(x, y);
        if (!m_bStarted) {
            m_startPoint = m_point;
            m_prevPoint = m_point;
            m_bStarted = true;
        }
    }

  private:
    int m_nId = 0;
    bool m_bStarted = false;
    CCPoint m_point, m_prevPoint, m_startPoint;
};

class CCEvent : public CCObject {};

}  // namespace pagly::engine
