#include "engine/audio/VirtualAudioBackend.h"

#include <algorithm>
#include <cmath>

#include "engine/audio/Mp3Duration.h"
#include "engine/audio/StretchedSound.h"
#include "engine/base/CCObject.h"
#include "engine/director/CCDirector.h"

namespace pagly::audio {

using namespace pagly::engine;

namespace {
// Director time adds up 1/60 s steps in floating point; this keeps a 2 s recording from
// ending a frame early or late because of rounding.
const double kEpsilon = 1e-6;
}  // namespace

double VirtualAudioBackend::clock() const {
    CCDirector* director = CCDirector::sharedDirectorIfAlive();
    return director ? director->getElapsedTime() : 0.0;
}

bool VirtualAudioBackend::playMusic(const std::string& requestedPath, const std::string& fullPath,
                                    bool loop) {
    m_requests.push_back(requestedPath);
    stopMusic();
    double length = mp3DurationOfFile(fullPath);
    if (length <= 0) return false;  // the audio engine has said why
    start(requestedPath, length, loop);
    return true;
}

bool VirtualAudioBackend::playStretchedMusic(const std::string& requestedPath,
                                             std::shared_ptr<StretchedSound> sound, bool loop) {
    m_requests.push_back(requestedPath);
    stopMusic();
    if (!sound || sound->seconds() <= 0) return false;
    start(requestedPath, sound->seconds(), loop);
    return true;
}

void VirtualAudioBackend::start(const std::string& requestedPath, double length, bool loop) {
    m_active = true;
    m_current = requestedPath;
    m_duration = length;
    m_loop = loop;
    m_start = clock() + m_startDelay;
    m_pausedAt = -1;
}

void VirtualAudioBackend::stopMusic() {
    m_active = false;
    m_current.clear();
    m_pausedAt = -1;
}

void VirtualAudioBackend::pauseMusic() {
    update();
    if (m_active && m_pausedAt < 0) m_pausedAt = std::max(0.0, clock() - m_start);
}

void VirtualAudioBackend::resumeMusic() {
    if (!m_active || m_pausedAt < 0) return;
    m_start = clock() - m_pausedAt;
    m_pausedAt = -1;
}

void VirtualAudioBackend::rewindMusic() {
    update();
    // A recording that has ended is kept and starts again, as with the real mixer.
    if (m_current.empty()) return;
    m_active = true;
    m_start = clock();
    if (m_pausedAt >= 0) m_pausedAt = 0;
}

void VirtualAudioBackend::update() {
    if (!m_active) return;
    double now = clock();
    if (now + kEpsilon < m_start - m_startDelay) {
        // The director's clock went back (a reset): everything that played is gone.
        stopMusic();
        return;
    }
    if (m_loop || m_pausedAt >= 0) return;
    if (now - m_start + kEpsilon >= m_duration) {
        // Ended by itself; keep the name for rewind, as a real player keeps its data.
        m_active = false;
    }
}

bool VirtualAudioBackend::isMusicPlaying() {
    update();
    return m_active && m_pausedAt < 0;
}

std::string VirtualAudioBackend::currentMusic() {
    update();
    return m_active ? m_current : std::string();
}

double VirtualAudioBackend::position() {
    update();
    if (!m_active) return -1.0;
    double played = m_pausedAt >= 0 ? m_pausedAt : std::max(0.0, clock() - m_start);
    return m_loop ? std::fmod(played, m_duration) : played;
}

}  // namespace pagly::audio
