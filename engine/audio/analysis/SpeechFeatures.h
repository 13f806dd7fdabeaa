#pragma once

#include <cstddef>
#include <vector>

namespace pagly::audio {

struct PcmSound;

// Short-time features of speech at 16 kHz, one frame every 10 ms over a 25 ms window: what the
// time alignment compares (cepstral coefficients, a shape of the spectrum that does not depend
// on loudness) and what finds the spoken part of a recording (the level). Plain code over
// sample buffers, no device.
namespace speech {

constexpr int kRate = 16000;
constexpr int kHop = 160;     // 10 ms
constexpr int kWindow = 400;  // 25 ms
constexpr int kCoefficients = 12;
constexpr double kFrameSeconds = (double)kHop / kRate;

// The sound as mono at kRate (channels averaged, rate changed by linear interpolation after a
// light low-pass when it comes down).
std::vector<float> monoAt16k(const PcmSound& sound);
std::vector<float> resample(const std::vector<float>& samples, int fromRate, int toRate);

// Frames in `count` samples (the last frame may run past the end, padded with silence).
size_t frameCount(size_t count);
// Mean square level of each frame's window, in dB below full scale.
std::vector<float> frameLevels(const float* samples, size_t count);
// Mel-frequency cepstral coefficients 1..12 of each frame, row after row, with their mean over
// the frames taken away (so a different microphone or voice colour weighs less).
std::vector<float> cepstra(const float* samples, size_t count);

// The spoken part of a recording: [first, last) in samples, from the first to the last frame
// within 40 dB of the loudest, 12 dB above the room's noise and above -55 dBFS, with 50 ms of
// margin. Empty (first ==
// last) when nothing rises above the floor.
struct Span {
    size_t first = 0, last = 0;
    size_t size() const { return last - first; }
};
Span spokenPart(const std::vector<float>& samples);

}  // namespace speech
}  // namespace pagly::audio
