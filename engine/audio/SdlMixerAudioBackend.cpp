#include "engine/audio/SdlMixerAudioBackend.h"

#include <SDL.h>

#include <algorithm>
#include <mutex>

#include "engine/audio/MixerLibrary.h"
#include "engine/audio/StretchedSound.h"
#include "engine/audio/StretchedSoundStream.h"
#include "engine/base/CCObject.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScheduler.h"

namespace pagly::audio {

using namespace pagly::engine;

namespace {
// 512 frames at 44.1 kHz: about 12 ms from the mixer to the sound server. 2048 (SDL_mixer's
// usual) added 35 ms before every first sample.
const int kDeviceFrames = 512;
const float kIdleCheckSeconds = 0.5f;
// Automatic reading leaves at most about 1.5 s between sentences (a pause of up to a second
// and a 0.5 s poll); with echo pauses it first waits as long as the sentence took to hear, at
// least a second. So the device closes only after the last sound's length and this much more
// of silence.
const double kSilenceBeyondTheSound = 3.0;

// SDL's audio system keeps a count of its starts and makes its locks at the first; two starts
// at once (a back-end's helper thread and a second back-end) would both make them and one set
// would be lost. Every start and stop of it goes through here.
std::mutex& audioSystemLock() {
    static std::mutex lock;
    return lock;
}
bool startAudioSystem() {
    std::lock_guard<std::mutex> hold(audioSystemLock());
    return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}
void stopAudioSystem() {
    std::lock_guard<std::mutex> hold(audioSystemLock());
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
}  // namespace

// The scheduler calls engine objects: this one asks the back-end to close an idle device, and
// to start its sound system once the first frame is on screen.
class BackendTicks : public CCObject {
  public:
    explicit BackendTicks(SdlMixerAudioBackend* owner) : m_owner(owner) {}
    void checkIdle(float elapsed) { m_owner->closeIfIdle(elapsed); }
    void checkDrawn(float) { m_owner->startOnceDrawn(); }

  private:
    SdlMixerAudioBackend* m_owner;
};

SdlMixerAudioBackend::SdlMixerAudioBackend(const char* driver) : m_driver(driver ? driver : "") {
    // SDL's audio system and the mixer library cost 10-20 ms of CPU together: on a machine of
    // two busy cores that is time taken from the first frame even on a helper thread. They
    // start after it, still well before a learner can tap.
    CCDirector* director = CCDirector::sharedDirectorIfAlive();
    if (director && director->getRenderer()) {
        m_drawnAtStart = director->getDrawnFrames();
        m_ticks = new BackendTicks(this);
        director->getScheduler()->scheduleSelector(memberCallback(&BackendTicks::checkDrawn),
                                                   m_ticks, 0, false);
        m_startDeferred = true;
        return;
    }
    startInBackground();
}

void SdlMixerAudioBackend::startOnceDrawn() {
    CCDirector* director = CCDirector::sharedDirectorIfAlive();
    if (!m_startDeferred || (director && director->getDrawnFrames() == m_drawnAtStart)) return;
    startInBackground();
}

void SdlMixerAudioBackend::cancelDeferredStart() {
    if (!m_startDeferred) return;
    m_startDeferred = false;
    if (CCDirector* director = CCDirector::sharedDirectorIfAlive())
        director->getScheduler()->unscheduleSelector(memberCallback(&BackendTicks::checkDrawn),
                                                     m_ticks);
}

void SdlMixerAudioBackend::startInBackground() {
    cancelDeferredStart();
    // The hint is set here, on the caller's thread, and reset once the helper is done:
    // SDL's hints are not for two threads at once.
    if (!m_driver.empty())
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, m_driver.c_str(), SDL_HINT_OVERRIDE);
    m_starting = SDL_CreateThread(
        [](void* self) {
            auto* backend = static_cast<SdlMixerAudioBackend*>(self);
            backend->m_startFailed = !startAudioSystem();
            if (backend->m_startFailed) backend->m_startError = SDL_GetError();
            // The mixer library is opened here as well, so that the first play does not wait
            // for it and its decoders' libraries to be mapped and relocated.
            mixerLibrary();
            return 0;
        },
        "pagly audio start", this);
    m_startPending = true;
    if (!m_starting) {  // no thread: here, then
        m_startFailed = !startAudioSystem();
        if (m_startFailed) m_startError = SDL_GetError();
    }
}

SdlMixerAudioBackend::~SdlMixerAudioBackend() {
    shutdown();
    if (m_ticks) m_ticks->release();
}

void SdlMixerAudioBackend::waitForAudioStart() {
    // A play before the first frame: the start is not left for later.
    if (m_startDeferred) startInBackground();
    if (!m_startPending) return;
    m_startPending = false;
    if (m_starting) SDL_WaitThread(m_starting, nullptr);
    m_starting = nullptr;
    if (!m_driver.empty()) SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    if (m_startFailed) {
        CCLog("SimpleAudioEngine: audio driver %s did not start: %s",
              m_driver.empty() ? "(default)" : m_driver.c_str(), m_startError.c_str());
    } else {
        m_audioStarted = true;
    }
}

bool SdlMixerAudioBackend::startAudio(const char* driver) {
    if (driver) SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, driver, SDL_HINT_OVERRIDE);
    bool ok = startAudioSystem();
    // The driver choice only matters while the subsystem starts; later openings choose anew.
    if (driver) SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    if (!ok) {
        CCLog("SimpleAudioEngine: audio driver %s did not start: %s", driver ? driver : "(default)",
              SDL_GetError());
        return false;
    }
    m_audioStarted = true;
    return true;
}

