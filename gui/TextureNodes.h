#pragma once

#include "engine/base/CCGeometry.h"
#include "gui/UIWidget.h"
#include "gui/GuiNamespace.h"

namespace pagly::engine {
class CCNode;

}  // namespace pagly::engine

namespace pagly::gui {

// Helpers shared by the widgets that show images (buttons, image views and the input
// widgets): each image is a node that is either a plain CCSprite or, in nine-slice mode, a
// CCScale9Sprite. These keep the two kinds behind one set of calls.
namespace texturenode {

// An empty image node of the requested kind (autoreleased).
CCNode* create(bool scale9);
// Loads an image file (TextureLocal) or a sprite frame (TexturePlist) into the node; any other
// kind loads nothing. A missing image logs a line and leaves the node as it was. A nine-slice
// node is cut by the widget's cap insets when it has any (else in thirds), so that a new image
// keeps the insets set before it.
void load(CCNode* node, bool scale9, const char* name, TextureResType texType,
          const CCRect& capInsets = CCRectZero);
// Gives a freshly loaded node the widget's colour and opacity. A plain sprite receives them
// through its parent's cascade every frame, so it keeps its own colour white (tinting it as
// well would apply the colour twice); a nine-slice node passes only its own colour to its
// pieces, so it takes the widget's colour explicitly.
void tint(CCNode* node, bool scale9, const ccColor3B& color, unsigned char opacity);
// Fits the node to the widget's size: with ignoreSize a plain sprite shows at scale 1; a
// nine-slice node takes the size as its preferred size; a plain sprite is stretched to it
// (scale 1 when its natural size has a side <= 0).
void fit(CCNode* node, bool scale9, bool ignoreSize, const CCSize& widgetSize,
         const CCSize& naturalSize);
// Cap insets (nine-slice nodes only).
void setCapInsets(CCNode* node, bool scale9, const CCRect& capInsets);
// Flip flags of a plain sprite (false for anything else).
void setFlipX(CCNode* node, bool flip);
void setFlipY(CCNode* node, bool flip);
bool isFlipX(CCNode* node);
bool isFlipY(CCNode* node);

}  // namespace texturenode
}  // namespace pagly::gui
