#pragma once

#include <cmath>
#include "gui/GuiNamespace.h"

namespace pagly::gui {

// Small conversions shared by the document reader and the timeline loader.

// A number read from a document as a float; values that do not fit a float (1e300) or are
// not numbers give def, so no infinity or NaN reaches a widget or an action.
inline float finiteFloat(double value, float def) {
    float f = (float)value;
    return std::isfinite(f) ? f : def;
}

// Colour components and opacity keep only the low 8 bits of the integer read.
inline unsigned char lowByte(int value) { return (unsigned char)(value & 0xFF); }

}  // namespace pagly::gui
