#include <string>

#include "engine/actions/CCActions.h"
#include "engine/base/CCArray.h"
#include "engine/base/CCDictionary.h"
#include "engine/director/CCDirector.h"
#include "engine/nodes/CCNode.h"
#include "engine/nodes/CCScene.h"
#include "gui/UIWidget.h"
#include "gui/reader/ActionFrame.h"
#include "gui/reader/ActionManager.h"
#include "gui/reader/ActionNode.h"
#include "gui/reader/ActionObject.h"
#include "gui/reader/JsonDictionary.h"
#include "gui/reader/JsonHelper.h"
#include "support/Harness.h"

using namespace pagly::engine;
using namespace pagly::gui;

namespace {

// A root widget with one child whose action tag timelines name (5), on a running scene so
// that actions started on it advance with the clock.
class TimelineTest : public pagly::test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        scene = CCScene::create();
        root = UIWidget::create();
        child = UIWidget::create();
        child->setActionTag(5);
        root->addChild(child);
        scene->addChild(root->getContainerNode());
        run(scene);
    }
    void TearDown() override {
        root->getContainerNode()->removeFromParent();
        root = nullptr;
        child = nullptr;
        ActionManager::destroyInstance();
        JsonHelper::destroyInstance();
        EngineTest::TearDown();
    }

    // A timeline document with one node for action tag 5 and the given frame objects.
    static std::string timeline(const std::string& frames, const char* unitTime = "0.5",
                                int tag = 5) {
        return std::string(R"({"actionlist": [{"name": "t", "loop": false, "unittime": )") +
               unitTime + R"(, "actionnodelist": [{"ActionTag": )" + std::to_string(tag) +
               R"(, "actionframelist": [)" + frames + "]}]}]}";
    }

    // Loads the text as document "pages/p1.json"'s animation and returns its only node.
    ActionNode* load(const std::string& animation, const char* file = "pages/p1.json") {
        JsonDictionary dict;
        dict.initWithText(animation.c_str());
        ActionManager::instance()->loadActions(file, &dict, root);
        ActionObject* object = ActionManager::instance()->getActionObject(file, "t");
        if (!object || object->getNodes()->count() == 0) return nullptr;
        return static_cast<ActionNode*>(object->getNodes()->objectAtIndex(0));
    }

    CCNode* node() { return child->getContainerNode(); }

    CCScene* scene = nullptr;
    RefPtr<UIWidget> root;
    UIWidget* child = nullptr;
};

const char* kMoves = R"({"frameid": 0, "positionx": 0, "positiony": 0},
                        {"frameid": 10, "positionx": 100, "positiony": 50},
                        {"frameid": 30, "positionx": 300, "positiony": 150})";

TEST_F(TimelineTest, PositionFramesBecomeASequenceOfMoves) {
    child->setPosition(CCPoint(7, 8));
    ActionNode* n = load(timeline(kMoves));
    ASSERT_NE(nullptr, n);
    EXPECT_EQ(child, n->getTarget());
    EXPECT_FLOAT_EQ(0.5f, n->getUnitTime());
    EXPECT_EQ(3u, n->getFrameList(FrameMove)->count());

    CCSpawn* spawn = dynamic_cast<CCSpawn*>(n->getSpawn());
    ASSERT_NE(nullptr, spawn);
    ASSERT_EQ(1u, spawn->getActionCount());
    CCSequence* moves = dynamic_cast<CCSequence*>(spawn->getActionAt(0));
    ASSERT_NE(nullptr, moves);
    ASSERT_EQ(2u, moves->getActionCount());
    EXPECT_NE(nullptr, dynamic_cast<CCMoveTo*>(moves->getActionAt(0)));
    EXPECT_FLOAT_EQ(5.0f, moves->getActionAt(0)->getDuration());
    EXPECT_FLOAT_EQ(10.0f, moves->getActionAt(1)->getDuration());
    EXPECT_FLOAT_EQ(15.0f, spawn->getDuration());
    // Preparing poses nothing: the first frame only marks where the kind starts.
    EXPECT_EQ(CCPoint(7, 8), node()->getPosition());
}

