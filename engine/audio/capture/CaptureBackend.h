#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace pagly::audio {

// The seam under the microphone, beside playback's: the real back-end records from SDL's
// default capture device; tests install a virtual-clock one that hands out known samples as
// the director's clock advances. Samples are mono floats in -1..1.
class CaptureBackend {
  public:
    enum Outcome {
        Started,
        NoDevice,  // no microphone at all (or no sound system that records)
        Refused,   // there is one, but it could not be opened (busy, denied)
        Opening,   // asked for; the device opens on a thread of its own (see outcome())
    };

    virtual ~CaptureBackend() = default;

    // Asks for the default microphone and starts recording; `problem` (when given) says why
    // not. A back-end that opens its device elsewhere answers Opening, and outcome() later.
    // Never waits on the device.
    virtual Outcome start(std::string* problem = nullptr) = 0;
    // How the last start went, as known now (Opening while the device still opens).
    virtual Outcome outcome(std::string* problem = nullptr) const = 0;
    // Stops recording and lets go of the device; samples not taken yet are dropped. Never
    // waits on the device.
    virtual void stop() = 0;
    // Asked for and not stopped (it may still be opening).
    virtual bool isCapturing() const = 0;
    // Samples per second of what take() hands out.
    virtual int sampleRate() const = 0;
    // Appends to `out` what was recorded since the last call; returns how many samples.
    virtual size_t take(std::vector<float>& out) = 0;
    // Samples lost since start because they were not taken in time (0 on a healthy run).
    virtual size_t droppedSamples() const { return 0; }
    // Seconds on the clock that recordings are limited by when a device sends nothing (the
    // wall clock for a real device; the director's for the test microphone).
    virtual double now() const = 0;
};

}  // namespace pagly::audio
