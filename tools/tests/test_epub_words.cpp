// Word-level media overlays: a seq naming a sentence, one par per word cut in order from one
// recording, is one sentence with its words timed; a seq that only looks like one (words from
// two recordings, out of order, far apart, outside the sentence) is read as before, a
// sentence per par.
#include <gtest/gtest.h>
#include <json/json.h>

#include <sstream>

#include "tools/import/EpubReader.h"
#include "tools/tests/ImportFixtures.h"

using namespace pagly::import;
using namespace pagly::testing;

namespace {

struct WordPar {
    std::string id, audio;
    double begin, end;  // in the recording
};

// The second page's overlay, written by the test: each sentence a seq of its word pars.
std::string overlayOf(const std::vector<std::pair<std::string, std::vector<WordPar>>>& seqs) {
    std::string smil =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<smil xmlns=\"http://www.w3.org/ns/SMIL\" "
        "xmlns:epub=\"http://www.idpf.org/2007/ops\" version=\"3.0\"><body>\n";
    for (const auto& seq : seqs) {
        smil += "<seq epub:textref=\"../pages/page_002.xhtml#" + seq.first + "\">\n";
        for (const WordPar& w : seq.second)
            smil += "<par><text src=\"../pages/page_002.xhtml#" + w.id + "\"/><audio src=\"" +
                    w.audio + "\" clipBegin=\"" + std::to_string(w.begin) + "s\" clipEnd=\"" +
                    std::to_string(w.end) + "s\"/></par>\n";
        smil += "</seq>\n";
    }
    return smil + "</body></smil>\n";
}

}  // namespace

TEST(EpubWords, AWordLevelSeqIsOneSentenceWithItsWordsTimed) {
    const EpubWordBook& fixture = epubWordBook();
    ASSERT_TRUE(fixture.made) << "make_epub.py --word-level failed; run it by hand to see why";
    ScratchFolder work;
    SourceBook book = readEpub(fixture.folder, work.path());
    EXPECT_TRUE(book.problems.empty()) << told(book.problems);
    Json::Value expect = loadJson(fixture.expect);
    const Json::Value& docs = expect["documents"];
    ASSERT_EQ(book.documents.size(), docs.size());
    for (Json::ArrayIndex i = 0; i < docs.size(); ++i) {
        const Json::Value& sentences = docs[i]["sentences"];
        ASSERT_EQ(book.documents[i].sentences.size(), sentences.size()) << i;
        for (Json::ArrayIndex k = 0; k < sentences.size(); ++k) {
            const SourceSentence& s = book.documents[i].sentences[k];
            SCOPED_TRACE(s.elementId);
            EXPECT_EQ(s.elementId, sentences[k]["id"].asString());
            EXPECT_EQ(s.text, sentences[k]["text"].asString());
            EXPECT_NEAR(s.clipBegin, sentences[k]["clipBegin"].asDouble(), 1e-6);
            EXPECT_NEAR(s.clipEnd, sentences[k]["clipEnd"].asDouble(), 1e-6);
            const Json::Value& words = sentences[k]["words"];
            ASSERT_EQ(s.words.size(), words.size());
            ASSERT_GE(s.words.size(), 5u);
            for (Json::ArrayIndex n = 0; n < words.size(); ++n) {
                EXPECT_EQ(s.words[n].elementId, words[n]["id"].asString());
                EXPECT_EQ(s.words[n].text, words[n]["text"].asString());
                EXPECT_NEAR(s.words[n].begin, words[n]["begin"].asDouble(), 1.5e-3);
                EXPECT_NEAR(s.words[n].end, words[n]["end"].asDouble(), 1.5e-3);
            }
            EXPECT_NEAR(s.words.front().begin, 0.0, 1e-6);
            EXPECT_NEAR(s.words.back().end, s.clipEnd - s.clipBegin, 1e-6);
        }
    }
}

