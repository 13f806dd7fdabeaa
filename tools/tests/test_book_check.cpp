// pagly-check on the bundled book (only its deliberate gaps, as warnings), on a broken
// fixture book (every kind of problem reported), and the listen check of the recordings.
#include <gtest/gtest.h>
#include <json/json.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/BookNames.h"
#include "engine/audio/Mp3Duration.h"
#include "engine/platform/CCFileUtils.h"
#include "format/JsonText.h"
#include "tools/pagly-check/BookChecker.h"

using namespace pagly;

namespace {

std::string allLines(const CheckReport& report) {
    std::string out;
    for (const Problem& p : report.problems) out += p.line() + "\n";
    return out;
}

bool reports(const CheckReport& report, Severity severity, const std::string& file,
             const std::string& text) {
    for (const Problem& p : report.problems) {
        if (p.severity == severity && p.file == file && p.message.find(text) != std::string::npos)
            return true;
    }
    return false;
}

bool fileExists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

}  // namespace

TEST(BookCheck, BundledBookHasOnlyItsDeliberateGaps) {
    CheckReport report = BookChecker(PAGLY_BOOK_DIR).run();
    EXPECT_EQ(report.errors(), 0) << allLines(report);
    // The book leaves out one caption and carries one caption too long to show, so that the
    // reader's handling of each is exercised.
    EXPECT_TRUE(reports(report, Severity::Warning, "lessonbundle/lessonbundle_41.json",
                        "bn412 has no caption"))
        << allLines(report);
    EXPECT_TRUE(reports(report, Severity::Warning, "lessonbundle/lessonbundle_9.json",
                        "bn094 has a caption of"))
        << allLines(report);
    EXPECT_EQ(report.warnings(), 2) << allLines(report);
}

struct Expected {
    Severity severity;
    const char* file;
    const char* text;
};

TEST(BookCheck, BrokenBookReportsEveryKindOfProblem) {
    CheckOptions options;
    options.lastPage = 6;
    CheckReport report = BookChecker(PAGLY_BROKEN_BOOK_DIR, options).run();
    const std::string p2 = "lessonbundle/lessonbundle_2.json";
    const std::string p5 = "lessonbundle/lessonbundle_5.json";
    const Expected expected[] = {
        {Severity::Error, "String.xml", "has no text for \"wordname\""},
        {Severity::Error, "Images/drag.jpg", "is missing"},
        {Severity::Error, "Images/walker.png", "cannot be decoded as a PNG or JPEG picture"},
        {Severity::Warning, "fonts/", "LiberationSans-Regular.ttf"},
        {Severity::Error, p2.c_str(), "lists sprite sheet \"missing.plist\", which is missing"},
        {Severity::Error, "lessonbundle/sheet.plist",
         "its frames outside.png have no size or lie outside its image"},
        {Severity::Error, p2.c_str(),
         "\"pic\" (fileNameData) names image \"lessonbundle/pictures/none.png\""},
        {Severity::Error, p2.c_str(),
         "names sprite frame \"nothere.png\", which no listed sheet has"},
        {Severity::Error, p2.c_str(), "names font \"fonts/Missing.ttf\", which is missing"},
        {Severity::Error, p2.c_str(), "bn022 is not touch-enabled"},
        {Severity::Error, p2.c_str(), "bn022 has no recording"},
        {Severity::Warning, p2.c_str(), "bn023 has no caption (no \"str023\""},
        {Severity::Warning,
         "epc/"
         "c2e019ce18e80e624d36e7ab0f29d49f.mp3",
         "recordings should last 1 to 4 s"},
        {Severity::Warning, p2.c_str(), "bn024 has a caption of 1680 bytes"},
        {Severity::Warning, p2.c_str(), "sentence 5 has no button (bn025)"},
        {Severity::Error, "epc/63a14f46f6924b6ab2a3de946b51a540.mp3", "is not an MP3 file"},
        {Severity::Warning, p2.c_str(), "two widgets are named \"bn021\""},
        {Severity::Error, "lessonbundle/lessonbundle_3.json", "is not valid JSON"},
        {Severity::Error, "lessonbundle/lessonbundle_4.json", "has no \"widgetTree\""},
        {Severity::Error, "lessonbundle/broken.plist", "is not a valid property list"},
        {Severity::Error, p5.c_str(), "names image \"lessonbundle/pictures/legacy.png\""},
        {Severity::Error, p5.c_str(), "\"bn052\" (normal) names sprite frame \"b.png\""},
        {Severity::Error, p5.c_str(), "bn051 is a \"Label\", not a button"},
        {Severity::Error, "lessonbundle/lessonbundle_6.json", "is missing"},
        {Severity::Error, "3age/pageset.json", "has no \"bncancel\" button"},
        {Severity::Error, "3age/pageset.json", "bnok is not touch-enabled"},
    };
    for (const Expected& e : expected) {
        EXPECT_TRUE(reports(report, e.severity, e.file, e.text))
            << "expected " << (e.severity == Severity::Error ? "error" : "warning") << " in "
            << e.file << ": " << e.text << "\ngot:\n"
            << allLines(report);
    }
    // The fine parts of the broken book stay quiet.
    EXPECT_FALSE(reports(report, Severity::Error, p2, "\"good\""));
    EXPECT_FALSE(reports(report, Severity::Warning, p2, "bn021 has no"));
}

