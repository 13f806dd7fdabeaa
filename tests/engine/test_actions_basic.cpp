// The single actions: their values at the start, in the middle and at the end, their timing
// when stepped by frames, and how the manager runs them on nodes.
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "engine/actions/CCActions.h"
#include "engine/director/CCDirector.h"
#include "engine/nodes/CCScene.h"
#include "support/Harness.h"

using namespace pagly::engine;

namespace {

// Everything an action may touch on a node, so a case also catches an action that changes
// more than it should.
struct Pose {
    CCPoint position;
    float scaleX = 1, scaleY = 1;
    float rotation = 0;
    ccColor3B color = kColorWhite;
    int opacity = 255;
};

Pose poseOf(CCNodeRGBA* n) {
    Pose p;
    p.position = n->getPosition();
    p.scaleX = n->getScaleX();
    p.scaleY = n->getScaleY();
    p.rotation = n->getRotation();
    p.color = n->getColor();
    p.opacity = n->getOpacity();
    return p;
}

void applyPose(CCNodeRGBA* n, const Pose& p) {
    n->setPosition(p.position);
    n->setScale(p.scaleX, p.scaleY);
    n->setRotation(p.rotation);
    n->setColor(p.color);
    n->setOpacity((unsigned char)p.opacity);
}

Pose at(float x, float y) {
    Pose p;
    p.position = CCPoint(x, y);
    return p;
}
Pose scaled(float sx, float sy) {
    Pose p;
    p.scaleX = sx, p.scaleY = sy;
    return p;
}
Pose rotated(float r) {
    Pose p;
    p.rotation = r;
    return p;
}
Pose tinted(unsigned char r, unsigned char g, unsigned char b) {
    Pose p;
    p.color = ccColor3B(r, g, b);
    return p;
}
Pose faded(int opacity) {
    Pose p;
    p.opacity = opacity;
    return p;
}

void expectPose(const Pose& want, CCNodeRGBA* n, const std::string& where) {
    Pose got = poseOf(n);
    EXPECT_NEAR(want.position.x, got.position.x, 1e-3) << where;
    EXPECT_NEAR(want.position.y, got.position.y, 1e-3) << where;
    EXPECT_NEAR(want.scaleX, got.scaleX, 1e-4) << where;
    EXPECT_NEAR(want.scaleY, got.scaleY, 1e-4) << where;
    EXPECT_NEAR(want.rotation, got.rotation, 1e-3) << where;
    EXPECT_EQ(want.color.r, got.color.r) << where;
    EXPECT_EQ(want.color.g, got.color.g) << where;
    EXPECT_EQ(want.color.b, got.color.b) << where;
    EXPECT_EQ(want.opacity, got.opacity) << where;
}

struct ActionCase {
    const char* name;
    std::function<CCActionInterval*()> make;
    Pose start;
    float midT;
    Pose mid;
    Pose end;
};

class ActionTest : public pagly::test::EngineTest {};

TEST_F(ActionTest, EachActionAtStartMiddleAndEnd) {
    const ActionCase cases[] = {
        {"MoveTo", [] { return CCMoveTo::create(2, CCPoint(100, 50)); }, at(10, 10), 0.5f,
         at(55, 30), at(100, 50)},
        {"MoveBy", [] { return CCMoveBy::create(1, CCPoint(30, -20)); }, at(10, 10), 0.25f,
         at(17.5f, 5), at(40, -10)},
        {"ScaleTo xy", [] { return CCScaleTo::create(1, 2, 3); }, scaled(1, 1), 0.5f,
         scaled(1.5f, 2), scaled(2, 3)},
        {"ScaleTo uniform", [] { return CCScaleTo::create(1, 0.5f); }, scaled(2, 2), 0.5f,
         scaled(1.25f, 1.25f), scaled(0.5f, 0.5f)},
        {"ScaleBy", [] { return CCScaleBy::create(1, 2); }, scaled(1.5f, 0.5f), 0.5f,
         scaled(2.25f, 0.75f), scaled(3, 1)},
        {"RotateTo", [] { return CCRotateTo::create(1, 90); }, rotated(0), 0.5f, rotated(45),
         rotated(90)},
        // The short way round, ending on the very angle asked for.
        {"RotateTo short way", [] { return CCRotateTo::create(1, 270); }, rotated(0), 0.5f,
         rotated(-45), rotated(270)},
        {"RotateTo across 180", [] { return CCRotateTo::create(1, -170); }, rotated(170), 0.5f,
         rotated(180), rotated(-170)},
        {"RotateBy", [] { return CCRotateBy::create(1, 720); }, rotated(10), 0.25f, rotated(190),
         rotated(730)},
        {"TintTo", [] { return CCTintTo::create(1, 0, 128, 255); }, tinted(255, 0, 100), 0.5f,
         tinted(128, 64, 178), tinted(0, 128, 255)},
        {"FadeTo", [] { return CCFadeTo::create(1, 0); }, faded(255), 0.5f, faded(128), faded(0)},
        {"FadeTo up", [] { return CCFadeTo::create(1, 200); }, faded(100), 0.25f, faded(125),
         faded(200)},
        // Fade in and out run the full range whatever the opacity was.
        {"FadeIn", [] { return CCFadeIn::create(1); }, faded(50), 0.5f, faded(128), faded(255)},
        {"FadeOut", [] { return CCFadeOut::create(1); }, faded(50), 0.25f, faded(191), faded(0)},
        {"DelayTime", [] { return CCDelayTime::create(1); }, at(3, 4), 0.5f, at(3, 4), at(3, 4)},
    };
    for (const ActionCase& c : cases) {
        CCNodeRGBA* node = CCNodeRGBA::create();
        applyPose(node, c.start);
        CCActionInterval* action = c.make();
        action->startWithTarget(node);
        Pose startAsSet = poseOf(node);
        action->update(0);
        // FadeIn / FadeOut start from their own ends, not the node's opacity.
        if (std::string(c.name) == "FadeIn") startAsSet.opacity = 0;
        if (std::string(c.name) == "FadeOut") startAsSet.opacity = 255;
        expectPose(startAsSet, node, std::string(c.name) + " at t=0");
        action->update(c.midT);
        expectPose(c.mid, node, std::string(c.name) + " in the middle");
        action->update(1);
        expectPose(c.end, node, std::string(c.name) + " at t=1");
    }
}

TEST_F(ActionTest, EasesReshapeTimeButKeepTheEnds) {
    struct EaseCase {
        const char* name;
        std::function<CCActionInterval*(CCActionInterval*)> wrap;
        float x25, x50;
    };
    const EaseCase cases[] = {
        {"EaseIn 2", [](CCActionInterval* a) { return CCEaseIn::create(a, 2); }, 6.25f, 25},
        {"EaseOut 2", [](CCActionInterval* a) { return CCEaseOut::create(a, 2); }, 50, 70.7107f},
        {"EaseInOut 2", [](CCActionInterval* a) { return CCEaseInOut::create(a, 2); }, 12.5f, 50},
        {"EaseInOut 1 is linear", [](CCActionInterval* a) { return CCEaseInOut::create(a, 1); }, 25,
         50},
        {"EaseSineInOut", [](CCActionInterval* a) { return CCEaseSineInOut::create(a); }, 14.6447f,
         50},
        {"EaseElasticOut 0.35",
         [](CCActionInterval* a) { return CCEaseElasticOut::create(a, 0.35f); }, 103.9337f,
         102.8155f},
        {"EaseElasticOut bad period falls back to 0.3",
         [](CCActionInterval* a) { return CCEaseElasticOut::create(a, 0); }, 91.1612f, 101.5625f},
    };
    for (const EaseCase& c : cases) {
        CCNodeRGBA* node = CCNodeRGBA::create();
        CCActionInterval* action = c.wrap(CCMoveBy::create(1, CCPoint(100, 0)));
        ASSERT_NE(nullptr, action) << c.name;
        EXPECT_FLOAT_EQ(1, action->getDuration()) << c.name;
        action->startWithTarget(node);
        action->update(0);
        EXPECT_FLOAT_EQ(0, node->getPositionX()) << c.name;
        action->update(0.25f);
        EXPECT_NEAR(c.x25, node->getPositionX(), 1e-3) << c.name;
        action->update(0.5f);
        EXPECT_NEAR(c.x50, node->getPositionX(), 1e-3) << c.name;
        action->update(1);
        EXPECT_FLOAT_EQ(100, node->getPositionX()) << c.name;
    }
    EXPECT_EQ(nullptr, CCEaseInOut::create(nullptr, 2)) << "an ease of nothing is nothing";
}

TEST_F(ActionTest, ElasticOutOvershootsThenSettlesOnTheTarget) {
    // The fly-in of a contents line: 370 units in from the left, elastic period 0.35, 2 s.
    CCScene* scene = CCScene::create();
    run(scene);
    CCNodeRGBA* line = CCNodeRGBA::create();
    line->setPosition(320 - 370, 800);
    scene->addChild(line);
    line->runAction(CCEaseElasticOut::create(CCMoveBy::create(2, CCPoint(370, 0)), 0.35f));
    float farthest = -1e9f;
    for (int frame = 0; frame < 120; ++frame) {
        step();
        farthest = std::max(farthest, line->getPositionX());
    }
    EXPECT_GT(farthest, 320 + 100) << "swings well past its place (about 0.32 of the way)";
    EXPECT_LT(farthest, 320 + 130);
    EXPECT_FLOAT_EQ(320, line->getPositionX()) << "settles exactly on its place at 2 s";
    EXPECT_EQ(0u, line->numberOfRunningActions());
}

TEST_F(ActionTest, FirstStepCountsItsFrameSoHalfASecondIsThirtyFrames) {
    CCScene* scene = CCScene::create();
    run(scene);
    CCNodeRGBA* node = CCNodeRGBA::create();
    scene->addChild(node);
    node->runAction(CCMoveBy::create(0.5f, CCPoint(30, 0)));
    step();
    EXPECT_NEAR(1, node->getPositionX(), 1e-4) << "one frame is 1/30 of the way";
    for (int i = 1; i < 29; ++i) step();
    EXPECT_NEAR(29, node->getPositionX(), 1e-3);
    EXPECT_EQ(1u, node->numberOfRunningActions()) << "not done after 29 frames";
    step();
    EXPECT_FLOAT_EQ(30, node->getPositionX());
    EXPECT_EQ(0u, node->numberOfRunningActions()) << "done and removed after 30 frames";
}

TEST_F(ActionTest, AnActionEndsOnTheFrameItsTimeIsReachedWithinARoundingError) {
    // Frames measured by a real clock fall a hair short of 1/60 s; twelve of them finish a
    // 0.2 s move, which must not linger a thirteenth frame.
    CCScene* scene = CCScene::create();
    run(scene);
    CCNodeRGBA* node = CCNodeRGBA::create();
    scene->addChild(node);
    node->runAction(CCMoveBy::create(0.2f, CCPoint(30, 0)));
    CCDirector* director = CCDirector::sharedDirector();
    for (int i = 0; i < 11; ++i) director->mainLoop(0.016666f);
    EXPECT_EQ(1u, node->numberOfRunningActions());
    director->mainLoop(0.016666f);
    EXPECT_FLOAT_EQ(30, node->getPositionX());
    EXPECT_EQ(0u, node->numberOfRunningActions());
}

TEST_F(ActionTest, MoveToLandsExactlyOnItsEndPoint) {
    const CCPoint starts[] = {CCPoint(0.1f, 0.7f), CCPoint(-3.3f, 1e4f), CCPoint(12.34f, -0.01f)};
    const CCPoint end(1000.3f, -333.3f);
    for (const CCPoint& start : starts) {
        CCNode* node = CCNode::create();
        node->setPosition(start);
        CCMoveTo* move = CCMoveTo::create(1, end);
        move->startWithTarget(node);
        move->update(1);
        EXPECT_EQ(end.x, node->getPositionX()) << start.x;
        EXPECT_EQ(end.y, node->getPositionY()) << start.y;
    }
}

TEST_F(ActionTest, ColourAndOpacityStayInRangeWhenAnEaseOvershoots) {
    // An elastic or back ease takes time past the end (or before the start); a component
    // goes no further than 0 or 255 instead of wrapping around.
    struct Case {
        unsigned char from, to;
        float t;
        unsigned char expected;
    } cases[] = {{0, 255, 1.2f, 255}, {255, 0, 1.2f, 0}, {100, 255, -0.8f, 0}, {100, 0, -2, 255}};
    for (const Case& c : cases) {
        CCNodeRGBA* node = CCNodeRGBA::create();
        node->setOpacity(c.from);
        node->setColor(ccColor3B(c.from, c.from, c.from));
        CCFadeTo* fade = CCFadeTo::create(1, c.to);
        fade->startWithTarget(node);
        fade->update(c.t);
        EXPECT_EQ(c.expected, node->getOpacity())
            << int(c.from) << "->" << int(c.to) << " at " << c.t;
        CCTintTo* tint = CCTintTo::create(1, c.to, c.to, c.to);
        tint->startWithTarget(node);
        tint->update(c.t);
        EXPECT_EQ(c.expected, node->getColor().g)
            << int(c.from) << "->" << int(c.to) << " at " << c.t;
    }
}

TEST_F(ActionTest, ZeroAndNegativeDurationsFinishAtTheFirstStep) {
    CCScene* scene = CCScene::create();
    run(scene);
    CCNodeRGBA* node = CCNodeRGBA::create();
    scene->addChild(node);
    node->runAction(CCMoveTo::create(0, CCPoint(7, 8)));
    node->runAction(CCScaleTo::create(-3, 2));
    node->runAction(CCFadeTo::create(std::nanf(""), 10));
    node->runAction(CCTintTo::create(0, 1, 2, 3));
    step();
    EXPECT_EQ(CCPoint(7, 8), node->getPosition());
    EXPECT_FLOAT_EQ(2, node->getScale());
    EXPECT_EQ(10, node->getOpacity());
    EXPECT_EQ(ccColor3B(1, 2, 3), node->getColor());
    EXPECT_EQ(0u, node->numberOfRunningActions());
}

TEST_F(ActionTest, ColourActionsLeaveAPlainNodeAlone) {
    CCNode* node = CCNode::create();
    node->setPosition(5, 5);
    CCActionInterval* actions[] = {CCTintTo::create(1, 0, 0, 0), CCFadeTo::create(1, 0),
                                   CCFadeIn::create(1), CCFadeOut::create(1)};
    for (CCActionInterval* a : actions) {
        a->startWithTarget(node);
        a->update(0.5f);
        a->update(1);
    }
    EXPECT_EQ(CCPoint(5, 5), node->getPosition());
}

TEST_F(ActionTest, ActionsWaitWhileTheNodeIsNotRunning) {
    CCScene* scene = CCScene::create();
    run(scene);
    RefPtr<CCNodeRGBA> node = CCNodeRGBA::create();
    node->runAction(CCMoveBy::create(1, CCPoint(60, 0)));
    advance(0.5);
    EXPECT_EQ(0, node->getPositionX()) << "not in a running scene yet";
    scene->addChild(node);
    advance(0.5);
    EXPECT_NEAR(30, node->getPositionX(), 1e-3);
    node->removeFromParentAndCleanup(false);  // off stage, actions kept but paused
    advance(0.25);
    EXPECT_NEAR(30, node->getPositionX(), 1e-3);
    scene->addChild(node);
    advance(0.5);
    EXPECT_FLOAT_EQ(60, node->getPositionX());
    EXPECT_EQ(0u, node->numberOfRunningActions());
}

TEST_F(ActionTest, StoppingLeavesTheNodeWhereItIsAndFreesTheAction) {
    CCScene* scene = CCScene::create();
    run(scene);
    CCNodeRGBA* node = CCNodeRGBA::create();
    scene->addChild(node);
    long before = CCObject::liveObjectCount();
    CCAction* move = node->runAction(CCMoveBy::create(1, CCPoint(60, 0)));
    node->runAction(CCRotateBy::create(1, 90));
    advance(0.5);
    node->stopAction(move);
    EXPECT_EQ(1u, node->numberOfRunningActions());
    advance(0.5);
    EXPECT_NEAR(30, node->getPositionX(), 1e-3) << "the stopped move went no further";
    EXPECT_FLOAT_EQ(90, node->getRotation());
    step();
    EXPECT_EQ(before, CCObject::liveObjectCount()) << "finished and stopped actions are freed";
}

TEST_F(ActionTest, CopiesAreFreshAndIndependent) {
    CCScene* scene = CCScene::create();
    run(scene);
    CCNodeRGBA* a = CCNodeRGBA::create();
    CCNodeRGBA* b = CCNodeRGBA::create();
    b->setPosition(100, 0);
    scene->addChild(a);
    scene->addChild(b);
    RefPtr<CCMoveBy> move = CCMoveBy::create(1, CCPoint(60, 0));
    a->runAction(move);
    advance(0.5);
    b->runAction(move->copy());
    advance(0.5);
    EXPECT_FLOAT_EQ(60, a->getPositionX());
    EXPECT_NEAR(130, b->getPositionX(), 1e-3) << "the copy started from b's own place";
    EXPECT_FLOAT_EQ(1, move->copy()->getDuration());
}

TEST_F(ActionTest, ReversesUndoWhatTheyReverse) {
    struct ReverseCase {
        const char* name;
        std::function<CCActionInterval*()> make;
    };
    const ReverseCase cases[] = {
        {"MoveBy", [] { return CCMoveBy::create(1, CCPoint(30, -20)); }},
        {"ScaleBy", [] { return CCScaleBy::create(1, 4, 0.5f); }},
        {"RotateBy", [] { return CCRotateBy::create(1, -135); }},
        {"EaseInOut", [] { return CCEaseInOut::create(CCMoveBy::create(1, CCPoint(5, 9)), 3); }},
        {"EaseIn", [] { return CCEaseIn::create(CCRotateBy::create(1, 45), 2); }},
    };
    for (const ReverseCase& c : cases) {
        CCNodeRGBA* node = CCNodeRGBA::create();
        applyPose(node, at(10, 10));
        node->setScale(2);
        node->setRotation(15);
        Pose start = poseOf(node);
        CCActionInterval* forward = c.make();
        forward->startWithTarget(node);
        forward->update(1);
        CCActionInterval* back = forward->reverse();
        ASSERT_NE(nullptr, back) << c.name;
        back->startWithTarget(node);
        back->update(1);
        expectPose(start, node, std::string(c.name) + " and back");
    }
    EXPECT_EQ(nullptr, CCMoveTo::create(1, CCPoint(1, 1))->reverse()) << "absolute: no reverse";
    EXPECT_EQ(nullptr, CCScaleBy::create(1, 0)->reverse()) << "scaling by 0 cannot be undone";
}

// Counts the calls it receives.
class Counter : public CCObject {
  public:
    void hit() { ++hits; }
    void hitNode(CCNode* node) {
        ++hits;
        last = node;
    }
    int hits = 0;
    CCNode* last = nullptr;
};

TEST_F(ActionTest, CallFuncCallsItsTargetOnceAndKeepsItAlive) {
    CCScene* scene = CCScene::create();
    run(scene);
    CCNodeRGBA* node = CCNodeRGBA::create();
    scene->addChild(node);
    Counter* counter = new Counter();
    node->runAction(CCCallFunc::create(counter, memberCallback(&Counter::hit)));
    node->runAction(CCCallFuncN::create(counter, memberCallback(&Counter::hitNode)));
    EXPECT_EQ(3u, counter->retainCount()) << "each call keeps its target";
    step();
    EXPECT_EQ(2, counter->hits);
    EXPECT_EQ(node, counter->last);
    step();
    EXPECT_EQ(2, counter->hits) << "instants run once";
    EXPECT_EQ(1u, counter->retainCount()) << "done actions let go of the target";
    counter->release();

    int calls = 0;
    CCNode* seen = nullptr;
    node->runAction(CCCallFunc::create([&calls] { ++calls; }));
    node->runAction(CCCallFuncN::create([&seen](CCNode* n) { seen = n; }));
    step();
    EXPECT_EQ(1, calls);
    EXPECT_EQ(node, seen);
}

TEST_F(ActionTest, SpeedScalesTime) {
    CCScene* scene = CCScene::create();
    run(scene);
    CCNodeRGBA* node = CCNodeRGBA::create();
    scene->addChild(node);
    node->runAction(CCSpeed::create(CCMoveBy::create(1, CCPoint(60, 0)), 2));
    advance(0.25);
    EXPECT_NEAR(30, node->getPositionX(), 1e-3);
    advance(0.25);
    EXPECT_FLOAT_EQ(60, node->getPositionX());
    EXPECT_EQ(0u, node->numberOfRunningActions());
}

}  // namespace
