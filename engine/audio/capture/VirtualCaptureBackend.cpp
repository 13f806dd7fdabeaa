// The test microphone on the director's clock (see VirtualCaptureBackend.h).
#include "engine/audio/capture/VirtualCaptureBackend.h"

#include <cmath>

#include "engine/director/CCDirector.h"

namespace pagly::audio {

using namespace pagly::engine;

double VirtualCaptureBackend::clock() const {
    CCDirector* director = CCDirector::sharedDirectorIfAlive();
    return director ? director->getElapsedTime() : 0.0;
}

CaptureBackend::Outcome VirtualCaptureBackend::start(std::string* problem) {
    ++m_starts;
    m_capturing = false;
    m_lastOutcome = m_outcome;
    if (m_outcome != Started) return outcome(problem);
    m_capturing = true;
    m_startedAt = clock();
    m_delivered = 0;
    return Started;
}

CaptureBackend::Outcome VirtualCaptureBackend::outcome(std::string* problem) const {
    if (problem && m_lastOutcome != Started)
        *problem = m_lastOutcome == NoDevice ? "no capture device" : "the device refused";
    return m_lastOutcome;
}

size_t VirtualCaptureBackend::take(std::vector<float>& out) {
    if (!m_capturing || !m_delivering) return 0;
    double elapsed = clock() - m_startedAt;
    if (elapsed < 0) elapsed = 0;
    size_t due = (size_t)std::floor(elapsed * m_rate + 1e-6);
    if (due <= m_delivered) return 0;
    size_t n = due - m_delivered;
    for (size_t i = 0; i < n; ++i) {
        size_t at = m_delivered + i;
        out.push_back(at < m_source.size() ? m_source[at] : 0.0f);
    }
    m_delivered = due;
    return n;
}

}  // namespace pagly::audio
