// libFuzzer target: arbitrary bytes as a bitmap-font (.fnt) file whose page image is a real
// image of the sample book. The font is read, a text is laid out in it with and without a
// width, and the label is drawn. A crash, a hang, a leak or an engine object left alive is a
// finding; keep each finding's input under fuzz/regressions/bmfont/.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/base/CCObject.h"
#include "engine/nodes/CCLabelBMFont.h"
#include "engine/platform/CCFileUtils.h"
#include "engine/render/CCTextureCache.h"
#include "engine/render/SDLRenderer.h"
#include "fuzz/ScratchFolder.h"

using namespace pagly::engine;

namespace {
void quiet(const char*) {}
SDLRenderer* g_renderer = nullptr;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    CCSetLogSink(quiet);
    const std::string& folder = pagly::fuzz::scratchFolder();
    std::error_code ignored;
    // Seeds name "page.png"; the sample book's button image stands in for a glyph page.
    std::filesystem::copy_file(PAGLY_FUZZ_BOOK "/Images/bnren1.png", folder + "/page.png",
                               std::filesystem::copy_options::overwrite_existing, ignored);
    CCFileUtils::sharedFileUtils()->setResourceRoot(folder);
    g_renderer = SDLRenderer::createOffscreen(64, 64);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    long baseline = CCObject::liveObjectCount();
    std::string path = pagly::fuzz::writeScratchFile("font.fnt", data, size);
    if (CCLabelBMFont* label = CCLabelBMFont::create("AB C\nabc 123 \xC3\xA9", path.c_str())) {
        label->retain();
        if (g_renderer) {
            g_renderer->beginFrame();
            label->visit(g_renderer);
            g_renderer->endFrame();
        }
        label->setWidth(40);
        label->setAlignment(kTextAlignmentCenter);
        label->setString("the quick brown fox jumps");
        label->release();
    }
    CCAutoreleasePool::sharedPool()->drain();
    CCLabelBMFont::purgeCachedData();
    CCTextureCache::purgeSharedTextureCache();
    if (CCObject::liveObjectCount() != baseline) {
        fprintf(stderr, "engine objects leaked while reading this font\n");
        abort();
    }
    return 0;
}
