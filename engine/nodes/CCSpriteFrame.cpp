#include "engine/nodes/CCSpriteFrame.h"

#include "engine/render/CCTexture2D.h"
#include "engine/render/CCTextureCache.h"

namespace pagly::engine {

CCSpriteFrame* CCSpriteFrame::create(const char* filename, const CCRect& rect) {
    return create(filename, rect, false, CCPointZero, rect.size);
}

CCSpriteFrame* CCSpriteFrame::create(const char* filename, const CCRect& rect, bool rotated,
                                     const CCPoint& offset, const CCSize& originalSize) {
    CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(filename);
    if (!texture) return nullptr;
    return createWithTexture(texture, rect, rotated, offset, originalSize);
}

CCSpriteFrame* CCSpriteFrame::createWithTexture(CCTexture2D* texture, const CCRect& rect) {
    return createWithTexture(texture, rect, false, CCPointZero, rect.size);
}

CCSpriteFrame* CCSpriteFrame::createWithTexture(CCTexture2D* texture, const CCRect& rect,
                                                bool rotated, const CCPoint& offset,
                                                const CCSize& originalSize) {
    CCSpriteFrame* frame = new CCSpriteFrame();
    if (!frame->initWithTexture(texture, rect, rotated, offset, originalSize)) {
        frame->release();
        return nullptr;
    }
    frame->autorelease();
    return frame;
}

bool CCSpriteFrame::initWithTexture(CCTexture2D* texture, const CCRect& rect) {
    return initWithTexture(texture, rect, false, CCPointZero, rect.size);
}

bool CCSpriteFrame::initWithTexture(CCTexture2D* texture, const CCRect& rect, bool rotated,
                                    const CCPoint& offset, const CCSize& originalSize) {
    m_texture = texture;
    m_rect = rect;
    m_rotated = rotated;
    m_offset = offset;
    m_originalSize = originalSize;
    return true;
}

}  // namespace pagly::engine
