// Contrast of colours (WCAG's relative luminance), for texts that must read on their ground.
#include "app/Contrast.h"

#include <algorithm>
#include <cmath>

using namespace pagly::engine;

namespace pagly {

namespace {
double linear(unsigned char c) {
    double s = c / 255.0;
    return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
}

double luminance(const ccColor3B& c) {
    return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
}
}  // namespace

double contrastRatio(const ccColor3B& a, const ccColor3B& b) {
    double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

ccColor3B inkFor(const ccColor3B& ground) {
    // Black, not a softer dark: on a mid blue only black reaches 4.5:1.
    const ccColor3B white(255, 255, 255), dark(0, 0, 0);
    return contrastRatio(white, ground) >= contrastRatio(dark, ground) ? white : dark;
}

}  // namespace pagly
