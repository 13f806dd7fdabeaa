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

// The room kept between a caption's text and each edge of its background.
float captionMargin();
// The background's width for a button `buttonWidth` wide (scaled): the button's width and a
// margin on each side, at most the visible width. The text wraps within it less the margins.
float captionBoxWidth(float buttonWidth);

// buttonPosition: the button's position relative to the visible area's centre;
// scaleX/scaleY: the button's scale (sign ignored); buttonSize: its content size;
// labelHeight: the caption label's height once wrapped to the box's width less the margins.
// The box stays inside the visible width.
CaptionPlacement placeCaption(const engine::CCPoint& buttonPosition, float scaleX, float scaleY,
                              const engine::CCSize& buttonSize, float labelHeight);

}  // namespace pagly
