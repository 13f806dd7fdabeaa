// Speaking practice: from the end of the learner's recording to the comparison panel ready
// to draw, for a sentence of 4 s (the book's recording nearest to 4 s, made up to 4 s with the
// start of another). BM_StopToPanel is what the reader does when a
// recording stops (the book's side was worked out while the learner listened and spoke):
// the learner's spoken part, its features and pitch, the time warp against the book and
// the panel's nodes. BM_StopToPanelWithBook adds the book's side (decoding its MP3 too), as
// when the learner stops before that work is done. BM_StopToPanelDrawn adds drawing the first
// frame with the panel, in software, 640 x 960 (over an empty scene: the page under it costs
// what any frame of it does).
#include <benchmark/benchmark.h>

#include <dirent.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "app/AppDelegate.h"
#include "app/practice/ComparisonPanel.h"
#include "engine/audio/Mp3Duration.h"
#include "engine/audio/PcmSound.h"
#include "engine/audio/analysis/SpeechComparison.h"
#include "engine/audio/analysis/SpeechFeatures.h"
#include "engine/base/CCObject.h"
#include "engine/director/CCDirector.h"
#include "engine/nodes/CCScene.h"
#include "engine/platform/CCFileUtils.h"
#include "engine/render/SDLRenderer.h"

using namespace pagly::audio;
using namespace pagly::audio::speech;
using namespace pagly::engine;

namespace {

void quiet(const char*) {}

// The book's recording closest to 4 s.
std::string fourSecondRecording(double* seconds) {
    std::string folder = PAGLY_BOOK_DIR "/epc/", best;
    double bestGap = 1e9;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) {
            std::string path = folder + entry->d_name;
            double s = mp3DurationOfFile(path);
            if (s > 0 && std::fabs(s - 4.0) < bestGap) {
                bestGap = std::fabs(s - 4.0);
                best = path;
                *seconds = s;
            }
        }
        closedir(dir);
    }
    return best;
}

std::string readAll(const std::string& path) {
    std::string bytes;
    CCFileUtils::sharedFileUtils()->readFile(path, bytes);
    return bytes;
}

std::vector<float> decode(const std::string& bytes) {
    PcmSound sound;
    decodeMp3(bytes, sound);
    return monoAt16k(sound);
}

// The learner's recording as the microphone gives it when it stops: a quarter second before
// the speech, the sentence (the book's voice, with hiss), 0.3 s kept after it.
std::vector<float> learnerTake(const std::vector<float>& voice) {
    std::vector<float> take(kRate / 4, 0.0f);
    take.insert(take.end(), voice.begin(), voice.end());
    take.resize(take.size() + kRate * 3 / 10, 0.0f);
    std::mt19937 random(11);
    std::normal_distribution<float> hiss(0.0f, 0.002f);
    for (float& v : take) v += hiss(random);
    return take;
}

void run(benchmark::State& state, bool withBook, bool drawn = false) {
    CCSetLogSink(quiet);
    pagly::AppDelegate app;  // the panel reads the visible area of the design
    CCDirector* director = CCDirector::sharedDirector();
    SDLRenderer* renderer = drawn ? SDLRenderer::createOffscreen(640, 960) : nullptr;
    CCScene* scene = nullptr;
    if (renderer) {
        director->setRenderer(renderer);
        scene = CCScene::create();
        director->runWithScene(scene);
        director->mainLoop(1 / 60.0f);
    }
    double seconds = 0;
    std::string path = fourSecondRecording(&seconds);
    std::string bytes = readAll(path);
    std::string filler = readAll(PAGLY_BOOK_DIR "/epc/24b1061ebaea908c716baf0522c76b5f.mp3");
    // The sentence as 4 s of sound at 16 kHz.
    auto sentence = [&] {
        std::vector<float> voice = decode(bytes), more = decode(filler);
        voice.insert(voice.end(), more.begin(), more.end());
        voice.resize((size_t)(4.0 * kRate), 0.0f);
        return voice;
    };
    std::vector<float> learner = learnerTake(sentence());
    SpeechProfile book = profileOf(sentence());
    seconds = book.seconds();
    for (auto _ : state) {
        SpeechProfile bookSide = withBook ? profileOf(sentence()) : book;
        SpeechProfile yours = profileOf(learner);
        SpeechComparison comparison = compareSpeech(bookSide, yours);
        pagly::ComparisonPanel* panel =
            pagly::ComparisonPanel::create(comparison, bookSide, yours, nullptr);
        benchmark::DoNotOptimize(panel);
        if (scene) {
            scene->addChild(panel);
            director->drawScene();
            panel->removeFromParent();
        }
        CCAutoreleasePool::sharedPool()->drain();
    }
    state.counters["spoken_s"] = seconds;
    director->reset();
    director->setRenderer(nullptr);
    delete renderer;
    CCSetLogSink(nullptr);
}

void BM_StopToPanel(benchmark::State& state) { run(state, false); }
void BM_StopToPanelWithBook(benchmark::State& state) { run(state, true); }
void BM_StopToPanelDrawn(benchmark::State& state) { run(state, false, true); }
BENCHMARK(BM_StopToPanel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StopToPanelDrawn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StopToPanelWithBook)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
