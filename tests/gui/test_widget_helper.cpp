// The widget helper: lookups by name, action tag and relative name, sheets loaded once, the
// design size and the helper's own lifetime.
#include "GuiTestSupport.h"
#include "engine/director/CCDirector.h"
#include "engine/nodes/CCSpriteFrameCache.h"
#include "gui/Layout.h"
#include "gui/LayoutParameter.h"
#include "gui/UIWidget.h"
#include "gui/WidgetHelper.h"

using namespace pagly::engine;
using namespace pagly::gui;

namespace {

UIWidget* named(const char* name, int actionTag = 0) {
    UIWidget* w = UIWidget::create();
    w->setName(name);
    w->setActionTag(actionTag);
    return w;
}

class WidgetHelperTest : public pagly::test::GuiTest {
  protected:
    // root
    //   a                (action tag 1)
    //     twin  "first"  (action tag 7)
    //       deep         (action tag 9)
    //   twin    "second" (action tag 7)
    //   b
    void SetUp() override {
        GuiTest::SetUp();
        root = Layout::create();
        root->setName("root");
        UIWidget* a = named("a", 1);
        firstTwin = named("twin", 7);
        firstTwin->setTag(1);
        deep = named("deep", 9);
        secondTwin = named("twin", 7);
        secondTwin->setTag(2);
        root->addChild(a);
        a->addChild(firstTwin);
        firstTwin->addChild(deep);
        root->addChild(secondTwin);
        root->addChild(named("b"));
    }
    Layout* root = nullptr;
    UIWidget* firstTwin = nullptr;
    UIWidget* secondTwin = nullptr;
    UIWidget* deep = nullptr;
};

TEST_F(WidgetHelperTest, FindByNameWalksDepthFirstInChildOrder) {
    WidgetHelper* helper = WidgetHelper::instance();
    EXPECT_EQ(root, helper->findWidgetByName(root, "root"));
    // The twin under "a" comes first although the other one is nearer the root.
    EXPECT_EQ(firstTwin, helper->findWidgetByName(root, "twin"));
    EXPECT_EQ(deep, helper->findWidgetByName(root, "deep"));
    EXPECT_EQ(nullptr, helper->findWidgetByName(root, "Twin"));  // case matters
    EXPECT_EQ(nullptr, helper->findWidgetByName(root, "twi"));   // the whole name
    EXPECT_EQ(nullptr, helper->findWidgetByName(root, "nobody"));
    EXPECT_EQ(nullptr, helper->findWidgetByName(nullptr, "root"));
    EXPECT_EQ(nullptr, helper->findWidgetByName(root, nullptr));
    // The walk follows the children array: putting the second twin first changes the answer.
    secondTwin->setWidgetZOrder(-1);
    EXPECT_EQ(secondTwin, helper->findWidgetByName(root, "twin"));
}

TEST_F(WidgetHelperTest, FindByActionTagUsesTheSameWalk) {
    EXPECT_EQ(firstTwin, WidgetHelper::findWidgetByActionTag(root, 7));
    EXPECT_EQ(deep, WidgetHelper::findWidgetByActionTag(root, 9));
    EXPECT_EQ(root, WidgetHelper::findWidgetByActionTag(root, 0));
    EXPECT_EQ(nullptr, WidgetHelper::findWidgetByActionTag(root, 42));
    EXPECT_EQ(nullptr, WidgetHelper::findWidgetByActionTag(nullptr, 7));
}

TEST_F(WidgetHelperTest, FindByRelativeNameLooksAtDirectChildrenOnly) {
    RelativeLayoutParameter* p = RelativeLayoutParameter::create();
    p->setRelativeName("anchor");
    secondTwin->setLayoutParameter(p);
    RelativeLayoutParameter* hidden = RelativeLayoutParameter::create();
    hidden->setRelativeName("deep-anchor");
    deep->setLayoutParameter(hidden);
    firstTwin->setLayoutParameter(LayoutParameter::create());  // not a relative one
    EXPECT_EQ(secondTwin, WidgetHelper::findWidgetByRelativeName(root, "anchor"));
    EXPECT_EQ(nullptr, WidgetHelper::findWidgetByRelativeName(root, "deep-anchor"));
    EXPECT_EQ(nullptr, WidgetHelper::findWidgetByRelativeName(nullptr, "anchor"));
}

TEST_F(WidgetHelperTest, SpriteFrameSheetsLoadOncePerHelper) {
    CCSpriteFrameCache* cache = CCSpriteFrameCache::sharedSpriteFrameCache();
    WidgetHelper* helper = WidgetHelper::instance();
    helper->addSpriteFramesOnce("sheet9.plist");
    ASSERT_NE(nullptr, cache->spriteFrameByName("nine_frame.png"));
    EXPECT_TRUE(helper->isSpriteFramesLoaded("sheet9.plist"));
    // A fresh frame cache would load the sheet again; the helper must not ask it to.
    CCSpriteFrameCache::purgeSharedSpriteFrameCache();
    cache = CCSpriteFrameCache::sharedSpriteFrameCache();
    helper->addSpriteFramesOnce("sheet9.plist");
    EXPECT_EQ(nullptr, cache->spriteFrameByName("nine_frame.png"));
    // Empty and null names do nothing.
    helper->addSpriteFramesOnce("");
    helper->addSpriteFramesOnce(nullptr);
    EXPECT_FALSE(helper->isSpriteFramesLoaded(""));
    // A new helper (after a page scene's clean-up) remembers nothing.
    WidgetHelper::destroyInstance();
    EXPECT_FALSE(WidgetHelper::hasInstance());
    CCSpriteFrameCache::purgeSharedSpriteFrameCache();
    WidgetHelper::instance()->addSpriteFramesOnce("sheet9.plist");
    EXPECT_NE(nullptr,
              CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName("nine_frame.png"));
}

TEST_F(WidgetHelperTest, OneHelperUntilDestroyedAndItsDesignSizeStartsAsTheWindow) {
    EXPECT_FALSE(WidgetHelper::hasInstance());
    WidgetHelper* helper = WidgetHelper::instance();
    EXPECT_EQ(helper, WidgetHelper::instance());
    EXPECT_EQ(CCDirector::sharedDirector()->getWinSize(), helper->getDesignSize());
    helper->setDesignSize(CCSize(480, 320));
    EXPECT_EQ(CCSize(480, 320), WidgetHelper::instance()->getDesignSize());
    WidgetHelper::destroyInstance();
    WidgetHelper::destroyInstance();  // twice is harmless
    EXPECT_EQ(CCDirector::sharedDirector()->getWinSize(),
              WidgetHelper::instance()->getDesignSize());
}

}  // namespace
