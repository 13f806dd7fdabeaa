#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "engine/audio/AudioBackend.h"

typedef struct _Mix_Music Mix_Music;
struct SDL_Thread;

namespace pagly::audio {

class BackendTicks;
struct MixerLibrary;

// Plays the background music through SDL_mixer. SDL's audio system starts, and the mixer
// library is opened, on a helper thread (both take longer than opening a device): once the
// first frame has been drawn when the back-end is made while a window is open, at once
// otherwise, and at the latest at the first play. The sound device opens on the first play
// with a small buffer (about 12 ms), and it closes again after a silence longer than any pause
// automatic reading leaves between sentences: an open device wakes the process about 90 times
// a second even when silent, but opening it before every sentence lengthens each pause and
// can be heard as a click. When no device opens, it retries with SDL's dummy driver, which
// plays silently in real time, so the reader still runs and "is playing" still tells the truth.
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
    std::string playProblem() const override { return m_playProblem; }

    // --- Speaking practice and the lit word --------------------------------------------------
    void holdDevice(bool held) override;
    double outputLatency() const override;
    // Counted from the frames the device has taken since the recording started.
    double playedSeconds() override;
    // The device last opened on SDL's dummy driver: there is no sound device.
    bool isSilent() const override { return m_silentDriver; }

    // The driver that opened, or "" while the device is closed.
    std::string currentDriver() const;
    // Duration in seconds of the recording that was started last, or -1 when unknown.
    double currentDuration() const;
    // Closes the device once it has been silent for longer than automatic reading ever waits
    // after the last sound (see idleLimit). Called every 0.5 s by the director's scheduler
    // while the device is open, with the scheduler's seconds since the previous call: the
    // first call that finds nothing playing marks the start of the silence. A paused
    // recording is not silence. True when it closed.
    bool closeIfIdle(float elapsed);
    bool isDeviceOpen() const { return m_open; }
    // How often the sound device has been opened since the back-end was made.
    int deviceOpenCount() const { return m_deviceOpens; }
    // Starts the sound system if a frame has been drawn since the back-end was made (called
    // every frame by the scheduler until then).
    void startOnceDrawn();
    // Whether the start still waits for the first frame.
    bool isStartDeferred() const { return m_startDeferred; }

  private:
    bool ensureOpen();
    // Starts SDL's audio system and opens the mixer library on a helper thread.
    void startInBackground();
    // Forgets a start that waits for the first frame.
    void cancelDeferredStart();
    // Starts SDL's audio system with `driver` (null: SDL's choice) on this thread.
    bool startAudio(const char* driver);
    bool openDevice();
    void closeDevice();
    void waitForAudioStart();
    void freeMusic();
    void watchForIdle(bool on);
    // A recording has just started: the silence, if any, is over.
    void started(double recordedSeconds, double heardSeconds);
    // Seconds of silence after which the device closes.
    double idleLimit() const;
    // The music's frames played start again from 0.
    void countFromStart();
    // SDL's audio thread, after each buffer is mixed: counts the music's frames.
    static void onMixed(void* self, unsigned char* stream, int length);

    std::string m_driver;
    std::string m_musicPath;  // what rewind starts again once the device has closed
    Mix_Music* m_music = nullptr;
    float m_volume = 1.0f;
    SDL_Thread* m_starting = nullptr;  // an SDL thread: SDL frees its per-thread error text
    bool m_startPending = false;       // the start's outcome is not taken in yet
    bool m_audioStarted = false;       // SDL's audio system runs (the device may be closed)
    bool m_startFailed = false;        // the helper thread could not start it
    std::string m_startError;          // why (SDL's error text is per thread)
    bool m_open = false;
    bool m_openFailed = false;
    bool m_loop = false;
    // The stretched recording playing last (its stream holds its own reference too).
    std::shared_ptr<StretchedSound> m_stretched;
    std::string m_stretchedPath;  // as the caller named it, for a replay after the device closed
    const MixerLibrary* m_mix = nullptr;  // opened with the device
    bool m_mixInit = false;
    std::string m_playProblem;  // why the last play could not use its file
    bool m_silent = false;      // a check found nothing playing and nothing has started since
    double m_silentFor = 0;     // scheduler seconds since that check
    double m_lastLength = 0;    // the longer of the last sound's recorded and heard lengths
    int m_deviceOpens = 0;
    bool m_held = false;          // the device stays open through silence
    bool m_silentDriver = false;  // opened on SDL's dummy driver
    int m_deviceRate = 44100;     // frames per second of the open device
    int m_frameBytes = 4;
    // Frames of the current recording taken by the device (written by SDL's audio thread).
    std::atomic<long long> m_playedFrames{0};
    std::atomic<bool> m_counting{false};
    BackendTicks* m_ticks = nullptr;
    bool m_startDeferred = false;     // waits for the first frame
    unsigned int m_drawnAtStart = 0;  // frames drawn when the back-end was made
};

}  // namespace pagly::audio
