#include <string>

#include "engine/base/CCArray.h"
#include "engine/base/CCDictionary.h"
#include "engine/base/CCString.h"
#include "engine/platform/CCFileUtils.h"
#include "support/Harness.h"

using namespace pagly::engine;

namespace {

class PlistTest : public pagly::test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        files = CCFileUtils::sharedFileUtils();
        savedRoot = files->getResourceRoot();
        files->setResourceRoot(std::string(PAGLY_FIXTURES_DIR) + "/plist");
    }
    void TearDown() override {
        files->setResourceRoot(savedRoot);
        EngineTest::TearDown();
    }
    CCFileUtils* files = nullptr;
    std::string savedRoot;
};

std::string text(CCDictionary* d, const char* key) {
    CCString* s = dynamic_cast<CCString*>(d->objectForKey(key));
    return s ? s->getCString() : "<absent>";
}

TEST_F(PlistTest, ReadsNestedDictionariesArraysAndScalars) {
    CCDictionary* d = CCDictionary::createWithContentsOfFile("nested.plist");
    ASSERT_NE(nullptr, d);
    EXPECT_EQ("Hello & welcome", text(d, "title"));
    EXPECT_EQ(42, dynamic_cast<CCString*>(d->objectForKey("count"))->intValue());
    EXPECT_FLOAT_EQ(0.5f, dynamic_cast<CCString*>(d->objectForKey("ratio"))->floatValue());
    EXPECT_TRUE(dynamic_cast<CCString*>(d->objectForKey("on"))->boolValue());
    EXPECT_FALSE(dynamic_cast<CCString*>(d->objectForKey("off"))->boolValue());
    EXPECT_EQ("", text(d, "empty"));
    EXPECT_EQ(nullptr, d->objectForKey("missing"));
    CCDictionary* inner = dynamic_cast<CCDictionary*>(d->objectForKey("inner"));
    ASSERT_NE(nullptr, inner);
    EXPECT_EQ("{{2,4},{30,20}}", text(inner, "frame"));
    CCArray* list = dynamic_cast<CCArray*>(d->objectForKey("list"));
    ASSERT_NE(nullptr, list);
    ASSERT_EQ(2u, list->count());
    EXPECT_EQ("v", text(dynamic_cast<CCDictionary*>(list->objectAtIndex(1)), "k"));
}

TEST_F(PlistTest, BadFilesGiveNullAndALogLine) {
    const char* cases[] = {"missing.plist", "truncated.plist", "arrayroot.plist", ""};
    for (const char* name : cases) {
        clearLog();
        EXPECT_EQ(nullptr, CCDictionary::createWithContentsOfFile(name)) << name;
        if (*name) {
            EXPECT_EQ(1u, logLines().size()) << name;
        }
    }
}

// Text tables are read anew for every sentence: a broken one is named once, with the reason.
TEST_F(PlistTest, ABrokenTableIsNamedOnceWithTheReason) {
    struct Case {
        const char* name;
        const char* reason;
    };
    const Case cases[] = {
        {"missing.plist", "it is missing"},
        {"truncated.plist", "it is not a valid property list: "},
        {"arrayroot.plist", "it is not a property list of keys and values"},
    };
    for (const Case& c : cases) {
        clearLog();
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(nullptr, CCDictionary::createWithContentsOfFile(c.name));
        ASSERT_EQ(1u, logLines().size()) << c.name;
        EXPECT_EQ(0u, logLines()[0].find(std::string("cannot use ") + c.name + ": " + c.reason))
            << logLines()[0];
    }
}

TEST_F(PlistTest, DeepNestingIsCutOffNotOverflowed) {
    std::string text = "<plist><dict>";
    for (int i = 0; i < 20000; ++i) text += "<key>k</key><dict>";
    for (int i = 0; i < 20000; ++i) text += "</dict>";
    text += "</dict></plist>";
    CCDictionary* d = CCDictionary::createWithPlistText(text, "deep");
    // pugixml itself parses without recursion; our walk stops at a sane depth.
    ASSERT_NE(nullptr, d);
    EXPECT_EQ(1u, d->count());
}

TEST_F(PlistTest, FullPathFallsBackToTheBareName) {
    EXPECT_EQ(files->getResourceRoot() + "nested.plist",
              files->fullPathForFilename("nested.plist"));
    EXPECT_EQ("nope/missing.png", files->fullPathForFilename("nope/missing.png"));
    EXPECT_EQ("", files->fullPathForFilename(""));
}

}  // namespace
