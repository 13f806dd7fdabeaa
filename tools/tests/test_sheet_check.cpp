// pagly-check takes the sprite sheets the reader takes and refuses the ones it refuses, for the
// reason the reader logs: each sheet below goes into a one-page book for the checker and
// through the reader's frame cache, and both must agree with the table.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_image.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/base/CCObject.h"
#include "engine/nodes/CCSpriteFrame.h"
#include "engine/nodes/CCSpriteFrameCache.h"
#include "engine/platform/UnusableFiles.h"
#include "engine/render/CCTextureCache.h"
#include "tools/pagly-check/BookChecker.h"

using namespace pagly;

namespace {

// Every sheet's image is 32 pixels wide and 8 high: a frame 8 wide and 32 high fits only when
// stored turned, one 32 wide and 8 high only when not.
const char* const kTall = "{{0,0},{8,32}}";
const char* const kFlat = "{{0,0},{32,8}}";
const char* const kSkipped = "its frames f have no size or lie outside its image; they are skipped";

std::string key(const std::string& k, const std::string& valueXml) {
    return "<key>" + k + "</key>" + valueXml;
}
std::string str(const std::string& k, const std::string& v) {
    return key(k, "<string>" + v + "</string>");
}
std::string frame(const std::string& name, const std::string& body) {
    return key(name, "<dict>" + body + "</dict>");
}
// A format 1 or 2 frame; `rotated` is the whole "rotated" entry, or empty.
std::string frame2(const std::string& rect, const std::string& rotated, const char* name = "f") {
    return frame(
        name, str("frame", rect) + str("offset", "{0,0}") + rotated + str("sourceSize", "{32,32}"));
}
std::string rotated(const std::string& valueXml) { return key("rotated", valueXml); }

// A whole sheet: its frames and metadata (empty metadata leaves the dictionary out).
std::string sheet(const std::string& framesXml, const std::string& metadataXml) {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>" +
                       key("frames", "<dict>" + framesXml + "</dict>");
    if (!metadataXml.empty()) text += key("metadata", "<dict>" + metadataXml + "</dict>");
    return text + "</dict></plist>\n";
}
std::string meta(const std::string& formatXml, const char* image = "sheet.png") {
    return key("format", formatXml) + str("textureFileName", image);
}
std::string format(int n) { return meta("<integer>" + std::to_string(n) + "</integer>"); }

struct SheetCase {
    const char* what;
    std::string plist;
    bool kept;                // frame "f" (or `frameName`) is usable
    bool turned = false;      // and is stored turned
    const char* reason = "";  // what the reader logs about the sheet or its image
    const char* reasonFile = "sheet.plist";
    const char* frameName = "f";
    const char* image = "sheet.png";  // where the 32 x 8 image is written; "" for none
};

std::vector<SheetCase> sheetCases() {
    const std::string f2 = format(2);
    std::vector<SheetCase> cases = {
        // Format 2: every spelling of "rotated" the property-list reader turns into true.
        {"<true/>", sheet(frame2(kTall, rotated("<true/>")), f2), true, true},
        {"string true", sheet(frame2(kTall, rotated("<string>true</string>")), f2), true, true},
        {"string YES", sheet(frame2(kTall, rotated("<string>YES</string>")), f2), true, true},
        {"integer 1", sheet(frame2(kTall, rotated("<integer>1</integer>")), f2), true, true},
        {"real 0.5", sheet(frame2(kTall, rotated("<real>0.5</real>")), f2), true, true},
        // ... and into false.
        {"<false/>", sheet(frame2(kFlat, rotated("<false/>")), f2), true},
        {"string false", sheet(frame2(kFlat, rotated("<string>false</string>")), f2), true},
        {"string no", sheet(frame2(kFlat, rotated("<string>no</string>")), f2), true},
        {"integer 0", sheet(frame2(kFlat, rotated("<integer>0</integer>")), f2), true},
        {"no rotated entry", sheet(frame2(kFlat, ""), f2), true},
        {"rotated as a dictionary", sheet(frame2(kFlat, rotated("<dict/>")), f2), true},
        // The turn decides where the frame lies: either one wrong leaves the frame out.
        {"tall but <false/>", sheet(frame2(kTall, rotated("<false/>")), f2), false, false,
         kSkipped},
        {"tall but string False", sheet(frame2(kTall, rotated("<string>False</string>")), f2),
         false, false, kSkipped},
        {"flat but <true/>", sheet(frame2(kFlat, rotated("<true/>")), f2), false, false, kSkipped},
        {"flat but string yes", sheet(frame2(kFlat, rotated("<string>yes</string>")), f2), false,
         false, kSkipped},
        // The format number, written in every way; fractions drop.
        {"format as a string", sheet(frame2(kTall, rotated("<true/>")), meta("<string>2</string>")),
         true, true},
        {"format 2.5", sheet(frame2(kTall, rotated("<true/>")), meta("<real>2.5</real>")), true,
         true},
        {"format 4", sheet(frame2(kFlat, ""), format(4)), false, false,
         "it is a sprite sheet of unknown format 4"},
        {"format -1", sheet(frame2(kFlat, ""), meta("<string>-1</string>")), false, false,
         "it is a sprite sheet of unknown format -1"},
        // Format 1 has no turned frames: its "rotated" is not read.
        {"format 1 ignores <true/>", sheet(frame2(kFlat, rotated("<true/>")), format(1)), true},
        {"format 1 tall", sheet(frame2(kTall, rotated("<true/>")), format(1)), false, false,
         kSkipped},
        // Format 3 names its values differently.
        {"format 3 turned",
         sheet(frame("f", str("textureRect", kTall) + key("textureRotated", "<true/>")), format(3)),
         true, true},
        {"format 3 flat",
         sheet(frame("f", str("textureRect", kFlat) + str("spriteOffset", "{1,1}") +
                              str("spriteSourceSize", "{40,10}") +
                              key("textureRotated", "<string>NO</string>")),
               format(3)),
         true},
        {"format 3 turned by \"rotated\"",
         sheet(frame("f", str("textureRect", kTall) + rotated("<true/>")), format(3)), false, false,
         kSkipped},
        {"format 3 keyed as format 2", sheet(frame2(kFlat, ""), format(3)), false, false, kSkipped},
        {"format 2 keyed as format 3", sheet(frame("f", str("textureRect", kFlat)), f2), false,
         false, kSkipped},
        // Format 0: one number a key, as strings, integers or reals.
        {"format 0",
         sheet(frame("f", key("x", "<integer>0</integer>") + key("y", "<integer>0</integer>") +
                              key("width", "<integer>32</integer>") +
                              key("height", "<real>8.0</real>") + str("offsetX", "1")),
               format(0)),
         true},
        {"format 0 keyed as format 2", sheet(frame2(kFlat, ""), format(0)), false, false, kSkipped},
        // Without metadata the format is 0 and the image is the sheet's name with ".png".
        {"no metadata", sheet(frame("f", str("width", "32") + str("height", "8")), ""), true},
        {"no metadata, format 2 keys", sheet(frame2(kFlat, ""), ""), false, false, kSkipped},
        {"metadata without format", sheet(frame2(kFlat, ""), str("textureFileName", "sheet.png")),
         false, false, kSkipped},
        // Frame names are the keys, whatever they hold; an entry that is no dictionary is no
        // frame, and of two entries with one name the later one counts.
        {"a name with a folder", sheet(frame2(kFlat, "", "pics/f.png"), f2), true, false, "",
         "sheet.plist", "pics/f.png"},
        {"an entry that is no dictionary", sheet(str("f", kFlat), f2), false},
        {"the later of two namesakes", sheet(frame2("{{0,0},{64,64}}", "") + frame2(kFlat, ""), f2),
         true},
        // The image's own size bounds the frames, not what the metadata claims.
        {"metadata claims a larger image",
         sheet(frame2("{{0,0},{32,32}}", ""), f2 + str("size", "{64,64}")), false, false, kSkipped},
        {"image in a subfolder",
         sheet(frame2(kFlat, ""), meta("<integer>2</integer>", "art/p.png")), true, false, "",
         "sheet.plist", "f", "art/p.png"},
        {"image in the folder above",
         sheet(frame2(kFlat, ""), meta("<integer>2</integer>", "../Images/p.png")), true, false, "",
         "sheet.plist", "f", "../Images/p.png"},
        // Sheets and images the reader cannot use at all.
        {"no frames",
         "<plist><dict>" + key("metadata", "<dict>" + f2 + "</dict>") + "</dict></plist>", false,
         false, "it is not a sprite sheet (no \"frames\" dictionary)"},
        {"frames as an array",
         "<plist><dict><key>frames</key><array/>" + key("metadata", "<dict>" + f2 + "</dict>") +
             "</dict></plist>",
         false, false, "it is not a sprite sheet (no \"frames\" dictionary)"},
        {"not XML", "These are not frames\n", false, false,
         "it is not a valid property list: No document element found at byte 21"},
        {"no dict at the root", "<plist><array/></plist>", false, false,
         "it is not a property list of keys and values (no <dict> at its root)"},
        {"image missing", sheet(frame2(kFlat, ""), meta("<integer>2</integer>", "none.png")), false,
         false, "it is missing", "none.png"},
        {"image is no picture", sheet(frame2(kFlat, ""), f2), false, false,
         "it is neither a PNG nor a JPEG picture", "sheet.png", "f", ""},
    };
    return cases;
}

void writeText(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
}

void writeImage(const std::string& path, int wide, int high) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, wide, high, 32, SDL_PIXELFORMAT_ARGB8888);
    ASSERT_NE(s, nullptr);
    SDL_FillRect(s, nullptr, 0xff336699);
    EXPECT_EQ(IMG_SavePNG(s, path.c_str()), 0) << path;
    SDL_FreeSurface(s);
}

