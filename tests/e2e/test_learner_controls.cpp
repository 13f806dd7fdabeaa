// The learner's controls on screen: the round button and its card (every feature the keys reach,
// each showing its state), the settings card that opens with the mode in force and cancels on a
// tap beside it, the main page's "Go on" entry, and the last page that says the book is done.
#include <string>

#include "ReaderFixture.h"
#include "app/BookEnd.h"
#include "app/ContinueEntry.h"
#include "app/LearnerCard.h"
#include "app/PageLayer.h"
#include "app/ReadingSession.h"
#include "app/ResumeState.h"
#include "app/SetLayer.h"
#include "app/SpeechSpeed.h"
#include "app/TestController.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItem.h"
#include "gui/UIButton.h"
#include "gui/UILayer.h"
#include "gui/UIRootWidget.h"
#include "gui/WidgetHelper.h"

using namespace pagly::engine;
using namespace pagly;

namespace {

class LearnerControlsTest : public pagly::test::ReaderTest {
  protected:
    LearnerCard* card() { return page() ? page()->learnerCard() : nullptr; }
    void tapButton(LearnerCard::Button b) {
        ASSERT_NE(nullptr, card());
        CCRect r = card()->buttonRect(b);
        tap(r.getMidX(), r.getMidY());
    }
    LearnerCard* openCard() {
        if (!page() || !page()->learnerButton()) return nullptr;
        tapAt(centreOf(page()->learnerButton()));
        return card();
    }
    static gui::UIButton* settingButton(SetLayer* overlay, const char* name) {
        return dynamic_cast<gui::UIButton*>(gui::WidgetHelper::instance()->findWidgetByName(
            overlay->uiLayer()->getRootWidget(), name));
    }
    static int speedsChosen(LearnerCard* c) {
        int n = 0;
        for (int b = LearnerCard::Speed50; b <= LearnerCard::Speed125; ++b)
            if (!c->stateOf((LearnerCard::Button)b).empty()) ++n;
        return n;
    }
};

TEST_F(LearnerControlsTest, TheCardShowsTheSpeedInForceAndEachTapChoosesOne) {
    openPage(5);
    ASSERT_NE(nullptr, openCard());
    EXPECT_EQ("chosen", card()->stateOf(LearnerCard::Speed100)) << "as recorded at first";
    const struct {
        LearnerCard::Button button;
        float speed;
    } cases[] = {{LearnerCard::Speed50, 0.5f},
                 {LearnerCard::Speed125, 1.25f},
                 {LearnerCard::Speed75, 0.75f},
                 {LearnerCard::Speed100, 1.0f}};
    for (const auto& c : cases) {
        tapButton(c.button);
        ASSERT_NE(nullptr, card()) << "a speed keeps the card open";
        EXPECT_FLOAT_EQ(c.speed,
                        audio::SimpleAudioEngine::sharedEngine()->getBackgroundMusicSpeed());
        EXPECT_EQ("chosen", card()->stateOf(c.button)) << c.speed;
        EXPECT_EQ(1, speedsChosen(card())) << c.speed;
    }
    // A speed chosen with the keys shows on the card opened next.
    tapButton(LearnerCard::Close);
    EXPECT_EQ(nullptr, card());
    page()->changeSpeed(-1);
    ASSERT_NE(nullptr, openCard());
    EXPECT_EQ("chosen", card()->stateOf(LearnerCard::Speed75));
}

TEST_F(LearnerControlsTest, TheCardsSwitchesShowOnAndOffAndTheModeInForce) {
    openPage(5);
    ASSERT_NE(nullptr, openCard());
    EXPECT_EQ("Off", card()->stateOf(LearnerCard::SayAfterMe));
    EXPECT_EQ("Off", card()->stateOf(LearnerCard::SpeakAlong));
    EXPECT_EQ("Off", card()->stateOf(LearnerCard::BigScreen)) << "no window here";
    EXPECT_EQ("Read on", card()->stateOf(LearnerCard::ReadingMode));

    tapButton(LearnerCard::SayAfterMe);
    EXPECT_TRUE(session().echoPauses);
    EXPECT_EQ("On", card()->stateOf(LearnerCard::SayAfterMe));
    tapButton(LearnerCard::SpeakAlong);
    EXPECT_TRUE(session().shadowing);
    EXPECT_EQ("On", card()->stateOf(LearnerCard::SpeakAlong));
    tapButton(LearnerCard::SayAfterMe);  // off, and speaking along with it
    EXPECT_FALSE(session().echoPauses);
    EXPECT_FALSE(session().shadowing);
    EXPECT_EQ("Off", card()->stateOf(LearnerCard::SayAfterMe));
    EXPECT_EQ("Off", card()->stateOf(LearnerCard::SpeakAlong));
    tapButton(LearnerCard::BigScreen);  // without a window nothing switches, and it says so
    EXPECT_EQ("Off", card()->stateOf(LearnerCard::BigScreen));

    const struct {
        ReadingMode mode;
        const char* name;
    } modes[] = {
        {ReadByTouch, "Read by touch"}, {RepeatPage, "Repeat this page"}, {ReadOn, "Read on"}};
    for (const auto& m : modes) {
        tapButton(LearnerCard::Close);
        session().readingMode = m.mode;
        ASSERT_NE(nullptr, openCard());
        EXPECT_EQ(m.name, card()->stateOf(LearnerCard::ReadingMode));
    }
}

TEST_F(LearnerControlsTest, ATapBesideTheCardClosesItAndReachesNothingUnderIt) {
    openPage(5);
    ASSERT_NE(nullptr, openCard());
    CCRect box = card()->cardRect();
    EXPECT_GE(box.getMinY(), 0);
    EXPECT_LE(box.getMaxY(), 960);
    // Every button is a fingertip high and wide, and inside the card.
    for (int b = 0; b < LearnerCard::kButtonCount; ++b) {
        CCRect r = card()->buttonRect((LearnerCard::Button)b);
        EXPECT_GE(r.size.height, 44) << b;
        EXPECT_GE(r.size.width, 44) << b;
        EXPECT_TRUE(box.containsPoint(r.origin)) << b;
    }
    // Beside the card, over the next arrow: the card closes, the page stays.
    tapAt(centreOf(page()->nextItem()));
    settle();
    EXPECT_EQ(5, session().currentPage);
    EXPECT_EQ(nullptr, card());
}

TEST_F(LearnerControlsTest, TheRoundButtonIsAFingertipWideAndCoversNoSentenceOfAnyPage) {
    const Book& book = session().book;
    for (int p = book.firstPage(); p <= book.lastPage(); ++p) {
        openPage(p);
        ASSERT_NE(nullptr, page()) << p;
        CCNode* button = page()->learnerButton();
        ASSERT_NE(nullptr, button) << p;
        CCSize size = button->getContentSize();
        EXPECT_GE(size.width, 44);
        EXPECT_GE(size.height, 44);
        CCPoint c = centreOf(button);
        CCRect r(c.x - size.width / 2, c.y - size.height / 2, size.width, size.height);
        EXPECT_GE(r.getMinX(), 0);
        EXPECT_LE(r.getMaxX(), 640);
        for (int i = 1; i <= session().pageSentenceCount; ++i) {
            gui::UIButton* sentence = sentenceButton(i);
            if (!sentence) continue;
            for (float dx : {-0.45f, 0.0f, 0.45f})
                for (float dy : {-0.45f, 0.0f, 0.45f}) {
                    CCPoint corner(r.getMidX() + dx * r.size.width,
                                   r.getMidY() + dy * r.size.height);
                    EXPECT_FALSE(sentence->hitTest(corner)) << "page " << p << " sentence " << i;
                }
        }
        // Clear of the bar's own items.
        for (CCNode* item : {(CCNode*)page()->nextItem(), (CCNode*)page()->playPauseItem(),
                             (CCNode*)page()->previousItem(), (CCNode*)page()->mainPageItem()}) {
            CCPoint ic = centreOf(item);
            CCSize is = item->getContentSize();
            CCRect ir(ic.x - is.width / 2, ic.y - is.height / 2, is.width, is.height);
            EXPECT_FALSE(ir.intersectsRect(r)) << "page " << p;
        }
    }
}

TEST_F(LearnerControlsTest, TheSettingsCardOpensWithTheModeInForceMarked) {
    const struct {
        ReadingMode mode;
        const char* marked;
    } cases[] = {{ReadByTouch, "bnpres"}, {RepeatPage, "bnaotopage"}, {ReadOn, "bnaoto"}};
    for (const auto& c : cases) {
        session().readingMode = c.mode;
        openPage(5);
        ASSERT_NE(nullptr, openCard());
        tapButton(LearnerCard::ReadingMode);
        settle();
        SetLayer* overlay = runningLayer<SetLayer>();
        ASSERT_NE(nullptr, overlay) << c.marked;
        for (const char* name : {"bnpres", "bnaotopage", "bnaoto", "bnok", "bncancel", "bnmain"}) {
            gui::UIButton* b = settingButton(overlay, name);
            ASSERT_NE(nullptr, b) << name;
            bool chosen = std::string(name) == c.marked;
            EXPECT_EQ(!chosen, b->isBright()) << c.marked << ": " << name;
        }
        EXPECT_EQ(settingButton(overlay, c.marked), session().selectedSettingButton);
        // Choosing another mode unmarks the one in force, as a touch always did.
        tapAt(centreOf(settingButton(overlay, "bnpres")));
        tapAt(centreOf(settingButton(overlay, "bnaotopage")));
        EXPECT_TRUE(settingButton(overlay, "bnpres")->isBright());
        EXPECT_TRUE(
            settingButton(overlay, c.marked == std::string("bnaotopage") ? "bnaoto" : c.marked)
                ->isBright());
        tapAt(centreOf(settingButton(overlay, "bncancel")));
        settle();
        ASSERT_NE(nullptr, page());
        EXPECT_EQ(c.mode, session().readingMode);
    }
}

TEST_F(LearnerControlsTest, ATapOutsideTheSettingsCardClosesItAsCancel) {
    const CCPoint outside[] = {CCPoint(20, 480), CCPoint(320, 40), CCPoint(620, 930)};
    for (const CCPoint& at : outside) {
        session().readingMode = ReadOn;
        openPage(6);
        ASSERT_NE(nullptr, openCard());
        tapButton(LearnerCard::ReadingMode);
        settle();
        SetLayer* overlay = runningLayer<SetLayer>();
        ASSERT_NE(nullptr, overlay);
        tapAt(centreOf(settingButton(overlay, "bnpres")));  // chosen, not confirmed
        EXPECT_EQ(ReadByTouch, overlay->pendingMode());
        // A tap inside the card, beside its buttons, keeps it open.
        tap(320, 760);
        settle();
        ASSERT_EQ(overlay, runningLayer<SetLayer>());
        tapAt(at);
        settle();
        ASSERT_NE(nullptr, page()) << at.x << "," << at.y;
        EXPECT_EQ(6, session().currentPage);
        EXPECT_EQ(ReadOn, session().readingMode) << "as Cancel: the choice is dropped";
    }
}

TEST_F(LearnerControlsTest, TheMainPageSaysWhereToGoOnAndATapOpensThatPage) {
    startOnMainPage();
    EXPECT_EQ("Unit 1, page 2", continuePlace(continuePage())) << "a first run starts the book";
    openPage(34);
    rememberPage(34);
    startOnMainPage();
    TestController* home = runningLayer<TestController>();
    ASSERT_NE(nullptr, home);
    CCNode* entry = nullptr;
    for (CCObject* o : *home->getChildren())
        if (CCMenu* menu = dynamic_cast<CCMenu*>(o))
            if (CCNode* found = menu->getChildByTag(kContinueEntryTag)) entry = found;
    ASSERT_NE(nullptr, entry);
    EXPECT_TRUE(entry->isVisible());
    EXPECT_GE(entry->getContentSize().height, 44);
    EXPECT_EQ("Recycle 1, page 34", continuePlace(34));
    EXPECT_EQ("Word list, page 73", continuePlace(73)) << "a page without a line of its own";
    // Clear of the first unit's name, even with the list pushed up as far as it goes.
    CCPoint c = centreOf(entry);
    CCRect r(c.x - entry->getContentSize().width / 2, c.y - entry->getContentSize().height / 2,
             entry->getContentSize().width, entry->getContentSize().height);
    for (CCObject* o : *home->listMenu()->getChildren()) {
        CCNode* line = static_cast<CCNode*>(o);
        if (!line->isVisible()) continue;
        CCPoint lc = centreOf(line) + CCPoint(0, 40);
        CCSize ls = line->getContentSize();
        EXPECT_FALSE(r.intersectsRect(
            CCRect(lc.x - ls.width / 2, lc.y - ls.height / 2, ls.width, ls.height)));
    }
    tapAt(c);
    step();
    ASSERT_NE(nullptr, page());
    EXPECT_EQ(34, session().currentPage);
}

TEST_F(LearnerControlsTest, TheLastPageSaysTheBookIsDoneAndReadingStopsThere) {
    openPage(76);
    EXPECT_EQ(nullptr, page()->getChildByTag(kBookEndTag));
    EXPECT_TRUE(page()->nextItem()->isEnabled());
    session().readingMode = ReadOn;
    tapAt(centreOf(page()->playPauseItem()));
    for (int i = 0; i < 60 * 120 && session().currentPage != 77; ++i) step();
    settle();
    ASSERT_EQ(77, session().currentPage);
    ASSERT_NE(nullptr, page());
    CCNode* sign = page()->getChildByTag(kBookEndTag);
    ASSERT_NE(nullptr, sign);
    EXPECT_FALSE(page()->nextItem()->isEnabled()) << "the arrow has nowhere to go";
    advance(kBookEndSeconds + 0.1);
    EXPECT_EQ(nullptr, page()->getChildByTag(kBookEndTag)) << "the sign leaves the page to read";
    for (int i = 0; i < 60 * 120 && session().autoReadOn; ++i) step();
    EXPECT_FALSE(session().autoReadOn) << "reading has stopped, and play shows it";
    EXPECT_NE(nullptr, page()->getChildByTag(kBookEndTag)) << "and the book says it is done";
    EXPECT_EQ(77, session().currentPage);
    // Play again reads the last page once more from its start.
    tapAt(centreOf(page()->playPauseItem()));
    EXPECT_TRUE(session().autoReadOn);
    advance(1.0);
    EXPECT_EQ(sentenceButton(1), session().currentSentenceButton);
}

}  // namespace
