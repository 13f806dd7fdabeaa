#pragma once

#include "gui/GuiNamespace.h"

namespace pagly::gui {

class CCSGUIReader;
class JsonDictionary;
class UIWidget;

typedef void (CCSGUIReader::*OptionApplier)(UIWidget* widget, JsonDictionary* options);

// One row of the class table: the document's "classname", the widget it makes and the
// option appliers run on it, in order. A row without create makes no widget ("ListView").
struct WidgetClass {
    const char* classname;
    UIWidget* (*create)();
    OptionApplier appliers[2];
};

// The row of a "classname" (exact, case-sensitive), or null for an unknown or null name.
const WidgetClass* findWidgetClass(const char* classname);

}  // namespace pagly::gui
