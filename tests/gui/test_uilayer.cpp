// Touches through a UI layer: the touch sequence and its listener calls, picking the widget,
// clipping, falling through to what lies below, and listeners that change the tree.
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "engine/base/CCSet.h"
#include "engine/director/CCDirector.h"
#include "engine/nodes/CCLayer.h"
#include "gui/Layout.h"
#include "gui/UIButton.h"
#include "gui/UILayer.h"
#include "gui/UIRootWidget.h"
#include "gui/WidgetInputManager.h"

using namespace pagly::engine;
using namespace pagly::gui;
using pagly::test::TouchRecorder;

namespace {

// A layer below the UI layer that counts the touches reaching it.
class BackgroundLayer : public CCLayer {
  public:
    BackgroundLayer() {
        init();
        setTouchEnabled(true);
    }
    void ccTouchesBegan(CCSet*, CCEvent*) override { ++began; }
    void ccTouchesEnded(CCSet*, CCEvent*) override { ++ended; }
    int began = 0, ended = 0;
};

// A panel that records what its children report.
class RecordingPanel : public Layout {
  public:
    static RecordingPanel* create() {
        RecordingPanel* p = new RecordingPanel();
        p->init();
        p->autorelease();
        return p;
    }
    void onChildTouchEvent(WidgetTouchEvent kind, UIWidget* sender, const CCPoint& p) override {
        reports += "BMEC"[kind];
        lastSender = sender;
        Layout::onChildTouchEvent(kind, sender, p);
    }
    std::string reports;
    UIWidget* lastSender = nullptr;
};

class UILayerTest : public pagly::test::GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        scene = runScene();
        layer = UILayer::create();
        scene->addChild(layer);
        root = layer->getRootWidget();
    }
    // A 100 x 40 button centred at (x, y).
    UIButton* addButton(UIWidget* parent, float x, float y, const char* name = "button") {
        UIButton* b = UIButton::create();
        b->loadTextureNormal("btn_normal.png");
        b->loadTexturePressed("btn_normal.png");
        b->setPosition(CCPoint(x, y));
        b->setTouchEnabled(true);
        b->setName(name);
        parent->addChild(b);
        return b;
    }
    unsigned int touchedCount() const {
        return layer->getInputManager()->getTouchedWidgets()->count();
    }
    CCScene* scene = nullptr;
    UILayer* layer = nullptr;
    UIRootWidget* root = nullptr;
};

TEST_F(UILayerTest, RootCoversTheWindowAndRunsAtOnce) {
    EXPECT_EQ(CCSize(640, 960), root->getSize());
    EXPECT_TRUE(root->isRunning());
    EXPECT_EQ(layer, root->getContainerNode()->getParent());
    EXPECT_TRUE(layer->isTouchEnabled());
    EXPECT_EQ(kTouchesOneByOne, layer->getTouchMode());
}

// The touch sequence: what the listener hears for each way a touch can go (button spans
// x 150..250, y 280..320).
TEST_F(UILayerTest, TouchSequencesCallTheListenerWithTheRightKinds) {
    enum Phase { Down, Move, Up, Cancel };
    struct Step {
        Phase phase;
        float x, y;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        std::string kinds;
    } cases[] = {
        {"press inside, release inside", {{Down, 200, 300}, {Up, 200, 300}}, "BE"},
        {"press, move inside, release",
         {{Down, 200, 300}, {Move, 210, 305}, {Up, 210, 305}},
         "BME"},
        {"press, leave, release outside",
         {{Down, 200, 300}, {Move, 300, 300}, {Move, 400, 400}, {Up, 400, 400}},
         "BMMC"},
        {"leave and come back",
         {{Down, 200, 300}, {Move, 300, 300}, {Move, 220, 300}, {Up, 220, 300}},
         "BMME"},
        // The release point is not hit-tested: the last move decides.
        {"release outside without a move", {{Down, 200, 300}, {Up, 400, 400}}, "BE"},
        {"begin on the corner", {{Down, 150, 280}, {Up, 150, 280}}, "BE"},
        {"move onto the far edge keeps focus",
         {{Down, 200, 300}, {Move, 250, 320}, {Up, 250, 320}},
         "BME"},
        {"move just past the edge loses it",
         {{Down, 200, 300}, {Move, 250.5f, 320}, {Up, 250, 320}},
         "BMC"},
        {"cancelled by the system", {{Down, 200, 300}, {Cancel, 200, 300}}, "BC"},
        {"begin outside", {{Down, 260, 300}, {Move, 200, 300}, {Up, 200, 300}}, ""},
    };
    UIButton* button = addButton(root, 200, 300);
    for (const Case& c : cases) {
        TouchRecorder recorder;
        recorder.listenTo(button);
        for (const Step& s : c.steps) {
            switch (s.phase) {
                case Down:
                    touchDown(s.x, s.y);
                    break;
                case Move:
                    touchMove(s.x, s.y);
                    break;
                case Up:
                    touchUp(s.x, s.y);
                    break;
                case Cancel:
                    touchCancel(s.x, s.y);
                    break;
            }
        }
        EXPECT_EQ(c.kinds, recorder.kinds()) << c.name;
        EXPECT_FALSE(button->isFocused()) << c.name;
        EXPECT_EQ(0u, touchedCount()) << c.name;
        for (const auto& call : recorder.calls) EXPECT_EQ(button, call.sender) << c.name;
        button->addTouchListener(nullptr, nullptr);
    }
}

