#pragma once

#include <vector>

#include "engine/base/CCObject.h"
#include "gui/UIWidget.h"

namespace pagly::test {

// Listens to widgets and keeps what they said, in order: touch kinds and the kinds of the scroll,
// drag, check-box, slider and text-field listeners (all plain ints).
class WidgetEventLog : public engine::CCObject {
  public:
    static WidgetEventLog* create() {
        WidgetEventLog* log = new WidgetEventLog();
        log->autorelease();
        return log;
    }

    void onTouch(engine::CCObject*, gui::WidgetTouchEvent kind) { touches.push_back((int)kind); }
    // One handler for every listener whose kind is a plain enumeration.
    template <class Kind>
    void onEvent(engine::CCObject*, Kind kind) {
        events.push_back((int)kind);
    }

    int count(const std::vector<int>& list, int kind) const {
        int n = 0;
        for (int k : list) n += k == kind ? 1 : 0;
        return n;
    }
    int touchCount(int kind) const { return count(touches, kind); }
    int eventCount(int kind) const { return count(events, kind); }
    void clear() {
        touches.clear();
        events.clear();
    }

    std::vector<int> touches;
    std::vector<int> events;
};

}  // namespace pagly::test
