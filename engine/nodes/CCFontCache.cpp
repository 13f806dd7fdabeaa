#include "engine/nodes/CCFontCache.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <vector>

#include "engine/base/CCObject.h"
#include "engine/platform/CCFileUtils.h"
#include "engine/platform/UnusableFiles.h"

namespace pagly::engine {

namespace {

const int kMinFontSize = 1;
const int kMaxFontSize = 500;
// Larger label surfaces are a mistake (absurd dimensions), not a layout.
const int kMaxSurfaceSide = 8192;
// A family nobody has: what fontconfig answers for it is its catch-all default.
const char* const kUnknownFamily = "pagly-no-such-font-family";

bool hasFontExtension(const std::string& name) {
    size_t dot = name.rfind('.');
    if (dot == std::string::npos) return false;
    std::string ext = name.substr(dot + 1);
    return strcasecmp(ext.c_str(), "ttf") == 0 || strcasecmp(ext.c_str(), "otf") == 0 ||
           strcasecmp(ext.c_str(), "ttc") == 0;
}

// What fontconfig answers for `family` (its file; its family name in `matchedFamily`), or "".
// fontconfig has been initialised.
std::string matchFamily(const std::string& family, std::string* matchedFamily) {
    FcPattern* pattern = FcPatternCreate();
    // Added as a family, not parsed: names may hold '-' or ':', which the parser reads as
    // size and properties.
    FcPatternAddString(pattern, FC_FAMILY, (const FcChar8*)family.c_str());
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    std::string file;
    if (match) {
        FcChar8* value = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &value) == FcResultMatch) file = (char*)value;
        if (matchedFamily && FcPatternGetString(match, FC_FAMILY, 0, &value) == FcResultMatch)
            *matchedFamily = (char*)value;
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return file;
}

// The helper thread's answer: whether fontconfig started, and its catch-all font.
struct EarlyStart {
    bool started = false;
    std::string catchAll;
};

std::future<EarlyStart>& earlyStart() {
    // Never destroyed: a static future would wait for the helper at exit.
    static auto* start = new std::future<EarlyStart>();
    return *start;
}

int clampSide(float v) {
    if (!(v > 0)) return 0;  // also NaN
    if (v > kMaxSurfaceSide) return kMaxSurfaceSide;
    return (int)std::ceil(v - 0.001f);
}

}  // namespace

CCFontCache* CCFontCache::sharedFontCache() {
    static CCFontCache* cache = new CCFontCache();
    return cache;
}

std::string CCFontCache::bookFont() {
    // The first TrueType font in the resource root's fonts/ folder.
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path dir = fs::path(CCFileUtils::sharedFileUtils()->getResourceRoot()) / "fonts";
    std::vector<std::string> found;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::string path = it->path().string();
        if (it->is_regular_file(ec) && hasFontExtension(path)) found.push_back(path);
    }
    std::sort(found.begin(), found.end());
    return found.empty() ? std::string() : found.front();
}

void CCFontCache::prepareInBackground() {
    std::future<EarlyStart>& start = earlyStart();
    if (start.valid()) return;
    try {
        start = std::async(std::launch::async, [] {
            EarlyStart done;
            done.started = FcInit() != 0;
            if (done.started) done.catchAll = matchFamily(kUnknownFamily, nullptr);
            return done;
        });
    } catch (const std::system_error&) {
        // No thread: the first label starts fontconfig itself.
    }
}

bool CCFontCache::startFontconfig() {
    static bool started = false;
    if (started) return true;
    std::future<EarlyStart>& early = earlyStart();
    if (early.valid()) {
        EarlyStart done = early.get();
        started = done.started;
        if (started && !m_catchAllKnown) {
            m_catchAll = done.catchAll;
            m_catchAllKnown = true;
        }
    }
    if (!started) started = FcInit() != 0;
    // fontconfig keeps its configuration until told to let go; do so at exit, so leak
    // checkers see a clean process.
    if (started) atexit(FcFini);
    return started;
}

std::string CCFontCache::fontconfigMatch(const std::string& family, std::string* matchedFamily) {
    if (!startFontconfig()) return "";
    return matchFamily(family, matchedFamily);
}

