// Where the page reader's pieces meet: touches and keys around a page turn, automatic
// reading and touched sentences, leaving a page while it reads.
#include <string>

#include "ReaderFixture.h"
#include "app/BookNames.h"
#include "app/PageLayer.h"
#include "app/ReadingState.h"
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

}  // namespace
