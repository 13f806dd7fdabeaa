// Slower and faster speech. BM_StretchLongestRecording: decoding and stretching the book's
// longest recording, as the first play of a sentence at another speed does (later plays take
// it from the cache). BM_PlayToFirstMix: from playBackgroundMusic to the first mixer pass
// that hands the recording's samples to the sound device (SDL's dummy driver, which runs in
// real time), with an empty stretch cache, at 1.0 and at 0.5.
#include <benchmark/benchmark.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>
#include <chrono>
#include <dirent.h>
#include <memory>
#include <string>
#include <thread>

#include "engine/audio/Mp3Duration.h"
#include "engine/audio/SdlMixerAudioBackend.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/audio/StretchCache.h"
#include "engine/audio/StretchedSound.h"
#include "engine/base/CCObject.h"
#include "engine/platform/CCFileUtils.h"

using namespace pagly::audio;
using namespace pagly::engine;

namespace {

void quiet(const char*) {}

std::string longestRecording() {
    std::string folder = PAGLY_BOOK_DIR "/epc/", best;
    double longest = 0;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) {
            std::string path = folder + entry->d_name;
            double seconds = mp3DurationOfFile(path);
            if (seconds > longest) {
                longest = seconds;
                best = path;
            }
        }
        closedir(dir);
    }
    return best;
}

void BM_StretchLongestRecording(benchmark::State& state) {
    double speed = (double)state.range(0) / 100;
    std::string path = longestRecording();
    std::string bytes;
    if (path.empty() || !CCFileUtils::sharedFileUtils()->readFile(path, bytes)) {
        state.SkipWithError("no recording in the book");
        return;
    }
    double seconds = 0;
    for (auto _ : state) {
        auto sound = StretchedSound::fromMp3(bytes, speed);
        seconds = sound ? sound->seconds() : 0;
        if (sound) benchmark::DoNotOptimize(sound->wholeImage().data());
    }
    state.counters["recorded_s"] = mp3DurationOfFile(path);
    state.counters["stretched_s"] = seconds;
}
BENCHMARK(BM_StretchLongestRecording)->Arg(50)->Arg(75)->Arg(125)->Unit(benchmark::kMillisecond);

std::atomic<bool> g_armed{false};
std::atomic<long long> g_firstMix{0};

long long nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void onMix(void*, Uint8*, int) {
    if (g_armed.load() && g_firstMix.load() == 0) g_firstMix = nowNs();
}

void BM_PlayToFirstMix(benchmark::State& state) {
    CCSetLogSink(quiet);
    float speed = (float)state.range(0) / 100;
    SimpleAudioEngine* audio = SimpleAudioEngine::sharedEngine();
    auto previous = audio->setBackend(std::make_unique<SdlMixerAudioBackend>("dummy"));
    std::string path = longestRecording();
    audio->setBackgroundMusicSpeed(1.0f);
    audio->playBackgroundMusic(path.c_str());  // opens the device outside the timing
    audio->stopBackgroundMusic();
    Mix_SetPostMix(onMix, nullptr);
    audio->setBackgroundMusicSpeed(speed);
    double callMs = 0;
    for (auto _ : state) {
        audio->stretchCache().clear();
        g_firstMix = 0;
        long long start = nowNs();
        audio->playBackgroundMusic(path.c_str());
        long long returned = nowNs();
        g_armed = true;
        while (g_firstMix.load() == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
        g_armed = false;
        state.SetIterationTime((double)(g_firstMix.load() - start) / 1e9);
        callMs += (double)(returned - start) / 1e6;
        audio->stopBackgroundMusic();
    }
    state.counters["play_call_ms"] = callMs / (double)state.iterations();
    Mix_SetPostMix(nullptr, nullptr);
    audio->setBackgroundMusicSpeed(1.0f);
    audio->setBackend(std::move(previous));
    CCSetLogSink(nullptr);
}
BENCHMARK(BM_PlayToFirstMix)
    ->Arg(100)
    ->Arg(50)
    ->UseManualTime()
    ->Iterations(40)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
