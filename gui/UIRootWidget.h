#pragma once

#include "gui/Layout.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

// The panel at the top of every UI layer's widget tree; it covers the whole window.
class UIRootWidget : public Layout {
  public:
    UIRootWidget();
    ~UIRootWidget() override;
    static UIRootWidget* create();

    bool init() override;
    std::string getDescription() const override;
};

}  // namespace pagly::gui
