// Tree operations that would tie the node tree into a loop or pull it apart from inside its
// own callbacks.
#include <gtest/gtest.h>

#include "engine/director/CCDirector.h"
#include "engine/nodes/CCNode.h"
#include "engine/nodes/CCScene.h"
#include "support/Harness.h"

using namespace cocos2d;

namespace {

using NodeTreeSafetyTest = pagly::test::EngineTest;

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

}  // namespace
