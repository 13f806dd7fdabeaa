#include "support/Offscreen.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdlib>

#include "engine/director/CCDirector.h"
#include "engine/render/SDLRenderer.h"

using namespace pagly::engine;

namespace pagly::test {

void OffscreenTest::SetUp() {
    EngineTest::SetUp();
    m_renderer = SDLRenderer::createOffscreen(640, 960);
    ASSERT_NE(m_renderer, nullptr) << "no software renderer: " << SDL_GetError();
    CCDirector::sharedDirector()->setRenderer(m_renderer);
}

void OffscreenTest::TearDown() {
    CCDirector::sharedDirector()->setRenderer(nullptr);
    EngineTest::TearDown();
    delete m_renderer;
    m_renderer = nullptr;
}

void OffscreenTest::drawFrame() { CCDirector::sharedDirector()->drawScene(); }

ccColor4B OffscreenTest::probe(float x, float y) const {
    CCSize out = m_renderer->getOutputPixelSize();
    CCSize design = m_renderer->getDesignSize();
    int px = (int)(x * out.width / design.width);
    int py = (int)out.height - 1 - (int)(y * out.height / design.height);
    return m_renderer->readPixel(px, py);
}

bool OffscreenTest::saveScreenshot(const std::string& path) const {
    return m_renderer->savePNG(path);
}

std::string colorString(const ccColor4B& c) {
    char buf[48];
    snprintf(buf, sizeof buf, "%d,%d,%d,%d", c.r, c.g, c.b, c.a);
    return buf;
}

bool colorNear(const ccColor4B& a, const ccColor4B& b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance && std::abs(a.a - b.a) <= tolerance;
}

::testing::AssertionResult OffscreenTest::matchesReference(const std::string& fixturePath,
                                                           int tolerance, int maxBadPixels) const {
    std::string full = std::string(PAGLY_FIXTURES_DIR) + "/" + fixturePath;
    std::string base = fixturePath.substr(fixturePath.find_last_of('/') + 1);
    std::string actualPath = base.substr(0, base.find_last_of('.')) + ".actual.png";
    SDL_Surface* actual = m_renderer->readSurface();
    if (!actual) return ::testing::AssertionFailure() << "cannot read the frame back";
    SDL_Surface* loaded = IMG_Load(full.c_str());
    if (!loaded) {
        IMG_SavePNG(actual, actualPath.c_str());
        SDL_FreeSurface(actual);
        return ::testing::AssertionFailure()
               << "no reference image " << full << " (frame written to " << actualPath << ")";
    }
    SDL_Surface* ref = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    ::testing::AssertionResult result = ::testing::AssertionSuccess();
    if (!ref || ref->w != actual->w || ref->h != actual->h) {
        result = ::testing::AssertionFailure() << "reference " << full << " has another size";
    } else {
        int bad = 0, firstX = -1, firstY = -1;
        Uint32 firstA = 0, firstR = 0;
        for (int y = 0; y < ref->h; ++y) {
            const Uint32* ra = (const Uint32*)((const Uint8*)actual->pixels + y * actual->pitch);
            const Uint32* rr = (const Uint32*)((const Uint8*)ref->pixels + y * ref->pitch);
            for (int x = 0; x < ref->w; ++x) {
                if (ra[x] == rr[x]) continue;
                bool over = false;
                for (int shift = 0; shift < 32; shift += 8) {
                    int d = (int)((ra[x] >> shift) & 0xFF) - (int)((rr[x] >> shift) & 0xFF);
                    if (std::abs(d) > tolerance) over = true;
                }
                if (!over) continue;
                if (bad++ == 0) firstX = x, firstY = y, firstA = ra[x], firstR = rr[x];
            }
        }
        if (bad > maxBadPixels) {
            char buf[160];
            snprintf(buf, sizeof buf, "first at pixel (%d, %d): ARGB %08X, reference %08X", firstX,
                     firstY, firstA, firstR);
            result = ::testing::AssertionFailure()
                     << bad << " pixel(s) differ from " << full << "; " << buf
                     << " (frame written to " << actualPath << ")";
        }
    }
    if (!result) IMG_SavePNG(actual, actualPath.c_str());
    if (ref) SDL_FreeSurface(ref);
    SDL_FreeSurface(actual);
    return result;
}

}  // namespace pagly::test
