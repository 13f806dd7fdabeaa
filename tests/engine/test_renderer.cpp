// The SDL back-end's draw commands, checked pixel by pixel in the software renderer.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cmath>
#include <cstring>
#include <thread>

#include "engine/base/RefPtr.h"
#include "engine/platform/CCFileUtils.h"
#include "engine/render/CCTexture2D.h"
#include "engine/render/CCTextureCache.h"
#include "engine/render/DamageRenderer.h"
#include "engine/render/SDLRenderer.h"
#include "support/Offscreen.h"

using namespace pagly::engine;
using pagly::test::colorString;

namespace {

const ccColor4B kRed = ccColor4B(255, 0, 0, 255), kGreen = ccColor4B(0, 255, 0, 255),
                kBlue = ccColor4B(0, 0, 255, 255), kWhite = ccColor4B(255, 255, 255, 255),
                kBlack = ccColor4B(0, 0, 0, 255);

class RendererTest : public pagly::test::OffscreenTest {
  protected:
    void SetUp() override {
        OffscreenTest::SetUp();
        m_oldRoot = CCFileUtils::sharedFileUtils()->getResourceRoot();
        CCFileUtils::sharedFileUtils()->setResourceRoot(PAGLY_FIXTURES_DIR "/render");
        renderer()->beginFrame();
    }
    void TearDown() override {
        CCFileUtils::sharedFileUtils()->setResourceRoot(m_oldRoot);
        OffscreenTest::TearDown();
    }
    // quad4.png: a 4x4 image whose 2x2 quadrants are red (top-left), green (top-right),
    // blue (bottom-left) and white (bottom-right).
    CCTexture2D* quad4() { return CCTextureCache::sharedTextureCache()->addImage("quad4.png"); }
    TexturedQuad quadAt(const CCRect& rect) {
        TexturedQuad q;
        q.texture = quad4();
        q.textureRect = CCRect(0, 0, 4, 4);
        q.rect = rect;
        return q;
    }
    void expectQuadrants(const CCRect& r, const ccColor4B& tl, const ccColor4B& tr,
                         const ccColor4B& bl, const ccColor4B& br) {
        renderer()->endFrame();
        float qx = r.size.width / 4, qy = r.size.height / 4;
        EXPECT_EQ(colorString(tl), colorString(probe(r.getMinX() + qx, r.getMaxY() - qy)));
        EXPECT_EQ(colorString(tr), colorString(probe(r.getMaxX() - qx, r.getMaxY() - qy)));
        EXPECT_EQ(colorString(bl), colorString(probe(r.getMinX() + qx, r.getMinY() + qy)));
        EXPECT_EQ(colorString(br), colorString(probe(r.getMaxX() - qx, r.getMinY() + qy)));
    }
    std::string m_oldRoot;
};

TEST_F(RendererTest, TexturedQuadPlacesTheImageUprightInDesignSpace) {
    CCRect r(100, 200, 40, 40);
    renderer()->drawTexturedQuad(quadAt(r));
    expectQuadrants(r, kRed, kGreen, kBlue, kWhite);
    // Outside the quad the clear colour remains.
    EXPECT_EQ(colorString(kBlack), colorString(probe(99, 220)));
    EXPECT_EQ(colorString(kBlack), colorString(probe(120, 241)));
}

struct OrientationCase {
    const char* name;
    bool flipX, flipY, rotatedFrame;
    float degrees;  // node rotation, clockwise
    ccColor4B tl, tr, bl, br;
};

TEST_F(RendererTest, FlipsRotatedFramesAndTransformsAgreeOnOrientation) {
    const OrientationCase cases[] = {
        {"plain", false, false, false, 0, kRed, kGreen, kBlue, kWhite},
        {"flipX", true, false, false, 0, kGreen, kRed, kWhite, kBlue},
        {"flipY", false, true, false, 0, kBlue, kWhite, kRed, kGreen},
        {"flipXY", true, true, false, 0, kWhite, kBlue, kGreen, kRed},
        // Stored turned clockwise: shown, the stored top-right corner is the top-left.
        {"rotated frame", false, false, true, 0, kGreen, kWhite, kRed, kBlue},
        {"rotated frame flipX", true, false, true, 0, kWhite, kGreen, kBlue, kRed},
        // A node turned 90 degrees clockwise: its top-left lands at the top-right.
        {"node turned 90", false, false, false, 90, kBlue, kRed, kWhite, kGreen},
        {"node turned 180", false, false, false, 180, kWhite, kBlue, kGreen, kRed},
    };
    for (const OrientationCase& c : cases) {
        SCOPED_TRACE(c.name);
        renderer()->beginFrame();
        // A 40x40 quad centred on (300, 300), turned about its centre.
        float rad = degreesToRadians(c.degrees);
        float cs = std::round(std::cos(rad)), sn = std::round(std::sin(rad));
        // Clockwise rotation in a y-up space: x' = x cos + y sin, y' = -x sin + y cos.
        TexturedQuad q = quadAt(CCRect(-20, -20, 40, 40));
        q.transform = CCAffineTransformMake(cs, -sn, sn, cs, 300, 300);
        q.flipX = c.flipX;
        q.flipY = c.flipY;
        q.rotated = c.rotatedFrame;
        renderer()->drawTexturedQuad(q);
        expectQuadrants(CCRect(280, 280, 40, 40), c.tl, c.tr, c.bl, c.br);
    }
}

TEST_F(RendererTest, ColourAndOpacityMultiplyTheTexture) {
    TexturedQuad q = quadAt(CCRect(0, 0, 40, 40));
    q.color = ccColor4B(255, 128, 0, 255);
    renderer()->drawTexturedQuad(q);
    q.rect = CCRect(100, 0, 40, 40);
    q.color = ccColor4B(255, 255, 255, 128);
    renderer()->drawTexturedQuad(q);
    renderer()->endFrame();
    // White tinted orange; green tinted orange loses its green by half.
    EXPECT_EQ("255,128,0,255", colorString(probe(30, 10)));
    EXPECT_EQ("0,128,0,255", colorString(probe(30, 30)));
    // Half-transparent white over black.
    ccColor4B half = probe(130, 10);
    EXPECT_NEAR(half.r, 128, 1);
    EXPECT_EQ(half.r, half.g);
}

TEST_F(RendererTest, ColouredQuadInterpolatesCornerColours) {
    CCPoint corners[4] = {CCPoint(0, 0), CCPoint(200, 0), CCPoint(0, 100), CCPoint(200, 100)};
    ccColor4B colors[4] = {kRed, kRed, kBlue, kBlue};
    renderer()->drawColoredQuad(corners, colors);
    renderer()->endFrame();
    EXPECT_TRUE(pagly::test::colorNear(kRed, probe(100, 0), 4)) << colorString(probe(100, 0));
    EXPECT_TRUE(pagly::test::colorNear(kBlue, probe(100, 99), 4)) << colorString(probe(100, 99));
    ccColor4B mid = probe(100, 50);
    EXPECT_NEAR(mid.r, 128, 6);
    EXPECT_NEAR(mid.b, 128, 6);
}

TEST_F(RendererTest, ClipRectanglesIntersectAndPopRestores) {
    CCPoint all[4] = {CCPoint(0, 0), CCPoint(640, 0), CCPoint(0, 960), CCPoint(640, 960)};
    ccColor4B red[4] = {kRed, kRed, kRed, kRed};
    ccColor4B green[4] = {kGreen, kGreen, kGreen, kGreen};
    ccColor4B blue[4] = {kBlue, kBlue, kBlue, kBlue};
    renderer()->pushClipRect(CCRect(100, 100, 200, 200));
    renderer()->pushClipRect(CCRect(200, 200, 200, 200));  // overlap: (200,200)-(300,300)
    renderer()->drawColoredQuad(all, red);
    renderer()->popClipRect();
    renderer()->drawColoredQuad(all, green);  // the outer clip again: covers the red
    renderer()->popClipRect();
    // Disjoint clip: nothing at all.
    renderer()->pushClipRect(CCRect(0, 0, 10, 10));
    renderer()->pushClipRect(CCRect(500, 500, 10, 10));
    EXPECT_TRUE(renderer()->isClippedAway());
    renderer()->drawColoredQuad(all, blue);
    renderer()->popClipRect();
    renderer()->popClipRect();
    renderer()->endFrame();
    EXPECT_EQ(colorString(kGreen), colorString(probe(250, 250)));
    EXPECT_EQ(colorString(kGreen), colorString(probe(150, 150)));
    EXPECT_EQ(colorString(kBlack), colorString(probe(350, 350)));
    EXPECT_EQ(colorString(kBlack), colorString(probe(99, 150)));
    EXPECT_EQ(colorString(kBlack), colorString(probe(5, 5)));
    EXPECT_EQ(colorString(kBlack), colorString(probe(505, 505)));

    // A node-space rectangle under a transform clips to its world rectangle.
    renderer()->beginFrame();
    {
        ClipScope clip(renderer(), CCRect(0, 0, 10, 10),
                       CCAffineTransformMake(2, 0, 0, 2, 400, 400));  // (400,400)-(420,420)
        renderer()->drawColoredQuad(all, red);
    }
    renderer()->endFrame();
    EXPECT_EQ(colorString(kRed), colorString(probe(410, 410)));
    EXPECT_EQ(colorString(kBlack), colorString(probe(399, 410)));
    EXPECT_EQ(colorString(kBlack), colorString(probe(421, 410)));
}

TEST_F(RendererTest, AMagnifiedQuadCutByTheClipKeepsItsPlace) {
    // 4x4 texels over 160x80 pixels: the red/green boundary at x = 80 must stay there when
    // the clip cuts the quad (SDL's own clipping of a scaled copy would shift it).
    struct Case {
        const char* name;
        CCRect clip;
        bool flipX;
    } cases[] = {
        {"cut on the left", CCRect(40, 0, 200, 100), false},
        {"cut on the left, mirrored", CCRect(40, 0, 200, 100), true},
        {"cut on all sides", CCRect(40, 20, 80, 40), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        renderer()->beginFrame();
        renderer()->pushClipRect(c.clip);
        TexturedQuad q = quadAt(CCRect(0, 0, 160, 80));
        q.flipX = c.flipX;
        renderer()->drawTexturedQuad(q);
        renderer()->popClipRect();
        renderer()->endFrame();
        const ccColor4B& left = c.flipX ? kGreen : kRed;
        const ccColor4B& right = c.flipX ? kRed : kGreen;
        EXPECT_EQ(colorString(left), colorString(probe(79, 50)));
        EXPECT_EQ(colorString(right), colorString(probe(80, 50)));
        EXPECT_EQ(colorString(kBlack), colorString(probe(c.clip.getMinX() - 1, 50)));
    }
    // Cut inside a texel: the partial texel is drawn as its own piece.
    renderer()->beginFrame();
    renderer()->pushClipRect(CCRect(30, 0, 100, 100));
    renderer()->drawTexturedQuad(quadAt(CCRect(0, 0, 160, 80)));
    renderer()->popClipRect();
    renderer()->endFrame();
    EXPECT_EQ(colorString(kRed), colorString(probe(30, 60)));
    EXPECT_EQ(colorString(kRed), colorString(probe(79, 60)));
    EXPECT_EQ(colorString(kGreen), colorString(probe(80, 60)));
    EXPECT_EQ(colorString(kGreen), colorString(probe(129, 60)));
    EXPECT_EQ(colorString(kBlack), colorString(probe(29, 60)));
    EXPECT_EQ(colorString(kBlack), colorString(probe(130, 60)));
}

TEST_F(RendererTest, RenderTargetCapturesAndDrawsBack) {
    RefPtr<CCTexture2D> target(new CCTexture2D());
    target->release();
    ASSERT_TRUE(target->initAsRenderTarget(64, 96));
    ccColor4B clear = ccColor4B(0, 0, 255, 255);
    // The whole design area, shrunk ten times into the target; a red square at the
    // design's top-left quarter.
    renderer()->beginRenderTarget(target, CCRect(0, 0, 640, 960), &clear);
    CCPoint corners[4] = {CCPoint(0, 480), CCPoint(320, 480), CCPoint(0, 960), CCPoint(320, 960)};
    ccColor4B red[4] = {kRed, kRed, kRed, kRed};
    renderer()->drawColoredQuad(corners, red);
    EXPECT_EQ(CCSize(64, 96), renderer()->getOutputPixelSize());
    renderer()->endRenderTarget();
    EXPECT_EQ(CCSize(640, 960), renderer()->getOutputPixelSize());

    // Drawn back over the whole screen: red top-left quarter, blue elsewhere.
    TexturedQuad q;
    q.texture = target;
    q.textureRect = CCRect(0, 0, 64, 96);
    q.rect = CCRect(0, 0, 640, 960);
    renderer()->drawTexturedQuad(q);
    renderer()->endFrame();
    EXPECT_EQ(colorString(kRed), colorString(probe(100, 900)));
    EXPECT_EQ(colorString(kBlue), colorString(probe(500, 900)));
    EXPECT_EQ(colorString(kBlue), colorString(probe(100, 100)));

    // A mesh of the target (what transitions draw): two triangles over the right half.
    renderer()->beginFrame();
    RenderVertex v[4];
    float xy[4][4] = {{320, 0, 0, 1}, {640, 0, 1, 1}, {320, 960, 0, 0}, {640, 960, 1, 0}};
    for (int i = 0; i < 4; ++i)
        v[i].x = xy[i][0], v[i].y = xy[i][1], v[i].u = xy[i][2], v[i].v = xy[i][3];
    int idx[6] = {0, 1, 2, 2, 1, 3};
    renderer()->drawTriangles(target, v, 4, idx, 6);
    renderer()->endFrame();
    EXPECT_EQ(colorString(kRed), colorString(probe(400, 900)));
    EXPECT_EQ(colorString(kBlue), colorString(probe(600, 100)));
    EXPECT_EQ(colorString(kBlack), colorString(probe(100, 900)));
}

TEST_F(RendererTest, BadCommandsDrawNothingAndSayWhy) {
    RenderVertex v[3];
    int idx[3] = {0, 1, 7};
    renderer()->drawTriangles(nullptr, v, 3, idx, 3);
    EXPECT_FALSE(logLines().empty());
    // A texture that is not a render target cannot be drawn into; begin/end stay paired.
    renderer()->beginRenderTarget(quad4(), CCRect(0, 0, 640, 960), nullptr);
    EXPECT_TRUE(renderer()->isClippedAway());
    renderer()->endRenderTarget();
    EXPECT_FALSE(renderer()->isClippedAway());
    renderer()->popClipRect();  // unbalanced: logged, harmless
    renderer()->endRenderTarget();
    // Out-of-range texture coordinates are clamped instead of losing the whole call.
    for (int i = 0; i < 3; ++i) v[i].color = kWhite;
    v[0].x = 0, v[0].y = 0, v[0].u = -3, v[0].v = 5;
    v[1].x = 100, v[1].y = 0, v[1].u = 7, v[1].v = 5;
    v[2].x = 0, v[2].y = 100, v[2].u = -3, v[2].v = -9;
    renderer()->drawTriangles(quad4(), v, 3, nullptr, 0);
    renderer()->endFrame();
    EXPECT_NE(colorString(kBlack), colorString(probe(10, 10)));
}

TEST_F(RendererTest, TextureCacheLoadsOncePerPathAndRejectsBadFiles) {
    CCTextureCache* cache = CCTextureCache::sharedTextureCache();
    CCTexture2D* a = cache->addImage("quad4.png");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, cache->addImage("quad4.png"));
    EXPECT_EQ(a, cache->addImage(PAGLY_FIXTURES_DIR "/render/quad4.png"));
    EXPECT_EQ(4, a->getPixelsWide());
    EXPECT_EQ(4, a->getPixelsHigh());
    EXPECT_TRUE(a->isOpaque());
    EXPECT_EQ("255,0,0,255", colorString(a->pixelAt(0, 0)));
    EXPECT_EQ("255,255,255,255", colorString(a->pixelAt(3, 3)));

    const char* bad[] = {"missing.png", "corrupt.png", "empty.png", ""};
    for (const char* name : bad) {
        SCOPED_TRACE(name);
        clearLog();
        EXPECT_EQ(nullptr, cache->addImage(name));
        ASSERT_EQ(1u, logLines().size());
        if (*name) {
            EXPECT_NE(std::string::npos, logLines()[0].find(name));
        }
    }
}

}  // namespace

