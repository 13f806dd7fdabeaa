// The view: design resolution, SDL input turned into touches, keys and text, window events,
// and frames drawn exactly when something changed. Events are injected; nothing needs a
// display (the view renders offscreen).
#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "engine/base/CCSet.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCIMEDispatcher.h"
#include "engine/director/CCTouch.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCLayer.h"
#include "engine/nodes/CCLayerColor.h"
#include "engine/nodes/CCScene.h"
#include "engine/platform/CCApplication.h"
#include "engine/platform/CCEGLView.h"
#include "engine/render/SDLRenderer.h"
#include "support/Harness.h"
#include "support/Offscreen.h"

using namespace pagly::engine;

namespace {

// Records every touch and key it gets.
class RecordingLayer : public CCLayer {
  public:
    static RecordingLayer* create() {
        RecordingLayer* l = new RecordingLayer();
        l->init();
        l->autorelease();
        l->setTouchEnabled(true);
        l->setKeypadEnabled(true);
        return l;
    }
    void record(const char* phase, CCSet* touches) {
        for (CCObject* o : *touches) {
            CCTouch* t = static_cast<CCTouch*>(o);
            char buf[96];
            snprintf(buf, sizeof buf, "%s %d (%.0f,%.0f)", phase, t->getID(), t->getLocation().x,
                     t->getLocation().y);
            events.push_back(buf);
        }
    }
    void ccTouchesBegan(CCSet* t, CCEvent*) override { record("began", t); }
    void ccTouchesMoved(CCSet* t, CCEvent*) override { record("moved", t); }
    void ccTouchesEnded(CCSet* t, CCEvent*) override { record("ended", t); }
    void ccTouchesCancelled(CCSet* t, CCEvent*) override { record("cancelled", t); }
    void keyBackClicked() override { events.push_back("back"); }
    void keyPressed(int code) override { events.push_back("key " + std::to_string(code)); }
    std::vector<std::string> events;
};

class TextSink : public CCIMEDelegate {
  public:
    bool canAttachWithIME() override { return true; }
    bool canDetachWithIME() override { return true; }
    void insertText(const char* text, int len) override { typed.append(text, len); }
    void deleteBackward() override { typed += "<bs>"; }
    std::string typed;
};

class TestApp : public CCApplication {
  public:
    bool applicationDidFinishLaunching() override { return true; }
    void applicationDidEnterBackground() override { calls.push_back("background"); }
    void applicationWillEnterForeground() override { calls.push_back("foreground"); }
    std::vector<std::string> calls;
};

SDL_Event mouse(Uint32 type, int x, int y, Uint8 button = SDL_BUTTON_LEFT) {
    SDL_Event e;
    SDL_zero(e);
    e.type = type;
    if (type == SDL_MOUSEMOTION) {
        e.motion.x = x, e.motion.y = y;
    } else {
        e.button.x = x, e.button.y = y, e.button.button = button;
    }
    return e;
}
SDL_Event finger(Uint32 type, SDL_FingerID id, float fx, float fy) {
    SDL_Event e;
    SDL_zero(e);
    e.type = type;
    e.tfinger.fingerId = id;
    e.tfinger.x = fx, e.tfinger.y = fy;
    return e;
}
SDL_Event key(SDL_Keycode sym, bool repeat = false) {
    SDL_Event e;
    SDL_zero(e);
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = sym;
    e.key.repeat = repeat;
    return e;
}
SDL_Event window(Uint8 event) {
    SDL_Event e;
    SDL_zero(e);
    e.type = SDL_WINDOWEVENT;
    e.window.event = event;
    return e;
}

class ViewTest : public pagly::test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        view = CCEGLView::sharedOpenGLView();
        // A frame half the design size in each direction, so the mapping shows.
        view->setFrameSize(320, 480);
        view->setDesignResolutionSize(640, 960, kResolutionExactFit);
        ASSERT_TRUE(view->openOffscreen());
    }
    void TearDown() override {
        view->close();
        EngineTest::TearDown();
    }
    RecordingLayer* runRecordingLayer() {
        CCScene* scene = CCScene::create();
        RecordingLayer* layer = RecordingLayer::create();
        scene->addChild(layer);
        run(scene);
        return layer;
    }
    CCEGLView* view = nullptr;
};

