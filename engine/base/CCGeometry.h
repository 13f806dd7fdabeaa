#pragma once

#include <cmath>

// Value types of the engine: points, sizes, rectangles, colours and 2D affine transforms.
namespace cocos2d {

class CCPoint {
  public:
    float x = 0, y = 0;
    CCPoint() = default;
    CCPoint(float px, float py) : x(px), y(py) {}
    void setPoint(float px, float py) { x = px, y = py; }
    bool equals(const CCPoint& o) const { return x == o.x && y == o.y; }
    bool fuzzyEquals(const CCPoint& o, float variance) const {
        return std::fabs(x - o.x) <= variance && std::fabs(y - o.y) <= variance;
    }
    CCPoint operator+(const CCPoint& o) const { return CCPoint(x + o.x, y + o.y); }
    CCPoint operator-(const CCPoint& o) const { return CCPoint(x - o.x, y - o.y); }
    CCPoint operator-() const { return CCPoint(-x, -y); }
    CCPoint operator*(float a) const { return CCPoint(x * a, y * a); }
    CCPoint operator/(float a) const { return CCPoint(x / a, y / a); }
    bool operator==(const CCPoint& o) const { return equals(o); }
    bool operator!=(const CCPoint& o) const { return !equals(o); }
    float getLength() const { return std::sqrt(x * x + y * y); }
    float getDistance(const CCPoint& o) const { return (*this - o).getLength(); }
};

class CCSize {
  public:
    float width = 0, height = 0;
    CCSize() = default;
    CCSize(float w, float h) : width(w), height(h) {}
    void setSize(float w, float h) { width = w, height = h; }
    bool equals(const CCSize& o) const { return width == o.width && height == o.height; }
    bool operator==(const CCSize& o) const { return equals(o); }
    bool operator!=(const CCSize& o) const { return !equals(o); }
    CCSize operator*(float a) const { return CCSize(width * a, height * a); }
    CCSize operator/(float a) const { return CCSize(width / a, height / a); }
    CCSize operator+(const CCSize& o) const { return CCSize(width + o.width, height + o.height); }
    CCSize operator-(const CCSize& o) const { return CCSize(width - o.width, height - o.height); }
};

class CCRect {
  public:
    CCPoint origin;
    CCSize size;
    CCRect() = default;
    CCRect(float x, float y, float w, float h) : origin(x, y), size(w, h) {}
    void setRect(float x, float y, float w, float h) { origin.setPoint(x, y), size.setSize(w, h); }
    float getMinX() const { return origin.x; }
    float getMidX() const { return origin.x + size.width / 2.0f; }
    float getMaxX() const { return origin.x + size.width; }
    float getMinY() const { return origin.y; }
    float getMidY() const { return origin.y + size.height / 2.0f; }
    float getMaxY() const { return origin.y + size.height; }
    bool equals(const CCRect& o) const { return origin.equals(o.origin) && size.equals(o.size); }
    bool operator==(const CCRect& o) const { return equals(o); }
    // Edges included, as the engine's hit tests expect.
    bool containsPoint(const CCPoint& p) const {
        return p.x >= getMinX() && p.x <= getMaxX() && p.y >= getMinY() && p.y <= getMaxY();
    }
    bool intersectsRect(const CCRect& r) const {
        return !(getMaxX() < r.getMinX() || r.getMaxX() < getMinX() || getMaxY() < r.getMinY() ||
                 r.getMaxY() < getMinY());
    }
};

inline CCPoint ccp(float x, float y) { return CCPoint(x, y); }
#define CCPointMake(x, y) cocos2d::CCPoint((float)(x), (float)(y))
#define CCSizeMake(w, h) cocos2d::CCSize((float)(w), (float)(h))
#define CCRectMake(x, y, w, h) cocos2d::CCRect((float)(x), (float)(y), (float)(w), (float)(h))
extern const CCPoint CCPointZero;
extern const CCSize CCSizeZero;
extern const CCRect CCRectZero;

inline CCPoint ccpAdd(const CCPoint& a, const CCPoint& b) { return a + b; }
inline CCPoint ccpSub(const CCPoint& a, const CCPoint& b) { return a - b; }
inline CCPoint ccpMult(const CCPoint& a, float s) { return a * s; }
inline float ccpDistance(const CCPoint& a, const CCPoint& b) { return a.getDistance(b); }

struct ccColor3B {
    unsigned char r = 0, g = 0, b = 0;
    bool operator==(const ccColor3B& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const ccColor3B& o) const { return !(*this == o); }
};
struct ccColor4B {
    unsigned char r = 0, g = 0, b = 0, a = 0;
    bool operator==(const ccColor4B& o) const {
        return r == o.r && g == o.g && b == o.b && a == o.a;
    }
    bool operator!=(const ccColor4B& o) const { return !(*this == o); }
};
struct ccColor4F {
    float r = 0, g = 0, b = 0, a = 0;
};
inline ccColor3B ccc3(unsigned char r, unsigned char g, unsigned char b) {
    ccColor3B c;
    c.r = r, c.g = g, c.b = b;
    return c;
}
inline ccColor4B ccc4(unsigned char r, unsigned char g, unsigned char b, unsigned char a) {
    ccColor4B c;
    c.r = r, c.g = g, c.b = b, c.a = a;
    return c;
}
inline ccColor4F ccc4f(float r, float g, float b, float a) {
    ccColor4F c;
    c.r = r, c.g = g, c.b = b, c.a = a;
    return c;
}
inline ccColor4F ccc4FFromccc4B(const ccColor4B& c) {
    return ccc4f(c.r / 255.f, c.g / 255.f, c.b / 255.f, c.a / 255.f);
}
extern const ccColor3B ccWHITE;
extern const ccColor3B ccBLACK;
extern const ccColor3B ccRED;
extern const ccColor3B ccGREEN;
extern const ccColor3B ccBLUE;
extern const ccColor3B ccYELLOW;
extern const ccColor3B ccGRAY;

// x' = a*x + c*y + tx ; y' = b*x + d*y + ty
struct CCAffineTransform {
    float a = 1, b = 0, c = 0, d = 1;
    float tx = 0, ty = 0;
};
CCAffineTransform CCAffineTransformMake(float a, float b, float c, float d, float tx, float ty);
CCPoint CCPointApplyAffineTransform(const CCPoint& p, const CCAffineTransform& t);
CCRect CCRectApplyAffineTransform(const CCRect& r, const CCAffineTransform& t);
CCAffineTransform CCAffineTransformMakeIdentity();
CCAffineTransform CCAffineTransformTranslate(const CCAffineTransform& t, float tx, float ty);
CCAffineTransform CCAffineTransformRotate(const CCAffineTransform& t, float angle);
CCAffineTransform CCAffineTransformScale(const CCAffineTransform& t, float sx, float sy);
// Result applies t1 first, then t2.
CCAffineTransform CCAffineTransformConcat(const CCAffineTransform& t1, const CCAffineTransform& t2);
bool CCAffineTransformEqualToTransform(const CCAffineTransform& t1, const CCAffineTransform& t2);
CCAffineTransform CCAffineTransformInvert(const CCAffineTransform& t);
// False for a transform that flattens the plane (a zero scale): its inverse is no inverse.
bool CCAffineTransformIsInvertible(const CCAffineTransform& t);
extern const CCAffineTransform CCAffineTransformIdentity;

#define CC_DEGREES_TO_RADIANS(__ANGLE__) ((__ANGLE__)*0.01745329252f)
#define CC_RADIANS_TO_DEGREES(__ANGLE__) ((__ANGLE__)*57.29577951f)

}  // namespace cocos2d
