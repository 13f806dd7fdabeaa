#include <string>
#include <vector>

#include "ReaderFixture.h"
#include "app/PageLayer.h"
#include "app/ReadingSession.h"
#include "app/TableOfContents.h"
#include "app/TestController.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCKeypadDispatcher.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItem.h"

using namespace pagly::engine;
using namespace pagly;

namespace {

class ContentsTest : public pagly::test::ReaderTest {
  protected:
    // From the main page, opens the contents of main-page entry `entry` and lets the lines
    // fly in.
    MenuLayerMainMenu* openContents(int entry) {
        startOnMainPage();
        tap(320, 960 - 100.0f * (entry + 1));
        advance(2.1);
        return runningLayer<MenuLayerMainMenu>();
    }
    std::vector<std::string> lineTexts(MenuLayerMainMenu* contents) {
        std::vector<std::string> texts;
        for (CCObject* o : *contents->listMenu()->getChildren()) {
            CCMenuItemLabel* line = dynamic_cast<CCMenuItemLabel*>(o);
            CCLabelTTF* label = line ? dynamic_cast<CCLabelTTF*>(line->getLabel()) : nullptr;
            texts.push_back(label ? label->getString() : "?");
        }
        return texts;
    }
    CCPoint line(int k) { return CCPoint(320, 960 - 100.0f * (k + 1)); }
};

TEST_F(ContentsTest, UnitOneListsItsTenPagesAndItsThirdLineOpensPageFour) {
    MenuLayerMainMenu* contents = openContents(0);
    ASSERT_NE(nullptr, contents);
    std::vector<std::string> texts = lineTexts(contents);
    ASSERT_EQ(10u, texts.size());
    // Each line: the page's number and its own title.
    EXPECT_EQ("Page 2 \xC2\xBB Hello, friends!", texts.front());
    EXPECT_EQ("Page 11 \xC2\xBB Let's check: Unit 1", texts.back());
    tap(line(2).x, line(2).y);
    EXPECT_EQ(4, session().currentPage);
    EXPECT_NE(nullptr, runningLayer<TestLayer1>());
}

TEST_F(ContentsTest, RecycleTwoListsFourPages) {
    MenuLayerMainMenu* contents = openContents(7);
    ASSERT_NE(nullptr, contents);
    std::vector<std::string> texts = lineTexts(contents);
    ASSERT_EQ(4u, texts.size());
    EXPECT_EQ("Page 66 \xC2\xBB A day at the farm", texts.front());
    EXPECT_EQ("Page 69 \xC2\xBB I can do it!", texts.back());
}

TEST_F(ContentsTest, WordListHasSixLinesAndSkipsPage73) {
    MenuLayerMainMenu* contents = openContents(8);
    ASSERT_NE(nullptr, contents);
    std::vector<std::string> texts = lineTexts(contents);
    ASSERT_EQ(6u, texts.size());
    EXPECT_EQ("Word list 1 Words 1: apple - cake", texts.front());
    EXPECT_EQ("Word list 6 Words 6: family and colours", texts.back());
    tap(line(3).x, line(3).y);
    EXPECT_EQ(74, session().currentPage);
}

TEST_F(ContentsTest, LinesFlyInFromAlternateSides) {
    startOnMainPage();
    tap(320, 860);  // "Unit 1"
    MenuLayerMainMenu* contents = runningLayer<MenuLayerMainMenu>();
    ASSERT_NE(nullptr, contents);
    CCArray* lines = contents->listMenu()->getChildren();
    EXPECT_LT(static_cast<CCNode*>(lines->objectAtIndex(0))->getPositionX(), 0) << "from the left";
    EXPECT_GT(static_cast<CCNode*>(lines->objectAtIndex(1))->getPositionX(), 640)
        << "from the right";
    advance(2.0);
    for (CCObject* o : *lines) EXPECT_NEAR(320, static_cast<CCNode*>(o)->getPositionX(), 0.01);
}

TEST_F(ContentsTest, ListDragsUpToItsLimitAndTheOffsetCarriesOver) {
    MenuLayerMainMenu* contents = openContents(0);
    ASSERT_NE(nullptr, contents);
    EXPECT_FLOAT_EQ(140, MenuLayerMainMenu::dragLimit());
    // x = 40 is left of every line: the layer drags, the menu does not claim the touch.
    touchDown(40, 300);
    touchMove(40, 400);
    EXPECT_FLOAT_EQ(100, contents->listMenu()->getPositionY());
    touchMove(40, 500);
    EXPECT_FLOAT_EQ(140, contents->listMenu()->getPositionY()) << "clamped";
    EXPECT_EQ(CCPoint(0, 100), session().pageListOffset);
    touchUp(40, 500);

    // Another entry's contents open pushed up by the same offset.
    contents = openContents(8);
    ASSERT_NE(nullptr, contents);
    EXPECT_FLOAT_EQ(100, contents->listMenu()->getPositionY());
}

TEST_F(ContentsTest, UpAndDownKeysScrollTheListWithinItsBoundsAndTheOffsetCarriesOver) {
    MenuLayerMainMenu* contents = openContents(0);  // limit 140
    ASSERT_NE(nullptr, contents);
    CCKeypadDispatcher* keys = CCDirector::sharedDirector()->getKeypadDispatcher();
    struct {
        int key;
        float y;
    } presses[] = {{kKeyUp, 0},     {kKeyDown, 100}, {kKeyDown, 140},
                   {kKeyDown, 140}, {kKeyUp, 40},    {kKeyLeft, 40}};
    for (const auto& p : presses) {
        keys->dispatchKey(p.key);
        EXPECT_FLOAT_EQ(p.y, contents->listMenu()->getPositionY()) << p.key;
        EXPECT_FLOAT_EQ(p.y, session().pageListOffset.y) << p.key;
    }
    contents = openContents(8);
    ASSERT_NE(nullptr, contents);
    EXPECT_FLOAT_EQ(40, contents->listMenu()->getPositionY());

    // A list shorter than the screen stays where it is.
    contents = openContents(7);
    ASSERT_NE(nullptr, contents);
    keys->dispatchKey(kKeyDown);
    EXPECT_FLOAT_EQ(0, contents->listMenu()->getPositionY());
}

TEST_F(ContentsTest, AShortListDoesNotJumpWhenDragged) {
    MenuLayerMainMenu* contents = openContents(7);
    ASSERT_NE(nullptr, contents);
    touchDown(40, 300);
    for (float y : {320.f, 280.f, 340.f}) {
        touchMove(40, y);
        EXPECT_FLOAT_EQ(0, contents->listMenu()->getPositionY()) << y;
    }
    touchUp(40, 340);
}

TEST_F(ContentsTest, HomeButtonReturnsToAFreshMainPage) {
    openContents(2);
    tap(640 - 80, 30);
    EXPECT_NE(nullptr, runningLayer<TestController>());
}

TEST_F(ContentsTest, EscapeReturnsToTheMainPage) {
    openContents(4);
    CCDirector::sharedDirector()->getKeypadDispatcher()->dispatchKey(kKeyEscape);
    step();
    EXPECT_NE(nullptr, runningLayer<TestController>());
}

}  // namespace
