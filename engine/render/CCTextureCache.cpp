#include "engine/render/CCTextureCache.h"

#include <SDL.h>
#include <SDL_image.h>

#include <condition_variable>
#include <deque>
#include <mutex>

#include "engine/platform/CCFileUtils.h"
#include "engine/platform/UnusableFiles.h"

namespace pagly::engine {

namespace {
CCTextureCache* s_cache = nullptr;
}

// The helper thread and what passes between it and the cache. Only file paths go in and only
// decoded surfaces come out: the thread touches no engine object.
class CCTextureCache::Preparation {
  public:
    // An SDL thread, not a plain one: SDL keeps per-thread state (its error text) that it
    // frees only when one of its own threads ends.
    Preparation() {
        m_thread = SDL_CreateThread(
            [](void* self) {
                static_cast<Preparation*>(self)->work();
                return 0;
            },
            "pagly images", this);
    }
    ~Preparation() {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_stop = true;
            m_waiting.clear();
        }
        m_changed.notify_all();
        if (m_thread) SDL_WaitThread(m_thread, nullptr);
        for (auto& entry : m_done)
            if (entry.second) SDL_FreeSurface(entry.second);
    }

    // False when `key` is already waiting, being decoded or decoded, or when there is no
    // thread to decode it (the images are then decoded when they are wanted, as before).
    bool add(const std::string& key) {
        if (!m_thread) return false;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_busy == key || m_done.count(key)) return false;
            for (const std::string& k : m_waiting)
                if (k == key) return false;
            m_waiting.push_back(key);
        }
        m_changed.notify_all();
        return true;
    }

    // Whether `key` was prepared; if so, `decoded` gets its pixels (null when decoding failed),
    // after waiting for the thread if it is decoding it now. A key still waiting is dropped
    // from the queue: the caller decodes it at once.
    bool claim(const std::string& key, SDL_Surface** decoded) {
        std::unique_lock<std::mutex> lock(m_mutex);
        for (auto it = m_waiting.begin(); it != m_waiting.end(); ++it) {
            if (*it == key) {
                m_waiting.erase(it);
                return false;
            }
        }
        m_changed.wait(lock, [&] { return m_busy != key; });
        auto it = m_done.find(key);
        if (it == m_done.end()) return false;
        *decoded = it->second;
        m_done.erase(it);
        return true;
    }

    // One decoded image, if any is ready.
    bool takeAny(std::string* key, SDL_Surface** decoded) {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_done.empty()) return false;
        auto it = m_done.begin();
        *key = it->first;
        *decoded = it->second;
        m_done.erase(it);
        return true;
    }

    bool busy() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return !m_waiting.empty() || !m_busy.empty() || !m_done.empty();
    }

  private:
    void work() {
        std::unique_lock<std::mutex> lock(m_mutex);
        for (;;) {
            m_changed.wait(lock, [&] { return m_stop || !m_waiting.empty(); });
            if (m_stop) return;
            m_busy = m_waiting.front();
            m_waiting.pop_front();
            std::string key = m_busy;
            lock.unlock();
            SDL_Surface* decoded = CCTexture2D::decodeImageFile(key);
            lock.lock();
            m_done[key] = decoded;
            m_busy.clear();
            m_changed.notify_all();
        }
    }

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::string> m_waiting;
    std::string m_busy;  // being decoded now
    std::map<std::string, SDL_Surface*> m_done;
    bool m_stop = false;
    SDL_Thread* m_thread = nullptr;  // started once everything above exists
};

CCTextureCache::CCTextureCache() = default;
CCTextureCache::~CCTextureCache() = default;

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
    SDL_Surface* prepared = nullptr;
    if (m_preparation && m_preparation->claim(key, &prepared) && prepared)
        return cacheDecoded(key, prepared);
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

CCTexture2D* CCTextureCache::cacheDecoded(const std::string& key, SDL_Surface* decoded) {
    CCTexture2D* texture = new CCTexture2D();
    if (!texture->initWithDecodedImage(decoded, key)) {
        texture->release();
        return nullptr;
    }
    m_textures[key] = texture;
    texture->release();
    return texture;
}

void CCTextureCache::prepareImage(const char* path) {
    if (!path || !*path) return;
    std::string key = keyFor(path);
    if (m_textures.count(key) || !CCFileUtils::sharedFileUtils()->isFileExist(key)) return;
    if (!m_preparation) {
        // The decoders set themselves up on first use; that must not happen on two threads.
        IMG_Init(IMG_INIT_PNG | IMG_INIT_JPG);
        m_preparation = std::make_unique<Preparation>();
    }
    m_preparation->add(key);
}

bool CCTextureCache::isPreparing() const { return m_preparation && m_preparation->busy(); }

CCTexture2D* CCTextureCache::takePreparedImage() {
    std::string key;
    SDL_Surface* decoded = nullptr;
    while (m_preparation && m_preparation->takeAny(&key, &decoded)) {
        if (!decoded) continue;  // addImage will say why, if the image is ever wanted
        if (m_textures.count(key)) {
            SDL_FreeSurface(decoded);
            continue;
        }
        if (CCTexture2D* texture = cacheDecoded(key, decoded)) return texture;
    }
    return nullptr;
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
