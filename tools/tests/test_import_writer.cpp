// The book writer of pagly-import on small books made here: pages drawn by the headless
// browser, buttons over the rectangles it laid the sentences in, clips cut to their length,
// the folder put in place only when finished. One browser serves the whole file.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <json/json.h>
#include <sndfile.h>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <vector>

#include "app/BookNames.h"
#include "format/JsonText.h"
#include "app/WordTimings.h"
#include "engine/audio/Mp3Duration.h"
#include "tools/import/BookWriter.h"
#include "tools/import/FileTree.h"
#include "tools/import/HeadlessBrowser.h"
#include "tools/import/PageDocument.h"
#include "tools/import/PageLayout.h"
#include "tools/pagly-check/BookChecker.h"
#include "tools/tests/ConversionFixture.h"

using namespace pagly;
using namespace pagly::import;

namespace {

// Tone between silences: 1 s silence, 1 s of 440 Hz, 1 s silence, at 44.1 kHz mono.
void writeToneRecording(const std::string& path) {
    std::vector<float> samples(3 * 44100, 0.0f);
    for (int i = 44100; i < 2 * 44100; ++i)
        samples[(size_t)i] = 0.5f * std::sin(i * 2 * M_PI * 440 / 44100);
    std::string why;
    ASSERT_TRUE(pagly::testing::writeSound(path, SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 44100,
                                           samples, why))
        << why;
}

// The decoded length of a recording (what a gapless player plays) and its loudness.
struct Heard {
    double seconds = -1;
    double rms = 0;
};
Heard hear(const std::string& path) {
    Heard heard;
    SF_INFO info{};
    SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
    if (!f) return heard;
    std::vector<float> all;
    std::vector<float> chunk(4096 * (size_t)info.channels);
    sf_count_t got;
    while ((got = sf_readf_float(f, chunk.data(), 4096)) > 0)
        all.insert(all.end(), chunk.begin(), chunk.begin() + got * info.channels);
    sf_close(f);
    heard.seconds = (double)all.size() / info.channels / info.samplerate;
    double sum = 0;
    for (float v : all) sum += (double)v * v;
    heard.rms = all.empty() ? 0 : std::sqrt(sum / (double)all.size());
    return heard;
}

// The share of a picture's pixels that are not transparent.
double litShare(const std::string& path) {
    SDL_Surface* loaded = IMG_Load(path.c_str());
    if (!loaded) return -1;
    SDL_Surface* rgba = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(loaded);
    if (!rgba) return -1;
    long lit = 0;
    for (int y = 0; y < rgba->h; ++y) {
        const Uint8* row = (const Uint8*)rgba->pixels + y * rgba->pitch;
        for (int x = 0; x < rgba->w; ++x) lit += row[x * 4 + 3] > 0;
    }
    double share = (double)lit / ((double)rgba->w * rgba->h);
    SDL_FreeSurface(rgba);
    return share;
}

Json::Value readJson(const std::string& path) {
    std::string text;
    Json::Value value;
    if (readFile(path, text)) format::parseJson(text, value);
    return value;
}

const Json::Value* findWidget(const Json::Value& node, const std::string& name) {
    if (node["options"]["name"].asString() == name) return &node;
    for (const Json::Value& child : node["children"])
        if (const Json::Value* found = findWidget(child, name)) return found;
    return nullptr;
}

struct Absolute {
    const char* id;
    int left, top, width, height;
};

// A fixed page of 400 x 600 CSS pixels with sentences in boxes of known place and size.
std::string fixedPage(const std::vector<Absolute>& boxes) {
    std::string html =
        "<!DOCTYPE html><html><head><style>body{margin:0;background:#fafaf0}"
        "div{position:absolute;overflow:hidden;font:20px sans-serif}</style></head><body>";
    for (const Absolute& b : boxes) {
        html += "<div id=\"" + std::string(b.id) + "\" style=\"left:" + std::to_string(b.left) +
                "px;top:" + std::to_string(b.top) + "px;width:" + std::to_string(b.width) +
                "px;height:" + std::to_string(b.height) + "px\">Sentence " + b.id + "</div>";
    }
    return html + "</body></html>";
}

class ImportWriter : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { s_browser = pagly::testing::startSharedBrowser(); }
    static void TearDownTestSuite() {
        delete s_browser;
        s_browser = nullptr;
    }

