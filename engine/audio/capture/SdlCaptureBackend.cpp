// Recording through a worker that owns the capture device (see SdlCaptureBackend.h).
#include "engine/audio/capture/SdlCaptureBackend.h"

#include <chrono>

#include "engine/audio/capture/SampleRing.h"
#include "engine/audio/capture/SdlCaptureDevice.h"

namespace pagly::audio {

SdlCaptureBackend::SdlCaptureBackend(std::unique_ptr<CaptureDevice> device)
    : m_device(std::move(device)) {
    if (!m_device) {
        auto sdl = std::make_unique<SdlCaptureDevice>();
        m_sdlDevice = sdl.get();
        m_device = std::move(sdl);
    }
    m_worker = SDL_CreateThread(
        [](void* self) {
            static_cast<SdlCaptureBackend*>(self)->work();
            return 0;
        },
        "pagly capture", this);
}

SdlCaptureBackend::~SdlCaptureBackend() {
    stop();
    post({Request::Quit, 0, nullptr});
    SDL_WaitThread(m_worker, nullptr);
}

void SdlCaptureBackend::post(Request request) {
    if (!m_worker) {
        // No thread could be made: the device is driven here, as before there was a worker.
        handle(std::move(request));
        return;
    }
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_requests.push_back(std::move(request));
    }
    m_wake.notify_one();
}

void SdlCaptureBackend::work() {
    for (;;) {
        Request request;
        {
            std::unique_lock<std::mutex> hold(m_lock);
            m_wake.wait(hold, [this] { return !m_requests.empty(); });
            request = std::move(m_requests.front());
            m_requests.pop_front();
        }
        bool quit = request.kind == Request::Quit;
        handle(std::move(request));
        if (quit) return;
    }
}

void SdlCaptureBackend::handle(Request request) {
    if (request.kind == Request::Open) {
        // A recording abandoned before its device opened is not opened at all: a stalled
        // device would only be waited on again.
        std::lock_guard<std::mutex> hold(m_lock);
        if (request.recording != m_recording) return;
    }
    if (m_deviceOpen) m_device->close();
    m_deviceOpen = false;
    m_deviceRing.reset();
    if (request.kind != Request::Open) return;
    std::string problem;
    int rate = kSampleRate;
    Outcome outcome = m_device->open(*request.ring, rate, problem);
    m_deviceOpen = outcome == Started;
    if (m_deviceOpen) m_deviceRing = request.ring;  // kept while the device may write into it
    std::lock_guard<std::mutex> hold(m_lock);
    if (request.recording != m_recording) return;  // abandoned meanwhile: closed next
    m_answered = request.recording;
    m_answer = outcome;
    m_problem = problem;
    m_rate = rate;
}

CaptureBackend::Outcome SdlCaptureBackend::start(std::string* problem) {
    stop();
    m_ring = std::make_shared<SampleRing>((size_t)(kRingSeconds * kSampleRate));
    m_capturing = true;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        ++m_recording;
    }
    post({Request::Open, m_recording, m_ring});
    return outcome(problem);
}

CaptureBackend::Outcome SdlCaptureBackend::outcome(std::string* problem) const {
    std::lock_guard<std::mutex> hold(m_lock);
    if (m_answered != m_recording) return Opening;
    if (problem) *problem = m_problem;
    return m_answer;
}

void SdlCaptureBackend::stop() {
    if (!m_capturing) return;
    m_capturing = false;
    m_lastDropped = m_ring ? m_ring->dropped() : 0;
    m_ring.reset();  // the worker keeps it while the device may still write
    unsigned recording;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        recording = m_recording;
        // No later answer belongs to a recording: the next start is a new one.
        ++m_recording;
    }
    post({Request::Close, recording, nullptr});
}

bool SdlCaptureBackend::isCapturing() const {
    if (!m_capturing) return false;
    Outcome now = outcome();
    return now == Started || now == Opening;
}

int SdlCaptureBackend::sampleRate() const {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_rate;
}

size_t SdlCaptureBackend::take(std::vector<float>& out) {
    if (!m_capturing || !m_ring || outcome() != Started) return 0;
    return m_ring->readAll(out);
}

size_t SdlCaptureBackend::droppedSamples() const {
    return m_ring ? m_ring->dropped() : m_lastDropped;
}

double SdlCaptureBackend::now() const {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

SDL_AudioSpec SdlCaptureBackend::deviceSpec() const {
    if (!m_sdlDevice || outcome() != Started) return SDL_AudioSpec{};
    return m_sdlDevice->spec();
}

}  // namespace pagly::audio
