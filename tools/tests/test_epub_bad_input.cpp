// An EPUB with bad parts: each is told as a problem naming the file and the reason, the rest
// of the book is still read, and a book with nothing usable comes back with no documents.
// Each case spoils one thing in a copy of the fixed-layout fixture (3 pages; pages 1-2 cut
// from audio/chapter_01.mp3, page 3 from audio/chapter_02.mp3).
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <regex>

#include "tools/import/EpubReader.h"
#include "tools/import/SoundLength.h"
#include "tools/tests/ImportFixtures.h"

using namespace pagly::import;
using namespace pagly::testing;

namespace {

const std::string kOpf = "OEBPS/content.opf";
const std::string kPage1 = "OEBPS/pages/page_001.xhtml";
const std::string kPage2 = "OEBPS/pages/page_002.xhtml";
const std::string kPage3 = "OEBPS/pages/page_003.xhtml";
const std::string kSmil1 = "OEBPS/smil/page_001.smil";
const std::string kSmil2 = "OEBPS/smil/page_002.smil";
const std::string kSmil3 = "OEBPS/smil/page_003.smil";
const std::string kAudio1 = "OEBPS/audio/chapter_01.mp3";
const std::string kAudio2 = "OEBPS/audio/chapter_02.mp3";

// The copy of the book a case spoils.
class Book {
  public:
    explicit Book(const std::string& folder) : folder_(folder) {}
    std::string path(const std::string& name) const { return folder_ + "/" + name; }
    std::string read(const std::string& name) const { return readFile(path(name)); }
    void write(const std::string& name, const std::string& data) const {
        writeFile(path(name), data);
    }
    void remove(const std::string& name) const { fs::remove(path(name)); }
    // Replaces the first match of pattern (a regular expression) in the file.
    void edit(const std::string& name, const std::string& pattern, const std::string& with) const {
        std::string text = read(name);
        std::string changed = std::regex_replace(text, std::regex(pattern), with,
                                                 std::regex_constants::format_first_only);
        ASSERT_NE(changed, text) << "the fixture no longer holds " << pattern << " in " << name;
        write(name, changed);
    }

  private:
    std::string folder_;
};

std::vector<std::string> ids(const SourceDocument& d) {
    std::vector<std::string> out;
    for (const SourceSentence& s : d.sentences) out.push_back(s.elementId);
    return out;
}

using Strings = std::vector<std::string>;

struct BadCase {
    const char* label;
    std::function<void(const Book&)> spoil;
    std::string fileTold;  // "" : no problem expected at all
    std::string reason;
    std::function<void(const SourceBook&, const Book&)> check;
};

}  // namespace

