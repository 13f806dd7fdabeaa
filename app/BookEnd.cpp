// The last page's sign (see BookEnd.h).
#include "app/BookEnd.h"

#include "app/RoundRect.h"
#include "app/VisibleArea.h"
#include "engine/actions/CCActionCompound.h"
#include "engine/actions/CCActionInstant.h"
#include "engine/actions/CCActionInterval.h"
#include "engine/nodes/CCDrawNode.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCMenuItem.h"

using namespace pagly::engine;

namespace pagly {

namespace {
const float kPadX = 22, kPadY = 10;
const float kFromTop = 46;  // the sign's middle; the course book's sentences end 80 below the top
const int kSignZOrder = 9000;  // over the page, under the caption and the notes
}  // namespace

void showBookEnd(CCNode* page, CCMenuItemImage* next) {
    if (next) {
        next->setOpacity(70);
        next->setEnabled(false);
    }
    sayBookEnd(page);
}

void sayBookEnd(CCNode* page) {
    if (!page) return;
    if (CCNode* old = page->getChildByTag(kBookEndTag)) old->removeFromParent();
    CCLabelTTF* label = CCLabelTTF::create("The end! You have read the whole book.", "Arial", 30);
    if (!label) return;
    label->setColor(ccColor3B(255, 255, 255));
    CCSize text = label->getContentSize();
    CCSize size(text.width + 2 * kPadX, text.height + 2 * kPadY);
    CCNode* sign = CCNode::create();
    sign->setContentSize(size);
    sign->setAnchorPoint(CCPoint(0.5f, 0.5f));
    CCDrawNode* plate = CCDrawNode::create();
    drawRoundRect(plate, CCRect(0, 0, size.width, size.height), size.height / 2, false,
                  ccColor4B(52, 150, 75, 240));
    sign->addChild(plate);
    label->setPosition(CCPoint(size.width / 2, size.height / 2));
    sign->addChild(label, 1);
    // In the middle, where pages have their picture rather than a sentence, as the notes.
    sign->setPosition(VisibleArea::center());
    sign->setTag(kBookEndTag);
    page->addChild(sign, kSignZOrder);
    float hold = kBookEndSeconds * 4 / 5, fade = kBookEndSeconds / 5;
    label->runAction(
        CCSequence::create(CCDelayTime::create(hold), CCFadeOut::create(fade), nullptr));
    plate->runAction(
        CCSequence::create(CCDelayTime::create(hold), CCFadeOut::create(fade), nullptr));
    sign->runAction(CCSequence::create(
        CCDelayTime::create(kBookEndSeconds),
        CCCallFuncN::create([](CCNode* node) { node->removeFromParent(); }), nullptr));
}

}  // namespace pagly