// The page names the frame from the sheet it lists, so the checker says whether it exists.
std::string pageNaming(const std::string& frameName) {
    return R"({"version": "1.2.0.0", "textures": ["sheet.plist"], "widgetTree":
              {"classname": "Panel", "options": {"name": "root"}, "children": [
                {"classname": "ImageView", "options": {"name": "pic",
                  "fileNameData": {"resourceType": 1, "path": ")" +
           frameName + R"("}}}]}})";
}

std::vector<std::string>* s_log = nullptr;
void keepLine(const char* line) { s_log->push_back(line); }

// True when a line starts with `start` and goes on to say `text`.
bool anySays(const std::vector<std::string>& lines, const std::string& start,
             const std::string& text) {
    for (const std::string& line : lines)
        if (line.compare(0, start.size(), start) == 0 &&
            line.find(text, start.size()) != std::string::npos)
            return true;
    return false;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) out += line + "\n";
    return out;
}

}  // namespace

TEST(SheetCheck, CheckerAndFrameCacheTakeAndRefuseTheSameSheets) {
    char dirTemplate[] = "/tmp/pagly-check-sheets-XXXXXX";
    ASSERT_NE(mkdtemp(dirTemplate), nullptr);
    const std::string root = dirTemplate;
    const std::string page = "lessonbundle/lessonbundle_2.json";
    const std::string sheetRel = "lessonbundle/sheet.plist";
    std::vector<std::string> log;
    s_log = &log;
    int index = 0;
    for (const SheetCase& c : sheetCases()) {
        SCOPED_TRACE(c.what);
        // A folder per case: no file is met twice, by the checker or by the reader's caches.
        const std::string book = root + "/" + std::to_string(index++) + "/";
        writeText(book + page, pageNaming(c.frameName));
        writeText(book + sheetRel, c.plist);
        if (*c.image) {
            writeImage(book + "lessonbundle/" + c.image, 32, 8);
        } else {
            writeText(book + "lessonbundle/sheet.png", "not a picture\n");
        }

        // The checker reads through the engine too; its lines about the missing text tables
        // are no concern here.
        engine::CCSetLogSink(keepLine);
        CheckOptions options;
        options.firstPage = options.lastPage = 2;
        CheckReport report = BookChecker(book, options).run();
        std::vector<std::string> checkerLines;  // what the checker says of the sheet
        bool checkerKept = true;
        for (const Problem& p : report.problems) {
            if (p.file.compare(0, 13, "lessonbundle/") == 0 && p.file != page)
                checkerLines.push_back(p.line());
            if (p.file == page && p.message.find("names sprite frame") != std::string::npos)
                checkerKept = false;
        }

        log.clear();
        engine::forgetUnusableFiles();  // the checker's reads must not hush the reader's lines
        engine::CCSpriteFrameCache* cache = engine::CCSpriteFrameCache::sharedSpriteFrameCache();
        cache->addSpriteFramesWithFile((book + sheetRel).c_str());
        engine::CCSpriteFrame* frame = cache->spriteFrameByName(c.frameName);
        engine::CCSetLogSink(nullptr);

        EXPECT_EQ(checkerKept, c.kept) << joined(checkerLines);
        EXPECT_EQ(frame != nullptr, c.kept) << joined(log);
        if (frame) {
            EXPECT_EQ(frame->isRotated(), c.turned);
        }
        if (*c.reason) {
            std::string reason = c.reason;
            EXPECT_TRUE(
                anySays(log, "cannot use " + book + "lessonbundle/" + c.reasonFile + ": ", reason))
                << joined(log);
            // The checker's line about the sheet (or its image) drops the reader's "it ".
            std::string said = reason.compare(0, 3, "it ") == 0 ? reason.substr(3) : reason;
            EXPECT_TRUE(anySays(checkerLines, "error: lessonbundle/", said))
                << joined(checkerLines);
        } else {
            EXPECT_FALSE(anySays(log, "cannot use", "")) << joined(log);
            EXPECT_TRUE(checkerLines.empty()) << joined(checkerLines);
        }

        engine::CCSpriteFrameCache::purgeSharedSpriteFrameCache();
        engine::CCTextureCache::purgeSharedTextureCache();
        engine::CCAutoreleasePool::sharedPool()->drain();
    }
    s_log = nullptr;
    std::filesystem::remove_all(root);
}

