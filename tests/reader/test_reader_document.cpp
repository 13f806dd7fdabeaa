#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "engine/base/CCArray.h"
#include "engine/base/CCDictionary.h"
#include "engine/director/CCDirector.h"
#include "engine/nodes/CCSpriteFrameCache.h"
#include "engine/render/CCTexture2D.h"
#include "gui/Layout.h"
#include "gui/reader/ActionNode.h"
#include "gui/reader/ActionObject.h"
#include "gui/reader/WidgetHeaders.h"
#include "reader/ReaderFixture.h"

using namespace pagly::engine;
using namespace pagly::gui;

namespace {

class ReaderDocumentTest : public pagly::test::ReaderTest {};

TEST(CCSGUIReaderVersion, ParsesFourPartVersions) {
    struct Case {
        const char* text;
        int value;
    };
    const Case cases[] = {
        {"1.2.0.0", 1200},
        {"0.2.5.0", 250},
        {"0.2.4.9", 249},
        {"1.0", 0},  // shorter than 7 characters
        {"1.2.30", 0},
        {"1.2.3.", 0},
        {"1.2.3.4", 1234},  // seven characters are enough
        {"", 0},
        {nullptr, 0},
        {"12.3.4.5", 12345},
        {"1.2.3.4.5", 1234},      // the fourth part ends at the next '.'
        {"1234567", 1234567000},  // one part only; the missing ones read as 0
        {"a.b.c.d.e", 0},
        {"99999999999.0.0.0", 2147483647},  // saturates instead of overflowing
        {"-9999999999.0.0.0", -2147483647 - 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.value, CCSGUIReader::parseVersion(c.text)) << (c.text ? c.text : "null");
    }
}

// Writes a one-widget document with the given root members into the temp folder.
std::string writeDocument(const std::string& name, const std::string& members) {
    std::string path = testing::TempDir() + name;
    std::ofstream(path) << "{" << members << (members.empty() ? "" : ", ")
                        << R"("designWidth": 100, "designHeight": 100,
                              "widgetTree": {"classname": "Panel", "options": {"name": "r"}}})";
    return path;
}

TEST_F(ReaderDocumentTest, VersionSelectsTheLayout) {
    struct Case {
        const char* members;
        bool legacy;
    };
    const Case cases[] = {
        {R"("version": "1.2.0.0")", false},
        {R"("version": "0.2.5.0")", false},
        {R"("version": "0.2.4.9")", true},
        {R"("version": "1.0")", true},
        {"", true},
        {R"("version": 1200)", true},
    };
    for (const Case& c : cases) {
        std::string path = writeDocument("version.json", c.members);
        ASSERT_NE(nullptr, load(path.c_str())) << c.members;
        EXPECT_EQ(c.legacy, reader()->isLegacyDocument()) << c.members;
    }
}

TEST_F(ReaderDocumentTest, UnreadableOrEmptyFilesPrintTheErrorAndGiveNull) {
    for (const char* name : {"no/such/file.json", "empty.json", "zero_byte.json", "images"}) {
        WidgetHelper::instance()->setDesignSize(CCSize(1, 2));
        testing::internal::CaptureStdout();
        EXPECT_EQ(nullptr, load(name)) << name;
        EXPECT_EQ("read json file[" + std::string(name) + "] error!\n",
                  testing::internal::GetCapturedStdout());
        EXPECT_EQ(CCSize(1, 2), WidgetHelper::instance()->getDesignSize()) << name;
        EXPECT_EQ(nullptr, ActionManager::instance()->getActionList(name)) << name;
    }
}

