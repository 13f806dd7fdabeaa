// One frame of typical widgets compared with a reference image: a clipping panel with a
// gradient, a stretched nine-slice button with its title, a label and an image view.
#include "GuiTestSupport.h"
#include "gui/Layout.h"
#include "gui/UIButton.h"
#include "gui/UIImageView.h"
#include "gui/UILabel.h"
#include "gui/UILayer.h"
#include "gui/UIRootWidget.h"

using namespace pagly::engine;
using namespace pagly::gui;

namespace {

class ReferenceImageTest : public pagly::test::GuiPixelTest {};

TEST_F(ReferenceImageTest, PanelButtonLabelAndImage) {
    CCScene* scene = runScene();
    UILayer* layer = UILayer::create();
    scene->addChild(layer);

    Layout* panel = Layout::create();
    panel->setSize(CCSize(560, 400));
    panel->setPosition(CCPoint(40, 300));
    panel->setBackGroundColor(ccColor3B(250, 220, 120), ccColor3B(60, 120, 200));
    panel->setBackGroundColorType(BackGroundColorGradient);
    panel->setClippingEnabled(true);
    layer->getRootWidget()->addChild(panel);

    // Hangs over the panel's top-right corner: only the part inside shows.
    UIImageView* image = UIImageView::create();
    image->loadTexture("photo.png");
    image->setScale(2);
    image->setPosition(CCPoint(540, 390));
    panel->addChild(image);

    UIButton* button = UIButton::create();
    button->loadTextureNormal("btn_normal.png");
    button->setScale9Enabled(true);
    button->setCapInsets(CCRect(4, 4, 92, 32));
    button->setSize(CCSize(300, 80));
    button->setPosition(CCPoint(280, 120));
    button->setTitleFontSize(36);
    button->setTitleText("Play");
    button->setTitleColor(ccColor3B(255, 255, 0));
    panel->addChild(button);

    UILabel* label = UILabel::create();
    label->setFontSize(40);
    label->setText("Hello English!");
    label->setColor(ccColor3B(40, 40, 90));
    label->setPosition(CCPoint(280, 280));
    panel->addChild(label);

    drawFrame();
    EXPECT_TRUE(matchesReference("gui/reference_widgets.png"));
}

}  // namespace
