#pragma once

#include <algorithm>
#include <cmath>

#include "engine/base/CCGeometry.h"

// Small value types shared by the renderer and the nodes that feed it.
namespace pagly::engine {

// Blend factors keep the engine's GL names so callers read as usual; the SDL back-end maps
// the pairs it knows (normal, additive, multiply, opaque) to SDL blend modes.
enum {
    GL_ZERO = 0,
    GL_ONE = 1,
    GL_SRC_COLOR = 0x0300,
    GL_ONE_MINUS_SRC_COLOR = 0x0301,
    GL_SRC_ALPHA = 0x0302,
    GL_ONE_MINUS_SRC_ALPHA = 0x0303,
    GL_DST_ALPHA = 0x0304,
    GL_ONE_MINUS_DST_ALPHA = 0x0305,
    GL_DST_COLOR = 0x0306,
    GL_ONE_MINUS_DST_COLOR = 0x0307,
};

struct ccBlendFunc {
    unsigned int src = GL_SRC_ALPHA;
    unsigned int dst = GL_ONE_MINUS_SRC_ALPHA;
    bool operator==(const ccBlendFunc& o) const { return src == o.src && dst == o.dst; }
    bool operator!=(const ccBlendFunc& o) const { return !(*this == o); }
};
inline ccBlendFunc ccBlendFuncMake(unsigned int src, unsigned int dst) {
    ccBlendFunc f;
    f.src = src, f.dst = dst;
    return f;
}
// Textures hold straight (not premultiplied) alpha, so the normal blend is src-alpha.
inline ccBlendFunc ccBlendFuncDefault() { return ccBlendFunc(); }

// How a texture's pixels are interpreted when it is used; every texture in this engine holds
// straight alpha (see CCTexture2D).
inline ccColor4B ccc4BFromColor3B(const ccColor3B& c, unsigned char a) {
    return ccColor4B(c.r, c.g, c.b, a);
}

// A rectangle of whole pixels, origin top-left.
struct PixelRect {
    int x = 0, y = 0, w = 0, h = 0;
};

// The largest rectangle of width-to-height ratio `aspect` centred in a w x h output: where
// the screen shows the design area when its proportions are kept. The whole output when
// aspect is not positive or the output already has that ratio to within a pixel.
inline PixelRect fitAspect(int w, int h, float aspect) {
    PixelRect r;
    r.w = w, r.h = h;
    if (!(aspect > 0) || !std::isfinite(aspect) || w <= 0 || h <= 0) return r;
    const double fitW = std::round(h * (double)aspect);
    if (fitW <= w) {
        if (w - fitW > 1) r.w = (int)std::max(1.0, fitW), r.x = (w - r.w) / 2;
    } else {
        const double fitH = std::round(w / (double)aspect);
        if (h - fitH > 1) r.h = (int)std::max(1.0, fitH), r.y = (h - r.h) / 2;
    }
    return r;
}

// One vertex of a triangle mesh: a position in design (world) coordinates, origin bottom-left;
// a texture coordinate normalised to [0, 1] with (0, 0) at the texture's top-left pixel;
// and a colour that multiplies the texel (or is the colour when there is no texture).
struct RenderVertex {
    float x = 0, y = 0;
    float u = 0, v = 0;
    ccColor4B color = ccColor4B(255, 255, 255, 255);
};

}  // namespace pagly::engine
