#include "engine/audio/TimeStretch.h"

#include <SoundTouch.h>

#include <cmath>
#include <cstdio>

#include "engine/base/CCObject.h"
#include "engine/platform/CCFileUtils.h"

namespace pagly::audio {

using namespace pagly::engine;

bool timeStretch(const PcmSound& in, double speed, PcmSound& out) {
    out = PcmSound();
    if (!(speed > 0.0) || !std::isfinite(speed) || in.frames() == 0 || in.sampleRate <= 0) {
        return false;
    }
    soundtouch::SoundTouch stretcher;
    stretcher.setSampleRate((unsigned)in.sampleRate);
    stretcher.setChannels((unsigned)in.channels);
    stretcher.setTempo(speed);
    // Short sequences follow the quick pitch movements of speech; the library's defaults are
    // tuned for music and make voices echo.
    stretcher.setSetting(SETTING_SEQUENCE_MS, 40);
    stretcher.setSetting(SETTING_SEEKWINDOW_MS, 15);
    stretcher.setSetting(SETTING_OVERLAP_MS, 8);
    stretcher.putSamples(in.samples.data(), (unsigned)in.frames());
    stretcher.flush();

    out.sampleRate = in.sampleRate;
    out.channels = in.channels;
    // flush() pads with silence; the stretched length is the input's divided by the speed.
    size_t wanted = (size_t)std::llround((double)in.frames() / speed);
    out.samples.reserve(wanted * (size_t)in.channels);
    std::vector<float> block(4096 * (size_t)in.channels);
    for (;;) {
        unsigned got = stretcher.receiveSamples(block.data(), 4096);
        if (got == 0) break;
        out.samples.insert(out.samples.end(), block.begin(),
                           block.begin() + (ptrdiff_t)got * in.channels);
    }
    if (out.frames() > wanted) out.samples.resize(wanted * (size_t)in.channels);
    return out.frames() > 0;
}

std::shared_ptr<StretchedSound> stretchMp3(const std::string& mp3Bytes, double speed) {
    PcmSound decoded, stretched;
    if (!decodeMp3(mp3Bytes, decoded) || !timeStretch(decoded, speed, stretched)) return nullptr;
    auto sound = std::make_shared<StretchedSound>();
    sound->wav = encodeWav(stretched);
    sound->seconds = stretched.seconds();
    return sound;
}

std::shared_ptr<const StretchedSound> StretchCache::soundFor(const std::string& fullPath,
                                                             double speed) {
    char speedText[32];
    snprintf(speedText, sizeof speedText, "%.4f|", speed);
    std::string key = speedText + fullPath;
    auto found = m_index.find(key);
    if (found != m_index.end()) {
        m_lru.splice(m_lru.begin(), m_lru, found->second);
        return found->second->sound;
    }
    std::string bytes;
    if (!CCFileUtils::sharedFileUtils()->readFile(fullPath, bytes)) return nullptr;
    std::shared_ptr<const StretchedSound> sound = stretchMp3(bytes, speed);
    if (!sound) return nullptr;
    ++m_computed;
    if (sound->wav.size() > m_cap) {
        CCLog("SimpleAudioEngine: %s at speed %.2f is too long to keep (%zu bytes)",
              fullPath.c_str(), speed, sound->wav.size());
        return sound;
    }
    m_lru.push_front(Entry{key, sound});
    m_index[key] = m_lru.begin();
    m_bytes += sound->wav.size();
    evictToCap();
    return sound;
}

void StretchCache::evictToCap() {
    while (m_bytes > m_cap && !m_lru.empty()) {
        // A sound still playing stays alive through the player's own reference.
        m_bytes -= m_lru.back().sound->wav.size();
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
