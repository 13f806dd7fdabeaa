// The main page's ground: the course book's own, or a named book's cover (see MainPageLook.h).
#include "app/MainPageLook.h"

#include <algorithm>

#include "app/Book.h"
#include "app/PageFacts.h"
#include "app/VisibleArea.h"
#include "engine/actions/CCActionEase.h"
#include "engine/actions/CCActions.h"
#include "engine/nodes/CCLayerColor.h"
#include "engine/nodes/CCSprite.h"
#include "engine/platform/CCEGLView.h"

using namespace pagly::engine;

namespace pagly {

namespace {
// A darker green than the book's first one (5, 230, 28), on which white read at 2:1; on this
// one it reads at 6:1.
const ccColor4B kCourseGround(18, 112, 40, 234);

// Over a cover, this much black: the cover stays a backdrop, and white text reads at 8:1 even
// over a white page.
const unsigned char kCoverDimming = 190;

void addWalker(CCNode* page) {
    CCSprite* walker = CCSprite::create("Images/walker.png");
    if (!walker) return;
    CCPoint origin = VisibleArea::origin();
    CCSize size = VisibleArea::size();
    // There and back, with a short rest at each end.
    walker->setPosition(CCPoint(origin.x + 60, origin.y + size.height / 10));
    CCActionInterval* walk =
        CCEaseInOut::create(CCMoveBy::create(3.0f, CCPoint(origin.x + size.width - 130, 0)), 1.0f);
    CCDelayTime* rest = CCDelayTime::create(0.25f);
    CCActionInterval* back = walk->reverse();
    CCSequence* loop = CCSequence::create(walk, (CCFiniteTimeAction*)rest->copy(), back,
                                          (CCFiniteTimeAction*)rest->copy(), nullptr);
    walker->runAction(CCRepeatForever::create(loop));
    page->addChild(walker, -1);
}

// The cover as large as the screen allows in its own shape, when the book has one.
void addCover(CCNode* page, const Book& book) {
    std::string picture = pictureOfPage(book.startPage());
    CCSprite* cover = picture.empty() ? nullptr : CCSprite::create(picture.c_str());
    if (!cover) return;
    CCSize size = VisibleArea::size();
    CCSize own = cover->getContentSize();
    if (own.width <= 0 || own.height <= 0) return;
    cover->setScale(std::min(size.width / own.width, size.height / own.height));
    cover->setPosition(VisibleArea::center());
    page->addChild(cover, -2);
    page->addChild(CCLayerColor::create(ccColor4B(0, 0, 0, kCoverDimming)), -1);
}
}  // namespace

void dressMainPage(CCNode* page, const Book& book) {
    CCEGLView::sharedOpenGLView()->setViewName(windowTitleFor(book).c_str());
    if (!book.title().empty()) {
        page->addChild(CCLayerColor::create(ccColor4B(28, 32, 44, 255)), -10);
        addCover(page, book);
        return;
    }
    addWalker(page);
    page->addChild(CCLayerColor::create(kCourseGround), -10);
}

std::string windowTitleFor(const Book& book) {
    return book.title().empty() ? "pagly" : book.title() + " \xE2\x80\x93 pagly";
}

}  // namespace pagly
