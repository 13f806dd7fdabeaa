#pragma once

#include <cstddef>

namespace pagly::audio {

// Decides, from a recording as it comes in, when the learner has spoken and then fallen
// silent. Works on 20 ms frames of the signal's level: a level well above the quietest the
// recording has been (the room's own noise), or above a fixed floor, for 100 ms counts as
// speech; after speech, 0.6 s below a lower line ends it. A recording that reaches its longest
// allowed length ends anyway. Plain code over samples, no device.
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
    void frameDone(double level);

    int m_rate;
    size_t m_frame;    // samples per frame
    size_t m_longest;  // samples
    double m_sum = 0;  // squares in the current frame
    size_t m_inFrame = 0;
    size_t m_seen = 0;
    double m_floor = 1.0;  // quietest frame level so far (dB below full scale, as a power)
    int m_loudRun = 0;     // frames in a row above the speech line
    int m_quietRun = 0;    // frames in a row below the silence line, after speech
    long m_speechStart = -1;
    long m_speechEnd = -1;
    State m_state = Waiting;
};

}  // namespace pagly::audio