TEST_F(ViewTest, DesignResolutionIsTheDirectorsSizeAndAllOfItIsVisible) {
    EXPECT_EQ(CCSize(640, 960), CCDirector::sharedDirector()->getWinSize());
    EXPECT_EQ(CCPoint(0, 0), view->getVisibleOrigin());
    EXPECT_EQ(CCSize(640, 960), view->getVisibleSize());
    EXPECT_EQ(CCSize(320, 480), view->getFrameSize());
    EXPECT_EQ(CCSize(320, 480), view->getRenderer()->getOutputPixelSize());
    EXPECT_EQ(view->getRenderer(), CCDirector::sharedDirector()->getRenderer());

    view->setDesignResolutionSize(0, 960, kResolutionExactFit);
    view->setFrameSize(NAN, 100);
    EXPECT_EQ(CCSize(640, 960), view->getDesignResolutionSize());
    EXPECT_EQ(CCSize(320, 480), view->getFrameSize());
    EXPECT_EQ(2u, logLines().size());
}

TEST_F(ViewTest, ExactFitStretchesTheDesignOverTheWholeFrame) {
    CCScene* scene = CCScene::create();
    CCLayerColor* topRight = CCLayerColor::create(ccColor4B(255, 0, 0, 255), 320, 480);
    topRight->setPosition(320, 480);
    scene->addChild(topRight);
    run(scene);
    SDLRenderer* r = view->getRenderer();
    // The design's top-right quarter is the frame's top-right quarter (frame y grows down).
    EXPECT_EQ("255,0,0,255", pagly::test::colorString(r->readPixel(161, 0)));
    EXPECT_EQ("255,0,0,255", pagly::test::colorString(r->readPixel(319, 239)));
    EXPECT_EQ("0,0,0,255", pagly::test::colorString(r->readPixel(159, 100)));
    EXPECT_EQ("0,0,0,255", pagly::test::colorString(r->readPixel(200, 241)));
}

TEST_F(ViewTest, MouseAndFingersBecomeTouchesInDesignCoordinates) {
    RecordingLayer* layer = runRecordingLayer();
    view->handleEvent(mouse(SDL_MOUSEBUTTONDOWN, 160, 120));
    view->handleEvent(mouse(SDL_MOUSEMOTION, 170, 130));
    view->handleEvent(mouse(SDL_MOUSEBUTTONUP, 170, 130));
    view->handleEvent(mouse(SDL_MOUSEMOTION, 10, 10));                        // no button held
    view->handleEvent(mouse(SDL_MOUSEBUTTONDOWN, 10, 10, SDL_BUTTON_RIGHT));  // not a touch
    SDL_Event synthetic = mouse(SDL_MOUSEBUTTONDOWN, 10, 10);
    synthetic.button.which = SDL_TOUCH_MOUSEID;  // SDL's mouse copy of a finger
    view->handleEvent(synthetic);
    view->handleEvent(finger(SDL_FINGERDOWN, 7, 0.25f, 0.75f));
    view->handleEvent(finger(SDL_FINGERUP, 7, 0.5f, 1.0f));
    std::vector<std::string> expected = {
        "began 0 (320,720)", "moved 0 (340,700)", "ended 0 (340,700)",
        "began 8 (160,240)", "ended 8 (320,0)",
    };
    EXPECT_EQ(expected, layer->events);
}

TEST(ViewMappingTest, AWindowKeepingItsRatioMapsClicksThroughTheShownPage) {
    const CCSize design(640, 960), fullScreen(1280, 1024);
    const float frame = 731.0f / 963.0f;  // shown at x 251..1027 of the full screen
    struct Case {
        float x, y, designX, designY;
    };
    const Case cases[] = {
        {640, 512, 320, 480},      // the middle is the middle
        {251, 0, 0, 960},          // top-left of the page
        {1028, 1024, 640, 0},      // bottom-right of the page
        {100, 512, -124.4f, 480},  // in the left bar: off the page, nothing is hit
    };
    for (const Case& c : cases) {
        CCPoint p = CCEGLView::windowPointToDesign(c.x, c.y, fullScreen, frame, design);
        EXPECT_NEAR(c.designX, p.x, 1.0f) << c.x << "," << c.y;
        EXPECT_NEAR(c.designY, p.y, 1.0f) << c.x << "," << c.y;
    }
    // Without a kept ratio the design is stretched over the window.
    CCPoint p = CCEGLView::windowPointToDesign(1280, 0, fullScreen, 0, design);
    EXPECT_NEAR(640, p.x, 1e-3f);
    EXPECT_NEAR(960, p.y, 1e-3f);
}

