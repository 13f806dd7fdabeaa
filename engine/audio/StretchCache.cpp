#include "engine/audio/StretchCache.h"

#include <cstdio>

#include "engine/audio/StretchedSound.h"
#include "engine/base/CCObject.h"
#include "engine/platform/CCFileUtils.h"

namespace pagly::audio {

using namespace pagly::engine;

std::shared_ptr<StretchedSound> StretchCache::soundFor(const std::string& fullPath, double speed) {
    char speedText[32];
    snprintf(speedText, sizeof speedText, "%.4f|", speed);
    std::string key = speedText + fullPath;
    auto found = m_index.find(key);
    if (found != m_index.end()) {
        m_lru.splice(m_lru.begin(), m_lru, found->second);
        return found->second->sound;
    }
    std::string mp3;
    if (!CCFileUtils::sharedFileUtils()->readFile(fullPath, mp3)) return nullptr;
    std::shared_ptr<StretchedSound> sound = StretchedSound::fromMp3(mp3, speed);
    if (!sound) return nullptr;
    ++m_made;
    // Counted at its largest (image and input together) so the cap holds while it stretches.
    size_t bytes = sound->bytesHeld();
    if (bytes > m_cap) {
        CCLog("SimpleAudioEngine: %s at speed %.2f is too long to keep (%zu bytes)",
              fullPath.c_str(), speed, bytes);
        return sound;
    }
    m_lru.push_front(Entry{key, sound, bytes});
    m_index[key] = m_lru.begin();
    m_bytes += bytes;
    evictToCap();
    return sound;
}

void StretchCache::evictToCap() {
    while (m_bytes > m_cap && !m_lru.empty()) {
        // A sound still playing stays alive through the player's own reference.
        m_bytes -= m_lru.back().bytes;
        m_index.erase(m_lru.back().key);
        m_lru.pop_back();
    }
}

void StretchCache::clear() {
    m_lru.clear();
    m_index.clear();
    m_bytes = 0;
}

}  // namespace pagly::audio
