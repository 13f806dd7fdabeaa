#pragma once

#include <map>
#include <memory>
#include <string>

#include "engine/base/RefPtr.h"
#include "engine/render/CCTexture2D.h"

namespace pagly::engine {

// Loads each image once per resolved path and shares the texture. A missing or corrupt image
// gives null and one log line naming the file.
//
// Images that will be wanted soon (the pages next to the one being read) can be prepared: a
// helper thread decodes them, the frame loop takes one finished image in per frame, and
// addImage takes a prepared image instead of decoding it again (waiting for it when it is being
// decoded at that moment). Preparing never logs: a file that fails is reported by addImage.
class CCTextureCache {
  public:
    ~CCTextureCache();
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

    // Starts decoding `path` on the helper thread. Nothing happens for an image that is cached
    // or already on its way, or for a file that does not exist.
    void prepareImage(const char* path);
    // True while prepared images are being decoded or wait to be taken in.
    bool isPreparing() const;
    // Takes in one decoded image, cached as addImage would have cached it, and returns it;
    // null when none is ready yet.
    CCTexture2D* takePreparedImage();

  private:
    class Preparation;
    CCTextureCache();
    std::string keyFor(const char* path) const;
    CCTexture2D* cacheDecoded(const std::string& key, SDL_Surface* decoded);
    std::map<std::string, RefPtr<CCTexture2D>> m_textures;
    std::unique_ptr<Preparation> m_preparation;  // made on the first prepareImage
};

}  // namespace pagly::engine