    void SetUp() override {
        if (!s_browser) GTEST_SKIP() << "no headless browser at " << HeadlessBrowser::program();
        requestCancel(false);
        m_dir = makeTemporaryFolder("pagly-import-test-");
        ASSERT_FALSE(m_dir.empty());
        m_source = m_dir + "/source";
        ASSERT_TRUE(makeFolder(m_source));
        writeToneRecording(m_source + "/tone.mp3");
        m_options.browser = s_browser;
        m_options.chromeFolder = PAGLY_BOOK_DIR;
        m_options.problem = [this](const ImportProblem& p) { m_problems.push_back(p); };
        m_options.progress = [this](int done, int total) { m_progress.push_back({done, total}); };
    }
    void TearDown() override {
        requestCancel(false);
        if (!m_dir.empty()) removeTree(m_dir);
    }

    SourceDocument page(const std::string& file, const std::vector<Absolute>& boxes) {
        writeFile(m_source + "/" + file, fixedPage(boxes));
        SourceDocument d;
        d.path = m_source + "/" + file;
        d.width = 400;
        d.height = 600;
        return d;
    }
    SourceSentence sentence(const char* id, double begin, double end,
                            const char* audio = "tone.mp3") {
        SourceSentence s;
        s.elementId = id;
        s.audioFile = m_source + "/" + audio;
        s.clipBegin = begin;
        s.clipEnd = end;
        return s;
    }
    SourceBook book(std::vector<SourceDocument> documents) {
        SourceBook b;
        b.title = "Made here";
        b.folder = m_source;
        b.documents = std::move(documents);
        b.pagesPerSection = 10;
        return b;
    }
    bool mentions(const std::string& file, const std::string& words) const {
        for (const ImportProblem& p : m_problems)
            if (p.file == file && p.reason.find(words) != std::string::npos) return true;
        return false;
    }
    // No unfinished folder is left beside the target.
    int leftovers() const {
        int count = 0;
        std::string listing;
        if (DIR* dir = opendir(m_dir.c_str())) {
            while (dirent* e = readdir(dir))
                if (std::string(e->d_name).find("pagly-import-unfinished") != std::string::npos)
                    ++count;
            closedir(dir);
        }
        return count;
    }

    static HeadlessBrowser* s_browser;
    std::string m_dir, m_source;
    WriteOptions m_options;
    std::vector<ImportProblem> m_problems;
    std::vector<std::pair<int, int>> m_progress;
};

HeadlessBrowser* ImportWriter::s_browser = nullptr;

