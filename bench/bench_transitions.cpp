// Frame costs of the scene transitions, drawn offscreen by the software renderer at the design
// size: one page-curl frame half-way through the turn (forward and backwards), one zoom-flip
// frame, and a plain page for comparison. A frame must stay under 16.7 ms for 60 fps; the
// window's accelerated renderer is faster still.
#include <benchmark/benchmark.h>

#include <vector>

#include "engine/director/CCDirector.h"
#include "engine/nodes/CCScene.h"
#include "engine/nodes/CCSprite.h"
#include "engine/render/CCTexture2D.h"
#include "engine/render/SDLRenderer.h"
#include "engine/transitions/CCTransitionPageTurn.h"
#include "engine/transitions/CCTransitionZoomFlipY.h"

using namespace pagly::engine;

namespace {

// A texture of w x h pixels: a soft pattern, opaque or with a transparent rim.
CCTexture2D* texture(int w, int h, int seed, bool opaque) {
    std::vector<unsigned char> rgba((size_t)w * h * 4);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            unsigned char* p = &rgba[((size_t)y * w + x) * 4];
            p[0] = (unsigned char)(200 + (x * 7 + seed * 40) % 56);
            p[1] = (unsigned char)(190 + (y * 3 + seed * 20) % 60);
            p[2] = (unsigned char)(150 + ((x + y) / 4) % 100);
            const bool rim = x < 4 || y < 4 || x >= w - 4 || y >= h - 4;
            p[3] = opaque ? 255 : rim ? 0 : 230;
        }
    }
    CCTexture2D* t = new CCTexture2D();
    t->initWithRGBA(rgba.data(), w, h);
    t->autorelease();
    return t;
}

// About what a book page draws: a full-screen background picture and a dozen and a half
// sentence buttons with transparent edges.
CCScene* page(int seed) {
    CCScene* s = CCScene::create();
    CCSprite* background = CCSprite::createWithTexture(texture(640, 960, seed, true));
    background->setPosition(CCPoint(320, 480));
    s->addChild(background);
    CCTexture2D* button = texture(260, 70, seed + 1, false);
    for (int i = 0; i < 18; ++i) {
        CCSprite* b = CCSprite::createWithTexture(button);
        b->setPosition(CCPoint(170 + (i % 2) * 300, 80 + (i / 2) * 95));
        s->addChild(b);
    }
    return s;
}

enum Kind { PageForward, PageBackward, ZoomFlip, PlainPage };

void frame(benchmark::State& state, Kind kind) {
    SDLRenderer* renderer = SDLRenderer::createOffscreen(640, 960);
    if (!renderer) {
        state.SkipWithError("no software renderer");
        return;
    }
    CCDirector* director = CCDirector::sharedDirector();
    director->reset();
    director->setRenderer(renderer);
    director->runWithScene(page(0));
    director->mainLoop(1.0f / 60);
    if (kind != PlainPage) {
        CCScene* next = page(1);
        CCScene* t =
            kind == ZoomFlip
                ? (CCScene*)CCTransitionZoomFlipY::create(1, next, kTransitionOrientationDownOver)
                : (CCScene*)CCTransitionPageTurn::create(1, next, kind == PageBackward);
        director->replaceScene(t);
        // Half-way (a third of the way for the flip, where the page is turned, not edge-on).
        const int frames = kind == ZoomFlip ? 20 : 30;
        for (int i = 0; i <= frames; ++i) director->mainLoop(1.0f / 60);
    }
    for (auto _ : state) director->drawScene();
    state.counters["draw_calls"] = (double)renderer->drawCallCount();
    director->reset();
    director->setRenderer(nullptr);
    delete renderer;
}

void BM_PageCurlFrameForward(benchmark::State& state) { frame(state, PageForward); }
void BM_PageCurlFrameBackward(benchmark::State& state) { frame(state, PageBackward); }
void BM_ZoomFlipFrame(benchmark::State& state) { frame(state, ZoomFlip); }
void BM_PlainPageFrame(benchmark::State& state) { frame(state, PlainPage); }

BENCHMARK(BM_PageCurlFrameForward)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PageCurlFrameBackward)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZoomFlipFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainPageFrame)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
