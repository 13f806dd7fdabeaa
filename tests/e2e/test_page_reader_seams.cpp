// Where the page reader's pieces meet: touches and keys around a page turn, automatic
// reading and touched sentences, leaving a page while it reads.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "ReaderFixture.h"
#include "app/BookNames.h"
#include "app/PageLayer.h"
#include "app/ReadingSession.h"
#include "app/SetLayer.h"
#include "app/TestController.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCKeypadDispatcher.h"
#include "engine/platform/CCFileUtils.h"
#include "gui/UIButton.h"
#include "gui/UILayer.h"
#include "gui/UIRootWidget.h"
#include "gui/WidgetHelper.h"

using namespace pagly::engine;
using namespace pagly::gui;
using namespace pagly;

namespace {

class PageSeamTest : public pagly::test::ReaderTest {
  protected:
    // Opens the settings overlay from page 5.
    void openSettings() {
        openPage(5);
        page()->onSettings(nullptr);
        settle();
        ASSERT_NE(nullptr, runningLayer<SetLayer>());
    }
    UIButton* setting(const char* name) {
        SetLayer* overlay = runningLayer<SetLayer>();
        if (!overlay) return nullptr;
        return dynamic_cast<UIButton*>(
            WidgetHelper::findWidgetByName(overlay->uiLayer()->getRootWidget(), name));
    }
    static bool sameColour(const ccColor3B& a, const ccColor3B& b) {
        return a.r == b.r && a.g == b.g && a.b == b.b;
    }
};

TEST_F(PageSeamTest, ASlowSwipeTurnsOnePage) {
    openPage(10);
    touchDown(600, 600);
    step();
    touchMove(540, 600);  // 60 units left: the next page
    step();
    ASSERT_EQ(11, session().currentPage);
    // The finger goes on moving while the page curls and after the new page is in place.
    for (int i = 0; i < 60; ++i) {
        touchMove(540 - i * 4, 600);
        step();
    }
    touchUp(300, 600);
    step();
    EXPECT_EQ(11, session().currentPage)
        << "the new page saw no touch begin and must not turn back";
    EXPECT_EQ(+1, session().turnDirection);
}

// Input that arrives in the same frame as a page turn or the way home, before the scene
// switch, still reaches the page being left; that page must not act on it any more.
TEST_F(PageSeamTest, APageThatIsBeingLeftIgnoresFurtherInput) {
    openPage(10);
    UIButton* oldSentence = sentenceButton(2);
    ASSERT_NE(nullptr, oldSentence);
    CCPoint at = centreOf(oldSentence);
    page()->onNextPage(nullptr);
    ASSERT_EQ(11, session().currentPage);
    touchDown(at.x, at.y);  // a second finger on a sentence of the old page
    EXPECT_FALSE(m_audio.isPlaying()) << "the old page played " << m_audio.current();
    touchUp(at.x, at.y);
    settle();
    EXPECT_EQ(11, session().currentPage);
    EXPECT_FALSE(m_audio.isPlaying());

    CCKeypadDispatcher* keys = CCDirector::sharedDirector()->getKeypadDispatcher();
    keys->dispatchKey(kKeyEscape);
    keys->dispatchKey(kKeySpace);  // same frame: the page is already on its way out
    step();
    EXPECT_FALSE(session().autoReadOn) << "a page on its way home switched automatic reading on";
    size_t heard = m_audio.played().size();
    openPage(12);
    advance(2);
    EXPECT_EQ(heard, m_audio.played().size()) << "the next page opened started reading by itself";
}

// Automatic reading and touched sentences share the current sentence: a touch takes over,
// reading goes on after the touched sentence with a pause, and only one button is pressed.
TEST_F(PageSeamTest, ATouchDuringAutomaticReadingBecomesTheCurrentSentence) {
    openPage(2);
    ASSERT_GE(session().pageSentenceCount, 4);
    page()->onPlayPause(nullptr);
    advance(0.25);
    ASSERT_EQ(recordingOf(2, 1), m_audio.current());
    CCPoint at = centreOf(sentenceButton(3));
    touchDown(at.x, at.y);
    EXPECT_EQ(recordingOf(2, 3), m_audio.current());
    step();
    touchUp(at.x, at.y);
    step();
    EXPECT_FALSE(sentenceButton(1)->isFocused());
    EXPECT_TRUE(sentenceButton(3)->isFocused());
    // Wait for the touched sentence to end; the next one is 4, after a pause of 0.5..1 s.
    while (m_audio.isPlaying()) step();
    double ended = now();
    while (!m_audio.isPlaying() && now() < ended + 3) step();
    EXPECT_EQ(recordingOf(2, 4), m_audio.current());
    EXPECT_GE(now() - ended, 0.5 - 1e-6);
    EXPECT_LE(now() - ended, 1.0 + 1.0 / 60 + 1e-6);
    EXPECT_FALSE(sentenceButton(3)->isFocused());
    EXPECT_TRUE(sentenceButton(4)->isFocused());
}

// Switching reading on while a touched sentence plays waits for it, pauses, then goes on
// after it.
TEST_F(PageSeamTest, ReadingSwitchedOnDuringATouchedSentenceGoesOnAfterIt) {
    openPage(2);
    tapAt(centreOf(sentenceButton(2)));
    page()->onPlayPause(nullptr);
    while (m_audio.isPlaying()) step();
    double ended = now();
    while (!m_audio.isPlaying() && now() < ended + 3) step();
    EXPECT_EQ(recordingOf(2, 3), m_audio.current());
    EXPECT_EQ(2u, m_audio.played().size());
}

// A choice stays marked through the rest of its touch (moves off the button, release) and
// until another button is touched.
TEST_F(PageSeamTest, SettingsChoiceStaysMarkedUntilAnotherIsTouched) {
    openSettings();
    UIButton* readOn = setting("bnaoto");
    UIButton* byTouch = setting("bnpres");
    ASSERT_TRUE(readOn && byTouch);
    const ccColor3B chosen = ccColor3B(44, 5, 247), normal = ccColor3B(25, 24, 25);
    for (int round = 0; round < 2; ++round) {
        CCPoint at = centreOf(readOn);
        touchDown(at.x, at.y);
        step();
        touchMove(at.x, at.y + 200);  // off the button
        step();
        touchUp(at.x, at.y + 200);
        step();
        EXPECT_FALSE(readOn->isBright()) << round;
        EXPECT_TRUE(sameColour(chosen, readOn->getTitleColor())) << round;
    }
    EXPECT_EQ(ReadOn, runningLayer<SetLayer>()->pendingMode());
    tapAt(centreOf(byTouch));
    EXPECT_TRUE(readOn->isBright());
    EXPECT_TRUE(sameColour(normal, readOn->getTitleColor()));
    EXPECT_FALSE(byTouch->isBright());
    EXPECT_EQ(ReadByTouch, runningLayer<SetLayer>()->pendingMode());
    EXPECT_EQ(ReadOn, session().readingMode) << "only OK writes the mode";
}

TEST_F(PageSeamTest, SettingsButtonsActAtTouchDownAndLeaveOnce) {
    struct Case {
        const char* button;
        bool toPage;  // else the main page
    } cases[] = {{"bnok", true}, {"bncancel", true}, {"bnmain", false}};
    for (const Case& c : cases) {
        openSettings();
        UIButton* button = setting(c.button);
        ASSERT_NE(nullptr, button) << c.button;
        CCPoint at = centreOf(button);
        clearLog();
        touchDown(at.x, at.y);
        touchMove(at.x + 5, at.y);  // heard in the same frame
        step();
        step();
        if (c.toPage) {
            EXPECT_NE(nullptr, runningLayer<TestLayer1>()) << c.button;
            int built = 0;
            for (const std::string& line : logLines())
                if (line == "Scene 1 onEnter") ++built;
            EXPECT_EQ(1, built) << c.button << ": one page per touch";
        } else {
            EXPECT_NE(nullptr, runningLayer<TestController>()) << c.button;
        }
        // The same finger, moving on the page it opened, does not swipe that page away.
        touchMove(at.x + 30, at.y);
        step();
        touchUp(at.x + 30, at.y);
        step();
        EXPECT_EQ(5, session().currentPage) << c.button;
    }
}

}  // namespace

