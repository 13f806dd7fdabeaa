// The last page's sign (see BookEnd.h).
#include "app/BookEnd.h"

#include "app/RoundRect.h"
#include "app/VisibleArea.h"
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
    if (!page) return;
    if (next) {
        next->setOpacity(70);
        next->setEnabled(false);
    }
    CCLabelTTF* label = CCLabelTTF::create("The end! You have read the whole book.", "Arial", 26);
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
    CCPoint top = VisibleArea::top();
    sign->setPosition(CCPoint(top.x, top.y - kFromTop));
    sign->setTag(kBookEndTag);
    page->addChild(sign, kSignZOrder);
}

}  // namespace pagly
