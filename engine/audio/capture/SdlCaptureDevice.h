#pragma once

#include <SDL.h>

#include <memory>

#include "engine/audio/capture/CaptureDevice.h"

namespace pagly::audio {

// SDL's default capture device (PulseAudio or PipeWire on a desktop; SDL's disk driver reads a
// raw file instead). SDL's audio thread converts each block to mono floats and writes it into
// the ring. SDL's audio system is started here (counted, so it is shared with playback). On
// SDL's silent stand-in driver (no sound server) nothing is opened: it would record silence.
class SdlCaptureDevice : public CaptureDevice {
  public:
    // The rate asked of the device; SDL converts whatever the microphone gives to it.
    static constexpr int kSampleRate = 16000;

    SdlCaptureDevice() = default;
    ~SdlCaptureDevice() override { close(); }

    CaptureBackend::Outcome open(SampleRing& ring, int& rate, std::string& problem) override;
    void close() override;

    // The format SDL reports for the opened device (what its raw input is made of).
    const SDL_AudioSpec& spec() const { return m_spec; }

  private:
    static void SDLCALL onSamples(void* self, Uint8* stream, int length);

    SDL_AudioDeviceID m_device = 0;
    SDL_AudioSpec m_spec{};
    bool m_audioStarted = false;
    SampleRing* m_ring = nullptr;
    // Conversion space of the audio thread (sized once, before the device runs).
    std::unique_ptr<float[]> m_block;
    size_t m_blockSize = 0;
};

}  // namespace pagly::audio
