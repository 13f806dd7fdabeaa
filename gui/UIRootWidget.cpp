#include "gui/UIRootWidget.h"

#include "engine/director/CCDirector.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

UIRootWidget::UIRootWidget() {}

UIRootWidget::~UIRootWidget() {}

UIRootWidget* UIRootWidget::create() { return ccCreateInitialized(new UIRootWidget()); }

bool UIRootWidget::init() {
    if (!Layout::init()) return false;
    setSize(CCDirector::sharedDirector()->getWinSize());
    return true;
}

std::string UIRootWidget::getDescription() const { return "RootWidget"; }

}  // namespace pagly::gui
