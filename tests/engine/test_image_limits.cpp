// Image files whose header claims a size no book image has.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "engine/nodes/CCSprite.h"
#include "engine/render/CCTexture2D.h"
#include "engine/render/CCTextureCache.h"
#include "support/Harness.h"

using namespace pagly::engine;

namespace {

using ImageLimitTest = pagly::test::EngineTest;

unsigned long crc32Of(const std::string& bytes) {
    unsigned long crc = 0xFFFFFFFFul;
    for (unsigned char b : bytes) {
        crc ^= b;
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320ul & (0ul - (crc & 1)));
    }
    return crc ^ 0xFFFFFFFFul;
}

std::string be32(unsigned long v) {
    return std::string{(char)(v >> 24), (char)(v >> 16), (char)(v >> 8), (char)v};
}

std::string chunk(const std::string& type, const std::string& data) {
    return be32(data.size()) + type + data + be32(crc32Of(type + data));
}

// A well-formed PNG header (valid checksums) for a width x height RGBA image, followed by a
// scrap of image data: what a truncated or doctored file looks like to the decoder.
std::string writePngHeader(unsigned long width, unsigned long height) {
    std::string ihdr = be32(width) + be32(height) + std::string("\x08\x06\x00\x00\x00", 5);
    std::string png = std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", ihdr) +
                      chunk("IDAT", std::string("\x78\x9c\x63\x60\x00\x00", 6)) + chunk("IEND", "");
    std::string path = ::testing::TempDir() + "pagly_claims_" + std::to_string(width) + "x" +
                       std::to_string(height) + ".png";
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return "";
    fwrite(png.data(), 1, png.size(), f);
    fclose(f);
    return path;
}

std::string be16(unsigned long v) { return std::string{(char)(v >> 8), (char)v}; }

std::string segment(unsigned char marker, const std::string& data) {
    return std::string{(char)0xFF, (char)marker} + be16(data.size() + 2) + data;
}

// A JPEG whose frame header (after a JFIF and an Exif segment) claims width x height, with a
// scrap of scan data: the decoder reserves the picture before it reaches the scan.
std::string writeJpegHeader(unsigned long width, unsigned long height,
                            const std::string& junkBeforeFrame = "") {
    std::string jfif("JFIF\0\1\1\0\0\1\0\1\0\0", 14);
    std::string exif = "Exif" + std::string(300, '\0');
    std::string frame = std::string("\x08", 1) + be16(height) + be16(width) +
                        std::string("\x03\x01\x11\x00\x02\x11\x01\x03\x11\x01", 10);
    std::string jpeg = std::string("\xFF\xD8", 2) + segment(0xE0, jfif) + segment(0xE1, exif) +
                       junkBeforeFrame + segment(0xC0, frame) +
                       segment(0xDA, std::string("\x03\x01\x00\x02\x11\x03\x11\x00\x3F\x00", 10)) +
                       std::string("\x12\x34\xFF\xD9", 4);
    std::string path = ::testing::TempDir() + "pagly_claims_" + std::to_string(width) + "x" +
                       std::to_string(height) + ".jpg";
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return "";
    fwrite(jpeg.data(), 1, jpeg.size(), f);
    fclose(f);
    return path;
}

// libjpeg skips bytes that are not a marker between segments; the size check must find the
// frame header behind them too (found by the image fuzz target: a 406-byte file made the
// decoder ask for 6 GB).
TEST_F(ImageLimitTest, AFrameHeaderBehindJunkBytesIsStillChecked) {
    std::string path = writeJpegHeader(30000, 30000, std::string("\x18\x18\x00\x00", 4));
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(nullptr, CCTextureCache::sharedTextureCache()->addImage(path.c_str()));
    ASSERT_FALSE(logLines().empty());
    EXPECT_NE(std::string::npos, logLines()[0].find("30000 x 30000")) << logLines()[0];
    std::remove(path.c_str());
}

TEST_F(ImageLimitTest, AJpegClaimingAnAbsurdSizeIsRefusedAndARealOneLoads) {
    // 5617 x 6675 is within the side limit, yet a few hundred bytes claiming it took the
    // decoder 2 s and 440 MB (found by the image fuzz target).
    const unsigned long sizes[][2] = {{30000, 30000}, {65535, 16}, {16, 9000}, {5617, 6675}};
    for (const auto& size : sizes) {
        std::string path = writeJpegHeader(size[0], size[1]);
        ASSERT_FALSE(path.empty());
        SCOPED_TRACE(path);
        clearLog();
        EXPECT_EQ(nullptr, CCTextureCache::sharedTextureCache()->addImage(path.c_str()));
        ASSERT_FALSE(logLines().empty());
        std::string claim = std::to_string(size[0]) + " x " + std::to_string(size[1]);
        EXPECT_NE(std::string::npos, logLines()[0].find(claim)) << logLines()[0];
        std::remove(path.c_str());
    }
    CCTexture2D* real =
        CCTextureCache::sharedTextureCache()->addImage(PAGLY_BOOK_DIR "/Images/drag.jpg");
    ASSERT_NE(nullptr, real);
    EXPECT_EQ(240, real->getPixelsWide());
    EXPECT_EQ(120, real->getPixelsHigh());
}

TEST_F(ImageLimitTest, AnImageClaimingAnAbsurdSizeIsRefusedBeforeDecoding) {
    struct Case {
        unsigned long width, height;
    };
    // 30000 x 30000 would make the decoder reserve 3.6 GB before it finds the data short.
    const Case cases[] = {{30000, 30000}, {1, 100000},  {8193, 16},
                          {8192, 8192},   {4097, 4096}, {0x7FFFFFFF, 0x7FFFFFFF}};
    for (const Case& c : cases) {
        std::string path = writePngHeader(c.width, c.height);
        ASSERT_FALSE(path.empty());
        SCOPED_TRACE(path);
        clearLog();
        EXPECT_EQ(nullptr, CCTextureCache::sharedTextureCache()->addImage(path.c_str()));
        EXPECT_EQ(nullptr, CCSprite::create(path.c_str()));
        ASSERT_FALSE(logLines().empty());
        std::string claim = std::to_string(c.width) + " x " + std::to_string(c.height);
        EXPECT_NE(std::string::npos, logLines()[0].find(claim)) << logLines()[0];
        std::remove(path.c_str());
    }
}

}  // namespace
