// The widget base: tree and z-order, state and look, sizes, hit test, clipping ancestors,
// lifecycle and ownership.
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScheduler.h"
#include "gui/GUIRenderer.h"
#include "gui/Layout.h"
#include "gui/LayoutParameter.h"
#include "gui/RectClippingNode.h"
#include "gui/UIButton.h"
#include "gui/UIImageView.h"
#include "gui/UILabel.h"
#include "gui/UILabelAtlas.h"
#include "gui/UILabelBMFont.h"
#include "gui/UIRootWidget.h"

using namespace pagly::engine;
using namespace pagly::gui;

namespace {

// A widget that logs its state hooks and per-frame updates.
class ProbeWidget : public UIWidget {
  public:
    static ProbeWidget* create(const char* name = "probe", int z = 0) {
        ProbeWidget* w = new ProbeWidget();
        w->init();
        w->autorelease();
        w->setName(name);
        w->setWidgetZOrder(z);
        return w;
    }
    std::vector<std::string> hooks;
    int updates = 0;
    void update(float) override { ++updates; }

  protected:
    void onStateNormal() override { hooks.push_back("normal"); }
    void onStatePressed() override { hooks.push_back("pressed"); }
    void onStateDisabled() override { hooks.push_back("disabled"); }
};

std::vector<std::string> childNames(UIWidget* parent) {
    std::vector<std::string> names;
    for (CCObject* o : *parent->getChildren())
        names.push_back(static_cast<UIWidget*>(o)->getName());
    return names;
}

// The order in which the parent's render node draws its children.
std::vector<CCNode*> drawOrder(UIWidget* parent) {
    CCNode* node = parent->getContainerNode();
    node->sortAllChildren();
    std::vector<CCNode*> order;
    for (CCObject* o : *node->getChildren()) order.push_back(static_cast<CCNode*>(o));
    return order;
}

class WidgetTest : public pagly::test::GuiTest {};

TEST_F(WidgetTest, NewWidgetHasTheDocumentedDefaults) {
    UIWidget* w = UIWidget::create();
    ASSERT_NE(w, nullptr);
    EXPECT_STREQ("default", w->getName());
    EXPECT_EQ(-1, w->getTag());
    EXPECT_EQ(0, w->getActionTag());
    EXPECT_TRUE(w->isEnabled());
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->isBright());
    EXPECT_FALSE(w->isTouchEnabled());
    EXPECT_FALSE(w->isFocused());
    EXPECT_FALSE(w->isPassThrough());
    EXPECT_EQ(BrightNormal, w->getBrightStyle());
    EXPECT_EQ(0, w->getWidgetZOrder());
    EXPECT_EQ(CCPoint(0.5f, 0.5f), w->getAnchorPoint());
    EXPECT_EQ(PlainWidget, w->getWidgetKind());
    EXPECT_TRUE(w->isIgnoreSize());
    EXPECT_EQ(CCSizeZero, w->getSize());
    EXPECT_EQ(nullptr, w->getParent());
    EXPECT_EQ(nullptr, w->getLayoutParameter());
    EXPECT_FALSE(w->isRunning());
    EXPECT_NE(nullptr, dynamic_cast<GUIRenderer*>(w->getRenderNode()));
    // The render node passes colour and opacity on to what it carries.
    EXPECT_TRUE(w->isCascadeColorEnabled());
    EXPECT_TRUE(w->isCascadeOpacityEnabled());
}

TEST_F(WidgetTest, EveryClassDescribesItself) {
    struct Case {
        UIWidget* widget;
        const char* description;
    } cases[] = {
        {UIWidget::create(), "Widget"},
        {UIButton::create(), "Button"},
        {UIImageView::create(), "ImageView"},
        {UILabel::create(), "Label"},
        {UILabelAtlas::create(), "LabelAtlase"},
        {UILabelBMFont::create(), "LabelBMFont"},
        {Layout::create(), "Layout"},
        {UIRootWidget::create(), "RootWidget"},
    };
    for (const Case& c : cases) {
        ASSERT_NE(c.widget, nullptr) << c.description;
        EXPECT_EQ(c.description, c.widget->getDescription());
    }
}

