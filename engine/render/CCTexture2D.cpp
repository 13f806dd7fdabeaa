#include "engine/render/CCTexture2D.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

#include "engine/platform/CCFileUtils.h"

namespace pagly::engine {

namespace {
CCTexture2D* s_liveTextures = nullptr;  // head of the intrusive list

unsigned long be16(const unsigned char* p) { return ((unsigned long)p[0] << 8) | p[1]; }
unsigned long be32(const unsigned char* p) { return (be16(p) << 16) | be16(p + 2); }

// The size a PNG file claims in its header.
bool pngHeaderSize(const unsigned char* data, size_t size, unsigned long& width,
                   unsigned long& height) {
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size < 24 || memcmp(data, kSignature, 8) != 0 || memcmp(data + 12, "IHDR", 4) != 0)
        return false;
    width = be32(data + 16);
    height = be32(data + 20);
    return true;
}

// The size in a JPEG file's frame header (SOFn), found by walking the marker segments before it
// the way libjpeg does: bytes that are not a marker are skipped until the next 0xFF, so a
// frame header behind such junk is found here as the decoder will find it.
bool jpegHeaderSize(const unsigned char* data, size_t size, unsigned long& width,
                    unsigned long& height) {
    if (size < 2 || data[0] != 0xFF || data[1] != 0xD8) return false;
    size_t at = 2;
    for (int segments = 0; segments < 4096; ++segments) {
        while (at < size && data[at] != 0xFF) ++at;  // junk before a marker
        while (at < size && data[at] == 0xFF) ++at;  // fill bytes
        if (at >= size) return false;
        unsigned char marker = data[at++];
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;    // no length
        if (marker == 0xD8 || marker == 0xD9 || marker == 0xDA) return false;  // no frame first
        if (size - at < 2) return false;
        size_t length = be16(data + at);
        if (length < 2) return false;
        bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (size - at < 2 + 5) return false;
            height = be16(data + at + 3);
            width = be16(data + at + 5);
            return true;
        }
        if (size - at < length) return false;
        at += length;
    }
    return false;
}

bool surfaceIsOpaque(SDL_Surface* s) {
    if (SDL_MUSTLOCK(s)) SDL_LockSurface(s);
    bool opaque = true;
    for (int y = 0; y < s->h && opaque; ++y) {
        const Uint32* row = (const Uint32*)((const Uint8*)s->pixels + y * s->pitch);
        for (int x = 0; x < s->w; ++x) {
            if ((row[x] >> 24) != 0xFF) {
                opaque = false;
                break;
            }
        }
    }
    if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
    return opaque;
}
}  // namespace

CCTexture2D::CCTexture2D() {
    m_next = s_liveTextures;
    if (m_next) m_next->m_prev = this;
    s_liveTextures = this;
}

namespace {
unsigned long long nextContentId() {
    static unsigned long long s_next = 0;
    return ++s_next;
}
}  // namespace

CCTexture2D::~CCTexture2D() {
    dropDeviceTexture();
    if (m_surface) SDL_FreeSurface(m_surface);
    if (m_prev) m_prev->m_next = m_next;
    if (m_next) m_next->m_prev = m_prev;
    if (s_liveTextures == this) s_liveTextures = m_next;
}

bool CCTexture2D::initWithSurface(SDL_Surface* surface) {
    if (!surface) return false;
    SDL_Surface* argb = surface;
    if (surface->format->format != SDL_PIXELFORMAT_ARGB8888) {
        argb = SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_ARGB8888, 0);
        SDL_FreeSurface(surface);
        if (!argb) return false;
    }
    dropDeviceTexture();
    if (m_surface) SDL_FreeSurface(m_surface);
    m_surface = argb;
    m_width = argb->w;
    m_height = argb->h;
    m_opaque = surfaceIsOpaque(argb);
    m_renderTarget = false;
    m_sourceFile.clear();
    m_contentId = nextContentId();
    return true;
}

bool CCTexture2D::initWithRGBA(const unsigned char* rgba, int width, int height) {
    if (!rgba || width <= 0 || height <= 0) return false;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!s) return false;
    for (int y = 0; y < height; ++y) {
        Uint32* row = (Uint32*)((Uint8*)s->pixels + y * s->pitch);
        const unsigned char* src = rgba + (size_t)y * width * 4;
        for (int x = 0; x < width; ++x, src += 4)
            row[x] =
                ((Uint32)src[3] << 24) | ((Uint32)src[0] << 16) | ((Uint32)src[1] << 8) | src[2];
    }
    return initWithSurface(s);
}

bool claimedImageSize(const unsigned char* data, size_t size, unsigned long& width,
                      unsigned long& height) {
    return pngHeaderSize(data, size, width, height) || jpegHeaderSize(data, size, width, height);
}

bool CCTexture2D::initWithImageFile(const std::string& fullPath) {
    return initWithDecodedImage(decodeImageFile(fullPath), fullPath);
}

