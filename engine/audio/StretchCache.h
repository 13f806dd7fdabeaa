#pragma once

#include <cstddef>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>

namespace pagly::audio {

class StretchedSound;

// Stretched recordings of this run, keyed by file and speed, so that a sentence heard again
// at the same speed is never stretched again. The least recently played ones are let go once
// the bytes they hold pass the cap; a single sound larger than the cap is played but not kept.
class StretchCache {
  public:
    // About ten minutes of stretched 22 kHz mono speech.
    static const size_t kDefaultByteCap = 48u * 1024u * 1024u;

    explicit StretchCache(size_t byteCap = kDefaultByteCap) : m_cap(byteCap) {}

    // The recording at `fullPath` played at `speed`, from the cache or made now (its samples
    // are stretched as they are read). Null when the file cannot be read or decoded.
    std::shared_ptr<StretchedSound> soundFor(const std::string& fullPath, double speed);

    // Bytes counted against the cap: each kept sound's image and its undecoded input.
    size_t bytes() const { return m_bytes; }
    size_t entries() const { return m_index.size(); }
    size_t byteCap() const { return m_cap; }
    // How many sounds were made (cache misses that decoded a recording).
    size_t soundsMade() const { return m_made; }
    void clear();

  private:
    struct Entry {
        std::string key;
        std::shared_ptr<StretchedSound> sound;
        size_t bytes;
    };
    void evictToCap();

    size_t m_cap;
    size_t m_bytes = 0;
    size_t m_made = 0;
    std::list<Entry> m_lru;  // front: played last
    std::unordered_map<std::string, std::list<Entry>::iterator> m_index;
};

}  // namespace pagly::audio
