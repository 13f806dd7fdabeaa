// Frame cost in the offscreen (software) renderer: a full-screen background and 80 sprites,
// still and turned, as a page with its controls draws.
#include <benchmark/benchmark.h>

#include "engine/director/CCDirector.h"
#include "engine/nodes/CCScene.h"
#include "engine/nodes/CCSprite.h"
#include "engine/nodes/CCSpriteFrameCache.h"
#include "engine/nodes/CCLayerGradient.h"
#include "engine/platform/CCFileUtils.h"
#include "engine/render/SDLRenderer.h"

using namespace pagly::engine;

namespace {

void frame(benchmark::State& state, bool turned) {
    CCFileUtils::sharedFileUtils()->setResourceRoot(PAGLY_FIXTURES_DIR "/render");
    SDLRenderer* renderer = SDLRenderer::createOffscreen(640, 960);
    CCDirector* director = CCDirector::sharedDirector();
    director->reset();
    director->setRenderer(renderer);
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile("sheet.plist");

    CCScene* scene = CCScene::create();
    CCSprite* background = CCSprite::create("white32.png");
    background->setAnchorPoint(CCPointZero);
    background->setScaleX(640 / 32.0f);
    background->setScaleY(960 / 32.0f);
    background->setColor(ccColor3B(230, 220, 200));
    scene->addChild(background);
    const char* names[] = {"arrow.png", "tall.png", "trim.png", "white.png"};
    for (int i = 0; i < 80; ++i) {
        CCSprite* s = CCSprite::createWithSpriteFrameName(names[i % 4]);
        s->setPosition(40 + (i % 8) * 75, 60 + (i / 8) * 90);
        s->setScale(2);
        if (turned) s->setRotation((float)(i * 37 % 360));
        scene->addChild(s);
    }
    director->runWithScene(scene);
    director->mainLoop(1 / 60.0f);
    for (auto _ : state) {
        director->drawScene();
    }
    state.counters["draw_calls"] = renderer->drawCallCount();
    director->reset();
    director->setRenderer(nullptr);
    delete renderer;
}

void BM_FrameOf80StillSprites(benchmark::State& state) { frame(state, false); }
void BM_FrameOf80TurnedSprites(benchmark::State& state) { frame(state, true); }

}  // namespace

BENCHMARK(BM_FrameOf80StillSprites)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameOf80TurnedSprites)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
