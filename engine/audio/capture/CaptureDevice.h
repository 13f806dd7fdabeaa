#pragma once

#include <string>

#include "engine/audio/capture/CaptureBackend.h"

namespace pagly::audio {

class SampleRing;

// One microphone as the capture worker drives it, on the worker's own thread: opening and
// closing may take long or, with a stalled sound server, not return for as long as it stalls.
class CaptureDevice {
  public:
    virtual ~CaptureDevice() = default;
    // Opens the device and starts writing its samples (mono, `rate` per second) into `ring`
    // until close(). Returns Started, NoDevice or Refused; `problem` says why not.
    virtual CaptureBackend::Outcome open(SampleRing& ring, int& rate, std::string& problem) = 0;
    // Stops writing and lets the device go; nothing is written into the ring afterwards.
    virtual void close() = 0;
};

}  // namespace pagly::audio
