#pragma once

#include <vector>

#include "engine/nodes/CCNode.h"
#include "engine/render/RenderTypes.h"

namespace pagly::engine {

// Filled shapes drawn in the node's own space: dots, thick segments and convex polygons with
// an optional border. Shapes accumulate until clear(). Also serves as a clipping stencil,
// where the bounding rectangle of what it holds is the clip.
class CCDrawNode : public CCNode {
  public:
    static CCDrawNode* create();

    void drawDot(const CCPoint& pos, float radius, const ccColor4F& color);
    void drawSegment(const CCPoint& from, const CCPoint& to, float radius, const ccColor4F& color);
    // A convex polygon (a fan from the first vertex), with a border of `borderWidth` on
    // each side of its edges when the width is above 0.
    void drawPolygon(const CCPoint* verts, unsigned int count, const ccColor4F& fillColor,
                     float borderWidth, const ccColor4F& borderColor);
    void clear();

    bool isEmpty() const { return m_triangles.empty(); }
    // The rectangle (node space) around everything drawn; zero when empty.
    CCRect getBoundingRect() const;

    void setBlendFunc(const ccBlendFunc& blend) { m_blend = blend; }
    const ccBlendFunc& getBlendFunc() const { return m_blend; }

    void draw(Renderer* renderer) override;

  private:
    void addTriangle(const CCPoint& a, const CCPoint& b, const CCPoint& c, const ccColor4B& color);
    // Node-space triangles, three vertices each.
    std::vector<RenderVertex> m_triangles;
    std::vector<RenderVertex> m_scratch;
    ccBlendFunc m_blend;
};

}  // namespace pagly::engine
