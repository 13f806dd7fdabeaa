// Dynamic time warping (see TimeWarp.h).
#include "engine/audio/analysis/TimeWarp.h"

#include <cmath>
#include <algorithm>
#include <cstdint>
#include <limits>

namespace pagly::audio::speech {

Warp timeWarp(const std::vector<float>& a, const std::vector<float>& b, int dims) {
    Warp warp;
    if (dims <= 0) dims = 1;
    size_t n = a.size() / dims, m = b.size() / dims;
    if (n == 0 || m == 0) {
        warp.cost = std::numeric_limits<double>::infinity();
        return warp;
    }
    // Two rows of totals and one byte per cell for the way back: 0 diagonal, 1 from above
    // (a moved on), 2 from the left (b moved on).
    std::vector<double> previous(m), current(m);
    std::vector<uint8_t> from(n * m);
    auto distance = [&](size_t i, size_t j) {
        const float* x = &a[i * dims];
        const float* y = &b[j * dims];
        float sum = 0;
        for (int k = 0; k < dims; ++k) {
            float d = x[k] - y[k];
            sum += d * d;
        }
        return (double)std::sqrt(sum);
    };
    for (size_t i = 0; i < n; ++i) {
        for (size_t j = 0; j < m; ++j) {
            double d = distance(i, j);
            if (i == 0 && j == 0) {
                current[0] = d;
                from[0] = 0;
                continue;
            }
            double diagonal = i > 0 && j > 0 ? previous[j - 1] : HUGE_VAL;
            double above = i > 0 ? previous[j] : HUGE_VAL;
            double left = j > 0 ? current[j - 1] : HUGE_VAL;
            uint8_t way = 0;
            double best = diagonal;
            if (above < best) best = above, way = 1;
            if (left < best) best = left, way = 2;
            current[j] = best + d;
            from[i * m + j] = way;
        }
        previous.swap(current);
    }
    warp.cost = previous[m - 1] / (double)(n + m);
    size_t i = n - 1, j = m - 1;
    warp.path.reserve(n + m);
    for (;;) {
        warp.path.emplace_back((int)i, (int)j);
        if (i == 0 && j == 0) break;
        uint8_t way = from[i * m + j];
        if (way == 0)
            --i, --j;
        else if (way == 1)
            --i;
        else
            --j;
    }
    std::reverse(warp.path.begin(), warp.path.end());
    return warp;
}

}  // namespace pagly::audio::speech
