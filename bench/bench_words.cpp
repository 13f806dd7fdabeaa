// How long one word takes to look up in the installed dictionaries: the dictionary form and
// meaning from WordNet, and the translation from FreeDict (the small English-Spanish and the
// large English-German). Each look-up is timed on its own; the counters give the median, the
// 90th percentile and the worst of them, in microseconds.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

#include "words/FreeDict.h"
#include "words/WordNet.h"

using namespace pagly::words;

namespace {

const char* const kWords[] = {"runs",   "went",   "children", "isn't",    "dog's",  "Paris",
                              "mummy",  "better", "leaves",   "walked",   "blorpt", "happily",
                              "played", "houses", "mice",     "swimming", "tree",   "James"};

void timeEach(benchmark::State& state, const std::function<void(const char*)>& lookUp) {
    std::vector<double> micros;
    size_t i = 0;
    for (auto _ : state) {
        const char* word = kWords[i++ % std::size(kWords)];
        auto start = std::chrono::steady_clock::now();
        lookUp(word);
        micros.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p90_us"] = micros[micros.size() * 9 / 10];
    state.counters["worst_us"] = micros.back();
}

void BM_Meaning(benchmark::State& state) {
    WordNet wordnet;
    timeEach(state, [&](const char* w) { benchmark::DoNotOptimize(wordnet.meaning(w)); });
}
BENCHMARK(BM_Meaning)->Unit(benchmark::kMicrosecond);

// The first look-up opens the files.
void BM_FirstMeaning(benchmark::State& state) {
    timeEach(state, [&](const char* w) {
        WordNet wordnet;
        benchmark::DoNotOptimize(wordnet.meaning(w));
    });
}
BENCHMARK(BM_FirstMeaning)->Unit(benchmark::kMicrosecond);

void translation(benchmark::State& state, const char* code) {
    WordNet wordnet;
    FreeDict freedict;
    timeEach(state, [&](const char* w) {
        benchmark::DoNotOptimize(translateWord(wordnet, freedict, w, code));
    });
}
void BM_TranslateSpanish(benchmark::State& state) { translation(state, "spa"); }
void BM_TranslateGerman(benchmark::State& state) { translation(state, "deu"); }
BENCHMARK(BM_TranslateSpanish)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TranslateGerman)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
