#pragma once

#include "engine/base/CCGeometry.h"

namespace pagly {

// Contrast of two colours as a learner sees it: the ratio of their relative luminances (sRGB),
// from 1:1 (the same) to 21:1 (black on white). Text wants 4.5:1, large text (24 px) 3:1.
double contrastRatio(const engine::ccColor3B& a, const engine::ccColor3B& b);

// Of white and a dark ink, the one that reads better on `ground`.
engine::ccColor3B inkFor(const engine::ccColor3B& ground);

}  // namespace pagly
