// What the page's keys and the learner's card do beyond the bar's callbacks (see PageLayer.h).
#include "app/BookEnd.h"
#include "app/BookNames.h"
#include "app/FadingNote.h"
#include "app/LearnerCard.h"
#include "app/PageBindings.h"
#include "app/PageLayer.h"
#include "app/ReadingSession.h"
#include "app/SpeechSpeed.h"
#include "app/practice/SpeakingPractice.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/director/CCKeypadDispatcher.h"
#include "engine/nodes/CCMenuItem.h"
#include "engine/nodes/CCSprite.h"
#include "gui/UIButton.h"

using namespace pagly::engine;
using namespace pagly::gui;
using pagly::audio::SimpleAudioEngine;

namespace pagly {

void PageLayer::stepSentence(int direction) {
    // The current sentence: the one shown pressed, else the one automatic reading is at.
    const ReadingSession& s = session();
    int current =
        s.currentSentenceButton
            ? sentenceIndexFromNumber(s.currentPage, s.currentSentenceButton->getActionTag())
            : s.nextSentence - 1;
    for (int i = current + direction; i >= 1 && i <= s.pageSentenceCount; i += direction) {
        if (UIButton* button = sentenceButton(i)) {
            onSentenceTouched(button, TouchBegan);
            return;
        }
    }
}

void PageLayer::replaySentence() {
    UIButton* button = session().currentSentenceButton;
    if (!button) return;
    // A touch never restarts the sentence that is playing: silence it first.
    SimpleAudioEngine::sharedEngine()->stopBackgroundMusic();
    onSentenceTouched(button, TouchBegan);
}

void PageLayer::playOrPauseByKey() {
    if (m_playPause && m_playPause->isVisible()) onPlayPause(m_playPause);
}

void PageLayer::openSettingsByKey() {
    if (m_settings) onSettings(m_settings);
}

void PageLayer::switchEchoPauses() {
    bool& on = session().echoPauses;
    on = !on;
    if (!on) session().shadowing = false;
    showFadingNote(this, on ? "Say it after me: on" : "Say it after me: off");
}

void PageLayer::switchShadowing() {
    ReadingSession& s = session();
    s.shadowing = !s.shadowing;
    if (s.shadowing) s.echoPauses = true;  // shadowing records in the echo pauses
    showFadingNote(this, s.shadowing ? "Speak along: on" : "Speak along: off");
}

void PageLayer::practiseSpeaking() {
    const ReadingSession& s = session();
    // The current sentence: the one shown pressed, else the one reading is at, else the first.
    int index =
        s.currentSentenceButton
            ? sentenceIndexFromNumber(s.currentPage, s.currentSentenceButton->getActionTag())
            : s.nextSentence - 1;
    if (index < 1 || !sentenceButton(index)) {
        index = 0;
        for (int i = 1; i <= s.pageSentenceCount && !index; ++i)
            if (sentenceButton(i)) index = i;
    }
    if (index < 1) return;
    // Reading on would start the next sentence over the learner.
    if (s.autoReadOn) onPlayPause(m_playPause);
    m_practice->practise(index);
}

void PageLayer::changeSpeed(int direction) { changeSpeechSpeed(this, direction); }

void PageLayer::onLearnerButton(CCObject*) { openLearnerCard(false); }

void PageLayer::openLearnerCard(bool byKey) {
    if (m_leaving) return;
    LearnerCard::open(this, byKey);
}

LearnerCard* PageLayer::learnerCard() const {
    return LearnerCard::shownOn(const_cast<PageLayer*>(this));
}

void PageLayer::showKeyList() {
    if (!m_keyHelp.isShown()) m_keyHelp.handleKey(this, kKeyHelp, pageKeyHelpLines());
}

void PageLayer::finishReading() {
    // Reading has nowhere to go on to: it stops, and play says so (pressed again, it reads the
    // last page from its start).
    ReadingSession& s = session();
    s.autoReadOn = false;
    s.nextSentence = 1;
    setPlayPauseImage("Images/play_btn.png");
    sayBookEnd(this);
}

}  // namespace pagly