TEST_F(UILayerTest, PressedLookFollowsTheFingerInAndOut) {
    UIButton* button = addButton(root, 200, 300);
    touchDown(200, 300);
    EXPECT_EQ(button->getPressedNode(), button->getRenderNode());
    EXPECT_TRUE(button->getPressedNode()->isVisible());
    EXPECT_FALSE(button->getNormalNode()->isVisible());
    touchMove(400, 300);
    EXPECT_EQ(button->getNormalNode(), button->getRenderNode());
    EXPECT_TRUE(button->getNormalNode()->isVisible());
    touchMove(200, 300);
    EXPECT_EQ(button->getPressedNode(), button->getRenderNode());
    touchUp(200, 300);
    EXPECT_EQ(button->getNormalNode(), button->getRenderNode());
    EXPECT_EQ(CCPoint(200, 300), button->getTouchStartPos());
    EXPECT_EQ(CCPoint(200, 300), button->getTouchEndPos());
}

TEST_F(UILayerTest, TheTopmostOfTwoOverlappingSiblingsTakesTheTouch) {
    UIButton* below = addButton(root, 200, 300, "below");
    UIButton* above = addButton(root, 220, 300, "above");  // added later: drawn on top
    TouchRecorder belowCalls, aboveCalls;
    belowCalls.listenTo(below);
    aboveCalls.listenTo(above);
    tap(210, 300);
    EXPECT_EQ("", belowCalls.kinds());
    EXPECT_EQ("BE", aboveCalls.kinds());
    // A higher z-order puts the earlier one on top.
    below->setWidgetZOrder(5);
    tap(210, 300);
    EXPECT_EQ("BE", belowCalls.kinds());
    EXPECT_EQ("BE", aboveCalls.kinds());
    // Where only the lower one lies, it gets the touch.
    tap(160, 300);
    EXPECT_EQ("BEBE", belowCalls.kinds());
}

TEST_F(UILayerTest, AButtonInsideANonTouchablePanelStillTakesTouches) {
    RecordingPanel* panel = RecordingPanel::create();
    panel->setSize(CCSize(300, 300));
    panel->setPosition(CCPoint(100, 100));
    root->addChild(panel);
    UIButton* button = addButton(panel, 100, 100);  // world x 150..250, y 180..220
    TouchRecorder panelCalls, buttonCalls;
    panelCalls.listenTo(panel);
    buttonCalls.listenTo(button);
    tap(200, 200);
    EXPECT_EQ("BE", buttonCalls.kinds());
    EXPECT_EQ("", panelCalls.kinds());
    // The panel hears its child's touch as a child event.
    EXPECT_EQ("BE", panel->reports);
    EXPECT_EQ(button, panel->lastSender);
    // The panel itself is not touch-enabled: a touch beside the button is not claimed.
    BackgroundLayer* below = new BackgroundLayer();
    scene->addChild(below, -1);
    below->release();
    tap(300, 300);
    EXPECT_EQ(1, below->began);
    EXPECT_EQ("", panelCalls.kinds());
}

TEST_F(UILayerTest, ChildEventsGoUpToEveryAncestorButACancelIsNotReported) {
    RecordingPanel* outer = RecordingPanel::create();
    outer->setSize(CCSize(640, 960));
    RecordingPanel* inner = RecordingPanel::create();
    inner->setSize(CCSize(640, 960));
    root->addChild(outer);
    outer->addChild(inner);
    addButton(inner, 200, 300);
    touchDown(200, 300);
    touchMove(201, 300);
    touchCancel(201, 300);
    EXPECT_EQ("BM", inner->reports);
    EXPECT_EQ("BM", outer->reports);
}

TEST_F(UILayerTest, AnUnclaimedTouchReachesTheLayersBelowAndAClaimedOneDoesNot) {
    BackgroundLayer* below = new BackgroundLayer();
    scene->addChild(below, -1);
    below->release();
    addButton(root, 200, 300);
    tap(500, 800);
    EXPECT_EQ(1, below->began);
    EXPECT_EQ(1, below->ended);
    tap(200, 300);
    EXPECT_EQ(1, below->began);
    EXPECT_EQ(1, below->ended);
}

