// Books built to harm the importer: pages nested past any stack, JSON nested past any parser,
// a tiny recording that unpacks to gigabytes, files that are links out of the book, names
// that forge lines, decoders that talk. Each is read without a crash, within bounded memory,
// and told in one line of its own.
#include <gtest/gtest.h>
#include <json/json.h>
#include <pthread.h>
#include <sndfile.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>

#include "format/JsonText.h"
#include "tools/import/BloomReader.h"
#include "tools/import/ClipCutter.h"
#include "tools/import/EpubReader.h"
#include "tools/import/SafeZip.h"
#include "tools/import/SoundLength.h"
#include "tools/tests/ImportFixtures.h"

using namespace pagly;
using namespace pagly::import;
using namespace pagly::testing;

namespace {

std::string repeated(const std::string& piece, int times) {
    std::string out;
    out.reserve(piece.size() * (size_t)times);
    for (int i = 0; i < times; ++i) out += piece;
    return out;
}

// A Bloom book as Bloom writes one, with `page` as its only page's content and `title` in
// its data div.
std::string bloomDocument(const std::string& title, const std::string& page) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE html>\n"
           "<html><head><title>Head title</title></head><body data-l1=\"en\">"
           "<div id=\"bloomDataDiv\"><div data-book=\"contentLanguage1\" lang=\"*\">en</div>" +
           title + "</div><div class=\"bloom-page A5Portrait\" id=\"p1\">" + page +
           "</div></body></html>";
}

// Runs the body on a thread with a stack of `bytes`: as small as a thread's can be made, so
// that a walk that recurses per nesting level runs out at once.
void onSmallStack(size_t bytes, const std::function<void()>& body) {
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, bytes);
    pthread_t thread;
    auto run = [](void* arg) -> void* {
        (*static_cast<const std::function<void()>*>(arg))();
        return nullptr;
    };
    ASSERT_EQ(0, pthread_create(&thread, &attr, run, const_cast<std::function<void()>*>(&body)));
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
}

// A FLAC stream built by hand as a hostile book would: frames of the largest size, every
// channel one CONSTANT subframe of zeros. A few bytes a frame say 65535 samples of each channel.
uint8_t crc8(const std::string& bytes) {
    uint8_t crc = 0;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (uint8_t)(crc & 0x80 ? (crc << 1) ^ 0x07 : crc << 1);
    }
    return crc;
}

uint16_t crc16(const std::string& bytes) {
    uint16_t crc = 0;
    for (unsigned char byte : bytes) {
        crc ^= (uint16_t)(byte << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = (uint16_t)(crc & 0x8000 ? (crc << 1) ^ 0x8005 : crc << 1);
    }
    return crc;
}

std::string silentFlac(unsigned rate, unsigned channels, long long frames) {
    const unsigned block = 65535;
    auto put = [](std::string& out, unsigned long long value, int bytes) {
        for (int i = bytes - 1; i >= 0; --i) out.push_back((char)((value >> (8 * i)) & 0xFF));
    };
    std::string out = "fLaC";
    put(out, 0x80000022, 4);  // the last metadata block: STREAMINFO, 34 bytes
    put(out, block, 2);       // smallest and largest block
    put(out, block, 2);
    put(out, 0, 6);  // frame sizes unknown
    // 20 bits of rate, 3 of channels - 1, 5 of bits per sample - 1, 36 of samples.
    put(out,
        ((unsigned long long)rate << 44) | ((unsigned long long)(channels - 1) << 41) |
            (15ULL << 36) | (unsigned long long)frames,
        8);
    out.append(16, (char)0);  // no MD5
    long long number = 0;
    for (long long done = 0; done < frames; done += block, ++number) {
        unsigned size = (unsigned)std::min<long long>(block, frames - done);
        std::string frame;
        put(frame, 0xFFF8, 2);  // sync, fixed block size
        // Block size in 16 bits at the end, rate from STREAMINFO; independent channels, 16 bits.
        frame.push_back((char)0x70);
        frame.push_back((char)(((channels - 1) << 4) | 0x08));
        if (number < 0x80) {
            frame.push_back((char)number);
        } else {  // UTF-8 style, two bytes (enough for 2047 frames)
            frame.push_back((char)(0xC0 | (number >> 6)));
            frame.push_back((char)(0x80 | (number & 0x3F)));
        }
        put(frame, size - 1, 2);
        frame.push_back((char)crc8(frame));
        for (unsigned c = 0; c < channels; ++c) put(frame, 0, 3);  // CONSTANT 0
        put(frame, crc16(frame), 2);
        out += frame;
    }
    return out;
}

}  // namespace

