#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "engine/director/CCDirector.h"
#include "engine/nodes/CCScene.h"
#include "engine/render/SDLRenderer.h"
#include "gui/UILayer.h"
#include "gui/UIRootWidget.h"
#include "gui/reader/WidgetHeaders.h"
#include "reader/ReaderFixture.h"

using namespace pagly::engine;
using namespace pagly::gui;

namespace {

// Documents whose image, sheet and option values name nothing sensible: every widget class is
// still built, drawn and touched without trouble (the fixture checks for leaks).
class ReaderBadReferencesTest : public pagly::test::ReaderTest {
  protected:
    void SetUp() override {
        ReaderTest::SetUp();
        renderer = SDLRenderer::createOffscreen(64, 96);
        CCDirector::sharedDirector()->setRenderer(renderer);
    }
    void TearDown() override {
        CCDirector::sharedDirector()->setRenderer(nullptr);
        CCDirector::sharedDirector()->reset();
        delete renderer;
        ReaderTest::TearDown();
    }

    // Builds one node of every class with the options, stages it, draws it and drags and taps
    // across it.
    void buildAll(const std::string& options, bool legacy) {
        for (const char* classname : kClasses) {
            UIWidget* w = build(std::string(R"({"classname": ")") + classname +
                                    R"(", "options": {)" + options +
                                    R"(}, "children": [{"classname": "Button", "options":
                                    {"touchAble": true, "width": 20, "height": 20}}]})",
                                legacy);
            ASSERT_NE(nullptr, w) << classname << " " << options;
            CCScene* scene = CCScene::create();
            UILayer* layer = UILayer::create();
            scene->addChild(layer);
            layer->getRootWidget()->addChild(w);
            run(scene);
            touchDown(10, 10);
            touchMove(30, 40);
            touchMove(-100, 400);
            touchUp(-100, 400);
            tap(w->getPosition().x, w->getPosition().y);
            kept.reset();
            CCDirector::sharedDirector()->replaceScene(CCScene::create());
            step();
        }
    }

    static constexpr const char* kClasses[] = {
        "Button",     "CheckBox", "Label",      "LabelAtlas",  "LoadingBar",
        "ScrollView", "TextArea", "TextButton", "TextField",   "ImageView",
        "Panel",      "Slider",   "PageView",   "LabelBMFont", "DragPanel"};
    SDLRenderer* renderer = nullptr;
};

// Every image key of every class, with the same value.
std::string everyImage(const std::string& value, bool legacy) {
    const char* legacyKeys[] = {"normal",
                                "pressed",
                                "disabled",
                                "backGroundBox",
                                "backGroundBoxSelected",
                                "frontCross",
                                "backGroundBoxDisabled",
                                "frontCrossDisabled",
                                "fileName",
                                "texture",
                                "barFileName",
                                "ballNormal",
                                "ballPressed",
                                "ballDisabled",
                                "progressBarFileName",
                                "backGroundImage",
                                "charMapFile"};
    const char* currentKeys[] = {"normalData",
                                 "pressedData",
                                 "disabledData",
                                 "backGroundBoxData",
                                 "backGroundBoxSelectedData",
                                 "frontCrossData",
                                 "backGroundBoxDisabledData",
                                 "frontCrossDisabledData",
                                 "fileNameData",
                                 "textureData",
                                 "barFileNameData",
                                 "ballNormalData",
                                 "ballPressedData",
                                 "ballDisabledData",
                                 "progressBarData",
                                 "backGroundImageData",
                                 "charMapFileData"};
    std::string out = R"("stringValue": "12", "itemWidth": 8, "itemHeight": 8,
        "startCharMap": "0", "text": "ab", "width": 30, "height": 20, "length": 90,
        "percent": 50, "scale9Enable": true, "barTextureScale9Enable": true,
        "backGroundScale9Enable": true, "capInsetsX": 100, "capInsetsWidth": 100)";
    if (!legacy) out += R"(, "barFileName": 0, "charMapFile": 0)";
    for (const char* key : legacy ? legacyKeys : currentKeys) {
        out += std::string(", \"") + key + "\": " + value;
    }
    return out;
}