TEST_F(WidgetTest, ChildrenAreInsertedAfterEqualZOrdersSoLaterEqualsDrawAbove) {
    UIWidget* parent = UIWidget::create();
    ProbeWidget* firstOne = ProbeWidget::create("first 1", 1);
    ProbeWidget* zero = ProbeWidget::create("zero", 0);
    ProbeWidget* secondOne = ProbeWidget::create("second 1", 1);
    ASSERT_TRUE(parent->addChild(firstOne));
    ASSERT_TRUE(parent->addChild(zero));
    ASSERT_TRUE(parent->addChild(secondOne));
    EXPECT_EQ((std::vector<std::string>{"zero", "first 1", "second 1"}), childNames(parent));
    // The engine tree mirrors the widget order: the second z-1 child is drawn last (on top).
    EXPECT_EQ((std::vector<CCNode*>{zero->getContainerNode(), firstOne->getContainerNode(),
                                    secondOne->getContainerNode()}),
              drawOrder(parent));
    EXPECT_EQ(1, secondOne->getContainerNode()->getZOrder());
}

TEST_F(WidgetTest, InsertionTableCoversFrontMiddleAndBack) {
    struct Case {
        std::vector<int> zOrders;
        std::vector<std::string> expected;
    } cases[] = {
        {{5, 3, 1}, {"2", "1", "0"}},
        {{0, 2, 1, 2, 0}, {"0", "4", "2", "1", "3"}},
        {{-1, -1, 3}, {"0", "1", "2"}},
    };
    for (const Case& c : cases) {
        UIWidget* parent = UIWidget::create();
        for (size_t i = 0; i < c.zOrders.size(); ++i) {
            parent->addChild(ProbeWidget::create(std::to_string(i).c_str(), c.zOrders[i]));
        }
        EXPECT_EQ(c.expected, childNames(parent));
    }
}

TEST_F(WidgetTest, ChangingZOrderReinsertsTheChild) {
    UIWidget* parent = UIWidget::create();
    ProbeWidget* a = ProbeWidget::create("a", 0);
    ProbeWidget* b = ProbeWidget::create("b", 0);
    ProbeWidget* c = ProbeWidget::create("c", 0);
    parent->addChild(a);
    parent->addChild(b);
    parent->addChild(c);
    a->setWidgetZOrder(2);
    EXPECT_EQ((std::vector<std::string>{"b", "c", "a"}), childNames(parent));
    EXPECT_EQ(a->getContainerNode(), drawOrder(parent).back());
    c->setWidgetZOrder(-1);
    EXPECT_EQ((std::vector<std::string>{"c", "b", "a"}), childNames(parent));
    EXPECT_EQ(c->getContainerNode(), drawOrder(parent).front());
}

TEST_F(WidgetTest, AddingTwiceOrRemovingAStrangerFails) {
    UIWidget* parent = UIWidget::create();
    UIWidget* child = UIWidget::create();
    EXPECT_FALSE(parent->addChild(nullptr));
    EXPECT_TRUE(parent->addChild(child));
    EXPECT_FALSE(parent->addChild(child));
    EXPECT_EQ(1u, parent->getChildren()->count());
    EXPECT_FALSE(parent->removeChild(UIWidget::create()));
    EXPECT_FALSE(parent->removeChild(nullptr));
    EXPECT_TRUE(parent->removeChild(child));
    EXPECT_EQ(nullptr, child->getParent());
    EXPECT_EQ(nullptr, child->getContainerNode()->getParent());
    EXPECT_FALSE(parent->removeChild(child));
}

// A widget lives in one tree: a second parent, or its own descendant, is refused rather than
// leaving the render node behind and two arrays owning the widget.
TEST_F(WidgetTest, AWidgetWithAParentOrAnAncestorIsRefusedAsChild) {
    UIWidget* a = UIWidget::create();
    UIWidget* b = UIWidget::create();
    UIWidget* child = UIWidget::create();
    ASSERT_TRUE(a->addChild(child));
    EXPECT_FALSE(b->addChild(child));
    EXPECT_EQ(a, child->getParent());
    EXPECT_EQ(a->getContainerNode(), child->getContainerNode()->getParent());
    EXPECT_FALSE(child->addChild(a));
    EXPECT_FALSE(a->addChild(a));
    EXPECT_TRUE(logLines().size() >= 3);
}