// A window drawn by SDL's software renderer keeps its pixels, so only what changed is drawn:
// the partial frame must equal, pixel for pixel, a whole frame of the same commands.
TEST_F(RendererTest, AnImageFromAFileKeepsOneCopyOfItsPixels) {
    CCTexture2D* file = quad4();
    ASSERT_NE(nullptr, file);
    RefPtr<CCTexture2D> made(new CCTexture2D());
    made->release();
    const unsigned char red[4] = {255, 0, 0, 255};
    ASSERT_TRUE(made->initWithRGBA(red, 1, 1));
    EXPECT_NE(nullptr, file->getSurface()) << "in memory until a device texture is made";
    renderer()->prepareTexture(file);
    renderer()->prepareTexture(made);
    EXPECT_EQ(nullptr, file->getSurface()) << "the device texture holds the picture now";
    EXPECT_NE(nullptr, made->getSurface()) << "pixels made in memory have no file to come from";
    EXPECT_EQ(colorString(kWhite), colorString(file->pixelAt(3, 3))) << "read from the file again";
    // A renderer that comes later (the window made anew) still gets the whole picture.
    CCTexture2D::dropDeviceTextures(renderer()->sdlRenderer());
    CCRect r(100, 200, 40, 40);
    renderer()->drawTexturedQuad(quadAt(r));
    expectQuadrants(r, kRed, kGreen, kBlue, kWhite);
}

