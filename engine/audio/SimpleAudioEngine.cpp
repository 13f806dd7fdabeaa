#include "engine/audio/SimpleAudioEngine.h"

#include <algorithm>
#include <cmath>

#include "engine/audio/AudioBackend.h"
#include "engine/audio/Mp3Duration.h"
#include "engine/audio/SdlMixerAudioBackend.h"
#include "engine/audio/StretchCache.h"
#include "engine/base/CCObject.h"
#include "engine/director/CCDirector.h"
#include "engine/platform/CCFileUtils.h"
#include "engine/platform/UnusableFiles.h"

namespace pagly::audio {

using namespace pagly::engine;

namespace {

// Why a recording's bytes cannot be played, or empty when they can.
std::string recordingProblem(const std::string& bytes) {
    if (bytes.empty()) return "it is empty";
    if (mp3Duration((const unsigned char*)bytes.data(), bytes.size()) < 0)
        return "it is not an MP3 recording (no run of MPEG audio frames near its start)";
    return std::string();
}

}  // namespace

SimpleAudioEngine* SimpleAudioEngine::sharedEngine() {
    // Never destroyed: SDL_mixer must not be torn down from a static destructor that may run
    // after SDL itself has quit.
    static SimpleAudioEngine* engine = new SimpleAudioEngine();
    return engine;
}

void SimpleAudioEngine::end() {
    SimpleAudioEngine* engine = sharedEngine();
    engine->m_bMusicStarted = false;
    if (engine->m_backend) engine->m_backend->shutdown();
}

SimpleAudioEngine::SimpleAudioEngine() : m_stretches(std::make_unique<StretchCache>()) {}
SimpleAudioEngine::~SimpleAudioEngine() = default;

AudioBackend* SimpleAudioEngine::backend() {
    if (!m_backend) {
        m_backend = std::make_unique<SdlMixerAudioBackend>();
        m_backend->setMusicVolume(m_fMusicVolume);
    }
    return m_backend.get();
}

std::unique_ptr<AudioBackend> SimpleAudioEngine::setBackend(std::unique_ptr<AudioBackend> backend) {
    std::unique_ptr<AudioBackend> previous = std::move(m_backend);
    if (previous) previous->stopMusic();
    m_backend = std::move(backend);
    m_bMusicStarted = false;
    m_toldNoDevice = false;  // another device: its absence is told anew
    if (m_backend) m_backend->setMusicVolume(m_fMusicVolume);
    return previous;
}

void SimpleAudioEngine::preloadBackgroundMusic(const char*) {
    // Recordings are short and decoded as they stream; there is nothing worth preloading.
}

void SimpleAudioEngine::playBackgroundMusic(const char* path, bool loop) {
    AudioBackend* audio = backend();
    if (!path || !*path) {
        // Still "replaces what plays": a request for nothing leaves silence.
        audio->stopMusic();
        m_bMusicStarted = false;
        CCLog("SimpleAudioEngine: playBackgroundMusic without a file name");
        return;
    }
    std::string fullPath = CCFileUtils::sharedFileUtils()->fullPathForFilename(path);
    bool stretched = false;
    if (m_fMusicSpeed != 1.0f) {
        std::shared_ptr<StretchedSound> sound = m_stretches->soundFor(fullPath, m_fMusicSpeed);
        if (sound) {
            m_bMusicStarted = audio->playStretchedMusic(path, std::move(sound), loop);
            stretched = true;
        }
        // Not decodable here: the back-end's own player tries it at full speed.
    }
    if (!stretched) m_bMusicStarted = audio->playMusic(path, fullPath, loop);
    if (CCDirector* director = CCDirector::sharedDirectorIfAlive())
        m_musicStartedAt = director->getElapsedTime();
    // Only a recording that did not start is read again to say why: a tap on a good sentence
    // reads its file once, in the back-end. One reason per file, so one log line: the plain
    // one found here, else the back-end's.
    if (!m_bMusicStarted) {
        std::string bytes;
        std::string problem = CCFileUtils::sharedFileUtils()->readFile(fullPath, bytes)
                                  ? recordingProblem(bytes)
                                  : whyUnreadable(fullPath);
        if (problem.empty()) problem = audio->playProblem();
        if (!problem.empty()) reportUnusableFile(fullPath, problem);
    }
}

void SimpleAudioEngine::setBackgroundMusicSpeed(float speed) {
    if (!(speed > 0.0f) || !std::isfinite(speed)) return;
    m_fMusicSpeed = speed;
}

void SimpleAudioEngine::stopBackgroundMusic(bool) {
    m_bMusicStarted = false;
    backend()->stopMusic();
}

void SimpleAudioEngine::pauseBackgroundMusic() { backend()->pauseMusic(); }
void SimpleAudioEngine::resumeBackgroundMusic() { backend()->resumeMusic(); }
void SimpleAudioEngine::rewindBackgroundMusic() {
    backend()->rewindMusic();
    if (CCDirector* director = CCDirector::sharedDirectorIfAlive())
        m_musicStartedAt = director->getElapsedTime();
}

bool SimpleAudioEngine::isBackgroundMusicPlaying() { return backend()->isMusicPlaying(); }

double SimpleAudioEngine::getBackgroundMusicHeardSeconds() {
    AudioBackend* audio = backend();
    if (!audio->isMusicPlaying()) return -1;
    double heard = audio->playedSeconds();
    if (heard >= 0) return heard;
    CCDirector* director = CCDirector::sharedDirectorIfAlive();
    return director ? std::max(0.0, director->getElapsedTime() - m_musicStartedAt) : -1;
}

void SimpleAudioEngine::holdSoundDevice(bool held) { backend()->holdDevice(held); }

bool SimpleAudioEngine::takeNoSoundDeviceNotice() {
    if (m_toldNoDevice || !m_backend || !m_backend->isSilent()) return false;
    m_toldNoDevice = true;
    return true;
}

void SimpleAudioEngine::setBackgroundMusicVolume(float volume) {
    if (std::isnan(volume)) return;
    if (volume < 0.0f) volume = 0.0f;
    if (volume > 1.0f) volume = 1.0f;
    m_fMusicVolume = volume;
    backend()->setMusicVolume(volume);
}

}  // namespace pagly::audio