TEST_F(ViewTest, InputIsIgnoredWhileDispatchIsOff) {
    RecordingLayer* layer = runRecordingLayer();
    CCTouchDispatcher* dispatcher = CCDirector::sharedDirector()->getTouchDispatcher();
    dispatcher->setDispatchEvents(false);
    view->handleEvent(mouse(SDL_MOUSEBUTTONDOWN, 100, 100));
    dispatcher->setDispatchEvents(true);
    view->handleEvent(mouse(SDL_MOUSEMOTION, 110, 100));
    view->handleEvent(mouse(SDL_MOUSEBUTTONUP, 110, 100));
    EXPECT_TRUE(layer->events.empty());
}

TEST_F(ViewTest, KeysGoToTheKeypadAndTypedTextToTheAttachedTextField) {
    RecordingLayer* layer = runRecordingLayer();
    view->handleEvent(key(SDLK_LEFT));
    view->handleEvent(key(SDLK_RIGHT));
    view->handleEvent(key(SDLK_SPACE));
    view->handleEvent(key(SDLK_RETURN));
    view->handleEvent(key(SDLK_ESCAPE));
    view->handleEvent(key(SDLK_RIGHT, true));  // auto-repeat: ignored
    view->handleEvent(key(SDLK_a));            // not a key the reader uses
    std::vector<std::string> expected = {
        "key " + std::to_string(kKeyLeft),
        "key " + std::to_string(kKeyRight),
        "key " + std::to_string(kKeySpace),
        "key " + std::to_string(kKeyEnter),
        "back",
        "key " + std::to_string(kKeyEscape),
    };
    EXPECT_EQ(expected, layer->events);

    // Attached text entry takes text, Backspace (held too), Space and Enter.
    layer->events.clear();
    TextSink sink;
    ASSERT_TRUE(sink.attachWithIME());
    SDL_Event text;
    SDL_zero(text);
    text.type = SDL_TEXTINPUT;
    strcpy(text.text.text, "h\xC3\xA9 ");  // UTF-8 passes through untouched
    view->handleEvent(text);
    view->handleEvent(key(SDLK_SPACE));
    view->handleEvent(key(SDLK_BACKSPACE));
    view->handleEvent(key(SDLK_BACKSPACE, true));
    view->handleEvent(key(SDLK_RETURN));
    EXPECT_EQ("h\xC3\xA9 <bs><bs>\n", sink.typed);
    EXPECT_TRUE(layer->events.empty());
    sink.detachWithIME();
}

TEST_F(ViewTest, PracticeLettersAndShiftEAreKeysOfTheirOwn) {
    RecordingLayer* layer = runRecordingLayer();
    SDL_Event shiftE = key(SDLK_e);
    shiftE.key.keysym.mod = KMOD_LSHIFT;
    for (const SDL_Event& e : {key(SDLK_e), shiftE, key(SDLK_m), key(SDLK_b), key(SDLK_y),
                               key(SDLK_TAB), key(SDLK_MENU)})
        view->handleEvent(e);
    std::vector<std::string> expected;
    for (int code : {kKeyE, kKeyShiftE, kKeyM, kKeyB, kKeyY, kKeyMenu, kKeyMenu})
        expected.push_back("key " + std::to_string(code));
    EXPECT_EQ(expected, layer->events);
    // While text is typed they are letters of the text.
    layer->events.clear();
    TextSink sink;
    ASSERT_TRUE(sink.attachWithIME());
    view->handleEvent(key(SDLK_m));
    view->handleEvent(shiftE);
    EXPECT_TRUE(layer->events.empty());
    sink.detachWithIME();
}

TEST_F(ViewTest, TheMouseWheelScrollsLikeUpAndDown) {
    RecordingLayer* layer = runRecordingLayer();
    auto wheel = [](int y, Uint32 direction) {
        SDL_Event e;
        SDL_zero(e);
        e.type = SDL_MOUSEWHEEL;
        e.wheel.y = y;
        e.wheel.direction = direction;
        return e;
    };
    view->handleEvent(wheel(1, SDL_MOUSEWHEEL_NORMAL));      // away from the user: up
    view->handleEvent(wheel(-2, SDL_MOUSEWHEEL_NORMAL));     // towards: down, twice
    view->handleEvent(wheel(1, SDL_MOUSEWHEEL_FLIPPED));     // "natural" scrolling: down
    view->handleEvent(wheel(0, SDL_MOUSEWHEEL_NORMAL));      // sideways only: nothing
    view->handleEvent(wheel(-1000, SDL_MOUSEWHEEL_NORMAL));  // a wild spin: capped
    std::string up = "key " + std::to_string(kKeyUp), down = "key " + std::to_string(kKeyDown);
    std::vector<std::string> expected = {up, down, down, down, down, down, down, down, down};
    EXPECT_EQ(expected, layer->events);
}

