#include "engine/transitions/CCTransitionPageTurn.h"

#include "engine/render/Renderer.h"

#include <cmath>
#include <vector>

namespace pagly::engine {

CCTransitionPageTurn* CCTransitionPageTurn::create(float duration, CCScene* scene, bool backwards) {
    CCTransitionPageTurn* t = new CCTransitionPageTurn();
    if (!t->initWithDuration(duration, scene, backwards)) {
        t->release();
        return nullptr;
    }
    t->autorelease();
    return t;
}

bool CCTransitionPageTurn::initWithDuration(float duration, CCScene* scene, bool backwards) {
    if (!CCTransitionScene::initWithDuration(duration, scene)) return false;
    m_bBack = backwards;
    return true;
}

void CCTransitionPageTurn::drawShadow(Renderer* renderer, const CCSize& page) {
    CCPoint corners[4];
    ccColor4B colors[4];
    if (!m_curl.shadow(corners, colors)) return;
    // The fade across the band comes from a small ramp texture rather than from vertex
    // colours: a software renderer blends coloured triangles through a scratch buffer the size
    // of their bounding box (here most of the page, allocated and cleared every frame), while
    // a textured triangle is blended in place.
    if (!m_shadowRamp) {
        const int steps = 64;
        std::vector<unsigned char> rgba((size_t)steps * 4);
        for (int i = 0; i < steps; ++i) {
            const float t = (float)i / (steps - 1);
            const ccColor4B& a = colors[0];
            const ccColor4B& b = colors[1];
            rgba[(size_t)i * 4 + 0] = (unsigned char)std::lround(a.r + (b.r - a.r) * t);
            rgba[(size_t)i * 4 + 1] = (unsigned char)std::lround(a.g + (b.g - a.g) * t);
            rgba[(size_t)i * 4 + 2] = (unsigned char)std::lround(a.b + (b.b - a.b) * t);
            rgba[(size_t)i * 4 + 3] = (unsigned char)std::lround(a.a + (b.a - a.a) * t);
        }
        CCTexture2D* ramp = new CCTexture2D();
        if (ramp->initWithRGBA(rgba.data(), steps, 1)) m_shadowRamp = ramp;
        ramp->release();
        if (!m_shadowRamp) return;
    }
    RenderVertex band[4];
    for (int i = 0; i < 4; ++i) {
        band[i].x = corners[i].x;
        band[i].y = corners[i].y;
        band[i].u = (i % 2 == 0) ? 0.0f : 1.0f;  // near edge (0, 2) dark, far edge (1, 3) clear
        band[i].v = 0.5f;
    }
    static const int kBand[6] = {0, 1, 2, 2, 1, 3};
    // Only over the page area: the shadow falls on the page beneath, not beyond it.
    renderer->pushClipRect(CCRect(0, 0, page.width, page.height));
    renderer->drawTriangles(m_shadowRamp.get(), band, 4, kBand, 6, ccBlendFuncDefault());
    renderer->popClipRect();
}

float CCTransitionPageTurn::curlAmount() const {
    const float t = getProgress();
    return m_bBack ? 1 - t : t;
}

void CCTransitionPageTurn::draw(Renderer* renderer) {
    CCScene* page = m_bBack ? m_pInScene.get() : m_pOutScene.get();
    CCScene* beneath = m_bBack ? m_pOutScene.get() : m_pInScene.get();
    const float curl = curlAmount();
    // Flat or gone: the plain scenes, no texture needed.
    if (curl <= 0 || !page) {
        if (page) {
            page->visit(renderer);
        } else if (beneath) {
            beneath->visit(renderer);
        }
        return;
    }
    if (beneath) beneath->visit(renderer);
    if (curl >= 1) return;
    CCTexture2D* texture = m_capture.capture(renderer, page);
    if (!texture) {
        // No render target: show the scene the turn is heading for.
        m_pInScene->visit(renderer);
        return;
    }
    const CCSize size = renderer->getDesignSize();
    if (!m_meshReady) {
        m_curl.setPage(size);
        m_meshReady = true;
    }
    m_curl.build(curl);
    drawShadow(renderer, size);
    // The captured page is opaque: drawing it without blending is much cheaper.
    const ccBlendFunc opaque = ccBlendFuncMake(GL_ONE, GL_ZERO);
    // Flat parts: plain copies of the page.
    const float sx = texture->getPixelsWide() / size.width;
    const float sy = texture->getPixelsHigh() / size.height;
    for (const CCRect& r : m_curl.flatRects()) {
        TexturedQuad quad;
        quad.texture = texture;
        quad.textureRect = CCRect(r.getMinX() * sx, (size.height - r.getMaxY()) * sy,
                                  r.size.width * sx, r.size.height * sy);
        quad.rect = r;
        quad.blend = opaque;
        renderer->drawTexturedQuad(quad);
    }
    const std::vector<int>& front = m_curl.frontIndices();
    const std::vector<int>& back = m_curl.backIndices();
    const int count = (int)m_curl.frontVertices().size();
    if (!front.empty())
        renderer->drawTriangles(texture, m_curl.frontVertices().data(), count, front.data(),
                                (int)front.size(), opaque);
    if (!back.empty())
        renderer->drawTriangles(nullptr, m_curl.backPaperVertices().data(), count, back.data(),
                                (int)back.size(), opaque);
}

}  // namespace pagly::engine