TEST_F(ImportWriter, ButtonsLieOverTheLaidOutRectanglesAndClipsKeepTheirLength) {
    // 400 x 600 CSS pixels fill the 640 x 960 frame exactly: 1.6 design points a pixel.
    std::vector<Absolute> boxes = {
        {"s1", 40, 50, 200, 40}, {"s2", 100, 300, 250, 60}, {"s3", 0, 560, 400, 40}};
    SourceDocument d = page("one.html", boxes);
    d.sentences = {sentence("s1", 0.0, 1.0), sentence("s2", 1.0, 2.0), sentence("s3", 2.0, -1)};
    d.sentences[0].caption = "Premier";
    std::string target = m_dir + "/book";
    std::string why;
    ASSERT_TRUE(writeBook(book({d}), target, m_options, why)) << why;
    EXPECT_TRUE(m_problems.empty());
    ASSERT_EQ(1u, m_progress.size());
    EXPECT_EQ(std::make_pair(1, 1), m_progress[0]);

    Json::Value doc = readJson(target + "/" + pageDocumentPath(1));
    for (size_t i = 0; i < boxes.size(); ++i) {
        const Absolute& b = boxes[i];
        const Json::Value* w = findWidget(doc["widgetTree"], sentenceButtonName(1, (int)i + 1));
        ASSERT_NE(nullptr, w) << b.id;
        const Json::Value& o = (*w)["options"];
        EXPECT_EQ("Button", (*w)["classname"].asString());
        EXPECT_TRUE(o["touchAble"].asBool());
        // The rectangle with a margin of 3 points, kept on the frame.
        double x0 = std::max(0.0, b.left * 1.6 - 3), y0 = std::max(0.0, b.top * 1.6 - 3);
        double x1 = std::min(640.0, (b.left + b.width) * 1.6 + 3);
        double y1 = std::min(960.0, (b.top + b.height) * 1.6 + 3);
        EXPECT_NEAR((x0 + x1) / 2 - 320, o["x"].asDouble(), 0.02) << b.id;
        EXPECT_NEAR(480 - (y0 + y1) / 2, o["y"].asDouble(), 0.02) << b.id;
        EXPECT_NEAR((x1 - x0) / kButtonPictureSize, o["scaleX"].asDouble(), 0.001) << b.id;
        EXPECT_NEAR((y1 - y0) / kButtonPictureSize, o["scaleY"].asDouble(), 0.001) << b.id;
    }
    // Each clip is its own recording, as long as its clip (as decoded and as frames count).
    const double lengths[] = {1.0, 1.0, 1.0};
    for (int i = 1; i <= 3; ++i) {
        std::string file = target + "/" + recordingPath(1, i);
        Heard heard = hear(file);
        // A player that reads the encoder's Info tag plays exactly the clip; one that counts
        // whole frames plays its delay and padding too.
        EXPECT_NEAR(lengths[i - 1], heard.seconds, 0.005) << file;
        EXPECT_NEAR(lengths[i - 1], audio::mp3DurationOfFile(file), 0.05) << file;
        // Only the middle clip is the tone.
        if (i == 2) {
            EXPECT_GT(heard.rms, 0.2) << file;
        } else {
            EXPECT_LT(heard.rms, 0.05) << file;
        }
    }
    std::string captions;
    ASSERT_TRUE(readFile(target + "/Stringstr.xml", captions));
    EXPECT_NE(std::string::npos, captions.find("<key>str011</key>\n\t<string>Premier</string>"));
    EXPECT_EQ(std::string::npos, captions.find("str012"));
    Json::Value description = readJson(target + "/book.json");
    EXPECT_EQ("Made here", description["title"].asString());
    EXPECT_TRUE(description["keepButtonLook"].asBool());
    EXPECT_EQ("Page 1", description["units"][0]["name"].asString());
    EXPECT_TRUE(isImportedFolder(target));
    EXPECT_EQ(0, leftovers());
    CheckReport report = BookChecker(target).run();
    for (const Problem& p : report.problems)
        if (p.severity == Severity::Error) ADD_FAILURE() << p.line();
}

TEST_F(ImportWriter, HugeTitlesAreCutSoThatTheReaderCanReadTheBook) {
    // A megabyte of title would make a book.json the reader refuses.
    std::string huge = "Volume: ";  // so that byte 300 falls inside an é
    while (huge.size() < (1u << 20)) huge += "A very long title \xC3\xA9 ";
    SourceDocument d = page("one.html", {{"s1", 40, 50, 200, 40}});
    d.sentences = {sentence("s1", 0.0, 1.0)};
    d.sectionTitle = huge;
    SourceBook b = book({d});
    b.title = huge;
    std::string target = m_dir + "/book", why;
    ASSERT_TRUE(writeBook(b, target, m_options, why)) << why;
    EXPECT_TRUE(mentions("the book's title", "only its first"));
    EXPECT_TRUE(mentions("one.html (its section title)", "only its first"));
    Json::Value description = readJson(target + "/book.json");
    std::string title = description["title"].asString();
    EXPECT_LE(title.size(), 300u);
    EXPECT_EQ(0u, huge.find(title));
    EXPECT_EQ(299u, title.size());
    EXPECT_EQ(printable(title), title);  // cut at a character, not inside one
    EXPECT_LE(description["units"][0]["name"].asString().size(), 300u);
    CheckReport report = BookChecker(target).run();
    EXPECT_EQ(0, report.errors());
    for (const Problem& p : report.problems)
        if (p.severity == Severity::Error) ADD_FAILURE() << p.line();
}

