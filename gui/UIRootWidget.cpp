#include "gui/UIRootWidget.h"

#include "engine/director/CCDirector.h"

namespace cocos2d {
namespace extension {

UIRootWidget::UIRootWidget() {}

UIRootWidget::~UIRootWidget() {}

UIRootWidget* UIRootWidget::create() {
    UIRootWidget* root = new UIRootWidget();
    if (!root->init()) {
        delete root;
        return nullptr;
    }
    root->autorelease();
    return root;
}

bool UIRootWidget::init() {
    if (!Layout::init()) return false;
    setSize(CCDirector::sharedDirector()->getWinSize());
    return true;
}

std::string UIRootWidget::getDescription() const { return "RootWidget"; }

}  // namespace extension
}  // namespace cocos2d
