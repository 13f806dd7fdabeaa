// Reading Bloom books: the shared real sample, and small books made here for what the sample
// lacks (a second language, a text box recorded whole, broken documents).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "app/BookNames.h"
#include "tools/import/BloomReader.h"
#include "tools/import/BookWriter.h"
#include "tools/import/FileTree.h"
#include "tools/import/Importer.h"
#include "tools/pagly-check/BookChecker.h"

using namespace pagly;
using namespace pagly::import;

namespace {

bool hasProblem(const std::vector<ImportProblem>& problems, const std::string& file,
                const std::string& words) {
    return std::any_of(problems.begin(), problems.end(), [&](const ImportProblem& p) {
        return p.file == file && p.reason.find(words) != std::string::npos;
    });
}

size_t sentenceCount(const SourceBook& book) {
    size_t n = 0;
    for (const SourceDocument& d : book.documents) n += d.sentences.size();
    return n;
}

class SharedBloomSample : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!isFolder(PAGLY_BLOOM_SAMPLE))
            GTEST_SKIP() << "no Bloom sample at " << PAGLY_BLOOM_SAMPLE;
    }
};

TEST_F(SharedBloomSample, ItsPagesSentencesAndMissingVideosAreRead) {
    SourceBook book;
    std::string why;
    ASSERT_TRUE(readBloom(PAGLY_BLOOM_SAMPLE, book, why)) << why;
    EXPECT_EQ("sign-language-with-talking-book", book.title);
    EXPECT_EQ(10, book.pagesPerSection);
    // Ten pages, of which the two empty inside covers show nothing.
    ASSERT_EQ(8u, book.documents.size());
    for (const SourceDocument& d : book.documents) {
        EXPECT_EQ(SourceLayout::Fixed, d.layout);
        EXPECT_EQ(559, d.width);  // A5 portrait: 148 x 210 mm
        EXPECT_EQ(794, d.height);
        EXPECT_EQ(0u, d.pageSelector.find("div.bloom-page[id=\""));
    }
    // The title on the cover and the title page, and one sentence on each talking page.
    EXPECT_EQ(4u, sentenceCount(book));
    EXPECT_EQ("The video should play first, then this.", book.documents[4].sentences.at(0).text);
    EXPECT_EQ(absolutePath(PAGLY_BLOOM_SAMPLE) + "/audio/i500c0088-a46b-4ee1-980c-82fb2b10c3c7.mp3",
              book.documents[4].sentences[0].audioFile);
    EXPECT_TRUE(
        hasProblem(book.problems, "video/64a73a8e-a50b-4b3f-8665-a608e17eff83.mp4", "missing"));
    EXPECT_TRUE(
        hasProblem(book.problems, "video/eecf9d8b-9134-4180-b51e-21e98218bebb.mp4", "missing"));
    EXPECT_EQ(2u, book.problems.size());
}

TEST_F(SharedBloomSample, ConvertsIntoABookThatPassesTheChecker) {
    if (!HeadlessBrowser::available()) GTEST_SKIP() << "no headless browser";
    std::string dir = makeTemporaryFolder("pagly-bloom-test-");
    SourceBook book;
    std::string why;
    ASSERT_TRUE(readBloom(PAGLY_BLOOM_SAMPLE, book, why)) << why;
    std::vector<ImportProblem> problems;
    WriteOptions options;
    options.chromeFolder = PAGLY_BOOK_DIR;
    options.problem = [&](const ImportProblem& p) { problems.push_back(p); };
    ASSERT_TRUE(writeBook(book, dir + "/book", options, why)) << why;
    EXPECT_TRUE(hasProblem(problems, "audio/i9e19dd91-8a53-4d26-aed1-f1b1a92f5596.mp3", "missing"));
    EXPECT_EQ(1u, problems.size());  // told once, though two pages name it
    for (int page = 1; page <= 8; ++page)
        EXPECT_TRUE(isFile(dir + "/book/" + pageDocumentPath(page)));
    EXPECT_FALSE(isFile(dir + "/book/" + pageDocumentPath(9)));
    EXPECT_TRUE(isFile(dir + "/book/" + recordingPath(5, 1)));
    EXPECT_TRUE(isFile(dir + "/book/" + recordingPath(7, 1)));
    CheckReport report = BookChecker(dir + "/book").run();
    EXPECT_EQ(0, report.errors());
    for (const Problem& p : report.problems)
        if (p.severity == Severity::Error) ADD_FAILURE() << p.line();
    removeTree(dir);
}

