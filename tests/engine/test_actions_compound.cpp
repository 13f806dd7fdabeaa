// Sequences, spawns and repeats: when each member runs, driven by 1/60 s frames.
#include <string>
#include <vector>

#include "engine/actions/CCActions.h"
#include "engine/base/CCArray.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/nodes/CCScene.h"
#include "support/Harness.h"

using namespace pagly::engine;

namespace {

class CompoundActionTest : public pagly::test::EngineTest {
  protected:
    // A node on a running scene.
    CCNodeRGBA* stageNode(float x = 0, float y = 0) {
        if (!m_scene) {
            m_scene = CCScene::create();
            run(m_scene);
        }
        CCNodeRGBA* node = CCNodeRGBA::create();
        node->setPosition(x, y);
        m_scene->addChild(node);
        return node;
    }
    // An instant that notes, with the frame number, that it ran.
    CCCallFunc* mark(const std::string& name) {
        return CCCallFunc::create(
            [this, name] { marks.push_back(name + "@" + std::to_string(frame)); });
    }
    void frames(int n) {
        for (int i = 0; i < n; ++i) {
            ++frame;
            step();
        }
    }

    CCScene* m_scene = nullptr;
    std::vector<std::string> marks;
    int frame = 0;
};

TEST_F(CompoundActionTest, SequenceRunsMembersOneAfterTheOther) {
    CCNodeRGBA* node = stageNode();
    CCSequence* seq = CCSequence::create(CCMoveBy::create(1, CCPoint(60, 0)), mark("moved"),
                                         CCDelayTime::create(0.5f),
                                         CCMoveBy::create(0.5f, CCPoint(0, 30)), nullptr);
    ASSERT_NE(nullptr, seq);
    EXPECT_FLOAT_EQ(2, seq->getDuration());
    EXPECT_EQ(4u, seq->getActionCount());
    node->runAction(seq);
    frames(30);
    EXPECT_NEAR(30, node->getPositionX(), 1e-3);
    EXPECT_TRUE(marks.empty());
    frames(30);
    EXPECT_FLOAT_EQ(60, node->getPositionX());
    EXPECT_EQ(std::vector<std::string>{"moved@60"}, marks) << "the instant runs when reached";
    frames(30);
    EXPECT_NEAR(0, node->getPositionY(), 1e-3) << "the delay is just over";
    frames(15);
    EXPECT_NEAR(15, node->getPositionY(), 1e-3);
    frames(14);
    EXPECT_EQ(1u, node->numberOfRunningActions());
    frames(1);
    EXPECT_EQ(CCPoint(60, 30), node->getPosition());
    EXPECT_EQ(0u, node->numberOfRunningActions()) << "2 s = 120 frames";
    EXPECT_EQ(1u, marks.size());
}

TEST_F(CompoundActionTest, OneElementSequenceLastsAsLongAsItsMember) {
    CCNodeRGBA* node = stageNode();
    CCSpawn* spawn = CCSpawn::createWithTwoActions(CCMoveBy::create(0.5f, CCPoint(30, 0)),
                                                   CCFadeTo::create(0.25f, 0));
    CCSequence* one = CCSequence::create(spawn, nullptr);
    ASSERT_NE(nullptr, one);
    EXPECT_FLOAT_EQ(0.5f, one->getDuration());
    node->runAction(one);
    frames(15);
    EXPECT_EQ(0, node->getOpacity());
    frames(14);
    EXPECT_EQ(1u, node->numberOfRunningActions());
    frames(1);
    EXPECT_FLOAT_EQ(30, node->getPositionX());
    EXPECT_EQ(0u, node->numberOfRunningActions());
}

TEST_F(CompoundActionTest, ZeroLengthMembersRunOnceAtTheirPlace) {
    CCNodeRGBA* node = stageNode();
    node->runAction(CCSequence::create(
        mark("first"), CCMoveTo::create(0, CCPoint(5, 5)), CCMoveBy::create(0.5f, CCPoint(30, 0)),
        mark("middle"), CCDelayTime::create(0), CCMoveBy::create(0.5f, CCPoint(0, 30)),
        mark("last"), nullptr));
    frames(1);
    EXPECT_NEAR(6, node->getPositionX(), 1e-3) << "the zero move happened, then 1/30 of the next";
    EXPECT_EQ(std::vector<std::string>{"first@1"}, marks);
    frames(29);
    EXPECT_EQ((std::vector<std::string>{"first@1", "middle@30"}), marks);
    frames(30);
    EXPECT_EQ((std::vector<std::string>{"first@1", "middle@30", "last@60"}), marks);
    EXPECT_EQ(CCPoint(35, 35), node->getPosition());
    EXPECT_EQ(0u, node->numberOfRunningActions());

    // A sequence of nothing but instants is over at the first frame.
    marks.clear();
    node->runAction(CCSequence::createWithTwoActions(mark("a"), mark("b")));
    frames(1);
    EXPECT_EQ((std::vector<std::string>{"a@61", "b@61"}), marks);
    EXPECT_EQ(0u, node->numberOfRunningActions());
}

TEST_F(CompoundActionTest, SequenceAndSpawnFromArrays) {
    CCArray* list = CCArray::create();
    list->addObject(CCMoveBy::create(0.5f, CCPoint(10, 0)));
    list->addObject(CCString::create("not an action"));
    list->addObject(CCMoveBy::create(0.5f, CCPoint(10, 0)));
    CCSequence* seq = CCSequence::create(list);
    ASSERT_NE(nullptr, seq);
    EXPECT_EQ(2u, seq->getActionCount()) << "non-actions are skipped";
    EXPECT_FLOAT_EQ(1, seq->getDuration());
    CCSpawn* spawn = CCSpawn::create(list);
    ASSERT_NE(nullptr, spawn);
    EXPECT_FLOAT_EQ(0.5f, spawn->getDuration());

    EXPECT_EQ(nullptr, CCSequence::create(CCArray::create())) << "nothing to run: no sequence";
    EXPECT_EQ(nullptr, CCSpawn::create(CCArray::create()));
    EXPECT_EQ(nullptr, CCSequence::create((CCArray*)nullptr));
    EXPECT_EQ(nullptr, CCSequence::create((CCFiniteTimeAction*)nullptr));
}

TEST_F(CompoundActionTest, SpawnRunsSideBySideAndShortMembersStopEarly) {
    CCNodeRGBA* node = stageNode();
    node->runAction(CCSpawn::create(CCMoveBy::create(1, CCPoint(60, 0)),
                                    CCRotateBy::create(0.5f, 90), mark("instant"), nullptr));
    frames(1);
    EXPECT_EQ(std::vector<std::string>{"instant@1"}, marks) << "a zero-length member runs first";
    frames(14);
    EXPECT_NEAR(15, node->getPositionX(), 1e-3);
    EXPECT_NEAR(45, node->getRotation(), 1e-3) << "each member runs on its own clock";
    frames(15);
    EXPECT_NEAR(30, node->getPositionX(), 1e-3);
    EXPECT_FLOAT_EQ(90, node->getRotation());
    node->setRotation(5);  // the rotation is over: nothing sets it any more
    frames(15);
    EXPECT_FLOAT_EQ(5, node->getRotation());
    frames(15);
    EXPECT_FLOAT_EQ(60, node->getPositionX());
    EXPECT_EQ(0u, node->numberOfRunningActions());
    EXPECT_EQ(1u, marks.size());
}

TEST_F(CompoundActionTest, ReversedSpawnEndsItsShortMembersTogether) {
    CCNodeRGBA* node = stageNode();
    CCSpawn* spawn = CCSpawn::createWithTwoActions(CCMoveBy::create(1, CCPoint(60, 0)),
                                                   CCRotateBy::create(0.5f, 90));
    CCSpawn* back = spawn->reverse();
    ASSERT_NE(nullptr, back);
    EXPECT_FLOAT_EQ(1, back->getDuration());
    node->runAction(back);
    frames(30);
    EXPECT_NEAR(0, node->getRotation(), 1e-3) << "the short member waits first";
    EXPECT_NEAR(-30, node->getPositionX(), 1e-3);
    frames(30);
    EXPECT_FLOAT_EQ(-90, node->getRotation());
    EXPECT_FLOAT_EQ(-60, node->getPositionX());
}

TEST_F(CompoundActionTest, ReversedSequenceRetracesItsSteps) {
    CCNodeRGBA* node = stageNode(10, 10);
    CCSequence* seq =
        CCSequence::create(CCMoveBy::create(0.5f, CCPoint(30, 0)), CCDelayTime::create(0.25f),
                           CCScaleBy::create(0.5f, 2), nullptr);
    node->runAction(CCSequence::createWithTwoActions(seq, seq->reverse()));
    frames(75);
    EXPECT_EQ(CCPoint(40, 10), node->getPosition());
    EXPECT_FLOAT_EQ(2, node->getScale());
    frames(30);
    EXPECT_FLOAT_EQ(1, node->getScale()) << "the reverse undoes the last member first";
    EXPECT_EQ(CCPoint(40, 10), node->getPosition());
    frames(45);
    EXPECT_EQ(CCPoint(10, 10), node->getPosition());
    EXPECT_EQ(nullptr, CCSequence::createWithTwoActions(CCMoveTo::create(1, CCPoint()),
                                                        CCDelayTime::create(1))
                           ->reverse())
        << "a member without a reverse leaves the sequence without one";
}

TEST_F(CompoundActionTest, RepeatForeverKeepsCyclingWithoutDrift) {
    CCNodeRGBA* node = stageNode();
    node->runAction(CCRepeatForever::create(CCSequence::create(
        CCMoveBy::create(0.5f, CCPoint(30, 0)), CCMoveBy::create(0.5f, CCPoint(-30, 0)),
        CCDelayTime::create(0.25f), mark("cycle"), nullptr)));
    frames(30);
    EXPECT_NEAR(30, node->getPositionX(), 1e-3);
    frames(45);
    EXPECT_NEAR(0, node->getPositionX(), 1e-3);
    EXPECT_EQ(std::vector<std::string>{"cycle@75"}, marks);
    frames(75 * 9);
    ASSERT_EQ(10u, marks.size());
    EXPECT_EQ("cycle@750", marks.back()) << "ten cycles of 1.25 s, no frame gained or lost";
    frames(15);
    EXPECT_NEAR(15, node->getPositionX(), 1e-3);
    EXPECT_EQ(1u, node->numberOfRunningActions()) << "never done";
    node->stopAllActions();
    EXPECT_EQ(0u, node->numberOfRunningActions());
}

TEST_F(CompoundActionTest, RepeatForeverCarriesTheTimePastEachCycleIntoTheNext) {
    // A 0.04 s cycle ends between frames; the rest of that frame belongs to the next cycle,
    // so a second holds 25 cycles rather than one per three frames.
    CCNodeRGBA* node = stageNode();
    node->runAction(CCRepeatForever::create(CCMoveBy::create(0.04f, CCPoint(1, 0))));
    frames(60);
    EXPECT_NEAR(25, node->getPositionX(), 1e-3);
}

TEST_F(CompoundActionTest, RepeatForeverOfAnInstantRunRunsOncePerFrame) {
    CCNodeRGBA* node = stageNode();
    node->runAction(CCRepeatForever::create(CCSequence::create(mark("tick"), nullptr)));
    frames(3);
    EXPECT_EQ((std::vector<std::string>{"tick@1", "tick@2", "tick@3"}), marks);
    node->stopAllActions();
}

TEST_F(CompoundActionTest, RepeatRunsACountedNumberOfTimes) {
    CCNodeRGBA* node = stageNode();
    node->runAction(CCRepeat::create(CCMoveBy::create(0.5f, CCPoint(10, 0)), 3));
    frames(45);
    EXPECT_NEAR(15, node->getPositionX(), 1e-3);
    frames(45);
    EXPECT_FLOAT_EQ(30, node->getPositionX());
    EXPECT_EQ(0u, node->numberOfRunningActions());

    node->runAction(CCRepeat::create(CCSequence::create(mark("r"), nullptr), 3));
    frames(1);
    EXPECT_EQ((std::vector<std::string>{"r@91", "r@91", "r@91"}), marks);
    // An absurd count of a zero-length action does not hang the frame.
    node->runAction(CCRepeat::create(CCDelayTime::create(0), 4000000000u));
    frames(1);
    EXPECT_EQ(0u, node->numberOfRunningActions());
}

TEST_F(CompoundActionTest, WalkingFigureWalksThereAndBackForever) {
    // The main page's walker: eased 3 s walk by (vw - 130, 0), 0.25 s pause, the same walk
    // reversed, another pause (a copy of the first).
    CCNodeRGBA* walker = stageNode(60, 96);
    CCActionInterval* walk = CCEaseInOut::create(CCMoveBy::create(3, CCPoint(640 - 130, 0)), 1);
    CCDelayTime* pause = CCDelayTime::create(0.25f);
    walker->runAction(CCRepeatForever::create(
        CCSequence::create(walk, pause, walk->reverse(), pause->copy(), nullptr)));
    const struct {
        int frames;
        float x;
    } checkpoints[] = {
        {90, 315},   // half-way out (rate 1 is an even pace)
        {90, 570},   // 3 s: at the far end
        {15, 570},   // 3.25 s: paused
        {90, 315},   // half-way back
        {90, 60},    // 6.25 s: home
        {15, 60},    // 6.5 s: paused, cycle over
        {180, 570},  // second cycle: out again
        {210, 60},   // and home
    };
    for (const auto& c : checkpoints) {
        frames(c.frames);
        EXPECT_NEAR(c.x, walker->getPositionX(), 1e-2) << "at frame " << frame;
        EXPECT_FLOAT_EQ(96, walker->getPositionY());
    }
    EXPECT_EQ(1u, walker->numberOfRunningActions());
}

TEST_F(CompoundActionTest, ACallbackThatRemovesItsOwnNodeEndsTheSequenceSafely) {
    CCNodeRGBA* node = stageNode();
    node->runAction(CCSequence::create(
        CCMoveBy::create(0.25f, CCPoint(10, 0)),
        CCCallFuncN::create([](CCNode* n) { n->removeFromParentAndCleanup(true); }),
        mark("after removal"), nullptr));
    frames(20);
    EXPECT_TRUE(marks.empty()) << "a cleaned-up node runs nothing more";
    EXPECT_EQ(0u, m_scene->getChildrenCount()) << "the node is gone from the scene";
}

TEST_F(CompoundActionTest, CopiedSequencesRunIndependently) {
    CCNodeRGBA* a = stageNode();
    CCNodeRGBA* b = stageNode(100, 0);
    CCSequence* seq = CCSequence::create(CCMoveBy::create(0.5f, CCPoint(10, 0)),
                                         CCMoveBy::create(0.5f, CCPoint(0, 10)), nullptr);
    a->runAction(seq);
    b->runAction(seq->copy());
    frames(60);
    EXPECT_EQ(CCPoint(10, 10), a->getPosition());
    EXPECT_EQ(CCPoint(110, 10), b->getPosition());
}

TEST_F(CompoundActionTest, PosingAnActionWithoutRunningIt) {
    // What timelines do: start on a node and jump straight to a point in time.
    CCNodeRGBA* node = CCNodeRGBA::create();
    node->setPosition(10, 0);
    CCSequence* seq = CCSequence::create(CCMoveTo::create(1, CCPoint(20, 0)),
                                         CCMoveTo::create(1, CCPoint(20, 40)), nullptr);
    seq->startWithTarget(node);
    seq->update(0.75f);
    EXPECT_EQ(CCPoint(20, 20), node->getPosition()) << "first member finished on the way";
    seq->update(1);
    EXPECT_EQ(CCPoint(20, 40), node->getPosition());
    EXPECT_EQ(0u, node->numberOfRunningActions()) << "posing does not run anything";
}

}  // namespace
