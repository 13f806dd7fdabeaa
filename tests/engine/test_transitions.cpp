// Scene transitions without pixels: the order of the scenes' callbacks, timing, touches, and
// who holds which scene.
#include <cmath>
#include <string>
#include <vector>

#include "engine/director/CCDirector.h"
#include "engine/director/CCTouchDispatcher.h"
#include "engine/nodes/CCLayer.h"
#include "engine/nodes/CCScene.h"
#include "engine/transitions/CCTransitionPageTurn.h"
#include "engine/transitions/CCTransitionZoomFlipY.h"
#include "engine/transitions/PageCurl.h"
#include "support/Harness.h"

using namespace pagly::engine;

namespace {

std::vector<std::string>* g_events = nullptr;

void record(const std::string& what) {
    if (g_events) g_events->push_back(what);
}

// A scene that notes its callbacks and its end.
class NotingScene : public CCScene {
  public:
    static NotingScene* create(const char* name) {
        NotingScene* s = new NotingScene(name);
        s->init();
        s->autorelease();
        return s;
    }
    ~NotingScene() override { record(m_name + " destroyed"); }
    void onEnter() override {
        record(m_name + " onEnter");
        CCScene::onEnter();
    }
    void onEnterTransitionDidFinish() override {
        record(m_name + " onEnterTransitionDidFinish");
        CCScene::onEnterTransitionDidFinish();
    }
    void onExitTransitionDidStart() override {
        record(m_name + " onExitTransitionDidStart");
        CCScene::onExitTransitionDidStart();
    }
    void onExit() override {
        record(m_name + " onExit");
        CCScene::onExit();
    }
    void cleanup() override {
        record(m_name + " cleanup");
        CCScene::cleanup();
    }

  private:
    explicit NotingScene(const char* name) : m_name(name) {}
    std::string m_name;
};

// A layer that takes single touches and notes them.
class TouchLayer : public CCLayer {
  public:
    static TouchLayer* create() {
        TouchLayer* l = new TouchLayer();
        l->init();
        l->setTouchMode(kTouchesOneByOne);
        l->setTouchEnabled(true);
        l->autorelease();
        return l;
    }
    bool ccTouchBegan(CCTouch*, CCEvent*) override {
        ++touches;
        return true;
    }
    int touches = 0;
};

using Events = std::vector<std::string>;

class TransitionTest : public pagly::test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        g_events = &events;
    }
    void TearDown() override {
        EngineTest::TearDown();
        g_events = nullptr;
    }
    CCDirector* director() { return CCDirector::sharedDirector(); }
    // Runs a first scene and forgets its callbacks.
    NotingScene* start(const char* name) {
        NotingScene* s = NotingScene::create(name);
        run(s);
        events.clear();
        return s;
    }
    Events events;
};

TEST_F(TransitionTest, PageTurnRunsTheScenesCallbacksInTheOrderPagesRelyOn) {
    start("A");
    NotingScene* b = NotingScene::create("B");
    CCTransitionPageTurn* turn = CCTransitionPageTurn::create(0.5f, b, false);
    ASSERT_NE(nullptr, turn);
    EXPECT_TRUE(turn->isTransitionScene());
    EXPECT_EQ(0u, turn->getChildrenCount()) << "the scenes are members, not children";
    director()->replaceScene(turn);
    step();
    EXPECT_EQ((Events{"A onExitTransitionDidStart", "B onEnter"}), events);
    EXPECT_EQ(turn, director()->getRunningScene());
    events.clear();
    advance(28.0 / 60);
    EXPECT_TRUE(events.empty()) << "nothing happens to the scenes while the page turns";
    EXPECT_EQ(turn, director()->getRunningScene()) << "not over after 28 frames";
    step();
    // The frame that showed it counted as the first of its 30.
    EXPECT_EQ((Events{"A onExit", "B onEnterTransitionDidFinish", "A cleanup", "A destroyed"}),
              events)
        << "the 29th frame ends it: the old page exits, the new one is told, the old one goes";
    EXPECT_EQ(b, director()->getRunningScene());
    events.clear();
    advance(0.5);
    EXPECT_TRUE(events.empty()) << "the incoming scene is not entered a second time";
}

TEST_F(TransitionTest, BothTransitionsKeepTheOrderForEveryDuration) {
    struct Case {
        const char* name;
        float duration;
        int frames;  // frames after the one that shows the transition
        bool flip;
    };
    const Case cases[] = {
        {"page turn 0.5 s", 0.5f, 29, false}, {"page turn backwards 0.25 s", 0.25f, 14, false},
        {"zoom flip 0.5 s", 0.5f, 29, true},  {"zoom flip 0 s", 0.0f, 1, true},
        {"page turn 0 s", 0.0f, 1, false},
    };
    for (const Case& c : cases) {
        start("A");
        NotingScene* b = NotingScene::create("B");
        CCScene* t = c.flip ? (CCScene*)CCTransitionZoomFlipY::create(
                                  c.duration, b, kTransitionOrientationDownOver)
                            : (CCScene*)CCTransitionPageTurn::create(c.duration, b, true);
        director()->replaceScene(t);
        step();
        for (int i = 1; i < c.frames; ++i) step();
        EXPECT_NE(b, director()->getRunningScene()) << c.name << ": one frame early";
        step();
        EXPECT_EQ(b, director()->getRunningScene()) << c.name;
        EXPECT_EQ((Events{"A onExitTransitionDidStart", "B onEnter", "A onExit",
                          "B onEnterTransitionDidFinish", "A cleanup", "A destroyed"}),
                  events)
            << c.name;
        director()->reset();
        events.clear();
    }
}

