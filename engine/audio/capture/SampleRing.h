#pragma once

#include <atomic>
#include <cstddef>
#include <vector>

namespace pagly::audio {

// A single-producer, single-consumer ring of samples without locks: the sound device's thread
// writes, the engine thread reads. A write that finds the ring full keeps what fits and counts
// the rest as dropped, so a stalled reader costs samples, never a blocked audio thread.
class SampleRing {
  public:
    // Room for at least `capacity` samples (rounded up to a power of two).
    explicit SampleRing(size_t capacity);

    // Producer side. Returns the samples written.
    size_t write(const float* samples, size_t count);
    // Consumer side: appends everything readable to `out`; returns how many.
    size_t readAll(std::vector<float>& out);
    // Consumer side: forgets everything readable.
    void clear();

    size_t capacity() const { return m_data.size(); }
    size_t dropped() const { return m_dropped.load(std::memory_order_relaxed); }

  private:
    std::vector<float> m_data;
    size_t m_mask;
    std::atomic<size_t> m_head{0};  // next write position (only the producer stores it)
    std::atomic<size_t> m_tail{0};  // next read position (only the consumer stores it)
    std::atomic<size_t> m_dropped{0};
};

}  // namespace pagly::audio
