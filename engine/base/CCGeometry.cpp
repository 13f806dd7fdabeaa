#include "engine/base/CCGeometry.h"

#include <algorithm>

namespace pagly::engine {

const CCPoint CCPointZero(0, 0);
const CCSize CCSizeZero(0, 0);
const CCRect CCRectZero(0, 0, 0, 0);
const ccColor3B kColorWhite = ccColor3B(255, 255, 255);
const ccColor3B kColorBlack = ccColor3B(0, 0, 0);
const ccColor3B kColorRed = ccColor3B(255, 0, 0);
const ccColor3B kColorGreen = ccColor3B(0, 255, 0);
const ccColor3B kColorBlue = ccColor3B(0, 0, 255);
const ccColor3B kColorYellow = ccColor3B(255, 255, 0);
const ccColor3B kColorGray = ccColor3B(166, 166, 166);
const CCAffineTransform CCAffineTransformIdentity = CCAffineTransformMakeIdentity();

CCAffineTransform CCAffineTransformMake(float a, float b, float c, float d, float tx, float ty) {
    CCAffineTransform t;
    t.a = a, t.b = b, t.c = c, t.d = d, t.tx = tx, t.ty = ty;
    return t;
}

CCAffineTransform CCAffineTransformMakeIdentity() {
    return CCAffineTransformMake(1, 0, 0, 1, 0, 0);
}

CCPoint CCPointApplyAffineTransform(const CCPoint& p, const CCAffineTransform& t) {
    return CCPoint(t.a * p.x + t.c * p.y + t.tx, t.b * p.x + t.d * p.y + t.ty);
}

CCRect CCRectApplyAffineTransform(const CCRect& r, const CCAffineTransform& t) {
    CCPoint corners[4] = {
        CCPointApplyAffineTransform(CCPoint(r.getMinX(), r.getMinY()), t),
        CCPointApplyAffineTransform(CCPoint(r.getMaxX(), r.getMinY()), t),
        CCPointApplyAffineTransform(CCPoint(r.getMinX(), r.getMaxY()), t),
        CCPointApplyAffineTransform(CCPoint(r.getMaxX(), r.getMaxY()), t),
    };
    float minX = corners[0].x, maxX = corners[0].x, minY = corners[0].y, maxY = corners[0].y;
    for (const CCPoint& c : corners) {
        minX = std::min(minX, c.x), maxX = std::max(maxX, c.x);
        minY = std::min(minY, c.y), maxY = std::max(maxY, c.y);
    }
    return CCRect(minX, minY, maxX - minX, maxY - minY);
}

CCAffineTransform CCAffineTransformTranslate(const CCAffineTransform& t, float tx, float ty) {
    return CCAffineTransformMake(t.a, t.b, t.c, t.d, t.tx + t.a * tx + t.c * ty,
                                 t.ty + t.b * tx + t.d * ty);
}

CCAffineTransform CCAffineTransformScale(const CCAffineTransform& t, float sx, float sy) {
    return CCAffineTransformMake(t.a * sx, t.b * sx, t.c * sy, t.d * sy, t.tx, t.ty);
}

CCAffineTransform CCAffineTransformRotate(const CCAffineTransform& t, float angle) {
    float s = std::sin(angle), c = std::cos(angle);
    return CCAffineTransformMake(t.a * c + t.c * s, t.b * c + t.d * s, t.c * c - t.a * s,
                                 t.d * c - t.b * s, t.tx, t.ty);
}

CCAffineTransform CCAffineTransformConcat(const CCAffineTransform& t1,
                                          const CCAffineTransform& t2) {
    return CCAffineTransformMake(t1.a * t2.a + t1.b * t2.c, t1.a * t2.b + t1.b * t2.d,
                                 t1.c * t2.a + t1.d * t2.c, t1.c * t2.b + t1.d * t2.d,
                                 t1.tx * t2.a + t1.ty * t2.c + t2.tx,
                                 t1.tx * t2.b + t1.ty * t2.d + t2.ty);
}

bool CCAffineTransformEqualToTransform(const CCAffineTransform& t1, const CCAffineTransform& t2) {
    return t1.a == t2.a && t1.b == t2.b && t1.c == t2.c && t1.d == t2.d && t1.tx == t2.tx &&
           t1.ty == t2.ty;
}

bool CCAffineTransformIsInvertible(const CCAffineTransform& t) {
    return t.a * t.d - t.b * t.c != 0;
}

CCAffineTransform CCAffineTransformInvert(const CCAffineTransform& t) {
    float det = t.a * t.d - t.b * t.c;
    if (det == 0) return CCAffineTransformMakeIdentity();  // a degenerate (zero-scale) node
    float inv = 1.0f / det;
    return CCAffineTransformMake(inv * t.d, -inv * t.b, -inv * t.c, inv * t.a,
                                 inv * (t.c * t.ty - t.d * t.tx), inv * (t.b * t.tx - t.a * t.ty));
}

}  // namespace pagly::engine
