#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace pagly::audio {

// Decoded sound: interleaved float samples in -1..1.
struct PcmSound {
    int sampleRate = 0;
    int channels = 0;
    std::vector<float> samples;

    size_t frames() const { return channels > 0 ? samples.size() / (size_t)channels : 0; }
    double seconds() const { return sampleRate > 0 ? (double)frames() / sampleRate : 0.0; }
};

// Decodes a whole MP3 recording held in memory. False (with `out` emptied) when the data holds
// no decodable MPEG audio; a truncated stream keeps what decodes.
bool decodeMp3(const std::string& bytes, PcmSound& out);

// The 44-byte header of a 16-bit PCM WAV image holding `frames` frames.
std::vector<unsigned char> wavHeader(int sampleRate, int channels, size_t frames);

// A float sample in -1..1 as a 16-bit one (clipped; NaN is silence).
short toPcm16(float sample);

}  // namespace pagly::audio
