#include "support/VirtualAudio.h"

#include <chrono>
#include <thread>

#include "engine/audio/SimpleAudioEngine.h"
#include "engine/audio/VirtualAudioBackend.h"

using namespace pagly::audio;
using namespace pagly::engine;

namespace pagly::test {

VirtualAudioScope::VirtualAudioScope() {
    auto backend = std::make_unique<VirtualAudioBackend>();
    m_backend = backend.get();
    m_previous = SimpleAudioEngine::sharedEngine()->setBackend(std::move(backend));
}

VirtualAudioScope::~VirtualAudioScope() {
    // The previous back-end may be null (none created yet); the engine then creates its
    // default one again on first use.
    SimpleAudioEngine::sharedEngine()->setBackend(std::move(m_previous));
}

const std::vector<std::string>& VirtualAudioScope::played() const { return m_backend->requests(); }

std::string VirtualAudioScope::current() { return m_backend->currentMusic(); }

bool VirtualAudioScope::isPlaying() { return m_backend->isMusicPlaying(); }

bool waitUntilMusicStops() {
    SimpleAudioEngine* audio = SimpleAudioEngine::sharedEngine();
    for (int polls = 0; polls < 12000 && audio->isBackgroundMusicPlaying(); ++polls)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return !audio->isBackgroundMusicPlaying();
}

}  // namespace pagly::test
