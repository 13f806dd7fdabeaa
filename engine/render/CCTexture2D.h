#pragma once

#include <cstddef>
#include <string>

#include "engine/base/CCGeometry.h"
#include "engine/base/CCObject.h"

struct SDL_Surface;
struct SDL_Texture;
struct SDL_Renderer;

namespace pagly::engine {

// The pixel size a PNG or JPEG file claims in its header, read before any decoding; false
// when the bytes are neither (or too short to say).
bool claimedImageSize(const unsigned char* data, size_t size, unsigned long& width,
                      unsigned long& height);

// Larger images are broken or hostile files, not book art: a PNG or JPEG header may claim any
// size, and the decoder would reserve (and clear) the whole picture, gigabytes, before finding
// the data short. A few hundred bytes of JPEG that claim 37 million pixels took 2 s and 440 MB
// within the side limit alone, hence the bound on the area too (64 MB as RGBA; book art for a
// 640 x 960 page is far smaller even at four times the resolution).
const unsigned long kMaxImageSide = 8192;
const unsigned long kMaxImagePixels = 4096ul * 4096ul;

// An image the renderer can draw. It keeps its pixels in memory (an ARGB8888 SDL surface with
// straight, not premultiplied, alpha), so a texture exists without any renderer: headless
// tests and code running before the window opens can load and measure images. The device
// texture for a renderer is made on first draw and dropped when that renderer goes away.
// An image read from a file lets go of its pixels once a device texture holds them (a second
// copy of every picture of the book would double the reader's memory); they are read from the
// file again only if asked for later. A render target has no pixels in memory: it lives on the
// renderer that draws into it.
class CCTexture2D : public CCObject {
  public:
    CCTexture2D();
    ~CCTexture2D() override;

    // Takes ownership of `surface` (converted to ARGB8888 when needed). False on null.
    bool initWithSurface(SDL_Surface* surface);
    // Straight-alpha RGBA bytes, row 0 at the top.
    bool initWithRGBA(const unsigned char* rgba, int width, int height);
    // Decodes an image file (PNG or JPEG) through SDL2_image. False on a missing or
    // corrupt file (the caller logs).
    bool initWithImageFile(const std::string& fullPath);
    // The same from the file's bytes: PNG or JPEG only. SDL_GetError says why it failed.
    bool initWithImageData(const unsigned char* data, size_t size);
    // Reads and decodes an image file into ARGB8888 pixels, touching nothing shared: it may
    // run on any thread. Null when the file cannot be read or decoded; SDL_GetError on the
    // same thread says why. The caller owns the surface.
    static SDL_Surface* decodeImageFile(const std::string& fullPath);
    // initWithImageFile for pixels that decodeImageFile gave (ownership passes here).
    bool initWithDecodedImage(SDL_Surface* decoded, const std::string& fullPath);
    // An empty texture that render commands can draw into (Renderer::beginRenderTarget).
    bool initAsRenderTarget(int pixelsWide, int pixelsHigh);

    int getPixelsWide() const { return m_width; }
    int getPixelsHigh() const { return m_height; }
    // One design unit per pixel.
    CCSize getContentSize() const { return CCSize((float)m_width, (float)m_height); }
    CCSize getContentSizeInPixels() const { return getContentSize(); }
    bool hasPremultipliedAlpha() const { return false; }
    // True when every pixel is fully opaque: drawn without blending.
    bool isOpaque() const { return m_opaque; }
    // Changes whenever the pixels are replaced (a new init), never repeats in a process: a
    // renderer that compares frames tells old content from new by it, even at a reused address.
    unsigned long long contentId() const { return m_contentId; }
    bool isRenderTarget() const { return m_renderTarget; }
    // Smooth (linear) or pixel-exact (nearest) sampling when the image is scaled.
    void setAntiAliasTexParameters() { setLinearFilter(true); }
    void setAliasTexParameters() { setLinearFilter(false); }
    void setLinearFilter(bool linear);
    bool isLinearFilter() const { return m_linear; }

    // The pixels in memory (null for a render target, and for an image from a file whose
    // pixels went to a device texture).
    SDL_Surface* getSurface() const { return m_surface; }
    // The RGBA of one pixel (origin top-left); transparent black outside or for a target.
    ccColor4B pixelAt(int x, int y) const;
    // The file the pixels came from ("" when they were made in memory).
    const std::string& sourceFile() const { return m_sourceFile; }

    // The texture on `renderer`, made on first use. Null when it cannot be made.
    SDL_Texture* deviceTexture(SDL_Renderer* renderer);
    // Forget every device texture that belongs to `renderer` (it is being destroyed).
    static void dropDeviceTextures(SDL_Renderer* renderer);

    std::string description() const;

  private:
    void dropDeviceTexture();
    // Brings back the pixels of an image whose surface was let go. False when the file can no
    // longer be decoded (or is not the same size).
    bool reloadPixels() const;

    mutable SDL_Surface* m_surface = nullptr;
    std::string m_sourceFile;
    SDL_Texture* m_device = nullptr;
    SDL_Renderer* m_deviceOwner = nullptr;  // non-owning: the renderer that made m_device
    int m_width = 0, m_height = 0;
    bool m_opaque = false;
    bool m_renderTarget = false;
    bool m_linear = false;
    unsigned long long m_contentId = 0;
    CCTexture2D* m_prev = nullptr;  // intrusive list of live textures (see dropDeviceTextures)
    CCTexture2D* m_next = nullptr;
};

}  // namespace pagly::engine
