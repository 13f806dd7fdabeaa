#include <cmath>
#include <limits>
#include <string>

#include "engine/nodes/CCNode.h"
#include "engine/nodes/CCScene.h"
#include "gui/UIWidget.h"
#include "gui/reader/ActionManager.h"
#include "gui/reader/ActionNode.h"
#include "gui/reader/ActionObject.h"
#include "gui/reader/JsonDictionary.h"
#include "gui/reader/JsonHelper.h"
#include "support/Harness.h"

using namespace pagly::engine;
using namespace pagly::gui;

namespace {

// Timelines whose "unittime" or frame numbers are absurd: whatever they do, the animated
// widget must never be put at a position, scale or angle that is not a number.
class AbsurdTimelineTest : public pagly::test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        CCScene* scene = CCScene::create();
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
        ActionManager::destroyInstance();
        JsonHelper::destroyInstance();
        EngineTest::TearDown();
    }

    ActionObject* load(const std::string& unitTime, const std::string& frames, bool loop) {
        std::string text = R"({"actionlist": [{"name": "t", "loop": )" +
                           std::string(loop ? "true" : "false") + R"(, "unittime": )" + unitTime +
                           R"(, "actionnodelist": [{"ActionTag": 5, "actionframelist": [)" +
                           frames + "]}]}]}";
        JsonDictionary dict;
        dict.initWithText(text.c_str());
        ActionManager::instance()->loadActions("absurd.json", &dict, root.get());
        return ActionManager::instance()->getActionObject("absurd.json", "t");
    }

    bool poseIsFinite() {
        CCNode* n = child->getContainerNode();
        return std::isfinite(n->getPosition().x) && std::isfinite(n->getPosition().y) &&
               std::isfinite(n->getScaleX()) && std::isfinite(n->getScaleY()) &&
               std::isfinite(n->getRotation());
    }

    RefPtr<UIWidget> root;
    UIWidget* child = nullptr;
};

// One frame object per frame number, with every kind of key frame.
std::string frames(std::initializer_list<long long> ids) {
    std::string out;
    int value = 0;
    for (long long id : ids) {
        if (!out.empty()) out += ", ";
        std::string v = std::to_string(value);
        out += R"({"frameid": )" + std::to_string(id) + R"(, "positionx": )" + v +
               R"(, "positiony": )" + v + R"(, "scalex": 1, "scaley": 1, "rotation": )" + v +
               R"(, "opacity": 200, "colorr": 1, "colorg": 2, "colorb": 3})";
        value += 100;
    }
    return out;
}

TEST_F(AbsurdTimelineTest, PlayingNeverPutsTheWidgetAtNaN) {
    struct Case {
        const char* unitTime;
        std::string frames;
    };
    const Case cases[] = {
        // One step longer than any float: its span overflows to infinity.
        {"1e30", frames({0, 1000000000})},
        // Steps that each fit a float but whose sum does not.
        {"1e36", frames({0, 100, 200, 300, 400})},
        {"3e38", frames({-2147483648LL, 2147483647LL})},
    };
    for (const Case& c : cases) {
        for (bool loop : {false, true}) {
            ActionObject* timeline = load(c.unitTime, c.frames, loop);
            ASSERT_NE(nullptr, timeline) << c.unitTime;
            child->setPosition(CCPoint(0, 0));
            timeline->play();
            advance(0.5);
            EXPECT_TRUE(poseIsFinite()) << c.unitTime << " loop " << loop;
            timeline->stop();
        }
    }
}

TEST_F(AbsurdTimelineTest, PosingBetweenFarFramesInterpolates) {
    // Frames -2 and 2 at 3e38 s a step lie beyond any float time; time 0 is still exactly
    // half-way between them.
    ActionObject* timeline = load("3e38", frames({-2, 2}), false);
    ASSERT_NE(nullptr, timeline);
    ActionNode* node = static_cast<ActionNode*>(timeline->getNodes()->objectAtIndex(0));
    EXPECT_TRUE(node->updateToTime(0.0f));
    EXPECT_TRUE(poseIsFinite());
    EXPECT_FLOAT_EQ(50.0f, child->getContainerNode()->getPosition().x);
    EXPECT_FLOAT_EQ(50.0f, child->getContainerNode()->getRotation());
}

TEST_F(AbsurdTimelineTest, PosingAtTimesThatAreNoNumbers) {
    ActionObject* timeline = load("0.5", frames({10, 30}), false);
    ASSERT_NE(nullptr, timeline);
    ActionNode* node = static_cast<ActionNode*>(timeline->getNodes()->objectAtIndex(0));
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        float time;
        float x;  // where the widget is left
    };
    const Case cases[] = {
        {std::numeric_limits<float>::quiet_NaN(), 7},  // no frame is at or after it: untouched
        {inf, 7},
        {-inf, 0},  // before every frame: the first frame's value
    };
    for (const Case& c : cases) {
        child->setPosition(CCPoint(7, 7));
        EXPECT_FALSE(node->updateToTime(c.time)) << c.time;
        EXPECT_FLOAT_EQ(c.x, child->getContainerNode()->getPosition().x) << c.time;
        EXPECT_TRUE(poseIsFinite()) << c.time;
    }
}

}  // namespace
