#include "engine/render/SDLRenderer.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cmath>

#include "engine/render/CCTexture2D.h"

namespace pagly::engine {

namespace {

inline float clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

inline SDL_Color toSDL(const ccColor4B& c) { return SDL_Color{c.r, c.g, c.b, c.a}; }

SDL_BlendMode blendModeFor(const ccBlendFunc& f, bool opaqueSource) {
    if (f.src == GL_ONE && f.dst == GL_ZERO) return SDL_BLENDMODE_NONE;
    if (f.dst == GL_ONE && (f.src == GL_SRC_ALPHA || f.src == GL_ONE)) return SDL_BLENDMODE_ADD;
    if ((f.src == GL_DST_COLOR && f.dst == GL_ZERO) || (f.src == GL_ZERO && f.dst == GL_SRC_COLOR))
        return SDL_BLENDMODE_MOD;
    // Normal alpha blending; an opaque source gives the same pixels without the blend.
    return opaqueSource ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND;
}

}  // namespace

SDLRenderer::SDLRenderer(SDL_Renderer* renderer, bool owns)
    : m_renderer(renderer),
      m_owns(owns),
      m_designSize(640, 960),
      m_clearColor(ccColor4B(0, 0, 0, 255)),
      m_scratch(new std::vector<SDL_Vertex>()) {
    m_levels.emplace_back();
    refreshScreenLevel();
}

SDLRenderer* SDLRenderer::createOffscreen(int pixelsWide, int pixelsHigh) {
    if (pixelsWide <= 0 || pixelsHigh <= 0) return nullptr;
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormat(0, pixelsWide, pixelsHigh, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!surface) return nullptr;
    SDL_Renderer* r = SDL_CreateSoftwareRenderer(surface);
    if (!r) {
        CCLog("SDLRenderer: cannot create a software renderer: %s", SDL_GetError());
        SDL_FreeSurface(surface);
        return nullptr;
    }
    SDLRenderer* renderer = new SDLRenderer(r, true);
    renderer->m_surface = surface;
    renderer->m_presents = false;
    renderer->refreshScreenLevel();
    return renderer;
}

SDLRenderer::~SDLRenderer() {
    m_levels.clear();
    // SDL destroys a renderer's textures with it; the textures must forget theirs first.
    CCTexture2D::dropDeviceTextures(m_renderer);
    if (m_owns && m_renderer) SDL_DestroyRenderer(m_renderer);
    if (m_surface) SDL_FreeSurface(m_surface);
    delete m_scratch;
}

void SDLRenderer::refreshScreenLevel() {
    Level& screen = m_levels.front();
    int w = 0, h = 0;
    if (m_surface) {
        w = m_surface->w, h = m_surface->h;
    } else if (m_renderer) {
        SDL_GetRendererOutputSize(m_renderer, &w, &h);
    }
    m_screenRect = fitAspect(w, h, m_screenAspect);
    screen.pw = m_screenRect.w;
    screen.ph = m_screenRect.h;
    screen.view = CCRect(0, 0, m_designSize.width, m_designSize.height);
}

void SDLRenderer::setScreenAspect(float widthOverHeight) {
    m_screenAspect = widthOverHeight > 0 && std::isfinite(widthOverHeight) ? widthOverHeight : 0;
    refreshScreenLevel();
}

void SDLRenderer::setDesignSize(const CCSize& size) {
    if (size.width <= 0 || size.height <= 0) return;
    m_designSize = size;
    refreshScreenLevel();
}

CCSize SDLRenderer::getOutputPixelSize() const {
    return CCSize((float)level().pw, (float)level().ph);
}

void SDLRenderer::beginFrame() {
    if (m_levels.size() > 1) {
        CCLog("SDLRenderer: %d render target(s) left open at frame start",
              (int)m_levels.size() - 1);
        m_levels.resize(1);
    }
    if (!m_levels.front().clips.empty()) {
        CCLog("SDLRenderer: %d clip rectangle(s) left pushed at frame start",
              (int)m_levels.front().clips.size());
        m_levels.front().clips.clear();
    }
    SDL_SetRenderTarget(m_renderer, nullptr);
    refreshScreenLevel();
    m_levels.front().hasBase = false;
    // Drawing is relative to the viewport and clipped to it; the clear below covers the whole
    // output, bars included.
    const SDL_Rect viewport{m_screenRect.x, m_screenRect.y, m_screenRect.w, m_screenRect.h};
    SDL_RenderSetViewport(m_renderer, &viewport);
    SDL_RenderSetClipRect(m_renderer, nullptr);
    SDL_SetRenderDrawColor(m_renderer, m_clearColor.r, m_clearColor.g, m_clearColor.b,
                           m_clearColor.a);
    if (!m_partial) SDL_RenderClear(m_renderer);
    m_drawCalls = 0;
}

void SDLRenderer::endFrame() {
    SDL_RenderFlush(m_renderer);
    if (m_presents && !m_surface) SDL_RenderPresent(m_renderer);
}

void SDLRenderer::beginFrameKeepingPixels() {
    m_partial = true;
    beginFrame();
    m_partial = false;
}

bool SDLRenderer::keepsPixels() const {
    if (m_surface) return true;
    SDL_RendererInfo info;
    return SDL_GetRendererInfo(m_renderer, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE) &&
           SDL_RenderGetWindow(m_renderer) != nullptr;
}

void SDLRenderer::beginPartialFrame(const int damage[4]) {
    beginFrameKeepingPixels();
    Level& screen = m_levels.front();
    screen.hasBase = true;
    screen.base = Clip{std::max(0, damage[0]), std::max(0, damage[1]),
                       std::min(screen.pw, damage[0] + damage[2]),
                       std::min(screen.ph, damage[1] + damage[3])};
    applyClip();
    // Clear the damage alone (SDL's clear would ignore the clip).
    SDL_Rect r{screen.base.x0, screen.base.y0, screen.base.x1 - screen.base.x0,
               screen.base.y1 - screen.base.y0};
    SDL_SetRenderDrawBlendMode(m_renderer, SDL_BLENDMODE_NONE);
    SDL_RenderFillRect(m_renderer, &r);
}

void SDLRenderer::endPartialFrame(const int damage[4]) {
    SDL_RenderFlush(m_renderer);
    m_levels.front().hasBase = false;
    SDL_Window* window = m_surface ? nullptr : SDL_RenderGetWindow(m_renderer);
    if (!m_presents || !window) return;
    // Only the damage goes to the screen: for a software window this is the whole cost of
    // showing a frame (the X server copies these pixels and no others).
    SDL_Rect r{damage[0] + m_screenRect.x, damage[1] + m_screenRect.y, damage[2], damage[3]};
    if (SDL_UpdateWindowSurfaceRects(window, &r, 1) != 0) SDL_RenderPresent(m_renderer);
}

SDLRenderer::Clip SDLRenderer::outerClip() const {
    const Level& l = level();
    if (!l.clips.empty()) return l.clips.back();
    if (l.hasBase) return l.base;
    return Clip{0, 0, l.pw, l.ph};
}

void SDLRenderer::clipInPixels(int box[4]) const {
    Clip c = outerClip();
    box[0] = c.x0, box[1] = c.y0, box[2] = c.x1, box[3] = c.y1;
}

void SDLRenderer::toPixels(float x, float y, float& px, float& py) const {
    const Level& l = level();
    float sx = l.view.size.width > 0 ? l.pw / l.view.size.width : 0;
    float sy = l.view.size.height > 0 ? l.ph / l.view.size.height : 0;
    px = (x - l.view.origin.x) * sx;
    py = l.ph - (y - l.view.origin.y) * sy;
}

void SDLRenderer::setBlend(void* texture, const ccBlendFunc& blend, bool opaqueSource) {
    SDL_BlendMode mode = blendModeFor(blend, opaqueSource);
    if (texture) {
        SDL_SetTextureBlendMode((SDL_Texture*)texture, mode);
    } else {
        SDL_SetRenderDrawBlendMode(m_renderer, mode);
    }
}

bool SDLRenderer::isClippedAway() const {
    const Level& l = level();
    if (l.pw <= 0 || l.ph <= 0) return true;
    if (l.clips.empty() && !l.hasBase) return false;
    Clip c = outerClip();
    return c.x1 <= c.x0 || c.y1 <= c.y0;
}

void SDLRenderer::drawTexturedQuad(const TexturedQuad& q) {
    if (!q.texture || q.color.a == 0 || isClippedAway()) return;
    SDL_Texture* tex = q.texture->deviceTexture(m_renderer);
    if (!tex) return;
    const float tw = (float)q.texture->getPixelsWide(), th = (float)q.texture->getPixelsHigh();
    const CCRect& r = q.rect;
    const CCRect& s = q.textureRect;
    if (r.size.width == 0 || r.size.height == 0 || s.size.width <= 0 || s.size.height <= 0) return;

    const CCAffineTransform& t = q.transform;
    CCPoint world[4] = {
        CCPointApplyAffineTransform(CCPoint(r.getMinX(), r.getMinY()), t),  // bl
        CCPointApplyAffineTransform(CCPoint(r.getMaxX(), r.getMinY()), t),  // br
        CCPointApplyAffineTransform(CCPoint(r.getMinX(), r.getMaxY()), t),  // tl
        CCPointApplyAffineTransform(CCPoint(r.getMaxX(), r.getMaxY()), t),  // tr
    };
    float px[4], py[4];
    for (int i = 0; i < 4; ++i) {
        toPixels(world[i].x, world[i].y, px[i], py[i]);
        if (!std::isfinite(px[i]) || !std::isfinite(py[i])) return;
    }
    const bool opaque = q.texture->isOpaque() && q.color.a == 255;
    setBlend(tex, q.blend, opaque);
    ++m_drawCalls;

    // Texture coordinates of the four corners (bl, br, tl, tr).
    float u[4], v[4];
    if (!q.rotated) {
        float left = s.getMinX() / tw, right = s.getMaxX() / tw;
        float top = s.getMinY() / th, bottom = s.getMaxY() / th;
        if (q.flipX) std::swap(left, right);
        if (q.flipY) std::swap(top, bottom);
        u[0] = left, v[0] = bottom;
        u[1] = right, v[1] = bottom;
        u[2] = left, v[2] = top;
        u[3] = right, v[3] = top;
    } else {
        // The region is stored turned 90 degrees clockwise: h columns by w rows.
        float left = s.origin.x / tw, right = (s.origin.x + s.size.height) / tw;
        float top = s.origin.y / th, bottom = (s.origin.y + s.size.width) / th;
        if (q.flipX) std::swap(top, bottom);
        if (q.flipY) std::swap(left, right);
        u[0] = left, v[0] = top;
        u[1] = left, v[1] = bottom;
        u[2] = right, v[2] = top;
        u[3] = right, v[3] = bottom;
    }
    SDL_SetTextureColorMod(tex, q.color.r, q.color.g, q.color.b);
    SDL_SetTextureAlphaMod(tex, q.color.a);
    // A quad whose edges run along the screen's axes is a copy (quarter turns and mirrors
    // included): SDL_RenderCopyEx is cheaper than triangles and exact in software.
    bool screenAligned = (py[0] == py[1] && py[2] == py[3] && px[0] == px[2] && px[1] == px[3]) ||
                         (px[0] == px[1] && px[2] == px[3] && py[0] == py[2] && py[1] == py[3]);
    if (screenAligned && drawAlignedCopy(tex, tw, th, px, py, u, v)) return;
    SDL_Vertex verts[4];
    SDL_Color c = toSDL(q.color);
    for (int i = 0; i < 4; ++i) {
        verts[i].position = SDL_FPoint{px[i], py[i]};
        verts[i].color = c;
        // SDL rejects the whole call when a coordinate leaves [0, 1].
        verts[i].tex_coord = SDL_FPoint{clamp01(u[i]), clamp01(v[i])};
    }
    // SDL turns a 4-vertex mesh that covers an axis-aligned rectangle into a flipped copy,
    // which loses a quarter turn of the texture coordinates (a rotated frame shows
    // transposed). A centre vertex keeps such quads on the triangle path.
    if (screenAligned) {
        SDL_Vertex fan[5] = {verts[0], verts[1], verts[2], verts[3], verts[0]};
        fan[4].position = SDL_FPoint{(px[0] + px[3]) / 2, (py[0] + py[3]) / 2};
        fan[4].tex_coord = SDL_FPoint{(verts[0].tex_coord.x + verts[3].tex_coord.x) / 2,
                                      (verts[0].tex_coord.y + verts[3].tex_coord.y) / 2};
        static const int kFan[12] = {0, 1, 4, 1, 3, 4, 3, 2, 4, 2, 0, 4};
        SDL_RenderGeometry(m_renderer, tex, fan, 5, kFan, 12);
        return;
    }
    static const int kQuad[6] = {0, 1, 2, 2, 1, 3};
    SDL_RenderGeometry(m_renderer, tex, verts, 4, kQuad, 6);
}

bool SDLRenderer::drawAlignedCopy(SDL_Texture* tex, float tw, float th, const float px[4],
                                  const float py[4], const float u[4], const float v[4]) {
    // The screen box and the texture coordinates at its top-left, top-right and bottom-left.
    float left = std::min(px[0], px[3]), right = std::max(px[0], px[3]);
    float top = std::min(py[0], py[3]), bottom = std::max(py[0], py[3]);
    if (right - left <= 0 || bottom - top <= 0) return true;  // nothing to fill
    int iTL = 0, iTR = 0, iBL = 0;
    for (int i = 0; i < 4; ++i) {
        if (px[i] == left && py[i] == top) iTL = i;
        if (px[i] == right && py[i] == top) iTR = i;
        if (px[i] == left && py[i] == bottom) iBL = i;
    }
    float uTL = u[iTL], vTL = v[iTL];
    float duX = (u[iTR] - uTL) / (right - left), dvX = (v[iTR] - vTL) / (right - left);
    float duY = (u[iBL] - uTL) / (bottom - top), dvY = (v[iBL] - vTL) / (bottom - top);

    // SDL clips a scaled copy by whole source texels, which shifts the picture; so a copy
    // that crosses the clip edge is cut here, with its exact share of the texture.
    const Level& l = level();
    if (!l.clips.empty()) {
        const Clip& c = l.clips.back();
        float cl = std::max(left, (float)c.x0), cr = std::min(right, (float)c.x1);
        float ct = std::max(top, (float)c.y0), cb = std::min(bottom, (float)c.y1);
        if (cr <= cl || cb <= ct) return true;  // wholly clipped away
        if (cl != left || cr != right || ct != top || cb != bottom) {
            uTL += duX * (cl - left) + duY * (ct - top);
            vTL += dvX * (cl - left) + dvY * (ct - top);
            left = cl, right = cr, top = ct, bottom = cb;
        }
    }
    float w = right - left, h = bottom - top;
    float uTR = uTL + duX * w, vTR = vTL + dvX * w;
    float uBL = uTL + duY * h, vBL = vTL + dvY * h;

    // Each screen axis is cut where a partial texel meets whole ones, so every piece is a
    // copy of whole texels that lies inside the clip (a partial texel is one texel stretched).
    bool quarterTurn;
    std::vector<AxisPiece> xs, ys;
    if (dvX == 0 && duY == 0) {
        quarterTurn = false;  // u runs along the screen's x
        if (!axisPieces(left, right, uTL * tw, uTR * tw, xs) ||
            !axisPieces(top, bottom, vTL * th, vBL * th, ys))
            return false;
    } else if (duX == 0 && dvY == 0) {
        quarterTurn = true;  // u runs along the screen's y: a copy turned a quarter clockwise
        if (!axisPieces(left, right, vTL * th, vTR * th, xs) ||
            !axisPieces(top, bottom, uTL * tw, uBL * tw, ys))
            return false;
    } else {
        return false;
    }
    for (const AxisPiece& px : xs) {
        for (const AxisPiece& py : ys) {
            float pw = px.s1 - px.s0, ph = py.s1 - py.s0;
            if (pw <= 0 || ph <= 0) continue;
            SDL_Rect src;
            SDL_FRect box;
            int flip;
            if (!quarterTurn) {
                src = SDL_Rect{px.texel, py.texel, px.count, py.count};
                box = SDL_FRect{px.s0, py.s0, pw, ph};
                flip =
                    (px.reversed ? SDL_FLIP_HORIZONTAL : 0) | (py.reversed ? SDL_FLIP_VERTICAL : 0);
            } else {
                // Before the turn the box is the piece turned about its centre; u then runs
                // along x (mirrored when it runs upwards on screen) and v along y (mirrored
                // when it runs rightwards on screen).
                src = SDL_Rect{py.texel, px.texel, py.count, px.count};
                box = SDL_FRect{px.s0 + (pw - ph) / 2, py.s0 + (ph - pw) / 2, ph, pw};
                flip = (py.reversed ? SDL_FLIP_HORIZONTAL : 0) |
                       (!px.reversed ? SDL_FLIP_VERTICAL : 0);
            }
            SDL_RenderCopyExF(m_renderer, tex, &src, &box, quarterTurn ? 90 : 0, nullptr,
                              (SDL_RendererFlip)flip);
        }
    }
    return true;
}

bool SDLRenderer::axisPieces(float a0, float a1, float tA, float tB, std::vector<AxisPiece>& out) {
    out.clear();
    auto snap = [](float t) {
        float r = std::round(t);
        return std::fabs(t - r) < 1e-3f ? r : t;
    };
    tA = snap(tA), tB = snap(tB);
    if (std::fabs(tB - tA) < 1e-6f || !std::isfinite(tA) || !std::isfinite(tB)) return false;
    float lo = std::min(tA, tB), hi = std::max(tA, tB);
    if (lo < 0 || hi > 1e6f) return false;
    bool reversed = tB < tA;
    // Screen position of texel coordinate t, on whole pixels so neighbouring pieces meet.
    auto screen = [&](float t) { return std::round(a0 + (t - tA) * (a1 - a0) / (tB - tA)); };
    auto add = [&](float t0, float t1, int texel, int count) {
        float s0 = screen(t0), s1 = screen(t1);
        if (s0 > s1) std::swap(s0, s1);
        if (s1 > s0) out.push_back(AxisPiece{s0, s1, texel, count, reversed});
    };
    float first = std::floor(lo), last = std::ceil(hi);
    if (last - first <= 1) {
        add(lo, hi, (int)first, 1);
        return true;
    }
    float innerLo = std::ceil(lo), innerHi = std::floor(hi);
    if (lo < innerLo) add(lo, innerLo, (int)first, 1);
    if (innerHi > innerLo) add(innerLo, innerHi, (int)innerLo, (int)(innerHi - innerLo));
    if (hi > innerHi) add(innerHi, hi, (int)innerHi, 1);
    return true;
}

void SDLRenderer::drawColoredQuad(const CCPoint corners[4], const ccColor4B colors[4],
                                  const ccBlendFunc& blend) {
    if (isClippedAway()) return;
    if (colors[0].a == 0 && colors[1].a == 0 && colors[2].a == 0 && colors[3].a == 0) return;
    float px[4], py[4];
    for (int i = 0; i < 4; ++i) {
        toPixels(corners[i].x, corners[i].y, px[i], py[i]);
        if (!std::isfinite(px[i]) || !std::isfinite(py[i])) return;
    }
    bool opaque =
        colors[0].a == 255 && colors[1].a == 255 && colors[2].a == 255 && colors[3].a == 255;
    setBlend(nullptr, blend, opaque);
    ++m_drawCalls;
    bool sameColor = colors[0] == colors[1] && colors[0] == colors[2] && colors[0] == colors[3];
    bool axisAligned = corners[0].y == corners[1].y && corners[2].y == corners[3].y &&
                       corners[0].x == corners[2].x && corners[1].x == corners[3].x;
    if (sameColor && axisAligned) {
        float left = std::min(px[0], px[3]), right = std::max(px[0], px[3]);
        float top = std::min(py[0], py[3]), bottom = std::max(py[0], py[3]);
        SDL_FRect rect{left, top, right - left, bottom - top};
        SDL_SetRenderDrawColor(m_renderer, colors[0].r, colors[0].g, colors[0].b, colors[0].a);
        SDL_RenderFillRectF(m_renderer, &rect);
        return;
    }
    SDL_Vertex verts[4];
    for (int i = 0; i < 4; ++i) {
        verts[i].position = SDL_FPoint{px[i], py[i]};
        verts[i].color = toSDL(colors[i]);
        verts[i].tex_coord = SDL_FPoint{0, 0};
    }
    static const int kQuad[6] = {0, 1, 2, 2, 1, 3};
    SDL_RenderGeometry(m_renderer, nullptr, verts, 4, kQuad, 6);
}

void SDLRenderer::drawTriangles(CCTexture2D* texture, const RenderVertex* vertices, int vertexCount,
                                const int* indices, int indexCount, const ccBlendFunc& blend) {
    if (!vertices || vertexCount < 3 || isClippedAway()) return;
    if (indices) {
        if (indexCount < 3) return;
        for (int i = 0; i < indexCount; ++i) {
            if (indices[i] < 0 || indices[i] >= vertexCount) {
                CCLog("SDLRenderer: triangle index %d out of range (%d vertices)", indices[i],
                      vertexCount);
                return;
            }
        }
    }
    SDL_Texture* tex = nullptr;
    if (texture) {
        tex = texture->deviceTexture(m_renderer);
        if (!tex) return;
    }
    std::vector<SDL_Vertex>& verts = *m_scratch;
    verts.resize(vertexCount);
    bool opaque = !texture || texture->isOpaque();
    for (int i = 0; i < vertexCount; ++i) {
        const RenderVertex& rv = vertices[i];
        float px, py;
        toPixels(rv.x, rv.y, px, py);
        if (!std::isfinite(px) || !std::isfinite(py)) return;
        verts[i].position = SDL_FPoint{px, py};
        verts[i].color = toSDL(rv.color);
        verts[i].tex_coord = SDL_FPoint{clamp01(rv.u), clamp01(rv.v)};
        if (rv.color.a != 255) opaque = false;
    }
    setBlend(tex, blend, opaque);
    ++m_drawCalls;
    SDL_RenderGeometry(m_renderer, tex, verts.data(), vertexCount, indices,
                       indices ? indexCount : 0);
}

void SDLRenderer::pushClipRect(const CCRect& worldRect) {
    Level& l = level();
    float ax, ay, bx, by;
    toPixels(worldRect.getMinX(), worldRect.getMinY(), ax, ay);
    toPixels(worldRect.getMaxX(), worldRect.getMaxY(), bx, by);
    Clip c;
    // Rounding both edges makes neighbouring clip rectangles tile without gaps.
    auto px = [](float v) {
        if (!std::isfinite(v)) return 0L;
        return std::lround(std::max(-1e6f, std::min(1e6f, v)));
    };
    c.x0 = (int)px(std::min(ax, bx));
    c.x1 = (int)px(std::max(ax, bx));
    c.y0 = (int)px(std::min(ay, by));
    c.y1 = (int)px(std::max(ay, by));
    Clip outer = outerClip();
    c.x0 = std::max(c.x0, outer.x0);
    c.y0 = std::max(c.y0, outer.y0);
    c.x1 = std::min(c.x1, outer.x1);
    c.y1 = std::min(c.y1, outer.y1);
    l.clips.push_back(c);
    applyClip();
}

void SDLRenderer::popClipRect() {
    Level& l = level();
    if (l.clips.empty()) {
        CCLog("SDLRenderer: popClipRect without a matching push");
        return;
    }
    l.clips.pop_back();
    applyClip();
}

void SDLRenderer::applyClip() {
    const Level& l = level();
    if (l.clips.empty() && !l.hasBase) {
        SDL_RenderSetClipRect(m_renderer, nullptr);
        return;
    }
    Clip c = outerClip();
    if (c.x1 <= c.x0 || c.y1 <= c.y0) return;  // nothing is drawn while the clip is empty
    SDL_Rect r{c.x0, c.y0, c.x1 - c.x0, c.y1 - c.y0};
    SDL_RenderSetClipRect(m_renderer, &r);
}

void SDLRenderer::beginRenderTarget(CCTexture2D* target, const CCRect& view,
                                    const ccColor4B* clear) {
    Level l;
    l.target = target;
    l.view = view;
    SDL_Texture* tex = nullptr;
    if (!target || !target->isRenderTarget()) {
        CCLog("SDLRenderer: beginRenderTarget needs a texture made with initAsRenderTarget");
    } else {
        tex = target->deviceTexture(m_renderer);
        if (!tex) CCLog("SDLRenderer: cannot create a render target: %s", SDL_GetError());
    }
    if (tex && SDL_SetRenderTarget(m_renderer, tex) == 0) {
        l.pw = target->getPixelsWide();
        l.ph = target->getPixelsHigh();
    }
    // A target that failed keeps its level (so begin/end stay paired) but draws nothing.
    m_levels.push_back(l);
    if (l.pw > 0) {
        SDL_RenderSetClipRect(m_renderer, nullptr);
        if (clear) {
            SDL_SetRenderDrawColor(m_renderer, clear->r, clear->g, clear->b, clear->a);
            SDL_RenderClear(m_renderer);
        }
    }
}

void SDLRenderer::endRenderTarget() {
    if (m_levels.size() <= 1) {
        CCLog("SDLRenderer: endRenderTarget without a matching begin");
        return;
    }
    m_levels.pop_back();
    const Level& l = level();
    SDL_Texture* prev = l.target ? l.target->deviceTexture(m_renderer) : nullptr;
    SDL_SetRenderTarget(m_renderer, prev);
    applyClip();
}

SDL_Surface* SDLRenderer::readSurface() const {
    SDL_RenderFlush(m_renderer);
    if (m_surface && m_levels.size() == 1) {
        return SDL_ConvertSurfaceFormat(m_surface, SDL_PIXELFORMAT_ARGB8888, 0);
    }
    const Level& l = level();
    if (l.pw <= 0 || l.ph <= 0) return nullptr;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, l.pw, l.ph, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!s) return nullptr;
    if (SDL_RenderReadPixels(m_renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, s->pixels, s->pitch) !=
        0) {
        SDL_FreeSurface(s);
        return nullptr;
    }
    return s;
}

