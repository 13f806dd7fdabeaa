// Bitmap fonts whose numbers are as large as a broken file may hold, with long texts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "engine/nodes/CCLabelBMFont.h"
#include "engine/platform/CCFileUtils.h"
#include "support/Harness.h"

using namespace pagly::engine;

namespace {

class BMFontLimitTest : public pagly::test::EngineTest {
  protected:
    void TearDown() override {
        std::remove(m_path.c_str());
        std::remove(m_page.c_str());
        CCLabelBMFont::purgeCachedData();
        EngineTest::TearDown();
    }
    // A font whose 'A' advances (and whose lines are) as far as the format allows.
    std::string writeHugeFont() {
        // The page image sits beside the font, as page files are named relative to it.
        m_page = ::testing::TempDir() + "pagly_huge.png";
        writeFile(m_page, CCFileUtils::sharedFileUtils()->getFileData(PAGLY_FIXTURES_DIR
                                                                      "/labels/tiny.png"));
        std::string text =
            "common lineHeight=100000 base=12\npage id=0 file=\"pagly_huge.png\"\n"
            "char id=65 x=0 y=0 width=10 height=10 xoffset=0 yoffset=0 "
            "xadvance=100000\n"
            "kerning first=65 second=65 amount=100000\n";
        m_path = ::testing::TempDir() + "pagly_huge.fnt";
        writeFile(m_path, text);
        return m_path;
    }
    static void writeFile(const std::string& path, const std::string& bytes) {
        FILE* f = fopen(path.c_str(), "wb");
        if (!f) return;
        fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }
    std::string m_path, m_page;
};

TEST_F(BMFontLimitTest, HugeAdvancesAndLineHeightsOverLongTextsDoNotOverflow) {
    std::string font = writeHugeFont();
    struct Case {
        const char* name;
        std::string text;
        float width;
    };
    const Case cases[] = {
        {"one long line", std::string(30000, 'A'), kLabelAutomaticWidth},
        {"many lines", std::string(30000, '\n') + "A", kLabelAutomaticWidth},
        {"wrapped words", std::string(15000, 'A') + " " + std::string(15000, 'A'), 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCLabelBMFont* label = CCLabelBMFont::create(c.text.c_str(), font.c_str(), c.width);
        ASSERT_NE(nullptr, label);
        CCSize size = label->getContentSize();
        EXPECT_TRUE(std::isfinite(size.width) && size.width > 0) << size.width;
        EXPECT_TRUE(std::isfinite(size.height) && size.height > 0) << size.height;
    }
}

}  // namespace
