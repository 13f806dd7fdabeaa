#pragma once

#include <cstddef>
#include <vector>

namespace pagly::audio {

// Decides, from a recording as it comes in, when the learner has spoken and then fallen
// silent. Works on 20 ms frames of the signal's level: a level well above the room's noise (the
// quietest the recording has been, but never taken louder than a quiet room's, so that speech
// from the very first frame counts) and above a fixed floor, for 100 ms counts as speech; after
// speech, 0.6 s below a lower line ends it. A pure tone of a given pitch (the reader's own cue,
// heard back late through the speakers) can be left out of the level. A recording that reaches its
// longest allowed length ends anyway. Plain code over samples, no device.
class SpeechEndDetector {
  public:
    enum State {
        Waiting,   // nothing heard yet
        Speaking,  // speech heard, not yet followed by the closing silence
        Ended,     // speech, then the closing silence
        TimedOut,  // the longest length reached (with or without speech: see heardSpeech)
    };

    static constexpr double kClosingSilence = 0.6;
    static constexpr double kFrameSeconds = 0.02;
    static constexpr double kShortestSpeech = 0.1;

    SpeechEndDetector(int sampleRate, double longestSeconds);

    // Leaves a pure sine of `hertz` out of every frame's level (0: none).
    void ignoreTone(double hertz);
    // Takes the next samples; returns the state after them. Samples after the end are ignored.
    State push(const float* samples, size_t count);
    State state() const { return m_state; }
    bool heardSpeech() const { return m_speechStart >= 0; }
    // Where the speech began and where its closing silence began, in samples from the start
    // (-1 when unknown).
    long speechStart() const { return m_speechStart; }
    long speechEnd() const { return m_speechEnd; }
    size_t samplesSeen() const { return m_seen; }

  private:
    double frameLevel() const;
    void frameDone(double level);

    int m_rate;
    size_t m_frame;                // samples per frame
    size_t m_longest;              // samples
    std::vector<float> m_samples;  // the current frame
    size_t m_inFrame = 0;
    size_t m_seen = 0;
    double m_toneHertz = 0;   // left out of the levels (0: nothing)
    double m_quietest = 1.0;  // quietest frame level so far (a power; 1 is full scale)
    int m_loudRun = 0;        // frames in a row above the speech line
    int m_quietRun = 0;       // frames in a row below the silence line, after speech
    long m_speechStart = -1;
    long m_speechEnd = -1;
    State m_state = Waiting;
};

}  // namespace pagly::audio
