// Drawings keep the shape of their artwork in every window: the design is shown in its own
// shape, as large as the frame allows, with bars beside it.
#include <cmath>
#include <string>

#include "ViewedReader.h"
#include "app/FrameSize.h"
#include "app/PageLayer.h"
#include "engine/nodes/CCMenuItem.h"
#include "engine/nodes/CCNode.h"
#include "engine/nodes/CCSpriteFrame.h"
#include "engine/nodes/CCSpriteFrameCache.h"
#include "engine/platform/CCFileUtils.h"
#include "engine/render/SDLRenderer.h"
#include "gui/Layout.h"
#include "gui/UIWidget.h"
#include "gui/WidgetHelper.h"

using namespace pagly::engine;
using namespace pagly::gui;
using namespace pagly::test;

namespace {

class TrueShapeTest : public ViewedReaderTest {
  protected:
    std::string resource(const char* name) {
        return CCFileUtils::sharedFileUtils()->fullPathForFilename(name);
    }
    UIWidget* widget(const char* name) {
        return WidgetHelper::findWidgetByName(page()->pageWidget(), name);
    }

    // The play button as drawn against its artwork (its opaque pixels).
    void expectPlayButtonInShape(const char* where) {
        PixelSpread art = spreadOfArtwork(resource("Images/play_btn.png"));
        PixelSpread drawn = spreadOfNode(page()->playPauseItem());
        ASSERT_GT(art.aspect(), 0);
        ASSERT_GT(drawn.aspect(), 0) << where << ": the play button is not drawn";
        EXPECT_NEAR(1.0, drawn.aspect() / art.aspect(), 0.02)
            << where << ": the play button is drawn " << drawn.aspect() << " wide for "
            << art.aspect() << " in its artwork";
    }

    // The page badge (the disc behind the page number on the title ribbon) against its
    // artwork, the page number taken away.
    void expectPageBadgeInShape(const char* where) {
        CCSpriteFrame* frame =
            CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName("ribbon.png");
        ASSERT_NE(frame, nullptr);
        ASSERT_FALSE(frame->isRotated());
        // Around the disc only (centre (564, 33) of the 600 x 72 ribbon, radius 22): the soft
        // edges of the ribbon itself pass through the disc's grey too.
        CCRect r = frame->getRect();
        const int kDiscX = 564, kDiscY = 33, kAround = 27;
        PixelRect part{(int)r.origin.x + kDiscX - kAround, (int)r.origin.y + kDiscY - kAround,
                       2 * kAround, 2 * kAround};
        const ccColor4B badgeArt(235, 235, 235, 255);
        PixelSpread art = spreadOfArtwork(resource("lessonbundle/ui.png"), &part, &badgeArt);

        UIWidget* ribbon = widget("ribbon");
        UIWidget* number = widget("pagenumber");
        ASSERT_TRUE(ribbon && number);
        ccColor3B tint = ribbon->getColor();
        auto tinted = [](int art, int by) { return (unsigned char)(art * by / 255); };
        ccColor4B badge(tinted(235, tint.r), tinted(235, tint.g), tinted(235, tint.b), 255);
        number->setVisible(false);
        drawFrame();
        CCNode* drawnRibbon = ribbon->getRenderNode();
        CCPoint disc = drawnRibbon->convertToWorldSpace(
            CCPoint(kDiscX, drawnRibbon->getContentSize().height - kDiscY));
        PixelSpread drawn = spreadOfColour(
            pixelBoxOfRect(CCRect(disc.x - kAround, disc.y - kAround, 2 * kAround, 2 * kAround)),
            badge, 2);
        number->setVisible(true);
        ASSERT_GT(art.aspect(), 0);
        ASSERT_GT(drawn.aspect(), 0) << where << ": no page badge drawn";
        EXPECT_NEAR(1.0, drawn.aspect() / art.aspect(), 0.02)
            << where << ": the page badge is drawn " << drawn.aspect() << " wide for "
            << art.aspect() << " in its artwork";
    }
};

TEST_F(TrueShapeTest, ThePlayButtonAndThePageBadgeKeepTheirShapeInAnyWindow) {
    // The window a 1080-pixel-high desktop opens.
    CCSize frame = pagly::frameSizeForDesktopHeight(1050);
    useFrame(frame.width, frame.height);
    startOnMainPage();
    openPage(2);
    settle();
    drawFrame();
    keepShot("shape-default");
    expectPlayButtonInShape("default window");
    expectPageBadgeInShape("default window");

    // A window made wide and low: the page is as high as the window, bars beside it.
    useFrame(1600, 1200);
    drawFrame();
    keepShot("shape-wide");
    EXPECT_EQ(CCSize(800, 1200), frameRenderer()->getOutputPixelSize());
    ccColor4B bar = frameRenderer()->readPixel(100, 600);
    EXPECT_EQ(0, bar.r + bar.g + bar.b) << "the bars beside the page are not plain";
    expectPlayButtonInShape("1600 x 1200 window");
    expectPageBadgeInShape("1600 x 1200 window");
}

}  // namespace
