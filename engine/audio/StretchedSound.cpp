#include "engine/audio/StretchedSound.h"

#include <SoundTouch.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace pagly::audio {

namespace {
// Input frames handed to the stretcher at a time: about 90 ms at 22 kHz, so a read for the
// sound device stretches little more than it needs.
const size_t kFeedFrames = 2048;
}  // namespace

std::shared_ptr<StretchedSound> StretchedSound::fromMp3(const std::string& mp3Bytes, double speed) {
    PcmSound decoded;
    if (!decodeMp3(mp3Bytes, decoded)) return nullptr;
    return fromPcm(std::move(decoded), speed);
}

std::shared_ptr<StretchedSound> StretchedSound::fromPcm(PcmSound input, double speed) {
    if (!(speed > 0.0) || !std::isfinite(speed) || input.frames() == 0 || input.sampleRate <= 0 ||
        input.channels <= 0) {
        return nullptr;
    }
    std::shared_ptr<StretchedSound> sound(new StretchedSound());
    sound->m_sampleRate = input.sampleRate;
    sound->m_channels = input.channels;
    // The stretched length is the input's divided by the speed, exactly: the stretcher's
    // last output is cut or padded with silence to it.
    size_t frames = (size_t)std::llround((double)input.frames() / speed);
    sound->m_seconds = (double)frames / input.sampleRate;
    sound->m_recordedSeconds = (double)input.frames() / input.sampleRate;
    sound->m_wav = wavHeader(input.sampleRate, input.channels, frames);
    sound->m_ready = sound->m_wav.size();
    sound->m_wav.resize(sound->m_ready + frames * (size_t)input.channels * 2);

    auto stretcher = std::make_unique<soundtouch::SoundTouch>();
    stretcher->setSampleRate((unsigned)input.sampleRate);
    stretcher->setChannels((unsigned)input.channels);
    stretcher->setTempo(speed);
    // Short sequences follow the quick pitch movements of speech; the library's defaults are
    // tuned for music and make voices echo.
    stretcher->setSetting(SETTING_SEQUENCE_MS, 40);
    stretcher->setSetting(SETTING_SEEKWINDOW_MS, 15);
    stretcher->setSetting(SETTING_OVERLAP_MS, 8);
    sound->m_stretcher = std::move(stretcher);
    sound->m_input = std::move(input);
    return sound;
}

StretchedSound::~StretchedSound() = default;

size_t StretchedSound::bytesHeld() {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_wav.size() + m_input.samples.size() * sizeof(float);
}

bool StretchedSound::isComplete() {
    std::lock_guard<std::mutex> hold(m_lock);
    return !m_stretcher;
}

size_t StretchedSound::read(size_t offset, void* out, size_t count) {
    std::lock_guard<std::mutex> hold(m_lock);
    if (offset >= m_wav.size()) return 0;
    count = std::min(count, m_wav.size() - offset);
    stretchUntil(offset + count);
    memcpy(out, m_wav.data() + offset, count);
    return count;
}

const std::vector<unsigned char>& StretchedSound::wholeImage() {
    std::lock_guard<std::mutex> hold(m_lock);
    stretchUntil(m_wav.size());
    return m_wav;
}

void StretchedSound::append(const float* samples, size_t frames) {
    size_t values = std::min(frames * (size_t)m_channels, (m_wav.size() - m_ready) / 2);
    for (size_t i = 0; i < values; ++i) {
        unsigned short v = (unsigned short)toPcm16(samples[i]);
        m_wav[m_ready++] = (unsigned char)(v & 0xFF);
        m_wav[m_ready++] = (unsigned char)(v >> 8);
    }
}

void StretchedSound::stretchUntil(size_t bytes) {
    // The sound device's thread reads here: no allocation per read.
    if (m_stretcher && m_ready < bytes) m_block.resize(kFeedFrames * (size_t)m_channels);
    while (m_stretcher && m_ready < bytes) {
        size_t total = m_input.frames();
        if (m_fed < total) {
            size_t n = std::min(kFeedFrames, total - m_fed);
            m_stretcher->putSamples(m_input.samples.data() + m_fed * (size_t)m_channels,
                                    (unsigned)n);
            m_fed += n;
            if (m_fed == total) m_stretcher->flush();
        }
        unsigned got;
        while ((got = m_stretcher->receiveSamples(m_block.data(), (unsigned)kFeedFrames)) > 0)
            append(m_block.data(), got);
        if (m_fed == total || m_ready == m_wav.size()) finish();
    }
}

void StretchedSound::finish() {
    // Whatever the stretcher did not fill stays silent (the image starts zeroed).
    m_ready = m_wav.size();
    m_stretcher.reset();
    m_input = PcmSound();
    m_block = std::vector<float>();
}

}  // namespace pagly::audio
