#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace pagly::audio::speech {

// Dynamic time warping of two sequences of feature rows (`dims` values each): the cheapest
// monotonic pairing of their frames, steps of one frame in either or both.
struct Warp {
    // Pairs (frame of a, frame of b) from (0, 0) to the last of each.
    std::vector<std::pair<int, int>> path;
    // The summed Euclidean distance along the path over the number of frames of both: about
    // the distance of two paired frames, and comparable between sentences of any length.
    double cost = 0;
};

// An empty path and an infinite cost when either side has no frames.
Warp timeWarp(const std::vector<float>& a, const std::vector<float>& b, int dims);

}  // namespace pagly::audio::speech
