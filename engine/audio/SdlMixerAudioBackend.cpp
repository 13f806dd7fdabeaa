#include "engine/audio/SdlMixerAudioBackend.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include "engine/audio/StretchedSoundStream.h"
#include "engine/base/CCObject.h"

namespace pagly::audio {

using namespace pagly::engine;

SdlMixerAudioBackend::SdlMixerAudioBackend(const char* driver) : m_driver(driver ? driver : "") {}

SdlMixerAudioBackend::~SdlMixerAudioBackend() { shutdown(); }

bool SdlMixerAudioBackend::openWithDriver(const char* driver) {
    if (driver) SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, driver, SDL_HINT_OVERRIDE);
    bool ok = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    // The driver choice only matters while the subsystem starts; later openings choose anew.
    if (driver) SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    if (!ok) {
        CCLog("SimpleAudioEngine: audio driver %s did not start: %s", driver ? driver : "(default)",
              SDL_GetError());
        return false;
    }
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 2048) != 0) {
        CCLog("SimpleAudioEngine: no sound device with driver %s: %s",
              driver ? driver : SDL_GetCurrentAudioDriver(), Mix_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    return true;
}

bool SdlMixerAudioBackend::ensureOpen() {
    if (m_open) return true;
    if (m_openFailed) return false;
    bool ok = openWithDriver(m_driver.empty() ? nullptr : m_driver.c_str());
    if (!ok) {
        CCLog("SimpleAudioEngine: falling back to the silent dummy audio driver");
        ok = openWithDriver("dummy");
    }
    if (!ok) {
        // Remember, so that every poll does not retry the device.
        m_openFailed = true;
        return false;
    }
    Mix_Init(MIX_INIT_MP3);
    m_open = true;
    Mix_VolumeMusic((int)(m_volume * MIX_MAX_VOLUME + 0.5f));
    return true;
}

void SdlMixerAudioBackend::freeMusic() {
    if (!m_music) return;
    Mix_HaltMusic();
    Mix_FreeMusic(m_music);
    m_music = nullptr;
}

bool SdlMixerAudioBackend::playMusic(const std::string& requestedPath, const std::string& fullPath,
                                     bool loop) {
    if (!ensureOpen()) return false;
    // Whatever played stops first, also when the new file turns out unplayable.
    freeMusic();
    m_music = Mix_LoadMUS(fullPath.c_str());
    if (!m_music) {
        CCLog("SimpleAudioEngine: cannot play %s: %s", requestedPath.c_str(), Mix_GetError());
        return false;
    }
    m_loop = loop;
    if (Mix_PlayMusic(m_music, loop ? -1 : 0) != 0) {
        CCLog("SimpleAudioEngine: cannot start %s: %s", requestedPath.c_str(), Mix_GetError());
        freeMusic();
        return false;
    }
    return true;
}

void SdlMixerAudioBackend::stopMusic() {
    if (m_open) freeMusic();
}

void SdlMixerAudioBackend::pauseMusic() {
    if (m_open && m_music) Mix_PauseMusic();
}

void SdlMixerAudioBackend::resumeMusic() {
    if (m_open && m_music) Mix_ResumeMusic();
}

void SdlMixerAudioBackend::rewindMusic() {
    if (!m_open || !m_music) return;
    // Also restarts a recording that has already ended.
    Mix_HaltMusic();
    Mix_PlayMusic(m_music, m_loop ? -1 : 0);
}

bool SdlMixerAudioBackend::isMusicPlaying() {
    // Ask the mixer: a second play replaces the first without any "finished" notice, so
    // state kept from hooks would lie.
    if (!m_open || !m_music) return false;
    return Mix_PlayingMusic() != 0 && Mix_PausedMusic() == 0;
}

void SdlMixerAudioBackend::setMusicVolume(float volume) {
    m_volume = volume;
    if (m_open) Mix_VolumeMusic((int)(volume * MIX_MAX_VOLUME + 0.5f));
}

void SdlMixerAudioBackend::shutdown() {
    if (!m_open) {
        m_openFailed = false;
        return;
    }
    freeMusic();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    m_open = false;
    m_openFailed = false;
}

std::string SdlMixerAudioBackend::currentDriver() const {
    if (!m_open) return "";
    const char* name = SDL_GetCurrentAudioDriver();
    return name ? name : "";
}

double SdlMixerAudioBackend::currentDuration() const {
    return m_music ? Mix_MusicDuration(m_music) : -1.0;
}

// --- Stretched recordings (slower/faster speech) -------------------------------------------

bool SdlMixerAudioBackend::playStretchedMusic(const std::string& requestedPath,
                                              std::shared_ptr<StretchedSound> sound, bool loop) {
    if (!ensureOpen()) return false;
    freeMusic();
    m_stretched = std::move(sound);
    SDL_RWops* stream = openStretchedSoundStream(m_stretched);
    m_music = stream ? Mix_LoadMUSType_RW(stream, MUS_WAV, 1) : nullptr;
    if (!m_music) {
        CCLog("SimpleAudioEngine: cannot play stretched %s: %s", requestedPath.c_str(),
              Mix_GetError());
        return false;
    }
    m_loop = loop;
    if (Mix_PlayMusic(m_music, loop ? -1 : 0) != 0) {
        CCLog("SimpleAudioEngine: cannot start stretched %s: %s", requestedPath.c_str(),
              Mix_GetError());
        freeMusic();
        return false;
    }
    return true;
}

}  // namespace pagly::audio
