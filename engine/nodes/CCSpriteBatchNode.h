#pragma once

#include "engine/base/RefPtr.h"
#include "engine/render/CCTexture2D.h"
#include "engine/nodes/CCNode.h"
#include "engine/render/RenderTypes.h"

namespace pagly::engine {

class CCTexture2D;

// A parent for sprites that share one texture. Drawing stays per sprite (the SDL back-end
// gains nothing from merging quads), so this is a plain node that carries the texture and
// draws its sprite children in z order.
class CCSpriteBatchNode : public CCNode {
  public:
    // Null when the image cannot be loaded.
    static CCSpriteBatchNode* create(const char* fileName, unsigned int capacity = 29);
    static CCSpriteBatchNode* createWithTexture(CCTexture2D* texture, unsigned int capacity = 29);
    bool initWithFile(const char* fileName, unsigned int capacity);
    bool initWithTexture(CCTexture2D* texture, unsigned int capacity);

    CCTexture2D* getTexture() const { return m_texture.get(); }
    void setTexture(CCTexture2D* texture);
    void setBlendFunc(const ccBlendFunc& blend) { m_blend = blend; }
    const ccBlendFunc& getBlendFunc() const { return m_blend; }
    unsigned int getCapacity() const { return m_capacity; }

  private:
    RefPtr<CCTexture2D> m_texture;
    ccBlendFunc m_blend;
    unsigned int m_capacity = 0;
};

}  // namespace pagly::engine
