#pragma once

#include "engine/base/CCGeometry.h"

namespace cocos2d {
class CCNode;
}

namespace pagly {

// One move step of a vertically draggable list (the main page and the table of contents).
// The list follows the finger between 0 and `limit`; beyond either bound it is clamped and
// neither the drag start nor the remembered offset moves, so the next step is measured from
// the last accepted point. A negative limit (a list shorter than the screen) is treated as
// 0: such a list has nowhere to go and must not jump between two positions.
void dragListStep(cocos2d::CCNode* list, const cocos2d::CCPoint& touch, float limit,
                  cocos2d::CCPoint& dragStart, cocos2d::CCPoint& rememberedOffset);

}  // namespace pagly
