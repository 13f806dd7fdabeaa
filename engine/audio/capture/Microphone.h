#pragma once

#include <memory>

namespace pagly::audio {

class CaptureBackend;

// Where the reader gets its microphone: the SDL capture back-end by default (made on first
// use), or one a test installs, as SimpleAudioEngine does for playback.
class Microphone {
  public:
    static Microphone* shared();

    // The back-end in use, creating the default one on first use.
    CaptureBackend* backend();
    // Installs a back-end and returns the previous one (null if none was made), stopped.
    std::unique_ptr<CaptureBackend> setBackend(std::unique_ptr<CaptureBackend> backend);

  private:
    Microphone() = default;
    std::unique_ptr<CaptureBackend> m_backend;
};

}  // namespace pagly::audio
