// Actions between values near the ends of the float range (a document may give them) pose
// their node at finite values all the way, overshooting eases included.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <functional>
#include <string>

#include "engine/actions/CCActionEase.h"
#include "engine/actions/CCActionInterval.h"
#include "engine/nodes/CCNode.h"
#include "support/Harness.h"

using namespace pagly::engine;

namespace {

class FarActionTest : public pagly::test::EngineTest {};

TEST_F(FarActionTest, FarApartEndsGiveFinitePosesInBetween) {
    const float big = 3e38f;
    struct Case {
        const char* name;
        std::function<void(CCNode*)> start;
        std::function<CCActionInterval*()> make;
        std::function<float(CCNode*)> value;
        float half;  // the value half-way
    } cases[] = {
        {"MoveTo x", [&](CCNode* n) { n->setPosition(-big, 0); },
         [&] { return CCMoveTo::create(1, CCPoint(big, 0)); },
         [](CCNode* n) { return n->getPositionX(); }, 0},
        {"MoveBy y past the edge", [&](CCNode* n) { n->setPosition(0, big); },
         [&] { return CCMoveBy::create(1, CCPoint(0, big)); },
         [](CCNode* n) { return n->getPositionY(); }, NAN},
        {"MoveBy an infinite way", [&](CCNode* n) { n->setPosition(0, big); },
         [&] { return CCMoveBy::create(1, CCPoint(0, -INFINITY)); },
         [](CCNode* n) { return n->getPositionY(); }, NAN},
        {"ScaleTo", [&](CCNode* n) { n->setScale(-big); },
         [&] { return CCScaleTo::create(1, big); }, [](CCNode* n) { return n->getScaleX(); }, 0},
        {"RotateTo", [&](CCNode* n) { n->setRotation(-big); },
         [&] { return CCRotateTo::create(1, big); }, [](CCNode* n) { return n->getRotation(); },
         NAN},
        {"RotateBy", [&](CCNode* n) { n->setRotation(big); },
         [&] { return CCRotateBy::create(1, -big); }, [](CCNode* n) { return n->getRotation(); },
         big / 2},
        {"RotateBy past the edge", [&](CCNode* n) { n->setRotation(big); },
         [&] { return CCRotateBy::create(1, big); }, [](CCNode* n) { return n->getRotation(); },
         NAN},
    };
    for (const Case& c : cases) {
        for (bool eased : {false, true}) {
            std::string what = std::string(c.name) + (eased ? ", elastic" : "");
            CCNode* node = CCNode::create();
            c.start(node);
            CCActionInterval* action = c.make();
            CCActionInterval* run = eased ? CCEaseElasticOut::create(action, 0.3f) : action;
            run->startWithTarget(node);
            for (float t : {0.0f, 0.1f, 0.25f, 0.5f, 0.75f, 0.9f, 1.0f}) {
                run->update(t);
                EXPECT_TRUE(std::isfinite(c.value(node))) << what << " at t=" << t;
            }
            if (!eased && !std::isnan(c.half)) {
                run->update(0.5f);
                EXPECT_NEAR(c.half, c.value(node), 1e33) << what;
            }
        }
    }
}

}  // namespace
