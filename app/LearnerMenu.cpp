// The round button that opens the learner's card (see LearnerMenu.h).
#include "app/LearnerMenu.h"

#include "app/PageControls.h"
#include "app/PageLayer.h"
#include "app/VisibleArea.h"
#include "engine/nodes/CCDrawNode.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItem.h"

using namespace pagly::engine;

namespace pagly {

namespace {
const float kDiameter = 64;  // a fingertip is 44
const float kGap = 4;        // kept free beside the arrow and play

CCNode* drawButton(const ccColor4B& disc) {
    CCNode* node = CCNode::create();
    node->setContentSize(CCSize(kDiameter, kDiameter));
    CCDrawNode* draw = CCDrawNode::create();
    float r = kDiameter / 2;
    draw->drawDot(CCPoint(r, r), r, toColor4F(disc));
    ccColor4F white = toColor4F(ccColor4B(255, 255, 255, 255));
    for (int i = -1; i <= 1; ++i)
        draw->drawSegment(CCPoint(r - 14, r + i * 10), CCPoint(r + 14, r + i * 10), 2.5f, white);
    node->addChild(draw);
    return node;
}

// The right edge of `item`, or `fallback` when there is none.
float rightOf(CCNode* item, float fallback) {
    return item && item->isVisible() ? item->getPositionX() + item->getContentSize().width / 2
                                     : fallback;
}
float leftOf(CCNode* item, float fallback) {
    return item ? item->getPositionX() - item->getContentSize().width / 2 : fallback;
}
}  // namespace

CCMenuItem* addLearnerButton(PageLayer* page, int menuZOrder, const PageControls& bar) {
    CCMenuItemSprite* button = CCMenuItemSprite::create(
        drawButton(ccColor4B(245, 124, 0, 255)), drawButton(ccColor4B(200, 95, 0, 255)), page,
        memberCallback(&PageLayer::onLearnerButton));
    if (!button) return nullptr;
    CCPoint origin = VisibleArea::origin(), right = VisibleArea::right();
    CCPoint center = VisibleArea::center();
    // Between the next arrow and play (which stays in its place when it is hidden).
    float from = rightOf(bar.next, center.x) + kGap;
    float to = leftOf(bar.playPause, right.x - 120) - kGap;
    float x = to - from >= kDiameter ? (from + to) / 2 : to - kDiameter / 2;
    button->setPosition(CCPoint(x, origin.y + 40));
    CCMenu* menu = CCMenu::create();
    menu->setPosition(CCPoint(0, 0));
    menu->addChild(button);
    page->addChild(menu, menuZOrder);
    return button;
}

}  // namespace pagly