TEST_F(ImportWriter, BadSentencesAreLeftOutWithTheirReason) {
    writeFile(m_source + "/noise.mp3", std::string(5000, '\x5a'));
    ASSERT_EQ(0, symlink("/etc/hostname", (m_source + "/outside.mp3").c_str()));
    std::vector<Absolute> boxes = {{"good", 10, 10, 100, 30},  {"late", 10, 60, 100, 30},
                                   {"gone", 10, 110, 100, 30}, {"noise", 10, 160, 100, 30},
                                   {"out", 10, 210, 100, 30},  {"hidden", 10, 260, 0, 0}};
    SourceDocument d = page("bad.html", boxes);
    d.sentences = {sentence("good", 0, 1),
                   sentence("late", 2.5, 9.0),
                   sentence("gone", 0, 1, "x.mp3"),
                   sentence("noise", 0, 1, "noise.mp3"),
                   sentence("out", 0, 1, "outside.mp3"),
                   sentence("hidden", 0, 1),
                   sentence("absent", 0, 1)};
    std::string why;
    ASSERT_TRUE(writeBook(book({d}), m_dir + "/book", m_options, why)) << why;
    EXPECT_TRUE(mentions("tone.mp3", "past the end of the recording"));
    EXPECT_TRUE(mentions("x.mp3", "missing"));
    EXPECT_TRUE(mentions("noise.mp3", "decoded"));
    EXPECT_TRUE(mentions("outside.mp3", "outside the book"));
    EXPECT_TRUE(mentions("bad.html#hidden", "not shown"));
    EXPECT_TRUE(mentions("bad.html#absent", "no element"));
    // The one good sentence is sentence 1; nothing else got a button.
    Json::Value doc = readJson(m_dir + "/book/" + pageDocumentPath(1));
    EXPECT_NE(nullptr, findWidget(doc["widgetTree"], sentenceButtonName(1, 1)));
    EXPECT_EQ(nullptr, findWidget(doc["widgetTree"], sentenceButtonName(1, 2)));
    EXPECT_TRUE(isFile(m_dir + "/book/" + recordingPath(1, 1)));
}

TEST_F(ImportWriter, ABookWithNothingUsableIsRefusedAndLeavesNoFolder) {
    struct Case {
        const char* what;
        int width;
        const char* audio;
        const char* reason;
    } cases[] = {
        {"no recording decodes", 400, "x.mp3", "none of its sentences"},
        {"its only page is too large to draw", 20000, "tone.mp3", "none of its pages"},
    };
    for (const Case& c : cases) {
        SourceDocument d = page("p.html", {{"s1", 10, 10, 100, 30}});
        d.width = c.width;
        d.sentences = {sentence("s1", 0, 1, c.audio)};
        std::string why;
        EXPECT_FALSE(writeBook(book({d}), m_dir + "/book", m_options, why)) << c.what;
        EXPECT_NE(std::string::npos, why.find(c.reason)) << c.what << ": " << why;
        EXPECT_FALSE(isFolder(m_dir + "/book")) << c.what;
        EXPECT_EQ(0, leftovers()) << c.what;
    }
    EXPECT_TRUE(mentions("p.html", "larger than the reader can draw"));
}

TEST_F(ImportWriter, AConversionStoppedHalfwayLeavesTheOldFolderOrNone) {
    std::vector<SourceDocument> documents;
    for (int k = 0; k < 3; ++k) {
        SourceDocument d = page("p" + std::to_string(k) + ".html", {{"s1", 10, 10, 100, 30}});
        d.sentences = {sentence("s1", 1, 2)};
        documents.push_back(d);
    }
    // Stopped after the first page: no folder at all.
    m_options.progress = [](int done, int) {
        if (done == 1) requestCancel();
    };
    std::string why;
    EXPECT_FALSE(writeBook(book(documents), m_dir + "/book", m_options, why));
    EXPECT_NE(std::string::npos, why.find("cancelled")) << why;
    EXPECT_FALSE(isFolder(m_dir + "/book"));
    EXPECT_EQ(0, leftovers());

    // A finished conversion, then one stopped halfway: the finished one stays whole.
    requestCancel(false);
    m_options.progress = nullptr;
    ASSERT_TRUE(writeBook(book({documents[0]}), m_dir + "/book", m_options, why)) << why;
    m_options.progress = [](int done, int) {
        if (done == 2) requestCancel();
    };
    EXPECT_FALSE(writeBook(book(documents), m_dir + "/book", m_options, why));
    EXPECT_TRUE(isFile(m_dir + "/book/" + pageDocumentPath(1)));
    EXPECT_FALSE(isFile(m_dir + "/book/" + pageDocumentPath(2)));
    EXPECT_EQ(0, leftovers());

    // Finished again, it replaces the old one whole.
    requestCancel(false);
    m_options.progress = nullptr;
    ASSERT_TRUE(writeBook(book(documents), m_dir + "/book", m_options, why)) << why;
    EXPECT_TRUE(isFile(m_dir + "/book/" + pageDocumentPath(3)));
    EXPECT_EQ(0, leftovers());
}

