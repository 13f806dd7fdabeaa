// Sprite sheets whose numbers are absurd, not numbers, or point outside their image.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "engine/nodes/CCSprite.h"
#include "engine/nodes/CCSpriteFrame.h"
#include "engine/nodes/CCSpriteFrameCache.h"
#include "engine/platform/UnusableFiles.h"
#include "support/Harness.h"

using namespace pagly::engine;

namespace {

class SheetValueTest : public pagly::test::EngineTest {
  protected:
    CCSpriteFrameCache* frames() { return CCSpriteFrameCache::sharedSpriteFrameCache(); }

    // Writes a sheet of the given format over the 64 x 64 fixture image; `framesXml` is the
    // inside of the "frames" dictionary.
    std::string writeSheet(const std::string& name, const std::string& format,
                           const std::string& framesXml) {
        std::string text =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
            "<key>frames</key><dict>" +
            framesXml + "</dict><key>metadata</key><dict><key>format</key><string>" + format +
            "</string><key>textureFileName</key><string>" PAGLY_FIXTURES_DIR
            "/render/sheet.png</string></dict></dict></plist>\n";
        std::string path = ::testing::TempDir() + "pagly_sheet_" + name + ".plist";
        FILE* f = fopen(path.c_str(), "wb");
        if (f) {
            fwrite(text.data(), 1, text.size(), f);
            fclose(f);
        }
        m_written.push_back(path);
        return path;
    }
    void TearDown() override {
        for (const std::string& p : m_written) std::remove(p.c_str());
        EngineTest::TearDown();
    }
    std::vector<std::string> m_written;
};

std::string frame2(const char* name, const char* rect, bool rotated = false,
                   const char* offset = "{0,0}", const char* source = "") {
    return std::string("<key>") + name + "</key><dict><key>frame</key><string>" + rect +
           "</string><key>offset</key><string>" + offset + "</string><key>rotated</key>" +
           (rotated ? "<true/>" : "<false/>") + "<key>sourceSize</key><string>" + source +
           "</string></dict>";
}

std::string frame0(const char* name, const char* x, const char* y, const char* w, const char* h,
                   const char* offsetX = "0", const char* originalWidth = "0") {
    auto entry = [](const char* key, const char* value) {
        return std::string("<key>") + key + "</key><string>" + value + "</string>";
    };
    return std::string("<key>") + name + "</key><dict>" + entry("x", x) + entry("y", y) +
           entry("width", w) + entry("height", h) + entry("offsetX", offsetX) +
           entry("offsetY", "0") + entry("originalWidth", originalWidth) +
           entry("originalHeight", "0") + "</dict>";
}

TEST_F(SheetValueTest, FramesOutsideTheImageOrNotANumberAreSkipped) {
    struct Case {
        const char* name;
        const char* format;
        std::string frame;
        bool kept;
    };
    const Case cases[] = {
        {"fits", "2", frame2("f", "{{0,0},{32,16}}"), true},
        {"fits at the far corner", "2", frame2("f", "{{32,32},{32,32}}"), true},
        {"rotated fits", "2", frame2("f", "{{0,40},{8,32}}", true), true},
        {"beyond the right edge", "2", frame2("f", "{{40,40},{32,8}}"), false},
        {"a million pixels wide", "2", frame2("f", "{{0,0},{1000000,1000000}}"), false},
        {"fits only unrotated", "2", frame2("f", "{{40,0},{8,32}}", true), false},
        {"format 0 fits", "0", frame0("f", "0", "0", "16", "16"), true},
        {"format 0 x is nan", "0", frame0("f", "nan", "0", "16", "16"), false},
        {"format 0 width is nan", "0", frame0("f", "0", "0", "nan", "16"), false},
        {"format 0 y is inf", "0", frame0("f", "0", "inf", "16", "16"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frames()->removeSpriteFrames();
        clearLog();
        forgetUnusableFiles();  // each case writes the sheet anew
        frames()->addSpriteFramesWithFile(writeSheet("case", c.format, c.frame).c_str());
        EXPECT_EQ(c.kept ? 1u : 0u, frames()->count());
        EXPECT_EQ(!c.kept, logged(std::string("cannot use ") + ::testing::TempDir() +
                                  "pagly_sheet_case.plist: its frames f have no size or lie "
                                  "outside its image; they are skipped"));
    }
}

TEST_F(SheetValueTest, NotANumberOffsetsAndSourceSizesFallBackToPlainOnes) {
    frames()->addSpriteFramesWithFile(
        writeSheet("offsets", "0", frame0("f", "0", "0", "16", "8", "inf", "nan")).c_str());
    CCSpriteFrame* f = frames()->spriteFrameByName("f");
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(CCPointZero, f->getOffset());
    EXPECT_EQ(CCSize(16, 8), f->getOriginalSize());
    CCSprite* sprite = CCSprite::createWithSpriteFrameName("f");
    ASSERT_NE(nullptr, sprite);
    EXPECT_EQ(CCSize(16, 8), sprite->getContentSize());
}

TEST_F(SheetValueTest, AFormatThatIsNoSmallNumberIsRefused) {
    const char* formats[] = {"1e30", "-1e30", "nan", "4", "-1"};
    for (const char* format : formats) {
        SCOPED_TRACE(format);
        frames()->removeSpriteFrames();
        clearLog();
        frames()->addSpriteFramesWithFile(
            writeSheet("format", format, frame2("f", "{{0,0},{8,8}}")).c_str());
        EXPECT_EQ(0u, frames()->count());
        EXPECT_TRUE(logged("cannot use " + ::testing::TempDir() +
                           "pagly_sheet_format.plist: it is a sprite sheet of unknown format " +
                           format));
    }
}

}  // namespace
