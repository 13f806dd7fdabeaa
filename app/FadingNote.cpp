#include "app/FadingNote.h"

#include "app/VisibleArea.h"
#include "engine/actions/CCActionCompound.h"
#include "engine/actions/CCActionInstant.h"
#include "engine/actions/CCActionInterval.h"
#include "engine/base/CCArray.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCLayerColor.h"

using namespace pagly::engine;

namespace pagly {

namespace {
const float kFontSize = 34;
const float kPadX = 24, kPadY = 12;
const int kOverEverything = 15000;  // above the page, its captions and its menu
}  // namespace

void showFadingNote(CCNode* screen, const std::string& text) {
    if (!screen) return;
    if (CCNode* old = screen->getChildByTag(kFadingNoteTag)) old->removeFromParent();
    CCLabelTTF* label = CCLabelTTF::create(text.c_str(), "Arial", kFontSize);
    if (!label) return;
    label->setColor(ccColor3B(255, 255, 255));
    CCSize size = label->getContentSize();
    float width = size.width + 2 * kPadX, height = size.height + 2 * kPadY;
    // White on a dark plate, so it reads on any page and hides what lies under it.
    CCLayerColor* plate = CCLayerColor::create(ccColor4B(20, 30, 70, 235), width, height);
    label->setPosition(CCPoint(width / 2, height / 2));
    plate->addChild(label);
    // In the middle, where most pages have their picture rather than a sentence.
    CCPoint at = VisibleArea::center();
    plate->setPosition(CCPoint(at.x - width / 2, at.y - height / 2));
    plate->setTag(kFadingNoteTag);
    screen->addChild(plate, kOverEverything);
    float hold = kFadingNoteSeconds * 2 / 3, fade = kFadingNoteSeconds / 3;
    label->runAction(
        CCSequence::create(CCDelayTime::create(hold), CCFadeOut::create(fade), nullptr));
    plate->runAction(CCSequence::create(
        CCDelayTime::create(hold), CCFadeOut::create(fade),
        CCCallFuncN::create([](CCNode* node) { node->removeFromParent(); }), nullptr));
}

CCLabelTTF* fadingNoteLabel(CCNode* screen) {
    CCNode* plate = screen ? screen->getChildByTag(kFadingNoteTag) : nullptr;
    if (!plate || !plate->getChildren() || plate->getChildren()->count() == 0) return nullptr;
    return dynamic_cast<CCLabelTTF*>(plate->getChildren()->objectAtIndex(0));
}

}  // namespace pagly