TEST_F(UILayerTest, TheTouchStaysWithItsWidgetUntilItEnds) {
    UIButton* a = addButton(root, 200, 300, "a");
    UIButton* b = addButton(root, 400, 300, "b");
    TouchRecorder aCalls, bCalls;
    aCalls.listenTo(a);
    bCalls.listenTo(b);
    touchDown(200, 300);
    EXPECT_EQ(1u, touchedCount());
    touchMove(400, 300);  // over b: still a's touch
    touchUp(400, 300);
    EXPECT_EQ("BMC", aCalls.kinds());
    EXPECT_EQ("", bCalls.kinds());
    EXPECT_EQ(0u, touchedCount());
    EXPECT_EQ(CCPoint(400, 300), layer->getInputManager()->getTouchEndedPos());
}

// A second finger must not steer the first finger's widget, nor have its widget "clicked" when
// the first finger lifts: while one touch holds a widget the layer claims no other, which then
// goes on to the layers below.
TEST_F(UILayerTest, ASecondFingerIsNotClaimedWhileAWidgetHoldsTheFirst) {
    BackgroundLayer* below = new BackgroundLayer();
    scene->addChild(below, -1);
    below->release();
    UIButton* a = addButton(root, 200, 300, "a");
    UIButton* b = addButton(root, 400, 300, "b");
    TouchRecorder aCalls, bCalls;
    aCalls.listenTo(a);
    bCalls.listenTo(b);
    touchDown(200, 300, 1);
    touchDown(400, 300, 2);
    EXPECT_EQ(1, below->began);
    touchMove(410, 300, 2);  // the second finger's moves do not reach a
    EXPECT_TRUE(a->isFocused());
    touchUp(200, 300, 1);
    EXPECT_EQ("BE", aCalls.kinds());
    EXPECT_EQ("", bCalls.kinds());
    touchUp(410, 300, 2);
    EXPECT_EQ(1, below->ended);
    EXPECT_EQ(0u, touchedCount());
    // With the first touch over, the next one is claimed as usual.
    tap(400, 300);
    EXPECT_EQ("BE", bCalls.kinds());
}

TEST_F(UILayerTest, DisabledAndNonTouchableWidgetsAreSkippedButHiddenOnesAreNot) {
    UIButton* below = addButton(root, 200, 300, "below");
    UIButton* above = addButton(root, 200, 300, "above");
    TouchRecorder belowCalls, aboveCalls;
    belowCalls.listenTo(below);
    aboveCalls.listenTo(above);

    above->setEnabled(false);
    tap(200, 300);
    EXPECT_EQ("BE", belowCalls.kinds());
    above->setEnabled(true);
    above->setTouchEnabled(false);
    tap(200, 300);
    EXPECT_EQ("BEBE", belowCalls.kinds());
    // Visibility is not tested: a hidden, touch-enabled widget still takes touches.
    above->setTouchEnabled(true);
    above->setVisible(false);
    tap(200, 300);
    EXPECT_EQ("BE", aboveCalls.kinds());
    EXPECT_EQ("BEBE", belowCalls.kinds());
}

TEST_F(UILayerTest, AWidgetCutOffByAClippingPanelTakesNoTouchOutsideThePanel) {
    Layout* panel = Layout::create();
    panel->setSize(CCSize(100, 100));
    panel->setPosition(CCPoint(100, 100));  // world 100..200
    root->addChild(panel);
    UIButton* button = addButton(panel, 100, 50);  // world x 150..250, y 130..170
    TouchRecorder calls;
    calls.listenTo(button);
    tap(230, 150);  // on the button, outside the panel
    EXPECT_EQ("BE", calls.kinds());
    panel->setClippingEnabled(true);
    tap(230, 150);
    EXPECT_EQ("BE", calls.kinds());
    tap(200, 150);  // on the panel's right edge: inside
    EXPECT_EQ("BEBE", calls.kinds());
}

TEST_F(UILayerTest, ALayerOffStageTakesNoTouches) {
    UIButton* button = addButton(root, 200, 300);
    TouchRecorder calls;
    calls.listenTo(button);
    layer->retain();
    layer->removeFromParentAndCleanup(true);
    tap(200, 300);
    EXPECT_EQ("", calls.kinds());
    scene->addChild(layer);
    layer->release();
    tap(200, 300);
    EXPECT_EQ("BE", calls.kinds());
}

