// A widget scaled to nothing (a timeline scaling it in from 0, say) has no area on screen, so it
// takes no touch anywhere, least of all at the screen corner where its local origin would be.
#include "GuiTestSupport.h"
#include "gui/Layout.h"
#include "gui/UIButton.h"
#include "gui/UILayer.h"
#include "gui/UIRootWidget.h"

using namespace pagly::engine;
using namespace pagly::gui;
using pagly::test::TouchRecorder;

namespace {

class CollapsedHitTest : public pagly::test::GuiTest {};

struct Collapse {
    const char* what;
    float scaleX, scaleY;
    bool onPanel;  // scale the enclosing (clipping) panel instead of the button
};

TEST_F(CollapsedHitTest, AWidgetScaledToNothingTakesNoTouch) {
    const Collapse cases[] = {
        {"button scale 0", 0, 0, false},
        {"button scale x 0", 0, 1, false},
        {"button scale y 0", 1, 0, false},
        {"clipping panel scale 0", 0, 0, true},
    };
    for (const Collapse& c : cases) {
        SCOPED_TRACE(c.what);
        CCScene* scene = runScene();
        UILayer* layer = UILayer::create();
        scene->addChild(layer);
        Layout* panel = Layout::create();
        panel->setSize(CCSize(200, 200));
        panel->setPosition(CCPoint(300, 400));
        panel->setClippingEnabled(c.onPanel);  // a clipping panel would hide the fault
        layer->getRootWidget()->addChild(panel);
        UIButton* button = UIButton::create();
        button->loadTextureNormal("btn_normal.png");
        button->setPosition(CCPoint(100, 100));  // world (400, 500)
        button->setTouchEnabled(true);
        panel->addChild(button);
        TouchRecorder calls;
        calls.listenTo(button);

        tap(400, 500);
        EXPECT_EQ("BE", calls.kinds());
        UIWidget* collapsed = c.onPanel ? static_cast<UIWidget*>(panel) : button;
        collapsed->setScaleX(c.scaleX);
        collapsed->setScaleY(c.scaleY);
        tap(10, 10);  // near the world origin
        tap(400, 500);
        EXPECT_EQ("BE", calls.kinds());
        layer->removeFromParent();
    }
}

}  // namespace