TEST_F(ReaderDocumentTest, DesignSizeIsRecordedOrReplacedByTheWindowSize) {
    testing::internal::CaptureStdout();
    ASSERT_NE(nullptr, load("root_nosize.json"));
    EXPECT_EQ("", testing::internal::GetCapturedStdout());
    EXPECT_EQ(CCSize(320, 480), WidgetHelper::instance()->getDesignSize());

    testing::internal::CaptureStdout();
    UIWidget* root = load("design_zero.json");
    EXPECT_EQ("Read design size error!\n", testing::internal::GetCapturedStdout());
    EXPECT_EQ(CCDirector::sharedDirector()->getWinSize(),
              WidgetHelper::instance()->getDesignSize());
    // The zero-sized root still takes the pair as read.
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(CCSize(0, 960), root->getSize());
}

TEST_F(ReaderDocumentTest, RootPanelSizes) {
    UIWidget* root = load("root_nosize.json");
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(CCSize(320, 480), root->getSize());
    root = load("root_0x10.json");
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(CCSize(0, 10), root->getSize());
    // An immense design size is recorded, but a panel is never made larger than the reader
    // allows any widget to be.
    std::string path = testing::TempDir() + "immense.json";
    std::ofstream(path) << R"({"designWidth": 1e9, "designHeight": 100,
                               "widgetTree": {"classname": "Panel"}})";
    root = load(path.c_str());
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(CCSize(1e9f, 100), WidgetHelper::instance()->getDesignSize());
    EXPECT_EQ(CCSize(65536, 100), root->getSize());
}

TEST_F(ReaderDocumentTest, DocumentDirectoryComesFromTheResolvedPath) {
    ASSERT_NE(nullptr, load("pages/p1.json"));
    EXPECT_EQ(fixtures() + "/pages/", reader()->getDocumentDirectory());

    // A path without '/' gives an empty directory: names are then used bare.
    std::string previous = files->getResourceRoot();
    char cwd[4096];
    ASSERT_NE(nullptr, getcwd(cwd, sizeof cwd));
    ASSERT_EQ(0, chdir((fixtures() + "/pages").c_str()));
    files->setResourceRoot("");
    EXPECT_NE(nullptr, load("p1.json"));
    EXPECT_EQ("", reader()->getDocumentDirectory());
    ASSERT_EQ(0, chdir(cwd));
    files->setResourceRoot(previous);
}

TEST_F(ReaderDocumentTest, UnknownClassesAreSkippedAndSiblingsKeepTheirOrder) {
    UIWidget* root = load("bad/unknown_class.json");
    ASSERT_NE(nullptr, root);
    CCArray* children = root->getChildren();
    ASSERT_EQ(2u, children->count());
    EXPECT_STREQ("first", static_cast<UIWidget*>(children->objectAtIndex(0))->getName());
    EXPECT_STREQ("second", static_cast<UIWidget*>(children->objectAtIndex(1))->getName());
    for (const char* lost : {"mystery", "lost", "noclass", "numberclass", "list", "lost2"}) {
        EXPECT_EQ(nullptr, find(lost)) << lost;
    }
}

TEST_F(ReaderDocumentTest, SheetsLoadOnceAcrossDocuments) {
    CCSpriteFrameCache* frames = CCSpriteFrameCache::sharedSpriteFrameCache();
    ASSERT_NE(nullptr, load("sheet_a.json"));  // lists the sheet twice
    std::string sheet = fixtures() + "/sheets/tiny.plist";
    EXPECT_TRUE(WidgetHelper::instance()->isSpriteFramesLoaded(sheet.c_str()));
    ASSERT_NE(nullptr, frames->spriteFrameByName("tiny_b.png"));

    // Forget the frames behind the helper's back: a second document naming the same sheet
    // must not load it again while the helper lives ...
    frames->removeSpriteFrames();
    ASSERT_NE(nullptr, load("sheet_b.json"));
    EXPECT_EQ(nullptr, frames->spriteFrameByName("tiny_b.png"));

    // ... and a new helper (after a page's clean-up) loads it afresh.
    pagly::test::ReaderTest::destroySingletons();
    ASSERT_NE(nullptr, load("sheet_b.json"));
    EXPECT_NE(nullptr, frames->spriteFrameByName("tiny_b.png"));
}

