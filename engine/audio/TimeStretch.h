#pragma once

#include <cstddef>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/audio/PcmSound.h"

namespace pagly::audio {

// Changes how fast a sound plays without changing its pitch or loudness (SoundTouch's
// overlap-add stretching, tuned for speech). `speed` 0.5 plays twice as long. False when the
// input is empty or the speed is not a positive number.
bool timeStretch(const PcmSound& in, double speed, PcmSound& out);

// A recording at another speed, ready to play: a 16-bit WAV image in memory.
struct StretchedSound {
    std::vector<unsigned char> wav;
    double seconds = 0;
};

// Stretched recordings of this run, keyed by file and speed, so that a sentence heard again
// at the same speed is never stretched again. The least recently played ones are let go once
// the kept WAV bytes pass the cap; a single sound larger than the cap is played but not kept.
class StretchCache {
  public:
    // About ten minutes of stretched 22 kHz mono speech.
    static const size_t kDefaultByteCap = 48u * 1024u * 1024u;

    explicit StretchCache(size_t byteCap = kDefaultByteCap) : m_cap(byteCap) {}

    // The recording at `fullPath` played at `speed`, stretched now or taken from the cache.
    // Null when the file cannot be read or decoded.
    std::shared_ptr<const StretchedSound> soundFor(const std::string& fullPath, double speed);

    size_t bytes() const { return m_bytes; }
    size_t entries() const { return m_index.size(); }
    size_t byteCap() const { return m_cap; }
    // How many stretches were computed (cache misses that decoded and stretched).
    size_t stretchesComputed() const { return m_computed; }
    void clear();

  private:
    struct Entry {
        std::string key;
        std::shared_ptr<const StretchedSound> sound;
    };
    void evictToCap();

    size_t m_cap;
    size_t m_bytes = 0;
    size_t m_computed = 0;
    std::list<Entry> m_lru;  // front: played last
    std::unordered_map<std::string, std::list<Entry>::iterator> m_index;
};

// Builds the stretched sound for MP3 bytes; null when they do not decode.
std::shared_ptr<StretchedSound> stretchMp3(const std::string& mp3Bytes, double speed);

}  // namespace pagly::audio