TEST_F(RendererTest, PreparedImagesAreDecodedAheadOnceAndNeverLog) {
    CCTextureCache* cache = CCTextureCache::sharedTextureCache();
    clearLog();
    cache->prepareImage("quad4.png");
    cache->prepareImage("quad4.png");
    cache->prepareImage("missing.png");
    cache->prepareImage("corrupt.png");
    std::vector<CCTexture2D*> taken;
    while (cache->isPreparing()) {
        if (CCTexture2D* t = cache->takePreparedImage()) {
            taken.push_back(t);
            renderer()->prepareTexture(t);
        }
        std::this_thread::yield();
    }
    EXPECT_TRUE(logLines().empty()) << "a broken file is left for addImage to name";
    ASSERT_EQ(1u, taken.size()) << "quad4.png once; nothing for the missing or broken file";
    EXPECT_EQ(1u, cache->count());
    EXPECT_EQ(taken[0], cache->addImage("quad4.png")) << "addImage finds it ready";
    EXPECT_EQ(nullptr, taken[0]->getSurface()) << "made ready on the device between frames";
    EXPECT_EQ(nullptr, cache->addImage("corrupt.png"));
    EXPECT_EQ(1u, logLines().size()) << "and addImage still names the broken file";

    // Asked for while it is on its way: the same whole picture, taken in only once.
    for (int i = 0; i < 20; ++i) {
        SCOPED_TRACE(i);
        cache->removeAllTextures();
        cache->prepareImage("quad4.png");
        CCTexture2D* now = cache->addImage("quad4.png");
        ASSERT_NE(nullptr, now);
        EXPECT_EQ(colorString(kBlue), colorString(now->pixelAt(0, 3)));
        while (cache->isPreparing()) {
            EXPECT_EQ(nullptr, cache->takePreparedImage());
            std::this_thread::yield();
        }
        EXPECT_EQ(now, cache->addImage("quad4.png"));
    }
}