TEST_F(WidgetTest, RemoveAllChildrenAndRemoveFromParent) {
    UIWidget* parent = UIWidget::create();
    UIWidget* a = UIWidget::create();
    UIWidget* b = UIWidget::create();
    parent->addChild(a);
    parent->addChild(b);
    a->removeFromParent();
    EXPECT_EQ(1u, parent->getChildren()->count());
    a->removeFromParent();  // no parent any more: nothing happens
    parent->addChild(a);
    parent->removeAllChildren();
    EXPECT_EQ(0u, parent->getChildren()->count());
    EXPECT_EQ(0u, parent->getContainerNode()->getChildrenCount());
}

TEST_F(WidgetTest, FocusDrivesTheLookUnlessTheWidgetIsNotBright) {
    ProbeWidget* w = ProbeWidget::create();
    w->hooks.clear();
    w->setFocus(true);
    w->setFocus(true);  // same value: nothing happens
    EXPECT_EQ(BrightHighlight, w->getBrightStyle());
    w->setFocus(false);
    EXPECT_EQ((std::vector<std::string>{"pressed", "normal"}), w->hooks);

    w->hooks.clear();
    w->setBright(false);
    w->setFocus(true);
    EXPECT_EQ((std::vector<std::string>{"disabled", "disabled"}), w->hooks);
    EXPECT_TRUE(w->isFocused());
    EXPECT_EQ(BrightNormal, w->getBrightStyle());
    w->hooks.clear();
    w->setBright(true);
    EXPECT_EQ((std::vector<std::string>{"normal"}), w->hooks);
}

TEST_F(WidgetTest, BrightStyleCallsItsHookOnlyOnChange) {
    ProbeWidget* w = ProbeWidget::create();
    w->hooks.clear();
    w->setBrightStyle(BrightNormal);
    w->setBrightStyle(BrightHighlight);
    w->setBrightStyle(BrightHighlight);
    w->setBrightStyle(BrightNone);
    w->setBrightStyle(BrightNormal);
    EXPECT_EQ((std::vector<std::string>{"pressed", "normal"}), w->hooks);
}

TEST_F(WidgetTest, EnablingIsRecursiveAndStopsTheRenderNodes) {
    Layout* panel = Layout::create();
    UIWidget* child = UIWidget::create();
    UIWidget* grandChild = UIWidget::create();
    panel->addChild(child);
    child->addChild(grandChild);
    panel->setEnabled(false);
    EXPECT_FALSE(child->isEnabled());
    EXPECT_FALSE(grandChild->isEnabled());
    EXPECT_FALSE(static_cast<GUIRenderer*>(grandChild->getContainerNode())->isEnabled());
    EXPECT_FALSE(panel->getClippingNode()->isEnabled());
    panel->setEnabled(true);
    EXPECT_TRUE(grandChild->isEnabled());
    EXPECT_TRUE(panel->getClippingNode()->isEnabled());
}

TEST_F(WidgetTest, VisibilityMirrorsTheRenderNode) {
    UIWidget* w = UIWidget::create();
    w->setVisible(false);
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(w->getContainerNode()->isVisible());
}

TEST_F(WidgetTest, TransformAndColourGoToTheRenderNode) {
    UIWidget* w = UIWidget::create();
    w->setPosition(CCPoint(12, 34));
    w->setScaleX(2);
    w->setScaleY(3);
    w->setRotation(45);
    EXPECT_EQ(CCPoint(12, 34), w->getContainerNode()->getPosition());
    EXPECT_EQ(CCPoint(12, 34), w->getPosition());
    EXPECT_FLOAT_EQ(2, w->getScaleX());
    EXPECT_FLOAT_EQ(3, w->getScaleY());
    EXPECT_FLOAT_EQ(45, w->getContainerNode()->getRotation());
    w->setColor(ccColor3B(10, 20, 30));
    w->setOpacity(99);
    EXPECT_EQ(ccColor3B(10, 20, 30), w->getColor());
    EXPECT_EQ(99, w->getOpacity());
    w->setAnchorPoint(CCPoint(0, 1));
    EXPECT_EQ(CCPoint(0, 1), w->getContainerNode()->getAnchorPoint());
    EXPECT_FALSE(w->isFlipX());
    w->setFlipX(true);  // plain widgets do not flip
    EXPECT_FALSE(w->isFlipX());
}

