#pragma once

namespace pagly::gui {
class UIWidget;
}

namespace pagly {

// The page's title and number stand on its ribbon, tinted with the unit's colour; a pale tint
// (the yellow unit's) leaves white letters unreadable. Each one whose colour does not stand out
// enough from its ground takes white or a dark ink, whichever reads better.
void keepTitleReadable(gui::UIWidget* page);

}  // namespace pagly