bool SdlMixerAudioBackend::openDevice() {
    if (m_mix->openAudio(44100, MIX_DEFAULT_FORMAT, 2, kDeviceFrames) != 0) {
        CCLog("SimpleAudioEngine: no sound device with driver %s: %s",
              SDL_GetCurrentAudioDriver() ? SDL_GetCurrentAudioDriver() : "(none)", Mix_GetError());
        return false;
    }
    if (!m_mixInit) {
        m_mix->init(MIX_INIT_MP3);
        m_mixInit = true;
    }
    int rate = 0, channels = 0;
    Uint16 format = 0;
    if (m_mix->querySpec(&rate, &format, &channels) && rate > 0 && channels > 0) {
        m_deviceRate = rate;
        m_frameBytes = std::max(1, channels * (int)SDL_AUDIO_BITSIZE(format) / 8);
    }
    const char* driver = SDL_GetCurrentAudioDriver();
    m_silentDriver = driver && std::string(driver) == "dummy";
    m_counting = false;
    m_mix->setPostMix(&SdlMixerAudioBackend::onMixed, this);
    m_open = true;
    ++m_deviceOpens;
    m_silent = false;
    m_mix->volumeMusic((int)(m_volume * MIX_MAX_VOLUME + 0.5f));
    watchForIdle(true);
    return true;
}

void SdlMixerAudioBackend::closeDevice() {
    if (!m_open) return;
    watchForIdle(false);
    freeMusic();
    m_mix->setPostMix(nullptr, nullptr);
    m_mix->closeAudio();
    m_open = false;
}

bool SdlMixerAudioBackend::ensureOpen() {
    if (m_open) return true;
    if (m_openFailed) return false;
    waitForAudioStart();
    if (!m_mix) {
        std::string why;
        m_mix = mixerLibrary(&why);
        if (!m_mix) {
            // Without it nothing can play on any driver: say so once, as for no device.
            CCLog("SimpleAudioEngine: no sound mixer: %s", why.c_str());
            m_openFailed = true;
            return false;
        }
    }
    // After a shutdown the audio system starts again here, with the driver asked for.
    if (!m_audioStarted && !m_startFailed)
        startAudio(m_driver.empty() ? nullptr : m_driver.c_str());
    bool ok = m_audioStarted && openDevice();
    if (!ok) {
        if (m_audioStarted) stopAudioSystem();
        m_audioStarted = false;
        CCLog("SimpleAudioEngine: falling back to the silent dummy audio driver");
        ok = startAudio("dummy") && openDevice();
        if (!ok && m_audioStarted) {
            stopAudioSystem();
            m_audioStarted = false;
        }
    }
    if (!ok) {
        // Remember, so that every poll does not retry the device.
        m_openFailed = true;
        return false;
    }
    return true;
}