ccColor4B SDLRenderer::readPixel(int x, int y) const {
    const Level& l = level();
    // The offscreen surface is read whole, bars beside a kept-proportion picture included.
    const bool whole = m_surface && m_levels.size() == 1;
    const int w = whole ? m_surface->w : l.pw, h = whole ? m_surface->h : l.ph;
    if (x < 0 || y < 0 || x >= w || y >= h) return ccColor4B(0, 0, 0, 0);
    SDL_RenderFlush(m_renderer);
    Uint32 p = 0;
    if (m_surface && m_levels.size() == 1) {
        p = ((const Uint32*)((const Uint8*)m_surface->pixels + y * m_surface->pitch))[x];
    } else {
        SDL_Rect r{x, y, 1, 1};
        if (SDL_RenderReadPixels(m_renderer, &r, SDL_PIXELFORMAT_ARGB8888, &p, 4) != 0)
            return ccColor4B(0, 0, 0, 0);
    }
    return ccColor4B((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF, p >> 24);
}

bool SDLRenderer::savePNG(const std::string& path) const {
    SDL_Surface* s = readSurface();
    if (!s) {
        CCLog("SDLRenderer: cannot read the frame back: %s", SDL_GetError());
        return false;
    }
    bool ok = IMG_SavePNG(s, path.c_str()) == 0;
    if (!ok) CCLog("SDLRenderer: cannot write %s: %s", path.c_str(), IMG_GetError());
    SDL_FreeSurface(s);
    return ok;
}

void SDLRenderer::prepareTexture(CCTexture2D* texture) {
    if (!texture) return;
    SDL_Texture* device = texture->deviceTexture(m_renderer);
    if (!device || !texture->isRenderTarget()) return;
    // A target's memory is only taken when it is first drawn into: clear it now.
    SDL_Texture* previous = SDL_GetRenderTarget(m_renderer);
    if (SDL_SetRenderTarget(m_renderer, device) == 0) {
        SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
        SDL_RenderClear(m_renderer);
        SDL_SetRenderTarget(m_renderer, previous);
    }
}

}  // namespace pagly::engine
