#include "app/SpeechSpeed.h"

#include <cmath>
#include <cstdio>

#include "app/ResumeState.h"
#include "app/VisibleArea.h"
#include "engine/actions/CCActions.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/base/CCObject.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCLayerColor.h"
#include "engine/platform/CCFileUtils.h"

namespace pagly {

using namespace pagly::engine;

namespace {

const float kSpeeds[] = {0.5f, 0.75f, 1.0f, 1.25f};
const int kSpeedCount = (int)(sizeof kSpeeds / sizeof kSpeeds[0]);

int nearestSpeedIndex(float speed) {
    int best = 2;  // as recorded
    if (!std::isfinite(speed)) return best;
    for (int i = 0; i < kSpeedCount; ++i)
        if (std::fabs(kSpeeds[i] - speed) < std::fabs(kSpeeds[best] - speed)) best = i;
    return best;
}

}  // namespace

std::string speechSpeedNoteText(float speed) {
    char text[32];
    snprintf(text, sizeof text, "Speed %g\u00d7", speed);
    return text;
}

float steppedSpeechSpeed(float current, int direction) {
    int i = nearestSpeedIndex(current) + (direction < 0 ? -1 : direction > 0 ? 1 : 0);
    if (i < 0) i = 0;
    if (i >= kSpeedCount) i = kSpeedCount - 1;
    return kSpeeds[i];
}

bool isOfferedSpeechSpeed(float speed) {
    for (float offered : kSpeeds)
        if (speed == offered) return true;
    return false;
}

void changeSpeechSpeed(CCNode* screen, int direction) {
    audio::SimpleAudioEngine* audio = audio::SimpleAudioEngine::sharedEngine();
    float speed = steppedSpeechSpeed(audio->getBackgroundMusicSpeed(), direction);
    audio->setBackgroundMusicSpeed(speed);
    rememberSpeechSpeed(speed);
    if (!screen) return;

    // A second press replaces the note instead of stacking another one on it.
    if (CCNode* old = screen->getChildByTag(kSpeechSpeedNoteTag)) old->removeFromParent();
    CCLabelTTF* label = CCLabelTTF::create(speechSpeedNoteText(speed).c_str(), "Arial", 40);
    CCSize text = label->getContentSize();
    // White on a dark plate, so it reads on any page and over any button.
    CCLayerColor* note =
        CCLayerColor::create(ccColor4B(20, 30, 70, 210), text.width + 48, text.height + 24);
    label->setPosition(CCPoint((text.width + 48) / 2, (text.height + 24) / 2));
    note->addChild(label);
    CCPoint center = VisibleArea::center();
    note->setPosition(CCPoint(center.x - (text.width + 48) / 2, center.y - (text.height + 24) / 2));
    note->setTag(kSpeechSpeedNoteTag);
    screen->addChild(note, 1000);
    float hold = kSpeechSpeedNoteSeconds * 0.6f, fade = kSpeechSpeedNoteSeconds * 0.4f;
    label->runAction(
        CCSequence::create(CCDelayTime::create(hold), CCFadeOut::create(fade), nullptr));
    note->runAction(CCSequence::create(
        CCDelayTime::create(hold), CCFadeOut::create(fade),
        CCCallFuncN::create([](CCNode* node) { node->removeFromParent(); }), nullptr));
}

}  // namespace pagly
