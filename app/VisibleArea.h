#pragma once

#include "engine/base/CCGeometry.h"

namespace pagly {

// The cached visible rectangle of the view and its named points, with which every screen
// places its controls. Filled from the view on first use; a zero size is asked again.
class VisibleArea {
  public:
    static cocos2d::CCRect rect();
    static cocos2d::CCPoint left();
    static cocos2d::CCPoint right();
    static cocos2d::CCPoint top();
    static cocos2d::CCPoint bottom();
    static cocos2d::CCPoint center();
    // The cached origin and size, after the same fill-if-zero step.
    static cocos2d::CCPoint origin();
    static cocos2d::CCSize size();
    // Forget the cache (tests).
    static void reset();

  private:
    static void lazyInit();
    static cocos2d::CCPoint s_origin;
    static cocos2d::CCSize s_size;
};

}  // namespace pagly
