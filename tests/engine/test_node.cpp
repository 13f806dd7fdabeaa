#include <vector>

#include "engine/base/CCArray.h"
#include "engine/director/CCDirector.h"
#include "engine/nodes/CCNode.h"
#include "engine/nodes/CCScene.h"
#include "support/Harness.h"

using namespace pagly::engine;

namespace {

using NodeTest = pagly::test::EngineTest;

std::vector<int> tagsInDrawOrder(CCNode* parent) {
    parent->sortAllChildren();
    std::vector<int> tags;
    for (CCObject* o : *parent->getChildren()) tags.push_back(static_cast<CCNode*>(o)->getTag());
    return tags;
}

TEST_F(NodeTest, EqualZOrdersKeepInsertionOrder) {
    CCNode* parent = CCNode::create();
    parent->addChild(CCNode::create(), 1, 10);
    parent->addChild(CCNode::create(), 0, 20);
    parent->addChild(CCNode::create(), 1, 30);
    parent->addChild(CCNode::create(), -1, 40);
    parent->addChild(CCNode::create(), 0, 50);
    EXPECT_EQ((std::vector<int>{40, 20, 50, 10, 30}), tagsInDrawOrder(parent));
}

TEST_F(NodeTest, ReorderingMovesTheChildBehindItsNewEquals) {
    CCNode* parent = CCNode::create();
    CCNode* first = CCNode::create();
    parent->addChild(first, 1, 1);
    parent->addChild(CCNode::create(), 1, 2);
    parent->addChild(CCNode::create(), 2, 3);
    parent->reorderChild(first, 2);
    EXPECT_EQ((std::vector<int>{2, 3, 1}), tagsInDrawOrder(parent));
}

// Notes its tag in a shared list each time it draws.
class DrawRecorder : public CCNode {
  public:
    explicit DrawRecorder(std::vector<int>* drawn) : m_drawn(drawn) {}
    void draw(Renderer*) override { m_drawn->push_back(getTag()); }

  private:
    std::vector<int>* m_drawn;
};

TEST_F(NodeTest, ChildrenBelowZeroDrawBeforeTheirParentTheRestAfter) {
    std::vector<int> drawn;
    DrawRecorder* parent = new DrawRecorder(&drawn);
    parent->setTag(100);
    const int zOrders[] = {1, 0, -1, 0, -5};
    for (int i = 0; i < 5; ++i) {
        DrawRecorder* child = new DrawRecorder(&drawn);
        parent->addChild(child, zOrders[i], i);
        child->release();
    }
    parent->visit(nullptr);
    EXPECT_EQ((std::vector<int>{4, 2, 100, 1, 3, 0}), drawn);
    parent->release();
}

TEST_F(NodeTest, LifecyclePropagatesToChildrenAddedToARunningScene) {
    CCScene* scene = CCScene::create();
    run(scene);
    CCNode* child = CCNode::create();
    CCNode* grandchild = CCNode::create();
    child->addChild(grandchild);
    EXPECT_FALSE(grandchild->isRunning());
    scene->addChild(child);
    EXPECT_TRUE(grandchild->isRunning());
    child->removeFromParentAndCleanup(true);
    EXPECT_FALSE(grandchild->isRunning());
}

TEST_F(NodeTest, ConvertsBetweenWorldAndNodeSpace) {
    CCNode* parent = CCNode::create();
    parent->setPosition(100, 200);
    parent->setScale(2.0f);
    CCNode* child = CCNode::create();
    child->setContentSize(CCSize(50, 40));
    child->setAnchorPoint(CCPoint(0.5f, 0.5f));
    child->setPosition(10, 10);
    parent->addChild(child);
    // The child's origin is at parent (10-25, 10-20) = (-15, -10) -> world (70, 180).
    CCPoint world = child->convertToWorldSpace(CCPointZero);
    EXPECT_FLOAT_EQ(70, world.x);
    EXPECT_FLOAT_EQ(180, world.y);
    CCPoint back = child->convertToNodeSpace(CCPoint(70 + 2 * 25, 180 + 2 * 20));
    EXPECT_NEAR(25, back.x, 1e-4);
    EXPECT_NEAR(20, back.y, 1e-4);
    child->setRotation(90);  // clockwise
    CCPoint turned = child->convertToWorldSpaceAR(CCPoint(10, 0));
    EXPECT_NEAR(100 + 2 * 10, turned.x, 1e-3);
    EXPECT_NEAR(200 + 2 * 10 - 2 * 10, turned.y, 1e-3);
}

TEST_F(NodeTest, BoundingBoxIsInParentSpace) {
    CCNode* node = CCNode::create();
    node->setContentSize(CCSize(100, 50));
    node->setAnchorPoint(CCPoint(0.5f, 0.5f));
    node->setPosition(200, 300);
    node->setScale(1.5f);
    CCRect box = node->boundingBox();
    EXPECT_FLOAT_EQ(125, box.getMinX());
    EXPECT_FLOAT_EQ(262.5f, box.getMinY());
    EXPECT_FLOAT_EQ(150, box.size.width);
}

TEST_F(NodeTest, AddingAChildTwiceIsRefused) {
    CCNode* a = CCNode::create();
    CCNode* b = CCNode::create();
    CCNode* child = CCNode::create();
    a->addChild(child);
    b->addChild(child);
    EXPECT_EQ(a, child->getParent());
    EXPECT_EQ(0u, b->getChildrenCount());
}

TEST_F(NodeTest, AutoreleasedObjectIsFreedAtTheEndOfTheFrameRetainedOneIsKept) {
    long before = CCObject::liveObjectCount();
    CCNode* dropped = CCNode::create();
    CCNode* kept = CCNode::create();
    kept->retain();
    (void)dropped;
    EXPECT_EQ(before + 2, CCObject::liveObjectCount());
    step();
    EXPECT_EQ(before + 1, CCObject::liveObjectCount());
    EXPECT_EQ(1u, kept->retainCount());
    kept->release();
    EXPECT_EQ(before, CCObject::liveObjectCount());
}

TEST_F(NodeTest, DestroyingAScheduledNodeStopsItsCallbacks) {
    struct Counter : CCNode {
        int* hits;
        void tick(float) { ++*hits; }
    };
    int hits = 0;
    Counter* c = new Counter();
    c->hits = &hits;
    CCScene* scene = CCScene::create();
    run(scene);
    scene->addChild(c);
    c->release();
    c->schedule(memberCallback(&Counter::tick));
    step();
    EXPECT_EQ(1, hits);
    scene->removeChild(c, false);  // no cleanup: the last reference goes, the node dies
    step();
    EXPECT_EQ(1, hits);
}

}  // namespace