// How many pixel rows of two renderers' last frames differ (-1 when one cannot be read).
static int rowsDiffering(SDLRenderer* first, SDLRenderer* second) {
    SDL_Surface* a = first->readSurface();
    SDL_Surface* b = second->readSurface();
    int differing = -1;
    if (a && b && a->w == b->w && a->h == b->h) {
        differing = 0;
        for (int y = 0; y < a->h; ++y)
            differing += memcmp((Uint8*)a->pixels + y * a->pitch, (Uint8*)b->pixels + y * b->pitch,
                                (size_t)a->w * 4) != 0;
    }
    SDL_FreeSurface(a);
    SDL_FreeSurface(b);
    return differing;
}

TEST(DamageRendererTest, PartialFramesMatchWholeFramesAndStaySmall) {
    SDLRenderer* full = SDLRenderer::createOffscreen(320, 480);
    SDLRenderer* kept = SDLRenderer::createOffscreen(320, 480);
    ASSERT_TRUE(full && kept);
    ASSERT_TRUE(kept->keepsPixels());
    DamageRenderer damage(kept);
    unsigned char rgba[4 * 16 * 16];
    for (int i = 0; i < 16 * 16; ++i) {  // a texture that shows how it was sampled
        rgba[4 * i] = (unsigned char)(i * 7), rgba[4 * i + 1] = (unsigned char)(i * 13);
        rgba[4 * i + 2] = (unsigned char)(255 - i), rgba[4 * i + 3] = 255;
    }
    RefPtr<CCTexture2D> picture(new CCTexture2D());
    picture->release();
    ASSERT_TRUE(picture->initWithRGBA(rgba, 16, 16));
    picture->setLinearFilter(true);

    auto drawFrame = [&](Renderer* r, float walkerX) {
        r->beginFrame();
        CCPoint corners[4] = {CCPoint(0, 0), CCPoint(640, 0), CCPoint(0, 960), CCPoint(640, 960)};
        ccColor4B green[4] = {ccColor4B(0, 200, 0, 255), ccColor4B(0, 200, 0, 255),
                              ccColor4B(0, 200, 0, 255), ccColor4B(0, 200, 0, 255)};
        r->drawColoredQuad(corners, green);
        TexturedQuad label;  // scaled: a copy whose sampling a clip edge would shift
        label.texture = picture.get();
        label.textureRect = CCRect(0, 0, 16, 16);
        label.rect = CCRect(100, 100, 301, 77);
        r->drawTexturedQuad(label);
        TexturedQuad walker = label;
        walker.rect = CCRect(walkerX, 120, 40, 60);
        walker.color = ccColor4B(255, 255, 255, 200);
        r->drawTexturedQuad(walker);
        r->endFrame();
    };
    int rect[4];
    bool whole = false;
    for (float x : {20.0f, 25.0f, 300.0f, 520.0f, 520.0f}) {
        drawFrame(full, x);
        drawFrame(&damage, x);
        damage.lastDamage(rect, whole);
        EXPECT_EQ(0, rowsDiffering(full, kept)) << "rows differing after the walker moved to " << x;
    }
    EXPECT_FALSE(whole);
    EXPECT_EQ(0, rect[2]) << "a frame in which nothing moved draws nothing";
    drawFrame(&damage, 560);
    damage.lastDamage(rect, whole);
    EXPECT_FALSE(whole);
    EXPECT_GT(rect[2], 0);
    EXPECT_LT(rect[2] * rect[3], 320 * 480 / 10) << "the walker's rectangle, not the window";
    damage.invalidate();
    drawFrame(&damage, 560);
    damage.lastDamage(rect, whole);
    EXPECT_TRUE(whole) << "after the window lost its pixels";
    delete full;
    delete kept;
}

