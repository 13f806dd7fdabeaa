#pragma once

#include <future>
#include <memory>
#include <string>
#include <vector>

#include "engine/audio/analysis/SpeechComparison.h"
#include "engine/audio/capture/SpeechEndDetector.h"
#include "engine/nodes/CCNode.h"

namespace pagly {

class ComparisonPanel;
class PageLayer;
class RecordingKeeper;

// Speaking practice on a page (a child node of the page layer, which hands it keys). M: the
// current sentence plays at the current speed, a short tone follows, then the learner is
// recorded from the microphone until they have spoken and been silent for a moment (or M
// again); their recording plays back and the comparison panel shows it beside the book's.
// Shadowing (automatic reading with echo pauses): each sentence is followed by a recording
// and its playback instead of the silent pause. No microphone, a refusing one, or silence: a
// fading note says so, and the page goes on.
class SpeakingPractice : public engine::CCNode {
  public:
    enum Phase {
        Idle,
        PlayingSentence,  // the book's sentence, before the tone
        Tone,             // the cue; the microphone is open, what it hears is not kept
        Recording,
        PlayingBack,  // the learner's recording (the panel is shown already, unless shadowing)
    };
    // A recording may last this much longer than twice the sentence.
    static constexpr double kExtraSeconds = 2.0;
    static constexpr double kToneSeconds = 0.15;
    static constexpr double kToneHertz = 880;

    // `page` is the parent (non-owning).
    static SpeakingPractice* create(PageLayer* page);
    ~SpeakingPractice() override;

    // M on the page: practice sentence `index` of the page (or, while recording, stop).
    void practise(int index);
    // Shadowing: record the sentence that has just played, play it back, no panel.
    void recordEcho(int index);
    // A key on the page: true when practice took it (B, Y, M and closing keys on the panel; M
    // while busy). Any other key while busy abandons the practice first, and is not taken.
    bool handleKey(int keyCode);
    // Stops whatever runs (the page is left, the learner does something else).
    void abandon();
    // The learner touched a sentence: practice in progress is abandoned.
    void sentenceTouched();

    bool isBusy() const { return m_phase != Idle; }
    Phase phase() const { return m_phase; }
    ComparisonPanel* panel() const;
    // The comparison shown last (null before the first).
    const audio::speech::SpeechComparison* lastComparison() const {
        return m_hasComparison ? &m_comparison : nullptr;
    }
    // The learner's last kept recording (mono, 16 kHz, its spoken part with a margin).
    const std::vector<float>& lastRecording() const { return m_recording; }

    void update(float dt) override;

    // Where every page's recordings are kept (one writer thread for the run).
    static RecordingKeeper& keeper();

  private:
    explicit SpeakingPractice(PageLayer* page) : m_page(page) {}
    void start(int index, bool shadowing);
    void setPhase(Phase phase);
    void startTone();
    // Says why the microphone cannot record (a CaptureBackend outcome) and stops.
    void microphoneFailed(int outcome, const std::string& problem);
    // False (said, and stopped) when the microphone turned out missing or refusing.
    bool microphoneStillWorks();
    // Whether the tone has ended in the room (the music stream, then the device's latency).
    bool toneHeard();
    void startRecording();
    void finishRecording();
    void showPanel();
    void closePanel();
    void playBook();
    void playYours();
    // The practised sentence's caption, for the comparison card ("" without one).
    std::string sentenceText() const;
    void stopCapture();
    void note(const std::string& text);
    void takeKeeperProblems();

    PageLayer* m_page;
    Phase m_phase = Idle;
    bool m_shadowing = false;
    bool m_startingSentence = false;  // our own sentence start is not the learner's touch
    int m_index = 0;
    std::string m_recordingName;  // the book's name of the sentence ("mc0191.mp3")
    std::string m_bookPath;       // its file, as the audio engine is asked for it
    double m_heardSeconds = 0;
    std::shared_future<audio::speech::SpeechProfile> m_bookProfile;
    std::unique_ptr<audio::SpeechEndDetector> m_detector;
    int m_rate = 0;
    double m_toneEndedAt = -1;    // the director's time the tone left the stream
    double m_recordingSince = 0;  // on the microphone's clock
    double m_longestSeconds = 0;  // of a recording
    std::vector<float> m_captured;
    std::vector<float> m_recording;
    audio::speech::SpeechProfile m_learnerProfile;
    audio::speech::SpeechComparison m_comparison;
    bool m_hasComparison = false;
    bool m_toneStarted = false;
};

}  // namespace pagly