TEST_F(WidgetTest, EffectiveSizeFollowsIgnoreSize) {
    UIWidget* w = UIWidget::create();
    w->setSize(CCSize(80, 30));
    // A plain widget's content size is its effective size, so nothing changes.
    EXPECT_EQ(CCSize(80, 30), w->getCustomSize());
    w->setIgnoreSize(false);
    w->setSize(CCSize(100, 40));
    EXPECT_EQ(CCSize(100, 40), w->getSize());
    EXPECT_EQ(CCSize(100, 40), w->getCustomSize());
}

TEST_F(WidgetTest, EdgesDependOnTheWidgetKind) {
    UIWidget* plain = UIWidget::create();
    plain->setIgnoreSize(false);
    plain->setSize(CCSize(100, 40));
    plain->setPosition(CCPoint(200, 300));
    EXPECT_FLOAT_EQ(150, plain->getLeftEdge());
    EXPECT_FLOAT_EQ(250, plain->getRightEdge());
    EXPECT_FLOAT_EQ(280, plain->getBottomEdge());
    EXPECT_FLOAT_EQ(320, plain->getTopEdge());
    Layout* panel = Layout::create();
    panel->setSize(CCSize(100, 40));
    panel->setPosition(CCPoint(200, 300));
    EXPECT_FLOAT_EQ(200, panel->getLeftEdge());
    EXPECT_FLOAT_EQ(300, panel->getRightEdge());
    EXPECT_FLOAT_EQ(300, panel->getBottomEdge());
    EXPECT_FLOAT_EQ(340, panel->getTopEdge());
}

TEST_F(WidgetTest, HitTestIncludesTheEdgesOfTheAnchoredRectangle) {
    UIWidget* w = UIWidget::create();
    w->setIgnoreSize(false);
    w->setSize(CCSize(100, 40));
    w->setPosition(CCPoint(200, 300));  // the rectangle is x 150..250, y 280..320
    struct Case {
        CCPoint point;
        bool inside;
    } cases[] = {
        {{200, 300}, true},     {{150, 280}, true},     {{250, 320}, true},
        {{150, 320}, true},     {{250, 280}, true},     {{149.9f, 300}, false},
        {{250.1f, 300}, false}, {{200, 279.9f}, false}, {{200, 320.1f}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.inside, w->hitTest(c.point)) << c.point.x << "," << c.point.y;
    }
    // A different anchor moves the rectangle relative to the position.
    w->setAnchorPoint(CCPoint(0, 0));
    EXPECT_TRUE(w->hitTest(CCPoint(300, 340)));
    EXPECT_FALSE(w->hitTest(CCPoint(199, 300)));
    // Each axis takes its own anchor component.
    w->setAnchorPoint(CCPoint(0, 1));  // x 200..300, y 260..300
    EXPECT_TRUE(w->hitTest(CCPoint(300, 260)));
    EXPECT_FALSE(w->hitTest(CCPoint(250, 300.1f)));
    w->setAnchorPoint(CCPoint(1, 0));  // x 100..200, y 300..340
    EXPECT_TRUE(w->hitTest(CCPoint(100, 340)));
    EXPECT_FALSE(w->hitTest(CCPoint(150, 299.9f)));
}

TEST_F(WidgetTest, HitTestWorksInTheParentsSpace) {
    Layout* panel = Layout::create();
    panel->setSize(CCSize(300, 300));
    panel->setPosition(CCPoint(100, 100));
    panel->setScale(2);
    UIWidget* w = UIWidget::create();
    w->setIgnoreSize(false);
    w->setSize(CCSize(10, 10));
    w->setPosition(CCPoint(50, 50));  // world: 100 + 2 * (45..55) = 190..210
    panel->addChild(w);
    EXPECT_TRUE(w->hitTest(CCPoint(190, 210)));
    EXPECT_FALSE(w->hitTest(CCPoint(189, 200)));
}

