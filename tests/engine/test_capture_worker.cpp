// The capture worker: the device is opened and closed on a thread of its own, so a device that
// stalls (a sound server whose source is suspended) never holds the engine thread; and on SDL's
// silent dummy driver no capture device is opened at all.
#include <SDL.h>
#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/audio/capture/CaptureDevice.h"
#include "engine/audio/capture/SampleRing.h"
#include "engine/audio/capture/SdlCaptureBackend.h"

using namespace pagly::audio;

namespace {

// A gate the test opens; the device's calls wait at it while it is shut.
class Gate {
  public:
    explicit Gate(bool open) : m_open(open) {}
    void open() {
        {
            std::lock_guard<std::mutex> hold(m_lock);
            m_open = true;
        }
        m_changed.notify_all();
    }
    void pass() {
        std::unique_lock<std::mutex> hold(m_lock);
        m_waiting = true;
        m_changed.notify_all();
        m_changed.wait(hold, [this] { return m_open; });
    }
    // Until someone has come to the gate.
    void untilReached() {
        std::unique_lock<std::mutex> hold(m_lock);
        m_changed.wait(hold, [this] { return m_waiting; });
    }

  private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_open;
    bool m_waiting = false;
};

// What a device did, kept by the test beyond the device's life.
struct DeviceLog {
    std::mutex lock;
    std::vector<std::thread::id> threads;
    int opens = 0, closes = 0;
};

// A device whose open and close wait at gates, and which notes the threads it ran on.
struct StallingDevice : CaptureDevice {
    StallingDevice(Gate& opening, Gate& closing, CaptureBackend::Outcome answer, DeviceLog& log)
        : opening(opening), closing(closing), answer(answer), log(log) {}
    CaptureBackend::Outcome open(SampleRing& ring, int& rate, std::string& problem) override {
        opening.pass();
        std::lock_guard<std::mutex> hold(log.lock);
        log.threads.push_back(std::this_thread::get_id());
        ++log.opens;
        if (answer != CaptureBackend::Started) {
            problem = "no such device";
            return answer;
        }
        rate = 8000;
        std::vector<float> some(100, 0.25f);
        ring.write(some.data(), some.size());
        return answer;
    }
    void close() override {
        closing.pass();
        std::lock_guard<std::mutex> hold(log.lock);
        log.threads.push_back(std::this_thread::get_id());
        ++log.closes;
    }
    Gate& opening;
    Gate& closing;
    CaptureBackend::Outcome answer;
    DeviceLog& log;
};

// Waits for the worker's answer (an event, however long the machine takes to give it).
CaptureBackend::Outcome answerOf(CaptureBackend& backend) {
    CaptureBackend::Outcome outcome;
    while ((outcome = backend.outcome()) == CaptureBackend::Opening) std::this_thread::yield();
    return outcome;
}

}  // namespace

TEST(CaptureWorker, StoppingOrStartingNeverWaitsOnAStalledDevice) {
    Gate opening(true), closing(false);
    DeviceLog device;
    {
        SdlCaptureBackend backend(
            std::make_unique<StallingDevice>(opening, closing, CaptureBackend::Started, device));
        backend.start();
        ASSERT_EQ(CaptureBackend::Started, answerOf(backend));
        EXPECT_EQ(8000, backend.sampleRate());
        std::vector<float> got;
        EXPECT_EQ(100u, backend.take(got));

        // The device's close does not return (its sound server has stalled): the engine
        // thread's stop, a new start and its stop all return at once all the same.
        backend.stop();
        EXPECT_FALSE(backend.isCapturing());
        EXPECT_EQ(CaptureBackend::Opening, backend.start());
        EXPECT_TRUE(backend.isCapturing());
        EXPECT_EQ(0u, backend.take(got));
        backend.stop();
        closing.open();  // the server comes back; the worker finishes as the backend goes
    }
    // The abandoned second recording was never opened; everything ran on the worker.
    EXPECT_EQ(1, device.opens);
    EXPECT_EQ(1, device.closes);
    for (std::thread::id id : device.threads) EXPECT_NE(std::this_thread::get_id(), id);
}

TEST(CaptureWorker, AnOpenThatStallsLeavesTheRecordingOpeningAndStopsAtOnce) {
    Gate opening(false), closing(true);
    DeviceLog device;
    {
        SdlCaptureBackend backend(
            std::make_unique<StallingDevice>(opening, closing, CaptureBackend::Started, device));
        EXPECT_EQ(CaptureBackend::Opening, backend.start());
        opening.untilReached();
        std::vector<float> got;
        EXPECT_EQ(0u, backend.take(got));
        EXPECT_EQ(CaptureBackend::Opening, backend.outcome());
        backend.stop();
        opening.open();
    }
    // It opened late, for a recording already given up: closed again at once.
    EXPECT_EQ(1, device.opens);
    EXPECT_EQ(1, device.closes);
}

TEST(CaptureWorker, AMissingDeviceIsAnswered) {
    Gate opening(true), closing(true);
    DeviceLog log;
    SdlCaptureBackend backend(
        std::make_unique<StallingDevice>(opening, closing, CaptureBackend::NoDevice, log));
    backend.start();
    EXPECT_EQ(CaptureBackend::NoDevice, answerOf(backend));
    std::string problem;
    backend.outcome(&problem);
    EXPECT_EQ("no such device", problem);
    EXPECT_FALSE(backend.isCapturing());
}

// With no sound server SDL plays on its silent dummy driver, whose capture device "opens" and
// records nothing: the learner is told there is no microphone instead.
TEST(CaptureWorker, SdlsSilentDummyDriverHasNoMicrophone) {
    const char* running = SDL_WasInit(SDL_INIT_AUDIO) ? SDL_GetCurrentAudioDriver() : nullptr;
    if (running && std::string(running) != "dummy")
        GTEST_SKIP() << "SDL's audio system already runs with " << running;
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    {
        SdlCaptureBackend backend;
        backend.start();
        std::string problem;
        EXPECT_EQ(CaptureBackend::NoDevice, answerOf(backend));
        backend.outcome(&problem);
        EXPECT_NE(std::string::npos, problem.find("dummy")) << problem;
    }
    unsetenv("SDL_AUDIODRIVER");
}
