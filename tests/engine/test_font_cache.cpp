// Font lookup (fontconfig with the book's own font as the fallback) and text rendering into
// surfaces: wrapping, alignment and the bad inputs labels may be handed.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cmath>
#include <limits>
#include <string>

#include "engine/nodes/CCFontCache.h"
#include "engine/platform/CCFileUtils.h"
#include "support/Harness.h"

using namespace pagly::engine;

namespace {

const std::string kBookFont = PAGLY_BOOK_DIR "/fonts/LiberationSans-Regular.ttf";

class FontCacheTest : public pagly::test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        m_savedRoot = CCFileUtils::sharedFileUtils()->getResourceRoot();
        CCFileUtils::sharedFileUtils()->setResourceRoot(PAGLY_BOOK_DIR);
    }
    void TearDown() override {
        CCFileUtils::sharedFileUtils()->setResourceRoot(m_savedRoot);
        EngineTest::TearDown();
    }
    CCFontCache* fonts() { return CCFontCache::sharedFontCache(); }
    std::string m_savedRoot;
};

std::string fileName(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Alpha of a pixel of an ARGB8888 surface.
Uint8 alphaAt(SDL_Surface* s, int x, int y) {
    Uint32 pixel = ((Uint32*)((Uint8*)s->pixels + y * s->pitch))[x];
    return (Uint8)(pixel >> 24);
}

struct Ink {
    int left = -1, right = -1, top = -1, bottom = -1;
};
// The box of visibly inked pixels within rows [y0, y1).
Ink inkBox(SDL_Surface* s, int y0 = 0, int y1 = -1) {
    if (y1 < 0) y1 = s->h;
    Ink ink;
    for (int y = y0; y < y1; ++y)
        for (int x = 0; x < s->w; ++x)
            if (alphaAt(s, x, y) > 64) {
                if (ink.left < 0 || x < ink.left) ink.left = x;
                if (x > ink.right) ink.right = x;
                if (ink.top < 0) ink.top = y;
                ink.bottom = y;
            }
    return ink;
}

}  // namespace

namespace {

void expectFamiliesResolve(CCFontCache* fonts) {
    struct Case {
        const char* name;
        std::string expectFile;
        bool fromBook;
    };
    const Case cases[] = {
        {"Arial", "LiberationSans-Regular.ttf", false},  // a metric alias is accepted
        {"DejaVu Sans", "DejaVuSans.ttf", false},        // asked for by its own name
        {"Thonburi", "LiberationSans-Regular.ttf", true},
        {"Marker Felt", "LiberationSans-Regular.ttf", true},
        {"fonts/LiberationSans-Regular.ttf", "LiberationSans-Regular.ttf", true},
        {"fonts/NoSuchFile.ttf", "LiberationSans-Regular.ttf", true},
        {"", "LiberationSans-Regular.ttf", true},
    };
    for (const Case& c : cases) {
        std::string file = fonts->resolveFontFile(c.name);
        EXPECT_EQ(c.expectFile, fileName(file)) << c.name;
        EXPECT_EQ(c.fromBook, file == kBookFont) << c.name << " -> " << file;
    }
}

}  // namespace

TEST_F(FontCacheTest, FamiliesResolveThroughFontconfigAndUnknownOnesFallBackToTheBookFont) {
    expectFamiliesResolve(fonts());
}

// The reader starts fontconfig on a helper thread at start-up and takes its catch-all font
// from there: the answers are the same (each test runs in a process of its own, so here the
// helper's start is the one used).
TEST_F(FontCacheTest, FontconfigStartedInTheBackgroundGivesTheSameAnswers) {
    CCFontCache::prepareInBackground();
    CCFontCache::prepareInBackground();  // a second call changes nothing
    expectFamiliesResolve(fonts());
}

TEST_F(FontCacheTest, FontsAreOpenedOncePerFileAndSize) {
    TTF_Font* a = fonts()->font("Arial", 22);
    ASSERT_NE(nullptr, a);
    EXPECT_EQ(a, fonts()->font("Arial", 22.2f));
    EXPECT_NE(a, fonts()->font("Arial", 30));
    // Absurd sizes are clamped, not passed on.
    EXPECT_NE(nullptr, fonts()->font("Arial", 1e9f));
    EXPECT_NE(nullptr, fonts()->font("Arial", -5));
    EXPECT_NE(nullptr, fonts()->font("Arial", std::numeric_limits<float>::quiet_NaN()));
}