TEST(HostileBloomBook, APageNestedSixtyFiveThousandDeepIsReadOnAOneMegabyteStack) {
    ScratchFolder dir;
    const int depth = 65000;
    std::string deepTitle = "<div data-book=\"bookTitle\" lang=\"en\">" + repeated("<div>", depth) +
                            "Deep title" + repeated("</div>", depth) + "</div>";
    std::string deepPage = repeated("<div>", depth) +
                           "<div class=\"bloom-editable\" lang=\"en\"><span id=\"s1\" "
                           "class=\"audio-sentence\">Down here.</span></div>" +
                           repeated("</div>", depth);
    writeFile(dir / "Deep/Deep.htm", bloomDocument(deepTitle, deepPage));
    SourceBook book;
    std::string why;
    bool read = false;
    onSmallStack(1 << 20, [&] { read = readBloom(dir / "Deep", book, why); });
    ASSERT_TRUE(read) << why;
    EXPECT_EQ("Deep title", book.title);
    ASSERT_EQ(1u, book.documents.size());
    ASSERT_EQ(1u, book.documents[0].sentences.size());
    EXPECT_EQ("Down here.", book.documents[0].sentences[0].text);
}

TEST(HostileBloomBook, MetaJsonNestedFiveThousandDeepIsNoTitle) {
    ScratchFolder dir;
    writeFile(dir / "Nested/Nested.htm",
              bloomDocument("", "<p><span id=\"s1\" class=\"audio-sentence\">Hi.</span></p>"));
    writeFile(dir / "Nested/meta.json",
              "{\"title\": " + repeated("[", 5000) + repeated("]", 5000) + "}");
    SourceBook book;
    std::string why;
    ASSERT_TRUE(readBloom(dir / "Nested", book, why)) << why;
    EXPECT_EQ("Head title", book.title);
}

TEST(HostileBloomBook, FilesLinkedFromOutsideTheBookAreNotRead) {
    ScratchFolder dir;
    writeFile(dir / "outside/meta.json", "{\"title\": \"A title from outside\"}");
    writeFile(dir / "outside/picture.png", "not read");
    writeFile(dir / "Linked/Linked.htm",
              bloomDocument("",
                            "<p><span id=\"s1\" class=\"audio-sentence\">Hi.</span></p>"
                            "<img src=\"picture.png\"/>"));
    fs::create_symlink(dir / "outside/meta.json", dir / "Linked/meta.json");
    fs::create_symlink(dir / "outside/picture.png", dir / "Linked/picture.png");
    // A document that is a link out of the book is no document of it.
    fs::create_symlink(dir / "Linked/Linked.htm", dir / "Other.htm");
    SourceBook book;
    std::string why;
    ASSERT_TRUE(readBloom(dir / "Linked", book, why)) << why;
    EXPECT_EQ("Head title", book.title);
    EXPECT_TRUE(tells(book.problems, "meta.json", "outside the book")) << told(book.problems);
    EXPECT_TRUE(tells(book.problems, "picture.png", "outside the book")) << told(book.problems);
    fs::create_directories(dir / "Outer");
    fs::create_symlink(dir / "Linked/Linked.htm", dir / "Outer/Outer.htm");
    EXPECT_FALSE(readBloom(dir / "Outer", book, why));
    EXPECT_FALSE(isBloomFolder(dir / "Outer"));
}

TEST(HostileRecording, AFewKilobytesOfFlacNeverCostHundredsOfMegabytes) {
    // 300 s of silence, 8 channels at 192 kHz: 1.8 GB of samples once decoded.
    ScratchFolder dir;
    const std::string flac = dir / "huge.flac";
    writeFile(flac, silentFlac(192000, 8, 300LL * 192000));
    EXPECT_LT(fs::file_size(flac), 40u * 1024);

    // Cut in a child of its own, whose peak memory the system counts.
    const std::string clip = dir / "clip.mp3";
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ClipCutter cutter;
        double seconds = 0;
        std::string why;
        bool cut = cutter.cut(flac, 0.0, -1.0, clip, seconds, why);
        _exit(cut && std::abs(seconds - 300.0) < 0.05 ? 0 : 1);
    }
    int status = 0;
    rusage usage{};
    ASSERT_EQ(child, wait4(child, &status, 0, &usage));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(0, WEXITSTATUS(status));
    EXPECT_LT(usage.ru_maxrss, 400L * 1024) << "peak kilobytes";
    std::string why;
    EXPECT_NEAR(300.0, decodedSoundSeconds(clip, why), 0.05) << why;
}

