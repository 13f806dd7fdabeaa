// The microphone's back-end holder (see Microphone.h).
#include "engine/audio/capture/Microphone.h"

#include "engine/audio/capture/SdlCaptureBackend.h"

namespace pagly::audio {

Microphone* Microphone::shared() {
    // Never destroyed, like the audio engine: SDL may have quit before static destructors run.
    static Microphone* microphone = new Microphone();
    return microphone;
}

CaptureBackend* Microphone::backend() {
    if (!m_backend) m_backend = std::make_unique<SdlCaptureBackend>();
    return m_backend.get();
}

std::unique_ptr<CaptureBackend> Microphone::setBackend(std::unique_ptr<CaptureBackend> backend) {
    std::unique_ptr<CaptureBackend> previous = std::move(m_backend);
    if (previous) previous->stop();
    m_backend = std::move(backend);
    return previous;
}

}  // namespace pagly::audio
