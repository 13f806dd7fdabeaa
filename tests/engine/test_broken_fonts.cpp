// Labels set in a font file that is empty, random or cut short.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "engine/nodes/CCFontCache.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/platform/CCFileUtils.h"
#include "support/Harness.h"

using namespace pagly::engine;

namespace {

class BrokenFontTest : public pagly::test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        m_savedRoot = CCFileUtils::sharedFileUtils()->getResourceRoot();
        CCFileUtils::sharedFileUtils()->setResourceRoot(PAGLY_BOOK_DIR);
    }
    void TearDown() override {
        for (const std::string& p : m_written) std::remove(p.c_str());
        CCFontCache::sharedFontCache()->purge();
        CCFileUtils::sharedFileUtils()->setResourceRoot(m_savedRoot);
        EngineTest::TearDown();
    }
    std::string write(const std::string& name, const std::string& bytes) {
        std::string path = ::testing::TempDir() + "pagly_font_" + name + ".ttf";
        FILE* f = fopen(path.c_str(), "wb");
        if (f) {
            fwrite(bytes.data(), 1, bytes.size(), f);
            fclose(f);
        }
        m_written.push_back(path);
        return path;
    }
    std::string m_savedRoot;
    std::vector<std::string> m_written;
};

TEST_F(BrokenFontTest, TextInABrokenFontFileFallsBackToAWorkingFont) {
    std::string real =
        CCFileUtils::sharedFileUtils()->getFileData("fonts/LiberationSans-Regular.ttf");
    ASSERT_GT(real.size(), 4096u);
    std::string random;
    for (int i = 0; i < 5000; ++i) random += (char)((i * 7919 + 13) % 251);
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty", ""},
        {"random", random},
        {"cut_short", real.substr(0, 2048)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = write(c.name, c.bytes);
        clearLog();
        CCLabelTTF* label = CCLabelTTF::create("Hello", path.c_str(), 24);
        ASSERT_NE(nullptr, label);
        EXPECT_GT(label->getContentSize().width, 20) << "the text is still shown";
        EXPECT_GT(label->getContentSize().height, 10);
        ASSERT_FALSE(logLines().empty());
        EXPECT_EQ(0u,
                  logLines()[0].find("cannot use " + path + ": it is not a font SDL_ttf can open"))
            << logLines()[0];
    }
}

}  // namespace