// A bilingual Bloom book in the form Bloom writes: English first, French second, a template
// language "z" that no reader shows.
const char* const kBilingual = R"(<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE html>
<html><head><title>Head title</title></head>
<body data-l1="en" data-l2="fr">
<div id="bloomDataDiv">
  <div data-book="contentLanguage1" lang="*">en</div>
  <div data-book="contentLanguage2" lang="*">fr</div>
  <div data-book="bookTitle" lang="en"><p>Two Tongues</p></div>
</div>
<div class="bloom-page A5Landscape" id="p1">
  <div class="bloom-translationGroup">
    <div class="bloom-editable bloom-content1" lang="en" data-audiorecordingmode="Sentence">
      <p><span id="e1" class="audio-sentence">The cat sleeps.</span> <span id="e2" class="audio-sentence">The dog runs.</span></p>
    </div>
    <div class="bloom-editable bloom-content2" lang="fr"><p>Le chat dort. Le chien court.</p></div>
    <div class="bloom-editable" lang="z"><p><span id="z1" class="audio-sentence">template</span></p></div>
  </div>
  <img src="missing%20picture.png"/>
</div>
<div class="bloom-page A5Portrait" id="p2">
  <div class="pageLabel">Empty</div><label class="bubble">Nothing here</label>
</div>
<div class="bloom-page LetterPortrait" id="p3">
  <div class="bloom-translationGroup">
    <div class="bloom-editable audio-sentence" id="box" lang="en" data-audiorecordingmode="TextBox"
         data-audiorecordingendtimes="1.25 2.5 4">
      <p><span id="h1" class="bloom-highlightSegment">One.</span> <span id="h2" class="bloom-highlightSegment">Two.</span>
         <span id="h3" class="bloom-highlightSegment">Three.</span></p>
    </div>
    <div class="bloom-editable" lang="fr"><p><span id="f1" class="bloom-highlightSegment">Un.</span>
      <span id="f2" class="bloom-highlightSegment">Deux.</span><span id="f3" class="bloom-highlightSegment">Trois.</span></p></div>
  </div>
</div>
<div class="bloom-page bloom-noreader A5Portrait" id="p4"><p>Not for readers</p></div>
</body></html>
)";

class MadeBloomBook : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = makeTemporaryFolder("pagly-bloom-made-");
        m_book = m_dir + "/Two Tongues";
        ASSERT_TRUE(makeFolder(m_book));
    }
    void TearDown() override { removeTree(m_dir); }
    std::string m_dir, m_book;
};

TEST_F(MadeBloomBook, SecondLanguageSentencesBecomeCaptionsAndTextBoxesAreCutAtTheirEndTimes) {
    ASSERT_TRUE(writeFile(m_book + "/Two Tongues.htm", kBilingual));
    SourceBook book;
    std::string why;
    ASSERT_TRUE(readBloom(m_book, book, why)) << why;
    EXPECT_EQ("Two Tongues", book.title);
    ASSERT_EQ(2u, book.documents.size());  // the empty page and the one not for readers go

    const SourceDocument& first = book.documents[0];
    EXPECT_EQ(794, first.width);  // A5 landscape
    EXPECT_EQ(559, first.height);
    ASSERT_EQ(2u, first.sentences.size());  // the template language's sentence is not read
    EXPECT_EQ("e1", first.sentences[0].elementId);
    EXPECT_EQ("Le chat dort.", first.sentences[0].caption);
    EXPECT_EQ("Le chien court.", first.sentences[1].caption);
    EXPECT_EQ(m_book + "/audio/e2.mp3", first.sentences[1].audioFile);
    EXPECT_DOUBLE_EQ(0.0, first.sentences[1].clipBegin);
    EXPECT_LT(first.sentences[1].clipEnd, 0.0);  // the whole recording
    EXPECT_TRUE(hasProblem(book.problems, "missing picture.png", "missing"));

    const SourceDocument& second = book.documents[1];
    EXPECT_EQ(816, second.width);  // US letter
    ASSERT_EQ(3u, second.sentences.size());
    const double begins[] = {0.0, 1.25, 2.5}, ends[] = {1.25, 2.5, 4.0};
    const char* captions[] = {"Un.", "Deux.", "Trois."};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ("h" + std::to_string(i + 1), second.sentences[i].elementId);
        EXPECT_EQ(m_book + "/audio/box.mp3", second.sentences[i].audioFile);
        EXPECT_DOUBLE_EQ(begins[i], second.sentences[i].clipBegin);
        EXPECT_DOUBLE_EQ(ends[i], second.sentences[i].clipEnd);
        EXPECT_EQ(captions[i], second.sentences[i].caption);
    }
}