TEST_F(ImportWriter, AFolderThatIsNoConvertedBookIsNeverReplaced) {
    ASSERT_TRUE(makeFolder(m_dir + "/mine"));
    ASSERT_TRUE(writeFile(m_dir + "/mine/notes.txt", "keep me"));
    SourceDocument d = page("p.html", {{"s1", 10, 10, 100, 30}});
    d.sentences = {sentence("s1", 1, 2)};
    std::string why, kept;
    EXPECT_FALSE(writeBook(book({d}), m_dir + "/mine", m_options, why));
    EXPECT_NE(std::string::npos, why.find("not a book that pagly-import wrote")) << why;
    ASSERT_TRUE(readFile(m_dir + "/mine/notes.txt", kept));
    EXPECT_EQ("keep me", kept);
}

TEST_F(ImportWriter, APageWithMoreSentencesThanTheReaderTakesIsShownAgainForTheRest) {
    std::vector<Absolute> boxes;
    std::vector<std::string> ids;
    for (int i = 0; i < 31; ++i) ids.push_back("m" + std::to_string(i + 1));
    for (int i = 0; i < 31; ++i)
        boxes.push_back({ids[(size_t)i].c_str(), 10, 10 + i * 18, 200, 16});
    SourceDocument d = page("many.html", boxes);
    for (int i = 0; i < 31; ++i) d.sentences.push_back(sentence(ids[(size_t)i].c_str(), 1.0, 1.2));
    std::string why;
    ASSERT_TRUE(writeBook(book({d}), m_dir + "/book", m_options, why)) << why;
    ASSERT_FALSE(m_progress.empty());
    EXPECT_EQ(std::make_pair(2, 2), m_progress.back());
    Json::Value first = readJson(m_dir + "/book/" + pageDocumentPath(1));
    Json::Value second = readJson(m_dir + "/book/" + pageDocumentPath(2));
    EXPECT_NE(nullptr, findWidget(first["widgetTree"], sentenceButtonName(1, 29)));
    EXPECT_EQ(nullptr, findWidget(first["widgetTree"], sentenceButtonName(1, 30)));
    EXPECT_NE(nullptr, findWidget(second["widgetTree"], sentenceButtonName(2, 2)));
    EXPECT_EQ(nullptr, findWidget(second["widgetTree"], sentenceButtonName(2, 3)));
    // The rest sits where it sits on the page: sentence 30 is the 30th box.
    const Json::Value* thirtieth = findWidget(second["widgetTree"], sentenceButtonName(2, 1));
    ASSERT_NE(nullptr, thirtieth);
    EXPECT_NEAR(480 - (10 + 29 * 18 + 8) * 1.6, (*thirtieth)["options"]["y"].asDouble(), 0.02);
    // Both show the same picture.
    EXPECT_EQ(findWidget(first["widgetTree"], "picture")->get("options", {})["fileNameData"],
              findWidget(second["widgetTree"], "picture")->get("options", {})["fileNameData"]);
}

