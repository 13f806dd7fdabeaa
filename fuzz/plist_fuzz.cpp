// libFuzzer target: arbitrary bytes as a property list, read the two ways the book uses
// them: as a text table (the caption and interface texts) and as a sprite sheet over a
// small image. A crash, a hang, a leak or an engine object left alive is a finding; keep each
// finding's input under fuzz/regressions/plist/.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/base/CCDictionary.h"
#include "engine/base/CCObject.h"
#include "engine/base/CCString.h"
#include "engine/nodes/CCSpriteFrameCache.h"
#include "engine/platform/CCFileUtils.h"
#include "engine/render/CCTexture2D.h"
#include "engine/render/CCTextureCache.h"
#include "fuzz/ScratchFolder.h"

using namespace pagly::engine;

namespace {
void quiet(const char*) {}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    CCSetLogSink(quiet);
    CCFileUtils::sharedFileUtils()->setResourceRoot(pagly::fuzz::scratchFolder());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    long baseline = CCObject::liveObjectCount();
    std::string path = pagly::fuzz::writeScratchFile("table.plist", data, size);
    {
        // As a text table: look a caption up and measure it, as the page reader does.
        if (CCDictionary* table = CCDictionary::createWithContentsOfFile(path.c_str())) {
            for (const char* key : {"str053", "main_page", "frames", ""}) {
                if (const CCString* text = table->valueForKey(key))
                    (void)(text->length() + text->intValue() + text->doubleValue());
            }
            table->allKeys();
        }
        // As a sprite sheet over a 16 x 16 image.
        CCTexture2D* texture = new CCTexture2D();
        unsigned char pixels[16 * 16 * 4] = {};
        texture->initWithRGBA(pixels, 16, 16);
        CCSpriteFrameCache* frames = CCSpriteFrameCache::sharedSpriteFrameCache();
        frames->addSpriteFramesWithFile(path.c_str(), texture);
        texture->release();
        CCSpriteFrameCache::purgeSharedSpriteFrameCache();
        CCTextureCache::purgeSharedTextureCache();
        CCAutoreleasePool::sharedPool()->drain();
    }
    if (CCObject::liveObjectCount() != baseline) {
        fprintf(stderr, "engine objects leaked while reading this property list\n");
        abort();
    }
    return 0;
}