TEST_F(TransitionTest, ZeroLengthZoomFlipSwitchesAtTheFirstFrame) {
    start("A");
    NotingScene* b = NotingScene::create("B");
    CCTransitionZoomFlipY* flip =
        CCTransitionZoomFlipY::create(0, b, kTransitionOrientationDownOver);
    ASSERT_NE(nullptr, flip);
    director()->replaceScene(flip);
    step();  // the transition is shown, already at its end
    EXPECT_FLOAT_EQ(1, flip->getProgress());
    EXPECT_EQ(b, flip->shownScene()) << "nothing of the old scene is shown";
    EXPECT_FLOAT_EQ(0, flip->flipAngle());
    EXPECT_FLOAT_EQ(1, flip->zoom());
    step();
    EXPECT_EQ(b, director()->getRunningScene());
}

TEST_F(TransitionTest, TouchesAreRefusedWhileATransitionRuns) {
    start("A");
    NotingScene* b = NotingScene::create("B");
    TouchLayer* layer = TouchLayer::create();
    b->addChild(layer);
    director()->replaceScene(CCTransitionPageTurn::create(0.5f, b, false));
    step();
    EXPECT_FALSE(director()->getTouchDispatcher()->isDispatchEvents());
    tap(100, 100);
    EXPECT_EQ(0, layer->touches) << "the incoming layer is entered but gets no touch yet";
    advance(0.5);
    EXPECT_EQ(b, director()->getRunningScene());
    EXPECT_TRUE(director()->getTouchDispatcher()->isDispatchEvents());
    tap(100, 100);
    EXPECT_EQ(1, layer->touches);
}

TEST_F(TransitionTest, ATransitionCutShortEndsBothScenesAndLeaksNothing) {
    start("A");
    director()->replaceScene(CCTransitionPageTurn::create(0.5f, NotingScene::create("B"), true));
    advance(0.25);
    events.clear();
    director()->reset();
    EXPECT_EQ((Events{"A onExit", "B onExitTransitionDidStart", "B onExit", "A cleanup",
                      "B cleanup", "A destroyed", "B destroyed"}),
              events);
    EXPECT_TRUE(director()->getTouchDispatcher()->isDispatchEvents());
}

TEST_F(TransitionTest, NoTransitionToNothingOrToTheRunningScene) {
    NotingScene* a = start("A");
    EXPECT_EQ(nullptr, CCTransitionPageTurn::create(0.5f, nullptr, false));
    EXPECT_EQ(nullptr, CCTransitionPageTurn::create(0.5f, a, false));
    EXPECT_EQ(nullptr, CCTransitionZoomFlipY::create(0.5f, a));
    EXPECT_TRUE(
        logged("CCTransitionScene: the incoming scene is the running scene; no transition made"));
    director()->replaceScene(nullptr);
    step();
    EXPECT_EQ(a, director()->getRunningScene()) << "nothing changes";
}

TEST_F(TransitionTest, AbsurdDurationsActAsZero) {
    start("A");
    NotingScene* b = NotingScene::create("B");
    CCTransitionPageTurn* turn = CCTransitionPageTurn::create(-3, b, false);
    ASSERT_NE(nullptr, turn);
    EXPECT_FLOAT_EQ(0, turn->getDuration());
    EXPECT_FLOAT_EQ(0, CCTransitionPageTurn::create(std::nanf(""), NotingScene::create("C"), false)
                           ->getDuration());
    director()->replaceScene(turn);
    step();
    step();
    EXPECT_EQ(b, director()->getRunningScene());
}

