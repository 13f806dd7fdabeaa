#include "gui/TextureNodes.h"

#include "engine/nodes/CCSprite.h"
#include "gui/CCScale9Sprite.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {
namespace texturenode {

CCNode* create(bool scale9) {
    if (scale9) return CCScale9Sprite::create();
    return CCSprite::create();
}

void load(CCNode* node, bool scale9, const char* name, TextureResType texType,
          const CCRect& capInsets) {
    if (!node || !name) return;
    bool loaded = true;
    if (scale9) {
        CCScale9Sprite* sprite = static_cast<CCScale9Sprite*>(node);
        if (texType == TextureLocal) {
            loaded = sprite->initWithFile(name);
        } else if (texType == TexturePlist) {
            loaded = sprite->initWithSpriteFrameName(name);
        }
        if (loaded && !capInsets.equals(CCRectZero)) sprite->setCapInsets(capInsets);
    } else {
        CCSprite* sprite = static_cast<CCSprite*>(node);
        if (texType == TextureLocal) {
            loaded = sprite->initWithFile(name);
        } else if (texType == TexturePlist) {
            loaded = sprite->initWithSpriteFrameName(name);
        }
    }
    // A file or frame that cannot be used has been named where it was looked up; the old
    // image stays.
    (void)loaded;
}

void tint(CCNode* node, bool scale9, const ccColor3B& color, unsigned char opacity) {
    if (!node || !scale9) return;
    CCScale9Sprite* sprite = static_cast<CCScale9Sprite*>(node);
    sprite->setColor(color);
    sprite->setOpacity(opacity);
}

void fit(CCNode* node, bool scale9, bool ignoreSize, const CCSize& widgetSize,
         const CCSize& naturalSize) {
    if (!node) return;
    if (ignoreSize) {
        if (!scale9) node->setScale(1.0f);
        return;
    }
    if (scale9) {
        static_cast<CCScale9Sprite*>(node)->setPreferredSize(widgetSize);
        return;
    }
    if (naturalSize.width <= 0 || naturalSize.height <= 0) {
        node->setScale(1.0f);
        return;
    }
    node->setScaleX(widgetSize.width / naturalSize.width);
    node->setScaleY(widgetSize.height / naturalSize.height);
}

void setCapInsets(CCNode* node, bool scale9, const CCRect& capInsets) {
    if (node && scale9) static_cast<CCScale9Sprite*>(node)->setCapInsets(capInsets);
}

void setFlipX(CCNode* node, bool flip) {
    if (CCSprite* sprite = dynamic_cast<CCSprite*>(node)) sprite->setFlipX(flip);
}
void setFlipY(CCNode* node, bool flip) {
    if (CCSprite* sprite = dynamic_cast<CCSprite*>(node)) sprite->setFlipY(flip);
}
bool isFlipX(CCNode* node) {
    CCSprite* sprite = dynamic_cast<CCSprite*>(node);
    return sprite ? sprite->isFlipX() : false;
}
bool isFlipY(CCNode* node) {
    CCSprite* sprite = dynamic_cast<CCSprite*>(node);
    return sprite ? sprite->isFlipY() : false;
}

}  // namespace texturenode
}  // namespace pagly::gui
