#pragma once

#include <string>

#include "engine/base/CCGeometry.h"

namespace pagly::engine {
class CCDrawNode;
class CCLabelTTF;
class CCNode;
}  // namespace pagly::engine

namespace pagly {

// A rectangle with round corners (only the top ones when `topOnly`), as one convex polygon: the
// shape of the reader's cards (the key list, the comparison card) and their title bands.
void drawRoundRect(engine::CCDrawNode* node, const engine::CCRect& r, float radius, bool topOnly,
                   const engine::ccColor4B& colour);

// The cards' shared look: a veil over the screen, a blue title band, a pale body, pale buttons.
const engine::ccColor4B kCardVeil(30, 40, 70, 170);
const engine::ccColor4B kCardBand(66, 133, 244, 255);
const engine::ccColor4B kCardBody(245, 248, 255, 255);
const engine::ccColor4B kCardButton(226, 234, 252, 255);
const char* const kCardFont = "Arial";

// A one-line label of a card in `colour`, placed at `at` by `anchor`, above the card's shapes
// (z-order 2); null when the text cannot be drawn.
engine::CCLabelTTF* addCardLabel(engine::CCNode* parent, const std::string& text, float size,
                                 const engine::ccColor3B& colour, const engine::CCPoint& at,
                                 const engine::CCPoint& anchor);

}  // namespace pagly