TEST(BookCheck, MissingFolderIsOneError) {
    CheckReport report = BookChecker("/nonexistent/book/folder").run();
    ASSERT_EQ(report.problems.size(), 1u);
    EXPECT_EQ(report.errors(), 1);
}

TEST(BookCheck, LayoutFollowsTheVersionRule) {
    struct Case {
        const char* json;
        bool legacy;
    } cases[] = {
        {R"({"version": "1.2.0.0"})", false},
        {R"({"version": "0.2.5.0"})", false},
        {R"({"version": "0.2.4.9"})", true},
        {R"({"version": "1.0"})", true},
        {R"({})", true},
        {R"({"version": 1200})", true},
    };
    for (const Case& c : cases) {
        Json::Value root;
        format::parseJson(c.json, root);
        EXPECT_EQ(isLegacyLayout(root), c.legacy) << c.json;
    }
}

// Listen check: the reader finds a recording only under the MD5 of its logical name.
TEST(ListenCheck, RecordingsLieUnderTheirDigestAndLastOneToFourSeconds) {
    struct Sentence {
        int page, index;
    } sentences[] = {{2, 1},  {5, 3},  {9, 4},   {17, 3}, {41, 2},
                     {44, 7}, {70, 9}, {73, 10}, {77, 1}, {77, 4}};
    for (const Sentence& s : sentences) {
        std::string name = recordingName(s.page, s.index);
        std::string path = "epc/" + md5Hex(name) + ".mp3";
        ASSERT_EQ(path, recordingPath(s.page, s.index));
        std::string full = std::string(PAGLY_BOOK_DIR) + "/" + path;
        ASSERT_TRUE(fileExists(full)) << name << " should be at " << path;
        double seconds = pagly::audio::mp3DurationOfFile(full);
        EXPECT_GE(seconds, 1.0) << name;
        EXPECT_LE(seconds, 4.0) << name;
    }
}

TEST(BookCheck, APageRangeOutsideTheBookIsOneErrorNotAnEndlessRun) {
    struct Case {
        int first, last;
    } cases[] = {{-5, 6}, {0, 3}, {10, 5}, {2, 10000}, {2, 2147483647}, {-2147483647 - 1, 3}};
    for (const Case& c : cases) {
        CheckOptions options;
        options.firstPage = c.first;
        options.lastPage = c.last;
        CheckReport report = BookChecker(PAGLY_BOOK_DIR, options).run();
        ASSERT_EQ(report.errors(), 1) << c.first << "-" << c.last;
        EXPECT_NE(report.problems[0].message.find("page range"), std::string::npos)
            << c.first << "-" << c.last << "\n"
            << allLines(report);
        EXPECT_LE(report.problems.size(), 1u) << c.first << "-" << c.last;
    }
}

// The checker reads the folder it is given, even when the engine's resource root (the
// bundled book, for instance) holds a folder of the same relative name.
TEST(BookCheck, ARelativeFolderIsReadFromTheWorkingDirectory) {
    char rootTemplate[] = "/tmp/pagly-check-root-XXXXXX";
    char workTemplate[] = "/tmp/pagly-check-work-XXXXXX";
    std::string root = mkdtemp(rootTemplate), work = mkdtemp(workTemplate);
    mkdir((root + "/bk").c_str(), 0755);
    mkdir((work + "/bk").c_str(), 0755);
    // A complete pair of text tables under the resource root, none in the working directory.
    std::string texts = "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>";
    for (const char* key :
         {"main_page", "setmenu_set", "bntext", "wordname", "page_front", "page_after"})
        texts += std::string("<key>") + key + "</key><string>x</string>";
    texts += "</dict></plist>";
    for (const char* table : {"/bk/String.xml", "/bk/Stringstr.xml"}) {
        FILE* f = fopen((root + table).c_str(), "wb");
        ASSERT_NE(f, nullptr);
        fputs(texts.c_str(), f);
        fclose(f);
    }
    pagly::engine::CCFileUtils* files = pagly::engine::CCFileUtils::sharedFileUtils();
    std::string savedRoot = files->getResourceRoot();
    char savedDir[4096];
    ASSERT_NE(getcwd(savedDir, sizeof savedDir), nullptr);
    files->setResourceRoot(root);
    ASSERT_EQ(chdir(work.c_str()), 0);

    CheckOptions options;
    options.firstPage = options.lastPage = 2;
    CheckReport report = BookChecker("bk", options).run();

    ASSERT_EQ(chdir(savedDir), 0);
    files->setResourceRoot(savedRoot);
    EXPECT_TRUE(reports(report, Severity::Error, "String.xml", "is missing")) << allLines(report);
    EXPECT_TRUE(reports(report, Severity::Error, "Stringstr.xml", "is missing"))
        << allLines(report);
    for (const char* path : {"/bk/String.xml", "/bk/Stringstr.xml", "/bk"})
        remove((root + path).c_str());
    remove(root.c_str());
    rmdir((work + "/bk").c_str());
    rmdir(work.c_str());
}

