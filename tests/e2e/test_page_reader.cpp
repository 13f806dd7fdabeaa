#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "ReaderFixture.h"
#include "app/BookNames.h"
#include "app/PageLayer.h"
#include "app/ReadingSession.h"
#include "app/SetLayer.h"
#include "app/TestController.h"
#include "app/VisibleArea.h"
#include "engine/audio/VirtualAudioBackend.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCKeypadDispatcher.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCMenuItem.h"
#include "engine/nodes/CCSprite.h"
#include "engine/render/CCTextureCache.h"
#include "engine/transitions/CCTransitionPageTurn.h"
#include "gui/UIButton.h"
#include "gui/UILayer.h"
#include "gui/UIRootWidget.h"
#include "gui/WidgetHelper.h"
#include "gui/reader/ActionManager.h"
#include "gui/reader/CCSGUIReader.h"
#include "gui/reader/JsonHelper.h"

using namespace pagly::audio;
using namespace pagly::engine;
using namespace pagly::gui;
using namespace pagly;

namespace {

class PageReaderTest : public pagly::test::ReaderTest {
  protected:
    // Taps a sentence button: down, a frame, up.
    void tapSentence(int index) {
        UIButton* button = sentenceButton(index);
        ASSERT_NE(nullptr, button) << "sentence " << index << " on page " << session().currentPage;
        tapAt(centreOf(button));
    }
    bool showsImage(CCMenuItemImage* item, const char* file) {
        CCSprite* sprite = dynamic_cast<CCSprite*>(item->getNormalImage());
        return sprite &&
               sprite->getTexture() == CCTextureCache::sharedTextureCache()->textureForKey(
                                           (sandbox() + "/" + file).c_str());
    }
    // Swipes horizontally from (600, 600) by dx; returns after the release.
    void swipe(float dx) {
        touchDown(600, 600);
        step();
        touchMove(600 + dx, 600);
        step();
        touchUp(600 + dx, 600);
        step();
    }
};

TEST_F(PageReaderTest, ChoosingUnitTwoAndItsThirdLineOpensPage14) {
    startOnMainPage();
    tap(320, 760);  // "Unit 2"
    advance(2.1);   // the lines fly in and settle
    tap(320, 660);  // its third line
    EXPECT_EQ(14, session().currentPage);
    ASSERT_NE(nullptr, runningLayer<TestLayer1>());
    EXPECT_TRUE(logged("Scene 1 onEnter"));
}

TEST_F(PageReaderTest, ASentencePlaysAtTouchDownAndItsCaptionFollowsTheRecording) {
    openPage(2);
    UIButton* button = sentenceButton(2);
    ASSERT_NE(nullptr, button);
    CCPoint at = centreOf(button);
    touchDown(at.x, at.y);
    EXPECT_EQ(recordingOf(2, 2), m_audio.current()) << "plays when the finger goes down";
    EXPECT_TRUE(button->isFocused());
    EXPECT_EQ(3, session().nextSentence);
    EXPECT_FALSE(session().captionBackground->isVisible());
    advance(0.3);
    EXPECT_TRUE(session().captionBackground->isVisible()) << "shown at the first watcher tick";
    EXPECT_TRUE(session().captionLabel->isVisible());
    touchUp(at.x, at.y);
    double length = m_audio.backend().duration();
    ASSERT_GT(length, 0.5);
    advance(length + 0.35);
    EXPECT_FALSE(m_audio.isPlaying());
    EXPECT_FALSE(session().captionBackground->isVisible()) << "hidden after the recording ended";
    EXPECT_FALSE(session().captionLabel->isVisible());
    EXPECT_TRUE(button->isFocused()) << "the finished sentence stays pressed";
}

TEST_F(PageReaderTest, CaptionSitsBesideItsButton) {
    openPage(2);
    struct Case {
        int index;
        bool upper;
    } cases[] = {{1, true}, {2, true}, {3, false}};
    for (const Case& c : cases) {
        UIButton* button = sentenceButton(c.index);
        ASSERT_NE(nullptr, button);
        tapSentence(c.index);
        CCPoint p = button->getPosition();
        float sy = std::fabs(button->getScaleY());
        CCSize s = button->getContentSize();
        float width = std::fabs(button->getScaleX()) * s.width;
        float labelHeight = session().captionLabel->getContentSize().height;
        // The text keeps the button's width; its box is a margin of 12 wider on each side.
        float box = std::min(width + 24, 640.0f);
        EXPECT_FLOAT_EQ(box - 24, session().captionLabel->getDimensions().width) << c.index;
        float x = 320 + p.x;
        float expectedX = std::min(std::max(x, box / 2), 640 - box / 2);
        float by = 480 + p.y;
        float expectedBackground;
        if (c.upper) {
            float reach = sy < 1.4f ? s.height * sy / 2 : s.height * sy * 6 / 11;
            expectedBackground = by - (reach + labelHeight / 2) - 12;
        } else {
            expectedBackground = by + s.height * sy / 2 + labelHeight * 3 / 5 + 12;
        }
        EXPECT_NEAR(expectedX, session().captionLabel->getPositionX(), 1e-3) << c.index;
        // The text in the middle of its box, 12 from its top and bottom edges.
        EXPECT_NEAR(expectedBackground, session().captionLabel->getPositionY(), 1e-3) << c.index;
        EXPECT_NEAR(expectedX, session().captionBackground->getPosition().x, 1e-3) << c.index;
        EXPECT_NEAR(expectedBackground, session().captionBackground->getPosition().y, 1e-3)
            << c.index;
        EXPECT_NEAR(labelHeight + 24, session().captionBackground->getSize().height, 1e-3)
            << c.index;
    }
    EXPECT_GE(sentenceButton(1)->getScaleY(), 1.4f) << "the book's big button is on page 2";
}

TEST_F(PageReaderTest, TheCaptionHidesWithinAWatcherTickOfTheRecordingsEnd) {
    openPage(2);
    const double frame = 1.0 / 60;
    for (int index = 1; index <= 3; ++index) {
        tapSentence(index);
        for (int f = 0; f < 60 * 30 && m_audio.isPlaying(); ++f) step();
        ASSERT_FALSE(m_audio.isPlaying()) << index;
        double ended = now();
        ASSERT_TRUE(session().captionBackground->isVisible()) << index;
        for (int f = 0; f < 60 * 2 && session().captionBackground->isVisible(); ++f) step();
        EXPECT_FALSE(session().captionBackground->isVisible()) << index;
        EXPECT_LE(now() - ended, 0.3 + frame + 1e-6) << "the watcher looks every 0.3 s";
    }
}

TEST_F(PageReaderTest, OnlyTheFirstLayerClassLogsWhenItShowsACaption) {
    const std::string line = "Scene 1: onEnterTransitionDidFinish";
    auto count = [&] { return std::count(logLines().begin(), logLines().end(), line); };
    openPage(2);
    ASSERT_NE(nullptr, runningLayer<TestLayer1>());
    auto before = count();
    tapSentence(2);
    EXPECT_EQ(before + 1, count());
    page()->onNextPage(nullptr);
    settle();
    ASSERT_NE(nullptr, runningLayer<TestLayer2>());
    before = count();
    tapSentence(1);
    EXPECT_EQ(before, count());
}

TEST_F(PageReaderTest, ThePlayingSentenceIsNotRestarted) {
    openPage(2);
    tapSentence(2);
    tapSentence(2);
    advance(0.5);
    tapSentence(2);
    EXPECT_EQ(1u, m_audio.played().size());
    advance(m_audio.backend().duration() + 0.1);
    tapSentence(2);
    EXPECT_EQ(2u, m_audio.played().size()) << "after it ended it plays again";
}

TEST_F(PageReaderTest, TouchingAnotherSentenceTakesOver) {
    openPage(2);
    tapSentence(2);
    advance(0.2);
    tapSentence(4);
    EXPECT_FALSE(sentenceButton(2)->isFocused());
    EXPECT_TRUE(sentenceButton(4)->isFocused());
    EXPECT_EQ(recordingOf(2, 4), m_audio.current());
    EXPECT_EQ(5, session().nextSentence);
}

// Records (recording, start time) of every sentence started while time runs.
struct Playback {
    std::string file;
    double start, end;
};

TEST_F(PageReaderTest, RepeatPageReadsThePageOverAndOver) {
    session().readingMode = RepeatPage;
    openPage(19);
    ASSERT_EQ(3, session().pageSentenceCount);
    page()->onPlayPause(page()->playPauseItem());
    std::vector<Playback> heard;
    std::string playing;
    for (int frame = 0; frame < 60 * 40 && heard.size() < 7; ++frame) {
        step();
        std::string now = m_audio.isPlaying() ? m_audio.current() : "";
        if (now != playing) {
            if (!playing.empty()) heard.back().end = this->now();
            if (!now.empty()) heard.push_back({now, this->now(), 0});
            playing = now;
        }
    }
    ASSERT_GE(heard.size(), 7u);
    for (size_t i = 0; i < 7; ++i) EXPECT_EQ(recordingOf(19, 1 + i % 3), heard[i].file) << i;
    const double frame = 1.0 / 60;
    for (size_t i = 1; i < 6; ++i) {
        double gap = heard[i].start - heard[i - 1].end;
        EXPECT_GE(gap, 0.5 - 1e-6) << "silence before sentence " << i;
        // Within the page the pause is 0.5..1.0 s; starting the page again adds the
        // end-of-page check (0.5 s) and its short 0.2 s tick.
        double longest = (i % 3 == 0) ? 1.7 : 1.0;
        EXPECT_LE(gap, longest + frame + 1e-6) << "silence before sentence " << i;
    }
}

TEST_F(PageReaderTest, SwitchingAutomaticReadingOffSilencesTheSentenceAndStopsThere) {
    openPage(19);
    page()->onPlayPause(page()->playPauseItem());
    for (int frame = 0; frame < 60 * 3 && !m_audio.isPlaying(); ++frame) step();
    ASSERT_TRUE(m_audio.isPlaying());
    size_t heard = m_audio.played().size();
    page()->onPlayPause(page()->playPauseItem());
    EXPECT_FALSE(session().autoReadOn);
    EXPECT_FALSE(m_audio.isPlaying());
    advance(5);
    EXPECT_EQ(heard, m_audio.played().size()) << "no further sentence";
}

TEST_F(PageReaderTest, WhileASentencePlaysAutomaticReadingLooksEveryHalfSecond) {
    // Each sentence starts on a tick, and every tick until the next start is 0.5 s long:
    // starts lie whole half seconds apart, however long the recordings are.
    session().readingMode = RepeatPage;
    openPage(19);
    page()->onPlayPause(page()->playPauseItem());
    std::vector<double> starts;
    std::string playing;
    for (int frame = 0; frame < 60 * 40 && starts.size() < 6; ++frame) {
        step();
        std::string now = m_audio.isPlaying() ? m_audio.current() : "";
        if (!now.empty() && now != playing) starts.push_back(this->now());
        playing = now;
    }
    ASSERT_EQ(6u, starts.size());
    const double frame = 1.0 / 60;
    for (size_t i = 1; i < starts.size(); ++i) {
        if (i % 3 == 0) continue;  // starting the page again takes a 0.2 s tick
        double halves = (starts[i] - starts[i - 1]) / 0.5;
        EXPECT_NEAR(std::round(halves), halves, 2 * frame / 0.5) << "sentence " << i;
    }
}

TEST_F(PageReaderTest, ReadOnCrossesIntoTheNextUnitAndStopsOnTheLastPage) {
    openPage(11);
    page()->onPlayPause(page()->playPauseItem());
    for (int frame = 0; frame < 60 * 60 && session().currentPage == 11; ++frame) step();
    ASSERT_EQ(12, session().currentPage);
    settle();
    ASSERT_NE(nullptr, runningLayer<TestLayer2>());
    advance(1.0);
    ASSERT_FALSE(m_audio.played().empty());
    EXPECT_EQ(recordingOf(12, 1), m_audio.played().back()) << "reading goes on on the new page";

    openPage(77);
    EXPECT_TRUE(session().autoReadOn) << "read-on carries automatic reading into a new page";
    advance(60);
    EXPECT_EQ(77, session().currentPage);
    // The book is done: reading stops, and play no longer shows it going on.
    EXPECT_FALSE(session().autoReadOn);
    EXPECT_FALSE(m_audio.isPlaying());
    EXPECT_TRUE(showsImage(page()->playPauseItem(), "Images/play_btn.png"));
}

TEST_F(PageReaderTest, ReadOnStartsTheNewPageWithAPauseBeforeItsFirstSentence) {
    openPage(11);
    page()->onPlayPause(page()->playPauseItem());
    for (int frame = 0; frame < 60 * 60 && session().currentPage == 11; ++frame) step();
    ASSERT_EQ(12, session().currentPage);
    double turned = now();
    size_t heardBefore = m_audio.played().size();
    for (int frame = 0; frame < 60 * 3 && m_audio.played().size() == heardBefore; ++frame) step();
    ASSERT_EQ(heardBefore + 1, m_audio.played().size());
    EXPECT_EQ(recordingOf(12, 1), m_audio.played().back());
    // The new page's first 0.2 s tick only ends the pause; the sentence waits 0.5 s more.
    const double frame = 1.0 / 60;
    EXPECT_GE(now() - turned, 0.7 - 1e-6);
    EXPECT_LE(now() - turned, 0.7 + 3 * frame);
}

TEST_F(PageReaderTest, TurningBackCurlsThePageBackwards) {
    struct Case {
        int from;
        bool forward, backwards;
    } cases[] = {{5, true, false}, {5, false, true}};
    for (const Case& c : cases) {
        openPage(c.from);
        if (c.forward) {
            page()->onNextPage(nullptr);
        } else {
            page()->onPreviousPage(nullptr);
        }
        step();
        auto* turn =
            dynamic_cast<CCTransitionPageTurn*>(CCDirector::sharedDirector()->getRunningScene());
        ASSERT_NE(nullptr, turn) << c.forward;
        EXPECT_EQ(c.backwards, turn->isBackwards()) << c.forward;
        settle();
    }
}

TEST_F(PageReaderTest, StepsStayWithinTheBook) {
    openPage(2);
    page()->onPreviousPage(nullptr);
    swipe(+80);
    step();
    EXPECT_EQ(2, session().currentPage);
    EXPECT_NE(nullptr, runningLayer<TestLayer1>());

    openPage(77);
    page()->onNextPage(nullptr);
    swipe(-80);
    step();
    EXPECT_EQ(77, session().currentPage);
    EXPECT_NE(nullptr, runningLayer<TestLayer1>());
}

TEST_F(PageReaderTest, ASwipeTurnsAtFiftyUnits) {
    openPage(10);
    swipe(-49);
    EXPECT_EQ(10, session().currentPage);
    swipe(-50);
    EXPECT_EQ(11, session().currentPage);
    settle();
    swipe(+50);
    EXPECT_EQ(10, session().currentPage);
    EXPECT_EQ(-1, session().turnDirection);
}

TEST_F(PageReaderTest, TurnsAlternateTheLayerClassesAndDropTheToolkitSingletons) {
    openPage(5);
    ASSERT_NE(nullptr, runningLayer<TestLayer1>());
    page()->onNextPage(nullptr);
    settle();
    ASSERT_NE(nullptr, runningLayer<TestLayer2>());
    EXPECT_EQ(6, session().currentPage);
    EXPECT_FALSE(WidgetHelper::hasInstance()) << "released when the old page scene exited";
    EXPECT_FALSE(CCSGUIReader::hasInstance());
    EXPECT_FALSE(JsonHelper::hasInstance());
    EXPECT_FALSE(ActionManager::hasInstance());
    page()->onNextPage(nullptr);
    settle();
    EXPECT_NE(nullptr, runningLayer<TestLayer1>());
    EXPECT_EQ(7, session().currentPage);
    EXPECT_TRUE(CCDirector::sharedDirector()->isDepthTest());
}

TEST_F(PageReaderTest, LeavingAPageForgetsItsObjects) {
    openPage(3);
    tapSentence(1);
    ASSERT_NE(nullptr, session().currentSentenceButton);
    page()->onMainPage(nullptr);
    step();
    step();  // the old page is freed with the autorelease pool
    EXPECT_EQ(nullptr, session().captionLabel);
    EXPECT_EQ(nullptr, session().captionBackground);
    EXPECT_EQ(nullptr, session().currentSentenceButton);
}

TEST_F(PageReaderTest, SettingsCancelKeepsTheModeConfirmingReadByTouchHidesPlay) {
    openPage(5);
    auto tapSetting = [this](const char* name) {
        SetLayer* overlay = runningLayer<SetLayer>();
        ASSERT_NE(nullptr, overlay);
        UIWidget* button =
            WidgetHelper::findWidgetByName(overlay->uiLayer()->getRootWidget(), name);
        ASSERT_NE(nullptr, button) << name;
        tapAt(centreOf(button));
    };
    page()->onSettings(nullptr);
    settle();
    EXPECT_TRUE(logged("SetLayer  onEnter"));
    tapSetting("bnpres");
    tapSetting("bncancel");
    settle();
    EXPECT_EQ(ReadOn, session().readingMode);
    ASSERT_NE(nullptr, page());
    EXPECT_TRUE(page()->playPauseItem()->isVisible());

    page()->onSettings(nullptr);
    settle();
    tapSetting("bnpres");
    tapSetting("bnok");
    settle();
    EXPECT_EQ(ReadByTouch, session().readingMode);
    ASSERT_NE(nullptr, page());
    EXPECT_FALSE(page()->playPauseItem()->isVisible());
    EXPECT_FALSE(session().autoReadOn);
    EXPECT_EQ(5, session().currentPage);
}

TEST_F(PageReaderTest, ThePagesOneTurnAwayAreReadyAndThoseFartherGo) {
    CCTextureCache* cache = CCTextureCache::sharedTextureCache();
    auto cached = [&](int page) {
        std::string picture = "lessonbundle/pictures/p" + std::to_string(page) + ".png";
        return cache->textureForKey(picture.c_str()) != nullptr;
    };
    auto settleAndPrepare = [&] {
        settle();
        while (cache->isPreparing()) step();  // the frames take the decoded pictures in
    };
    openPage(3);
    settleAndPrepare();
    EXPECT_TRUE(cached(4)) << "the next page's picture is decoded before it is turned to";
    EXPECT_TRUE(cached(2)) << "and the previous page's";
    EXPECT_FALSE(cached(5));
    CCDirector::sharedDirector()->getKeypadDispatcher()->dispatchKey(kKeyRight);
    settleAndPrepare();
    ASSERT_EQ(4, session().currentPage);
    EXPECT_TRUE(cached(5));
    EXPECT_TRUE(cached(3));
    EXPECT_FALSE(cached(2)) << "two turns away: let go";
}

TEST_F(PageReaderTest, DesktopKeysTurnPagesPlayAndGoHome) {
    openPage(5);
    CCKeypadDispatcher* keys = CCDirector::sharedDirector()->getKeypadDispatcher();
    keys->dispatchKey(kKeyRight);
    settle();
    EXPECT_EQ(6, session().currentPage);
    keys->dispatchKey(kKeyLeft);
    settle();
    EXPECT_EQ(5, session().currentPage);
    keys->dispatchKey(kKeySpace);
    EXPECT_TRUE(session().autoReadOn);
    keys->dispatchKey(kKeySpace);
    EXPECT_FALSE(session().autoReadOn);
    keys->dispatchKey(kKeyEscape);
    step();
    EXPECT_NE(nullptr, runningLayer<TestController>());
}

}  // namespace
