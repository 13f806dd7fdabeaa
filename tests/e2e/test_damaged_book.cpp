// The reader walked through a copy of the book damaged in many ways at once: nothing crashes,
// leaks or hangs, every page can be turned to and left, each damaged file is named once in
// the log, and the book checker reports every file the reader named.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <string>

#include "ReaderFixture.h"
#include "app/BookNames.h"
#include "app/PageLayer.h"
#include "app/ReadingSession.h"
#include "app/SetLayer.h"
#include "engine/nodes/CCFontCache.h"
#include "engine/nodes/CCMenuItem.h"
#include "engine/platform/CCFileUtils.h"
#include "gui/UIButton.h"
#include "gui/UILayer.h"
#include "gui/UIRootWidget.h"
#include "gui/WidgetHelper.h"
#include "tools/pagly-check/BookChecker.h"

using namespace pagly::engine;
using namespace pagly::gui;
using namespace pagly;
namespace fs = std::filesystem;

namespace {

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), (std::streamsize)bytes.size());
}

// Bytes from a fixed seed: the same damage in every run.
std::string randomBytes(size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(count, '\0');
    for (char& c : bytes) c = (char)(random() & 0xFF);
    return bytes;
}

// A page whose widgets nest deeper than the reader builds.
std::string deeplyNestedPage() {
    std::string tree = R"({"classname":"Panel","options":{"name":"deepest"}})";
    for (int i = 0; i < 120; ++i)
        tree =
            R"({"classname":"Panel","options":{"width":10,"height":10},"children":[)" + tree + "]}";
    return R"({"version":"1.2.0.0","designWidth":640,"designHeight":960,"widgetTree":)" + tree +
           "}";
}

struct DamagedBook {
    std::string folder;
    // Every file the reader cannot use, as the book names it, with what was done to it.
    std::map<std::string, std::string> damaged;
};

// A copy of the bundled book with its damage; made once per test program, removed at exit.
const DamagedBook& damagedBook() {
    static DamagedBook book;
    if (!book.folder.empty()) return book;
    char pattern[] = "/tmp/pagly-damaged-book-XXXXXX";
    book.folder = mkdtemp(pattern);
    atexit([] {
        std::error_code ignored;
        fs::remove_all(book.folder, ignored);
    });
    fs::copy(PAGLY_BOOK_DIR, book.folder, fs::copy_options::recursive);
    fs::remove(book.folder + "/ft.xml");
    const fs::path root = book.folder;
    auto damage = [&](const std::string& name, const std::string& how) {
        book.damaged[name] = how;
    };
    auto cut = [&](const std::string& name, size_t keep) {
        std::string bytes = readBytes(root / name);
        writeBytes(root / name, bytes.substr(0, keep));
    };
    auto scramble = [&](const std::string& name, size_t from, size_t count, unsigned seed) {
        std::string bytes = readBytes(root / name);
        std::string noise = randomBytes(std::min(count, bytes.size() - from), seed);
        bytes.replace(from, noise.size(), noise);
        writeBytes(root / name, bytes);
    };
    auto becomeFolder = [&](const std::string& name) {
        fs::remove(root / name);
        fs::create_directory(root / name);
        writeBytes(root / name / "inside.txt", "a folder where a file should be");
    };

    // Page documents: cut off, cut early, the wrong types, widgets nested too deep.
    std::string page3 = pageDocumentPath(3);
    cut(page3, readBytes(root / page3).size() / 2);
    damage(page3, "cut in half");
    std::string page10 = pageDocumentPath(10);
    cut(page10, 40);
    damage(page10, "cut after 40 bytes");
    std::string page12 = pageDocumentPath(12);
    writeBytes(root / page12, R"(["a page", "of the wrong type"])");
    damage(page12, "root of the wrong type");
    std::string page14 = pageDocumentPath(14);
    writeBytes(root / page14,
               R"({"version":"1.2.0.0","designWidth":640,"designHeight":960,"widgetTree":"none"})");
    damage(page14, "widget tree of the wrong type");
    std::string page16 = pageDocumentPath(16);
    writeBytes(root / page16, deeplyNestedPage());
    damage(page16, "widgets nested 121 deep");

    // Images: random bytes inside a page picture, a sheet's image and the caption background,
    // a folder for a control image.
    scramble("lessonbundle/pictures/p2.png", 60, 400, 1);
    damage("lessonbundle/pictures/p2.png", "random bytes after its header");
    scramble("lessonbundle/food.png", 60, 400, 2);
    damage("lessonbundle/food.png", "random bytes after its header");
    scramble("Images/bnchback1.png", 40, 200, 4);
    damage("Images/bnchback1.png", "random bytes after its header");
    becomeFolder("Images/up2.png");
    damage("Images/up2.png", "a folder");
    // The walk taps both arrows, which then have to be there without their pictures: the
    // next arrow still has its pressed picture, the previous one has none left.
    writeBytes(root / "Images/next1.png", randomBytes(300, 5));
    damage("Images/next1.png", "random bytes");
    cut("Images/up1.png", 100);
    damage("Images/up1.png", "cut after 100 bytes");

    // Recordings: random bytes, empty, a folder, missing.
    std::string random = recordingPath(2, 1);
    writeBytes(root / random, randomBytes(readBytes(root / random).size(), 3));
    damage(random, "random bytes");
    std::string empty = recordingPath(4, 2);
    writeBytes(root / empty, "");
    damage(empty, "empty");
    std::string folder = recordingPath(5, 1);
    becomeFolder(folder);
    damage(folder, "a folder");
    std::string missing = recordingPath(77, 4);
    fs::remove(root / missing);
    damage(missing, "missing");

    // A zero-byte font, which page 6 names for one of its labels.
    writeBytes(root / "fonts/LiberationSans-Regular.ttf", "");
    damage("fonts/LiberationSans-Regular.ttf", "zero bytes");
    std::string page6 = pageDocumentPath(6);
    std::string text = readBytes(root / page6);
    size_t arial = text.find("\"fontName\": \"Arial\"");
    if (arial != std::string::npos)
        text.replace(arial, 19, "\"fontName\": \"fonts/LiberationSans-Regular.ttf\"");
    writeBytes(root / page6, text);

    // The caption table cut in the middle of an element.
    std::string table = readBytes(root / "Stringstr.xml");
    size_t middle = table.find("<string>", table.size() / 2);
    writeBytes(root / "Stringstr.xml", table.substr(0, middle + 5));
    damage("Stringstr.xml", "cut inside an element");
    return book;
}

