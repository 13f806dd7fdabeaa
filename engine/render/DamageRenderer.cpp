#include "engine/render/DamageRenderer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/render/CCTexture2D.h"
#include "engine/render/SDLRenderer.h"

namespace pagly::engine {

namespace {

// Descriptions are compared word by word: floats by their bits, so any change counts.
void put(std::vector<uint32_t>& key, float f) {
    uint32_t w;
    std::memcpy(&w, &f, sizeof w);
    key.push_back(w);
}
void put(std::vector<uint32_t>& key, uint32_t w) { key.push_back(w); }
void put(std::vector<uint32_t>& key, const void* p) {
    uint64_t v = (uint64_t)(uintptr_t)p;
    key.push_back((uint32_t)v);
    key.push_back((uint32_t)(v >> 32));
}
void put(std::vector<uint32_t>& key, const ccColor4B& c) {
    key.push_back((uint32_t)c.r | (uint32_t)c.g << 8 | (uint32_t)c.b << 16 | (uint32_t)c.a << 24);
}
void put(std::vector<uint32_t>& key, const ccBlendFunc& b) {
    key.push_back(b.src);
    key.push_back(b.dst);
}
void putTexture(std::vector<uint32_t>& key, CCTexture2D* t) {
    put(key, (const void*)t);
    uint64_t id = t ? t->contentId() : 0;
    key.push_back((uint32_t)id);
    key.push_back((uint32_t)(id >> 32));
    key.push_back(t && t->isOpaque() ? 1u : 0u);
}

}  // namespace

void DamageRenderer::Frame::clear() {
    commands.clear();
    keys.clear();
    quads.clear();
    colored.clear();
    triangles.clear();
    clips.clear();
}

DamageRenderer::DamageRenderer(SDLRenderer* inner) : m_inner(inner) {}

DamageRenderer::~DamageRenderer() = default;

void DamageRenderer::setDesignSize(const CCSize& size) {
    m_inner->setDesignSize(size);
    m_fullNext = true;
}

CCSize DamageRenderer::getDesignSize() const { return m_inner->getDesignSize(); }

CCSize DamageRenderer::getOutputPixelSize() const { return m_inner->getOutputPixelSize(); }

void DamageRenderer::beginFrame() {
    m_frame.clear();
    m_recording = true;
    m_passing = false;
    // The clip stack is kept by the inner renderer while recording (nodes ask whether they
    // are clipped away); its frame starts properly when the commands are replayed.
    m_inner->beginFrameKeepingPixels();
    CCSize out = m_inner->getOutputPixelSize();
    if ((int)out.width != m_outW || (int)out.height != m_outH) {
        m_outW = (int)out.width, m_outH = (int)out.height;
        m_fullNext = true;
    }
}

DamageRenderer::Box DamageRenderer::boxOfPoints(const float* xs, const float* ys, int count) const {
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    for (int i = 0; i < count; ++i) {
        if (!std::isfinite(xs[i]) || !std::isfinite(ys[i])) return Box{};
        x0 = std::min(x0, xs[i]), x1 = std::max(x1, xs[i]);
        y0 = std::min(y0, ys[i]), y1 = std::max(y1, ys[i]);
    }
    int clip[4];
    m_inner->clipInPixels(clip);
    // A pixel is touched when any part of it is covered; one more keeps filtering's reach.
    Box b;
    b.x0 = std::max(clip[0], (int)std::floor(std::max(x0, -1e6f)) - 1);
    b.y0 = std::max(clip[1], (int)std::floor(std::max(y0, -1e6f)) - 1);
    b.x1 = std::min(clip[2], (int)std::ceil(std::min(x1, 1e6f)) + 1);
    b.y1 = std::min(clip[3], (int)std::ceil(std::min(y1, 1e6f)) + 1);
    return b;
}

void DamageRenderer::add(Kind kind, const Box& box, uint32_t arg,
                         const std::vector<uint32_t>& key) {
    Command c;
    c.kind = kind;
    c.box = box;
    c.arg = arg;
    c.key = (uint32_t)m_frame.keys.size();
    c.keyLength = (uint32_t)key.size();
    m_frame.keys.insert(m_frame.keys.end(), key.begin(), key.end());
    m_frame.commands.push_back(c);
}

void DamageRenderer::drawTexturedQuad(const TexturedQuad& q) {
    if (m_passing) return m_inner->drawTexturedQuad(q);
    if (!q.texture || q.color.a == 0 || isClippedAway()) return;
    const CCRect& r = q.rect;
    CCPoint corners[4] = {CCPoint(r.getMinX(), r.getMinY()), CCPoint(r.getMaxX(), r.getMinY()),
                          CCPoint(r.getMinX(), r.getMaxY()), CCPoint(r.getMaxX(), r.getMaxY())};
    float xs[4], ys[4];
    for (int i = 0; i < 4; ++i) {
        CCPoint w = CCPointApplyAffineTransform(corners[i], q.transform);
        m_inner->designToPixels(w.x, w.y, xs[i], ys[i]);
    }
    std::vector<uint32_t>& key = m_scratchKey;
    key.clear();
    putTexture(key, q.texture);
    for (float f :
         {q.textureRect.origin.x, q.textureRect.origin.y, q.textureRect.size.width,
          q.textureRect.size.height, xs[0], ys[0], xs[1], ys[1], xs[2], ys[2], xs[3], ys[3]})
        put(key, f);
    put(key, q.color);
    put(key, q.blend);
    put(key, (uint32_t)(q.rotated | q.flipX << 1 | q.flipY << 2));
    add(Kind::Quad, boxOfPoints(xs, ys, 4), (uint32_t)m_frame.quads.size(), key);
    m_frame.quads.push_back(q);
}

void DamageRenderer::drawColoredQuad(const CCPoint corners[4], const ccColor4B colors[4],
                                     const ccBlendFunc& blend) {
    if (m_passing) return m_inner->drawColoredQuad(corners, colors, blend);
    if (isClippedAway()) return;
    float xs[4], ys[4];
    std::vector<uint32_t>& key = m_scratchKey;
    key.clear();
    Colored c;
    for (int i = 0; i < 4; ++i) {
        m_inner->designToPixels(corners[i].x, corners[i].y, xs[i], ys[i]);
        put(key, xs[i]);
        put(key, ys[i]);
        put(key, colors[i]);
        c.corners[i] = corners[i];
        c.colors[i] = colors[i];
    }
    put(key, blend);
    c.blend = blend;
    add(Kind::Colored, boxOfPoints(xs, ys, 4), (uint32_t)m_frame.colored.size(), key);
    m_frame.colored.push_back(c);
}

void DamageRenderer::drawTriangles(CCTexture2D* texture, const RenderVertex* vertices,
                                   int vertexCount, const int* indices, int indexCount,
                                   const ccBlendFunc& blend) {
    if (m_passing)
        return m_inner->drawTriangles(texture, vertices, vertexCount, indices, indexCount, blend);
    if (!vertices || vertexCount < 3 || isClippedAway()) return;
    Triangles t{
        texture, std::vector<RenderVertex>(vertices, vertices + vertexCount),
        indices ? std::vector<int>(indices, indices + std::max(0, indexCount)) : std::vector<int>(),
        blend};
    std::vector<float> xs(vertexCount), ys(vertexCount);
    std::vector<uint32_t>& key = m_scratchKey;
    key.clear();
    putTexture(key, texture);
    for (int i = 0; i < vertexCount; ++i) {
        m_inner->designToPixels(vertices[i].x, vertices[i].y, xs[i], ys[i]);
        put(key, xs[i]);
        put(key, ys[i]);
        put(key, vertices[i].u);
        put(key, vertices[i].v);
        put(key, vertices[i].color);
    }
    put(key, (uint32_t)(indices ? indexCount : 0));
    for (int i : t.indices) put(key, (uint32_t)i);
    put(key, blend);
    add(Kind::Triangles, boxOfPoints(xs.data(), ys.data(), vertexCount),
        (uint32_t)m_frame.triangles.size(), key);
    m_frame.triangles.push_back(std::move(t));
}

void DamageRenderer::pushClipRect(const CCRect& worldRect) {
    m_inner->pushClipRect(worldRect);
    if (m_passing) return;
    int clip[4];
    m_inner->clipInPixels(clip);
    std::vector<uint32_t>& key = m_scratchKey;
    key.clear();
    for (int v : clip) put(key, (uint32_t)v);
    add(Kind::PushClip, Box{}, (uint32_t)m_frame.clips.size(), key);
    m_frame.clips.push_back(worldRect);
}

void DamageRenderer::popClipRect() {
    m_inner->popClipRect();
    if (m_passing) return;
    m_scratchKey.clear();
    add(Kind::PopClip, Box{}, 0, m_scratchKey);
}

bool DamageRenderer::isClippedAway() const { return m_inner->isClippedAway(); }

void DamageRenderer::passThrough() {
    // Whatever clips are pushed now must be pushed again, in order, after the fresh start.
    int open = 0;
    for (const Command& c : m_frame.commands) {
        if (c.kind == Kind::PushClip) ++open;
        if (c.kind == Kind::PopClip) --open;
    }
    for (int i = 0; i < open; ++i) m_inner->popClipRect();
    m_inner->beginFrame();
    replay(m_frame);
    m_passing = true;
    m_lastValid = false;
}

void DamageRenderer::beginRenderTarget(CCTexture2D* target, const CCRect& view,
                                       const ccColor4B* clear) {
    if (!m_passing) passThrough();
    m_inner->beginRenderTarget(target, view, clear);
}

void DamageRenderer::prepareTexture(CCTexture2D* texture) { m_inner->prepareTexture(texture); }

void DamageRenderer::endRenderTarget() {
    if (!m_passing) passThrough();
    m_inner->endRenderTarget();
}

void DamageRenderer::replay(const Frame& f) {
    for (const Command& c : f.commands) {
        switch (c.kind) {
            case Kind::Quad:
                m_inner->drawTexturedQuad(f.quads[c.arg]);
                break;
            case Kind::Colored: {
                const Colored& q = f.colored[c.arg];
                m_inner->drawColoredQuad(q.corners, q.colors, q.blend);
                break;
            }
            case Kind::Triangles: {
                const Triangles& t = f.triangles[c.arg];
                m_inner->drawTriangles(t.texture, t.vertices.data(), (int)t.vertices.size(),
                                       t.indices.empty() ? nullptr : t.indices.data(),
                                       (int)t.indices.size(), t.blend);
                break;
            }
            case Kind::PushClip:
                m_inner->pushClipRect(f.clips[c.arg]);
                break;
            case Kind::PopClip:
                m_inner->popClipRect();
                break;
        }
    }
}

bool DamageRenderer::sameCommand(size_t i) const {
    const Command& a = m_frame.commands[i];
    const Command& b = m_last.commands[i];
    return a.kind == b.kind && a.keyLength == b.keyLength &&
           std::equal(m_frame.keys.begin() + a.key, m_frame.keys.begin() + a.key + a.keyLength,
                      m_last.keys.begin() + b.key);
}

void DamageRenderer::endFrame() {
    m_recording = false;
    if (m_passing) {
        m_inner->endFrame();
        m_passing = false;
        m_damage[0] = m_damage[1] = 0, m_damage[2] = m_outW, m_damage[3] = m_outH;
        m_damageWhole = true;
        m_frame.clear();
        m_lastValid = false;
        return;
    }
    // The recording's inner frame drew nothing; the real one starts below.
    bool whole = m_fullNext || !m_lastValid || m_frame.commands.size() != m_last.commands.size();
    Box damage;
    auto grow = [&](const Box& b) {
        if (b.empty()) return;
        if (damage.empty()) {
            damage = b;
            return;
        }
        damage.x0 = std::min(damage.x0, b.x0), damage.y0 = std::min(damage.y0, b.y0);
        damage.x1 = std::max(damage.x1, b.x1), damage.y1 = std::max(damage.y1, b.y1);
    };
    for (size_t i = 0; !whole && i < m_frame.commands.size(); ++i) {
        if (sameCommand(i)) continue;
        Kind k = m_frame.commands[i].kind;
        if (k == Kind::PushClip || k == Kind::PopClip) {
            whole = true;  // a moved clip changes what everything inside it shows
            break;
        }
        grow(m_last.commands[i].box);
        grow(m_frame.commands[i].box);
    }
    if (!whole && !damage.empty()) {
        // Take in every textured quad the damage touches, whole (see the class comment).
        for (bool grew = true; grew;) {
            grew = false;
            for (const Command& c : m_frame.commands) {
                if (c.kind != Kind::Quad || c.box.empty()) continue;
                const Box& b = c.box;
                bool touches =
                    b.x0 < damage.x1 && damage.x0 < b.x1 && b.y0 < damage.y1 && damage.y0 < b.y1;
                bool inside = b.x0 >= damage.x0 && b.y0 >= damage.y0 && b.x1 <= damage.x1 &&
                              b.y1 <= damage.y1;
                if (touches && !inside) {
                    grow(b);
                    grew = true;
                }
            }
        }
        damage.x0 = std::max(0, damage.x0), damage.y0 = std::max(0, damage.y0);
        damage.x1 = std::min(m_outW, damage.x1), damage.y1 = std::min(m_outH, damage.y1);
        if (damage.x0 == 0 && damage.y0 == 0 && damage.x1 == m_outW && damage.y1 == m_outH)
            whole = true;
    }
    if (whole) {
        m_inner->beginFrame();
        replay(m_frame);
        m_inner->endFrame();
        m_damage[0] = m_damage[1] = 0, m_damage[2] = m_outW, m_damage[3] = m_outH;
    } else if (!damage.empty()) {
        int rect[4] = {damage.x0, damage.y0, damage.x1 - damage.x0, damage.y1 - damage.y0};
        m_inner->beginPartialFrame(rect);
        replay(m_frame);
        m_inner->endPartialFrame(rect);
        std::copy(rect, rect + 4, m_damage);
    } else {
        // Nothing visible changed: nothing is drawn or shown.
        m_damage[0] = m_damage[1] = m_damage[2] = m_damage[3] = 0;
    }
    m_damageWhole = whole;
    m_fullNext = false;
    std::swap(m_frame, m_last);
    m_lastValid = true;
}

void DamageRenderer::lastDamage(int rect[4], bool& whole) const {
    std::copy(m_damage, m_damage + 4, rect);
    whole = m_damageWhole;
}

}  // namespace pagly::engine
