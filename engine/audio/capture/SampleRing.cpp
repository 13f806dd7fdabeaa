// The lock-free sample ring (see SampleRing.h).
#include "engine/audio/capture/SampleRing.h"

namespace pagly::audio {

SampleRing::SampleRing(size_t capacity) {
    size_t size = 1;
    while (size < capacity) size <<= 1;
    m_data.assign(size, 0.0f);
    m_mask = size - 1;
}

size_t SampleRing::write(const float* samples, size_t count) {
    size_t head = m_head.load(std::memory_order_relaxed);
    size_t tail = m_tail.load(std::memory_order_acquire);
    size_t room = m_data.size() - (head - tail);
    size_t n = count < room ? count : room;
    for (size_t i = 0; i < n; ++i) m_data[(head + i) & m_mask] = samples[i];
    m_head.store(head + n, std::memory_order_release);
    if (n < count) m_dropped.fetch_add(count - n, std::memory_order_relaxed);
    return n;
}

size_t SampleRing::readAll(std::vector<float>& out) {
    size_t tail = m_tail.load(std::memory_order_relaxed);
    size_t head = m_head.load(std::memory_order_acquire);
    size_t n = head - tail;
    out.reserve(out.size() + n);
    for (size_t i = 0; i < n; ++i) out.push_back(m_data[(tail + i) & m_mask]);
    m_tail.store(head, std::memory_order_release);
    return n;
}

void SampleRing::clear() {
    m_tail.store(m_head.load(std::memory_order_acquire), std::memory_order_release);
}

}  // namespace pagly::audio
