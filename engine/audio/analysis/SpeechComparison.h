#pragma once

#include <cstddef>
#include <vector>

namespace pagly::audio::speech {

// What is worked out once about one recording: its spoken part (mono, 16 kHz) with the
// features and the pitch of each 10 ms frame.
struct SpeechProfile {
    std::vector<float> samples;
    std::vector<float> cepstra;  // SpeechFeatures' rows
    std::vector<float> pitchHz;  // 0 where unvoiced
    double seconds() const;
    bool empty() const { return samples.empty(); }
    size_t frames() const { return pitchHz.size(); }
};

// The profile of a whole recording (mono at 16 kHz): only its spoken part is kept.
SpeechProfile profileOf(const std::vector<float>& mono16k);

// The book's sentence and the learner's, aligned in time.
struct SpeechComparison {
    // The time warp's cost (see TimeWarp): small when the two say the same thing alike.
    double cost = 0;
    double bookSeconds = 0, learnerSeconds = 0;
    // Per frame of the book: the book's melody and the learner's, the learner's taken from the
    // frames the alignment pairs with it; semitones from each voice's own median, NaN where
    // unvoiced.
    std::vector<float> bookMelody;
    std::vector<float> learnerMelody;
    // The mean distance in semitones between the two melodies where both are voiced (NaN when
    // nowhere), and the share of the book's voiced frames the learner voiced too.
    double melodyDistance = 0;
    double sharedVoicing = 0;
};

// Aligns the two; an empty side gives an infinite cost and no melody of its own.
SpeechComparison compareSpeech(const SpeechProfile& book, const SpeechProfile& learner);

}  // namespace pagly::audio::speech
