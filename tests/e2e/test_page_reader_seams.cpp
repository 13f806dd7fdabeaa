// Where the page reader's pieces meet: touches and keys around a page turn, automatic
// reading and touched sentences, leaving a page while it reads.
#include <string>

#include "ReaderFixture.h"
#include "app/BookNames.h"
#include "app/PageLayer.h"
#include "app/ReadingState.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCKeypadDispatcher.h"
#include "gui/UIButton.h"

using namespace cocos2d;
using namespace cocos2d::extension;
using namespace pagly;

namespace {

class PageSeamTest : public pagly::test::ReaderTest {};

TEST_F(PageSeamTest, ASlowSwipeTurnsOnePage) {
    openPage(10);
    touchDown(600, 600);
    step();
    touchMove(540, 600);  // 60 units left: the next page
    step();
    ASSERT_EQ(11, currentPage);
    // The finger goes on moving while the page curls and after the new page is in place.
    for (int i = 0; i < 60; ++i) {
        touchMove(540 - i * 4, 600);
        step();
    }
    touchUp(300, 600);
    step();
    EXPECT_EQ(11, currentPage) << "the new page saw no touch begin and must not turn back";
    EXPECT_EQ(+1, turnDirection);
}

// Input that arrives in the same frame as a page turn or the way home, before the scene
// switch, still reaches the page being left; that page must not act on it any more.
TEST_F(PageSeamTest, APageThatIsBeingLeftIgnoresFurtherInput) {
    openPage(10);
    UIButton* oldSentence = sentenceButton(2);
    ASSERT_NE(nullptr, oldSentence);
    CCPoint at = centreOf(oldSentence);
    page()->onNextPage(nullptr);
    ASSERT_EQ(11, currentPage);
    touchDown(at.x, at.y);  // a second finger on a sentence of the old page
    EXPECT_FALSE(m_audio.isPlaying()) << "the old page played " << m_audio.current();
    touchUp(at.x, at.y);
    settle();
    EXPECT_EQ(11, currentPage);
    EXPECT_FALSE(m_audio.isPlaying());

    CCKeypadDispatcher* keys = CCDirector::sharedDirector()->getKeypadDispatcher();
    keys->dispatchKey(kCCKeyEscape);
    keys->dispatchKey(kCCKeySpace);  // same frame: the page is already on its way out
    step();
    EXPECT_FALSE(autoReadOn) << "a page on its way home switched automatic reading on";
    size_t heard = m_audio.played().size();
    openPage(12);
    advance(2);
    EXPECT_EQ(heard, m_audio.played().size()) << "the next page opened started reading by itself";
}

}  // namespace
