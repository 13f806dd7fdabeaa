// A menu item scaled to nothing has no area on screen and takes no touch anywhere.
#include <vector>

#include "engine/director/CCDirector.h"
#include "engine/nodes/CCLayer.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItem.h"
#include "engine/nodes/CCScene.h"
#include "support/Harness.h"

using namespace pagly::engine;

namespace {

class ItemCounter : public CCObject {
  public:
    void onItem(CCObject*) { ++calls; }
    int calls = 0;
};

class CollapsedMenuItemTest : public pagly::test::EngineTest {};

TEST_F(CollapsedMenuItemTest, AnItemScaledToNothingTakesNoTouch) {
    ItemCounter counter;
    CCMenu* menu = CCMenu::create();
    menu->setPosition(CCPointZero);
    CCMenuItem* item = CCMenuItem::create(&counter, memberCallback(&ItemCounter::onItem));
    item->setContentSize(CCSize(100, 40));
    item->setPosition(400, 500);
    menu->addChild(item);
    CCScene* scene = CCScene::create();
    scene->addChild(menu);
    run(scene);

    tap(400, 500);
    EXPECT_EQ(1, counter.calls);
    item->setScale(0);
    tap(10, 10);  // near the world origin
    tap(400, 500);
    EXPECT_EQ(1, counter.calls);
    item->setScale(1);
    menu->setScaleY(0);  // a collapsed menu takes its items with it
    tap(10, 10);
    EXPECT_EQ(1, counter.calls);
}

}  // namespace
