#pragma once

#include <string>

#include "engine/base/CCGeometry.h"
#include "support/Harness.h"

namespace pagly::engine {
class SDLRenderer;
}

namespace pagly::test {

// An EngineTest whose director draws into a 640 x 960 software renderer in memory: pixels are
// bit-for-bit repeatable, so frames can be probed and compared exactly with reference images.
class OffscreenTest : public EngineTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    engine::SDLRenderer* renderer() const { return m_renderer; }
    // Draws the running scene now (whether or not anything changed).
    void drawFrame();
    // The colour at a design point (origin bottom-left) of the last frame drawn.
    engine::ccColor4B probe(float x, float y) const;
    // Writes the last frame as PNG.
    bool saveScreenshot(const std::string& path) const;
    // Compares the last frame with a reference PNG under tests/fixtures. A channel may differ
    // by up to `tolerance`; at most `maxBadPixels` pixels may exceed it. On failure the frame
    // is written next to the test binary as <name>.actual.png for a look.
    ::testing::AssertionResult matchesReference(const std::string& fixturePath, int tolerance = 0,
                                                int maxBadPixels = 0) const;

  private:
    engine::SDLRenderer* m_renderer = nullptr;
};

// "r,g,b,a" for failure messages.
std::string colorString(const engine::ccColor4B& c);
// True when every channel is within `tolerance`.
bool colorNear(const engine::ccColor4B& a, const engine::ccColor4B& b, int tolerance = 0);

}  // namespace pagly::test
