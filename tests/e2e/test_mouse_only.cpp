// The reader with a mouse (or a finger) only: every feature of the key table is reached by taps
// and drags, without one key press: the main page's "Go on", sentences, the bar of controls, the
// round button's card (speed, "Say it after me", "Speak along", "Say it like the book" with its
// card's buttons, "Hear it again", the reading mode, big screen, the key list), the settings
// card, the contents and the way home.
#include <algorithm>
#include <string>
#include <vector>

#include "ReaderFixture.h"
#include "app/ContinueEntry.h"
#include "app/KeyHelp.h"
#include "app/LearnerCard.h"
#include "app/PageLayer.h"
#include "app/ReadingSession.h"
#include "app/SetLayer.h"
#include "app/TableOfContents.h"
#include "app/TestController.h"
#include "app/practice/ComparisonPanel.h"
#include "app/practice/SpeakingPractice.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/audio/analysis/SpeechFeatures.h"
#include "engine/audio/capture/VirtualCaptureBackend.h"
#include "engine/director/CCDirector.h"
#include "engine/audio/VirtualAudioBackend.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItem.h"
#include "gui/UIButton.h"
#include "gui/UILayer.h"
#include "gui/UIRootWidget.h"
#include "gui/WidgetHelper.h"
#include "support/VirtualCapture.h"

using namespace pagly::engine;
using namespace pagly;