TEST_F(TimelineTest, OneFrameObjectCanDefineSeveralKinds) {
    ActionNode* n = load(timeline(
        R"({"frameid": 3, "positionx": 1, "positiony": 2, "opacity": 300, "colorr": 10,
            "colorg": 20, "colorb": 259})"));
    ASSERT_NE(nullptr, n);
    const unsigned int expected[FrameTypeCount] = {1, 0, 0, 1, 1};
    for (int kind = 0; kind < FrameTypeCount; ++kind) {
        EXPECT_EQ(expected[kind], n->getFrameList(kind)->count()) << kind;
    }
    ActionTintFrame* tint =
        dynamic_cast<ActionTintFrame*>(n->getFrameList(FrameTint)->objectAtIndex(0));
    ASSERT_NE(nullptr, tint);                           // colour frames are kind 3 ...
    EXPECT_EQ(ccColor3B(10, 20, 3), tint->getColor());  // ... low byte of each component
    ActionFadeFrame* fade =
        dynamic_cast<ActionFadeFrame*>(n->getFrameList(FrameFade)->objectAtIndex(0));
    ASSERT_NE(nullptr, fade);  // ... and opacity frames kind 4
    EXPECT_EQ(3, fade->getFrameIndex());
    // A single frame of each kind animates nothing.
    EXPECT_EQ(nullptr, n->getSpawn());
}