void SdlMixerAudioBackend::watchForIdle(bool on) {
    CCDirector* director = CCDirector::sharedDirectorIfAlive();
    if (!director) return;
    if (!m_ticks) m_ticks = new BackendTicks(this);
    CCScheduler* scheduler = director->getScheduler();
    if (on) {
        scheduler->scheduleSelector(memberCallback(&BackendTicks::checkIdle), m_ticks,
                                    kIdleCheckSeconds, false);
    } else {
        scheduler->unscheduleSelector(memberCallback(&BackendTicks::checkIdle), m_ticks);
    }
}

void SdlMixerAudioBackend::started(double recordedSeconds, double heardSeconds) {
    m_silent = false;
    countFromStart();
    m_lastLength = std::max({0.0, recordedSeconds, heardSeconds});
}

double SdlMixerAudioBackend::idleLimit() const {
    // The longer of the two lengths: a pause may be measured by either (stretched speech is
    // heard longer or shorter than it was recorded).
    return m_lastLength + kSilenceBeyondTheSound;
}

bool SdlMixerAudioBackend::closeIfIdle(float elapsed) {
    if (!m_open) {
        watchForIdle(false);
        return false;
    }
    // A paused recording keeps its device: resuming must go on where it stopped. A held one
    // is kept whatever plays.
    if (m_held || m_mix->playingMusic() != 0) {
        m_silent = false;
        return false;
    }
    // Counted in the scheduler's time from the first check that heard nothing, so that it
    // does not matter how the checks fall against the reader's own ticks.
    if (!m_silent) {
        m_silent = true;
        m_silentFor = 0;
        return false;
    }
    if (elapsed > 0) m_silentFor += elapsed;
    if (m_silentFor <= idleLimit()) return false;
    closeDevice();
    return true;
}

void SdlMixerAudioBackend::freeMusic() {
    if (!m_music) return;
    m_mix->haltMusic();
    m_mix->freeMusic(m_music);
    m_music = nullptr;
}

bool SdlMixerAudioBackend::playMusic(const std::string& /*requestedPath*/,
                                     const std::string& fullPath, bool loop) {
    m_playProblem.clear();
    if (!ensureOpen()) return false;
    // Whatever played stops first, also when the new file turns out unplayable.
    freeMusic();
    m_musicPath.clear();
    m_stretched.reset();
    m_music = m_mix->loadMusic(fullPath.c_str());
    if (!m_music) {
        m_playProblem = std::string("the sound mixer cannot play it: ") + Mix_GetError();
        return false;
    }
    m_loop = loop;
    if (m_mix->playMusic(m_music, loop ? -1 : 0) != 0) {
        m_playProblem = std::string("the sound mixer cannot start it: ") + Mix_GetError();
        freeMusic();
        return false;
    }
    m_musicPath = fullPath;
    double length = m_mix->musicDuration(m_music);
    started(length, length);
    watchForIdle(true);
    return true;
}

void SdlMixerAudioBackend::stopMusic() {
    if (m_open) freeMusic();
    m_musicPath.clear();
    m_stretched.reset();
}

void SdlMixerAudioBackend::pauseMusic() {
    if (!m_open || !m_music) return;
    m_mix->pauseMusic();
    m_counting = false;
}

void SdlMixerAudioBackend::resumeMusic() {
    if (!m_open || !m_music) return;
    m_mix->resumeMusic();
    m_counting = true;
}

void SdlMixerAudioBackend::countFromStart() {
    m_playedFrames = 0;
    m_counting = true;
}

