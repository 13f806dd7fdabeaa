#include "engine/transitions/PageCurl.h"

#include <algorithm>
#include <cmath>

namespace pagly::engine {

namespace {

const float kPi = 3.14159265358979f;
// Tilt of the axis (radians): the bottom-right corner leads, less so as the page goes over.
const float kTiltStart = 0.32f, kTiltEnd = 0.14f;
// Cylinder radius as a fraction of the page width: a tight curl that opens as it goes.
const float kRadiusStart = 0.07f, kRadiusEnd = 0.14f;
const ccColor3B kPaper = {236, 233, 224};
// Rows of cells per flat rectangle: taller bands mean fewer copies but a wider left-over
// wedge of flat cells along the tilted axis.
const int kBandRows = 4;

unsigned char shadeByte(float base, float shade) {
    float v = base * shade;
    return (unsigned char)std::max(0.0f, std::min(255.0f, v + 0.5f));
}

}  // namespace

void PageCurl::setPage(const CCSize& size, int columns, int rows) {
    m_size = size;
    m_cols = std::max(1, std::min(columns, 256));
    m_rows = std::max(1, std::min(rows, 256));
    const size_t count = (size_t)(m_cols + 1) * (m_rows + 1);
    m_front.assign(count, RenderVertex());
    m_paper.assign(count, RenderVertex());
    m_theta.assign(count, 0);
    m_flatColumns.assign((size_t)m_rows, 0);
    m_frontIdx.reserve((size_t)m_cols * m_rows * 6);
    m_backIdx.reserve((size_t)m_cols * m_rows * 6);
}

void PageCurl::build(float progress) {
    const float p = std::isfinite(progress) ? std::max(0.0f, std::min(1.0f, progress)) : 0.0f;
    const float w = m_size.width, h = m_size.height;
    const float tilt = kTiltStart + (kTiltEnd - kTiltStart) * p;
    m_r = std::max(1.0f, w * (kRadiusStart + (kRadiusEnd - kRadiusStart) * p));
    m_n = CCPoint(std::cos(tilt), -std::sin(tilt));
    // Distance along the normal: largest at the bottom-right corner, smallest at the top-left.
    const float cStart = w * m_n.x;
    const float cEnd = h * m_n.y - m_r - 1.0f;  // whole page past the axis, bulge off the page
    m_c = cStart + (cEnd - cStart) * p;
    m_curled = p > 0;

    m_frontIdx.clear();
    m_backIdx.clear();
    m_flat.clear();
    const int stride = m_cols + 1;
    const float cellW = w / m_cols;
    for (int j0 = 0; j0 < m_rows; j0 += kBandRows) {
        const int j1 = std::min(m_rows, j0 + kBandRows);
        // The axis is furthest left at the bottom of the band; every cell wholly left of that
        // point lies flat.
        const float bottom = h * (1 - (float)j1 / m_rows);
        const float top = h * (1 - (float)j0 / m_rows);
        const float axisX = (m_c - bottom * m_n.y) / m_n.x;
        const int flat = std::max(0, std::min(m_cols, (int)std::floor(axisX / cellW)));
        for (int j = j0; j < j1; ++j) m_flatColumns[(size_t)j] = flat;
        if (flat > 0) m_flat.push_back(CCRect(0, bottom, flat * cellW, top - bottom));
    }
    for (int j = 0; j <= m_rows; ++j) {
        const float v = (float)j / m_rows;  // 0 at the top
        const float y = h * (1 - v);
        for (int i = 0; i <= m_cols; ++i) {
            const float u = (float)i / m_cols;
            const float x = w * u;
            const float s = x * m_n.x + y * m_n.y - m_c;  // > 0: past the axis
            float theta = 0, along = s;
            if (s > 0) {
                theta = s / m_r;
                along = theta <= kPi ? m_r * std::sin(theta) : -(s - kPi * m_r);
            }
            const size_t k = (size_t)j * stride + i;
            m_theta[k] = theta;
            const float px = x + (along - s) * m_n.x;
            const float py = y + (along - s) * m_n.y;
            // Front: darker as the surface turns away from the viewer.
            const float frontShade = 0.55f + 0.45f * std::cos(std::min(theta, kPi / 2));
            // Back: brightest where it faces the viewer squarely.
            const float backShade = theta <= kPi / 2 ? 0.7f
                                    : theta >= kPi   ? 1.0f
                                                     : 0.7f - 0.3f * std::cos(theta);
            RenderVertex& f = m_front[k];
            f.x = px, f.y = py, f.u = u, f.v = v;
            const unsigned char fs = shadeByte(255, frontShade);
            f.color = ccColor4B(fs, fs, fs, 255);
            RenderVertex& b = m_paper[k];
            b.x = px, b.y = py, b.u = u, b.v = v;
            b.color = ccColor4B(shadeByte(kPaper.r, backShade), shadeByte(kPaper.g, backShade),
                                shadeByte(kPaper.b, backShade), 255);
        }
    }
    for (int j = 0; j < m_rows; ++j) {
        for (int i = m_flatColumns[(size_t)j]; i < m_cols; ++i) {
            const int a = j * stride + i, b = a + 1, c = a + stride, d = c + 1;
            const int tris[2][3] = {{a, c, b}, {b, c, d}};
            for (const auto& t : tris) {
                // A triangle across the fold goes with the back: drawn last, as paper, it
                // leaves no specks of the front showing along the page's outer edge.
                const float most = std::max(m_theta[t[0]], std::max(m_theta[t[1]], m_theta[t[2]]));
                std::vector<int>& out = most <= kPi / 2 ? m_frontIdx : m_backIdx;
                out.insert(out.end(), t, t + 3);
            }
        }
    }
}

bool PageCurl::shadow(CCPoint corners[4], ccColor4B colors[4]) const {
    if (!m_curled) return false;
    const CCPoint along(-m_n.y, m_n.x);
    const float reach = m_size.width + m_size.height;
    const CCPoint foot = m_n * m_c;
    const CCPoint nearEdge = foot + m_n * (m_r * 0.6f);
    const CCPoint farEdge = foot + m_n * (m_r * 1.9f);
    corners[0] = nearEdge - along * reach;
    corners[1] = farEdge - along * reach;
    corners[2] = nearEdge + along * reach;
    corners[3] = farEdge + along * reach;
    colors[0] = colors[2] = ccColor4B(0, 0, 0, 110);
    colors[1] = colors[3] = ccColor4B(0, 0, 0, 0);
    return true;
}

}  // namespace pagly::engine
