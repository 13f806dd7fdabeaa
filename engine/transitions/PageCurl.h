#pragma once

#include <vector>

#include "engine/base/CCGeometry.h"
#include "engine/render/RenderTypes.h"

namespace pagly::engine {

// The geometry of a page peeling off a flat page: a grid over the page whose part beyond a
// moving straight line (the curl axis) wraps round a cylinder and, past half a turn, lies
// folded back over the page. The bottom-right corner leads; the axis sweeps from the right
// edge (progress 0: the page lies flat) to beyond the left edge (progress 1: the whole page is
// folded away, nothing of it on the page area).
//
// Where the page still lies flat, whole bands of grid cells are left out of the mesh and
// given as rectangles instead (flatRects): they are the page as it is and can be drawn as
// plain, unbent copies, which costs far less than textured triangles.
//
// The result is two vertex lists over the same grid: the front of the page (textured with the
// page, shaded by how far the surface turns away) and the back of the paper (untextured,
// paper-coloured, shaded); plus index lists for the front triangles and the back ones. Draw
// the front, then the back: the back lies above the front wherever they overlap. Texture
// coordinates map the page area with (0, 0) at its top-left.
class PageCurl {
  public:
    // Page size in world units (the page lies at the origin) and grid resolution.
    void setPage(const CCSize& size, int columns = 32, int rows = 48);
    // Recomputes the mesh for a progress 0..1 (clamped).
    void build(float progress);

    const std::vector<RenderVertex>& frontVertices() const { return m_front; }
    const std::vector<RenderVertex>& backPaperVertices() const { return m_paper; }
    const std::vector<int>& frontIndices() const { return m_frontIdx; }
    const std::vector<int>& backIndices() const { return m_backIdx; }
    // Flat parts of the page left out of the mesh, in page coordinates (origin bottom-left).
    const std::vector<CCRect>& flatRects() const { return m_flat; }

    // The soft shadow the lifted page casts on what lies beneath, as a quad (corners in the
    // order bottom-left, bottom-right, top-left, top-right). False when nothing is curled.
    bool shadow(CCPoint corners[4], ccColor4B colors[4]) const;

    // For tests: the curl axis offset, its normal and the cylinder radius of the last build.
    float axisOffset() const { return m_c; }
    CCPoint axisNormal() const { return m_n; }
    float radius() const { return m_r; }

  private:
    CCSize m_size;
    int m_cols = 24, m_rows = 36;
    float m_c = 0, m_r = 1;
    CCPoint m_n{1, 0};
    bool m_curled = false;
    std::vector<RenderVertex> m_front, m_paper;
    std::vector<float> m_theta;
    std::vector<int> m_frontIdx, m_backIdx;
    std::vector<int> m_flatColumns;  // per row of cells: leading cells drawn as flat rectangles
    std::vector<CCRect> m_flat;
};

}  // namespace pagly::engine
