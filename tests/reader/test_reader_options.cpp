#include <gtest/gtest.h>

#include <string>

#include "engine/nodes/CCLabelTTF.h"
#include "gui/Layout.h"
#include "gui/reader/WidgetHeaders.h"
#include "reader/ReaderFixture.h"

using namespace pagly::engine;
using namespace pagly::gui;

namespace {

class ReaderOptionsTest : public pagly::test::ReaderTest {
  protected:
    // One node of the given class with the given option members.
    UIWidget* node(const char* classname, const std::string& options, bool legacy = false) {
        return build(
            std::string(R"({"classname": ")") + classname + R"(", "options": {)" + options + "}}",
            legacy);
    }
    std::string dir() const { return fixtures() + "/"; }
};

TEST_F(ReaderOptionsTest, VisibleTakesOnlyTrue) {
    struct Case {
        const char* options;
        bool visible;
    };
    const Case cases[] = {
        {R"("visible": 0)", false},      {R"("visible": 1)", false},
        {R"("visible": true)", true},    {R"("visible": false)", false},
        {R"("visible": "true")", false}, {"", true},
    };
    for (const char* classname : {"Panel", "ImageView", "Label"}) {
        for (const Case& c : cases) {
            UIWidget* w = node(classname, c.options);
            ASSERT_NE(nullptr, w) << classname;
            EXPECT_EQ(c.visible, w->isVisible()) << classname << " " << c.options;
        }
    }
}

TEST_F(ReaderOptionsTest, CommonAndColourDefaults) {
    for (const char* classname : {"Panel", "ImageView", "Button", "Label", "TextButton"}) {
        UIWidget* w = node(classname, "");
        ASSERT_NE(nullptr, w) << classname;
        EXPECT_STREQ("default", w->getName()) << classname;
        EXPECT_EQ(0, w->getTag()) << classname;  // a new widget's tag is -1
        EXPECT_EQ(0, w->getActionTag()) << classname;
        EXPECT_EQ(CCPoint(0.5f, 0.5f), w->getAnchorPoint()) << classname;
        EXPECT_EQ(CCPoint(0, 0), w->getPosition()) << classname;
        EXPECT_EQ(ccColor3B(255, 255, 255), w->getColor()) << classname;
        EXPECT_FALSE(w->isTouchEnabled()) << classname;
        EXPECT_EQ(0, w->getWidgetZOrder()) << classname;
    }
}

TEST_F(ReaderOptionsTest, CommonGroupApplied) {
    UIWidget* w =
        node("ImageView", R"("name": "pic", "tag": 7.9, "actiontag": 12, "touchAble": true,
        "x": 10.5, "y": -3, "scaleX": 2, "scaleY": 0.5, "rotation": 45, "ZOrder": 3,
        "ignoreSize": false, "width": 40, "height": 20, "opacity": 300, "colorR": 10,
        "colorG": 20, "colorB": 30, "anchorPointX": 0, "anchorPointY": 1)");
    ASSERT_NE(nullptr, w);
    EXPECT_STREQ("pic", w->getName());
    EXPECT_EQ(7, w->getTag());
    EXPECT_EQ(12, w->getActionTag());
    EXPECT_TRUE(w->isTouchEnabled());
    EXPECT_EQ(CCPoint(10.5f, -3), w->getPosition());
    EXPECT_FLOAT_EQ(2.0f, w->getScaleX());
    EXPECT_FLOAT_EQ(0.5f, w->getScaleY());
    EXPECT_FLOAT_EQ(45.0f, w->getRotation());
    EXPECT_EQ(3, w->getWidgetZOrder());
    EXPECT_EQ(CCSize(40, 20), w->getSize());
    EXPECT_EQ(300 & 0xFF, w->getOpacity());
    EXPECT_EQ(ccColor3B(10, 20, 30), w->getColor());
    EXPECT_EQ(CCPoint(0, 1), w->getAnchorPoint());
}

TEST_F(ReaderOptionsTest, PanelBackgroundDefaultsToTransparentBlack) {
    Layout* panel = dynamic_cast<Layout*>(node("Panel", ""));
    ASSERT_NE(nullptr, panel);
    EXPECT_EQ(ccColor3B(0, 0, 0), panel->getBackGroundColor());
    EXPECT_EQ(0, panel->getBackGroundColorOpacity());
    EXPECT_EQ(BackGroundColorNone, panel->getBackGroundColorType());
    EXPECT_FALSE(panel->isClippingEnabled());
    EXPECT_EQ(CCSize(0, 0), panel->getSize());
}

TEST_F(ReaderOptionsTest, PanelBackgroundOptions) {
    Layout* panel = dynamic_cast<Layout*>(node("Panel", R"("width": 100, "height": 50,
        "clipAble": true, "colorType": 2, "bgColorR": 1, "bgColorG": 2, "bgColorB": 3,
        "bgStartColorR": 4, "bgStartColorG": 5, "bgStartColorB": 6, "bgEndColorR": 7,
        "bgEndColorG": 8, "bgEndColorB": 9, "vectorX": 0.5, "vectorY": -1,
        "bgColorOpacity": 128, "backGroundScale9Enable": true,
        "backGroundImageData": {"resourceType": 0, "path": "images/btn.png"},
        "capInsetsX": 1, "capInsetsY": 2, "capInsetsWidth": 3, "capInsetsHeight": 4)"));
    ASSERT_NE(nullptr, panel);
    EXPECT_TRUE(panel->isClippingEnabled());
    EXPECT_EQ(BackGroundColorGradient, panel->getBackGroundColorType());
    EXPECT_NE(nullptr, panel->getGradientRenderer());
    EXPECT_EQ(ccColor3B(1, 2, 3), panel->getBackGroundColor());
    EXPECT_EQ(ccColor3B(4, 5, 6), panel->getBackGroundStartColor());
    EXPECT_EQ(ccColor3B(7, 8, 9), panel->getBackGroundEndColor());
    EXPECT_EQ(CCPoint(0.5f, -1), panel->getBackGroundColorVector());
    EXPECT_EQ(128, panel->getBackGroundColorOpacity());
    EXPECT_TRUE(panel->isBackGroundImageScale9Enabled());
    EXPECT_EQ(dir() + "images/btn.png", panel->getBackGroundImageFileName());
    EXPECT_EQ(CCRect(1, 2, 3, 4), panel->getBackGroundImageCapInsets());
    // Insets only count in nine-slice mode.
    panel = dynamic_cast<Layout*>(node("Panel", R"("capInsetsX": 1, "capInsetsWidth": 3)"));
    ASSERT_NE(nullptr, panel);
    EXPECT_EQ(CCRect(0, 0, 0, 0), panel->getBackGroundImageCapInsets());
}

struct ImageCase {
    const char* button;
    std::string file;  // relative to the fixtures folder when local
    TextureResType type;
};

TEST_F(ReaderOptionsTest, CurrentLayoutImageResourceTypes) {
    ASSERT_NE(nullptr, load("images.json"));
    EXPECT_FALSE(reader()->isLegacyDocument());
    const ImageCase cases[] = {
        {"type0", fixtures() + "/images/btn.png", TextureLocal},
        {"type1", "tiny_a.png", TexturePlist},
        {"type2", "", TextureLocal},      // no image for any other type
        {"nopath", "", TextureLocal},     // type 0 without a path
        {"legacykey", "", TextureLocal},  // the legacy key means nothing here
    };
    for (const ImageCase& c : cases) {
        UIButton* button = dynamic_cast<UIButton*>(find(c.button));
        ASSERT_NE(nullptr, button) << c.button;
        EXPECT_EQ(c.file, button->getNormalFile()) << c.button;
        EXPECT_EQ(c.type, button->getNormalTexType()) << c.button;
    }
    // A loaded texture gives the button its natural size.
    EXPECT_EQ(CCSize(12, 6), find("type0")->getSize());
    EXPECT_EQ(CCSize(8, 8), find("type1")->getSize());
}

TEST_F(ReaderOptionsTest, LegacyLayoutImages) {
    ASSERT_NE(nullptr, load("legacy_images.json"));
    EXPECT_TRUE(reader()->isLegacyDocument());
    const ImageCase cases[] = {
        {"file", fixtures() + "/images/btn.png", TextureLocal},  // "normalData" is not read
        {"merged", "tiny_a.png", TexturePlist},
        {"empty", "", TextureLocal},
    };
    for (const ImageCase& c : cases) {
        UIButton* button = dynamic_cast<UIButton*>(find(c.button));
        ASSERT_NE(nullptr, button) << c.button;
        EXPECT_EQ(c.file, button->getNormalFile()) << c.button;
        EXPECT_EQ(c.type, button->getNormalTexType()) << c.button;
    }
}

TEST_F(ReaderOptionsTest, TextButtonGetsTheButtonKeysAndItsOwn) {
    UIButton* b = dynamic_cast<UIButton*>(node("TextButton", R"("name": "tb",
        "scale9Enable": true, "normalData": {"resourceType": 0, "path": "images/btn.png"},
        "pressedData": {"resourceType": 0, "path": "images/bar.png"},
        "capInsetsX": 1, "capInsetsY": 1, "capInsetsWidth": 2, "capInsetsHeight": 2,
        "scale9Width": 80, "scale9Height": 30, "text": "Hi", "textColorR": 9,
        "fontSize": 18, "fontName": "Arial", "colorG": 100)"));
    ASSERT_NE(nullptr, b);
    EXPECT_STREQ("tb", b->getName());
    EXPECT_TRUE(b->isScale9Enabled());
    EXPECT_EQ(dir() + "images/btn.png", b->getNormalFile());
    EXPECT_EQ(dir() + "images/bar.png", b->getPressedFile());
    EXPECT_EQ(CCRect(1, 1, 2, 2), b->getCapInsetsNormal());
    EXPECT_EQ(CCSize(80, 30), b->getSize());
    EXPECT_STREQ("Hi", b->getTitleText());
    EXPECT_EQ(ccColor3B(9, 255, 255), b->getTitleColor());
    EXPECT_FLOAT_EQ(18.0f, b->getTitleFontSize());
    EXPECT_STREQ("Arial", b->getTitleFontName());
    EXPECT_EQ(ccColor3B(255, 100, 255), b->getColor());

    // A plain "Button" ignores the title keys.
    b = dynamic_cast<UIButton*>(node("Button", R"("text": "Hi", "textColorR": 9)"));
    ASSERT_NE(nullptr, b);
    EXPECT_STREQ("", b->getTitleText());
    EXPECT_EQ(ccColor3B(255, 255, 255), b->getTitleColor());
}

TEST_F(ReaderOptionsTest, AButtonTakesTouchesOnlyOnItsHitAreas) {
    // A 40 x 20 button (scale9 gives it its size) whose picture is lit on two "lines": the
    // top-right quarter and the bottom-left quarter, as a sentence over two lines is.
    UIButton* b = dynamic_cast<UIButton*>(node("Button", R"("scale9Enable": true,
        "normalData": {"resourceType": 0, "path": "images/btn.png"},
        "scale9Width": 40, "scale9Height": 20, "x": 100, "y": 100,
        "hitAreas": [{"x": 20, "y": 0, "width": 20, "height": 10},
                     {"x": 0, "y": 10, "width": 20, "height": 10},
                     {"x": 5, "y": 5, "width": 0, "height": 9}, 7, "text"])"));
    ASSERT_NE(nullptr, b);
    ASSERT_EQ(2u, b->getHitAreas().size()) << "the empty and malformed parts are left out";
    // The button's lower-left corner is at (80, 90) (centred anchor).
    EXPECT_TRUE(b->hitTest(CCPoint(110, 105)));   // top right
    EXPECT_TRUE(b->hitTest(CCPoint(90, 95)));     // bottom left
    EXPECT_FALSE(b->hitTest(CCPoint(90, 105)));   // top left: the neighbour's words
    EXPECT_FALSE(b->hitTest(CCPoint(110, 95)));   // bottom right
    EXPECT_FALSE(b->hitTest(CCPoint(130, 105)));  // outside the button

    // Without hit areas the whole rectangle takes touches.
    b = dynamic_cast<UIButton*>(node("Button", R"("scale9Enable": true,
        "normalData": {"resourceType": 0, "path": "images/btn.png"},
        "scale9Width": 40, "scale9Height": 20, "x": 100, "y": 100, "hitAreas": "none")"));
    ASSERT_NE(nullptr, b);
    EXPECT_TRUE(b->hitTest(CCPoint(90, 105)));
}

TEST_F(ReaderOptionsTest, ImageViewNineSlice) {
    for (bool legacy : {false, true}) {
        const char* file = legacy
                               ? R"("fileName": "images/btn.png")"
                               : R"("fileNameData": {"resourceType": 0, "path": "images/btn.png"})";
        UIImageView* image = dynamic_cast<UIImageView*>(
            node("ImageView", std::string(file) + R"(, "scale9Enable": true, "scale9Width": 50,
                "scale9Height": 20, "capInsetsX": 2, "capInsetsY": 1, "capInsetsWidth": 4,
                "capInsetsHeight": 3)",
                 legacy));
        ASSERT_NE(nullptr, image) << legacy;
        EXPECT_TRUE(image->isScale9Enabled()) << legacy;
        EXPECT_EQ(dir() + "images/btn.png", image->getTextureFile()) << legacy;
        EXPECT_EQ(CCSize(50, 20), image->getSize()) << legacy;
    }
    // Without nine-slice the scale9 size is not applied: the texture's size is used.
    UIImageView* plain = dynamic_cast<UIImageView*>(
        node("ImageView", R"("fileNameData": {"path": "images/btn.png"}, "scale9Width": 50,
                              "scale9Height": 20)"));
    ASSERT_NE(nullptr, plain);
    EXPECT_FALSE(plain->isScale9Enabled());
    EXPECT_EQ(CCSize(12, 6), plain->getSize());
}

TEST_F(ReaderOptionsTest, LabelAndTextArea) {
    UILabel* label = dynamic_cast<UILabel*>(node("Label", R"("text": "Hello", "fontSize": 30,
        "fontName": "Arial", "touchScaleEnable": true, "colorB": 0)"));
    ASSERT_NE(nullptr, label);
    EXPECT_STREQ("Hello", label->getStringValue());
    EXPECT_TRUE(label->isTouchScaleEnabled());
    EXPECT_FLOAT_EQ(30.0f, label->getLabelNode()->getFontSize());
    EXPECT_STREQ("Arial", label->getLabelNode()->getFontName());
    EXPECT_EQ(ccColor3B(255, 255, 0), label->getColor());

    UILabel* area = dynamic_cast<UILabel*>(node("TextArea", R"("text": "Some words",
        "fontName": "Arial", "areaWidth": 120, "areaHeight": 60, "hAlignment": 1,
        "vAlignment": 2)"));
    ASSERT_NE(nullptr, area);
    EXPECT_EQ(CCSize(120, 60), area->getLabelNode()->getDimensions());
    EXPECT_EQ(1, (int)area->getLabelNode()->getHorizontalAlignment());
    EXPECT_EQ(ccColor3B(255, 255, 255), area->getColor());  // the Colour group has the last word
    EXPECT_FALSE(area->isTouchScaleEnabled());

    // Area size only with both keys; absurd font sizes are kept renderable.
    area = dynamic_cast<UILabel*>(node("TextArea", R"("text": "x", "fontName": "Arial",
        "areaWidth": 120, "fontSize": 2000000000)"));
    ASSERT_NE(nullptr, area);
    EXPECT_EQ(CCSize(0, 0), area->getLabelNode()->getDimensions());
    EXPECT_LE(area->getLabelNode()->getFontSize(), 512.0f);
}

TEST_F(ReaderOptionsTest, LabelAtlasNeedsAllFiveKeys) {
    const char* keys[] = {"stringValue", "charMapFile", "itemWidth", "itemHeight", "startCharMap"};
    const char* values[] = {R"("123")", R"("images/digits.png")", "8", "8", R"("0")"};
    for (int missing = -1; missing < 5; ++missing) {
        std::string options = R"("name": "atlas", "colorR": 1)";
        for (int k = 0; k < 5; ++k) {
            if (k != missing) options += std::string(", \"") + keys[k] + "\": " + values[k];
        }
        UILabelAtlas* atlas = dynamic_cast<UILabelAtlas*>(node("LabelAtlas", options, true));
        ASSERT_NE(nullptr, atlas) << missing;
        EXPECT_STREQ(missing < 0 ? "123" : "", atlas->getStringValue()) << missing;
        EXPECT_STREQ("atlas", atlas->getName()) << missing;
        EXPECT_EQ(ccColor3B(1, 255, 255), atlas->getColor()) << missing;
    }
    // The current layout still needs the "charMapFile" key but takes the file from
    // "charMapFileData", and only as a file (type 0).
    const char* common = R"("stringValue": "12", "charMapFile": "", "itemWidth": 8,
                            "itemHeight": 8, "startCharMap": "0", )";
    struct Case {
        const char* data;
        const char* shown;
    };
    const Case cases[] = {
        {R"("charMapFileData": {"resourceType": 0, "path": "images/digits.png"})", "12"},
        {R"("charMapFileData": {"resourceType": 1, "path": "images/digits.png"})", ""},
        {R"("charMapFileData": {"resourceType": 0})", ""},
    };
    for (const Case& c : cases) {
        UILabelAtlas* atlas =
            dynamic_cast<UILabelAtlas*>(node("LabelAtlas", std::string(common) + c.data));
        ASSERT_NE(nullptr, atlas) << c.data;
        EXPECT_STREQ(c.shown, atlas->getStringValue()) << c.data;
    }
    // Zero-sized cells cut no characters: nothing is shown, nothing divides by zero.
    UILabelAtlas* zero = dynamic_cast<UILabelAtlas*>(node("LabelAtlas", R"("stringValue": "1",
        "charMapFile": "images/digits.png", "itemWidth": 0, "itemHeight": 8,
        "startCharMap": "0")",
                                                          true));
    ASSERT_NE(nullptr, zero);
    EXPECT_STREQ("", zero->getStringValue());
}

}  // namespace

namespace {

class ReaderContainerOptionsTest : public pagly::test::ReaderTest {
  protected:
    UIWidget* node(const char* classname, const std::string& options) {
        return build(std::string(R"({"classname": ")") + classname + R"(", "options": {)" +
                     options + "}}");
    }
};

TEST_F(ReaderContainerOptionsTest, ScrollViewGetsPanelThenItsOwnOptions) {
    UIScrollView* view = dynamic_cast<UIScrollView*>(node("ScrollView", R"("width": 100,
        "height": 80, "innerWidth": 100, "innerHeight": 300, "direction": 2.7,
        "clipAble": false, "colorType": 1, "bgColorG": 7)"));
    ASSERT_NE(nullptr, view);
    EXPECT_EQ(CCSize(100, 80), view->getSize());
    EXPECT_EQ(CCSize(100, 300), view->getInnerContainerSize());
    EXPECT_EQ(2, view->getDirection());      // truncated, written as it stands
    EXPECT_TRUE(view->isClippingEnabled());  // "clipAble" is not read for a scroll view
    EXPECT_EQ(ccColor3B(0, 7, 0), view->getBackGroundColor());

    view = dynamic_cast<UIScrollView*>(node("ScrollView", ""));
    ASSERT_NE(nullptr, view);
    EXPECT_EQ(0, view->getDirection());  // absent: direction 0
}

TEST_F(ReaderContainerOptionsTest, DragPanelGetsPanelThenItsOwnOptions) {
    UIDragPanel* panel = dynamic_cast<UIDragPanel*>(node("DragPanel", R"("width": 100,
        "height": 80, "innerWidth": 400, "innerHeight": 50, "bounceEnable": true)"));
    ASSERT_NE(nullptr, panel);
    EXPECT_TRUE(panel->isBounceEnabled());
    EXPECT_EQ(CCSize(400, 80), panel->getInnerContainerSize());  // never smaller than the panel
    panel = dynamic_cast<UIDragPanel*>(node("DragPanel", R"("bounceEnable": 1)"));
    ASSERT_NE(nullptr, panel);
    EXPECT_FALSE(panel->isBounceEnabled());
}

TEST_F(ReaderContainerOptionsTest, PageViewGetsPanelThenColourOptions) {
    UIPageView* page = dynamic_cast<UIPageView*>(node("PageView", R"("width": 50, "height": 60,
        "colorType": 1, "bgColorR": 9, "anchorPointX": 0.25, "clipAble": false)"));
    ASSERT_NE(nullptr, page);
    EXPECT_EQ(BackGroundColorSolid, page->getBackGroundColorType());
    EXPECT_EQ(ccColor3B(9, 0, 0), page->getBackGroundColor());
    EXPECT_EQ(CCSize(50, 60), page->getSize());
    EXPECT_FLOAT_EQ(0.25f, page->getAnchorPoint().x);
    EXPECT_FALSE(page->isClippingEnabled());  // a page view takes "clipAble" as a panel does
}

TEST_F(ReaderContainerOptionsTest, ChildrenOfScrollContainersGoIntoTheirContent) {
    UIScrollView* view = dynamic_cast<UIScrollView*>(
        build(R"({"classname": "ScrollView", "options": {"width": 10, "height": 10},
                  "children": [{"classname": "ImageView", "options": {"name": "inside"}}]})"));
    ASSERT_NE(nullptr, view);
    ASSERT_EQ(1u, view->getInnerContainer()->getChildren()->count());
    EXPECT_NE(nullptr, find("inside"));
}

}  // namespace

namespace {

class ReaderInputOptionsTest : public pagly::test::ReaderTest {
  protected:
    UIWidget* node(const char* classname, const std::string& options, bool legacy = false) {
        return build(
            std::string(R"({"classname": ")") + classname + R"(", "options": {)" + options + "}}",
            legacy);
    }
    std::string dir() const { return fixtures() + "/"; }
};

TEST_F(ReaderInputOptionsTest, CheckBoxLoadsItsFiveImages) {
    ASSERT_NE(nullptr, load("sheet_a.json"));  // brings the sheet's frames
    UICheckBox* box = dynamic_cast<UICheckBox*>(node("CheckBox", R"(
        "backGroundBoxData": {"resourceType": 0, "path": "images/btn.png"},
        "backGroundBoxSelectedData": {"resourceType": 1, "path": "tiny_a.png"},
        "frontCrossData": {"resourceType": 0, "path": "images/bar.png"},
        "backGroundBoxDisabledData": {"resourceType": 2, "path": "images/bar.png"},
        "frontCrossDisabledData": {"resourceType": 1, "path": "tiny_b.png"})"));
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(CCSize(12, 6), box->getBackGroundNode()->getContentSize());
    EXPECT_EQ(CCSize(8, 8), box->getBackGroundSelectedNode()->getContentSize());
    EXPECT_EQ(CCSize(20, 10), box->getFrontCrossNode()->getContentSize());
    EXPECT_EQ(CCSize(0, 0), box->getBackGroundDisabledNode()->getContentSize());
    EXPECT_EQ(CCSize(8, 8), box->getFrontCrossDisabledNode()->getContentSize());
    EXPECT_EQ(CCSize(12, 6), box->getSize());
    EXPECT_FALSE(box->isSelected());

    // Legacy layout: plain names, all from the sheet when merged.
    box = dynamic_cast<UICheckBox*>(node("CheckBox", R"("useMergedTexture": true,
        "backGroundBox": "tiny_a.png", "frontCross": "tiny_b.png")",
                                         true));
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(CCSize(8, 8), box->getBackGroundNode()->getContentSize());
    EXPECT_EQ(CCSize(8, 8), box->getFrontCrossNode()->getContentSize());
}

TEST_F(ReaderInputOptionsTest, SliderBarNeedsTheLegacyKey) {
    UISlider* slider = dynamic_cast<UISlider*>(node("Slider", R"(
        "barFileNameData": {"resourceType": 0, "path": "images/bar.png"},
        "ballNormalData": {"resourceType": 0, "path": "images/btn.png"},
        "progressBarData": {"resourceType": 0, "path": "images/bar.png"}, "percent": 40)"));
    ASSERT_NE(nullptr, slider);
    EXPECT_STREQ("", slider->getBarFile());
    EXPECT_EQ(dir() + "images/btn.png", slider->getBallNormalFile());
    EXPECT_EQ(dir() + "images/bar.png", slider->getProgressBarFile());
    EXPECT_EQ(40, slider->getPercent());

    // With "barFileName" present (its value unused) the bar comes from "barFileNameData";
    // in nine-slice mode the bar then takes "length" as its width.
    slider = dynamic_cast<UISlider*>(node("Slider", R"("barFileName": 0,
        "barFileNameData": {"resourceType": 0, "path": "images/bar.png"},
        "barTextureScale9Enable": true, "length": 150, "percent": 250)"));
    ASSERT_NE(nullptr, slider);
    EXPECT_EQ(dir() + "images/bar.png", slider->getBarFile());
    EXPECT_TRUE(slider->isScale9Enabled());
    EXPECT_FLOAT_EQ(150.0f, slider->getSize().width);
    EXPECT_EQ(100, slider->getPercent());

    slider = dynamic_cast<UISlider*>(node("Slider", R"("barFileName": "images/bar.png",
        "ballPressed": "images/btn.png")",
                                          true));
    ASSERT_NE(nullptr, slider);
    EXPECT_EQ(dir() + "images/bar.png", slider->getBarFile());
    EXPECT_EQ(dir() + "images/btn.png", slider->getBallPressedFile());
}

TEST_F(ReaderInputOptionsTest, LoadingBarInBothLayouts) {
    UILoadingBar* bar = dynamic_cast<UILoadingBar*>(node("LoadingBar", R"(
        "textureData": {"resourceType": 0, "path": "images/bar.png"}, "scale9Enable": true,
        "capInsetsX": 2, "capInsetsY": 2, "capInsetsWidth": 4, "capInsetsHeight": 4,
        "width": 200, "height": 10, "direction": 1, "percent": 30)"));
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(dir() + "images/bar.png", bar->getTextureFile());
    EXPECT_TRUE(bar->isScale9Enabled());
    EXPECT_EQ(CCSize(200, 10), bar->getSize());
    EXPECT_EQ(1, bar->getDirection());
    EXPECT_EQ(30, bar->getPercent());

    // The legacy layout has no nine-slice keys; "scale9Enable" is not read there.
    bar = dynamic_cast<UILoadingBar*>(node("LoadingBar", R"("useMergedTexture": true,
        "texture": "tiny_a.png", "scale9Enable": true, "percent": 70)",
                                           true));
    ASSERT_NE(nullptr, bar);
    EXPECT_STREQ("tiny_a.png", bar->getTextureFile());
    EXPECT_EQ(TexturePlist, bar->getTextureType());
    EXPECT_FALSE(bar->isScale9Enabled());
    EXPECT_EQ(0, bar->getDirection());
}

TEST_F(ReaderInputOptionsTest, TextFieldOptions) {
    UITextField* field = dynamic_cast<UITextField*>(node("TextField", R"("placeHolder": "name?",
        "text": "abc", "fontSize": 24, "fontName": "Arial", "touchSizeWidth": 100,
        "touchSizeHeight": 30, "maxLengthEnable": true, "maxLength": 5,
        "passwordEnable": true, "passwordStyleText": "#")"));
    ASSERT_NE(nullptr, field);
    EXPECT_STREQ("abc", field->getStringValue());
    EXPECT_TRUE(field->isUseTouchArea());
    EXPECT_EQ(CCSize(100, 30), field->getTouchSize());
    EXPECT_TRUE(field->isMaxLengthEnabled());
    EXPECT_EQ(5, field->getMaxLength());
    EXPECT_TRUE(field->isPasswordEnabled());
    EXPECT_STREQ("#", field->getPasswordStyleText());

    // One touch size alone is not applied; a maximum length without its switch is not read.
    field = dynamic_cast<UITextField*>(node("TextField", R"("touchSizeWidth": 100,
        "maxLength": 5, "passwordStyleText": "#")"));
    ASSERT_NE(nullptr, field);
    EXPECT_FALSE(field->isUseTouchArea());
    EXPECT_FALSE(field->isMaxLengthEnabled());
    EXPECT_EQ(0, field->getMaxLength());
    EXPECT_FALSE(field->isPasswordEnabled());
    EXPECT_STRNE("#", field->getPasswordStyleText());
}

}  // namespace

namespace {

class ReaderClassTableTest : public pagly::test::ReaderTest {};

TEST_F(ReaderClassTableTest, EachClassnameMakesItsWidget) {
    struct Case {
        const char* classname;
        const char* description;  // null: no widget
    };
    const Case cases[] = {
        {"Button", "Button"},          {"CheckBox", "CheckBox"},     {"Label", "Label"},
        {"LabelAtlas", "LabelAtlase"}, {"LoadingBar", "LoadingBar"}, {"ScrollView", "ScrollView"},
        {"TextArea", "Label"},         {"TextButton", "Button"},     {"TextField", "TextField"},
        {"ImageView", "ImageView"},    {"Panel", "Layout"},          {"Slider", "Slider"},
        {"ListView", nullptr},         {"PageView", "PageView"},     {"LabelBMFont", "LabelBMFont"},
        {"DragPanel", "DragPanel"},    {"button", nullptr},          {"", nullptr},
        {"Widget", nullptr},
    };
    for (bool legacy : {false, true}) {
        for (const Case& c : cases) {
            UIWidget* w = build(std::string(R"({"classname": ")") + c.classname + R"("})", legacy);
            if (!c.description) {
                EXPECT_EQ(nullptr, w) << c.classname;
                continue;
            }
            ASSERT_NE(nullptr, w) << c.classname;
            EXPECT_EQ(c.description, w->getDescription()) << c.classname;
        }
    }
}

}  // namespace
