#include "engine/nodes/CCLayerGradient.h"

#include <cmath>

#include "engine/base/CCRedraw.h"

namespace pagly::engine {

CCLayerGradient* CCLayerGradient::create() { return ccCreateInitialized(new CCLayerGradient()); }

CCLayerGradient* CCLayerGradient::create(const ccColor4B& start, const ccColor4B& end) {
    return create(start, end, CCPoint(0, -1));
}

CCLayerGradient* CCLayerGradient::create(const ccColor4B& start, const ccColor4B& end,
                                         const CCPoint& vector) {
    CCLayerGradient* layer = new CCLayerGradient();
    if (!layer->initWithColor(start, end, vector)) {
        layer->release();
        return nullptr;
    }
    layer->autorelease();
    return layer;
}

bool CCLayerGradient::init() {
    return initWithColor(ccColor4B(255, 255, 255, 255), ccColor4B(255, 255, 255, 255));
}

bool CCLayerGradient::initWithColor(const ccColor4B& start, const ccColor4B& end) {
    return initWithColor(start, end, CCPoint(0, -1));
}

bool CCLayerGradient::initWithColor(const ccColor4B& start, const ccColor4B& end,
                                    const CCPoint& vector) {
    m_endColor = ccColor3B(end.r, end.g, end.b);
    m_startOpacity = start.a;
    m_endOpacity = end.a;
    m_vector = vector;
    m_compressed = true;
    // The layer's own opacity stays full; the two ends carry theirs.
    return CCLayerColor::initWithColor(ccColor4B(start.r, start.g, start.b, 255));
}

void CCLayerGradient::setEndColor(const ccColor3B& color) {
    m_endColor = color;
    ccRequestRedraw();
}

void CCLayerGradient::setStartOpacity(unsigned char opacity) {
    m_startOpacity = opacity;
    ccRequestRedraw();
}

void CCLayerGradient::setEndOpacity(unsigned char opacity) {
    m_endOpacity = opacity;
    ccRequestRedraw();
}

void CCLayerGradient::setVector(const CCPoint& vector) {
    m_vector = vector;
    ccRequestRedraw();
}

void CCLayerGradient::setCompressedInterpolation(bool compressed) {
    m_compressed = compressed;
    ccRequestRedraw();
}

void CCLayerGradient::cornerColors(ccColor4B out[4]) {
    float opacity = m_displayedOpacity / 255.0f;
    float s[4] = {(float)m_displayedColor.r, (float)m_displayedColor.g, (float)m_displayedColor.b,
                  m_startOpacity * opacity};
    float e[4] = {(float)m_endColor.r, (float)m_endColor.g, (float)m_endColor.b,
                  m_endOpacity * opacity};
    float h = std::sqrt(m_vector.x * m_vector.x + m_vector.y * m_vector.y);
    float ux = 0, uy = -1;  // a zero (or broken) vector falls back to top-to-bottom
    if (h > 0 && std::isfinite(h)) ux = m_vector.x / h, uy = m_vector.y / h;
    const float c = std::sqrt(2.0f);
    if (m_compressed) {
        float k = c / (std::fabs(ux) + std::fabs(uy));
        ux *= k, uy *= k;
    }
    // How far towards the start each corner lies: bl (-1,-1), br (1,-1), tl (-1,1), tr (1,1).
    float t[4] = {(c + ux + uy) / (2 * c), (c - ux + uy) / (2 * c), (c + ux - uy) / (2 * c),
                  (c - ux - uy) / (2 * c)};
    for (int i = 0; i < 4; ++i) {
        float v[4];
        for (int k = 0; k < 4; ++k) {
            v[k] = e[k] + (s[k] - e[k]) * t[i];
            v[k] = v[k] < 0 ? 0 : (v[k] > 255 ? 255 : v[k]);
        }
        out[i] = ccColor4B((unsigned char)std::lround(v[0]), (unsigned char)std::lround(v[1]),
                           (unsigned char)std::lround(v[2]), (unsigned char)std::lround(v[3]));
    }
}

}  // namespace pagly::engine
