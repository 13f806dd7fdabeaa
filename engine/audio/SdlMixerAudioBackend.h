#pragma once

#include <memory>
#include <string>

#include "engine/audio/AudioBackend.h"

typedef struct _Mix_Music Mix_Music;

namespace pagly::audio {

// Plays the background music through SDL_mixer. The sound device opens on the first play;
// when no device opens, it retries with SDL's dummy driver, which plays silently in real
// time, so the reader still runs and "is playing" still tells the truth.
class SdlMixerAudioBackend : public AudioBackend {
  public:
    // `driver` names the SDL audio driver to try first (null: SDL's own choice).
    explicit SdlMixerAudioBackend(const char* driver = nullptr);
    ~SdlMixerAudioBackend() override;

    bool playMusic(const std::string& requestedPath, const std::string& fullPath,
                   bool loop) override;
    void stopMusic() override;
    void pauseMusic() override;
    void resumeMusic() override;
    void rewindMusic() override;
    bool isMusicPlaying() override;
    void setMusicVolume(float volume) override;
    void shutdown() override;

    // --- Stretched recordings (slower/faster speech) ---------------------------------------
    // Plays a stretched sound's WAV image through the same music stream, so every other
    // operation (stop, pause, volume, "is playing") treats it like a file; the mixer's reads
    // stretch it just ahead of playback. Kept apart from playMusic.
    bool playStretchedMusic(const std::string& requestedPath, std::shared_ptr<StretchedSound> sound,
                            bool loop) override;

    // The driver that opened, or "" while the device is closed.
    std::string currentDriver() const;
    // Duration in seconds of the recording that was started last, or -1 when unknown.
    double currentDuration() const;

  private:
    bool ensureOpen();
    bool openWithDriver(const char* driver);
    void freeMusic();

    std::string m_driver;
    Mix_Music* m_music = nullptr;
    float m_volume = 1.0f;
    bool m_open = false;
    bool m_openFailed = false;
    bool m_loop = false;
    // The stretched recording playing last (its stream holds its own reference too).
    std::shared_ptr<StretchedSound> m_stretched;
};

}  // namespace pagly::audio
