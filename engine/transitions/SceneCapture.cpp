#include "engine/transitions/SceneCapture.h"

#include "engine/nodes/CCNode.h"
#include "engine/render/Renderer.h"

namespace pagly::engine {

namespace {
RefPtr<CCTexture2D>& spareTexture() {
    static RefPtr<CCTexture2D> s_spare;
    return s_spare;
}

// The renderer's output in pixels: the size a capture of the whole screen needs.
bool outputPixels(Renderer* renderer, int& pw, int& ph) {
    const CCSize out = renderer->getOutputPixelSize();
    pw = (int)out.width, ph = (int)out.height;
    return pw > 0 && ph > 0;
}

bool hasSize(const RefPtr<CCTexture2D>& texture, int pw, int ph) {
    return texture && texture->getPixelsWide() == pw && texture->getPixelsHigh() == ph;
}

// Null when the renderer cannot have a target of that size.
RefPtr<CCTexture2D> newRenderTarget(int pw, int ph) {
    RefPtr<CCTexture2D> target(new CCTexture2D());
    target->release();  // the RefPtr's hold is the only one
    if (!target->initAsRenderTarget(pw, ph)) target.reset();
    return target;
}
}  // namespace

SceneCapture::~SceneCapture() { keepForNext(); }

void SceneCapture::keepForNext() {
    if (!m_texture) return;
    spareTexture() = m_texture;
    m_texture.reset();
}

CCTexture2D* SceneCapture::keptTexture() { return spareTexture().get(); }

void SceneCapture::dropSpareTexture() { spareTexture().reset(); }

void SceneCapture::prepareSpareTexture(Renderer* renderer) {
    int pw, ph;
    RefPtr<CCTexture2D>& spare = spareTexture();
    if (!renderer || !outputPixels(renderer, pw, ph) || hasSize(spare, pw, ph)) return;
    if (RefPtr<CCTexture2D> target = newRenderTarget(pw, ph)) {
        renderer->prepareTexture(target);
        spare = target;
    }
}

CCTexture2D* SceneCapture::capture(Renderer* renderer, CCNode* scene) {
    int pw, ph;
    if (!renderer || !scene || !outputPixels(renderer, pw, ph)) return nullptr;
    RefPtr<CCTexture2D>& spare = spareTexture();
    if (!m_texture && hasSize(spare, pw, ph)) m_texture = spare;
    spare.reset();
    if (!hasSize(m_texture, pw, ph)) {
        m_texture = newRenderTarget(pw, ph);
        if (!m_texture) return nullptr;
    }
    const CCSize design = renderer->getDesignSize();
    const ccColor4B black = ccColor4B(0, 0, 0, 255);
    renderer->beginRenderTarget(m_texture, CCRect(0, 0, design.width, design.height), &black);
    scene->visit(renderer);
    renderer->endRenderTarget();
    return m_texture.get();
}

}  // namespace pagly::engine
