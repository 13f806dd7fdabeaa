// Playing a sentence with its caption (see SentencePlayer.h).
#include "app/SentencePlayer.h"

#include <algorithm>
#include <cmath>

#include "app/BookNames.h"
#include "app/CaptionLayout.h"
#include "app/FadingNote.h"
#include "app/PageLayer.h"
#include "app/ReadingMachine.h"
#include "app/ReadingSession.h"
#include "app/WordLighter.h"
#include "engine/audio/Mp3Duration.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/platform/CCFileUtils.h"
#include "gui/UIButton.h"

using namespace pagly::engine;
using namespace pagly::gui;
using pagly::audio::SimpleAudioEngine;

namespace pagly {

namespace {
void unfocusCurrentSentence(ReadingSession& s) {
    if (s.currentSentenceButton && s.currentSentenceButton->isFocused())
        s.currentSentenceButton->setFocus(false);
}
}  // namespace

void SentencePlayer::touched(UIButton* button) {
    ReadingSession& s = session();
    if (s.currentSentenceButton) {
        if (s.currentSentenceButton == button &&
            SimpleAudioEngine::sharedEngine()->isBackgroundMusicPlaying()) {
            if (!button->isFocused()) button->setFocus(true);
            return;  // the sentence that is playing is never restarted
        }
        unfocusCurrentSentence(s);
    }
    s.currentSentenceButton = button;
    button->setFocus(true);

    int number = button->getActionTag();
    s.nextSentence = sentenceIndexFromNumber(s.currentPage, number) + 1;
    showCaption(button, s.book.caption(captionKeyForNumber(s.currentPage, number)));
    startRecording(recordingNameForNumber(s.currentPage, number));
}

void SentencePlayer::readSentence(int index) {
    ReadingSession& s = session();
    unfocusCurrentSentence(s);
    s.currentSentenceButton = m_page->sentenceButton(index);
    if (s.currentSentenceButton) s.currentSentenceButton->setFocus(true);
    int number = sentenceNumber(s.currentPage, index);
    const std::string* caption = s.book.caption(captionKeyForNumber(s.currentPage, number));
    if (s.currentSentenceButton && s.captionLabel && s.captionBackground)
        showCaption(s.currentSentenceButton, caption);
    startRecording(recordingNameForNumber(s.currentPage, number));
}

void SentencePlayer::showCaption(UIButton* button, const std::string* caption) {
    ReadingSession& s = session();
    if (!caption) {
        s.captionLabel->setString("");
        s.captionBackground->setSize(CCSize(0, 0));
        return;
    }
    if (caption->size() >= Book::kLongestCaption) {
        s.captionLabel->setString("");
        s.captionLabel->setVisible(false);
        s.captionBackground->setVisible(false);
        return;
    }
    CCSize buttonSize = button->getContentSize();
    float box = captionBoxWidth(std::fabs(button->getScaleX()) * buttonSize.width);
    s.captionLabel->setDimensions(CCSize(std::max(1.0f, box - 2 * captionMargin()), 0));
    s.captionLabel->setString(caption->c_str());
    float labelHeight = s.captionLabel->getContentSize().height;
    CaptionPlacement place = placeCaption(button->getPosition(), button->getScaleX(),
                                          button->getScaleY(), buttonSize, labelHeight);
    s.captionLabel->setPosition(CCPoint(place.labelX, place.labelY));
    s.captionBackground->setPosition(CCPoint(place.labelX, place.backgroundY));
    s.captionBackground->setSize(
        CCSize(s.captionLabel->getContentSize().width + 2 * captionMargin(),
               labelHeight + place.backgroundExtraHeight));
    m_page->schedule(memberCallback(&PageLayer::onCaptionWatch), kCaptionWatchInterval);
    if (m_page->sceneNumber() == 1) CCLog("Scene 1: onEnterTransitionDidFinish");
}

void SentencePlayer::startRecording(const std::string& recordingName) {
    std::string path = recordingPathForName(recordingName);
    SimpleAudioEngine* audio = SimpleAudioEngine::sharedEngine();
    audio->playBackgroundMusic(path.c_str(), false);
    // Silence with no word of why would look like a broken book.
    if (audio->takeNoSoundDeviceNotice()) showFadingNote(m_page, kNoSoundDeviceNote);
    m_lastRecording = path;
    wordLighter()->start(session().currentSentenceButton, path, audio->getBackgroundMusicSpeed());
    m_machine->sentenceStarted();
}

WordLighter* SentencePlayer::wordLighter() {
    CCNode* found = m_page->getChildByTag(WordLighter::kTag);
    if (WordLighter* lighter = dynamic_cast<WordLighter*>(found)) return lighter;
    WordLighter* lighter = WordLighter::create();
    m_page->addChild(lighter, 0, WordLighter::kTag);
    return lighter;
}

void SentencePlayer::stopLighting() {
    if (WordLighter* lighter = dynamic_cast<WordLighter*>(m_page->getChildByTag(WordLighter::kTag)))
        lighter->stop();
}

double SentencePlayer::lastHeardSeconds() const {
    if (m_lastRecording.empty()) return 0;
    // Read from the file only when an echo pause asks: without echo pauses nothing needs it.
    double seconds = audio::mp3DurationOfFile(
        CCFileUtils::sharedFileUtils()->fullPathForFilename(m_lastRecording));
    float speed = SimpleAudioEngine::sharedEngine()->getBackgroundMusicSpeed();
    // At half speed the learner heard it for twice as long, and needs that long to say it.
    if (seconds > 0 && speed > 0 && std::isfinite(speed)) seconds /= speed;
    return seconds > 0 ? seconds : 0;
}

}  // namespace pagly
