#pragma once

#include <map>
#include <string>

#include "engine/base/RefPtr.h"
#include "engine/render/CCTexture2D.h"

namespace pagly::engine {

// Loads each image once per resolved path and shares the texture. A missing or corrupt image
// gives null and one log line naming the file.
class CCTextureCache {
  public:
    static CCTextureCache* sharedTextureCache();
    // Drops every cached texture (textures still used by nodes live on until released).
    static void purgeSharedTextureCache();

    // `path` is resolved through CCFileUtils. Null when it cannot be decoded.
    CCTexture2D* addImage(const char* path);
    CCTexture2D* addImage(const std::string& path) { return addImage(path.c_str()); }
    // Registers a texture made elsewhere under `key` (replacing what was there).
    void addTexture(CCTexture2D* texture, const std::string& key);
    CCTexture2D* textureForKey(const char* key) const;
    void removeTexture(CCTexture2D* texture);
    void removeTextureForKey(const char* key);
    void removeAllTextures();
    // Drops the textures nobody but the cache holds.
    void removeUnusedTextures();
    unsigned int count() const { return (unsigned int)m_textures.size(); }

  private:
    CCTextureCache() = default;
    std::string keyFor(const char* path) const;
    std::map<std::string, RefPtr<CCTexture2D>> m_textures;
};

}  // namespace pagly::engine
