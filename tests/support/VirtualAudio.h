#pragma once

#include <memory>
#include <string>
#include <vector>

#include "support/Harness.h"

namespace pagly::audio {
class AudioBackend;
class VirtualAudioBackend;
}  // namespace pagly::audio

namespace pagly::test {

// Puts the virtual-clock audio back-end under SimpleAudioEngine for its lifetime and gives
// the previous back-end back afterwards. Recordings then "play" for their real length on the
// director's clock, silently, and the files asked for can be read back.
class VirtualAudioScope {
  public:
    VirtualAudioScope();
    ~VirtualAudioScope();
    VirtualAudioScope(const VirtualAudioScope&) = delete;
    VirtualAudioScope& operator=(const VirtualAudioScope&) = delete;

    audio::VirtualAudioBackend& backend() { return *m_backend; }
    // The files playBackgroundMusic was asked for, in order, as named by the caller.
    const std::vector<std::string>& played() const;
    // The recording playing now, "" when silent.
    std::string current();
    bool isPlaying();

  private:
    audio::VirtualAudioBackend* m_backend;  // non-owning: SimpleAudioEngine owns it
    std::unique_ptr<audio::AudioBackend> m_previous;
};

// Waits until the music of a real back-end (SDL's dummy driver, which plays in real time and
// later still on a loaded machine) has stopped: for the event, never against the clock. The
// bound (minutes) only keeps a recording that never ends from hanging the run: false then.
bool waitUntilMusicStops();

// EngineTest with the virtual audio back-end installed for the whole test.
class AudioEngineTest : public EngineTest {
  protected:
    VirtualAudioScope m_audio;
};

}  // namespace pagly::test
