#include "engine/nodes/CCSpriteBatchNode.h"

#include "engine/base/CCRedraw.h"
#include "engine/render/CCTexture2D.h"
#include "engine/render/CCTextureCache.h"

namespace pagly::engine {

CCSpriteBatchNode* CCSpriteBatchNode::create(const char* fileName, unsigned int capacity) {
    CCSpriteBatchNode* batch = new CCSpriteBatchNode();
    if (!batch->initWithFile(fileName, capacity)) {
        batch->release();
        return nullptr;
    }
    batch->autorelease();
    return batch;
}

CCSpriteBatchNode* CCSpriteBatchNode::createWithTexture(CCTexture2D* texture,
                                                        unsigned int capacity) {
    CCSpriteBatchNode* batch = new CCSpriteBatchNode();
    if (!batch->initWithTexture(texture, capacity)) {
        batch->release();
        return nullptr;
    }
    batch->autorelease();
    return batch;
}

bool CCSpriteBatchNode::initWithFile(const char* fileName, unsigned int capacity) {
    CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(fileName);
    return texture && initWithTexture(texture, capacity);
}

bool CCSpriteBatchNode::initWithTexture(CCTexture2D* texture, unsigned int capacity) {
    if (!texture) return false;
    m_texture = texture;
    m_capacity = capacity;
    return true;
}

void CCSpriteBatchNode::setTexture(CCTexture2D* texture) {
    if (m_texture.get() == texture) return;
    m_texture = texture;
    ccRequestRedraw();
}

}  // namespace pagly::engine