namespace {

class MouseOnlyTest : public pagly::test::ReaderTest {
  protected:
    LearnerCard* card() { return page() ? page()->learnerCard() : nullptr; }
    void openCard() {
        ASSERT_NE(nullptr, page());
        tapAt(centreOf(page()->learnerButton()));
        ASSERT_NE(nullptr, card());
    }
    void tapCard(LearnerCard::Button b) {
        ASSERT_NE(nullptr, card());
        CCRect r = card()->buttonRect(b);
        tap(r.getMidX(), r.getMidY());
    }
    gui::UIButton* settingButton(const char* name) {
        SetLayer* overlay = runningLayer<SetLayer>();
        return overlay
                   ? dynamic_cast<gui::UIButton*>(gui::WidgetHelper::instance()->findWidgetByName(
                         overlay->uiLayer()->getRootWidget(), name))
                   : nullptr;
    }
    CCNode* continueEntry() {
        TestController* home = runningLayer<TestController>();
        if (!home) return nullptr;
        for (CCObject* o : *home->getChildren())
            if (CCMenu* menu = dynamic_cast<CCMenu*>(o))
                if (CCNode* entry = menu->getChildByTag(kContinueEntryTag)) return entry;
        return nullptr;
    }
    ComparisonPanel* panel() {
        return page() && page()->practice() ? page()->practice()->panel() : nullptr;
    }
    static std::vector<float> saying(int pageNumber, int index) {
        std::vector<float> out(audio::speech::kRate / 2, 0.0f);
        std::vector<float> voice = recordingAt16k(pageNumber, index);
        out.insert(out.end(), voice.begin(), voice.end());
        return out;
    }
    pagly::test::VirtualCaptureScope m_capture;
};

TEST_F(MouseOnlyTest, EveryFeatureOfTheKeyTableIsReachedByTapsAlone) {
    // Go on where you stopped: the main page's entry (a first run: the book's first page).
    startOnMainPage();
    ASSERT_NE(nullptr, continueEntry());
    tapAt(centreOf(continueEntry()));
    step();
    ASSERT_NE(nullptr, page());
    EXPECT_EQ(2, session().currentPage);

    // Home, then a unit and one of its pages.
    tapAt(centreOf(page()->mainPageItem()));
    step();
    ASSERT_NE(nullptr, runningLayer<TestController>());
    tap(320, 960 - 200);  // Unit 2
    advance(2.1);
    ASSERT_NE(nullptr, runningLayer<MenuLayerMainMenu>());
    tap(320, 960 - 700);  // its seventh line: page 18
    step();
    ASSERT_NE(nullptr, page());
    ASSERT_EQ(18, session().currentPage);

    // A sentence, and the next one (a tap on it).
    tapAt(centreOf(sentenceButton(1)));
    EXPECT_EQ(recordingOf(18, 1), m_audio.current());
    tapAt(centreOf(sentenceButton(2)));
    EXPECT_EQ(recordingOf(18, 2), m_audio.current());
    EXPECT_EQ(sentenceButton(2), session().currentSentenceButton);

    // Hear it again, from the card.
    advance(8);
    m_audio.backend().clearRequests();
    openCard();
    tapCard(LearnerCard::HearAgain);
    EXPECT_EQ(nullptr, card());
    ASSERT_EQ(1u, m_audio.played().size());
    EXPECT_EQ(recordingOf(18, 2), m_audio.played()[0]);

    // Speed, "Say it after me", "Speak along", big screen: the card stays and shows each.
    openCard();
    tapCard(LearnerCard::Speed75);
    EXPECT_FLOAT_EQ(0.75f, audio::SimpleAudioEngine::sharedEngine()->getBackgroundMusicSpeed());
    tapCard(LearnerCard::SayAfterMe);
    EXPECT_TRUE(session().echoPauses);
    tapCard(LearnerCard::SpeakAlong);
    EXPECT_TRUE(session().shadowing);
    tapCard(LearnerCard::SpeakAlong);
    EXPECT_FALSE(session().shadowing);
    tapCard(LearnerCard::SayAfterMe);
    EXPECT_FALSE(session().echoPauses);
    tapCard(LearnerCard::BigScreen);
    ASSERT_NE(nullptr, card());
    tapCard(LearnerCard::Speed100);

    // The key list, from the card; a tap closes it.
    tapCard(LearnerCard::Keys);
    EXPECT_TRUE(page()->isKeyHelpShown());
    tap(320, 480);
    EXPECT_FALSE(page()->isKeyHelpShown());
    EXPECT_EQ(18, session().currentPage);

    // Say it like the book: the card's buttons play the book and you, and say which plays.
    m_capture.backend().feed(saying(18, 2));
    openCard();
    tapCard(LearnerCard::SayLikeBook);
    EXPECT_EQ(SpeakingPractice::PlayingSentence, page()->practice()->phase());
    for (int i = 0; i < 60 * 30 && !panel(); ++i) step();
    ASSERT_NE(nullptr, panel());
    EXPECT_EQ("Thank you, Mum!", panel()->sentence()) << "the words of its button";
    EXPECT_EQ(ComparisonPanel::HearYours, panel()->playing()) << "your recording plays first";
    CCRect book = panel()->buttonRect(ComparisonPanel::HearBook);
    tap(book.getMidX(), book.getMidY());
    EXPECT_EQ(recordingOf(18, 2), m_audio.current());
    EXPECT_EQ(ComparisonPanel::HearBook, panel()->playing());
    advance(10);
    EXPECT_EQ(ComparisonPanel::Close, panel()->playing()) << "the mark goes when it ends";
    CCRect yours = panel()->buttonRect(ComparisonPanel::HearYours);
    tap(yours.getMidX(), yours.getMidY());
    EXPECT_EQ(ComparisonPanel::HearYours, panel()->playing());
    tap(20, 20);
    EXPECT_EQ(nullptr, panel());

    // The reading mode: the settings card, a mode, OK.
    openCard();
    tapCard(LearnerCard::ReadingMode);
    settle();
    ASSERT_NE(nullptr, settingButton("bnaotopage"));
    tapAt(centreOf(settingButton("bnaotopage")));
    tapAt(centreOf(settingButton("bnok")));
    settle();
    ASSERT_NE(nullptr, page());
    EXPECT_EQ(RepeatPage, session().readingMode);

    // Reading aloud by itself, and stopping.
    tapAt(centreOf(page()->playPauseItem()));
    EXPECT_TRUE(session().autoReadOn);
    advance(1);
    EXPECT_TRUE(audio::SimpleAudioEngine::sharedEngine()->isBackgroundMusicPlaying());
    tapAt(centreOf(page()->playPauseItem()));
    EXPECT_FALSE(session().autoReadOn);

    // Turning pages: the arrows and a drag.
    tapAt(centreOf(page()->nextItem()));
    settle();
    EXPECT_EQ(19, session().currentPage);
    tapAt(centreOf(page()->previousItem()));
    settle();
    EXPECT_EQ(18, session().currentPage);
    drag(CCPoint(500, 500), CCPoint(300, 500));
    settle();
    EXPECT_EQ(19, session().currentPage);

    // And home.
    tapAt(centreOf(page()->mainPageItem()));
    step();
    EXPECT_NE(nullptr, runningLayer<TestController>());
}

}  // namespace
