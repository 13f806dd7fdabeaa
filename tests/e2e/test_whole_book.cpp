#include <map>

#include "ReaderFixture.h"
#include "app/PageLayer.h"
#include "app/ReadingSession.h"
#include "engine/base/CCObject.h"

using namespace pagly::engine;
using namespace pagly;

namespace {

using WholeBookTest = pagly::test::ReaderTest;

// A learner switches on reading on page 2 and lets the reader read the whole book.
TEST_F(WholeBookTest, ReadOnReadsFromPageTwoToTheEndWithFlatMemory) {
    openPage(2);
    page()->onPlayPause(nullptr);
    std::map<int, long> liveObjectsOnArrival;
    int lastPage = 2;
    int played = 0;
    // Generous bound: 76 pages of a few sentences of at most 4 s each, with pauses.
    for (int frame = 0; frame < 60 * 60 * 60 && !(session().currentPage == 77 && played > 0);
         ++frame) {
        step();
        if (session().currentPage != lastPage) {
            // Let the turn finish and the old page go, then count what lives.
            advance(0.6);
            liveObjectsOnArrival[session().currentPage] = CCObject::liveObjectCount();
            EXPECT_EQ(lastPage + 1, session().currentPage) << "pages are read in order";
            lastPage = session().currentPage;
        }
        if (session().currentPage == 77) played = (int)m_audio.played().size();
    }
    ASSERT_EQ(77, session().currentPage);
    advance(60);
    EXPECT_EQ(77, session().currentPage) << "reading stops on the last page";
    EXPECT_FALSE(m_audio.isPlaying());
    EXPECT_GE(m_audio.played().size(), 360u) << "every recorded sentence was played";

    // Memory is flat from page to page: what lives on arrival does not grow with the pages
    // read (pages differ in size, so compare against the largest early page).
    long early = 0, late = 0;
    for (auto& [p, count] : liveObjectsOnArrival) {
        if (p <= 20) early = std::max(early, count);
        if (p >= 60) late = std::max(late, count);
    }
    EXPECT_LE(late, early + early / 4) << "live engine objects grew while reading";
}

}  // namespace
