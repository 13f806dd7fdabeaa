#include "support/VirtualCapture.h"

#include "engine/audio/capture/Microphone.h"
#include "engine/audio/capture/VirtualCaptureBackend.h"

using namespace pagly::audio;

namespace pagly::test {

VirtualCaptureScope::VirtualCaptureScope() {
    auto backend = std::make_unique<VirtualCaptureBackend>();
    m_backend = backend.get();
    m_previous = Microphone::shared()->setBackend(std::move(backend));
}

VirtualCaptureScope::~VirtualCaptureScope() {
    Microphone::shared()->setBackend(std::move(m_previous));
}

}  // namespace pagly::test
