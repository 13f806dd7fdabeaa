#include "engine/render/CCTextureCache.h"

#include <SDL_image.h>

#include "engine/platform/CCFileUtils.h"
#include "engine/platform/UnusableFiles.h"

namespace pagly::engine {

namespace {
CCTextureCache* s_cache = nullptr;
}

CCTextureCache* CCTextureCache::sharedTextureCache() {
    if (!s_cache) s_cache = new CCTextureCache();
    return s_cache;
}

void CCTextureCache::purgeSharedTextureCache() {
    delete s_cache;
    s_cache = nullptr;
}

std::string CCTextureCache::keyFor(const char* path) const {
    return CCFileUtils::sharedFileUtils()->fullPathForFilename(path);
}

CCTexture2D* CCTextureCache::addImage(const char* path) {
    if (!path || !*path) {
        CCLog("CCTextureCache: no image name given");
        return nullptr;
    }
    std::string key = keyFor(path);
    auto it = m_textures.find(key);
    if (it != m_textures.end()) return it->second.get();
    if (!CCFileUtils::sharedFileUtils()->isFileExist(key)) {
        reportUnusableFile(key, whyUnreadable(key));
        return nullptr;
    }
    CCTexture2D* texture = new CCTexture2D();
    if (!texture->initWithImageFile(key)) {
        reportUnusableFile(
            key, std::string("it is not an image the reader can decode (") + IMG_GetError() + ")");
        texture->release();
        return nullptr;
    }
    m_textures[key] = texture;
    texture->release();  // the cache's RefPtr holds it now
    return texture;
}

void CCTextureCache::addTexture(CCTexture2D* texture, const std::string& key) {
    if (!texture) return;
    m_textures[key] = texture;
}

CCTexture2D* CCTextureCache::textureForKey(const char* key) const {
    if (!key) return nullptr;
    auto it = m_textures.find(keyFor(key));
    if (it == m_textures.end()) it = m_textures.find(key);
    return it == m_textures.end() ? nullptr : it->second.get();
}

void CCTextureCache::removeTexture(CCTexture2D* texture) {
    for (auto it = m_textures.begin(); it != m_textures.end();) {
        if (it->second.get() == texture) {
            it = m_textures.erase(it);
        } else {
            ++it;
        }
    }
}

void CCTextureCache::removeTextureForKey(const char* key) {
    if (!key) return;
    if (m_textures.erase(keyFor(key)) == 0) m_textures.erase(key);
}

void CCTextureCache::removeAllTextures() { m_textures.clear(); }

void CCTextureCache::removeUnusedTextures() {
    for (auto it = m_textures.begin(); it != m_textures.end();) {
        if (it->second->retainCount() == 1) {
            it = m_textures.erase(it);
        } else {
            ++it;
        }
    }
}

}  // namespace pagly::engine
