#pragma once

#include "engine/base/CCGeometry.h"

namespace pagly {

// The window frame for a desktop whose usable height is `desktopHeight`: H / 1.4 wide and
// H x 0.94 high, computed in double precision, then stored as floats.
engine::CCSize frameSizeForDesktopHeight(double desktopHeight);

}  // namespace pagly