// The engine forgets a touch whose delegate leaves the stage; the layer must forget it too, or
// the widget stays pressed and the next touch on the re-entered layer also "ends" on it.
TEST_F(UILayerTest, ALayerLeavingTheStageMidTouchDropsThatTouchQuietly) {
    UIButton* held = addButton(root, 200, 300, "held");
    UIButton* other = addButton(root, 400, 600, "other");
    TouchRecorder calls;
    calls.listenTo(held);
    calls.listenTo(other);
    touchDown(200, 300);
    ASSERT_TRUE(held->isFocused());
    layer->retain();
    layer->removeFromParentAndCleanup(true);
    // No listener call while the layer leaves: handlers would act on a page going away.
    EXPECT_EQ("B", calls.kinds());
    EXPECT_FALSE(held->isFocused());
    EXPECT_TRUE(held->getNormalNode()->isVisible());
    EXPECT_EQ(0u, touchedCount());
    touchUp(200, 300);
    scene->addChild(layer);
    layer->release();
    tap(400, 600);
    ASSERT_EQ(3u, calls.calls.size());
    EXPECT_EQ(other, calls.calls[1].sender);
    EXPECT_EQ(other, calls.calls[2].sender);
    EXPECT_EQ("BBE", calls.kinds());
}

// Switching touches off drops the claimed touch in the engine as leaving the stage does; once
// switched on again the layer must not wait for that touch's end.
TEST_F(UILayerTest, TouchesSwitchedOffAndOnMidTouchLeaveNoTouchBehind) {
    UIButton* held = addButton(root, 200, 300, "held");
    UIButton* other = addButton(root, 400, 600, "other");
    TouchRecorder heldCalls, otherCalls;
    heldCalls.listenTo(held);
    otherCalls.listenTo(other);
    touchDown(200, 300);
    layer->setTouchEnabled(false);
    touchUp(200, 300);
    layer->setTouchEnabled(true);
    tap(400, 600);
    EXPECT_EQ("B", heldCalls.kinds());
    EXPECT_FALSE(held->isFocused());
    EXPECT_EQ("BE", otherCalls.kinds());
}

TEST_F(UILayerTest, HidingTheLayerHidesTheTree) {
    layer->setVisible(false);
    EXPECT_FALSE(layer->isVisible());
    EXPECT_FALSE(root->isVisible());
    EXPECT_FALSE(root->getContainerNode()->isVisible());
}

TEST_F(UILayerTest, ClearWidgetsEmptiesTheRoot) {
    addButton(root, 200, 300);
    addButton(root, 300, 300);
    layer->clearWidgets();
    EXPECT_EQ(0u, root->getChildren()->count());
}

// --- listeners that change the tree while they are being called ---

TEST_F(UILayerTest, AListenerMayRemoveItsOwnWidgetMidTouch) {
    UIButton* button = addButton(root, 200, 300);
    TouchRecorder calls;
    calls.listenTo(button);
    calls.action = [](UIWidget* sender, WidgetTouchEvent kind) {
        if (kind == TouchBegan) sender->removeFromParent();
    };
    touchDown(200, 300);
    step();  // the pool drains: only the input manager holds the button now
    touchMove(210, 300);
    touchUp(210, 300);
    // Kept alive by the touch, it finishes its sequence in its own space.
    EXPECT_EQ("BME", calls.kinds());
    EXPECT_EQ(0u, root->getChildren()->count());
}

TEST_F(UILayerTest, AListenerMayDisposeItsLayer) {
    UIButton* button = addButton(root, 200, 300);
    TouchRecorder calls;
    calls.listenTo(button);
    UILayer* l = layer;
    calls.action = [l](UIWidget*, WidgetTouchEvent kind) {
        if (kind == TouchEnded) l->dispose();
    };
    tap(200, 300);
    EXPECT_EQ("BE", calls.kinds());
    EXPECT_EQ(0u, scene->getChildrenCount());
}

TEST_F(UILayerTest, AListenerMayClearTheTreeOrReplaceTheScene) {
    UIButton* button = addButton(root, 200, 300);
    TouchRecorder calls;
    calls.listenTo(button);
    UILayer* l = layer;
    calls.action = [l](UIWidget*, WidgetTouchEvent kind) {
        if (kind == TouchBegan) l->clearWidgets();
        if (kind == TouchEnded) CCDirector::sharedDirector()->replaceScene(CCScene::create());
    };
    touchDown(200, 300);
    step();
    touchUp(200, 300);
    step();
    EXPECT_EQ("BE", calls.kinds());
    EXPECT_NE(scene, CCDirector::sharedDirector()->getRunningScene());
}

TEST_F(UILayerTest, ALayerDestroyedMidTouchFreesTheTouchedWidget) {
    addButton(root, 200, 300);
    touchDown(200, 300);
    layer->dispose();
    step();
    touchUp(200, 300);  // the layer is gone: nobody hears it, nothing leaks
}

}  // namespace