TEST(HostileRecording, ADamagedMp3IsMeasuredWithoutTheDecodersNotes) {
    ScratchFolder dir;
    const std::string mp3 = dir / "damaged.mp3";
    std::vector<float> tone(3 * 44100);
    for (size_t i = 0; i < tone.size(); ++i) tone[i] = 0.3f * std::sin((float)i * 0.06f);
    std::string why;
    ASSERT_TRUE(pagly::testing::writeSound(mp3, SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 44100,
                                           tone, why))
        << why;
    why.clear();
    // Junk between two frames: the decoder meets a header it cannot use, resyncs and says so.
    std::string junk;
    for (int i = 0; i < 400; ++i) junk += (char)(i % 2 ? 0xFF : 0xF0 + i % 13);
    std::string bytes = readFile(mp3);
    bytes.insert(bytes.size() / 2, junk);
    writeFile(mp3, bytes);

    ::testing::internal::CaptureStderr();
    double seconds = decodedSoundSeconds(mp3, why);
    std::string printed = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ("", printed);
    EXPECT_GT(seconds, 0.0) << why;
}

TEST(ImportLines, NamesFromABookAreEscapedOnOneLine) {
    struct Case {
        const char* label;
        std::string name, printed;
    };
    const std::vector<Case> cases = {
        {"newline", "page\ncannot use evil.xhtml: forged", "page\\ncannot use evil.xhtml: forged"},
        {"terminal title", "\x1b]0;owned\x07page", "\\x1b]0;owned\\x07page"},
        {"C1 control",
         "a\xC2\x9b"
         "31mb",
         "a\\u009b31mb"},
        {"line separator", "a\xE2\x80\xA8z", "a\\u2028z"},
        {"not UTF-8", "a\xFF\xC3z", "a\\xff\\xc3z"},
        {"other scripts stay", "\xE0\xA4\xAA\xE0\xA4\xA6 \xE6\x9C\xAC.xhtml",
         "\xE0\xA4\xAA\xE0\xA4\xA6 \xE6\x9C\xAC.xhtml"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(c.printed, printable(c.name));
        EXPECT_EQ(c.printed, printable(printable(c.name)));
        EXPECT_EQ("cannot use " + c.printed + ": because " + c.printed,
                  describe({c.name, "because " + c.name}));
    }
}

TEST(ImportLines, AZipEntryWithANewlineIsToldOnOneLine) {
    ScratchFolder dir;
    ASSERT_TRUE(writeZip(dir / "book.epub", {{"mimetype", "application/epub+zip", false},
                                             {"page\ncannot use x: forged.xhtml", "<p/>"}}));
    std::vector<ImportProblem> problems;
    extractZip(dir / "book.epub", dir / "out", problems);
    ASSERT_FALSE(problems.empty());
    for (const ImportProblem& p : problems) {
        std::string line = describe(p);
        EXPECT_EQ(std::string::npos, line.find('\n')) << line;
        EXPECT_NE(std::string::npos, line.find("page\\ncannot use x")) << line;
    }
}

TEST(ImportLines, AnIdrefWithTerminalEscapesIsToldEscaped) {
    const EpubFixtureBooks& fixtures = epubFixtures();
    ASSERT_TRUE(fixtures.made);
    ScratchFolder dir;
    fs::copy(fixtures.fixedFolder, dir / "book", fs::copy_options::recursive);
    std::string opf = readFile(dir / "book/OEBPS/content.opf");
    size_t at = opf.find("idref=\"p002\"");
    ASSERT_NE(std::string::npos, at);
    opf.replace(at, 12, "idref=\"&#27;]0;owned&#7;&#10;cannot use x: y\"");
    writeFile(dir / "book/OEBPS/content.opf", opf);
    SourceBook book = readEpub(dir / "book", dir / "work");
    bool found = false;
    for (const ImportProblem& p : book.problems) {
        std::string line = describe(p);
        for (char c : line) EXPECT_GE((unsigned char)c, 0x20) << line;
        found = found || line.find("\\x1b]0;owned\\x07\\ncannot use x: y") != std::string::npos;
    }
    EXPECT_TRUE(found) << told(book.problems);
}

TEST(BookJson, OneGuardedParserForEveryBooksJson) {
    struct Case {
        const char* label;
        std::string text;
        size_t largest;
        bool valid;
        const char* problem;
    };
    const size_t any = format::kLargestJsonText;
    const std::vector<Case> cases = {
        {"plain", "{\"a\": [1, 2]} // a comment", any, true, ""},
        {"nested past the limit", repeated("[", 5000) + repeated("]", 5000), any, false,
         "deeper than 256 levels"},
        {"nested at the limit", repeated("[", 256) + repeated("]", 256), any, true, ""},
        {"broken", "{\"a\": }", any, false, "not valid JSON (Line 1, Column 7"},
        {"empty", "", any, false, "it is empty"},
        {"larger than allowed", "[" + repeated("1,", 40) + "1]", 64, false, "larger than 64 bytes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Json::Value root;
        std::string problem;
        format::JsonLimits limits;
        limits.largest = c.largest;
        EXPECT_EQ(c.valid, format::parseJson(c.text, root, &problem, limits));
        EXPECT_NE(std::string::npos, problem.find(c.problem)) << problem;
    }
}
