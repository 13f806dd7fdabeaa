#pragma once

#include "engine/base/CCGeometry.h"
#include "engine/base/CCObject.h"
#include "engine/base/RefPtr.h"
#include "engine/render/CCTexture2D.h"

namespace pagly::engine {

class CCTexture2D;

// A named piece of a texture: the rectangle it occupies (pixels, origin top-left), whether it
// is stored turned 90 degrees clockwise, and how it sits in its untrimmed source image
// (offset of its centre from the source's centre, y up; the source's size).
class CCSpriteFrame : public CCObject {
  public:
    // Null when the image cannot be loaded.
    static CCSpriteFrame* create(const char* filename, const CCRect& rect);
    static CCSpriteFrame* create(const char* filename, const CCRect& rect, bool rotated,
                                 const CCPoint& offset, const CCSize& originalSize);
    static CCSpriteFrame* createWithTexture(CCTexture2D* texture, const CCRect& rect);
    static CCSpriteFrame* createWithTexture(CCTexture2D* texture, const CCRect& rect, bool rotated,
                                            const CCPoint& offset, const CCSize& originalSize);

    bool initWithTexture(CCTexture2D* texture, const CCRect& rect);
    bool initWithTexture(CCTexture2D* texture, const CCRect& rect, bool rotated,
                         const CCPoint& offset, const CCSize& originalSize);

    CCTexture2D* getTexture() const { return m_texture.get(); }
    void setTexture(CCTexture2D* texture) { m_texture = texture; }
    // For a rotated frame the size is the unrotated (displayed) size.
    const CCRect& getRect() const { return m_rect; }
    void setRect(const CCRect& rect) { m_rect = rect; }
    const CCRect& getRectInPixels() const { return m_rect; }
    bool isRotated() const { return m_rotated; }
    void setRotated(bool rotated) { m_rotated = rotated; }
    const CCPoint& getOffset() const { return m_offset; }
    void setOffset(const CCPoint& offset) { m_offset = offset; }
    const CCPoint& getOffsetInPixels() const { return m_offset; }
    const CCSize& getOriginalSize() const { return m_originalSize; }
    void setOriginalSize(const CCSize& size) { m_originalSize = size; }
    const CCSize& getOriginalSizeInPixels() const { return m_originalSize; }

  private:
    RefPtr<CCTexture2D> m_texture;
    CCRect m_rect;
    bool m_rotated = false;
    CCPoint m_offset;
    CCSize m_originalSize;
};

}  // namespace pagly::engine
