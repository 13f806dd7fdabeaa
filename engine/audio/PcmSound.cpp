#include "engine/audio/PcmSound.h"

#include <mpg123.h>

#include <cmath>
#include <cstdint>

namespace pagly::audio {

namespace {

// Owns one mpg123 handle.
struct DecoderHandle {
    mpg123_handle* handle = nullptr;
    DecoderHandle() {
        int error = MPG123_OK;
        handle = mpg123_new(nullptr, &error);
    }
    ~DecoderHandle() {
        if (handle) mpg123_delete(handle);
    }
};

void putLe(std::vector<unsigned char>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back((unsigned char)((value >> (8 * i)) & 0xFF));
}

}  // namespace

bool decodeMp3(const std::string& bytes, PcmSound& out) {
    out = PcmSound();
    DecoderHandle decoder;
    mpg123_handle* mh = decoder.handle;
    if (!mh) return false;
    // Float output at the stream's own rate and channel count: the stretcher works in float,
    // and no resampling happens here.
    mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    mpg123_format_none(mh);
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i) {
        mpg123_format(mh, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_FLOAT_32);
    }
    if (mpg123_open_feed(mh) != MPG123_OK) return false;
    if (mpg123_feed(mh, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()) !=
        MPG123_OK) {
        return false;
    }
    std::vector<unsigned char> block(16384);
    for (;;) {
        size_t done = 0;
        int status = mpg123_read(mh, block.data(), block.size(), &done);
        if (status == MPG123_NEW_FORMAT) {
            long rate = 0;
            int channels = 0, encoding = 0;
            mpg123_getformat(mh, &rate, &channels, &encoding);
            // A format change inside one recording would garble the sound; keep the first part.
            if (out.sampleRate != 0 && (out.sampleRate != rate || out.channels != channels)) break;
            out.sampleRate = (int)rate;
            out.channels = channels;
        }
        if (done > 0 && out.channels > 0) {
            const float* samples = reinterpret_cast<const float*>(block.data());
            out.samples.insert(out.samples.end(), samples, samples + done / sizeof(float));
        }
        if (status == MPG123_OK || status == MPG123_NEW_FORMAT) continue;
        // NEED_MORE: all the data was fed, so the stream is over; DONE or an error ends it too.
        break;
    }
    if (out.sampleRate <= 0 || out.channels <= 0 || out.samples.empty()) {
        out = PcmSound();
        return false;
    }
    out.samples.resize(out.frames() * (size_t)out.channels);
    return true;
}

std::vector<unsigned char> wavHeader(int sampleRate, int channels, size_t frames) {
    const uint32_t dataBytes = (uint32_t)(frames * (size_t)channels * 2);
    const uint32_t channelCount = (uint32_t)channels;
    const uint32_t rate = (uint32_t)sampleRate;
    std::vector<unsigned char> out;
    out.reserve(44);
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    putLe(out, 36 + dataBytes, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    putLe(out, 16, 4);
    putLe(out, 1, 2);  // integer PCM
    putLe(out, channelCount, 2);
    putLe(out, rate, 4);
    putLe(out, rate * channelCount * 2, 4);
    putLe(out, channelCount * 2, 2);
    putLe(out, 16, 2);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    putLe(out, dataBytes, 4);
    return out;
}

short toPcm16(float sample) {
    if (!(sample == sample)) return 0;  // NaN
    long v = std::lround(sample * 32767.0f);
    if (v > 32767) v = 32767;
    if (v < -32768) v = -32768;
    return (short)v;
}

}  // namespace pagly::audio
