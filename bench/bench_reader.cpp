// Reading the largest page document of the book into a widget tree, against parsing the same
// file with jsoncpp alone. Both include reading the file. The widget tree's textures and
// sheets are cached after the first build, as they are when a reader turns pages.
#include <benchmark/benchmark.h>
#include <json/json.h>

#include <cstdio>
#include <memory>
#include <string>
#include <sys/stat.h>

#include "engine/base/CCObject.h"
#include "engine/base/RefPtr.h"
#include "engine/director/CCDirector.h"
#include "engine/platform/CCFileUtils.h"
#include "gui/UIWidget.h"
#include "gui/reader/ActionManager.h"
#include "gui/reader/CCSGUIReader.h"

using namespace pagly::engine;
using namespace pagly::gui;

namespace {

// The page document with the most bytes, relative to the book folder.
std::string largestPage() {
    std::string best;
    long bestSize = -1;
    for (int page = 2; page <= 77; ++page) {
        std::string name = "lessonbundle/lessonbundle_" + std::to_string(page) + ".json";
        struct stat st;
        std::string full = CCFileUtils::sharedFileUtils()->fullPathForFilename(name);
        if (stat(full.c_str(), &st) == 0 && st.st_size > bestSize) {
            bestSize = st.st_size;
            best = name;
        }
    }
    return best;
}

void quiet(const char*) {}

void BM_ReadPageIntoWidgetTree(benchmark::State& state) {
    CCSetLogSink(quiet);
    std::string page = largestPage();
    for (auto _ : state) {
        RefPtr<UIWidget> root = CCSGUIReader::instance()->loadWidgetTree(page.c_str());
        benchmark::DoNotOptimize(root.get());
        root.reset();
        CCAutoreleasePool::sharedPool()->drain();
    }
    state.SetLabel(page);
    destroyDocumentSingletons();
    CCDirector::sharedDirector()->reset();
    CCSetLogSink(nullptr);
}
BENCHMARK(BM_ReadPageIntoWidgetTree)->Unit(benchmark::kMicrosecond);

void BM_ParsePageWithJsoncppAlone(benchmark::State& state) {
    std::string page = largestPage();
    std::string full = CCFileUtils::sharedFileUtils()->fullPathForFilename(page);
    Json::CharReaderBuilder builder;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    for (auto _ : state) {
        std::string text;
        CCFileUtils::sharedFileUtils()->readFile(full, text);
        Json::Value value;
        reader->parse(text.data(), text.data() + text.size(), &value, nullptr);
        benchmark::DoNotOptimize(value);
    }
    state.SetLabel(page);
}
BENCHMARK(BM_ParsePageWithJsoncppAlone)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
