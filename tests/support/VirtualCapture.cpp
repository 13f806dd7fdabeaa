#include "support/VirtualCapture.h"

#include <cmath>

#include "engine/audio/capture/Microphone.h"
#include "engine/audio/capture/VirtualCaptureBackend.h"

using namespace pagly::audio;

namespace pagly::test {

std::vector<float> roomNoise(double seconds, double dbfs, int rate) {
    std::vector<float> out((size_t)(seconds * rate));
    // Uniform in -a..a has a mean square of a*a/3.
    double a = std::sqrt(3.0) * std::pow(10.0, dbfs / 20);
    unsigned state = 12345;
    for (float& v : out) {
        state = state * 1103515245u + 12345u;
        v = (float)(a * (((state >> 8) & 0xFFFF) / 32767.5 - 1.0));
    }
    return out;
}

VirtualCaptureScope::VirtualCaptureScope() {
    auto backend = std::make_unique<VirtualCaptureBackend>();
    m_backend = backend.get();
    m_previous = Microphone::shared()->setBackend(std::move(backend));
}

VirtualCaptureScope::~VirtualCaptureScope() {
    Microphone::shared()->setBackend(std::move(m_previous));
}

}  // namespace pagly::test
