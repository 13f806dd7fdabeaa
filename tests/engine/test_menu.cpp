// Menus: which touches a menu claims, when item callbacks run, and the item kinds.
#include <gtest/gtest.h>

#include <vector>

#include "engine/base/CCSet.h"
#include "engine/director/CCDirector.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItem.h"
#include "engine/nodes/CCScene.h"
#include "engine/nodes/CCSprite.h"
#include "engine/platform/CCFileUtils.h"
#include "engine/render/CCTextureCache.h"
#include "support/Harness.h"

using namespace pagly::engine;

namespace {

// A page-like layer: all-at-once touches for itself, a menu of items above it.
class MenuHost : public CCLayer {
  public:
    static MenuHost* create() {
        MenuHost* host = new MenuHost();
        host->init();
        host->autorelease();
        return host;
    }
    void onItem(CCObject* sender) {
        calls.push_back(static_cast<CCNode*>(sender)->getZOrder() - 10000);
    }
    void onItemRemovingMenu(CCObject* sender) {
        onItem(sender);
        menu->removeFromParent();
    }
    void onItemReplacingScene(CCObject* sender) {
        onItem(sender);
        CCDirector::sharedDirector()->replaceScene(CCScene::create());
    }
    void ccTouchesBegan(CCSet*, CCEvent*) override { ++layerTouches; }

    std::vector<int> calls;
    int layerTouches = 0;
    CCMenu* menu = nullptr;
};

class MenuTest : public pagly::test::EngineTest {
  public:
    void SetUp() override {
        EngineTest::SetUp();
        host = MenuHost::create();
        host->setTouchEnabled(true);
        host->menu = CCMenu::create();
        host->menu->setPosition(CCPointZero);
        host->addChild(host->menu, 1);
        // Three 100 x 40 entries at y = 100, 200, 300, identified by z-order 10000 + i.
        for (int i = 0; i < 3; ++i) {
            CCMenuItem* item = CCMenuItem::create(host, memberCallback(&MenuHost::onItem));
            item->setContentSize(CCSize(100, 40));
            item->setPosition(100, 100 + 100 * i);
            host->menu->addChild(item, 10000 + i);
            items.push_back(item);
        }
        CCScene* scene = CCScene::create();
        scene->addChild(host);
        run(scene);
    }
    void TearDown() override {
        items.clear();
        EngineTest::TearDown();
    }
    MenuHost* host = nullptr;
    std::vector<CCMenuItem*> items;  // owned by the menu
};

}  // namespace

TEST_F(MenuTest, TapOnAnItemRunsItsCallbackOnceAndIsSwallowed) {
    tap(100, 200);
    EXPECT_EQ(std::vector<int>{1}, host->calls) << "identity read back from the z-order";
    EXPECT_EQ(0, host->layerTouches) << "the menu claimed the touch";
    // Edges count as on the item.
    tap(51, 281);
    EXPECT_EQ((std::vector<int>{1, 2}), host->calls);
}

TEST_F(MenuTest, ItemShowsSelectedOnlyWhileTheFingerIsOnIt) {
    touchDown(100, 100);
    EXPECT_TRUE(items[0]->isSelected());
    touchMove(120, 110);
    EXPECT_TRUE(items[0]->isSelected());
    touchMove(400, 100);
    EXPECT_FALSE(items[0]->isSelected());
    touchMove(100, 100);  // back on it
    EXPECT_TRUE(items[0]->isSelected());
    touchUp(100, 100);
    EXPECT_FALSE(items[0]->isSelected());
    EXPECT_EQ(std::vector<int>{0}, host->calls);
}

TEST_F(MenuTest, PressThatLeavesTheItemRunsNothing) {
    touchDown(100, 100);
    touchMove(300, 100);
    touchUp(300, 100);
    EXPECT_TRUE(host->calls.empty());
    EXPECT_EQ(0, host->layerTouches);

    touchDown(100, 100);
    touchCancel(100, 100);
    EXPECT_TRUE(host->calls.empty()) << "a cancelled touch runs nothing";
    EXPECT_FALSE(items[0]->isSelected());
}

TEST_F(MenuTest, TouchesTheMenuMustNotTakeReachTheLayerBelow) {
    struct Case {
        const char* what;
        std::function<void(MenuTest*)> setup;
        CCPoint at;
    };
    const Case cases[] = {
        {"not on any item", [](MenuTest*) {}, CCPoint(500, 500)},
        {"invisible item", [](MenuTest* t) { t->items[1]->setVisible(false); }, CCPoint(100, 200)},
        {"disabled item", [](MenuTest* t) { t->items[1]->setEnabled(false); }, CCPoint(100, 200)},
        {"disabled menu", [](MenuTest* t) { t->host->menu->setEnabled(false); }, CCPoint(100, 200)},
        {"invisible menu", [](MenuTest* t) { t->host->menu->setVisible(false); },
         CCPoint(100, 200)},
        {"invisible ancestor", [](MenuTest* t) { t->host->setVisible(false); }, CCPoint(100, 200)},
    };
    for (const Case& c : cases) {
        c.setup(this);
        int before = host->layerTouches;
        tap(c.at.x, c.at.y);
        EXPECT_TRUE(host->calls.empty()) << c.what;
        EXPECT_EQ(before + 1, host->layerTouches) << c.what;
        // Undo for the next case.
        items[1]->setVisible(true);
        items[1]->setEnabled(true);
        host->menu->setEnabled(true);
        host->menu->setVisible(true);
        host->setVisible(true);
    }
}

