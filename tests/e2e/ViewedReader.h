#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ReaderFixture.h"
#include "engine/render/RenderTypes.h"

struct SDL_Surface;

namespace pagly::engine {
class CCEGLView;
class CCNode;
class SDLRenderer;
}  // namespace pagly::engine

namespace pagly::test {

// The spread of a set of pixels: their count and the variance of their x and y. A shape's
// width-to-height ratio from its spread is hardly moved by the soft pixels of its edge, so a
// drawing can be compared with its artwork to a fraction of a pixel.
struct PixelSpread {
    double count = 0, varX = 0, varY = 0;
    double aspect() const;  // width over height, 0 when there are too few pixels
    double width() const;   // the width of a filled rectangle of that spread
};

// Pixels of an image file (straight alpha) whose alpha is at least half.
PixelSpread spreadOfArtwork(const std::string& path, const engine::PixelRect* part = nullptr,
                            const engine::ccColor4B* onlyColour = nullptr);

// A reader drawn through the view into an offscreen frame of a chosen size, as a window of
// that size shows it: the design in its own shape, bars beside it.
class ViewedReaderTest : public ReaderTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Opens (or resizes) the offscreen frame.
    void useFrame(float width, float height);
    engine::SDLRenderer* frameRenderer() const;
    // Draws the running scene now.
    void drawFrame();
    // The pixel rectangle a node covers in the frame, widened by `margin` pixels.
    engine::PixelRect pixelBoxOf(engine::CCNode* node, int margin = 0) const;
    // The same for a rectangle in design coordinates.
    engine::PixelRect pixelBoxOfRect(const engine::CCRect& world) const;
    // Pixels of `box` that change by more than a third of full scale when `node` is hidden.
    PixelSpread spreadOfNode(engine::CCNode* node);
    // Pixels of `box` in the last frame within `tolerance` of `colour` on every channel.
    PixelSpread spreadOfColour(const engine::PixelRect& box, const engine::ccColor4B& colour,
                               int tolerance) const;

    // The contrast of one text on the screen, measured from the frame: its glyphs' own
    // pixels against the same pixels drawn without it.
    struct TextContrast {
        std::string text;
        double ratio = 0;
        bool large = false;  // at least 24 pixels high (18 pt): 3:1 is enough
    };
    // Every visible label drawn on the running scene, or only those within `within` (a modal
    // card: what its veil dims is not there to be read).
    std::vector<TextContrast> measureTexts(engine::CCNode* within = nullptr);
    // Texts whose contrast is below 4.5:1 (3:1 for large ones), one line each.
    std::vector<std::string> unreadableTexts(engine::CCNode* within = nullptr);
    // Saves the frame as /work/shots-like evidence when PAGLY_SHOTS names a folder.
    void keepShot(const std::string& name) const;

  private:
    engine::CCEGLView* m_view = nullptr;
};

// WCAG contrast of two colours (their relative luminance, 1:1 to 21:1).
double contrastRatio(const engine::ccColor4B& a, const engine::ccColor4B& b);

}  // namespace pagly::test
