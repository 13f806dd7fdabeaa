#pragma once

#include <SDL.h>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>

#include "engine/audio/capture/CaptureDevice.h"

namespace pagly::audio {

class SampleRing;
class SdlCaptureDevice;

// Records from a capture device (SDL's default one unless another is given) through a worker
// thread that owns it: the engine thread only posts "open" and "close" and reads the answer
// and the samples. Opening or closing a capture device can take most of a second, and with a
// stalled sound server does not return at all; the window never waits for it. The device
// writes into a lock-free ring of several seconds, which the engine thread empties every
// frame: a page that animates or a slow frame never makes the device wait or lose samples.
class SdlCaptureBackend : public CaptureBackend {
  public:
    static constexpr int kSampleRate = 16000;
    static constexpr double kRingSeconds = 8.0;

    // `device` null: SDL's default capture device.
    explicit SdlCaptureBackend(std::unique_ptr<CaptureDevice> device = nullptr);
    // Waits for the worker to finish what it was asked.
    ~SdlCaptureBackend() override;

    Outcome start(std::string* problem = nullptr) override;
    Outcome outcome(std::string* problem = nullptr) const override;
    void stop() override;
    bool isCapturing() const override;
    int sampleRate() const override;
    size_t take(std::vector<float>& out) override;
    size_t droppedSamples() const override;
    double now() const override;

    // The format SDL reports for the opened device (what its raw input is made of); zeros
    // unless SDL's device has opened.
    SDL_AudioSpec deviceSpec() const;

  private:
    struct Request {
        enum Kind { Open, Close, Quit } kind;
        unsigned recording;                // which start it belongs to
        std::shared_ptr<SampleRing> ring;  // Open: where the samples go
    };
    void post(Request request);
    // The worker's loop, and what it does with one request.
    void work();
    void handle(Request request);

    std::unique_ptr<CaptureDevice> m_device;   // used by the worker only
    bool m_deviceOpen = false;                 // the worker's
    std::shared_ptr<SampleRing> m_deviceRing;  // the worker's: where the open device writes
    SdlCaptureDevice* m_sdlDevice = nullptr;   // m_device when it is SDL's
    SDL_Thread* m_worker = nullptr;            // an SDL thread: SDL frees its per-thread error text
    mutable std::mutex m_lock;
    std::condition_variable m_wake;
    std::deque<Request> m_requests;  // under m_lock
    // The worker's answer to the latest open (under m_lock).
    unsigned m_answered = 0;
    Outcome m_answer = NoDevice;
    std::string m_problem;
    int m_rate = kSampleRate;
    // The engine thread's side.
    unsigned m_recording = 0;  // counts starts
    bool m_capturing = false;
    std::shared_ptr<SampleRing> m_ring;
    size_t m_lastDropped = 0;
};

}  // namespace pagly::audio
