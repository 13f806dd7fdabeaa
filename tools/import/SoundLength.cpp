#include "tools/import/SoundLength.h"

#include <sndfile.h>

#include <vector>

#include "tools/import/QuietDecoder.h"

namespace pagly::import {

double decodedSoundSeconds(const std::string& path, std::string& why) {
    why.clear();
    QuietDecoder quiet;
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) {
        // libsndfile's text for this case speaks of pipes; say what it means for a book.
        why =
            "does not decode as sound (not a recording in a format the converter reads: "
            "MP3, WAV, FLAC, Ogg)";
        return -1.0;
    }
    if (info.samplerate <= 0 || info.channels <= 0 || info.channels > 64) {
        sf_close(file);
        why = "does not decode as sound: it names no usable sample rate or channels";
        return -1.0;
    }
    // The header's frame count may be a guess (MP3) or a lie: count what decodes.
    std::vector<float> buffer(4096 * std::size_t(info.channels));
    sf_count_t frames = 0;
    for (;;) {
        sf_count_t n = sf_readf_float(file, buffer.data(), 4096);
        if (n <= 0) break;
        frames += n;
    }
    int error = sf_error(file);
    std::string errorText = error ? sf_strerror(file) : "";
    sf_close(file);
    if (frames == 0) {
        why = "does not decode as sound: " +
              (errorText.empty() ? std::string("it holds no sound") : errorText);
        return -1.0;
    }
    return double(frames) / double(info.samplerate);
}

}  // namespace pagly::import
