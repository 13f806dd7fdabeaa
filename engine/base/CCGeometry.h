#pragma once

#include <cmath>

// Value types of the engine: points, sizes, rectangles, colours and 2D affine transforms.
namespace pagly::engine {

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

extern const CCPoint CCPointZero;
extern const CCSize CCSizeZero;
extern const CCRect CCRectZero;

struct ccColor3B {
    unsigned char r = 0, g = 0, b = 0;
    constexpr ccColor3B() = default;
    constexpr ccColor3B(unsigned char red, unsigned char green, unsigned char blue)
        : r(red), g(green), b(blue) {}
    bool operator==(const ccColor3B& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const ccColor3B& o) const { return !(*this == o); }
};
struct ccColor4B {
    unsigned char r = 0, g = 0, b = 0, a = 0;
    constexpr ccColor4B() = default;
    constexpr ccColor4B(unsigned char red, unsigned char green, unsigned char blue,
                        unsigned char alpha)
        : r(red), g(green), b(blue), a(alpha) {}
    bool operator==(const ccColor4B& o) const {
        return r == o.r && g == o.g && b == o.b && a == o.a;
    }
    bool operator!=(const ccColor4B& o) const { return !(*this == o); }
};
struct ccColor4F {
    float r = 0, g = 0, b = 0, a = 0;
    constexpr ccColor4F() = default;
    constexpr ccColor4F(float red, float green, float blue, float alpha)
        : r(red), g(green), b(blue), a(alpha) {}
};
inline ccColor4F toColor4F(const ccColor4B& c) {
    return ccColor4F(c.r / 255.f, c.g / 255.f, c.b / 255.f, c.a / 255.f);
}
extern const ccColor3B kColorWhite;
extern const ccColor3B kColorBlack;
extern const ccColor3B kColorRed;
extern const ccColor3B kColorGreen;
extern const ccColor3B kColorBlue;
extern const ccColor3B kColorYellow;
extern const ccColor3B kColorGray;

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

constexpr float degreesToRadians(float degrees) { return degrees * 0.01745329252f; }
constexpr float radiansToDegrees(float radians) { return radians * 57.29577951f; }

}  // namespace pagly::engine
