// SDL's capture device, driven from the capture worker (see SdlCaptureDevice.h).
#include "engine/audio/capture/SdlCaptureDevice.h"

#include <cstring>

#include "engine/audio/capture/SampleRing.h"

namespace pagly::audio {

CaptureBackend::Outcome SdlCaptureDevice::open(SampleRing& ring, int& rate, std::string& problem) {
    close();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        problem = std::string("no sound system: ") + SDL_GetError();
        return CaptureBackend::NoDevice;
    }
    m_audioStarted = true;
    const char* driver = SDL_GetCurrentAudioDriver();
    if (driver && std::strcmp(driver, "dummy") == 0) {
        // Its capture device "opens" and records nothing: there is no microphone to use.
        problem = "no sound server (only SDL's silent dummy driver runs)";
        close();
        return CaptureBackend::NoDevice;
    }
    SDL_AudioSpec want{};
    want.freq = kSampleRate;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = 512;  // 32 ms: the end of speech is noticed soon after it comes
    want.callback = &SdlCaptureDevice::onSamples;
    want.userdata = this;
    m_ring = &ring;
    // SDL converts to exactly this; the block holds one callback's worth, whatever SDL sends.
    m_blockSize = 1 << 16;
    m_block = std::make_unique<float[]>(m_blockSize);
    int devices = SDL_GetNumAudioDevices(1);
    m_device = SDL_OpenAudioDevice(nullptr, 1, &want, &m_spec, 0);
    if (m_device == 0) {
        problem = SDL_GetError();
        close();
        // Devices listed but none opened: it is there and refuses (busy, or access denied).
        return devices > 0 ? CaptureBackend::Refused : CaptureBackend::NoDevice;
    }
    rate = m_spec.freq;
    SDL_PauseAudioDevice(m_device, 0);
    return CaptureBackend::Started;
}

void SdlCaptureDevice::close() {
    if (m_device != 0) {
        // Waits for a callback that runs (with a stalled sound server, as long as it stalls);
        // none comes afterwards.
        SDL_CloseAudioDevice(m_device);
        m_device = 0;
    }
    if (m_audioStarted) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        m_audioStarted = false;
    }
    m_ring = nullptr;
}

void SDLCALL SdlCaptureDevice::onSamples(void* userdata, Uint8* stream, int length) {
    // SDL's audio thread: converts and hands over, nothing else (no locks, no allocation).
    auto* self = static_cast<SdlCaptureDevice*>(userdata);
    const SDL_AudioSpec& spec = self->m_spec;
    int channels = spec.channels > 0 ? spec.channels : 1;
    bool isFloat = SDL_AUDIO_ISFLOAT(spec.format);
    int bytes = SDL_AUDIO_BITSIZE(spec.format) / 8;
    if ((bytes != 2 || isFloat) && (bytes != 4 || !isFloat)) return;  // asked for S16: never
    if (!self->m_ring) return;
    size_t frames = (size_t)length / (size_t)(bytes * channels);
    while (frames > 0) {
        size_t n = frames < self->m_blockSize ? frames : self->m_blockSize;
        for (size_t i = 0; i < n; ++i) {
            float sum = 0;
            for (int c = 0; c < channels; ++c) {
                if (isFloat) {
                    float v;
                    SDL_memcpy(&v, stream + 4 * (i * channels + c), 4);
                    sum += v;
                } else {
                    Sint16 v;
                    SDL_memcpy(&v, stream + 2 * (i * channels + c), 2);
                    sum += v / 32768.0f;
                }
            }
            self->m_block[i] = sum / channels;
        }
        self->m_ring->write(self->m_block.get(), n);
        stream += n * bytes * channels;
        frames -= n;
    }
}

}  // namespace pagly::audio
