// What a page turn costs the reader before the curl starts: building the new page layer (its
// document, controls, caption label and wired sentence buttons), as the page turn does, with
// images and fonts already cached from earlier pages. Headless: drawing is measured elsewhere.
#include <benchmark/benchmark.h>

#include "app/AppDelegate.h"
#include "app/PageLayer.h"
#include "app/ReadingSession.h"
#include "engine/base/CCObject.h"
#include "engine/director/CCDirector.h"
#include "gui/reader/ActionManager.h"
#include "gui/reader/CCSGUIReader.h"

using namespace pagly::engine;
using namespace pagly::gui;

namespace {

void quiet(const char*) {}

void BM_BuildPageLayer(benchmark::State& state) {
    CCSetLogSink(quiet);
    pagly::AppDelegate app;  // the session the page reads
    pagly::session().currentPage = (int)state.range(0);
    for (auto _ : state) {
        pagly::PageLayer* layer = new pagly::TestLayer1();
        benchmark::DoNotOptimize(layer);
        layer->release();
        CCAutoreleasePool::sharedPool()->drain();
    }
    destroyDocumentSingletons();
    CCDirector::sharedDirector()->reset();
    CCSetLogSink(nullptr);
}
// A plain page, a page drawn from sprite sheets, the largest word-list page.
BENCHMARK(BM_BuildPageLayer)->Arg(14)->Arg(27)->Arg(76)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
