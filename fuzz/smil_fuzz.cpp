// libFuzzer target: arbitrary bytes as the media overlay (SMIL) of a page whose elements s1
// to s3 hold sentences and whose recording (audio/a.wav, two seconds) exists, read as the
// importer reads overlays. A crash, a hang, a leak or a clip outside its recording is a
// finding; keep each finding's input under fuzz/regressions/smil/.
#include <sndfile.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

#include "fuzz/ImportFuzzInput.h"
#include "tools/import/EpubOverlays.h"

namespace {
std::string g_book;
pugi::xml_document g_page;
std::unordered_map<std::string, pugi::xml_node> g_ids;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_book = pagly::fuzz::scratchFolder() + "/smil";
    std::filesystem::create_directories(g_book + "/audio");
    SF_INFO info{};
    info.samplerate = 8000;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    std::string wav = g_book + "/audio/a.wav";
    if (SNDFILE* file = sf_open(wav.c_str(), SFM_WRITE, &info)) {
        std::vector<short> silence(16000, 0);
        sf_writef_short(file, silence.data(), (sf_count_t)silence.size());
        sf_close(file);
    }
    g_page.load_string(
        "<html><body><p id=\"s1\">One.</p><p id=\"s2\"><span id=\"w1\">Two</span> "
        "<span id=\"w2\">words.</span></p><p id=\"s3\">Three.</p></body></html>");
    for (pugi::xpath_node found : g_page.select_nodes("//*[@id]"))
        g_ids.emplace(found.node().attribute("id").value(), found.node());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pagly::import;
    std::string smil = pagly::fuzz::writeScratchFile("smil/page.smil", data, size);
    std::vector<ImportProblem> problems;
    epub::ProblemList list(problems);
    epub::EpubOverlays overlays(g_book, list);
    std::vector<SourceSentence> sentences =
        overlays.sentencesOf(smil, g_book + "/page.xhtml", g_ids, {});
    for (const SourceSentence& s : sentences) {
        if (s.audioFile != g_book + "/audio/a.wav") __builtin_trap();
        if (!(s.clipBegin >= 0) || (s.clipEnd >= 0 && s.clipEnd < s.clipBegin)) __builtin_trap();
    }
    return 0;
}
