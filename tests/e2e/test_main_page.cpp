#include <cstdio>
#include <fstream>
#include <sstream>

#include "ReaderFixture.h"
#include "app/AppDelegate.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCKeypadDispatcher.h"
#include "app/ReadingSession.h"
#include "app/TableOfContents.h"
#include "app/TestController.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/nodes/CCMenu.h"

using namespace pagly::audio;
using namespace pagly::engine;
using namespace pagly;

namespace {

using MainPageTest = pagly::test::ReaderTest;

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Entry i stands at y = 960 - 100 (i + 1), centred.
CCPoint entry(int i) { return CCPoint(320, 960 - 100.0f * (i + 1)); }

TEST_F(MainPageTest, TappingAnEntryRecordsItAndOpensItsTableOfContents) {
    struct Case {
        int entry;
        int selectedUnit;
    } cases[] = {{7, 7}, {8, 8}, {0, 0}, {3, 3}};
    for (const Case& c : cases) {
        startOnMainPage();
        tap(entry(c.entry).x, entry(c.entry).y);
        EXPECT_EQ(c.selectedUnit, session().selectedUnit) << "entry " << c.entry;
        EXPECT_NE(nullptr, runningLayer<MenuLayerMainMenu>()) << "entry " << c.entry;
    }
}

TEST_F(MainPageTest, DraggingOffTheEntriesMovesTheListWithinItsBounds) {
    startOnMainPage();
    TestController* mainPage = runningLayer<TestController>();
    ASSERT_NE(nullptr, mainPage);
    CCMenu* list = mainPage->listMenu();
    // x = 40 is left of every entry, so the layer (not the menu) gets the touch.
    touchDown(40, 500);
    touchMove(40, 600);
    EXPECT_FLOAT_EQ(40, list->getPositionY()) << "clamped at the limit, 1000 - 960";
    EXPECT_EQ(CCPoint(0, 0), session().mainPageListOffset);
    touchMove(40, 495);
    EXPECT_FLOAT_EQ(35, list->getPositionY());
    EXPECT_EQ(CCPoint(0, 35), session().mainPageListOffset);
    touchMove(40, 300);
    EXPECT_FLOAT_EQ(0, list->getPositionY()) << "clamped at 0";
    EXPECT_EQ(CCPoint(0, 35), session().mainPageListOffset);
    touchUp(40, 300);

    // The next visit shows the list where the last unclamped step left it.
    startOnMainPage();
    EXPECT_FLOAT_EQ(35, runningLayer<TestController>()->listMenu()->getPositionY());
}

TEST_F(MainPageTest, DownAndUpKeysScrollTheListToItsBounds) {
    startOnMainPage();
    CCMenu* list = runningLayer<TestController>()->listMenu();
    CCKeypadDispatcher* keys = CCDirector::sharedDirector()->getKeypadDispatcher();
    keys->dispatchKey(kKeyDown);
    EXPECT_FLOAT_EQ(40, list->getPositionY()) << "stops at the limit, 1000 - 960";
    EXPECT_EQ(CCPoint(0, 40), session().mainPageListOffset);
    keys->dispatchKey(kKeyUp);
    EXPECT_FLOAT_EQ(0, list->getPositionY());
    EXPECT_EQ(CCPoint(0, 0), session().mainPageListOffset);
}

TEST_F(MainPageTest, FirstRunMarkerIsWrittenOnceAndNeverChanged) {
    startOnMainPage();
    EXPECT_EQ(std::string(TestController::kFirstRunMarkerLine) + "\n", fileText(markerPath()));
    {
        std::ofstream out(markerPath(), std::ios::binary);
        out << "kept";
    }
    startOnMainPage();
    EXPECT_EQ("kept", fileText(markerPath())) << "an existing marker is left alone";
}

TEST_F(MainPageTest, BuildingTheMainPageSilencesARecording) {
    pagly::audio::SimpleAudioEngine::sharedEngine()->playBackgroundMusic(recordingOf(2, 1).c_str());
    step();
    ASSERT_TRUE(m_audio.isPlaying());
    startOnMainPage();
    EXPECT_FALSE(m_audio.isPlaying());
}

TEST_F(MainPageTest, TheHintItemIsNeverVisible) {
    startOnMainPage();
    CCMenu* list = runningLayer<TestController>()->listMenu();
    int visibleEntries = 0;
    for (CCObject* o : *list->getChildren()) {
        CCNode* item = static_cast<CCNode*>(o);
        if (item->getZOrder() == 300000) {
            EXPECT_FALSE(item->isVisible());
        }
        if (item->isVisible()) ++visibleEntries;
    }
    EXPECT_EQ(9, visibleEntries);
}

TEST_F(MainPageTest, LaunchShowsTheMainPageAndMinimisingStopsDrawingButNotSound) {
    CCDirector* director = CCDirector::sharedDirector();
    AppDelegate app;
    ASSERT_TRUE(app.applicationDidFinishLaunching());
    step();
    EXPECT_NE(nullptr, runningLayer<TestController>());
    EXPECT_EQ(CCSize(640, 960), director->getWinSize());
    EXPECT_DOUBLE_EQ(1.0 / 60, director->getAnimationInterval());

    pagly::audio::SimpleAudioEngine::sharedEngine()->playBackgroundMusic(recordingOf(2, 1).c_str());
    app.applicationDidEnterBackground();
    EXPECT_FALSE(director->isAnimating());
    EXPECT_TRUE(m_audio.isPlaying()) << "minimising leaves the sentence playing";
    app.applicationWillEnterForeground();
    EXPECT_TRUE(director->isAnimating());
    EXPECT_TRUE(m_audio.isPlaying());
}

}  // namespace
