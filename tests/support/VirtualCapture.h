#pragma once

#include <memory>

namespace pagly::audio {
class CaptureBackend;
class VirtualCaptureBackend;
}  // namespace pagly::audio

namespace pagly::test {

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