const char* const kNamedPrefix = "cannot use ";

class DamagedBookTest : public pagly::test::ReaderTest {
  protected:
    void SetUp() override {
        ReaderTest::SetUp();
        CCFileUtils::sharedFileUtils()->setResourceRoot(damagedBook().folder);
    }
    void TearDown() override {
        CCFontCache::sharedFontCache()->purge();
        ReaderTest::TearDown();
    }

    // The files the log names as unusable, with how often each is named.
    std::map<std::string, int> namedFiles() const {
        std::map<std::string, int> named;
        for (const std::string& line : logLines()) {
            if (line.compare(0, strlen(kNamedPrefix), kNamedPrefix) != 0) continue;
            size_t colon = line.find(": ");
            named[line.substr(strlen(kNamedPrefix), colon - strlen(kNamedPrefix))]++;
        }
        return named;
    }

    // The log lines that mention `file` at all.
    std::vector<std::string> linesNaming(const std::string& file) const {
        std::vector<std::string> lines;
        std::copy_if(logLines().begin(), logLines().end(), std::back_inserter(lines),
                     [&](const std::string& l) { return l.find(file) != std::string::npos; });
        return lines;
    }

    // Taps every sentence of the page and lets each play a little.
    void tapEverySentence() {
        for (int i = 1; i <= 29; ++i) {
            if (UIButton* button = sentenceButton(i)) {
                tapAt(centreOf(button));
                advance(0.4);
            }
        }
    }

    // Opens the settings overlay (its item shares a corner with play/pause) and leaves it with
    // "cancel".
    void visitSettings() {
        page()->onSettings(nullptr);
        settle();
        SetLayer* overlay = runningLayer<SetLayer>();
        ASSERT_NE(nullptr, overlay);
        UIWidget* cancel =
            WidgetHelper::findWidgetByName(overlay->uiLayer()->getRootWidget(), "bncancel");
        ASSERT_NE(nullptr, cancel);
        tapAt(centreOf(cancel));
        settle();
    }

    // From the main page to page 2, then every page in turn with the next item, tapping each
    // sentence, and home again from the last page.
    void walkTheBook() {
        startOnMainPage();
        settle();
        openPage(2);
        settle();
        visitSettings();
        for (int p = 2; p <= 77; ++p) {
            SCOPED_TRACE("page " + std::to_string(p));
            ASSERT_EQ(p, session().currentPage);
            ASSERT_NE(nullptr, page()) << "the page reader shows page " << p;
            tapEverySentence();
            if (p == 77) {
                tapAt(centreOf(page()->previousItem()));
                settle();
                ASSERT_EQ(76, session().currentPage) << "the previous item turns back";
                tapAt(centreOf(page()->nextItem()));
                settle();
                ASSERT_EQ(77, session().currentPage);
                break;
            }
            tapAt(centreOf(page()->nextItem()));
            settle();
            ASSERT_EQ(p + 1, session().currentPage) << "the next item turns the page";
        }
        tapAt(centreOf(page()->mainPageItem()));
        settle();
        step();
        EXPECT_EQ(nullptr, page()) << "the last page can be left";
    }
};

TEST_F(DamagedBookTest, EveryPageTurnsAndEachDamagedFileIsNamedOnce) {
    walkTheBook();
    if (HasFatalFailure()) return;
    std::map<std::string, int> named = namedFiles();
    for (const auto& [file, how] : damagedBook().damaged) {
        SCOPED_TRACE(file + " (" + how + ")");
        EXPECT_EQ(1, named.count(file)) << "the log names it as unusable";
        EXPECT_EQ(1u, linesNaming(file).size()) << "the log names it exactly once:\n"
                                                << ::testing::PrintToString(linesNaming(file));
    }
    for (const auto& [file, count] : named) {
        EXPECT_TRUE(damagedBook().damaged.count(file))
            << file << " is named although it is not damaged";
    }
}

// What the reader names as unusable, the checker reports as an error of that file, so an
// author who runs pagly-check before shipping finds every file the reader would complain
// about.
TEST_F(DamagedBookTest, TheCheckerReportsEveryFileTheReaderNames) {
    walkTheBook();
    if (HasFatalFailure()) return;
    std::map<std::string, int> named = namedFiles();
    ASSERT_GE(named.size(), damagedBook().damaged.size());
    CheckReport report = BookChecker(damagedBook().folder).run();
    for (const auto& [file, count] : named) {
        bool reported = std::any_of(
            report.problems.begin(), report.problems.end(), [&](const Problem& problem) {
                return problem.severity == Severity::Error &&
                       (problem.file == file || problem.message.find(file) != std::string::npos);
            });
        std::string all;
        for (const Problem& problem : report.problems) all += problem.line() + "\n";
        EXPECT_TRUE(reported) << file
                              << " is named by the reader but not reported by the checker:\n"
                              << all;
    }
}

}  // namespace