TEST_F(MadeBloomBook, ABookThatCannotBeReadIsRefusedWithItsReason) {
    struct Case {
        const char* what;
        const char* document;  // null: no .htm at all
        const char* reason;
    } cases[] = {
        {"no document", nullptr, "no .htm"},
        {"not well-formed", "<html><body><div class=\"bloom-page\"><p>open</body></html>",
         "not well-formed"},
        {"no page shows anything", "<html><body><div class=\"bloom-page\"></div></body></html>",
         "no page that shows anything"},
    };
    for (const Case& c : cases) {
        removeTree(m_book);
        ASSERT_TRUE(makeFolder(m_book));
        if (c.document) {
            ASSERT_TRUE(writeFile(m_book + "/Two Tongues.htm", c.document));
        }
        SourceBook book;
        std::string why;
        EXPECT_FALSE(readBloom(m_book, book, why)) << c.what;
        EXPECT_NE(std::string::npos, why.find(c.reason)) << c.what << ": " << why;
    }
}

TEST_F(MadeBloomBook, ABookWithNoRecordingIsRefusedBeforeTheBrowserStarts) {
    // Its sentences name recordings, but the book holds none (no audio folder).
    ASSERT_TRUE(writeFile(m_book + "/Two Tongues.htm", kBilingual));
    // A stand-in browser that only says it was started.
    std::string started = m_dir + "/browser-started";
    std::string browser = m_dir + "/browser.sh";
    ASSERT_TRUE(writeFile(browser, "#!/bin/sh\ntouch '" + started + "'\nexit 1\n"));
    chmod(browser.c_str(), 0755);
    const char* saved = std::getenv("PAGLY_CHROMIUM");
    std::string keep = saved ? saved : "";
    setenv("PAGLY_CHROMIUM", browser.c_str(), 1);
    WriteOptions options;
    std::string why;
    EXPECT_EQ(ImportResult::Refused, importBook(m_book, m_dir + "/out", options, why));
    EXPECT_NE(std::string::npos, why.find("no recordings")) << why;
    EXPECT_FALSE(isFile(started));
    EXPECT_FALSE(isFolder(m_dir + "/out"));
    if (saved)
        setenv("PAGLY_CHROMIUM", keep.c_str(), 1);
    else
        unsetenv("PAGLY_CHROMIUM");
}

TEST_F(MadeBloomBook, RecordingIdsThatAreNoPlainFileNamesAreNotFollowed) {
    ASSERT_TRUE(
        writeFile(m_book + "/b.htm",
                  "<html><body><div class=\"bloom-page\" id=\"p\"><p>"
                  "<span class=\"audio-sentence\" id=\"../../secret\">Sneaky.</span>"
                  "<span class=\"audio-sentence\" id=\"ok\">Fine.</span></p></div></body></html>"));
    SourceBook book;
    std::string why;
    ASSERT_TRUE(readBloom(m_book, book, why)) << why;
    ASSERT_EQ(1u, book.documents.size());
    ASSERT_EQ(1u, book.documents[0].sentences.size());
    EXPECT_EQ("ok", book.documents[0].sentences[0].elementId);
    EXPECT_TRUE(hasProblem(book.problems, "audio/../../secret.mp3", "not a plain file name"));
}

}  // namespace