TEST_F(ReaderDocumentTest, TexturesThatAreNotStringsAreSkipped) {
    testing::internal::CaptureStdout();
    ASSERT_NE(nullptr, load("bad/textures_nonstring.json"));
    testing::internal::GetCapturedStdout();
    std::string sheet = fixtures() + "/bad/sheets/tiny.plist";  // relative to the document
    EXPECT_TRUE(WidgetHelper::instance()->isSpriteFramesLoaded(sheet.c_str()));
}

TEST_F(ReaderDocumentTest, ReadingTwiceGivesTwoTreesAndReplacesTheTimelines) {
    RefPtr<UIWidget> first = load("pages/p1.json");
    CCArray* firstTimelines = ActionManager::instance()->getActionList("p1.json");
    ASSERT_NE(nullptr, firstTimelines);
    RefPtr<CCArray> firstKept = firstTimelines;
    UIWidget* second = load("pages/p1.json");
    ASSERT_NE(nullptr, second);
    EXPECT_NE(first.get(), second);
    CCArray* secondTimelines = ActionManager::instance()->getActionList("p1.json");
    ASSERT_NE(nullptr, secondTimelines);
    EXPECT_NE(firstKept.get(), secondTimelines);
    EXPECT_EQ(1u, secondTimelines->count());
    // The new timeline is bound to the new tree.
    ActionObject* timeline = ActionManager::instance()->getActionObject("p1.json", "first");
    ASSERT_NE(nullptr, timeline);
    ActionNode* node = static_cast<ActionNode*>(timeline->getNodes()->objectAtIndex(0));
    EXPECT_EQ(WidgetHelper::findWidgetByName(second, "img"), node->getTarget());
}

TEST_F(ReaderDocumentTest, DocumentsWithTheSameBaseNameShareOneEntry) {
    ASSERT_NE(nullptr, load("pages/p1.json"));
    ASSERT_NE(nullptr, load("other/p1.json"));
    ActionManager* manager = ActionManager::instance();
    EXPECT_EQ(1u, manager->getActionsByDocument()->count());
    CCArray* list = manager->getActionList("p1.json");
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(2u, list->count());
    EXPECT_NE(nullptr, manager->getActionObject("p1.json", "second2"));
    EXPECT_EQ(nullptr, manager->getActionObject("p1.json", "first"));
}

TEST_F(ReaderDocumentTest, ADocumentWithoutAnimationRecordsAnEmptyList) {
    ASSERT_NE(nullptr, load("root_nosize.json"));
    CCArray* list = ActionManager::instance()->getActionList("root_nosize.json");
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(0u, list->count());
}

TEST_F(ReaderDocumentTest, TimelinesWithoutANameAreSkipped) {
    ASSERT_NE(nullptr, load("bad/timeline_noname.json"));
    CCArray* list = ActionManager::instance()->getActionList("timeline_noname.json");
    ASSERT_NE(nullptr, list);
    ASSERT_EQ(1u, list->count());
    EXPECT_EQ("ok", static_cast<ActionObject*>(list->objectAtIndex(0))->getName());
}

TEST_F(ReaderDocumentTest, BrokenDocumentsNeverCrash) {
    struct Case {
        const char* file;
        bool tree;
    };
    const Case cases[] = {
        {"bad/syntax.json", true},  // the parser's partial value is used
        {"bad/wrongtypes.json", true},
        {"bad/absurd.json", true},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStdout();
        UIWidget* root = load(c.file);
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(c.tree, root != nullptr) << c.file;
        step();  // the tree is drawn and its autoreleased parts drained without trouble
    }
}

