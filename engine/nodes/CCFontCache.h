#pragma once

#include <map>
#include <string>
#include <utility>

#include "engine/base/CCGeometry.h"
#include "engine/nodes/CCTextAlignment.h"

struct SDL_Surface;
typedef struct _TTF_Font TTF_Font;

namespace pagly::engine {

// The labels' font service. It turns a font name into a font file (a path to a .ttf, or a
// family that fontconfig knows; a family fontconfig only answers with its catch-all default
// falls back to the font the book ships in fonts/), keeps opened fonts by (file, size), and
// renders text into white-on-transparent surfaces that labels tint with their colour.
class CCFontCache {
  public:
    static CCFontCache* sharedFontCache();

    // The font file a name resolves to ("" only when no font at all can be found).
    std::string resolveFontFile(const std::string& fontName);
    // An opened font; null when the file cannot be opened. Sizes are clamped to 1..500.
    TTF_Font* font(const std::string& fontName, float size);

    // Renders `text` (UTF-8, '\n' breaks lines). With dimensions.width > 0 the text wraps at
    // that width and the surface is that wide; with dimensions.height > 0 the surface is that
    // high, the text block placed by `vAlign` (and cut when taller). Null for empty text
    // without dimensions or when no font opens. The caller frees the surface.
    SDL_Surface* renderText(const std::string& text, const std::string& fontName, float size,
                            const CCSize& dimensions, CCTextAlignment hAlign,
                            CCVerticalTextAlignment vAlign);

    // Closes every font (tests; the next use opens them again).
    void purge();

    // Reads fontconfig's configuration and font lists on a helper thread, and asks it once for
    // the catch-all font, while the caller goes on (the reader: while SDL connects to the
    // display). The first label then finds them ready instead of spending 10-20 ms on them.
    // Optional; a second call does nothing.
    static void prepareInBackground();

  private:
    CCFontCache() = default;
    std::string bookFont();
    std::string fontconfigMatch(const std::string& family, std::string* matchedFamily);
    bool startFontconfig();

    std::map<std::pair<std::string, int>, TTF_Font*> m_fonts;
    std::map<std::string, std::string> m_resolved;
    std::string m_catchAll;  // what fontconfig gives a family it does not know
    bool m_catchAllKnown = false;
};

}  // namespace pagly::engine
