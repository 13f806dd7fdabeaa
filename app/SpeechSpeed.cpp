#include "app/SpeechSpeed.h"

#include <cmath>
#include <cstdio>

#include "app/VisibleArea.h"
#include "engine/actions/CCActions.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/base/CCObject.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/platform/CCFileUtils.h"

namespace pagly {

using namespace pagly::engine;

namespace {

const float kSpeeds[] = {0.5f, 0.75f, 1.0f, 1.25f};
const int kSpeedCount = (int)(sizeof kSpeeds / sizeof kSpeeds[0]);
const char* const kFileName = "speed.txt";
const char* const kLinePrefix = "speech speed ";

int nearestSpeedIndex(float speed) {
    int best = 2;  // as recorded
    if (!std::isfinite(speed)) return best;
    for (int i = 0; i < kSpeedCount; ++i)
        if (std::fabs(kSpeeds[i] - speed) < std::fabs(kSpeeds[best] - speed)) best = i;
    return best;
}

std::string speedLine(float speed) {
    char line[48];
    snprintf(line, sizeof line, "%s%.2f\n", kLinePrefix, speed);
    return line;
}

}  // namespace

float steppedSpeechSpeed(float current, int direction) {
    int i = nearestSpeedIndex(current) + (direction < 0 ? -1 : direction > 0 ? 1 : 0);
    if (i < 0) i = 0;
    if (i >= kSpeedCount) i = kSpeedCount - 1;
    return kSpeeds[i];
}

std::string speechSpeedFilePath() {
    return CCFileUtils::sharedFileUtils()->getWritablePath() + kFileName;
}

float loadSpeechSpeed() {
    std::string path = speechSpeedFilePath();
    std::string text;
    if (!CCFileUtils::sharedFileUtils()->readFile(path, text)) return 1.0f;
    // Exactly the line saveSpeechSpeed writes for one of the offered speeds, nothing else.
    for (float offered : kSpeeds)
        if (text == speedLine(offered)) return offered;
    CCLog("the speech speed file %s is damaged; reading at the recorded speed", path.c_str());
    return 1.0f;
}

void saveSpeechSpeed(float speed) {
    std::string path = speechSpeedFilePath();
    std::string temporary = path + ".new";
    FILE* file = fopen(temporary.c_str(), "wb");
    bool ok = file && fputs(speedLine(speed).c_str(), file) >= 0;
    if (file && fclose(file) != 0) ok = false;
    if (!ok || rename(temporary.c_str(), path.c_str()) != 0) {
        CCLog("could not remember the speech speed in %s", path.c_str());
        remove(temporary.c_str());
    }
}

void changeSpeechSpeed(CCNode* screen, int direction) {
    audio::SimpleAudioEngine* audio = audio::SimpleAudioEngine::sharedEngine();
    float speed = steppedSpeechSpeed(audio->getBackgroundMusicSpeed(), direction);
    audio->setBackgroundMusicSpeed(speed);
    saveSpeechSpeed(speed);
    if (!screen) return;

    char text[32];
    snprintf(text, sizeof text, "Speed %gx", speed);
    // A second press replaces the note instead of stacking another one on it.
    if (CCNode* old = screen->getChildByTag(kSpeechSpeedNoteTag)) old->removeFromParent();
    CCLabelTTF* note = CCLabelTTF::create(text, "Arial", 40);
    note->setColor(ccColor3B(0, 0, 160));  // the caption's blue, readable on the page
    CCPoint top = VisibleArea::top();
    note->setPosition(CCPoint(top.x, top.y - 120));
    note->setTag(kSpeechSpeedNoteTag);
    screen->addChild(note, 1000);
    note->runAction(CCSequence::create(
        CCDelayTime::create(kSpeechSpeedNoteSeconds * 0.6f),
        CCFadeOut::create(kSpeechSpeedNoteSeconds * 0.4f),
        CCCallFuncN::create([](CCNode* node) { node->removeFromParent(); }), nullptr));
}

}  // namespace pagly
