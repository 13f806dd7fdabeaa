#pragma once

#include <memory>
#include <vector>

namespace pagly::audio {
class CaptureBackend;
class VirtualCaptureBackend;
}  // namespace pagly::audio

namespace pagly::test {

// A room's noise as a microphone hears it: white noise at `dbfs` (a fixed sequence), `rate`
// samples a second.
std::vector<float> roomNoise(double seconds, double dbfs, int rate = 16000);

// Puts the virtual-clock microphone under Microphone for its lifetime and gives the previous
// back-end back afterwards: recordings then hear what the test feeds, a second of samples per
// second of the director's clock.
class VirtualCaptureScope {
  public:
    VirtualCaptureScope();
    ~VirtualCaptureScope();
    VirtualCaptureScope(const VirtualCaptureScope&) = delete;
    VirtualCaptureScope& operator=(const VirtualCaptureScope&) = delete;

    audio::VirtualCaptureBackend& backend() { return *m_backend; }

  private:
    audio::VirtualCaptureBackend* m_backend;  // non-owning: Microphone owns it
    std::unique_ptr<audio::CaptureBackend> m_previous;
};

}  // namespace pagly::test
