// Keys pressed while a page curls are not lost: the last one reaches the page turned to, once
// its curl is over.
#include <vector>

#include "ReaderFixture.h"
#include "app/PageLayer.h"
#include "app/ReadingSession.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCKeypadDispatcher.h"
#include "engine/nodes/CCScene.h"

using namespace pagly::engine;
using namespace pagly;

namespace {

class KeysDuringTurnTest : public pagly::test::ReaderTest {
  protected:
    void press(int key) { CCDirector::sharedDirector()->getKeypadDispatcher()->dispatchKey(key); }
    static bool curling() {
        return CCDirector::sharedDirector()->getRunningScene()->isTransitionScene();
    }
};

TEST_F(KeysDuringTurnTest, RightPressedAgainDuringTheCurlTurnsASecondPage) {
    struct Case {
        const char* name;
        std::vector<int> duringCurl;
        int pageAfter;
    };
    const Case cases[] = {
        {"Right, Right", {kKeyRight}, 7},
        {"Right, then Left and Right during the curl: the last counts", {kKeyLeft, kKeyRight}, 7},
        {"Right, Left", {kKeyLeft}, 5},
    };
    for (const Case& c : cases) {
        openPage(5);
        press(kKeyRight);
        step();
        advance(0.2);
        ASSERT_TRUE(curling()) << c.name;
        for (int key : c.duringCurl) press(key);
        settle();
        settle();
        EXPECT_FALSE(curling()) << c.name;
        EXPECT_EQ(c.pageAfter, session().currentPage) << c.name;
        ASSERT_NE(nullptr, page()) << c.name;
    }
}

TEST_F(KeysDuringTurnTest, DownDuringTheCurlPlaysTheNewPagesFirstSentenceAfterIt) {
    openPage(18);
    press(kKeyRight);
    step();
    advance(0.1);
    ASSERT_TRUE(curling());
    press(kKeyArrowDown);
    EXPECT_TRUE(m_audio.played().empty()) << "nothing plays while the page curls";
    double pressedAt = now();
    std::vector<Playback> heard = listenFor(1, 2.0);
    ASSERT_EQ(1u, heard.size());
    EXPECT_EQ(19, session().currentPage);
    EXPECT_EQ(recordingOf(19, 1), heard[0].file);
    EXPECT_GT(heard[0].start, pressedAt + 0.3) << "once the curl is over, not during it";
    EXPECT_EQ(sentenceButton(1), session().currentSentenceButton);
}

}  // namespace