TEST_F(ViewTest, MinimiseAndRestoreReachTheApplicationOnceEach) {
    TestApp app;
    RecordingLayer* layer = runRecordingLayer();
    view->handleEvent(mouse(SDL_MOUSEBUTTONDOWN, 100, 100));
    view->handleEvent(window(SDL_WINDOWEVENT_MINIMIZED));
    view->handleEvent(window(SDL_WINDOWEVENT_MINIMIZED));
    EXPECT_TRUE(view->isMinimized());
    view->handleEvent(window(SDL_WINDOWEVENT_RESTORED));
    view->handleEvent(window(SDL_WINDOWEVENT_RESTORED));
    std::vector<std::string> expected = {"background", "foreground"};
    EXPECT_EQ(expected, app.calls);
    // The finger that was down when the window went away is cancelled, not left hanging.
    ASSERT_EQ(2u, layer->events.size());
    EXPECT_EQ("cancelled 0 (200,760)", layer->events[1]);

    EXPECT_FALSE(view->shouldClose());
    EXPECT_FALSE(view->handleEvent(window(SDL_WINDOWEVENT_CLOSE)));
    EXPECT_TRUE(view->shouldClose());
}

// A frame is drawn exactly when something drawn changed; a change made by a scheduled
// callback is on screen in the frame of that callback.
class ChangingLayer : public CCLayer {
  public:
    static ChangingLayer* create() {
        ChangingLayer* l = new ChangingLayer();
        l->init();
        l->autorelease();
        return l;
    }
    bool init() override {
        CCLayer::init();
        swatch = CCLayerColor::create(ccColor4B(255, 255, 255, 255), 100, 100);
        addChild(swatch);
        label = CCLabelTTF::create("before", "Arial", 40);
        label->setPosition(320, 480);
        addChild(label);
        scheduleOnce(memberCallback(&ChangingLayer::change), 0.5f);
        return true;
    }
    void change(float) {
        swatch->setColor(ccColor3B(255, 0, 0));
        label->setString("after, and longer");
    }
    CCLayerColor* swatch = nullptr;
    CCLabelTTF* label = nullptr;
};

TEST_F(ViewTest, IdleFramesAreSkippedAndAScheduledChangeShowsOnTheNextFrame) {
    view->setFrameSize(640, 960);
    ASSERT_TRUE(view->openOffscreen());
    CCDirector* director = CCDirector::sharedDirector();
    CCScene* scene = CCScene::create();
    ChangingLayer* layer = ChangingLayer::create();
    scene->addChild(layer);
    run(scene);
    step();
    unsigned int drawn = director->getDrawnFrames();
    float labelWidth = layer->label->getContentSize().width;
    SDLRenderer* r = view->getRenderer();
    EXPECT_EQ("255,255,255,255", pagly::test::colorString(r->readPixel(50, 910)));

    // Nothing changes for a while: no frame is drawn.
    for (int i = 0; i < 10; ++i) step();
    EXPECT_EQ(drawn, director->getDrawnFrames());

    // The callback fires inside one of the next frames; that very frame shows it.
    int frames = 0;
    while (layer->swatch->getColor() != ccColor3B(255, 0, 0) && frames < 60) {
        step();
        ++frames;
    }
    ASSERT_LT(frames, 60);
    EXPECT_EQ(drawn + 1, director->getDrawnFrames());
    EXPECT_EQ("255,0,0,255", pagly::test::colorString(r->readPixel(50, 910)));
    EXPECT_GT(layer->label->getContentSize().width, labelWidth);

    // A window exposure asks for a frame even though nothing changed.
    step();
    drawn = director->getDrawnFrames();
    view->handleEvent(window(SDL_WINDOWEVENT_EXPOSED));
    step();
    EXPECT_EQ(drawn + 1, director->getDrawnFrames());
}

