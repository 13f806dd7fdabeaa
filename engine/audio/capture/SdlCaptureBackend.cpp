// Recording from SDL's capture device (see SdlCaptureBackend.h).
#include "engine/audio/capture/SdlCaptureBackend.h"

#include "engine/audio/capture/SampleRing.h"
#include "engine/base/CCObject.h"

namespace pagly::audio {

using namespace pagly::engine;

SdlCaptureBackend::SdlCaptureBackend() = default;

SdlCaptureBackend::~SdlCaptureBackend() { stop(); }

CaptureBackend::Outcome SdlCaptureBackend::start(std::string* problem) {
    stop();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        if (problem) *problem = std::string("no sound system: ") + SDL_GetError();
        return NoDevice;
    }
    m_audioStarted = true;
    SDL_AudioSpec want{};
    want.freq = kSampleRate;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = 512;  // 32 ms: the end of speech is noticed soon after it comes
    want.callback = &SdlCaptureBackend::onSamples;
    want.userdata = this;
    // Never dropped below: every frame empties the ring long before it fills.
    m_ring = std::make_unique<SampleRing>((size_t)(kRingSeconds * kSampleRate));
    // SDL converts to exactly this; the block holds one callback's worth, whatever SDL sends.
    m_blockSize = 1 << 16;
    m_block = std::make_unique<float[]>(m_blockSize);
    int devices = SDL_GetNumAudioDevices(1);
    m_device = SDL_OpenAudioDevice(nullptr, 1, &want, &m_spec, 0);
    if (m_device == 0) {
        std::string why = SDL_GetError();
        stop();
        if (problem) *problem = why;
        // Devices listed but none opened: it is there and refuses (busy, or access denied).
        return devices > 0 ? Refused : NoDevice;
    }
    SDL_PauseAudioDevice(m_device, 0);
    return Started;
}

void SdlCaptureBackend::stop() {
    if (m_device != 0) {
        // Waits for a callback that runs; none comes afterwards.
        SDL_CloseAudioDevice(m_device);
        m_device = 0;
    }
    if (m_audioStarted) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        m_audioStarted = false;
    }
    m_ring.reset();
}

size_t SdlCaptureBackend::take(std::vector<float>& out) {
    return m_ring && m_device ? m_ring->readAll(out) : 0;
}

size_t SdlCaptureBackend::droppedSamples() const { return m_ring ? m_ring->dropped() : 0; }

void SDLCALL SdlCaptureBackend::onSamples(void* userdata, Uint8* stream, int length) {
    // SDL's audio thread: converts and hands over, nothing else (no locks, no allocation).
    auto* self = static_cast<SdlCaptureBackend*>(userdata);
    const SDL_AudioSpec& spec = self->m_spec;
    int channels = spec.channels > 0 ? spec.channels : 1;
    bool isFloat = SDL_AUDIO_ISFLOAT(spec.format);
    int bytes = SDL_AUDIO_BITSIZE(spec.format) / 8;
    if ((bytes != 2 || isFloat) && (bytes != 4 || !isFloat)) return;  // asked for S16: never
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
