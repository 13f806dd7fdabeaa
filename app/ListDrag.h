#pragma once

#include "engine/base/CCGeometry.h"

namespace pagly::engine {
class CCNode;
}

namespace pagly {

// One move step of a vertically draggable list (the main page and the table of contents).
// The list follows the finger between 0 and `limit`; beyond either bound it is clamped and
// neither the drag start nor the remembered offset moves, so the next step is measured from
// the last accepted point. A negative limit (a list shorter than the screen) is treated as
// 0: such a list has nowhere to go and must not jump between two positions. A location that
// is not a finite number moves nothing.
void dragListStep(engine::CCNode* list, const engine::CCPoint& touch, float limit,
                  engine::CCPoint& dragStart, engine::CCPoint& rememberedOffset);

// How far one notch of the mouse wheel moves a list: one line.
constexpr float kListKeyStep = 100.0f;

// Moves a list by `dy` for the keyboard and the mouse wheel (positive: towards the end of the
// list), stopping at 0 and at `limit` instead of refusing the step, and remembers where it
// stopped, as a drag does.
void scrollListBy(engine::CCNode* list, float dy, float limit, engine::CCPoint& rememberedOffset);

// The step a wheel notch gives (kKeyDown towards the end of the list, kKeyUp back); other
// keys 0.
float listStepForKey(int keyCode);

}  // namespace pagly