TEST_F(ImportWriter, AFlowingDocumentIsCutIntoFramesAndEachSentenceLandsOnItsOwn) {
    std::string html = "<html><body>";
    for (int i = 1; i <= 60; ++i)
        html += "<p><span id=\"f" + std::to_string(i) + "\">Sentence " + std::to_string(i) +
                " of a flowing chapter, long enough to wrap across the narrow column.</span></p>";
    writeFile(m_source + "/flow.html", html + "</body></html>");
    SourceDocument d;
    d.path = m_source + "/flow.html";
    d.layout = SourceLayout::Reflow;
    d.sectionTitle = "Chapter One";
    for (int i = 1; i <= 60; ++i)
        d.sentences.push_back(sentence(("f" + std::to_string(i)).c_str(), 1.0, 1.5));
    std::string why;
    ASSERT_TRUE(writeBook(book({d}), m_dir + "/book", m_options, why)) << why;
    EXPECT_TRUE(m_problems.empty());
    ASSERT_GE(m_progress.size(), 3u);
    int pages = m_progress.back().second;
    EXPECT_EQ(pages, m_progress.back().first);
    Json::Value description = readJson(m_dir + "/book/book.json");
    EXPECT_EQ("Chapter One", description["units"][0]["name"].asString());
    EXPECT_EQ(pages, (int)description["units"][0]["pages"].size());
    // Every sentence is on exactly one page, in reading order, each button on the frame.
    int seen = 0, ownPictures = 0;
    for (int p = 1; p <= pages; ++p) {
        Json::Value doc = readJson(m_dir + "/book/" + pageDocumentPath(p));
        for (int i = 1;; ++i) {
            const Json::Value* w = findWidget(doc["widgetTree"], sentenceButtonName(p, i));
            if (!w) break;
            const Json::Value& o = (*w)["options"];
            double halfW = o["scaleX"].asDouble() * kButtonPictureSize / 2;
            double halfH = o["scaleY"].asDouble() * kButtonPictureSize / 2;
            std::string lit = o["pressedData"]["path"].asString();
            if (lit != kLitPicture) {
                // A sentence over several lines: its own pictures, its size, lit on its lines
                // only and clear where its neighbours' words are.
                EXPECT_EQ(1.0, o["scaleX"].asDouble());
                std::string png;
                int wide = 0, high = 0;
                ASSERT_TRUE(readFile(m_dir + "/book/lessonbundle/" + lit, png));
                ASSERT_TRUE(pngSize(png, wide, high));
                halfW = wide / 2.0;
                halfH = high / 2.0;
                double share = litShare(m_dir + "/book/lessonbundle/" + lit);
                EXPECT_GT(share, 0.2) << lit;
                EXPECT_LT(share, 0.9) << lit;
                ++ownPictures;
            }
            EXPECT_GE(o["x"].asDouble() - halfW, -320.01);
            EXPECT_LE(o["x"].asDouble() + halfW, 320.01);
            EXPECT_GE(o["y"].asDouble() - halfH, -480.01);
            EXPECT_LE(o["y"].asDouble() + halfH, 480.01);
            ++seen;
        }
        EXPECT_TRUE(
            isFile(m_dir + "/book/lessonbundle/pictures/page" + std::to_string(p) + ".png"));
    }
    EXPECT_EQ(60, seen);
    // Sentences wrap over two lines or more in this column.
    EXPECT_GT(ownPictures, 10);
}

}  // namespace

TEST_F(ImportWriter, APageGetsTheBooksOwnFilesAndNothingElseOnTheMachine) {
    // A picture inside the book, and one beside it (as a hostile page would name a user's
    // file); both named plainly and through a link.
    std::string outside = m_dir + "/outside";
    ASSERT_TRUE(makeFolder(outside));
    writeToneRecording(outside + "/x.mp3");  // any file will do for the link's target
    for (const std::string& folder : {m_source, outside}) {
        SDL_Surface* red = SDL_CreateRGBSurfaceWithFormat(0, 30, 20, 32, SDL_PIXELFORMAT_RGBA32);
        ASSERT_NE(nullptr, red);
        SDL_FillRect(red, nullptr, SDL_MapRGBA(red->format, 255, 0, 0, 255));
        IMG_SavePNG(red, (folder + "/red.png").c_str());
        SDL_FreeSurface(red);
    }
    ASSERT_EQ(0, symlink((outside + "/red.png").c_str(), (m_source + "/link.png").c_str()));
    writeFile(m_source + "/page.htm",
              "<html><body><img src='red.png'><img src='../outside/red.png'>"
              "<img src='file://" +
                  outside +
                  "/red.png'><img src='link.png'>"
                  "<img src='file://" +
                  m_source + "/../outside/red%2Epng'></body></html>");
    s_browser->confineFilesTo(m_source);
    std::string why;
    ASSERT_TRUE(s_browser->navigate("file://" + m_source + "/page.htm", why)) << why;
    Json::Value widths;
    ASSERT_TRUE(s_browser->evaluate(
        "Array.from(document.images).map(function (i) { return i.naturalWidth; })", widths, why))
        << why;
    ASSERT_EQ(5u, widths.size());
    EXPECT_EQ(30, widths[0].asInt()) << "the book's own picture";
    for (unsigned i = 1; i < 5; ++i) EXPECT_EQ(0, widths[i].asInt()) << "picture " << i;
    s_browser->confineFilesTo("");
}