TEST_F(WidgetTest, ClippingAncestorsMustAllContainThePoint) {
    Layout* outer = Layout::create();
    outer->setSize(CCSize(200, 200));  // world 0..200
    Layout* plain = Layout::create();  // not clipping: plays no part
    plain->setSize(CCSize(10, 10));
    Layout* inner = Layout::create();
    inner->setSize(CCSize(100, 100));
    inner->setPosition(CCPoint(150, 150));  // world 150..250
    UIWidget* leaf = UIWidget::create();
    outer->addChild(plain);
    plain->addChild(inner);
    inner->addChild(leaf);

    CCPoint insideBoth(175, 175), onlyInInner(225, 225), insideNeither(300, 300);
    EXPECT_TRUE(leaf->clippingAncestorsContain(insideNeither));  // no clipping anywhere
    inner->setClippingEnabled(true);
    EXPECT_TRUE(leaf->clippingAncestorsContain(onlyInInner));
    EXPECT_FALSE(leaf->clippingAncestorsContain(insideNeither));
    outer->setClippingEnabled(true);
    EXPECT_TRUE(leaf->clippingAncestorsContain(insideBoth));
    EXPECT_FALSE(leaf->clippingAncestorsContain(onlyInInner));
    // A clipping panel's own rectangle is not its ancestor's business for itself.
    EXPECT_TRUE(inner->clippingAncestorsContain(insideBoth));
    EXPECT_TRUE(outer->clippingAncestorsContain(insideNeither));
}

TEST_F(WidgetTest, RunningStateFollowsTheParent) {
    Layout* root = Layout::create();
    UIWidget* child = UIWidget::create();
    UIWidget* grandChild = UIWidget::create();
    child->addChild(grandChild);
    root->onEnter();
    EXPECT_TRUE(root->isRunning());
    root->addChild(child);
    EXPECT_TRUE(child->isRunning());
    EXPECT_TRUE(grandChild->isRunning());
    root->removeChild(child);
    EXPECT_FALSE(child->isRunning());
    EXPECT_FALSE(grandChild->isRunning());
    root->addChild(child);
    root->onExit();
    EXPECT_FALSE(grandChild->isRunning());
}

TEST_F(WidgetTest, SizePercentUsesTheParentsSizeWhileRunning) {
    Layout* root = Layout::create();
    root->setSize(CCSize(200, 100));
    root->onEnter();
    UIWidget* child = UIWidget::create();
    child->setIgnoreSize(false);
    root->addChild(child);
    child->setSizePercent(CCPoint(0.5f, 0.25f));
    EXPECT_EQ(CCSize(100, 25), child->getSize());
    child->setSize(CCSize(50, 50));
    EXPECT_EQ(CCPoint(0.25f, 0.5f), child->getSizePercent());
    root->onExit();
}

TEST_F(WidgetTest, PerFrameUpdatesRunUntilTheWidgetLeavesItsParent) {
    // Frames drain the autorelease pool: hold what the test looks at.
    RefPtr<UIWidget> parent = UIWidget::create();
    RefPtr<ProbeWidget> child = ProbeWidget::create();
    ProbeWidget* grandChild = ProbeWidget::create();
    parent->addChild(child);
    child->addChild(grandChild);
    child->setUpdateEnabled(true);
    grandChild->setUpdateEnabled(true);
    step();
    int before = child->updates;
    step();
    EXPECT_EQ(before + 1, child->updates);
    EXPECT_EQ(before + 1, grandChild->updates);
    parent->removeChild(child);
    step();
    EXPECT_EQ(before + 1, child->updates);
    EXPECT_EQ(before + 1, grandChild->updates);
}

TEST_F(WidgetTest, ADestroyedWidgetStopsItsUpdatesAndFreesItsTree) {
    long before = CCObject::liveObjectCount();
    {
        UIWidget* parent = new UIWidget();
        parent->init();
        ProbeWidget* child = ProbeWidget::create();
        parent->addChild(child);
        child->setUpdateEnabled(true);
        CCAutoreleasePool::sharedPool()->drain();
        parent->release();
    }
    step();  // the scheduler must not call the dead child
    EXPECT_EQ(before, CCObject::liveObjectCount());
}

TEST_F(WidgetTest, AChildRemovedFromItsParentStaysAliveWhileSomeoneHoldsIt) {
    RefPtr<UIWidget> parent = UIWidget::create();
    UIWidget* child = UIWidget::create();
    child->retain();
    parent->addChild(child);
    CCAutoreleasePool::sharedPool()->drain();
    parent->removeChild(child);
    EXPECT_EQ(1u, child->retainCount());
    child->release();
}

TEST_F(WidgetTest, LayoutParameterIsOwned) {
    UIWidget* w = UIWidget::create();
    RelativeLayoutParameter* p = RelativeLayoutParameter::create();
    w->setLayoutParameter(p);
    EXPECT_EQ(p, w->getLayoutParameter());
}

}  // namespace