TEST(ScreenFitTest, TheShownRectangleKeepsTheRatioAndIsCentred) {
    struct Case {
        int w, h;
        float aspect;
        PixelRect expected;
    };
    const float frame = 731.0f / 963.0f;  // the window the reader opens on a 1024-high desktop
    const Case cases[] = {
        {731, 963, frame, {0, 0, 731, 963}},       // the window as opened: all of it
        {1280, 1024, frame, {251, 0, 777, 1024}},  // full screen: bars left and right
        {731, 2000, frame, {0, 518, 731, 963}},    // a tall window: bars above and below
        {732, 963, frame, {0, 0, 732, 963}},       // a pixel off the ratio: no one-pixel bar
        {1280, 1024, 0.0f, {0, 0, 1280, 1024}},    // no ratio kept: stretched
        {1280, 1024, std::nanf(""), {0, 0, 1280, 1024}},
        {1, 1000, frame, {0, 499, 1, 1}},  // absurdly thin: still a pixel
    };
    for (const Case& c : cases) {
        const PixelRect r = fitAspect(c.w, c.h, c.aspect);
        EXPECT_EQ(c.expected.x, r.x) << c.w << "x" << c.h;
        EXPECT_EQ(c.expected.y, r.y) << c.w << "x" << c.h;
        EXPECT_EQ(c.expected.w, r.w) << c.w << "x" << c.h;
        EXPECT_EQ(c.expected.h, r.h) << c.w << "x" << c.h;
    }
}

