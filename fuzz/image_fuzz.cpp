// libFuzzer target: arbitrary bytes as a book image. The header reader judges the size the
// file claims, then SDL2_image decodes what is accepted and the texture is measured and drawn.
// A crash, a hang, a leak, an accepted image larger than the header reader allows, or an
// engine object left alive is a finding; keep each finding's input under
// fuzz/regressions/image/.
#include <cstdio>
#include <cstdlib>

#include "engine/base/CCObject.h"
#include "engine/render/CCTexture2D.h"
#include "engine/render/SDLRenderer.h"

using namespace pagly::engine;

namespace {
void quiet(const char*) {}
SDLRenderer* g_renderer = nullptr;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    CCSetLogSink(quiet);
    g_renderer = SDLRenderer::createOffscreen(32, 32);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    long baseline = CCObject::liveObjectCount();
    unsigned long claimedWide = 0, claimedHigh = 0;
    bool claimed = claimedImageSize(data, size, claimedWide, claimedHigh);
    CCTexture2D* texture = new CCTexture2D();
    if (texture->initWithImageData(data, size)) {
        if (claimed && (claimedWide > kMaxImageSide || claimedHigh > kMaxImageSide ||
                        claimedWide * claimedHigh > kMaxImagePixels)) {
            fprintf(stderr, "an image claiming %lu x %lu pixels was decoded\n", claimedWide,
                    claimedHigh);
            abort();
        }
        (void)texture->pixelAt(texture->getPixelsWide() - 1, texture->getPixelsHigh() - 1);
        if (g_renderer) texture->deviceTexture(g_renderer->sdlRenderer());
    }
    texture->release();
    if (CCObject::liveObjectCount() != baseline) {
        fprintf(stderr, "engine objects leaked while reading this image\n");
        abort();
    }
    return 0;
}
