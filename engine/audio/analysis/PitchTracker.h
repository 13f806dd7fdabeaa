#pragma once

#include <cstddef>
#include <vector>

namespace pagly::audio::speech {

// The pitch of speech by the YIN method (the normalised difference of the signal with itself
// delayed), one value every 10 ms on the same frames as SpeechFeatures, worked out at 8 kHz,
// which is plenty for voices between 70 and 450 Hz and a quarter of the work. A frame that is
// quiet or not periodic enough (unvoiced: a consonant, a breath) gets 0.
std::vector<float> pitchContour(const float* samples16k, size_t count);

// Semitones of each voiced value from the median of the voiced values (NaN where unvoiced), so
// two voices of different height can be compared by their melody alone.
std::vector<float> semitonesFromMedian(const std::vector<float>& hz);

}  // namespace pagly::audio::speech
