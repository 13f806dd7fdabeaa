// The F1 key list is modal and reads as a card: a click or a key only closes it, the mouse
// wheel leaves it open, and every line stays inside the card on every screen.
#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

#include "ReaderFixture.h"
#include "app/KeyHelp.h"
#include "app/PageLayer.h"
#include "app/ReadingSession.h"
#include "app/SetLayer.h"
#include "app/TableOfContents.h"
#include "app/TestController.h"
#include "app/VisibleArea.h"
#include "engine/base/CCArray.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCKeypadDispatcher.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItem.h"
#include "gui/UIButton.h"

using namespace pagly::engine;
using namespace pagly;

namespace {

class KeyListTest : public pagly::test::ReaderTest {
  public:  // the cases' steps act through these
    using ReaderTest::drag;
    using ReaderTest::openPage;
    using ReaderTest::page;
    using ReaderTest::sentenceButton;
    using ReaderTest::settle;
    using ReaderTest::startOnMainPage;
    using ReaderTest::tap;
    using ReaderTest::tapAt;
    template <class T>
    T* layer() const {
        return runningLayer<T>();
    }
    void press(int key) { CCDirector::sharedDirector()->getKeypadDispatcher()->dispatchKey(key); }
    // The shown list's card on `screen`, or null.
    static CCNode* cardOn(CCNode* screen) {
        CCNode* overlay = screen ? screen->getChildByTag(KeyHelp::kOverlayTag) : nullptr;
        return overlay ? overlay->getChildByTag(KeyHelp::kCardTag) : nullptr;
    }
    static CCRect worldBox(CCNode* node) {
        CCPoint a = node->convertToWorldSpace(CCPoint(0, 0));
        CCPoint b = node->convertToWorldSpace(
            CCPoint(node->getContentSize().width, node->getContentSize().height));
        return CCRect(std::min(a.x, b.x), std::min(a.y, b.y), std::fabs(b.x - a.x),
                      std::fabs(b.y - a.y));
    }
    static bool inside(const CCRect& inner, const CCRect& outer) {
        const float e = 0.5f;
        return inner.getMinX() >= outer.getMinX() - e && inner.getMaxX() <= outer.getMaxX() + e &&
               inner.getMinY() >= outer.getMinY() - e && inner.getMaxY() <= outer.getMaxY() + e;
    }
    // The action label of the card whose text is `text`, or null.
    static CCLabelTTF* actionLabel(CCNode* card, const std::string& text) {
        for (CCObject* o : *card->getChildren()) {
            CCLabelTTF* label = dynamic_cast<CCLabelTTF*>(o);
            if (label && label->getTag() == KeyHelp::kActionTag && text == label->getString())
                return label;
        }
        return nullptr;
    }
};

TEST_F(KeyListTest, AClickAnywhereOnlyClosesTheList) {
    struct Case {
        const char* name;
        std::function<void(KeyListTest&)> click;
    };
    const Case cases[] = {
        {"on a sentence", [](KeyListTest& t) { t.tapAt(centreOf(t.sentenceButton(1))); }},
        {"on the next-page arrow", [](KeyListTest& t) { t.tapAt(centreOf(t.page()->nextItem())); }},
        {"a swipe across the page",
         [](KeyListTest& t) { t.drag(CCPoint(560, 500), CCPoint(80, 500), 8); }},
        {"on the veil beside the card", [](KeyListTest& t) { t.tap(10, 10); }},
    };
    for (const Case& c : cases) {
        openPage(19);
        size_t heard = m_audio.played().size();
        press(kKeyHelp);
        ASSERT_TRUE(page()->isKeyHelpShown()) << c.name;
        c.click(*this);
        EXPECT_FALSE(page()->isKeyHelpShown()) << c.name;
        settle();
        EXPECT_EQ(heard, m_audio.played().size()) << c.name << ": nothing plays";
        EXPECT_EQ(19, session().currentPage) << c.name << ": the page stays";
        EXPECT_EQ(nullptr, session().currentSentenceButton) << c.name;
        ASSERT_NE(nullptr, page()) << c.name;
        // With the list gone, the same page answers clicks again.
        tapAt(centreOf(sentenceButton(1)));
        EXPECT_EQ(recordingOf(19, 1), m_audio.current()) << c.name;
        advance(5);  // heard to its end
    }
}

TEST_F(KeyListTest, TheListStaysWhileAClickIsHeldAndClosesWhenItEnds) {
    openPage(19);
    press(kKeyHelp);
    CCPoint at = centreOf(sentenceButton(1));
    touchDown(at.x, at.y);
    advance(0.5);
    EXPECT_TRUE(page()->isKeyHelpShown());
    touchUp(at.x, at.y);
    EXPECT_FALSE(page()->isKeyHelpShown());
    advance(0.5);
    EXPECT_TRUE(m_audio.played().empty());
}

TEST_F(KeyListTest, AWheelNotchLeavesTheListOpenAndScrollsNothingUnderIt) {
    startOnMainPage();
    TestController* home = runningLayer<TestController>();
    ASSERT_NE(nullptr, home);
    float listAt = home->listMenu()->getPositionY();
    press(kKeyHelp);
    for (int notch : {kKeyDown, kKeyDown, kKeyUp}) {
        press(notch);
        step();
        EXPECT_TRUE(home->isKeyHelpShown());
        EXPECT_EQ(listAt, home->listMenu()->getPositionY()) << "the list under it stays";
    }
    press(kKeyEscape);
    EXPECT_FALSE(home->isKeyHelpShown());
    press(kKeyDown);
    EXPECT_GT(home->listMenu()->getPositionY(), listAt) << "the wheel scrolls again";
}

TEST_F(KeyListTest, AKeyOnAPageOnlyClosesTheList) {
    for (int key : {kKeyArrowDown, kKeySpace, kKeyEscape, kKeyR, kKeyHelp}) {
        openPage(19);
        press(kKeyArrowDown);  // a current sentence, for R
        advance(5);
        size_t heard = m_audio.played().size();
        press(kKeyHelp);
        press(key);
        EXPECT_FALSE(page()->isKeyHelpShown()) << key;
        settle();
        ASSERT_NE(nullptr, page()) << key << ": still on the page";
        EXPECT_EQ(heard, m_audio.played().size()) << key;
        EXPECT_FALSE(session().autoReadOn) << key;
    }
}

TEST_F(KeyListTest, EveryScreensLinesStayInsideTheCardAndLongActionsWrap) {
    struct Case {
        const char* name;
        std::function<CCNode*(KeyListTest&)> open;
        const char* longAction;  // wraps
        const char* shortAction;
    };
    const Case cases[] = {
        {"main page",
         [](KeyListTest& t) -> CCNode* {
             t.startOnMainPage();
             return t.layer<TestController>();
         },
         "open the marked entry; with none marked, Go on (the page read last)", "this list"},
        {"page",
         [](KeyListTest& t) -> CCNode* {
             t.openPage(5);
             return t.page();
         },
         "Say it after me, on / off (the book waits while you say each sentence)", "Home"},
        {"settings",
         [](KeyListTest& t) -> CCNode* {
             t.openPage(5);
             t.press(kKeyS);
             t.settle();
             return t.layer<SetLayer>();
         },
         nullptr, "OK"},
    };
    CCRect screen = VisibleArea::rect();
    for (const Case& c : cases) {
        CCNode* layer = c.open(*this);
        ASSERT_NE(nullptr, layer) << c.name;
        press(kKeyHelp);
        CCNode* card = cardOn(layer);
        ASSERT_NE(nullptr, card) << c.name;
        CCRect cardBox = worldBox(card);
        EXPECT_TRUE(inside(cardBox, screen)) << c.name;
        EXPECT_GE(cardBox.getMinX(), 30) << c.name << ": a margin beside the card";
        int labels = 0;
        for (CCObject* o : *card->getChildren()) {
            CCLabelTTF* label = dynamic_cast<CCLabelTTF*>(o);
            if (!label) continue;
            ++labels;
            CCRect box = worldBox(label);
            EXPECT_TRUE(inside(box, cardBox)) << c.name << ": " << label->getString();
            EXPECT_GE(box.getMinX(), cardBox.getMinX() + 20)
                << c.name << ": " << label->getString();
        }
        EXPECT_GT(labels, 6) << c.name;
        CCLabelTTF* shortOne = actionLabel(card, c.shortAction);
        ASSERT_NE(nullptr, shortOne) << c.name;
        if (c.longAction) {
            CCLabelTTF* longOne = actionLabel(card, c.longAction);
            ASSERT_NE(nullptr, longOne) << c.name;
            EXPECT_GT(longOne->getContentSize().height, 1.5f * shortOne->getContentSize().height)
                << c.name << ": wraps";
            EXPECT_EQ(longOne->getPositionX(), shortOne->getPositionX())
                << c.name << ": its lines start at the action column";
        }
        CCDirector::sharedDirector()->reset();
    }
}

}  // namespace