namespace {
// The decoded picture in ARGB8888, or null (SDL_GetError says why).
SDL_Surface* decodeImage(const unsigned char* data, size_t size) {
    if (!data || size == 0) {
        SDL_SetError("the file is empty");
        return nullptr;
    }
    // Book images are PNG or JPEG pictures. SDL2_image would try a dozen other formats on
    // anything else (and its SVG reader leaks on broken files): those are refused here.
    static const unsigned char kPng[4] = {0x89, 'P', 'N', 'G'};
    bool png = size >= 4 && memcmp(data, kPng, 4) == 0;
    bool jpeg = size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
    if (!png && !jpeg) {
        SDL_SetError("it is neither a PNG nor a JPEG picture");
        return nullptr;
    }
    unsigned long w = 0, h = 0;
    bool claimed = claimedImageSize(data, size, w, h);
    if (!claimed) {
        // The decoder would size its picture from a header this reader did not see: refused.
        SDL_SetError("it has no %s header that gives its size", png ? "PNG" : "JPEG frame");
        return nullptr;
    }
    if (w > kMaxImageSide || h > kMaxImageSide) {
        SDL_SetError("the image claims %lu x %lu pixels; at most %lu a side is taken", w, h,
                     kMaxImageSide);
        return nullptr;
    }
    if (w * h > kMaxImagePixels) {
        SDL_SetError("the image claims %lu x %lu pixels; at most %lu in all are taken", w, h,
                     kMaxImagePixels);
        return nullptr;
    }
    SDL_RWops* rw = SDL_RWFromConstMem(data, (int)std::min<size_t>(size, INT_MAX));
    if (!rw) return nullptr;
    SDL_Surface* s = png ? IMG_LoadPNG_RW(rw) : IMG_LoadJPG_RW(rw);
    SDL_RWclose(rw);
    if (!s) return nullptr;
    if (s->w <= 0 || s->h <= 0) {
        SDL_FreeSurface(s);
        SDL_SetError("the image has no pixels");
        return nullptr;
    }
    if (s->format->format == SDL_PIXELFORMAT_ARGB8888) return s;
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(s);
    return argb;
}
}  // namespace

bool CCTexture2D::initWithImageData(const unsigned char* data, size_t size) {
    return initWithSurface(decodeImage(data, size));
}

SDL_Surface* CCTexture2D::decodeImageFile(const std::string& fullPath) {
    std::string bytes;
    if (!CCFileUtils::sharedFileUtils()->readFile(fullPath, bytes)) {
        SDL_SetError("the file cannot be read");
        return nullptr;
    }
    return decodeImage((const unsigned char*)bytes.data(), bytes.size());
}

bool CCTexture2D::initWithDecodedImage(SDL_Surface* decoded, const std::string& fullPath) {
    if (!initWithSurface(decoded)) return false;
    m_sourceFile = fullPath;
    return true;
}

bool CCTexture2D::reloadPixels() const {
    if (m_surface) return true;
    if (m_sourceFile.empty() || m_renderTarget) return false;
    SDL_Surface* s = decodeImageFile(m_sourceFile);
    if (s && (s->w != m_width || s->h != m_height)) {
        SDL_FreeSurface(s);
        s = nullptr;
    }
    m_surface = s;
    return s != nullptr;
}

bool CCTexture2D::initAsRenderTarget(int pixelsWide, int pixelsHigh) {
    // A sane bound keeps an absurd size from asking the driver for gigabytes.
    if (pixelsWide <= 0 || pixelsHigh <= 0 || pixelsWide > 8192 || pixelsHigh > 8192) return false;
    dropDeviceTexture();
    if (m_surface) SDL_FreeSurface(m_surface);
    m_surface = nullptr;
    m_width = pixelsWide;
    m_height = pixelsHigh;
    m_opaque = false;
    m_renderTarget = true;
    m_sourceFile.clear();
    m_contentId = nextContentId();
    return true;
}

void CCTexture2D::setLinearFilter(bool linear) {
    if (m_linear == linear) return;
    m_linear = linear;
    if (m_device)
        SDL_SetTextureScaleMode(m_device, linear ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
}

ccColor4B CCTexture2D::pixelAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height || !reloadPixels())
        return ccColor4B(0, 0, 0, 0);
    Uint32 p = ((const Uint32*)((const Uint8*)m_surface->pixels + y * m_surface->pitch))[x];
    return ccColor4B((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF, p >> 24);
}

SDL_Texture* CCTexture2D::deviceTexture(SDL_Renderer* renderer) {
    if (!renderer) return nullptr;
    if (m_device && m_deviceOwner == renderer) return m_device;
    dropDeviceTexture();
    if (m_renderTarget) {
        m_device = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                     m_width, m_height);
    } else if (reloadPixels()) {
        m_device = SDL_CreateTextureFromSurface(renderer, m_surface);
    }
    if (!m_device) return nullptr;
    m_deviceOwner = renderer;
    SDL_SetTextureBlendMode(m_device, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(m_device, m_linear ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    if (!m_sourceFile.empty()) {
        // The device texture holds the picture now; the file can give it again if needed.
        SDL_FreeSurface(m_surface);
        m_surface = nullptr;
    }
    return m_device;
}

void CCTexture2D::dropDeviceTexture() {
    if (m_device) SDL_DestroyTexture(m_device);
    m_device = nullptr;
    m_deviceOwner = nullptr;
}

void CCTexture2D::dropDeviceTextures(SDL_Renderer* renderer) {
    for (CCTexture2D* t = s_liveTextures; t; t = t->m_next)
        if (t->m_deviceOwner == renderer) t->dropDeviceTexture();
}

std::string CCTexture2D::description() const {
    char buf[96];
    snprintf(buf, sizeof buf, "<CCTexture2D %dx%d%s>", m_width, m_height,
             m_renderTarget ? " target" : "");
    return buf;
}

}  // namespace pagly::engine
