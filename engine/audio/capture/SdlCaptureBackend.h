#pragma once

#include <SDL.h>

#include <memory>
#include <string>

#include "engine/audio/capture/CaptureBackend.h"

namespace pagly::audio {

class SampleRing;

// Records from SDL's default capture device (PulseAudio or PipeWire on a desktop; SDL's disk
// driver reads a raw file instead). SDL's audio thread converts each block to mono floats and
// puts it into a lock-free ring of several seconds, which the engine thread empties every
// frame: a page that animates or a slow frame never makes the device wait or lose samples.
//
// SDL's audio system is started here (counted, so it shares it with the playback back-end). The
// reader records only after a sentence has played, when playback has already started it: the
// two never start it at once from two threads.
class SdlCaptureBackend : public CaptureBackend {
  public:
    // The rate asked of the device; SDL converts whatever the microphone gives to it.
    static constexpr int kSampleRate = 16000;
    static constexpr double kRingSeconds = 8.0;

    SdlCaptureBackend();
    ~SdlCaptureBackend() override;

    Outcome start(std::string* problem = nullptr) override;
    void stop() override;
    bool isCapturing() const override { return m_device != 0; }
    int sampleRate() const override { return m_spec.freq; }
    size_t take(std::vector<float>& out) override;
    size_t droppedSamples() const override;

    // The format SDL reports for the opened device (what its raw input is made of).
    const SDL_AudioSpec& deviceSpec() const { return m_spec; }

  private:
    static void SDLCALL onSamples(void* self, Uint8* stream, int length);

    SDL_AudioDeviceID m_device = 0;
    SDL_AudioSpec m_spec{};
    bool m_audioStarted = false;
    std::unique_ptr<SampleRing> m_ring;
    // Conversion space of the audio thread (sized once, before the device runs).
    std::unique_ptr<float[]> m_block;
    size_t m_blockSize = 0;
};

}  // namespace pagly::audio
