// The key list card with odd lists: long keys, long words, no lines, far too many lines. The
// card stays on the screen, every label inside it, the actions in one column.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/KeyHelp.h"
#include "app/VisibleArea.h"
#include "engine/base/CCArray.h"
#include "engine/director/CCKeypadDispatcher.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCLayer.h"
#include "engine/nodes/CCScene.h"
#include "support/Harness.h"

using namespace pagly::engine;
using namespace pagly;

namespace {

CCRect worldBox(CCNode* node) {
    CCPoint a = node->convertToWorldSpace(CCPoint(0, 0));
    CCPoint b = node->convertToWorldSpace(
        CCPoint(node->getContentSize().width, node->getContentSize().height));
    return CCRect(std::min(a.x, b.x), std::min(a.y, b.y), std::fabs(b.x - a.x),
                  std::fabs(b.y - a.y));
}

bool inside(const CCRect& inner, const CCRect& outer) {
    const float e = 0.5f;
    return inner.getMinX() >= outer.getMinX() - e && inner.getMaxX() <= outer.getMaxX() + e &&
           inner.getMinY() >= outer.getMinY() - e && inner.getMaxY() <= outer.getMaxY() + e;
}

class KeyHelpCardTest : public pagly::test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        VisibleArea::reset();
        CCScene* scene = CCScene::create();
        screen = CCLayer::create();
        scene->addChild(screen);
        run(scene);
    }
    CCNode* screen = nullptr;
};

TEST_F(KeyHelpCardTest, OddListsStayOnTheCardAndTheCardOnTheScreen) {
    std::vector<std::string> many;
    for (int i = 0; i < 60; ++i)
        many.push_back("K" + std::to_string(i) + ": line " + std::to_string(i));
    struct Case {
        const char* name;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"a key longer than the card",
         {"Control + Shift + Alt + Page Down or Control + Shift + Alt + Page Up: jump a unit",
          "F1: this list"}},
        {"a word longer than the action column",
         {"X: Pneumonoultramicroscopicsilicovolcanoconiosis-and-then-some-more-letters"}},
        {"no key, no action, nothing after the colon", {"no colon here", ": nothing", "Z: ", ""}},
        {"an empty list", {}},
        {"sixty lines", many},
    };
    CCRect screenBox = VisibleArea::rect();
    for (const Case& c : cases) {
        std::vector<const char*> lines;
        for (const std::string& l : c.lines) lines.push_back(l.c_str());
        lines.push_back(nullptr);
        KeyHelp help;
        ASSERT_TRUE(help.handleKey(screen, kKeyHelp, lines.data())) << c.name;
        ASSERT_TRUE(help.isShown()) << c.name;
        CCNode* overlay = screen->getChildByTag(KeyHelp::kOverlayTag);
        ASSERT_NE(nullptr, overlay) << c.name;
        CCNode* card = overlay->getChildByTag(KeyHelp::kCardTag);
        ASSERT_NE(nullptr, card) << c.name;
        CCRect cardBox = worldBox(card);
        EXPECT_TRUE(inside(cardBox, screenBox)) << c.name;
        float actionX = -1;
        for (CCObject* o : *card->getChildren()) {
            CCLabelTTF* label = dynamic_cast<CCLabelTTF*>(o);
            if (!label) continue;
            EXPECT_TRUE(inside(worldBox(label), cardBox)) << c.name << ": " << label->getString();
            if (label->getTag() == KeyHelp::kActionTag && !c.lines.empty() &&
                c.lines[0].find(": ") != std::string::npos) {
                if (actionX < 0) actionX = label->getPositionX();
                EXPECT_EQ(actionX, label->getPositionX()) << c.name << ": one action column";
                EXPECT_GT(label->getContentSize().width, 100) << c.name << ": room to read";
            }
        }
        EXPECT_TRUE(help.handleKey(screen, kKeyEnter, lines.data())) << c.name;
        EXPECT_FALSE(help.isShown()) << c.name;
        EXPECT_EQ(nullptr, screen->getChildByTag(KeyHelp::kOverlayTag)) << c.name;
    }
    // No list at all shows an empty card, and other keys pass while nothing is shown.
    KeyHelp help;
    EXPECT_FALSE(help.handleKey(screen, kKeyEnter, nullptr));
    EXPECT_TRUE(help.handleKey(screen, kKeyHelp, nullptr));
    EXPECT_TRUE(help.isShown());
    KeyHelp nowhere;
    EXPECT_FALSE(nowhere.handleKey(nullptr, kKeyHelp, nullptr));
    EXPECT_FALSE(nowhere.isShown());
}

}  // namespace