namespace {

// A book folder whose images, text tables, page documents, fonts or recordings are missing: the
// reader still builds its pages, plays sentences and turns pages.
class BrokenBookTest : public pagly::test::ReaderTest,
                       public ::testing::WithParamInterface<std::vector<std::string>> {
  protected:
    std::string m_dir;
    void SetUp() override {
        ReaderTest::SetUp();
        char templ[] = "/tmp/pagly-broken-XXXXXX";
        m_dir = mkdtemp(templ);
        const std::vector<std::string>& missing = GetParam();
        for (const char* name :
             {"3age", "Images", "String.xml", "Stringstr.xml", "epc", "fonts", "lessonbundle"}) {
            if (std::find(missing.begin(), missing.end(), name) != missing.end()) continue;
            symlink((std::string(PAGLY_BOOK_DIR) + "/" + name).c_str(),
                    (m_dir + "/" + name).c_str());
        }
        CCFileUtils::sharedFileUtils()->setResourceRoot(m_dir);
    }
    void TearDown() override {
        ReaderTest::TearDown();
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);  // the links, never the book behind them
    }
};

TEST_P(BrokenBookTest, TheReaderGoesOn) {
    openPage(5);
    ASSERT_NE(nullptr, page());
    if (UIButton* button = sentenceButton(1)) tapAt(centreOf(button));
    if (session().pageSentenceCount > 0) {  // a page without sentences would read on at once
        page()->onPlayPause(nullptr);
        advance(3);
        page()->onPlayPause(nullptr);
    }
    page()->onNextPage(nullptr);
    settle();
    EXPECT_EQ(6, session().currentPage);
    ASSERT_NE(nullptr, page());
    page()->onMainPage(nullptr);
    step();
    EXPECT_NE(nullptr, runningLayer<TestController>());
}

INSTANTIATE_TEST_SUITE_P(Missing, BrokenBookTest,
                         ::testing::Values(std::vector<std::string>{"Images"},
                                           std::vector<std::string>{"String.xml", "Stringstr.xml"},
                                           std::vector<std::string>{"lessonbundle"},
                                           std::vector<std::string>{"fonts", "epc"}));

}  // namespace
