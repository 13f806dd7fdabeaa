#include "engine/nodes/CCDrawNode.h"

#include <algorithm>
#include <cmath>

#include "engine/base/CCRedraw.h"
#include "engine/render/Renderer.h"

namespace pagly::engine {

namespace {
// Shapes with more vertices than this are refused: a corrupt count must not exhaust memory.
const unsigned int kMaxPolygonVertices = 65536;

ccColor4B toBytes(const ccColor4F& c) {
    auto b = [](float v) {
        if (!(v > 0)) return (unsigned char)0;  // also catches NaN
        return v >= 1 ? (unsigned char)255 : (unsigned char)std::lround(v * 255);
    };
    return ccColor4B(b(c.r), b(c.g), b(c.b), b(c.a));
}
bool finite(const CCPoint& p) { return std::isfinite(p.x) && std::isfinite(p.y); }
}  // namespace

CCDrawNode* CCDrawNode::create() {
    CCDrawNode* node = new CCDrawNode();
    node->init();
    node->autorelease();
    return node;
}

void CCDrawNode::addTriangle(const CCPoint& a, const CCPoint& b, const CCPoint& c,
                             const ccColor4B& color) {
    const CCPoint* pts[3] = {&a, &b, &c};
    for (const CCPoint* p : pts) {
        RenderVertex v;
        v.x = p->x, v.y = p->y;
        v.color = color;
        m_triangles.push_back(v);
    }
}

void CCDrawNode::drawDot(const CCPoint& pos, float radius, const ccColor4F& color) {
    if (!finite(pos) || !std::isfinite(radius) || radius <= 0) return;
    const int segments = 24;
    ccColor4B c = toBytes(color);
    for (int i = 0; i < segments; ++i) {
        float a0 = 2 * (float)M_PI * i / segments, a1 = 2 * (float)M_PI * (i + 1) / segments;
        addTriangle(pos, pos + CCPoint(std::cos(a0), std::sin(a0)) * radius,
                    pos + CCPoint(std::cos(a1), std::sin(a1)) * radius, c);
    }
    ccRequestRedraw();
}

void CCDrawNode::drawSegment(const CCPoint& from, const CCPoint& to, float radius,
                             const ccColor4F& color) {
    if (!finite(from) || !finite(to) || !std::isfinite(radius) || radius <= 0) return;
    CCPoint d = to - from;
    float len = d.getLength();
    ccColor4B c = toBytes(color);
    if (len > 0) {
        CCPoint n = CCPoint(-d.y, d.x) * (radius / len);
        addTriangle(from + n, from - n, to + n, c);
        addTriangle(to + n, from - n, to - n, c);
    }
    // Round caps.
    drawDot(from, radius, color);
    drawDot(to, radius, color);
}

void CCDrawNode::drawPolygon(const CCPoint* verts, unsigned int count, const ccColor4F& fillColor,
                             float borderWidth, const ccColor4F& borderColor) {
    if (!verts || count < 3 || count > kMaxPolygonVertices) return;
    for (unsigned int i = 0; i < count; ++i)
        if (!finite(verts[i])) return;
    ccColor4B fill = toBytes(fillColor);
    for (unsigned int i = 1; i + 1 < count; ++i)
        addTriangle(verts[0], verts[i], verts[i + 1], fill);
    if (borderWidth > 0 && std::isfinite(borderWidth)) {
        for (unsigned int i = 0; i < count; ++i) {
            const CCPoint& a = verts[i];
            const CCPoint& b = verts[(i + 1) % count];
            CCPoint d = b - a;
            float len = d.getLength();
            if (len <= 0) continue;
            CCPoint n = CCPoint(-d.y, d.x) * (borderWidth / len);
            ccColor4B bc = toBytes(borderColor);
            addTriangle(a + n, a - n, b + n, bc);
            addTriangle(b + n, a - n, b - n, bc);
        }
    }
    ccRequestRedraw();
}

void CCDrawNode::clear() {
    if (m_triangles.empty()) return;
    m_triangles.clear();
    ccRequestRedraw();
}

CCRect CCDrawNode::getBoundingRect() const {
    if (m_triangles.empty()) return CCRectZero;
    float x0 = m_triangles[0].x, x1 = x0, y0 = m_triangles[0].y, y1 = y0;
    for (const RenderVertex& v : m_triangles) {
        x0 = std::min(x0, v.x), x1 = std::max(x1, v.x);
        y0 = std::min(y0, v.y), y1 = std::max(y1, v.y);
    }
    return CCRect(x0, y0, x1 - x0, y1 - y0);
}

void CCDrawNode::draw(Renderer* renderer) {
    if (!renderer || m_triangles.empty()) return;
    m_scratch.resize(m_triangles.size());
    const CCAffineTransform& t = m_worldTransform;
    for (size_t i = 0; i < m_triangles.size(); ++i) {
        const RenderVertex& v = m_triangles[i];
        RenderVertex& w = m_scratch[i];
        w = v;
        w.x = t.a * v.x + t.c * v.y + t.tx;
        w.y = t.b * v.x + t.d * v.y + t.ty;
    }
    renderer->drawTriangles(nullptr, m_scratch.data(), (int)m_scratch.size(), nullptr, 0, m_blend);
}

}  // namespace pagly::engine
