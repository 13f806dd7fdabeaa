// Speaking practice on a page (see SpeakingPractice.h).
#include "app/practice/SpeakingPractice.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

#include "app/BookNames.h"
#include "app/FadingNote.h"
#include "app/PageLayer.h"
#include "app/ReadingSession.h"
#include "app/VisibleArea.h"
#include "app/practice/ComparisonPanel.h"
#include "app/practice/RecordingKeeper.h"
#include "engine/audio/AudioBackend.h"
#include "engine/audio/Mp3Duration.h"
#include "engine/audio/PcmSound.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/audio/StretchedSound.h"
#include "engine/audio/analysis/SpeechFeatures.h"
#include "engine/audio/capture/CaptureBackend.h"
#include "engine/audio/capture/Microphone.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCKeypadDispatcher.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCLayerColor.h"
#include "engine/platform/CCFileUtils.h"
#include "gui/UIButton.h"

using namespace pagly::engine;
using namespace pagly::audio;
using namespace pagly::audio::speech;

namespace pagly {

namespace {
const int kIndicatorTag = 7451;
const int kIndicatorZOrder = 14000;  // over the page, under the fading notes
const char kToneName[] = "practice:tone";
const char kYoursName[] = "practice:yours";
// Kept of the silence around the learner's speech, so the playback does not clip it.
const double kLeadSeconds = 0.25, kTailSeconds = 0.3;

SimpleAudioEngine* audioEngine() { return SimpleAudioEngine::sharedEngine(); }

// A short sine cue at 880 Hz with soft edges, so it does not click.
PcmSound toneSound() {
    PcmSound tone;
    tone.sampleRate = 22050;
    tone.channels = 1;
    size_t count = (size_t)(SpeakingPractice::kToneSeconds * tone.sampleRate);
    size_t edge = (size_t)(0.01 * tone.sampleRate);
    tone.samples.resize(count);
    for (size_t i = 0; i < count; ++i) {
        double fade = std::min(1.0, std::min((double)i / edge, (double)(count - 1 - i) / edge));
        tone.samples[i] =
            (float)(0.3 * fade *
                    std::sin(2 * 3.14159265358979 * SpeakingPractice::kToneHertz * i / 22050));
    }
    return tone;
}

// Plays mono samples through the music stream, as a recording is played.
void playSamples(const char* name, std::vector<float> samples, int rate) {
    PcmSound sound;
    sound.sampleRate = rate;
    sound.channels = 1;
    sound.samples = std::move(samples);
    std::shared_ptr<StretchedSound> stretched = StretchedSound::fromPcm(std::move(sound), 1.0);
    AudioBackend* backend = audioEngine()->backend();
    if (stretched) backend->setMusicVolume(audioEngine()->getBackgroundMusicVolume());
    if (!stretched || !backend->playStretchedMusic(name, std::move(stretched), false))
        backend->stopMusic();
}

SpeechProfile bookProfile(const std::string& fullPath) {
    std::ifstream in(fullPath, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    PcmSound sound;
    if (bytes.empty() || !decodeMp3(bytes, sound)) return SpeechProfile();
    return profileOf(monoAt16k(sound));
}
}  // namespace

RecordingKeeper& SpeakingPractice::keeper() {
    static RecordingKeeper keeper;
    return keeper;
}

SpeakingPractice* SpeakingPractice::create(PageLayer* page) {
    SpeakingPractice* practice = new SpeakingPractice(page);
    practice->init();
    practice->autorelease();
    return practice;
}

SpeakingPractice::~SpeakingPractice() {
    stopCapture();
    if (m_phase != Idle) audioEngine()->holdSoundDevice(false);
    if (m_bookProfile.valid()) m_bookProfile.wait();
}

ComparisonPanel* SpeakingPractice::panel() const {
    return m_page ? dynamic_cast<ComparisonPanel*>(m_page->getChildByTag(ComparisonPanel::kTag))
                  : nullptr;
}

void SpeakingPractice::practise(int index) {
    if (m_phase == Recording) {
        finishRecording();
        return;
    }
    start(index, false);
}

void SpeakingPractice::recordEcho(int index) { start(index, true); }

void SpeakingPractice::start(int index, bool shadowing) {
    abandon();
    ReadingSession& s = session();
    if (index < 1 || index > s.pageSentenceCount) return;
    m_index = index;
    m_shadowing = shadowing;
    int number = sentenceNumber(s.currentPage, index);
    m_recordingName = recordingNameForNumber(s.currentPage, number);
    m_bookPath = recordingPathForName(m_recordingName);
    std::string fullPath = CCFileUtils::sharedFileUtils()->fullPathForFilename(m_bookPath);
    float speed = audioEngine()->getBackgroundMusicSpeed();
    m_heardSeconds = std::max(0.0, mp3DurationOfFile(fullPath)) / (speed > 0 ? speed : 1.0f);
    // The book's side is worked out while the learner listens and speaks.
    m_bookProfile = std::async(std::launch::async, bookProfile, fullPath).share();
    scheduleUpdate();
    if (shadowing) {
        startTone();  // the sentence has just been heard
        return;
    }
    setPhase(PlayingSentence);
    m_startingSentence = true;
    if (gui::UIButton* button = m_page->sentenceButton(index)) {
        audioEngine()->stopBackgroundMusic();  // a touch never restarts the sentence playing
        m_page->onSentenceTouched(button, gui::TouchBegan);
    } else {
        audioEngine()->playBackgroundMusic(m_bookPath.c_str(), false);
    }
    m_startingSentence = false;
}

void SpeakingPractice::startTone() {
    std::string problem;
    CaptureBackend* microphone = Microphone::shared()->backend();
    // Asked for with the tone: a device can take a moment to open (on its own thread), and the
    // learner must not lose their first word to it. What it hears during the tone is not kept.
    CaptureBackend::Outcome outcome = microphone->start(&problem);
    if (outcome != CaptureBackend::Started && outcome != CaptureBackend::Opening) {
        microphoneFailed(outcome, problem);
        return;
    }
    m_captured.clear();
    m_toneEndedAt = -1;
    setPhase(Tone);
    PcmSound tone = toneSound();
    playSamples(kToneName, std::move(tone.samples), tone.sampleRate);
}

void SpeakingPractice::microphoneFailed(int outcome, const std::string& problem) {
    CCLog("speaking practice: no recording (%s)", problem.c_str());
    bool shadowing = m_shadowing;
    abandon();
    std::string text = outcome == CaptureBackend::NoDevice ? "No microphone found"
                                                           : "The microphone could not be used";
    // Shadowing would say so after every sentence: it goes back to silent echo pauses.
    if (shadowing) {
        session().shadowing = false;
        text += ": shadowing off";
    }
    note(text);
}

bool SpeakingPractice::microphoneStillWorks() {
    std::string problem;
    CaptureBackend::Outcome outcome = Microphone::shared()->backend()->outcome(&problem);
    if (outcome == CaptureBackend::Started || outcome == CaptureBackend::Opening) return true;
    microphoneFailed(outcome, problem);
    return false;
}

bool SpeakingPractice::toneHeard() {
    // The tone has left the music stream; it is in the room once the device has played it.
    if (audioEngine()->isBackgroundMusicPlaying()) return false;
    double now = CCDirector::sharedDirector()->getElapsedTime();
    if (m_toneEndedAt < 0) m_toneEndedAt = now;
    return now - m_toneEndedAt >= audioEngine()->backend()->outputLatency();
}

void SpeakingPractice::startRecording() {
    setPhase(Recording);
    m_captured.clear();
    CaptureBackend* microphone = Microphone::shared()->backend();
    m_rate = microphone->sampleRate();
    m_longestSeconds = m_heardSeconds * 2 + kExtraSeconds;
    m_detector = std::make_unique<SpeechEndDetector>(m_rate, m_longestSeconds);
    // A late device (a Bluetooth speaker) plays the tone into the recording: it is not speech.
    m_detector->ignoreTone(kToneHertz);
    m_recordingSince = microphone->now();
    if (getChildByTag(kIndicatorTag)) return;
    CCLabelTTF* label = CCLabelTTF::create("Recording: say it now (M stops)", "Arial", 26);
    if (!label) return;
    label->setColor(ccColor3B(255, 255, 255));
    CCSize size = label->getContentSize();
    CCLayerColor* plate =
        CCLayerColor::create(ccColor4B(200, 40, 40, 255), size.width + 40, size.height + 16);
    label->setPosition(CCPoint((size.width + 40) / 2, (size.height + 16) / 2));
    plate->addChild(label);
    CCPoint top = VisibleArea::top();
    plate->setPosition(CCPoint(top.x - (size.width + 40) / 2, top.y - size.height - 40));
    plate->setTag(kIndicatorTag);
    addChild(plate, kIndicatorZOrder);
}

void SpeakingPractice::update(float) {
    takeKeeperProblems();
    CaptureBackend* microphone = Microphone::shared()->backend();
    switch (m_phase) {
        case Idle:
            unscheduleUpdate();
            break;
        case PlayingSentence:
            if (!audioEngine()->isBackgroundMusicPlaying()) startTone();
            break;
        case Tone:
            if (!microphoneStillWorks()) break;
            microphone->take(m_captured);
            m_captured.clear();
            if (toneHeard()) startRecording();
            break;
        case Recording: {
            if (!microphoneStillWorks()) break;
            size_t before = m_captured.size();
            microphone->take(m_captured);
            SpeechEndDetector::State state =
                m_detector->push(m_captured.data() + before, m_captured.size() - before);
            // A microphone that sends nothing (a suspended source) is not waited on forever:
            // the same limit holds on the clock.
            if (state == SpeechEndDetector::Ended || state == SpeechEndDetector::TimedOut ||
                microphone->now() - m_recordingSince >= m_longestSeconds)
                finishRecording();
            break;
        }
        case PlayingBack:
            if (!audioEngine()->isBackgroundMusicPlaying()) {
                setPhase(Idle);
                unscheduleUpdate();
            }
            break;
    }
}

void SpeakingPractice::finishRecording() {
    CaptureBackend* microphone = Microphone::shared()->backend();
    size_t before = m_captured.size();
    microphone->take(m_captured);
    if (m_detector) m_detector->push(m_captured.data() + before, m_captured.size() - before);
    size_t dropped = microphone->droppedSamples();
    stopCapture();
    if (CCNode* indicator = getChildByTag(kIndicatorTag)) indicator->removeFromParent();
    bool heard = m_detector && m_detector->heardSpeech();
    CCLog("speaking practice: %.2f s recorded, %s, %zu samples lost",
          (double)m_captured.size() / m_rate, heard ? "speech heard" : "nothing heard", dropped);
    if (!heard) {
        setPhase(Idle);
        unscheduleUpdate();
        note(m_captured.empty() ? "The microphone sent no sound" : "Nothing heard");
        return;
    }
    long lead = (long)(kLeadSeconds * m_rate), tail = (long)(kTailSeconds * m_rate);
    long from = std::max(0L, m_detector->speechStart() - lead);
    long to = (long)m_captured.size();
    if (m_detector->speechEnd() >= 0) to = std::min(to, m_detector->speechEnd() + tail);
    if (to <= from) to = (long)m_captured.size();
    m_recording.assign(m_captured.begin() + from, m_captured.begin() + to);
    m_captured.clear();
    m_captured.shrink_to_fit();
    std::vector<float> at16k = resample(m_recording, m_rate, kRate);
    m_recording = at16k;

    std::string stem = m_recordingName.substr(0, m_recordingName.rfind('.'));
    keeper().keep(RecordingKeeper::folderForBook(CCFileUtils::sharedFileUtils()->getResourceRoot()),
                  stem, m_recording, kRate);

    m_learnerProfile = profileOf(m_recording);
    SpeechProfile book = m_bookProfile.valid() ? m_bookProfile.get() : SpeechProfile();
    m_comparison = compareSpeech(book, m_learnerProfile);
    m_hasComparison = true;
    setPhase(PlayingBack);
    playYours();
    if (!m_shadowing) showPanel();
}

void SpeakingPractice::showPanel() {
    closePanel();
    SpeechProfile book = m_bookProfile.valid() ? m_bookProfile.get() : SpeechProfile();
    ComparisonPanel* panel = ComparisonPanel::create(
        m_comparison, book, m_learnerProfile,
        [this](ComparisonPanel::Choice c) {
            switch (c) {
                case ComparisonPanel::HearBook:
                    playBook();
                    break;
                case ComparisonPanel::HearYours:
                    playYours();
                    break;
                case ComparisonPanel::RecordAgain:
                    practise(m_index);
                    break;
                case ComparisonPanel::Close:
                    closePanel();
                    break;
            }
        },
        sentenceText());
    if (!panel) return;
    m_page->addChild(panel, ComparisonPanel::kZOrder);
    if (audioEngine()->isBackgroundMusicPlaying()) panel->showPlaying(ComparisonPanel::HearYours);
}

void SpeakingPractice::closePanel() {
    if (ComparisonPanel* shown = panel()) shown->removeFromParentAndCleanup(true);
}

void SpeakingPractice::playBook() {
    audioEngine()->playBackgroundMusic(m_bookPath.c_str(), false);
    if (ComparisonPanel* shown = panel()) shown->showPlaying(ComparisonPanel::HearBook);
}

std::string SpeakingPractice::sentenceText() const {
    // The words on the sentence's button, else its caption (a book whose buttons are
    // invisible gives the sentence there).
    if (gui::UIButton* button = m_page ? m_page->sentenceButton(m_index) : nullptr) {
        const char* title = button->getTitleText();
        if (title && *title) return title;
    }
    const ReadingSession& s = session();
    const std::string* text =
        s.book.caption(captionKeyForNumber(s.currentPage, sentenceNumber(s.currentPage, m_index)));
    return text && text->size() < Book::kLongestCaption ? *text : std::string();
}

void SpeakingPractice::playYours() {
    if (m_recording.empty()) return;
    playSamples(kYoursName, m_recording, kRate);
    if (ComparisonPanel* shown = panel()) shown->showPlaying(ComparisonPanel::HearYours);
}

bool SpeakingPractice::handleKey(int keyCode) {
    if (panel()) {
        if (keyCode == kKeyB) {
            playBook();
        } else if (keyCode == kKeyY) {
            playYours();
        } else if (keyCode == kKeyM) {
            practise(m_index);
        } else {
            closePanel();
        }
        return true;
    }
    if (!isBusy()) return false;
    if (keyCode == kKeyM) {
        // M stops a recording, records again while hearing oneself, and otherwise cancels.
        if (m_phase == Recording) {
            finishRecording();
        } else if (m_phase == PlayingBack) {
            practise(m_index);
        } else {
            abandon();
        }
        return true;
    }
    abandon();
    return false;
}

void SpeakingPractice::sentenceTouched() {
    if (!m_startingSentence && isBusy()) abandon();
}

void SpeakingPractice::setPhase(Phase phase) {
    // The sound device stays open from the sentence through the tone, the recording and its
    // playback: closing it under a long recording, and opening it again, costs the window a
    // frame each time and can be heard as a click.
    if ((m_phase == Idle) != (phase == Idle)) audioEngine()->holdSoundDevice(phase != Idle);
    m_phase = phase;
}

void SpeakingPractice::abandon() {
    Phase was = m_phase;
    setPhase(Idle);
    stopCapture();
    unscheduleUpdate();
    if (CCNode* indicator = getChildByTag(kIndicatorTag)) indicator->removeFromParent();
    // Our own sounds stop with the practice; the book's sentence is the learner's to hear out.
    if (was == Tone || was == PlayingBack) audioEngine()->backend()->stopMusic();
    closePanel();
}

void SpeakingPractice::stopCapture() {
    // Never waits on the device: the back-end closes it on a thread of its own.
    CaptureBackend* microphone = Microphone::shared()->backend();
    if (microphone->isCapturing()) microphone->stop();
}

void SpeakingPractice::note(const std::string& text) { showFadingNote(m_page, text); }

void SpeakingPractice::takeKeeperProblems() {
    for (const std::string& problem : keeper().takeProblems()) CCLog("%s", problem.c_str());
}

}  // namespace pagly