TEST_F(TransitionTest, PageTurnProgressAndZoomFlipHalves) {
    start("A");
    NotingScene* b = NotingScene::create("B");
    CCTransitionPageTurn* back = CCTransitionPageTurn::create(1, b, true);
    director()->replaceScene(back);
    const float frame = 1.0f / 60;  // the frame that shows a transition is its first step
    step();
    EXPECT_NEAR(1 - frame, back->curlAmount(), 1e-4)
        << "backwards, the incoming page starts curled away and is already under way";
    advance(0.25 - frame);
    EXPECT_NEAR(0.75f, back->curlAmount(), 1e-4);
    advance(0.75);
    EXPECT_EQ(b, director()->getRunningScene());

    NotingScene* c = NotingScene::create("C");
    CCTransitionZoomFlipY* flip = CCTransitionZoomFlipY::create(1, c, kTransitionOrientationUpOver);
    director()->replaceScene(flip);
    step();
    EXPECT_EQ(b, flip->shownScene());
    advance(0.25 - frame);
    EXPECT_NEAR(45, flip->flipAngle(), 1e-2);
    EXPECT_NEAR(0.75f, flip->zoom(), 1e-4);
    advance(0.5);
    EXPECT_EQ(c, flip->shownScene());
    EXPECT_NEAR(-45, flip->flipAngle(), 1e-2);
    EXPECT_NEAR(0.75f, flip->zoom(), 1e-4);
}

TEST_F(TransitionTest, DepthTestFlagIsKeptAcrossATransition) {
    start("A");
    director()->setDepthTest(false);
    director()->setDepthTest(true);
    director()->replaceScene(CCTransitionPageTurn::create(0.5f, NotingScene::create("B"), false));
    advance(0.6);
    EXPECT_TRUE(director()->isDepthTest());
}

// --- the curl's geometry ---

const int kCols = 8, kRows = 12;
const CCSize kPage(640, 960);

float flatArea(const PageCurl& curl) {
    float area = 0;
    for (const CCRect& r : curl.flatRects()) area += r.size.width * r.size.height;
    return area;
}

TEST(PageCurlTest, AtTheStartThePageLiesFlatAndWhole) {
    PageCurl curl;
    curl.setPage(kPage, kCols, kRows);
    curl.build(0);
    EXPECT_TRUE(curl.backIndices().empty());
    EXPECT_TRUE(curl.frontIndices().empty()) << "all of it is drawn as flat copies";
    EXPECT_FLOAT_EQ(640 * 960, flatArea(curl));
    CCPoint corners[4];
    ccColor4B colors[4];
    EXPECT_FALSE(curl.shadow(corners, colors));
}

TEST(PageCurlTest, AtTheEndNothingOfThePageIsLeftOnIt) {
    PageCurl curl;
    curl.setPage(kPage, kCols, kRows);
    curl.build(1);
    EXPECT_TRUE(curl.flatRects().empty());
    const CCPoint n = curl.axisNormal();
    const float lowest = n.x * 0 + n.y * 960;  // the page's top-left corner
    for (const RenderVertex& v : curl.frontVertices())
        ASSERT_LT(v.x * n.x + v.y * n.y, lowest)
            << "a vertex still on the page at " << v.x << "," << v.y;
}

TEST(PageCurlTest, CurlingBendsThePageWithoutStretchingOrTearingIt) {
    PageCurl curl;
    curl.setPage(kPage, kCols, kRows);
    const float cellW = 640.0f / kCols, cellH = 960.0f / kRows;
    const float progresses[] = {0.05f, 0.3f, 0.5f, 0.7f, 0.95f};
    for (float p : progresses) {
        curl.build(p);
        const std::vector<RenderVertex>& v = curl.frontVertices();
        ASSERT_EQ((size_t)(kCols + 1) * (kRows + 1), v.size());
        for (int j = 0; j <= kRows; ++j) {
            for (int i = 0; i <= kCols; ++i) {
                const RenderVertex& a = v[(size_t)j * (kCols + 1) + i];
                EXPECT_FLOAT_EQ((float)i / kCols, a.u);
                EXPECT_FLOAT_EQ((float)j / kRows, a.v);
                if (i < kCols) {
                    const RenderVertex& b = v[(size_t)j * (kCols + 1) + i + 1];
                    EXPECT_LE(std::hypot(b.x - a.x, b.y - a.y), cellW + 1e-2f) << "p=" << p;
                }
                if (j < kRows) {
                    const RenderVertex& b = v[(size_t)(j + 1) * (kCols + 1) + i];
                    EXPECT_LE(std::hypot(b.x - a.x, b.y - a.y), cellH + 1e-2f) << "p=" << p;
                }
            }
        }
        // Every cell is drawn once: as a flat copy or as two triangles.
        const float meshArea =
            (float)(curl.frontIndices().size() + curl.backIndices().size()) / 6 * cellW * cellH;
        EXPECT_NEAR(640 * 960, flatArea(curl) + meshArea, 1) << "p=" << p;
        CCPoint corners[4];
        ccColor4B colors[4];
        EXPECT_TRUE(curl.shadow(corners, colors));
    }
    curl.build(0.5f);
    EXPECT_FALSE(curl.backIndices().empty()) << "half-way, the back of the page shows";
}

TEST(PageCurlTest, AbsurdProgressIsClamped) {
    PageCurl curl;
    curl.setPage(kPage, kCols, kRows);
    curl.build(std::nanf(""));
    EXPECT_TRUE(curl.backIndices().empty());
    curl.build(7);
    EXPECT_TRUE(curl.flatRects().empty());
}

}  // namespace