// The checker finds a page's sentence buttons as the reader does: a widget of a class the
// reader does not build leaves out everything inside it, a page whose root is not a panel is
// not shown at all, and of two widgets with one name the reader finds the one whose z-order
// puts it first among its siblings.
TEST(BookCheck, SentenceButtonsAreLookedUpAsTheReaderBuildsThePage) {
    struct Case {
        const char* what;
        const char* tree;
        Severity severity;
        const char* text;
    } cases[] = {
        {"a button inside an unknown class",
         R"({"classname": "Panel", "options": {"name": "root"}, "children": [
              {"classname": "Pannel", "options": {"name": "box"}, "children": [
                {"classname": "Button", "options": {"name": "bn021", "touchAble": true}}]}]})",
         Severity::Error, "\"box\" has class \"Pannel\""},
        {"a button inside a list view",
         R"({"classname": "Panel", "options": {"name": "root"}, "children": [
              {"classname": "ListView", "options": {"name": "list"}, "children": [
                {"classname": "Button", "options": {"name": "bn021", "touchAble": true}}]}]})",
         Severity::Warning, "has no sentence buttons"},
        {"a page whose root is not a panel",
         R"({"classname": "ImageView", "options": {"name": "root"}, "children": [
              {"classname": "Button", "options": {"name": "bn021", "touchAble": true}}]})",
         Severity::Error, "root widget is a \"ImageView\""},
        {"the lower z-order of two namesakes wins",
         R"({"classname": "Panel", "options": {"name": "root"}, "children": [
              {"classname": "Button", "options": {"name": "bn021", "touchAble": true, "ZOrder": 5}},
              {"classname": "ImageView", "options": {"name": "bn021", "ZOrder": 1}}]})",
         Severity::Error, "bn021 is a \"ImageView\""},
    };
    char dirTemplate[] = "/tmp/pagly-check-tree-XXXXXX";
    std::string dir = mkdtemp(dirTemplate);
    mkdir((dir + "/lessonbundle").c_str(), 0755);
    const std::string page = "lessonbundle/lessonbundle_2.json";
    for (const Case& c : cases) {
        FILE* f = fopen((dir + "/" + page).c_str(), "wb");
        ASSERT_NE(f, nullptr);
        fprintf(f, "{\"version\": \"1.2.0.0\", \"widgetTree\": %s}", c.tree);
        fclose(f);
        CheckOptions options;
        options.firstPage = options.lastPage = 2;
        CheckReport report = BookChecker(dir, options).run();
        EXPECT_TRUE(reports(report, c.severity, page, c.text)) << c.what << "\n"
                                                               << allLines(report);
    }
    remove((dir + "/" + page).c_str());
    rmdir((dir + "/lessonbundle").c_str());
    rmdir(dir.c_str());
}

// A book that describes its own units is checked on its own pages; a description the reader
// cannot use is an error of the book.
TEST(BookCheck, ABookDescriptionChoosesThePagesAndABrokenOneIsAnError) {
    char folderTemplate[] = "/tmp/pagly-check-described-XXXXXX";
    std::string dir = mkdtemp(folderTemplate);
    for (const auto& entry : std::filesystem::directory_iterator(PAGLY_BOOK_DIR)) {
        std::string name = entry.path().filename().string();
        if (name != "ft.xml") std::filesystem::create_symlink(entry.path(), dir + "/" + name);
    }
    std::ofstream(dir + "/book.json") << R"({"units": [{"name": "A", "pages": [12, 13]}]})";
    CheckReport report = BookChecker(dir).run();
    EXPECT_EQ(0, report.errors()) << allLines(report);
    for (const Problem& p : report.problems) {
        EXPECT_EQ(std::string::npos, p.file.find("lessonbundle_2.json"))
            << "page 2 is not the book's";
        EXPECT_EQ(std::string::npos, p.file.find("lessonbundle_14.json")) << p.line();
    }

    std::ofstream(dir + "/book.json") << R"({"units": [{"name": "A", "pages": []}]})";
    CheckOptions two;
    two.firstPage = two.lastPage = 12;
    report = BookChecker(dir, two).run();
    EXPECT_TRUE(reports(report, Severity::Error, "book.json", "unit 1 lists no pages"))
        << allLines(report);
    std::filesystem::remove_all(dir);
}