TEST_F(ViewTest, DesktopHeightIsPositive) {
    // Under the dummy or a missing video driver the fallback is used; either way a height.
    EXPECT_GT(CCApplication::usableDesktopHeight(), 0);
}

}  // namespace

// A drag whose window loses focus (Alt+Tab with the button held) never sees its release: the
// touch is cancelled then, and hovering over the window afterwards drags nothing.
TEST_F(ViewTest, LosingFocusMidDragCancelsTheTouch) {
    RecordingLayer* layer = runRecordingLayer();
    view->handleEvent(mouse(SDL_MOUSEBUTTONDOWN, 100, 100));
    view->handleEvent(finger(SDL_FINGERDOWN, 3, 0.5f, 0.5f));
    view->handleEvent(window(SDL_WINDOWEVENT_FOCUS_LOST));
    view->handleEvent(window(SDL_WINDOWEVENT_FOCUS_GAINED));
    view->handleEvent(mouse(SDL_MOUSEMOTION, 120, 100));
    view->handleEvent(finger(SDL_FINGERMOTION, 3, 0.6f, 0.5f));
    view->handleEvent(mouse(SDL_MOUSEBUTTONUP, 120, 100));
    view->handleEvent(finger(SDL_FINGERUP, 3, 0.6f, 0.5f));
    std::vector<std::string> expected = {
        "began 0 (200,760)",
        "began 4 (320,480)",
        "cancelled 0 (200,760)",
        "cancelled 4 (320,480)",
    };
    EXPECT_EQ(expected, layer->events);
}

// Finger ids are whatever the platform hands out; the id a delegate sees stays a positive int.
TEST_F(ViewTest, LargeFingerIdsStayPositiveTouchIds) {
    RecordingLayer* layer = runRecordingLayer();
    const SDL_FingerID ids[] = {0x7fffffff, (SDL_FingerID)0xffffffffffffLL, -5};
    for (SDL_FingerID id : ids) {
        view->handleEvent(finger(SDL_FINGERDOWN, id, 0.5f, 0.5f));
        view->handleEvent(finger(SDL_FINGERUP, id, 0.5f, 0.5f));
    }
    ASSERT_EQ(6u, layer->events.size());
    for (const std::string& e : layer->events) {
        int touchId = atoi(e.substr(e.find(' ') + 1).c_str());
        EXPECT_GT(touchId, 0) << e;
    }
}

namespace {

TEST_F(ViewTest, ArrowLetterAndHelpKeysHaveCodesOfTheirOwnAndF11StaysInTheView) {
    RecordingLayer* layer = runRecordingLayer();
    SDL_Event question = key(SDLK_SLASH);
    question.key.keysym.mod = KMOD_LSHIFT;
    for (const SDL_Event& e :
         {key(SDLK_UP), key(SDLK_DOWN), key(SDLK_s), key(SDLK_r), key(SDLK_e), key(SDLK_F1),
          question, key(SDLK_QUESTION), key(SDLK_SLASH), key(SDLK_F11), key(SDLK_s, true)})
        view->handleEvent(e);
    auto code = [](int c) { return "key " + std::to_string(c); };
    // A plain '/' is no key of ours; F11 switches full screen in the view (offscreen there
    // is no window to switch) and reaches no layer; a held key does not repeat.
    std::vector<std::string> expected = {code(kKeyArrowUp), code(kKeyArrowDown), code(kKeyS),
                                         code(kKeyR),       code(kKeyE),         code(kKeyHelp),
                                         code(kKeyHelp),    code(kKeyHelp)};
    EXPECT_EQ(expected, layer->events);
    EXPECT_FALSE(view->toggleFullScreen());
    EXPECT_FALSE(view->isFullScreen());
}

TEST_F(ViewTest, LettersAreTextWhileATextFieldHasTheKeyboard) {
    RecordingLayer* layer = runRecordingLayer();
    TextSink sink;
    ASSERT_TRUE(sink.attachWithIME());
    SDL_Event question = key(SDLK_SLASH);
    question.key.keysym.mod = KMOD_RSHIFT;
    for (const SDL_Event& e : {key(SDLK_s), key(SDLK_r), key(SDLK_e), question, key(SDLK_F1)})
        view->handleEvent(e);
    // The letters arrive as text input instead; F1 is no character and still asks for help.
    std::vector<std::string> expected = {"key " + std::to_string(kKeyHelp)};
    EXPECT_EQ(expected, layer->events);
    sink.detachWithIME();
}

}  // namespace