TEST(EpubWords, ASeqThatIsNotOneSpokenSentenceGivesASentencePerPar) {
    const EpubWordBook& fixture = epubWordBook();
    ASSERT_TRUE(fixture.made);
    Json::Value expect = loadJson(fixture.expect);
    const Json::Value& sentences = expect["documents"][1]["sentences"];
    ASSERT_EQ(sentences.size(), 3u);
    const std::string audio = "../audio/chapter_02.mp3";
    auto seqsOf = [&]() {
        std::vector<std::pair<std::string, std::vector<WordPar>>> seqs;
        for (const Json::Value& s : sentences) {
            std::vector<WordPar> words;
            for (const Json::Value& w : s["words"])
                words.push_back({w["id"].asString(), audio,
                                 s["clipBegin"].asDouble() + w["begin"].asDouble(),
                                 s["clipBegin"].asDouble() + w["end"].asDouble()});
            seqs.push_back({s["id"].asString(), words});
        }
        return seqs;
    };
    struct Case {
        const char* label;
        std::function<void(std::vector<WordPar>&, std::string&)> spoil;  // the first seq
        bool wordLevel;
    };
    const Case cases[] = {
        {"as written", [](std::vector<WordPar>&, std::string&) {}, true},
        {"a word from another recording",
         [](std::vector<WordPar>& w, std::string&) { w[2].audio = "../audio/other.mp3"; }, false},
        {"words out of order", [](std::vector<WordPar>& w, std::string&) { std::swap(w[1], w[2]); },
         false},
        {"words far apart",
         [](std::vector<WordPar>& w, std::string&) {
             for (size_t n = 3; n < w.size(); ++n) w[n].begin += 2.5, w[n].end += 2.5;
         },
         false},
        {"a word outside its sentence",
         [](std::vector<WordPar>& w, std::string&) { w[1].id = "s002_2_w1"; }, false},
        {"a sentence the page lacks",
         [](std::vector<WordPar>&, std::string& id) { id = "nowhere"; }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ScratchFolder copy;
        fs::copy(fixture.folder, copy / "book", fs::copy_options::recursive);
        fs::copy_file(copy / "book/OEBPS/audio/chapter_02.mp3",
                      copy / "book/OEBPS/audio/other.mp3");
        auto seqs = seqsOf();
        c.spoil(seqs[0].second, seqs[0].first);
        // "a word outside its sentence" borrows a word the next seq also names: keep that seq
        // from naming it twice.
        if (std::string(c.label) == "a word outside its sentence") seqs.erase(seqs.begin() + 1);
        writeFile(copy / "book/OEBPS/smil/page_002.smil", overlayOf(seqs));
        ScratchFolder work;
        SourceBook book = readEpub(copy / "book", work.path());
        ASSERT_EQ(book.documents.size(), 2u) << told(book.problems);
        const std::vector<SourceSentence>& got = book.documents[1].sentences;
        size_t firstWords = seqs[0].second.size();
        if (c.wordLevel) {
            ASSERT_EQ(got.size(), 3u);
            EXPECT_EQ(got[0].elementId, "s002_1");
            EXPECT_EQ(got[0].words.size(), firstWords);
            continue;
        }
        // The first seq's pars are sentences of their own, untimed; the other seqs keep theirs.
        ASSERT_EQ(got.size(), firstWords + seqs.size() - 1) << told(book.problems);
        for (size_t n = 0; n < firstWords; ++n) {
            EXPECT_EQ(got[n].elementId, seqs[0].second[n].id);
            EXPECT_TRUE(got[n].words.empty());
        }
        EXPECT_EQ(got.back().elementId, seqs.back().first);
        EXPECT_FALSE(got.back().words.empty());
    }
}

// An overlay nested far deeper than any book nests it is read down to a sane depth and told,
// not followed until the stack runs out.
TEST(EpubWords, AnOverlayNestedBeyondReasonIsToldNotFollowed) {
    const EpubWordBook& fixture = epubWordBook();
    ASSERT_TRUE(fixture.made);
    ScratchFolder copy;
    fs::copy(fixture.folder, copy / "book", fs::copy_options::recursive);
    const int depth = 200000;
    std::string smil =
        "<?xml version=\"1.0\"?><smil xmlns=\"http://www.w3.org/ns/SMIL\" version=\"3.0\"><body>";
    for (int i = 0; i < depth; ++i) smil += "<seq>";
    smil +=
        "<par><text src=\"../pages/page_002.xhtml#s002_1\"/><audio "
        "src=\"../audio/chapter_02.mp3\" clipBegin=\"0s\" clipEnd=\"1s\"/></par>";
    for (int i = 0; i < depth; ++i) smil += "</seq>";
    writeFile(copy / "book/OEBPS/smil/page_002.smil", smil + "</body></smil>");
    ScratchFolder work;
    SourceBook book = readEpub(copy / "book", work.path());
    ASSERT_EQ(book.documents.size(), 2u) << told(book.problems);
    EXPECT_TRUE(book.documents[1].sentences.empty());
    EXPECT_TRUE(tells(book.problems, "OEBPS/smil/page_002.smil", "nest more than"))
        << told(book.problems);
}