TEST(EpubBadInput, EachBadPartIsToldAndLeftOut) {
    const EpubFixtureBooks& fixtures = epubFixtures();
    ASSERT_TRUE(fixtures.made);
    const std::vector<BadCase> cases = {
        {"package not XML",
         [](const Book& b) { b.write(kOpf, "<package><metadata><dc:title>x</package>"); }, kOpf,
         "is not XML",
         [](const SourceBook& r, const Book&) {
             EXPECT_TRUE(r.documents.empty());
             EXPECT_TRUE(tells(r.problems, "book", "cannot be converted")) << told(r.problems);
         }},
        {"overlay not XML", [](const Book& b) { b.write(kSmil2, "this is < not & XML"); }, kSmil2,
         "is not XML",
         [](const SourceBook& r, const Book&) {
             ASSERT_EQ(r.documents.size(), 3u);
             EXPECT_EQ(r.documents[0].sentences.size(), 3u);
             EXPECT_TRUE(r.documents[1].sentences.empty());
             EXPECT_EQ(r.documents[2].sentences.size(), 3u);
         }},
        {"overlay names an absent id", [](const Book& b) { b.edit(kSmil1, "#s001_2", "#nosuch"); },
         kSmil1, "no element with id \"nosuch\"",
         [](const SourceBook& r, const Book&) {
             EXPECT_EQ(ids(r.documents[0]), (Strings{"s001_1", "s001_3"}));
         }},
        {"overlay names no id at all", [](const Book& b) { b.edit(kSmil1, "#s001_2", ""); }, kSmil1,
         "without an element id",
         [](const SourceBook& r, const Book&) { EXPECT_EQ(r.documents[0].sentences.size(), 2u); }},
        {"overlay names an absent recording",
         [](const Book& b) { b.edit(kSmil3, "chapter_02.mp3", "gone.mp3"); },
         "OEBPS/audio/gone.mp3", "is missing",
         [](const SourceBook& r, const Book&) {
             EXPECT_EQ(ids(r.documents[2]), (Strings{"s003_2", "s003_3"}));
         }},
        {"overlay names an absent page",
         [](const Book& b) { b.edit(kSmil2, "page_002.xhtml#s002_3", "page_092.xhtml#s002_3"); },
         kSmil2, "names OEBPS/pages/page_092.xhtml, which is missing",
         [](const SourceBook& r, const Book&) {
             EXPECT_EQ(ids(r.documents[1]), (Strings{"s002_1", "s002_2"}));
         }},
        {"two pages share one overlay",
         [](const Book& b) {
             b.edit(kOpf, "media-overlay=\"mo002\"", "media-overlay=\"mo001\"");
             std::smatch pars;
             std::string second = b.read(kSmil2);
             ASSERT_TRUE(std::regex_search(second, pars, std::regex("<par[\\s\\S]*</par>")));
             b.edit(kSmil1, "</body>", pars.str() + "</body>");
         },
         "", "",
         [](const SourceBook& r, const Book&) {
             EXPECT_EQ(ids(r.documents[0]), (Strings{"s001_1", "s001_2", "s001_3"}));
             EXPECT_EQ(ids(r.documents[1]), (Strings{"s002_1", "s002_2", "s002_3"}));
         }},
        {"a page twice in the spine",
         [](const Book& b) {
             b.edit(kOpf, "<itemref idref=\"p002\"/>",
                    "<itemref idref=\"p002\"/><itemref idref=\"p002\"/>");
         },
         kOpf, "more than once",
         [](const SourceBook& r, const Book&) { EXPECT_EQ(r.documents.size(), 3u); }},
        {"overlay names a page that does not name it",
         [](const Book& b) { b.edit(kSmil1, "page_001.xhtml#s001_3", "page_002.xhtml#s002_1"); },
         kSmil1, "does not name this overlay",
         [](const SourceBook& r, const Book&) {
             EXPECT_EQ(ids(r.documents[0]), (Strings{"s001_1", "s001_2"}));
             EXPECT_EQ(r.documents[1].sentences.size(), 3u);
         }},
        {"the same element twice", [](const Book& b) { b.edit(kSmil1, "#s001_2", "#s001_1"); },
         kSmil1, "a second par",
         [](const SourceBook& r, const Book&) {
             EXPECT_EQ(ids(r.documents[0]), (Strings{"s001_1", "s001_3"}));
         }},
        {"clipEnd past the recording's end: cut at its end",
         [](const Book& b) {
             b.edit(kSmil3, "(clipEnd=\")[^\"]*(\"/></par>\\s*</seq>)", "$01999s$2");
         },
         kSmil3, "cut at the recording's end",
         [](const SourceBook& r, const Book& b) {
             ASSERT_EQ(r.documents[2].sentences.size(), 3u);
             std::string why;
             double length = decodedSoundSeconds(b.path(kAudio2), why);
             EXPECT_DOUBLE_EQ(r.documents[2].sentences[2].clipEnd, length);
             EXPECT_LT(r.documents[2].sentences[2].clipBegin, length);
         }},
        {"clipBegin past the recording's end: left out",
         [](const Book& b) { b.edit(kSmil3, "clipBegin=\"[^\"]*\"", "clipBegin=\"00:16:40\""); },
         kSmil3, "lies past the end",
         [](const SourceBook& r, const Book&) {
             EXPECT_EQ(ids(r.documents[2]), (Strings{"s003_2", "s003_3"}));
         }},
        {"clip ending before it begins",
         [](const Book& b) { b.edit(kSmil2, "clipEnd=\"[^\"]*\"", "clipEnd=\"0.001s\""); }, kSmil2,
         "is not after its clipBegin",
         [](const SourceBook& r, const Book&) {
             EXPECT_EQ(ids(r.documents[1]), (Strings{"s002_2", "s002_3"}));
         }},
        {"clip time that is not a time",
         [](const Book& b) { b.edit(kSmil2, "clipBegin=\"[^\"]*\"", "clipBegin=\"soon\""); },
         kSmil2, "\"soon\" in the par for ../pages/page_002.xhtml#s002_1 is not a time",
         [](const SourceBook& r, const Book&) { EXPECT_EQ(r.documents[1].sentences.size(), 2u); }},
        {"recording of random bytes",
         [](const Book& b) {
             std::string noise(30000, '\0');
             std::uint32_t state = 7;
             for (char& c : noise) c = char((state = state * 1103515245u + 12345u) >> 23);
             b.write(kAudio1, noise);
         },
         kAudio1, "does not decode",
         [](const SourceBook& r, const Book&) {
             ASSERT_EQ(r.documents.size(), 3u);
             EXPECT_TRUE(r.documents[0].sentences.empty());
             EXPECT_TRUE(r.documents[1].sentences.empty());
             EXPECT_EQ(r.documents[2].sentences.size(), 3u);
             // One problem for the recording, not one per sentence.
             int count = 0;
             for (const ImportProblem& p : r.problems) count += p.file == kAudio1;
             EXPECT_EQ(count, 1) << told(r.problems);
         }},
        {"empty recording", [](const Book& b) { b.write(kAudio2, ""); }, kAudio2, "does not decode",
         [](const SourceBook& r, const Book&) { EXPECT_TRUE(r.documents[2].sentences.empty()); }},
        {"truncated recording: the clips past its new end are cut or left out",
         [](const Book& b) {
             std::string data = b.read(kAudio2);
             b.write(kAudio2, data.substr(0, data.size() / 3));
         },
         kSmil3, "lies past the end",
         [](const SourceBook& r, const Book&) {
             ASSERT_FALSE(r.documents[2].sentences.empty());
             EXPECT_LT(r.documents[2].sentences.size(), 3u);
         }},
        {"missing page", [](const Book& b) { b.remove(kPage2); }, kPage2, "is missing",
         [](const SourceBook& r, const Book& b) {
             ASSERT_EQ(r.documents.size(), 2u);
             EXPECT_EQ(r.documents[1].path, b.path(kPage3));
             EXPECT_EQ(r.documents[1].sectionTitle, "Chapter 2");
         }},
        {"page not XML",
         [](const Book& b) { b.write(kPage1, "<html><body><p>unclosed</body></html>"); }, kPage1,
         "is not XML",
         [](const SourceBook& r, const Book&) {
             ASSERT_EQ(r.documents.size(), 2u);
             // Its section now has no page to start on: the next chapter still starts one.
             EXPECT_EQ(r.documents[1].sectionTitle, "Chapter 2");
         }},
        {"missing picture", [](const Book& b) { b.remove("OEBPS/images/picture_001.png"); }, kPage1,
         "OEBPS/images/picture_001.png, which is missing",
         [](const SourceBook& r, const Book&) {
             ASSERT_EQ(r.documents.size(), 3u);
             EXPECT_EQ(r.documents[0].sentences.size(), 3u);
         }},
        {"missing video",
         [](const Book& b) {
             b.edit(kPage2, "<p><span", "<video src=\"../video/sign.mp4\"/><p><span");
         },
         kPage2, "OEBPS/video/sign.mp4, which is missing",
         [](const SourceBook& r, const Book&) { EXPECT_EQ(r.documents[1].sentences.size(), 3u); }},
        {"page that is a pipe",
         [](const Book& b) {
             b.remove(kPage2);
             ASSERT_EQ(mkfifo(b.path(kPage2).c_str(), 0644), 0);
         },
         kPage2, "is not a plain file",
         [](const SourceBook& r, const Book&) { EXPECT_EQ(r.documents.size(), 2u); }},
        {"sentence nested a hundred thousand elements deep",
         [](const Book& b) {
             std::string deep;
             for (int i = 0; i < 100000; ++i) deep += "<b>";
             deep += "deep";
             for (int i = 0; i < 100000; ++i) deep += "</b>";
             b.edit(kPage1, "The red fox", deep);
         },
         "", "",
         [](const SourceBook& r, const Book&) {
             ASSERT_EQ(r.documents[0].sentences.size(), 3u);
             EXPECT_EQ(r.documents[0].sentences[0].text.rfind("deep runs", 0), 0u)
                 << r.documents[0].sentences[0].text.substr(0, 40);
         }},
        {"picture outside the book",
         [](const Book& b) {
             b.edit(kPage1, "\\.\\./images/picture_001\\.png",
                    "../../../../../../../../etc/hostname");
         },
         kPage1, "outside the book",
         [](const SourceBook& r, const Book&) { EXPECT_EQ(r.documents.size(), 3u); }},
        {"picture on the network",
         [](const Book& b) {
             b.edit(kPage2, "\\.\\./images/picture_002\\.png", "http://example.com/p.png");
         },
         kPage2, "not a file of the book",
         [](const SourceBook& r, const Book&) { EXPECT_EQ(r.documents.size(), 3u); }},
        {"manifest item outside the book",
         [](const Book& b) { b.edit(kOpf, "pages/page_003\\.xhtml", "../../../../outside.xhtml"); },
         kOpf, "outside the book's folder",
         [](const SourceBook& r, const Book&) { EXPECT_EQ(r.documents.size(), 2u); }},
        {"recording outside the book",
         [](const Book& b) { b.edit(kSmil1, "\\.\\./audio/chapter_01\\.mp3", "/etc/passwd"); },
         kSmil1, "absolute path",
         [](const SourceBook& r, const Book&) {
             EXPECT_EQ(ids(r.documents[0]), (Strings{"s001_2", "s001_3"}));
         }},
        {"recording reached through a link leading out of the book",
         [](const Book& b) {
             std::string outside = b.path("../outside.mp3");
             fs::copy_file(b.path(kAudio2), outside);
             b.remove(kAudio2);
             fs::create_symlink(outside, b.path(kAudio2));
         },
         kSmil3, "leads outside the book's folder",
         [](const SourceBook& r, const Book&) { EXPECT_TRUE(r.documents[2].sentences.empty()); }},
        {"mimetype reached through a link leading out of the book",
         [](const Book& b) {
             writeFile(b.path("../passwd"), "root:x:0:0:root:/root:/bin/bash\n");
             b.remove("mimetype");
             fs::create_symlink(b.path("../passwd"), b.path("mimetype"));
         },
         "mimetype", "outside the book",
         [](const SourceBook& r, const Book&) {
             EXPECT_EQ(r.documents.size(), 3u);
             EXPECT_EQ(told(r.problems).find("root:"), std::string::npos);
         }},
        {"container reached through a link leading out of the book",
         [](const Book& b) {
             std::string outside = b.path("../container.xml");
             fs::copy_file(b.path("META-INF/container.xml"), outside);
             b.remove("META-INF/container.xml");
             fs::create_symlink(outside, b.path("META-INF/container.xml"));
         },
         "META-INF/container.xml", "outside the book",
         [](const SourceBook& r, const Book&) { EXPECT_EQ(r.documents.size(), 3u); }},
        {"page without a viewport: the others' size",
         [](const Book& b) { b.edit(kPage2, "<meta name=\"viewport\"[^>]*>", ""); }, kPage2,
         "laid out at 600 x 800",
         [](const SourceBook& r, const Book&) {
             EXPECT_EQ(r.documents[1].width, 600);
             EXPECT_EQ(r.documents[1].height, 800);
             EXPECT_EQ(r.documents[1].layout, SourceLayout::Fixed);
         }},
        {"viewport written loosely",
         [](const Book& b) {
             b.edit(kPage3, "width=600, height=800",
                    " Width = 600px ;height=799.6, initial-scale=1");
         },
         "", "",
         [](const SourceBook& r, const Book&) {
             EXPECT_EQ(r.documents[2].width, 600);
             EXPECT_EQ(r.documents[2].height, 800);
         }},
        {"viewport of the device's width",
         [](const Book& b) { b.edit(kPage3, "width=600", "width=device-width"); }, kPage3,
         "no usable page size",
         [](const SourceBook& r, const Book&) { EXPECT_EQ(r.documents[2].width, 600); }},
        {"absurd viewport", [](const Book& b) { b.edit(kPage1, "width=600", "width=99999999"); },
         kPage1, "no usable page size",
         [](const SourceBook& r, const Book&) {
             EXPECT_EQ(r.documents[0].width, 600);
             EXPECT_EQ(r.documents[0].height, 800);
         }},
        {"no container: the package is found anyway",
         [](const Book& b) { b.remove("META-INF/container.xml"); }, "META-INF/container.xml",
         "is missing",
         [](const SourceBook& r, const Book&) {
             ASSERT_EQ(r.documents.size(), 3u);
             EXPECT_EQ(r.documents[0].sentences.size(), 3u);
         }},
        {"spine names an item the manifest lacks",
         [](const Book& b) { b.edit(kOpf, "idref=\"p002\"", "idref=\"p999\""); }, kOpf,
         "\"p999\", which the manifest does not list",
         [](const SourceBook& r, const Book&) { EXPECT_EQ(r.documents.size(), 2u); }},
        {"no page can be read: refused",
         [](const Book& b) {
             b.remove(kPage1);
             b.remove(kPage2);
             b.remove(kPage3);
         },
         "book", "cannot be converted",
         [](const SourceBook& r, const Book&) { EXPECT_TRUE(r.documents.empty()); }},
        {"no navigation document: the NCX gives the sections",
         [](const Book& b) { b.edit(kOpf, " properties=\"nav\"", ""); }, "", "",
         [](const SourceBook& r, const Book&) {
             EXPECT_EQ(r.documents[0].sectionTitle, "Chapter 1");
             EXPECT_EQ(r.documents[2].sectionTitle, "Chapter 2");
         }},
        {"no table of contents at all: units of ten pages",
         [](const Book& b) {
             b.edit(kOpf, " properties=\"nav\"", "");
             b.edit(kOpf, "<item id=\"ncx\"[^>]*>", "");
         },
         "", "",
         [](const SourceBook& r, const Book&) {
             EXPECT_EQ(r.pagesPerSection, 10);
             for (const SourceDocument& d : r.documents) EXPECT_TRUE(d.sectionTitle.empty());
         }},
        {"navigation document not XML: the NCX gives the sections",
         [](const Book& b) { b.write("OEBPS/nav.xhtml", "<nav"); }, "OEBPS/nav.xhtml", "is not XML",
         [](const SourceBook& r, const Book&) {
             EXPECT_EQ(r.documents[2].sectionTitle, "Chapter 2");
         }},
        {"a page drawn as SVG takes its size from its viewBox",
         [](const Book& b) {
             b.write("OEBPS/pages/page_002.svg",
                     "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 640 480\">"
                     "<rect width=\"640\" height=\"480\" fill=\"#8c8\"/></svg>");
             b.edit(kOpf,
                    "href=\"pages/page_002\\.xhtml\" media-type=\"application/xhtml\\+xml\" "
                    "media-overlay=\"mo002\"",
                    "href=\"pages/page_002.svg\" media-type=\"image/svg+xml\"");
         },
         "", "",
         [](const SourceBook& r, const Book& b) {
             ASSERT_EQ(r.documents.size(), 3u);
             EXPECT_EQ(r.documents[1].path, b.path("OEBPS/pages/page_002.svg"));
             EXPECT_EQ(r.documents[1].width, 640);
             EXPECT_EQ(r.documents[1].height, 480);
             EXPECT_TRUE(r.documents[1].sentences.empty());
         }},
        {"a page reflows in a fixed book",
         [](const Book& b) {
             b.edit(kOpf, "idref=\"p002\"",
                    "idref=\"p002\" properties=\"rendition:layout-reflowable\"");
         },
         "", "",
         [](const SourceBook& r, const Book&) {
             EXPECT_EQ(r.documents[0].layout, SourceLayout::Fixed);
             EXPECT_EQ(r.documents[1].layout, SourceLayout::Reflow);
             EXPECT_EQ(r.documents[1].width, 0);
         }},
        {"one fixed page in a flowing book",
         [](const Book& b) {
             b.edit(kOpf, "<meta property=\"rendition:layout\">pre-paginated</meta>", "");
             b.edit(kOpf, "idref=\"p003\"",
                    "idref=\"p003\" properties=\"rendition:layout-pre-paginated\"");
         },
         "", "",
         [](const SourceBook& r, const Book&) {
             EXPECT_EQ(r.documents[0].layout, SourceLayout::Reflow);
             EXPECT_EQ(r.documents[2].layout, SourceLayout::Fixed);
             EXPECT_EQ(r.documents[2].width, 600);
         }},
        {"names with spaces, written as %20",
         [](const Book& b) {
             fs::rename(b.path(kPage1), b.path("OEBPS/pages/page one.xhtml"));
             b.edit(kOpf, "pages/page_001\\.xhtml", "pages/page%20one.xhtml");
             for (int i = 0; i < 4; ++i) b.edit(kSmil1, "page_001\\.xhtml", "page%20one.xhtml");
             b.edit("OEBPS/nav.xhtml", "pages/page_001\\.xhtml", "pages/page%20one.xhtml");
         },
         "", "",
         [](const SourceBook& r, const Book& b) {
             ASSERT_EQ(r.documents.size(), 3u);
             EXPECT_EQ(r.documents[0].path, b.path("OEBPS/pages/page one.xhtml"));
             EXPECT_EQ(r.documents[0].sentences.size(), 3u);
             EXPECT_EQ(r.documents[0].sectionTitle, "Chapter 1");
         }},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.label);
        ScratchFolder sandbox;
        fs::copy(fixtures.fixedFolder, sandbox / "book", fs::copy_options::recursive);
        Book book(sandbox / "book");
        c.spoil(book);
        if (::testing::Test::HasFatalFailure()) return;
        std::set<std::string> before = treeOf(sandbox.path());
        SourceBook read = readEpub(sandbox / "book", sandbox / "work");
        if (c.fileTold.empty()) {
            EXPECT_TRUE(read.problems.empty()) << told(read.problems);
        } else {
            EXPECT_TRUE(tells(read.problems, c.fileTold, c.reason)) << told(read.problems);
        }
        c.check(read, book);
        // Reading a folder writes nothing, and every file it hands on lies inside the book.
        EXPECT_EQ(treeOf(sandbox.path()), before);
        for (const SourceDocument& d : read.documents) {
            EXPECT_EQ(d.path.rfind(read.folder + "/", 0), 0u) << d.path;
            for (const SourceSentence& s : d.sentences)
                EXPECT_EQ(s.audioFile.rfind(read.folder + "/", 0), 0u) << s.audioFile;
        }
    }
}