// The one place the two differ on purpose: the reader opens an image wherever the sheet points,
// but a book that needs a file outside its folder is broken anywhere else.
TEST(SheetCheck, AnImageOutsideTheBookFolderIsAnError) {
    char dirTemplate[] = "/tmp/pagly-check-outside-XXXXXX";
    ASSERT_NE(mkdtemp(dirTemplate), nullptr);
    const std::string root = dirTemplate;
    writeImage(root + "/shared.png", 32, 8);
    writeText(root + "/book/lessonbundle/lessonbundle_2.json", pageNaming("f"));
    for (const std::string& image : {std::string("../../shared.png"), root + "/shared.png"}) {
        SCOPED_TRACE(image);
        writeText(root + "/book/lessonbundle/sheet.plist",
                  sheet(frame2(kFlat, ""), meta("<integer>2</integer>", image.c_str())));
        CheckOptions options;
        options.firstPage = options.lastPage = 2;
        std::vector<std::string> log;
        s_log = &log;
        engine::CCSetLogSink(keepLine);
        CheckReport report = BookChecker(root + "/book", options).run();
        engine::CCSetLogSink(nullptr);
        s_log = nullptr;
        bool said = false;
        for (const Problem& p : report.problems)
            said = said || (p.file == "lessonbundle/sheet.plist" &&
                            p.message.find("lies outside the book folder") != std::string::npos);
        EXPECT_TRUE(said);
    }
    std::filesystem::remove_all(root);
}
