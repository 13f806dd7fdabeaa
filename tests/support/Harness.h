#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/base/CCGeometry.h"

namespace pagly::engine {
class CCScene;
class CCTouch;
}  // namespace pagly::engine

namespace pagly::test {

// A headless director on a 640 x 960 design, driven by a virtual clock in frames of 1/60 s.
// Every test that touches the engine derives its fixture from EngineTest: it resets the
// director before and after the test and fails the test if engine objects leaked.
class EngineTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Steps the director frame by frame until `seconds` of virtual time have passed.
    void advance(double seconds);
    // Exactly one frame of 1/60 s.
    void step();
    double now() const { return m_now; }

    // Runs a scene (the switch happens on the next frame, which this steps).
    void run(engine::CCScene* scene);

    // Synthetic touches in design coordinates (origin bottom-left).
    void touchDown(float x, float y, int id = 0);
    void touchMove(float x, float y, int id = 0);
    void touchUp(float x, float y, int id = 0);
    void touchCancel(float x, float y, int id = 0);
    // Press and release at one point, one frame apart.
    void tap(float x, float y);
    // Press at `from`, move in `steps` equal steps (a frame apart) to `to`, release there.
    void drag(const engine::CCPoint& from, const engine::CCPoint& to, int steps = 5);

    // Log lines written through CCLog since the test started.
    const std::vector<std::string>& logLines() const;
    bool logged(const std::string& line) const;
    void clearLog();

    // Skip the leak check in a test that deliberately keeps engine objects (rare).
    bool m_checkLeaks = true;

  private:
    void dispatch(int phase, float x, float y, int id);
    double m_now = 0;
    long m_baseline = 0;
};

}  // namespace pagly::test