TEST_F(TimelineTest, SingleFrameKindsAddNothingToTheSpawn) {
    ActionNode* n = load(timeline(std::string(kMoves) +
                                  R"(, {"frameid": 4, "scalex": 2, "scaley": 3},
                                       {"frameid": 4, "rotation": 90})"));
    ASSERT_NE(nullptr, n);
    CCSpawn* spawn = dynamic_cast<CCSpawn*>(n->getSpawn());
    ASSERT_NE(nullptr, spawn);
    EXPECT_EQ(1u, spawn->getActionCount());
}

TEST_F(TimelineTest, MissingFrameValuesAreZero) {
    ActionNode* n = load(timeline(R"({"frameid": 0, "scalex": 2}, {"frameid": 2, "scalex": 4})"));
    ASSERT_NE(nullptr, n);
    ActionScaleFrame* s =
        dynamic_cast<ActionScaleFrame*>(n->getFrameList(FrameScale)->objectAtIndex(1));
    ASSERT_NE(nullptr, s);
    EXPECT_FLOAT_EQ(4.0f, s->getScaleX());
    EXPECT_FLOAT_EQ(0.0f, s->getScaleY());
}

TEST_F(TimelineTest, UpdateToTimePosesBetweenFrames) {
    ActionNode* n = load(timeline(R"({"frameid": 10, "positionx": 100, "positiony": 40},
                                     {"frameid": 30, "positionx": 300, "positiony": 80})"));
    ASSERT_NE(nullptr, n);
    child->setPosition(CCPoint(-500, -500));
    // Frame 10 is at 5 s, frame 30 at 15 s: 10 s is half-way.
    EXPECT_TRUE(n->updateToTime(10.0f));
    EXPECT_FLOAT_EQ(200.0f, node()->getPosition().x);
    EXPECT_FLOAT_EQ(60.0f, node()->getPosition().y);

    // Before the first frame: the first frame's value, and false.
    EXPECT_FALSE(n->updateToTime(1.0f));
    EXPECT_EQ(CCPoint(100, 40), node()->getPosition());
    // Exactly on a frame: its value, and true.
    EXPECT_TRUE(n->updateToTime(15.0f));
    EXPECT_EQ(CCPoint(300, 80), node()->getPosition());
    // After the last frame: left as it is; the result keeps its value.
    child->setPosition(CCPoint(1, 1));
    EXPECT_FALSE(n->updateToTime(20.0f));
    EXPECT_EQ(CCPoint(1, 1), node()->getPosition());
}

TEST_F(TimelineTest, PlayRunsTheTimelineOnTheRenderNode) {
    ActionNode* n = load(timeline(kMoves, "0.1"));  // frames at 0, 1 s and 3 s
    ASSERT_NE(nullptr, n);
    n->play(false);
    ASSERT_NE(nullptr, n->getRunningAction());
    advance(1.0);
    EXPECT_NEAR(100.0f, node()->getPosition().x, 0.01f);
    advance(2.0);
    EXPECT_NEAR(300.0f, node()->getPosition().x, 0.01f);
    EXPECT_NEAR(300.0f, child->getPosition().x, 0.01f);

    // Playing again restarts; stop holds the node where it is.
    child->setPosition(CCPoint(0, 0));
    n->play(true);
    advance(0.5);
    n->stop();
    float stoppedAt = node()->getPosition().x;
    EXPECT_NEAR(50.0f, stoppedAt, 0.01f);
    advance(1.0);
    EXPECT_FLOAT_EQ(stoppedAt, node()->getPosition().x);
}

TEST_F(TimelineTest, LoopingTimelineRepeats) {
    ActionNode* n = load(timeline(R"({"frameid": 0, "positionx": 0, "positiony": 0},
                                     {"frameid": 10, "positionx": 100, "positiony": 0})",
                                  "0.1"));
    ASSERT_NE(nullptr, n);
    child->setPosition(CCPoint(0, 0));
    n->play(true);
    advance(1.5);  // the move runs from wherever the node is: 100 after the first cycle
    EXPECT_NEAR(100.0f, node()->getPosition().x, 0.01f);
    EXPECT_EQ(1u, CCDirector::sharedDirector()->getActionManager()->numberOfRunningActionsInTarget(
                      node()));
    n->stop();
}

TEST_F(TimelineTest, UnknownActionTagBindsNothing) {
    ActionNode* n = load(timeline(kMoves, "0.5", 99));
    ASSERT_NE(nullptr, n);
    EXPECT_EQ(nullptr, n->getTarget());
    EXPECT_EQ(nullptr, n->getSpawn());
    n->play(false);
    EXPECT_EQ(nullptr, n->getRunningAction());
    child->setPosition(CCPoint(3, 4));
    n->updateToTime(5.0f);  // the frames are scanned, but there is nothing to pose
    EXPECT_EQ(CCPoint(3, 4), node()->getPosition());
}

TEST_F(TimelineTest, EngineNodeRootIsNotSearched) {
    CCNode* plain = CCNode::create();
    ActionNode* n = new ActionNode();
    n->initActionNodeFromRoot(plain);
    EXPECT_TRUE(logged("Need a definition of <initActionNodeFromRoot> for gameObject"));
    EXPECT_EQ(nullptr, n->getTarget());
    n->release();

    ActionFrame* bare = new ActionFrame();
    EXPECT_EQ(nullptr, bare->getAction(1.0f));
    EXPECT_TRUE(logged("Need a definition of <getAction> for ActionFrame"));
    bare->release();
}

TEST_F(TimelineTest, DocumentsAreKeptByBaseName) {
    ActionManager* manager = ActionManager::instance();
    manager->loadActions("pages/p1.json", nullptr, root);
    CCArray* first = manager->getActionList("p1.json");
    ASSERT_NE(nullptr, first);  // no "animation": an empty list all the same
    EXPECT_EQ(0u, first->count());

    JsonDictionary dict;
    dict.initWithText(timeline(kMoves).c_str());
    manager->loadActions("other/p1.json", &dict, root);
    manager->loadActions("p2.json", &dict, root);
    EXPECT_EQ(2u, manager->getActionsByDocument()->count());
    ASSERT_NE(nullptr, manager->getActionList("p1.json"));
    EXPECT_EQ(1u, manager->getActionList("p1.json")->count());  // the later document won
    EXPECT_NE(nullptr, manager->getActionObject("pages/p1.json", "t"));
    EXPECT_EQ(nullptr, manager->getActionObject("p1.json", "nope"));
}

TEST_F(TimelineTest, BadTimelinesAreSkippedOrDefaulted) {
    const char* text = R"({"actionlist": [
        {"loop": true, "actionnodelist": [{"ActionTag": 5}]},
        {"name": 3},
        42,
        null,
        {"name": "ok", "loop": 1, "unittime": -4,
         "actionnodelist": [7, {"ActionTag": 5, "actionframelist": [1, null, "x",
            {"frameid": 4000000000, "positionx": 1e300},
            {"frameid": -4000000000, "positionx": 1}]}]}
    ]})";
    JsonDictionary dict;
    dict.initWithText(text);
    ActionManager::instance()->loadActions("bad.json", &dict, root);
    CCArray* list = ActionManager::instance()->getActionList("bad.json");
    ASSERT_NE(nullptr, list);
    ASSERT_EQ(1u, list->count());
    ActionObject* ok = static_cast<ActionObject*>(list->objectAtIndex(0));
    EXPECT_EQ("ok", ok->getName());
    EXPECT_FALSE(ok->getLoop());               // 1 is not a boolean
    EXPECT_FLOAT_EQ(0.0f, ok->getUnitTime());  // a negative step counts as absent
    ASSERT_EQ(1u, ok->getNodes()->count());
    ActionNode* n = static_cast<ActionNode*>(ok->getNodes()->objectAtIndex(0));
    EXPECT_EQ(2u, n->getFrameList(FrameMove)->count());
    ActionMoveFrame* huge =
        static_cast<ActionMoveFrame*>(n->getFrameList(FrameMove)->objectAtIndex(0));
    EXPECT_FLOAT_EQ(0.0f, huge->getPosition().x);  // 1e300 fits no float
    // Frames out of order: no negative durations reach the engine.
    ok->play();
    advance(0.1);
    ok->updateToTime(3.0f);
    ok->stop();
}

