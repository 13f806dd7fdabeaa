#pragma once

#include "engine/base/CCGeometry.h"

namespace pagly {

// Where a caption goes for a sentence button: beside the button, kept inside the visible
// width, below buttons in the upper half and above the others. Pure arithmetic, so the
// formulas can be checked on their own.
struct CaptionPlacement {
    float labelX, labelY;         // caption label centre: the background's centre too
    float backgroundY;            // caption background centre (x is labelX)
    float backgroundExtraHeight;  // the background is this much taller than the text
};

// The room kept between a caption's text and each edge of its background; the text wraps
// this much narrower on each side than the background is wide.
float captionMargin();

// buttonPosition: the button's position relative to the visible area's centre;
// scaleX/scaleY: the button's scale (sign ignored); buttonSize: its content size;
// labelHeight: the caption label's height once wrapped to the button's scaled width less the
// margins.
CaptionPlacement placeCaption(const engine::CCPoint& buttonPosition, float scaleX, float scaleY,
                              const engine::CCSize& buttonSize, float labelHeight);

}  // namespace pagly
