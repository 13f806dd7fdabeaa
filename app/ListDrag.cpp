#include "app/ListDrag.h"

#include <algorithm>
#include <cmath>

#include "engine/director/CCKeypadDispatcher.h"
#include "engine/nodes/CCNode.h"

using namespace pagly::engine;

namespace pagly {

void dragListStep(CCNode* list, const CCPoint& touch, float limit, CCPoint& dragStart,
                  CCPoint& rememberedOffset) {
    if (!list || !std::isfinite(touch.y)) return;
    // A drag that began at a nonsense point is measured from the first sane one.
    if (!std::isfinite(dragStart.y)) {
        dragStart = touch;
        return;
    }
    if (!(limit > 0)) limit = 0;
    float dy = touch.y - dragStart.y;
    CCPoint next(list->getPositionX(), list->getPositionY() + dy);
    if (next.y < 0) {
        list->setPosition(CCPoint(0, 0));
        return;
    }
    if (next.y > limit) {
        list->setPosition(CCPoint(0, limit));
        return;
    }
    list->setPosition(next);
    dragStart = touch;
    rememberedOffset = next;
}

void scrollListBy(CCNode* list, float dy, float limit, CCPoint& rememberedOffset) {
    if (!list || !std::isfinite(dy)) return;
    if (!(limit > 0)) limit = 0;
    float y = std::min(std::max(list->getPositionY() + dy, 0.0f), limit);
    CCPoint next(list->getPositionX(), y);
    list->setPosition(next);
    rememberedOffset = next;
}

float listStepForKey(int keyCode) {
    if (keyCode == kKeyDown) return kListKeyStep;
    if (keyCode == kKeyUp) return -kListKeyStep;
    return 0;
}

}  // namespace pagly