// A page is read again at every visit; its nameless timelines are told once a run.
TEST_F(TimelineTest, ANamelessTimelineIsLoggedOnceAcrossReads) {
    const char* text = R"({"actionlist": [{"name": "ok"}, {"loop": true}, 7]})";
    JsonDictionary dict;
    dict.initWithText(text);
    clearLog();
    for (int visit = 0; visit < 3; ++visit)
        ActionManager::instance()->loadActions("pages/nameless.json", &dict, root);
    EXPECT_EQ(1u, ActionManager::instance()->getActionList("nameless.json")->count());
    std::vector<std::string> lines;
    for (const std::string& line : logLines())
        if (line.find("nameless.json") != std::string::npos) lines.push_back(line);
    ASSERT_EQ(2u, lines.size()) << testing::PrintToString(logLines());
    EXPECT_NE(std::string::npos, lines[0].find("timeline 1 of pages/nameless.json")) << lines[0];
    EXPECT_NE(std::string::npos, lines[1].find("timeline 2 of pages/nameless.json")) << lines[1];
}

TEST_F(TimelineTest, ManagerCanBeDestroyedAndCreatedAgain) {
    ActionNode* n = load(timeline(kMoves));
    ASSERT_NE(nullptr, n);
    n->play(false);
    ActionManager::destroyInstance();
    EXPECT_FALSE(ActionManager::hasInstance());
    advance(0.5);  // the running action lives on in the engine, safely
    EXPECT_NE(nullptr, ActionManager::instance());
    EXPECT_EQ(0u, ActionManager::instance()->getActionsByDocument()->count());
}

}  // namespace
