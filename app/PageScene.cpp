// The page scene's clean-up of the toolkit's process-wide objects.
#include "app/PageScene.h"

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

}  // namespace pagly