void SdlMixerAudioBackend::onMixed(void* self, unsigned char*, int length) {
    auto* backend = static_cast<SdlMixerAudioBackend*>(self);
    if (backend->m_counting) backend->m_playedFrames += length / backend->m_frameBytes;
}

double SdlMixerAudioBackend::playedSeconds() {
    if (!m_open || !m_music) return -1;
    // A buffer is taken one device buffer before it is heard.
    double taken = (double)m_playedFrames.load() / m_deviceRate;
    return std::max(0.0, taken - outputLatency());
}

double SdlMixerAudioBackend::outputLatency() const { return (double)kDeviceFrames / m_deviceRate; }

void SdlMixerAudioBackend::holdDevice(bool held) {
    m_held = held;
    m_silent = false;  // silence, if any, counts from the release
}

void SdlMixerAudioBackend::rewindMusic() {
    if (!m_open && !m_musicPath.empty()) {
        // The device closed after the recording ended: open it and start the file again.
        std::string path = m_musicPath;
        playMusic(path, path, m_loop);
        return;
    }
    if (!m_open && m_stretched) {
        std::shared_ptr<StretchedSound> sound = m_stretched;
        playStretchedMusic(m_stretchedPath, std::move(sound), m_loop);
        return;
    }
    if (!m_open || !m_music) return;
    // Also restarts a recording that has already ended.
    m_mix->haltMusic();
    m_mix->playMusic(m_music, m_loop ? -1 : 0);
    started(m_lastLength, m_lastLength);
}

bool SdlMixerAudioBackend::isMusicPlaying() {
    // Ask the mixer: a second play replaces the first without any "finished" notice, so
    // state kept from hooks would lie.
    if (!m_open || !m_music) return false;
    return m_mix->playingMusic() != 0 && m_mix->pausedMusic() == 0;
}

void SdlMixerAudioBackend::setMusicVolume(float volume) {
    m_volume = volume;
    if (m_open) m_mix->volumeMusic((int)(volume * MIX_MAX_VOLUME + 0.5f));
}

void SdlMixerAudioBackend::shutdown() {
    // Nothing started yet: nothing to start only to stop it (the next play starts it).
    cancelDeferredStart();
    waitForAudioStart();
    closeDevice();
    m_musicPath.clear();
    if (m_mixInit) {
        m_mix->quit();
        m_mixInit = false;
    }
    if (m_audioStarted) {
        stopAudioSystem();
        m_audioStarted = false;
    }
    m_openFailed = false;
    m_startFailed = false;
}

std::string SdlMixerAudioBackend::currentDriver() const {
    if (!m_open) return "";
    const char* name = SDL_GetCurrentAudioDriver();
    return name ? name : "";
}

double SdlMixerAudioBackend::currentDuration() const {
    return m_music ? m_mix->musicDuration(m_music) : -1.0;
}

// --- Stretched recordings (slower/faster speech) -------------------------------------------

bool SdlMixerAudioBackend::playStretchedMusic(const std::string& requestedPath,
                                              std::shared_ptr<StretchedSound> sound, bool loop) {
    m_playProblem.clear();
    if (!ensureOpen()) return false;
    freeMusic();
    m_musicPath.clear();
    m_stretchedPath = requestedPath;
    m_stretched = std::move(sound);
    SDL_RWops* stream = openStretchedSoundStream(m_stretched);
    m_music = stream ? m_mix->loadMusicTypeRW(stream, MUS_WAV, 1) : nullptr;
    if (!m_music) {
        m_playProblem =
            std::string("the sound mixer cannot play it slowed or sped up: ") + Mix_GetError();
        return false;
    }
    m_loop = loop;
    if (m_mix->playMusic(m_music, loop ? -1 : 0) != 0) {
        m_playProblem =
            std::string("the sound mixer cannot start it slowed or sped up: ") + Mix_GetError();
        freeMusic();
        return false;
    }
    started(m_stretched->recordedSeconds(), m_stretched->seconds());
    watchForIdle(true);
    return true;
}

}  // namespace pagly::audio
