// The reader without a mouse: a highlight over the main page's entries and the contents'
// lines, and the key overlay of every screen.
#include <string>

#include "ReaderFixture.h"
#include "app/LearnerCard.h"
#include "app/PageLayer.h"
#include "app/ReadingSession.h"
#include "app/SetLayer.h"
#include "app/TableOfContents.h"
#include "app/TestController.h"
#include "engine/base/CCArray.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCKeypadDispatcher.h"
#include "app/practice/SpeakingPractice.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/audio/VirtualAudioBackend.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItem.h"

using namespace pagly::engine;
using namespace pagly;

namespace {

class KeyboardOnlyTest : public pagly::test::ReaderTest {
  protected:
    void press(int key) { CCDirector::sharedDirector()->getKeypadDispatcher()->dispatchKey(key); }
    MenuLayerMainMenu* openContents(int entry) {
        startOnMainPage();
        for (int i = 0; i <= entry; ++i) press(kKeyArrowDown);
        press(kKeyEnter);
        step();
        return runningLayer<MenuLayerMainMenu>();
    }
    // The marked line is wholly on screen, above the bottom row of buttons, and its bar shows.
    static void expectInView(CCMenu* list, CCNode* line, float limit) {
        ASSERT_NE(nullptr, line);
        float y = list->getPositionY() + line->getPositionY();
        float half = line->getContentSize().height / 2;
        EXPECT_LE(y + half, 960) << "below the top edge";
        EXPECT_GE(y - half, 60) << "above the bottom row";
        EXPECT_GE(list->getPositionY(), 0) << "within the drag bounds";
        EXPECT_LE(list->getPositionY(), limit < 0 ? 0 : limit);
        int shownBars = 0;
        for (CCObject* o : *list->getChildren()) {
            CCArray* parts = static_cast<CCNode*>(o)->getChildren();
            for (CCObject* p : *parts)
                if (static_cast<CCNode*>(p)->getTag() == 7301 &&
                    static_cast<CCNode*>(p)->isVisible())
                    shownBars += static_cast<CCNode*>(o) == line ? 1 : 100;
        }
        EXPECT_EQ(1, shownBars) << "one bar, on the marked line";
    }
};

TEST_F(KeyboardOnlyTest, TheMainPageHighlightWalksTheEntriesInViewAndEnterOpensOne) {
    startOnMainPage();
    TestController* home = runningLayer<TestController>();
    CCMenu* list = home->listMenu();
    EXPECT_EQ(nullptr, home->highlight().current());
    for (int i = 0; i < 12; ++i) {  // past the end: stays on the word list
        press(kKeyArrowDown);
        EXPECT_EQ(std::min(i, 8), home->highlight().index());
        expectInView(list, home->highlight().current(), 40);
    }
    EXPECT_FLOAT_EQ(40, list->getPositionY()) << "scrolled up to show the word list";
    for (int i = 7; i >= 0; --i) {
        press(kKeyArrowUp);
        EXPECT_EQ(i, home->highlight().index());
        expectInView(list, home->highlight().current(), 40);
    }
    // The wheel still scrolls the list, whatever is marked.
    press(kKeyDown);
    EXPECT_FLOAT_EQ(40, list->getPositionY());
    press(kKeyUp);
    EXPECT_FLOAT_EQ(0, list->getPositionY());

    press(kKeyArrowDown);  // Unit 2
    press(kKeyEnter);
    step();
    ASSERT_NE(nullptr, runningLayer<MenuLayerMainMenu>());
    EXPECT_EQ(1, session().selectedUnit);
}

TEST_F(KeyboardOnlyTest, TheContentsHighlightKeepsItsLineInViewWithinTheDragBounds) {
    MenuLayerMainMenu* contents = openContents(0);  // ten lines, limit 140
    ASSERT_NE(nullptr, contents);
    CCMenu* list = contents->listMenu();
    for (int i = 0; i < 10; ++i) {
        press(kKeyArrowDown);
        EXPECT_EQ(i, contents->highlight().index());
        expectInView(list, contents->highlight().current(), 140);
    }
    EXPECT_FLOAT_EQ(140, list->getPositionY());
    EXPECT_EQ(CCPoint(0, 140), session().pageListOffset) << "remembered, as a drag's offset is";
    for (int i = 0; i < 9; ++i) {
        press(kKeyArrowUp);
        expectInView(list, contents->highlight().current(), 140);
    }
    press(kKeyArrowDown);
    press(kKeyArrowDown);  // the third line
    advance(2.1);          // whether the lines have settled or not, Enter opens the page
    press(kKeyEnter);
    step();
    ASSERT_NE(nullptr, page());
    EXPECT_EQ(4, session().currentPage);
}

TEST_F(KeyboardOnlyTest, TheWordListsLinesOpenTheirOwnPages) {
    MenuLayerMainMenu* contents = openContents(8);
    ASSERT_NE(nullptr, contents);
    for (int i = 0; i < 4; ++i) press(kKeyArrowDown);
    expectInView(contents->listMenu(), contents->highlight().current(), 0);
    EXPECT_FLOAT_EQ(0, contents->listMenu()->getPositionY()) << "a short list stays put";
    press(kKeyEnter);
    step();
    EXPECT_EQ(74, session().currentPage);
}

TEST_F(KeyboardOnlyTest, EnterWithNothingMarkedInTheContentsDoesNothing) {
    ASSERT_NE(nullptr, openContents(2));
    press(kKeyEnter);
    step();
    EXPECT_NE(nullptr, runningLayer<MenuLayerMainMenu>());
}

TEST_F(KeyboardOnlyTest, F1ShowsTheKeysOfEveryScreenAndTheNextKeyOnlyClosesThem) {
    // Main page: the key that closes the overlay (Enter) opens nothing.
    startOnMainPage();
    press(kKeyHelp);
    EXPECT_TRUE(runningLayer<TestController>()->isKeyHelpShown());
    press(kKeyEnter);
    step();
    ASSERT_NE(nullptr, runningLayer<TestController>());
    EXPECT_FALSE(runningLayer<TestController>()->isKeyHelpShown());

    // Contents: Escape closes the overlay and stays.
    MenuLayerMainMenu* contents = openContents(0);
    ASSERT_NE(nullptr, contents);
    press(kKeyHelp);
    EXPECT_TRUE(contents->isKeyHelpShown());
    press(kKeyEscape);
    step();
    ASSERT_EQ(contents, runningLayer<MenuLayerMainMenu>());
    EXPECT_FALSE(contents->isKeyHelpShown());

    // A page: Right closes the overlay and does not turn the page; then it turns.
    openPage(5);
    press(kKeyHelp);
    EXPECT_TRUE(page()->isKeyHelpShown());
    press(kKeyRight);
    settle();
    EXPECT_EQ(5, session().currentPage);
    EXPECT_FALSE(page()->isKeyHelpShown());
    press(kKeyRight);
    settle();
    EXPECT_EQ(6, session().currentPage);

    // The settings overlay: Enter closes the key list and confirms nothing.
    press(kKeyS);
    settle();
    SetLayer* overlay = runningLayer<SetLayer>();
    ASSERT_NE(nullptr, overlay);
    press(kKeyHelp);
    EXPECT_TRUE(overlay->isKeyHelpShown());
    press(kKeyEnter);
    step();
    EXPECT_EQ(overlay, runningLayer<SetLayer>());
    EXPECT_FALSE(overlay->isKeyHelpShown());
}

TEST_F(KeyboardOnlyTest, EveryControlOfAPageAndItsCardIsReachedByKeys) {
    openPage(18);
    // Tab opens the card of the round button, its first button marked; Escape and Tab close it.
    press(kKeyMenu);
    ASSERT_NE(nullptr, page()->learnerCard());
    EXPECT_EQ(0, page()->learnerCard()->marked());
    press(kKeyEscape);
    EXPECT_EQ(nullptr, page()->learnerCard());
    EXPECT_EQ(18, session().currentPage) << "Escape closed the card only";
    press(kKeyMenu);
    press(kKeyMenu);
    EXPECT_EQ(nullptr, page()->learnerCard());

    // Presses the card's button `b` with the keys: Tab, Down to it, Enter.
    auto pressOnCard = [&](LearnerCard::Button b) {
        press(kKeyMenu);
        LearnerCard* card = page()->learnerCard();
        ASSERT_NE(nullptr, card);
        while (card->marked() < b) press(kKeyArrowDown);
        EXPECT_EQ(b, card->marked());
        press(kKeyEnter);
    };
    auto speed = [] { return audio::SimpleAudioEngine::sharedEngine()->getBackgroundMusicSpeed(); };
    const struct {
        LearnerCard::Button button;
        float speed;
    } speeds[] = {{LearnerCard::Speed50, 0.5f},
                  {LearnerCard::Speed75, 0.75f},
                  {LearnerCard::Speed125, 1.25f},
                  {LearnerCard::Speed100, 1.0f}};
    for (const auto& c : speeds) {
        pressOnCard(c.button);
        EXPECT_FLOAT_EQ(c.speed, speed());
        ASSERT_NE(nullptr, page()->learnerCard()) << "the card stays for the next choice";
        EXPECT_EQ("chosen", page()->learnerCard()->stateOf(c.button));
        press(kKeyEscape);
    }
    pressOnCard(LearnerCard::SayAfterMe);
    EXPECT_TRUE(session().echoPauses);
    EXPECT_EQ("On", page()->learnerCard()->stateOf(LearnerCard::SayAfterMe));
    press(kKeyEnter);  // the mark stays on it: Enter again switches it back
    EXPECT_FALSE(session().echoPauses);
    press(kKeyEscape);
    pressOnCard(LearnerCard::SpeakAlong);
    EXPECT_TRUE(session().shadowing);
    press(kKeyEnter);
    EXPECT_FALSE(session().shadowing);
    press(kKeyEscape);
    pressOnCard(LearnerCard::BigScreen);
    ASSERT_NE(nullptr, page()->learnerCard());
    press(kKeyEscape);
    pressOnCard(LearnerCard::Close);
    EXPECT_EQ(nullptr, page()->learnerCard());
    pressOnCard(LearnerCard::Keys);
    EXPECT_EQ(nullptr, page()->learnerCard());
    EXPECT_TRUE(page()->isKeyHelpShown());
    press(kKeyEscape);
    EXPECT_FALSE(page()->isKeyHelpShown());

    // Hear it again: the current sentence from its start.
    press(kKeyArrowDown);
    advance(8);
    m_audio.backend().clearRequests();
    pressOnCard(LearnerCard::HearAgain);
    ASSERT_EQ(1u, m_audio.played().size());
    EXPECT_EQ(recordingOf(18, 1), m_audio.played()[0]);

    // Say it like the book starts with the sentence.
    advance(8);
    pressOnCard(LearnerCard::SayLikeBook);
    EXPECT_EQ(nullptr, page()->learnerCard());
    EXPECT_EQ(SpeakingPractice::PlayingSentence, page()->practice()->phase());
    page()->practice()->abandon();

    // The reading mode: the settings card, whose every button has its key.
    pressOnCard(LearnerCard::ReadingMode);
    settle();
    ASSERT_NE(nullptr, runningLayer<SetLayer>());
    press(kKeyArrowUp);
    EXPECT_EQ(RepeatPage, runningLayer<SetLayer>()->pendingMode());
    press(kKeyEnter);  // OK
    settle();
    ASSERT_NE(nullptr, page());
    EXPECT_EQ(RepeatPage, session().readingMode);
    press(kKeyS);
    settle();
    press(kKeyArrowUp);
    press(kKeyEscape);  // Cancel
    settle();
    EXPECT_EQ(RepeatPage, session().readingMode);
    press(kKeyS);
    settle();
    press(kKeyBackspace);  // the card's "Main page"
    step();
    ASSERT_NE(nullptr, runningLayer<TestController>());

    // The main page's "Go on" is Enter with no line marked; the bar's arrows, play and Home.
    press(kKeyEnter);
    step();
    ASSERT_NE(nullptr, page());
    EXPECT_EQ(18, session().currentPage);
    press(kKeyRight);
    settle();
    EXPECT_EQ(19, session().currentPage);
    press(kKeyLeft);
    settle();
    EXPECT_EQ(18, session().currentPage);
    press(kKeySpace);
    EXPECT_TRUE(session().autoReadOn);
    press(kKeySpace);
    EXPECT_FALSE(session().autoReadOn);
    press(kKeyEscape);
    step();
    EXPECT_NE(nullptr, runningLayer<TestController>());
}

}  // namespace
