#pragma once

#include <memory>
#include <string>

namespace pagly::audio {

class AudioBackend;
class StretchCache;

// The audio engine the book reads aloud with: one background-music stream that plays one
// recording at a time. Playback goes through a pluggable back-end (SDL_mixer by default,
// created on first use; tests install a virtual-clock one).
class SimpleAudioEngine {
  public:
    static SimpleAudioEngine* sharedEngine();
    // Stops the music and releases the sound device. The engine stays usable: the next call
    // opens the device again.
    static void end();

    void preloadBackgroundMusic(const char* path);
    // Plays an MP3 from the start, once (or forever with loop), replacing what plays. A file
    // that is missing or cannot be decoded plays nothing and the music reports not playing;
    // the log names the file in one line, with why, the first time in a run.
    void playBackgroundMusic(const char* path, bool loop = false);
    // Stops at once.
    void stopBackgroundMusic(bool releaseData = false);
    void pauseBackgroundMusic();
    void resumeBackgroundMusic();
    void rewindBackgroundMusic();
    // Whether a recording was started and not stopped since (it may have ended by itself).
    bool willPlayBackgroundMusic() const { return m_bMusicStarted; }
    // True exactly while the recording still plays.
    bool isBackgroundMusicPlaying();

    // Seconds of the recording that playing has been heard (in heard time, at any speed): the
    // sound device's own count of frames played where the back-end has one, else the
    // director's time since it started. -1 when nothing plays.
    double getBackgroundMusicHeardSeconds();
    // Keeps the sound device open through silence while held (see AudioBackend::holdDevice).
    void holdSoundDevice(bool held);
    // True once a run, at the first call after a recording went to a silent stand-in because
    // there is no sound device: the caller says so on screen.
    bool takeNoSoundDeviceNotice();

    float getBackgroundMusicVolume() const { return m_fMusicVolume; }
    // Clamped to 0..1.
    void setBackgroundMusicVolume(float volume);

    // How fast recordings play, without a change of pitch: 1 plays them as they are; other
    // speeds stretch each recording once per run and keep it (bounded). Takes effect from the
    // next playBackgroundMusic. Values that are not positive numbers are ignored.
    void setBackgroundMusicSpeed(float speed);
    float getBackgroundMusicSpeed() const { return m_fMusicSpeed; }
    StretchCache& stretchCache() { return *m_stretches; }

    // Installs a back-end and returns the previous one (null if none was created yet). The
    // music volume carries over to the new back-end.
    std::unique_ptr<AudioBackend> setBackend(std::unique_ptr<AudioBackend> backend);
    // The back-end in use, creating the default one on first use.
    AudioBackend* backend();

  private:
    SimpleAudioEngine();
    ~SimpleAudioEngine();

    std::unique_ptr<AudioBackend> m_backend;
    std::unique_ptr<StretchCache> m_stretches;
    float m_fMusicVolume = 1.0f;
    float m_fMusicSpeed = 1.0f;
    bool m_bMusicStarted = false;
    bool m_toldNoDevice = false;
    double m_musicStartedAt = 0;  // the director's time of the last start
};

}  // namespace pagly::audio