TEST_F(FontCacheTest, WrappedTextIsExactlyTheWrapWidthAndCentred) {
    SDL_Surface* one = fonts()->renderText("Hello", "Arial", 22, CCSizeZero, kTextAlignmentLeft,
                                           kVerticalTextAlignmentTop);
    ASSERT_NE(nullptr, one);
    int lineHeight = one->h;
    SDL_FreeSurface(one);

    SDL_Surface* s =
        fonts()->renderText("The quick brown fox jumps over the lazy dog", "Arial", 22,
                            CCSize(160, 0), kTextAlignmentCenter, kVerticalTextAlignmentTop);
    ASSERT_NE(nullptr, s);
    EXPECT_EQ(160, s->w);
    EXPECT_GE(s->h, 3 * lineHeight - 2) << "wrapped onto several lines";
    // Every line is centred: its ink leaves about equal margins left and right.
    for (int line = 0; line * lineHeight < s->h; ++line) {
        Ink ink = inkBox(s, line * lineHeight, std::min(s->h, (line + 1) * lineHeight));
        if (ink.left < 0) continue;
        // SDL_ttf counts a line's trailing blank into its width: allow one blank of skew.
        EXPECT_NEAR(ink.left, s->w - 1 - ink.right, 7) << "line " << line;
        EXPECT_GT(ink.left, 4) << "line " << line << " is not left-aligned";
    }
    SDL_FreeSurface(s);
}

TEST_F(FontCacheTest, FixedHeightPlacesTheTextBlockVertically) {
    struct Case {
        CCVerticalTextAlignment align;
        const char* what;
    };
    for (Case c :
         {Case{kVerticalTextAlignmentTop, "top"}, Case{kVerticalTextAlignmentCenter, "center"},
          Case{kVerticalTextAlignmentBottom, "bottom"}}) {
        SDL_Surface* s =
            fonts()->renderText("Hi", "Arial", 20, CCSize(100, 120), kTextAlignmentRight, c.align);
        ASSERT_NE(nullptr, s) << c.what;
        EXPECT_EQ(100, s->w);
        EXPECT_EQ(120, s->h);
        Ink ink = inkBox(s);
        ASSERT_GE(ink.top, 0) << c.what;
        int above = ink.top, below = s->h - 1 - ink.bottom;
        if (c.align == kVerticalTextAlignmentTop) {
            EXPECT_LT(above, 15) << c.what;
        } else if (c.align == kVerticalTextAlignmentBottom) {
            EXPECT_LT(below, 15) << c.what;
        } else {
            EXPECT_NEAR(above, below, 8) << c.what;
        }
        EXPECT_GT(ink.left, 60) << "right-aligned";
        SDL_FreeSurface(s);
    }
}

TEST_F(FontCacheTest, EmptyAndAbsurdInputsGiveSaneSurfaces) {
    EXPECT_EQ(nullptr, fonts()->renderText("", "Arial", 20, CCSizeZero, kTextAlignmentLeft,
                                           kVerticalTextAlignmentTop));
    SDL_Surface* blank = fonts()->renderText("", "Arial", 20, CCSize(50, 30), kTextAlignmentLeft,
                                             kVerticalTextAlignmentTop);
    ASSERT_NE(nullptr, blank);
    EXPECT_EQ(50, blank->w);
    EXPECT_EQ(30, blank->h);
    EXPECT_LT(inkBox(blank).left, 0) << "nothing drawn";
    SDL_FreeSurface(blank);

    // Negative or NaN dimensions mean "no dimension"; huge ones are capped.
    float nan = std::numeric_limits<float>::quiet_NaN();
    SDL_Surface* s = fonts()->renderText("ok", "Arial", 20, CCSize(-40, nan), kTextAlignmentLeft,
                                         kVerticalTextAlignmentTop);
    ASSERT_NE(nullptr, s);
    EXPECT_GT(s->w, 0);
    SDL_FreeSurface(s);
    s = fonts()->renderText("ok", "Arial", 20, CCSize(1e7f, 1e7f), kTextAlignmentLeft,
                            kVerticalTextAlignmentTop);
    ASSERT_NE(nullptr, s);
    EXPECT_LE(s->w, 8192);
    EXPECT_LE(s->h, 8192);
    SDL_FreeSurface(s);
    // Bytes that are not UTF-8 do not crash the renderer.
    s = fonts()->renderText("bad \xC3\x28 \xFF text", "Arial", 20, CCSizeZero, kTextAlignmentLeft,
                            kVerticalTextAlignmentTop);
    if (s) SDL_FreeSurface(s);
}
