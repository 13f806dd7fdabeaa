#include "app/SpeechSpeed.h"

#include <cmath>
#include <cstdio>

#include "app/FadingNote.h"
#include "app/ResumeState.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/base/CCObject.h"
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

const float* offeredSpeechSpeeds(int* count) {
    if (count) *count = kSpeedCount;
    return kSpeeds;
}

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

float currentSpeechSpeed() {
    return kSpeeds[nearestSpeedIndex(
        audio::SimpleAudioEngine::sharedEngine()->getBackgroundMusicSpeed())];
}

void changeSpeechSpeed(CCNode* screen, int direction) {
    chooseSpeechSpeed(screen, steppedSpeechSpeed(currentSpeechSpeed(), direction));
}

void chooseSpeechSpeed(CCNode* screen, float speed) {
    if (!isOfferedSpeechSpeed(speed)) speed = kSpeeds[nearestSpeedIndex(speed)];
    audio::SimpleAudioEngine::sharedEngine()->setBackgroundMusicSpeed(speed);
    rememberSpeechSpeed(speed);
    showFadingNote(screen, speechSpeedNoteText(speed));
}

}  // namespace pagly