TEST_F(ReaderDocumentTest, WrongTypesTakeTheDefaults) {
    testing::internal::CaptureStdout();
    UIWidget* root = load("bad/wrongtypes.json");
    EXPECT_EQ("Read design size error!\n", testing::internal::GetCapturedStdout());
    ASSERT_NE(nullptr, root);
    EXPECT_TRUE(reader()->isLegacyDocument());  // a number is no version
    EXPECT_STREQ("default", root->getName());
    EXPECT_EQ(0, root->getTag());
    EXPECT_FALSE(root->isVisible());  // present, but not a boolean
    EXPECT_FALSE(root->isTouchEnabled());
    EXPECT_EQ(CCPoint(0.5f, 0.5f), root->getAnchorPoint());
    EXPECT_EQ(0u, root->getChildren()->count());  // "children" is an object here
    Layout* panel = dynamic_cast<Layout*>(root);
    ASSERT_NE(nullptr, panel);
    EXPECT_FALSE(panel->isClippingEnabled());
    EXPECT_EQ(BackGroundColorNone, panel->getBackGroundColorType());
}

TEST_F(ReaderDocumentTest, AbsurdNumbersAreTamed) {
    testing::internal::CaptureStdout();
    UIWidget* root = load("bad/absurd.json");
    EXPECT_EQ("Read design size error!\n", testing::internal::GetCapturedStdout());
    ASSERT_NE(nullptr, root);
    EXPECT_FALSE(reader()->isLegacyDocument());  // the version saturates high
    // Negative sizes count as 0, sizes beyond any float as 0: the root then gets the
    // design size, which is invalid too and sizes nothing.
    EXPECT_EQ(CCSize(0, 0), root->getSize());
    EXPECT_EQ(2147483647, root->getTag());
    EXPECT_EQ(-2147483647 - 1, root->getActionTag());
    EXPECT_FLOAT_EQ(0.0f, root->getPosition().x);
    Layout* panel = dynamic_cast<Layout*>(root);
    ASSERT_NE(nullptr, panel);
    EXPECT_EQ(BackGroundColorNone, panel->getBackGroundColorType());  // 99 is no kind
    EXPECT_EQ(255, panel->getBackGroundColorOpacity());               // saturated, low byte
    EXPECT_EQ(4u, root->getChildren()->count());
    CCArray* timelines = ActionManager::instance()->getActionList("absurd.json");
    ASSERT_NE(nullptr, timelines);
    EXPECT_EQ(1u, timelines->count());
}

TEST_F(ReaderDocumentTest, DeepNestingIsCutOffWithoutOverflow) {
    for (int depth : {60, 5000}) {
        std::string tree;
        for (int i = 0; i < depth; ++i) {
            tree += R"({"classname": "Panel", "options": {"name": "p)" + std::to_string(i) +
                    R"("}, "children": [)";
        }
        for (int i = 0; i < depth; ++i) tree += "]}";
        std::string path = testing::TempDir() + "deep.json";
        std::ofstream(path) << R"({"designWidth": 10, "designHeight": 10, "widgetTree": )" << tree
                            << "}";
        UIWidget* root = load(path.c_str());
        ASSERT_NE(nullptr, root) << depth;
        int levels = 1;
        for (UIWidget* w = root; w->getChildren()->count() > 0; ++levels) {
            w = static_cast<UIWidget*>(w->getChildren()->objectAtIndex(0));
        }
        if (depth == 60) {
            EXPECT_EQ(60, levels);
        } else {
            EXPECT_LT(levels, CCSGUIReader::kMaxWidgetDepth + 1);
        }
        kept.reset();
        step();
    }
}

TEST_F(ReaderDocumentTest, SingletonsCanBeDestroyedAndCreatedAgain) {
    CCSGUIReader* first = CCSGUIReader::instance();
    EXPECT_EQ(first, CCSGUIReader::instance());
    ASSERT_NE(nullptr, load("pages/p1.json"));
    pagly::test::ReaderTest::destroySingletons();
    EXPECT_FALSE(CCSGUIReader::hasInstance());
    EXPECT_FALSE(ActionManager::hasInstance());
    EXPECT_FALSE(WidgetHelper::hasInstance());
    EXPECT_NE(nullptr, load("pages/p1.json"));
    EXPECT_TRUE(ActionManager::hasInstance());
}

}  // namespace