TEST(ScreenFitTest, AKeptRatioDrawsInTheMiddleAndPartialFramesStayInside) {
    // 400 x 240 output, design 640 x 960 kept at 2:3: shown at x 120..279, bars either side.
    SDLRenderer* full = SDLRenderer::createOffscreen(400, 240);
    SDLRenderer* kept = SDLRenderer::createOffscreen(400, 240);
    ASSERT_TRUE(full && kept);
    full->setScreenAspect(2.0f / 3.0f);
    kept->setScreenAspect(2.0f / 3.0f);
    EXPECT_EQ(160, (int)full->getOutputPixelSize().width) << "what a page capture is sized to";
    DamageRenderer damage(kept);
    auto drawFrame = [&](Renderer* r, float boxX) {
        r->beginFrame();
        CCPoint all[4] = {CCPoint(0, 0), CCPoint(640, 0), CCPoint(0, 960), CCPoint(640, 960)};
        ccColor4B green[4] = {kGreen, kGreen, kGreen, kGreen};
        r->drawColoredQuad(all, green);
        // Reaches past the page's right edge: cut at the shown area, not at the output's.
        CCPoint box[4] = {CCPoint(boxX, 400), CCPoint(boxX + 400, 400), CCPoint(boxX, 560),
                          CCPoint(boxX + 400, 560)};
        ccColor4B red[4] = {kRed, kRed, kRed, kRed};
        r->pushClipRect(CCRect(0, 0, 640, 960));
        r->drawColoredQuad(box, red);
        r->popClipRect();
        r->endFrame();
    };
    for (float x : {300.0f, 400.0f}) {
        drawFrame(full, x);
        drawFrame(&damage, x);
        for (int px : {0, 119, 280, 399})
            EXPECT_EQ(colorString(kBlack), colorString(full->readPixel(px, 120)))
                << "bar at " << px << ", box at " << x;
        EXPECT_EQ(colorString(kGreen), colorString(full->readPixel(120, 10)));
        EXPECT_EQ(colorString(kGreen), colorString(full->readPixel(279, 10)));
        EXPECT_EQ(colorString(kRed), colorString(full->readPixel(279, 120)));
        EXPECT_EQ(0, rowsDiffering(full, kept))
            << "a partial frame differs from a whole one, box at " << x;
    }
    delete full;
    delete kept;
}
