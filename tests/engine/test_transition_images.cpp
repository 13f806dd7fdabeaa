// Transitions in pixels: the page curl forward and backwards and the zoom flip, drawn by the
// software renderer and compared with reference images; the first and last frames join the
// scenes without a jump; the texture a transition draws the scene into passes from one
// transition to the next.
#include "engine/director/CCDirector.h"
#include "engine/nodes/CCLayerColor.h"
#include "engine/nodes/CCLayerGradient.h"
#include "engine/nodes/CCScene.h"
#include "engine/transitions/CCTransitionPageTurn.h"
#include "engine/transitions/CCTransitionZoomFlipY.h"
#include "engine/transitions/SceneCapture.h"
#include "support/Offscreen.h"

using namespace pagly::engine;
using pagly::test::colorString;

namespace {

void block(CCNode* parent, const ccColor4B& color, float x, float y, float w, float h) {
    CCLayerColor* l = CCLayerColor::create(color, w, h);
    l->setPosition(x, y);
    parent->addChild(l);
}

// A cream page with a title bar, lines of "text" and a red mark in the bottom-right corner.
CCScene* pageA() {
    CCScene* s = CCScene::create();
    block(s, ccColor4B(250, 245, 230, 255), 0, 0, 640, 960);
    block(s, ccColor4B(40, 60, 140, 255), 40, 830, 560, 90);
    for (int i = 0; i < 9; ++i)
        block(s, ccColor4B(90, 90, 90, 255), 60, 740 - i * 70, 420 + (i % 3) * 40, 24);
    block(s, ccColor4B(200, 30, 30, 255), 540, 20, 80, 80);
    return s;
}

// A blue-green page with a yellow panel and a dark band: plainly not page A.
CCScene* pageB() {
    CCScene* s = CCScene::create();
    s->addChild(
        CCLayerGradient::create(ccColor4B(120, 200, 140, 255), ccColor4B(90, 150, 220, 255)));
    block(s, ccColor4B(250, 210, 60, 255), 120, 300, 400, 360);
    block(s, ccColor4B(30, 40, 50, 255), 0, 100, 640, 60);
    return s;
}

class TransitionImageTest : public pagly::test::OffscreenTest {
  protected:
    // Page A runs; the transition made by `make` (to page B) is shown and run until `seconds`
    // of it have passed (the frame that shows it counts as its first step).
    template <class Make>
    void runFor(Make make, double seconds) {
        run(pageA());
        CCDirector::sharedDirector()->replaceScene(make(pageB()));
        step();
        advance(seconds - 1.0 / 60);
        drawFrame();
    }
    // The colours of a grid of points over the screen, row by row from the bottom.
    static const int kSampleColumns = 16;
    std::vector<ccColor4B> samples() {
        std::vector<ccColor4B> out;
        for (float y = 10; y < 960; y += 47)
            for (float x = 10; x < 640; x += 41) out.push_back(probe(x, y));
        return out;
    }
};

const ccColor4B kCream = ccColor4B(250, 245, 230, 255);
const ccColor4B kRedMark = ccColor4B(200, 30, 30, 255);
const ccColor4B kYellow = ccColor4B(250, 210, 60, 255);

TEST_F(TransitionImageTest, ForwardCurlHalfWay) {
    runFor([](CCScene* b) { return CCTransitionPageTurn::create(1, b, false); }, 0.5);
    EXPECT_TRUE(matchesReference("transitions/pageturn_forward_mid.png"));
    EXPECT_EQ(colorString(kCream), colorString(probe(20, 940))) << "top-left still page A, flat";
    EXPECT_EQ(colorString(kYellow), colorString(probe(500, 400)))
        << "page B shows where page A has curled away";
}

TEST_F(TransitionImageTest, BackwardCurlHalfWay) {
    runFor([](CCScene* b) { return CCTransitionPageTurn::create(1, b, true); }, 0.5);
    EXPECT_TRUE(matchesReference("transitions/pageturn_backward_mid.png"));
    EXPECT_EQ(colorString(kRedMark), colorString(probe(580, 60)))
        << "page A still shows at the bottom right, not yet covered";
}

TEST_F(TransitionImageTest, ZoomFlipPartWay) {
    runFor(
        [](CCScene* b) {
            return CCTransitionZoomFlipY::create(1, b, kTransitionOrientationDownOver);
        },
        0.3);
    EXPECT_TRUE(matchesReference("transitions/zoomflip_mid.png"));
    EXPECT_EQ(colorString(ccColor4B(0, 0, 0, 255)), colorString(probe(5, 480))) << "zoomed out";
}

TEST_F(TransitionImageTest, PageTurnStartsOnTheOldPageAndEndsOnTheNew) {
    const bool directions[] = {false, true};
    for (bool backwards : directions) {
        run(pageA());
        drawFrame();
        std::vector<ccColor4B> before = samples();
        CCDirector::sharedDirector()->replaceScene(
            CCTransitionPageTurn::create(0.5f, pageB(), backwards));
        step();
        drawFrame();
        // The frame that answers the turn already moves the page, by one frame's step: only
        // near the corner it leaves (forward) or comes from (backwards) may anything differ.
        std::vector<ccColor4B> first = samples();
        int moved = 0, far = 0;
        for (size_t i = 0; i < first.size(); ++i) {
            if (first[i] == before[i]) continue;
            ++moved;
            const float x = 10 + 41 * (float)(i % kSampleColumns);
            const float y = 10 + 47 * (float)(i / kSampleColumns);
            if (backwards ? x > 140 : x < 500 || y > 240) ++far;
        }
        EXPECT_GT(moved, 0) << "the first frame already shows the turn (backwards=" << backwards
                            << ")";
        EXPECT_EQ(0, far) << "and no jump: the rest is page A (backwards=" << backwards << ")";
        advance(28.0 / 60);
        drawFrame();
        std::vector<ccColor4B> last = samples();
        step();  // the switch
        drawFrame();
        std::vector<ccColor4B> after = samples();
        // One frame before the end only a sliver of the turning page is left: at the top-left
        // going forward, at the bottom-right corner going back. Elsewhere it is page B.
        int differ = 0;
        for (size_t i = 0; i < after.size(); ++i) {
            const float x = 10 + 41 * (float)(i % kSampleColumns);
            const bool sliver = backwards ? x > 502 : x < 133;
            // The page drawn from its texture may round a gradient row the other way.
            if (!sliver && !pagly::test::colorNear(last[i], after[i], 2)) ++differ;
        }
        EXPECT_EQ(0, differ) << "the last turning frame is page B but for a sliver (backwards="
                             << backwards << ")";
        EXPECT_EQ(colorString(kYellow), colorString(probe(320, 480)));
        CCDirector::sharedDirector()->reset();
    }
}

TEST_F(TransitionImageTest, ZeroLengthZoomFlipShowsTheNewSceneAtOnce) {
    run(pageA());
    CCDirector::sharedDirector()->replaceScene(
        CCTransitionZoomFlipY::create(0, pageB(), kTransitionOrientationDownOver));
    step();
    drawFrame();
    EXPECT_EQ(colorString(kYellow), colorString(probe(320, 480)));
}

// A page that, as the reader's pages do, has the texture for its own turn made ready once the
// turn that brought it in has finished; it notes the texture kept before and after asking.
class SpareAskingPage : public CCScene {
  public:
    static SpareAskingPage* create() {
        SpareAskingPage* s = new SpareAskingPage();
        s->init();
        s->autorelease();
        block(s, ccColor4B(250, 210, 60, 255), 0, 0, 640, 960);
        return s;
    }
    void onEnterTransitionDidFinish() override {
        CCScene::onEnterTransitionDidFinish();
        keptBefore = SceneCapture::keptTexture();
        SceneCapture::prepareSpareTexture(CCDirector::sharedDirector()->getRenderer());
        keptAfter = SceneCapture::keptTexture();
    }
    CCTexture2D* keptBefore = nullptr;
    CCTexture2D* keptAfter = nullptr;
};

// Making a screen-sized render target costs about a frame; a turn that made one and threw it
// away at its last frame made that frame late, every turn.
TEST_F(TransitionImageTest, AnEndedTransitionHandsItsTextureToTheNextOneBeforeTheNewSceneAsks) {
    struct Case {
        const char* name;
        CCScene* (*make)(CCScene*);
    };
    const Case cases[] = {
        {"page turn",
         [](CCScene* s) -> CCScene* { return CCTransitionPageTurn::create(0.5f, s, false); }},
        {"page turn back",
         [](CCScene* s) -> CCScene* { return CCTransitionPageTurn::create(0.5f, s, true); }},
        {"zoom flip",
         [](CCScene* s) -> CCScene* { return CCTransitionZoomFlipY::create(0.5f, s); }},
    };
    for (const Case& c : cases) {
        run(pageA());
        SceneCapture::prepareSpareTexture(CCDirector::sharedDirector()->getRenderer());
        CCTexture2D* made = SceneCapture::keptTexture();
        ASSERT_NE(nullptr, made) << c.name;
        SpareAskingPage* next = SpareAskingPage::create();
        next->retain();
        CCDirector::sharedDirector()->replaceScene(c.make(next));
        step();
        drawFrame();
        EXPECT_EQ(nullptr, SceneCapture::keptTexture())
            << c.name << ": the transition draws with it";
        advance(0.5);
        step();  // the switch
        EXPECT_EQ(made, next->keptBefore) << c.name << ": handed back before the new scene asks";
        EXPECT_EQ(made, next->keptAfter) << c.name << ": so no other target is made";
        EXPECT_EQ(made, SceneCapture::keptTexture()) << c.name;
        next->release();
        CCDirector::sharedDirector()->reset();
    }
}

}  // namespace
