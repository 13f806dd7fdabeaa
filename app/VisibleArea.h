#pragma once

#include "engine/base/CCGeometry.h"

namespace pagly {

// The cached visible rectangle of the view and its named points, with which every screen
// places its controls. Filled from the view on first use; a zero size is asked again.
class VisibleArea {
  public:
    static engine::CCRect rect();
    static engine::CCPoint left();
    static engine::CCPoint right();
    static engine::CCPoint top();
    static engine::CCPoint bottom();
    static engine::CCPoint center();
    // The cached origin and size, after the same fill-if-zero step.
    static engine::CCPoint origin();
    static engine::CCSize size();
    // Forget the cache (tests).
    static void reset();

  private:
    static void lazyInit();
    static engine::CCPoint s_origin;
    static engine::CCSize s_size;
};

}  // namespace pagly