std::string CCFontCache::resolveFontFile(const std::string& fontName) {
    const std::string root = CCFileUtils::sharedFileUtils()->getResourceRoot();
    const std::string key = root + '\n' + fontName;
    auto cached = m_resolved.find(key);
    if (cached != m_resolved.end()) return cached->second;

    std::string file;
    std::string family = fontName;
    if (hasFontExtension(fontName) || fontName.find('/') != std::string::npos) {
        std::string full = CCFileUtils::sharedFileUtils()->fullPathForFilename(fontName);
        if (CCFileUtils::sharedFileUtils()->isFileExist(full)) file = full;
        // "fonts/Marker Felt.ttf" that is not there may still name an installed family.
        family = std::filesystem::path(fontName).stem().string();
    }
    if (file.empty() && !family.empty()) {
        if (!m_catchAllKnown) {
            m_catchAll = fontconfigMatch(kUnknownFamily, nullptr);
            m_catchAllKnown = true;
        }
        std::string matchedFamily;
        std::string match = fontconfigMatch(family, &matchedFamily);
        // fontconfig never says no: an unknown family silently gets its default font. Take
        // the match only when it is the family asked for or a real alias of it.
        if (!match.empty() &&
            (strcasecmp(matchedFamily.c_str(), family.c_str()) == 0 || match != m_catchAll)) {
            file = match;
        }
    }
    if (file.empty()) file = bookFont();
    if (file.empty()) file = fontconfigMatch("sans-serif", nullptr);
    if (file.empty()) CCLog("CCLabelTTF: no font found for \"%s\"", fontName.c_str());
    m_resolved[key] = file;
    return file;
}

TTF_Font* CCFontCache::font(const std::string& fontName, float size) {
    int points = std::isfinite(size) ? (int)std::lround(size) : kMinFontSize;
    points = std::max(kMinFontSize, std::min(kMaxFontSize, points));
    std::string file = resolveFontFile(fontName);
    if (file.empty()) return nullptr;
    auto key = std::make_pair(file, points);
    auto it = m_fonts.find(key);
    if (it != m_fonts.end()) return it->second;
    if (!TTF_WasInit() && TTF_Init() != 0) {
        CCLog("CCLabelTTF: SDL_ttf did not start: %s", TTF_GetError());
        return nullptr;
    }
    TTF_Font* font = TTF_OpenFont(file.c_str(), points);
    if (!font) {
        reportUnusableFile(
            file, std::string("it is not a font SDL_ttf can open (") + TTF_GetError() + ")");
        // A broken font file should not blank every text set in it: fall back as for a
        // name that matches no font.
        const std::string fallbacks[] = {bookFont(), fontconfigMatch("sans-serif", nullptr)};
        for (const std::string& other : fallbacks) {
            if (other.empty() || other == file) continue;
            font = TTF_OpenFont(other.c_str(), points);
            if (font) {
                CCLog("CCLabelTTF: using %s instead", other.c_str());
                break;
            }
        }
    }
    // A failure is remembered too, so a broken font file is not reopened for every label.
    m_fonts[key] = font;
    return font;
}

SDL_Surface* CCFontCache::renderText(const std::string& text, const std::string& fontName,
                                     float size, const CCSize& dimensions, CCTextAlignment hAlign,
                                     CCVerticalTextAlignment vAlign) {
    int width = clampSide(dimensions.width);
    int height = clampSide(dimensions.height);
    SDL_Surface* lines = nullptr;
    if (!text.empty()) {
        TTF_Font* f = font(fontName, size);
        if (!f) return nullptr;
        int align = hAlign == kTextAlignmentCenter  ? TTF_WRAPPED_ALIGN_CENTER
                    : hAlign == kTextAlignmentRight ? TTF_WRAPPED_ALIGN_RIGHT
                                                    : TTF_WRAPPED_ALIGN_LEFT;
        TTF_SetFontWrappedAlign(f, align);
        SDL_Color white = {255, 255, 255, 255};
        // A wrap length of 0 breaks lines only at '\n'.
        lines = TTF_RenderUTF8_Blended_Wrapped(f, text.c_str(), white, (Uint32)width);
        if (!lines) CCLog("CCLabelTTF: cannot render \"%s\": %s", text.c_str(), TTF_GetError());
    }
    if (!lines && (width == 0 || height == 0)) return nullptr;

    int outW = width > 0 ? width : lines->w;
    int outH = height > 0 ? height : lines->h;
    if (lines && lines->w == outW && lines->h == outH) return lines;

    SDL_Surface* out = SDL_CreateRGBSurfaceWithFormat(0, outW, outH, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!out) {
        SDL_FreeSurface(lines);
        return nullptr;
    }
    SDL_FillRect(out, nullptr, 0);
    if (lines) {
        SDL_Rect at = {0, 0, lines->w, lines->h};
        if (lines->w < outW) {
            if (hAlign == kTextAlignmentCenter) at.x = (outW - lines->w) / 2;
            if (hAlign == kTextAlignmentRight) at.x = outW - lines->w;
        }
        if (vAlign == kVerticalTextAlignmentCenter) at.y = (outH - lines->h) / 2;
        if (vAlign == kVerticalTextAlignmentBottom) at.y = outH - lines->h;
        // Copy, do not blend: the transparent pixels keep their zero alpha.
        SDL_SetSurfaceBlendMode(lines, SDL_BLENDMODE_NONE);
        SDL_BlitSurface(lines, nullptr, out, &at);
        SDL_FreeSurface(lines);
    }
    return out;
}

void CCFontCache::purge() {
    for (auto& entry : m_fonts)
        if (entry.second) TTF_CloseFont(entry.second);
    m_fonts.clear();
    m_resolved.clear();
}

}  // namespace pagly::engine
