#include "engine/transitions/CCTransitionZoomFlipY.h"

#include <algorithm>
#include <cmath>

#include "engine/render/Renderer.h"

namespace pagly::engine {

namespace {
const float kPi = 3.14159265358979f;
// Grid over the turned scene: fine enough that the perspective looks straight.
const int kColumns = 16, kRows = 24;
}  // namespace

CCTransitionZoomFlipY* CCTransitionZoomFlipY::create(float duration, CCScene* scene) {
    return create(duration, scene, kTransitionOrientationUpOver);
}

CCTransitionZoomFlipY* CCTransitionZoomFlipY::create(float duration, CCScene* scene,
                                                     TransitionOrientation orientation) {
    CCTransitionZoomFlipY* t = new CCTransitionZoomFlipY();
    if (!t->initWithDuration(duration, scene, orientation)) {
        t->release();
        return nullptr;
    }
    t->autorelease();
    return t;
}

bool CCTransitionZoomFlipY::initWithDuration(float duration, CCScene* scene,
                                             TransitionOrientation orientation) {
    if (!CCTransitionScene::initWithDuration(duration, scene)) return false;
    m_eOrientation = orientation == kTransitionOrientationUpOver ? kTransitionOrientationUpOver
                                                                 : kTransitionOrientationDownOver;
    return true;
}

CCScene* CCTransitionZoomFlipY::shownScene() const {
    if (getProgress() < 0.5f && m_pOutScene) return m_pOutScene.get();
    return m_pInScene.get();
}

float CCTransitionZoomFlipY::flipAngle() const {
    const float t = getProgress();
    const float sign = m_eOrientation == kTransitionOrientationUpOver ? 1.0f : -1.0f;
    // Out: 0 -> 90 over the first half; in: -90 -> 0 over the second.
    if (t < 0.5f && m_pOutScene) return sign * 90.0f * (t / 0.5f);
    if (t < 0.5f) return -sign * 90.0f;
    return -sign * 90.0f * (1.0f - (t - 0.5f) / 0.5f);
}

float CCTransitionZoomFlipY::zoom() const {
    const float t = getProgress();
    return t < 0.5f ? 1.0f - t : t;  // 1 -> 0.5 -> 1
}

void CCTransitionZoomFlipY::draw(Renderer* renderer) {
    CCScene* scene = shownScene();
    if (!scene) return;
    const float angle = flipAngle();
    const float k = zoom();
    if (std::fabs(angle) < 1e-3f && k >= 1.0f - 1e-4f) {
        scene->visit(renderer);
        return;
    }
    const CCSize size = renderer->getDesignSize();
    const float w = size.width, h = size.height;
    // Black around the turning scene, as on an empty screen.
    const CCPoint screen[4] = {CCPoint(0, 0), CCPoint(w, 0), CCPoint(0, h), CCPoint(w, h)};
    const ccColor4B black[4] = {ccColor4B(0, 0, 0, 255), ccColor4B(0, 0, 0, 255),
                                ccColor4B(0, 0, 0, 255), ccColor4B(0, 0, 0, 255)};
    renderer->drawColoredQuad(screen, black);
    if (std::fabs(angle) >= 90.0f - 1e-3f) return;  // edge-on: nothing to see
    CCTexture2D* texture = m_capture.capture(renderer, scene);
    if (!texture) {
        scene->visit(renderer);
        return;
    }
    // Zoom, rotate about the horizontal centre line, then project with the eye in front of
    // the screen's centre: the edge that comes nearer grows, the one that goes away shrinks.
    // Each horizontal line of the scene stays a horizontal line evenly stretched, so a fine
    // grid keeps the texture straight.
    const float a = angle * kPi / 180.0f;
    const float eye = 2.0f * h;
    const float cx = w / 2, cy = h / 2;
    const float shade = 1.0f - 0.35f * std::fabs(std::sin(a));
    const unsigned char s = (unsigned char)(255 * shade + 0.5f);
    const int stride = kColumns + 1;
    m_vertices.resize((size_t)(kRows + 1) * stride);
    for (int j = 0; j <= kRows; ++j) {
        const float v = (float)j / kRows;    // 0 at the top
        const float y = h * (0.5f - v) * k;  // relative to the centre line, zoomed
        const float f = eye / (eye - y * std::sin(a));
        const float py = cy + y * std::cos(a) * f;
        for (int i = 0; i <= kColumns; ++i) {
            const float u = (float)i / kColumns;
            RenderVertex& rv = m_vertices[(size_t)j * stride + i];
            rv.x = cx + w * (u - 0.5f) * k * f;
            rv.y = py;
            rv.u = u;
            rv.v = v;
            rv.color = ccColor4B(s, s, s, 255);
        }
    }
    m_indices.clear();
    for (int j = 0; j < kRows; ++j) {
        for (int i = 0; i < kColumns; ++i) {
            const int a0 = j * stride + i, b0 = a0 + 1, c0 = a0 + stride, d0 = c0 + 1;
            const int quad[6] = {a0, c0, b0, b0, c0, d0};
            m_indices.insert(m_indices.end(), quad, quad + 6);
        }
    }
    // The captured scene is opaque: no blending needed.
    renderer->drawTriangles(texture, m_vertices.data(), (int)m_vertices.size(), m_indices.data(),
                            (int)m_indices.size(), ccBlendFuncMake(GL_ONE, GL_ZERO));
}

}  // namespace pagly::engine