TEST_F(ReaderBadReferencesTest, ImagesThatNameNothingUsable) {
    ASSERT_NE(nullptr, load("sheet_a.json"));  // its frames are in the cache
    const char* legacyValues[] = {"null",           "0",
                                  R"("")",          R"("nosuch.png")",
                                  R"("images")",    R"("sheets/tiny.plist")",
                                  R"("/")",         R"("../../../../../../../../../dev/zero")",
                                  R"("tiny_a.png")"};
    for (const char* merged : {"false", "true"}) {
        for (const char* v : legacyValues) {
            buildAll(everyImage(v, true) + R"(, "useMergedTexture": )" + merged, true);
        }
    }
    const char* currentValues[] = {
        "null",
        "0",
        "[1, 2]",
        "{}",
        R"({"resourceType": 1})",
        R"({"resourceType": 1, "path": 5})",
        R"({"resourceType": 1, "path": "nosuch"})",
        R"({"resourceType": "1", "path": "tiny_a.png"})",
        R"({"resourceType": 0, "path": "images"})",
        R"({"resourceType": 0, "path": "../../../../../../../../../dev/zero"})",
        R"({"resourceType": 0, "path": "sheets/tiny.plist"})",
        R"({"resourceType": 1e30, "path": "tiny_a.png"})",
        R"({"resourceType": -1, "path": "tiny_a.png"})"};
    for (const char* v : currentValues) buildAll(everyImage(v, false), false);
}

TEST_F(ReaderBadReferencesTest, AbsurdOptionsSurviveDrawingAndTouches) {
    const char* cases[] = {
        R"("direction": 3, "innerWidth": 1e9, "innerHeight": -5, "width": 50, "height": 50,
           "touchAble": true, "bounceEnable": true)",
        R"("direction": -1, "percent": -30, "width": 50, "height": 50, "touchAble": true)",
        R"("percent": 1e12, "touchAble": true, "maxLengthEnable": true, "maxLength": -4,
           "passwordEnable": true, "passwordStyleText": "", "text": "hello")",
        R"("passwordEnable": true, "passwordStyleText": "abc", "text": "hello",
           "touchAble": true, "fontName": "", "fontSize": -5, "placeHolder": "")",
        R"("stringValue": "\u0001\u00ff~", "charMapFile": "images/digits.png",
           "itemWidth": 100000, "itemHeight": 3, "startCharMap": "")",
        R"("fileName": "images/btn.png", "text": "abc")",
        R"("text": "a long text a long text", "areaWidth": 1, "areaHeight": 1,
           "hAlignment": 2, "vAlignment": 1, "fontName": "nosuch.ttf", "fontSize": 512)",
        R"("scaleX": 0, "scaleY": -3, "rotation": 1e30, "x": 1e30, "touchAble": true,
           "touchScaleEnable": true, "text": "hi")",
        R"("anchorPointX": 1e30, "anchorPointY": -1e30, "touchAble": true, "ignoreSize": true,
           "touchSizeWidth": -5, "touchSizeHeight": 1e30)",
        R"("colorType": 2, "vectorX": 0, "vectorY": 0, "width": 50, "height": 50,
           "clipAble": true, "bgColorOpacity": 255)",
    };
    for (const char* options : cases) {
        buildAll(options, false);
        buildAll(options, true);
    }
}

TEST_F(ReaderBadReferencesTest, SheetsThatAreNoSheets) {
    std::string path = testing::TempDir() + "oddsheets.json";
    std::string plists = fixtures() + "/../plist/";
    std::ofstream(path) << R"({"version": "1.2.0.0", "designWidth": 10, "designHeight": 10,
        "textures": ["oddsheets.json", "", "/", "../../../../../../../../../dev/zero", ")"
                        << plists << R"(arrayroot.plist", ")" << plists << R"(truncated.plist",
        ")" << plists << R"(nested.plist", ")"
                        << fixtures() << R"(/images/btn.png"],
        "widgetTree": {"classname": "ImageView",
                       "options": {"fileNameData": {"resourceType": 1, "path": "a"}}}})";
    testing::internal::CaptureStdout();
    EXPECT_NE(nullptr, load(path.c_str()));
    testing::internal::GetCapturedStdout();
    step();
}

}  // namespace
