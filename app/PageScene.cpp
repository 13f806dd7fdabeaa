#include "app/PageScene.h"

#include "app/PageLayer.h"
#include "engine/director/CCDirector.h"
#include "gui/WidgetHelper.h"
#include "gui/reader/ActionManager.h"
#include "gui/reader/CCSGUIReader.h"
#include "gui/reader/JsonHelper.h"

using namespace pagly::engine;
using namespace pagly::gui;

namespace pagly {

void PageScene::onExit() {
    JsonHelper::instance();
    JsonHelper::destroyInstance();
    if (WidgetHelper::hasInstance()) {
        CCSGUIReader::destroyInstance();
        WidgetHelper::destroyInstance();
    }
    ActionManager::instance();
    ActionManager::destroyInstance();
    CCNode::onExit();
}

void openPageWithoutTransition() {
    PageScene* scene = new PageScene();
    scene->init();
    TestLayer1* layer = new TestLayer1();
    scene->addChild(layer);
    layer->release();
    CCDirector::sharedDirector()->replaceScene(scene);
    scene->release();
}

}  // namespace pagly
