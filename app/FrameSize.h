#pragma once

#include "engine/base/CCGeometry.h"

namespace pagly {

// The window frame for a desktop whose usable height is `desktopHeight`: H x 0.94 high and
// two thirds of that wide, the design's own shape, so nothing on a page is drawn out of shape.
// Computed in double precision, then stored as floats.
engine::CCSize frameSizeForDesktopHeight(double desktopHeight);

}  // namespace pagly
