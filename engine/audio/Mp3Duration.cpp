#include "engine/audio/Mp3Duration.h"

#include <cstring>

#include "engine/platform/CCFileUtils.h"

namespace pagly::audio {

using namespace pagly::engine;

namespace {

struct FrameHeader {
    int bytes = 0;    // whole frame, header included
    int samples = 0;  // per channel
    int sampleRate = 0;
    int sideInfoBytes = 0;  // layer III only: where a Xing/Info tag would start after the header
};

// kbit/s by [version is MPEG-1][layer 1..3][index]
const int kBitrates[2][3][16] = {
    {// MPEG-2 and 2.5
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, -1},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, -1},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, -1}},
    {// MPEG-1
     {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, -1},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, -1},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, -1}}};
const int kSampleRates[4][3] = {{11025, 12000, 8000},    // MPEG-2.5
                                {0, 0, 0},               // reserved
                                {22050, 24000, 16000},   // MPEG-2
                                {44100, 48000, 32000}};  // MPEG-1

bool parseHeader(const unsigned char* p, FrameHeader& h) {
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return false;
    int version = (p[1] >> 3) & 3;    // 0: 2.5, 1: reserved, 2: MPEG-2, 3: MPEG-1
    int layerBits = (p[1] >> 1) & 3;  // 1: III, 2: II, 3: I
    int bitrateIndex = p[2] >> 4;
    int rateIndex = (p[2] >> 2) & 3;
    if (version == 1 || layerBits == 0 || rateIndex == 3) return false;
    // Free-format streams (index 0) carry no frame length; they are too rare to walk.
    if (bitrateIndex == 0 || bitrateIndex == 15) return false;
    int layer = 4 - layerBits;
    bool mpeg1 = version == 3;
    int bitrate = kBitrates[mpeg1 ? 1 : 0][layer - 1][bitrateIndex] * 1000;
    int rate = kSampleRates[version][rateIndex];
    int padding = (p[2] >> 1) & 1;
    bool mono = ((p[3] >> 6) & 3) == 3;
    h.sampleRate = rate;
    if (layer == 1) {
        h.samples = 384;
        h.bytes = (12 * bitrate / rate + padding) * 4;
    } else if (layer == 2) {
        h.samples = 1152;
        h.bytes = 144 * bitrate / rate + padding;
    } else {
        h.samples = mpeg1 ? 1152 : 576;
        h.bytes = (mpeg1 ? 144 : 72) * bitrate / rate + padding;
        h.sideInfoBytes = mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
    }
    return h.bytes > 4;
}

// A frame header counts as the start of the stream only when the next frames follow it
// where its length says (or the data ends there): random bytes seldom manage that.
bool startsStream(const unsigned char* data, size_t size, size_t pos) {
    const int kNeeded = 3;
    for (int i = 0; i < kNeeded; ++i) {
        if (pos == size) return i > 0;
        FrameHeader h;
        if (pos + 4 > size || !parseHeader(data + pos, h)) return false;
        pos += (size_t)h.bytes;
        if (pos > size) return i > 0;
    }
    return true;
}

// A Xing/Info frame (written by encoders at the start of the stream) holds no sound.
bool isInfoFrame(const unsigned char* frame, size_t available, const FrameHeader& h) {
    if (h.sideInfoBytes == 0) return false;
    size_t at = 4 + (size_t)h.sideInfoBytes;
    if (at + 4 > available) return false;
    return memcmp(frame + at, "Xing", 4) == 0 || memcmp(frame + at, "Info", 4) == 0;
}

// The encoder's delay and padding (samples per channel) from the LAME extension of a Xing/Info
// frame. Decoders that honour it play that much less than the frames hold, so the length they
// report, and the one the audio engine plays for, leaves it out. 0 when there is none.
int gaplessTrim(const unsigned char* frame, size_t available, const FrameHeader& h) {
    size_t at = 4 + (size_t)h.sideInfoBytes;  // "Xing" or "Info"
    if (at + 8 > available) return 0;
    unsigned flags = ((unsigned)frame[at + 4] << 24) | ((unsigned)frame[at + 5] << 16) |
                     ((unsigned)frame[at + 6] << 8) | frame[at + 7];
    size_t lame = at + 8 + ((flags & 1) ? 4 : 0) + ((flags & 2) ? 4 : 0) + ((flags & 4) ? 100 : 0) +
                  ((flags & 8) ? 4 : 0);
    // Encoder name (9 bytes), then 12 bytes of settings and gains, then delay and padding.
    if (lame + 24 > available) return 0;
    if (memcmp(frame + lame, "LAME", 4) != 0 && memcmp(frame + lame, "Lav", 3) != 0) return 0;
    const unsigned char* p = frame + lame + 21;
    int delay = (p[0] << 4) | (p[1] >> 4);
    int padding = ((p[1] & 0x0F) << 8) | p[2];
    return delay + padding;
}

}  // namespace

double mp3Duration(const unsigned char* data, size_t size) {
    if (!data || size < 4) return -1.0;
    size_t pos = 0;
    // ID3v2 tag: "ID3", version, flags, 28-bit size (+10 footer bytes when flagged).
    if (size >= 10 && memcmp(data, "ID3", 3) == 0) {
        size_t tag = ((size_t)(data[6] & 0x7F) << 21) | ((size_t)(data[7] & 0x7F) << 14) |
                     ((size_t)(data[8] & 0x7F) << 7) | (size_t)(data[9] & 0x7F);
        pos = 10 + tag + ((data[5] & 0x10) ? 10 : 0);
    }
    // Find the first frame near the start; decoders do not search a whole file either.
    const size_t kSearch = 64 * 1024;
    size_t limit = pos + kSearch < size ? pos + kSearch : size;
    while (pos + 4 <= limit && !startsStream(data, size, pos)) ++pos;
    if (pos + 4 > limit) return -1.0;

    double seconds = 0;
    bool first = true;
    int frames = 0;
    long long samples = 0;  // per channel, counted whole so that a trim leaves no rounding
    int rate = 0;
    bool oneRate = true;
    int trimmed = 0;  // samples of encoder delay and padding that decoders leave out
    while (pos + 4 <= size) {
        FrameHeader h;
        if (!parseHeader(data + pos, h)) break;   // trailing tag or junk ends the stream
        if (pos + (size_t)h.bytes > size) break;  // a cut-off last frame
        if (first && isInfoFrame(data + pos, size - pos, h)) {
            trimmed = gaplessTrim(data + pos, (size_t)h.bytes, h);
        } else {
            seconds += (double)h.samples / h.sampleRate;
            samples += h.samples;
            if (rate == 0) rate = h.sampleRate;
            oneRate = oneRate && rate == h.sampleRate;
            ++frames;
        }
        first = false;
        pos += (size_t)h.bytes;
    }
    if (frames == 0) return -1.0;
    // A trim longer than the frames is not the encoder's: ignore it rather than give nothing.
    if (!oneRate || trimmed >= samples) return seconds;
    return (double)(samples - trimmed) / rate;
}

double mp3DurationOfFile(const std::string& path) {
    std::string bytes;
    if (!CCFileUtils::sharedFileUtils()->readFile(path, bytes)) return -1.0;
    return mp3Duration(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

}  // namespace pagly::audio