TEST_F(MenuTest, TopmostOverlappingItemWinsAndMovedMenusStillHit) {
    CCMenuItem* over = CCMenuItem::create(host, memberCallback(&MenuHost::onItem));
    over->setContentSize(CCSize(40, 40));
    over->setPosition(100, 100);
    host->menu->addChild(over, 10007);
    tap(100, 100);
    EXPECT_EQ(std::vector<int>{7}, host->calls);

    // A dragged list: the menu moved up by 40, its items with it.
    host->menu->setPosition(0, 40);
    tap(100, 240);
    EXPECT_EQ((std::vector<int>{7, 1}), host->calls);
}

TEST_F(MenuTest, CallbackMayRemoveTheMenuOrReplaceTheScene) {
    items[0]->setTarget(host, memberCallback(&MenuHost::onItemRemovingMenu));
    RefPtr<CCMenu> menu(host->menu);
    tap(100, 100);
    EXPECT_EQ(std::vector<int>{0}, host->calls);
    EXPECT_EQ(nullptr, menu->getParent());
    menu.reset();
    tap(100, 100);  // the menu is gone: the layer gets it
    EXPECT_EQ(std::vector<int>{0}, host->calls);
    EXPECT_EQ(1, host->layerTouches);
}

TEST_F(MenuTest, CallbackReplacingTheSceneRunsOnce) {
    items[2]->setTarget(host, memberCallback(&MenuHost::onItemReplacingScene));
    MenuHost* keep = host;
    keep->retain();
    tap(100, 300);
    step();
    EXPECT_EQ(std::vector<int>{2}, keep->calls);
    EXPECT_NE(keep->getParent(), CCDirector::sharedDirector()->getRunningScene());
    keep->release();
}

TEST_F(MenuTest, AlignItemsVerticallyStacksThemAroundTheOrigin) {
    host->menu->alignItemsVerticallyWithPadding(10);
    // 3 x 40 + 2 x 10 = 140 high: centres at 50, 0, -50.
    EXPECT_EQ(CCPoint(0, 50), items[0]->getPosition());
    EXPECT_EQ(CCPoint(0, 0), items[1]->getPosition());
    EXPECT_EQ(CCPoint(0, -50), items[2]->getPosition());
    host->menu->alignItemsHorizontallyWithPadding(0);
    EXPECT_EQ(CCPoint(-100, 0), items[0]->getPosition());
    EXPECT_EQ(CCPoint(100, 0), items[2]->getPosition());
}

TEST_F(MenuTest, NewMenuSitsAtTheScreenCentreAndTakesOnlyFreeItems) {
    CCMenuItem* free = CCMenuItem::create();
    CCMenu* menu = CCMenu::create(free, items[0], nullptr);
    ASSERT_NE(nullptr, menu);
    EXPECT_EQ(CCPoint(320, 480), menu->getPosition());
    EXPECT_EQ(menu, free->getParent());
    EXPECT_EQ(host->menu, items[0]->getParent()) << "an item keeps the menu it is in";
    EXPECT_EQ(1u, menu->getChildrenCount());
}

// --- item kinds ---------------------------------------------------------------------------

namespace {

class MenuItemTest : public pagly::test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        m_oldRoot = CCFileUtils::sharedFileUtils()->getResourceRoot();
        CCFileUtils::sharedFileUtils()->setResourceRoot(PAGLY_FIXTURES_DIR "/render");
    }
    void TearDown() override {
        CCFileUtils::sharedFileUtils()->setResourceRoot(m_oldRoot);
        CCTextureCache::sharedTextureCache()->removeAllTextures();
        CCMenuItemFont::setFontSize(32);
        CCMenuItemFont::setFontName("Arial");
        EngineTest::TearDown();
    }
    std::string m_oldRoot;
};

}  // namespace

