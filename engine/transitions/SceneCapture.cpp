#include "engine/transitions/SceneCapture.h"

#include "engine/nodes/CCNode.h"
#include "engine/render/Renderer.h"

namespace pagly::engine {

namespace {
RefPtr<CCTexture2D>& spareTexture() {
    static RefPtr<CCTexture2D> s_spare;
    return s_spare;
}
}  // namespace

SceneCapture::~SceneCapture() {
    if (m_texture) spareTexture() = m_texture;
}

void SceneCapture::dropSpareTexture() { spareTexture().reset(); }

void SceneCapture::prepareSpareTexture(Renderer* renderer) {
    if (!renderer) return;
    const CCSize out = renderer->getOutputPixelSize();
    const int pw = (int)out.width, ph = (int)out.height;
    RefPtr<CCTexture2D>& spare = spareTexture();
    if (pw <= 0 || ph <= 0 ||
        (spare && spare->getPixelsWide() == pw && spare->getPixelsHigh() == ph))
        return;
    CCTexture2D* t = new CCTexture2D();
    if (t->initAsRenderTarget(pw, ph)) {
        renderer->prepareTexture(t);
        spare = t;
    }
    t->release();
}

CCTexture2D* SceneCapture::capture(Renderer* renderer, CCNode* scene) {
    if (!renderer || !scene) return nullptr;
    const CCSize out = renderer->getOutputPixelSize();
    const int pw = (int)out.width, ph = (int)out.height;
    if (pw <= 0 || ph <= 0) return nullptr;
    RefPtr<CCTexture2D>& spare = spareTexture();
    if (!m_texture && spare && spare->getPixelsWide() == pw && spare->getPixelsHigh() == ph)
        m_texture = spare;
    spare.reset();
    if (!m_texture || m_texture->getPixelsWide() != pw || m_texture->getPixelsHigh() != ph) {
        CCTexture2D* t = new CCTexture2D();
        if (!t->initAsRenderTarget(pw, ph)) {
            t->release();
            m_texture.reset();
            return nullptr;
        }
        m_texture = t;
        t->release();
    }
    const CCSize design = renderer->getDesignSize();
    const ccColor4B black = ccColor4B(0, 0, 0, 255);
    renderer->beginRenderTarget(m_texture, CCRect(0, 0, design.width, design.height), &black);
    scene->visit(renderer);
    renderer->endRenderTarget();
    return m_texture.get();
}

}  // namespace pagly::engine
