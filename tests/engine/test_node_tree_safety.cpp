// Tree operations that would tie the node tree into a loop or pull it apart from inside its
// own callbacks.
#include <gtest/gtest.h>

#include <functional>

#include "engine/director/CCDirector.h"
#include "engine/nodes/CCNode.h"
#include "engine/nodes/CCScene.h"
#include "support/Harness.h"

using namespace pagly::engine;

namespace {

using NodeTreeSafetyTest = pagly::test::EngineTest;

// A node that runs a hook from its onEnter or onExit and counts its calls.
class HookNode : public CCNode {
  public:
    static HookNode* create() {
        HookNode* node = new HookNode();
        node->autorelease();
        return node;
    }
    void onEnter() override {
        ++entered;
        CCNode::onEnter();
        if (onEnterHook) onEnterHook(this);
    }
    void onExit() override {
        ++exited;
        CCNode::onExit();
        if (onExitHook) onExitHook(this);
    }
    void tick(float) { ++ticks; }

    std::function<void(HookNode*)> onEnterHook, onExitHook;
    int entered = 0, exited = 0, ticks = 0;
};

TEST_F(NodeTreeSafetyTest, ANodeCannotBecomeItsOwnDescendant) {
    // scene > a > b > c; each case tries to put an ancestor (or the node itself) below a node.
    struct Case {
        const char* name;
        int parent;  // index into {a, b, c} that receives the child
        int child;
    };
    const Case cases[] = {
        {"itself", 1, 1},
        {"its parent", 1, 0},
        {"its grandparent", 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCScene* scene = CCScene::create();
        CCNode* nodes[3] = {CCNode::create(), CCNode::create(), CCNode::create()};
        scene->addChild(nodes[0]);
        nodes[0]->addChild(nodes[1]);
        nodes[1]->addChild(nodes[2]);
        run(scene);
        clearLog();

        nodes[c.parent]->addChild(nodes[c.child]);

        EXPECT_EQ(1u, logLines().size());
        // The tree is as it was; walking it (frames, exit, cleanup) ends.
        EXPECT_EQ(scene, nodes[0]->getParent());
        EXPECT_EQ(nodes[0], nodes[1]->getParent());
        EXPECT_EQ(nodes[1], nodes[2]->getParent());
        EXPECT_EQ(1u, nodes[1]->getChildrenCount());
        step();
        CCDirector::sharedDirector()->reset();
    }
}

TEST_F(NodeTreeSafetyTest, AnUnparentedAncestorIsRefusedToo) {
    // Without a parent the usual "already has a parent" refusal does not catch the loop.
    CCNode* root = CCNode::create();
    CCNode* child = CCNode::create();
    root->addChild(child);
    child->addChild(root);
    EXPECT_EQ(nullptr, root->getParent());
    EXPECT_EQ(0u, child->getChildrenCount());
}

TEST_F(NodeTreeSafetyTest, ANodeAddedBySiblingsOnEnterEntersWithTheScene) {
    CCScene* scene = CCScene::create();
    HookNode* first = HookNode::create();
    HookNode* late = HookNode::create();
    first->onEnterHook = [late](HookNode* self) { self->getParent()->addChild(late); };
    late->schedule(memberCallback(&HookNode::tick), 0);
    scene->addChild(first);
    run(scene);
    step();

    EXPECT_EQ(scene, late->getParent());
    EXPECT_EQ(1, late->entered);
    EXPECT_TRUE(late->isRunning());
    EXPECT_GT(late->ticks, 0) << "its callbacks would stay paused for good";
}

TEST_F(NodeTreeSafetyTest, ANodeRemovedBySiblingsOnEnterIsNotEntered) {
    CCScene* scene = CCScene::create();
    HookNode* first = HookNode::create();
    RefPtr<HookNode> removed(HookNode::create());
    first->onEnterHook = [&removed](HookNode*) { removed->removeFromParent(); };
    scene->addChild(first);
    scene->addChild(removed.get());
    run(scene);

    EXPECT_EQ(nullptr, removed->getParent());
    EXPECT_EQ(0, removed->entered);
    EXPECT_FALSE(removed->isRunning()) << "it would run outside any scene";
}

TEST_F(NodeTreeSafetyTest, ExitCallbacksMayRemoveTheNodeBeingRemoved) {
    // Each hook runs while its node is being taken out of a running scene.
    struct Case {
        const char* name;
        std::function<void(HookNode*)> hook;
    };
    const Case cases[] = {
        {"removes itself", [](HookNode* self) { self->removeFromParent(); }},
        {"empties its parent", [](HookNode* self) { self->getParent()->removeAllChildren(); }},
        {"takes its parent out of the scene",
         [](HookNode* self) { self->getParent()->removeFromParent(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCScene* scene = CCScene::create();
        CCNode* holder = CCNode::create();
        HookNode* node = HookNode::create();
        RefPtr<HookNode> keep(node);
        node->onExitHook = c.hook;
        scene->addChild(holder);
        holder->addChild(node);
        run(scene);

        node->removeFromParent();

        EXPECT_EQ(1, node->exited);
        EXPECT_EQ(nullptr, node->getParent());
        EXPECT_FALSE(node->isRunning());
        step();
        CCDirector::sharedDirector()->reset();
    }
}

// Lets go of its children from its own destructor, as a widget tree's owner does.
class ChildrenDroppingNode : public CCNode {
  public:
    ~ChildrenDroppingNode() override {
        if (held) held->removeFromParent();
        removeAllChildren();
    }
    CCNode* held = nullptr;
};

TEST_F(NodeTreeSafetyTest, ANodeMayRemoveItsChildrenWhileBeingDestroyed) {
    ChildrenDroppingNode* owner = new ChildrenDroppingNode();
    owner->held = CCNode::create();
    owner->addChild(owner->held);
    owner->addChild(CCNode::create());
    owner->release();
    step();
}

}  // namespace