// A sentence timed word by word gets a timing file beside its recording, with each word's
// time and its rectangle on the button (points from the button's top left), which pagly-check
// accepts. One whose words are not all shown plays without timings, and says so.
TEST_F(ImportWriter, TimedWordsGetATimingFileWithTheirRectanglesOnTheButton) {
    const char* word = "position:absolute;height:20px;top:";
    writeFile(m_source + "/words.html",
              std::string("<!DOCTYPE html><html><head><style>body{margin:0}"
                          "div{position:absolute;font:16px sans-serif}</style></head><body>"
                          "<div id=\"s1\" style=\"left:40px;top:50px;width:300px;height:40px\">"
                          "<span id=\"s1a\" style=\"") +
                  word + "0;left:0;width:60px\">one</span><span id=\"s1b\" style=\"" + word +
                  "10px;left:100px;width:80px\">two</span></div>"
                  "<div id=\"s2\" style=\"left:40px;top:300px;width:300px;height:40px\">"
                  "<span id=\"s2a\">three</span> <span id=\"s2b\" style=\"display:none\">"
                  "four</span></div></body></html>");
    SourceDocument d;
    d.path = m_source + "/words.html";
    d.width = 400;
    d.height = 600;
    d.sentences = {sentence("s1", 0.5, 1.5), sentence("s2", 1.5, 2.5)};
    d.sentences[0].words = {{"s1a", "one", 0.0, 0.4}, {"s1b", "two", 0.5, 1.0}};
    d.sentences[1].words = {{"s2a", "three", 0.0, 0.4}, {"s2b", "four", 0.5, 1.0}};
    std::string target = m_dir + "/book";
    std::string why;
    ASSERT_TRUE(writeBook(book({d}), target, m_options, why)) << why;

    std::string text;
    ASSERT_TRUE(readFile(target + "/" + WordTimings::pathForRecording(recordingPath(1, 1)), text));
    WordTimings timings;
    std::vector<std::string> problems;
    ASSERT_TRUE(timings.parse(text, problems)) << text;
    ASSERT_EQ(2u, timings.words().size());
    ASSERT_TRUE(timings.hasBoxes());
    // 1.6 points a CSS pixel; the button reaches 3 points past its sentence.
    const double expected[2][4] = {{3, 3, 96, 32}, {163, 19, 128, 32}};
    const char* texts[2] = {"one", "two"};
    for (int k = 0; k < 2; ++k) {
        const TimedWord& w = timings.words()[(size_t)k];
        EXPECT_EQ(texts[k], w.text);
        EXPECT_NEAR(expected[k][0], w.x, 0.02) << k;
        EXPECT_NEAR(expected[k][1], w.y, 0.02) << k;
        EXPECT_NEAR(expected[k][2], w.width, 0.02) << k;
        EXPECT_NEAR(expected[k][3], w.height, 0.02) << k;
    }
    EXPECT_DOUBLE_EQ(0.5, timings.words()[1].start);
    EXPECT_DOUBLE_EQ(1.0, timings.words()[1].end);

    EXPECT_FALSE(isFile(target + "/" + WordTimings::pathForRecording(recordingPath(1, 2))));
    EXPECT_TRUE(mentions("words.html#s2", "not shown with it"));
    CheckReport report = BookChecker(target).run();
    for (const Problem& p : report.problems)
        if (p.severity == Severity::Error) ADD_FAILURE() << p.line();
}
