#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/audio/PcmSound.h"

namespace soundtouch {
class SoundTouch;
}

namespace pagly::audio {

// A recording played at another speed without a change of pitch or loudness (SoundTouch's
// overlap-add stretching, tuned for speech), as a 16-bit WAV image. Its length is known at
// once; its samples are stretched as they are first read, so playback starts without
// waiting for the whole sentence, and each part is stretched only once and kept. Reads may
// come from the sound device's thread.
class StretchedSound {
  public:
    // Null when the bytes do not decode or the speed is not a positive number.
    static std::shared_ptr<StretchedSound> fromMp3(const std::string& mp3Bytes, double speed);
    static std::shared_ptr<StretchedSound> fromPcm(PcmSound sound, double speed);
    ~StretchedSound();
    StretchedSound(const StretchedSound&) = delete;
    StretchedSound& operator=(const StretchedSound&) = delete;

    double seconds() const { return m_seconds; }
    // The recording's own length, before stretching.
    double recordedSeconds() const { return m_recordedSeconds; }
    int sampleRate() const { return m_sampleRate; }
    int channels() const { return m_channels; }
    // The whole WAV image's size, header included (allocated at once).
    size_t byteSize() const { return m_wav.size(); }
    // What the sound holds now: the image plus, until it is all stretched, its input.
    size_t bytesHeld();
    // Copies `count` bytes of the image from `offset` (fewer at its end), stretching first
    // what is not there yet. Returns the bytes copied.
    size_t read(size_t offset, void* out, size_t count);
    // The whole image, stretched to its end.
    const std::vector<unsigned char>& wholeImage();
    bool isComplete();

  private:
    StretchedSound() = default;
    // Stretches until the image holds `bytes` bytes (or is complete). Caller holds m_lock.
    void stretchUntil(size_t bytes);
    void append(const float* samples, size_t frames);
    void finish();

    std::mutex m_lock;
    std::unique_ptr<soundtouch::SoundTouch> m_stretcher;  // null once complete
    PcmSound m_input;                                     // emptied once complete
    size_t m_fed = 0;                                     // input frames given to the stretcher
    std::vector<float> m_block;  // the stretcher's output, before it becomes 16-bit samples
    std::vector<unsigned char> m_wav;
    size_t m_ready = 0;  // image bytes written (header included)
    int m_sampleRate = 0;
    int m_channels = 0;
    double m_seconds = 0;
    double m_recordedSeconds = 0;
};

}  // namespace pagly::audio