TEST_F(MenuItemTest, ImageItemShowsTheSelectedImageWhilePressed) {
    CCMenuItemImage* item = CCMenuItemImage::create("white32.png", "quad4.png");
    ASSERT_NE(nullptr, item);
    EXPECT_EQ(CCSize(32, 32), item->getContentSize());
    CCNode* normal = item->getNormalImage();
    CCNode* selected = item->getSelectedImage();
    ASSERT_TRUE(normal && selected);
    EXPECT_TRUE(normal->isVisible());
    EXPECT_FALSE(selected->isVisible());
    item->selected();
    EXPECT_FALSE(normal->isVisible());
    EXPECT_TRUE(selected->isVisible());
    item->unselected();
    EXPECT_TRUE(normal->isVisible());

    // Replacing the normal image (play <-> pause): the old one leaves, the size follows.
    CCSprite* other = CCSprite::create("quad4.png");
    item->setNormalImage(other);
    EXPECT_EQ(other, item->getNormalImage());
    EXPECT_EQ(nullptr, normal->getParent());
    EXPECT_EQ(item, other->getParent());
    EXPECT_EQ(CCSize(4, 4), item->getContentSize());
    EXPECT_EQ(2u, item->getChildrenCount());
}

TEST_F(MenuItemTest, ImageItemWithMissingImagesIsEmptyAndTakesNoTouch) {
    CCMenuItemImage* item = CCMenuItemImage::create("nope.png", "nope2.png");
    ASSERT_NE(nullptr, item);
    EXPECT_EQ(CCSizeZero, item->getContentSize());
    EXPECT_TRUE(logged("cannot use nope.png: it is missing"));

    CCMenu* menu = CCMenu::create(item, nullptr);
    menu->setPosition(CCPointZero);
    item->setPosition(50, 50);
    CCScene* scene = CCScene::create();
    scene->addChild(menu);
    run(scene);
    touchDown(50, 50);
    EXPECT_EQ(kMenuStateWaiting, menu->getState());
    touchUp(50, 50);
}

TEST_F(MenuItemTest, FontItemUsesTheMenuFontAndItsOwnSize) {
    CCMenuItemFont* standard = CCMenuItemFont::create("Settings");
    CCMenuItemFont::setFontSize(45);
    CCMenuItemFont* big = CCMenuItemFont::create("Settings");
    EXPECT_EQ(32u, standard->fontSizeObj());
    EXPECT_EQ(45u, big->fontSizeObj());
    EXPECT_GT(big->getContentSize().height, standard->getContentSize().height);
    EXPECT_STREQ("Arial", big->fontNameObj());

    float before = standard->getContentSize().width;
    standard->setFontSizeObj(64);
    EXPECT_GT(standard->getContentSize().width, before * 1.5f);

    // The item's colour is the text's colour.
    big->setColor(ccColor3B(0, 0, 255));
    CCLabelTTF* label = dynamic_cast<CCLabelTTF*>(big->getLabel());
    ASSERT_NE(nullptr, label);
    EXPECT_EQ(ccColor3B(0, 0, 255), label->getColor());
}

TEST_F(MenuItemTest, LabelItemFollowsItsTextAndGreysOutWhenDisabled) {
    CCLabelTTF* label = CCLabelTTF::create("Unit 1", "Arial", 60);
    CCMenuItemLabel* item = CCMenuItemLabel::create(label, nullptr, nullptr);
    ASSERT_NE(nullptr, item);
    EXPECT_EQ(label->getContentSize(), item->getContentSize());
    item->setString("Recycle 2 ");
    EXPECT_EQ(label->getContentSize(), item->getContentSize());
    EXPECT_STREQ("Recycle 2 ", label->getString());

    item->setColor(ccColor3B(10, 20, 30));
    item->setEnabled(false);
    EXPECT_EQ(ccColor3B(126, 126, 126), label->getColor());
    item->setEnabled(true);
    EXPECT_EQ(ccColor3B(10, 20, 30), label->getColor());

    // Selected it grows a little; released it is back to its own scale.
    item->setScale(0.5f);
    item->selected();
    EXPECT_FLOAT_EQ(0.6f, item->getScale());
    item->unselected();
    EXPECT_FLOAT_EQ(0.5f, item->getScale());
}

TEST_F(MenuItemTest, AnImageThatAlreadyHasAParentIsNotTaken) {
    // The same sprite for two states, or one that sits elsewhere: taking it would leave a slot
    // pointing at a node that its real owner may free.
    CCSprite* shared = CCSprite::create("quad4.png");
    RefPtr<CCMenuItemSprite> item = CCMenuItemSprite::create(shared, shared, nullptr);
    ASSERT_NE(nullptr, item.get());
    EXPECT_EQ(shared, item->getNormalImage());
    EXPECT_EQ(nullptr, item->getSelectedImage());
    EXPECT_TRUE(logged("CCMenuItemSprite: image " + shared->description() +
                       " already has a parent; kept the previous one"));

    CCNode* elsewhere = CCNode::create();
    CCSprite* foreign = CCSprite::create("white32.png");
    elsewhere->addChild(foreign);
    item->setSelectedImage(foreign);
    EXPECT_EQ(nullptr, item->getSelectedImage());
    EXPECT_EQ(elsewhere, foreign->getParent());

    // Replacing the normal image lets the shared sprite go; nothing points at it afterwards.
    item->setNormalImage(CCSprite::create("white32.png"));
    step();
    item->selected();
    item->unselected();
    EXPECT_EQ(CCSize(32, 32), item->getContentSize());
}
