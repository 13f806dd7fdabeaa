#include "engine/nodes/CCLabelBMFont.h"

#include <cstdint>
#include <cstdlib>
#include <map>
#include <sstream>

#include "engine/base/CCRedraw.h"
#include "engine/platform/CCFileUtils.h"
#include "engine/platform/UnusableFiles.h"
#include "engine/render/CCTexture2D.h"
#include "engine/render/CCTextureCache.h"
#include "engine/render/Renderer.h"

namespace pagly::engine {

struct BMFontGlyph {
    CCRect rect;  // in the page image, pixels, origin top-left
    int xOffset = 0, yOffset = 0, xAdvance = 0;
};

struct BMFontConfiguration {
    int lineHeight = 0;
    int base = 0;
    std::string pageFile;  // resolved path of page 0
    std::map<uint32_t, BMFontGlyph> glyphs;
    std::map<uint64_t, int> kerning;  // (first << 32 | second) -> amount
};

namespace {

// Fonts stay parsed for the process (they are small); purgeCachedData empties this.
std::map<std::string, std::shared_ptr<const BMFontConfiguration>>& configCache() {
    static auto* cache = new std::map<std::string, std::shared_ptr<const BMFontConfiguration>>();
    return *cache;
}

// key=value pairs of one line; values may be quoted and then hold blanks.
std::map<std::string, std::string> fields(const std::string& line, std::string* tag) {
    std::map<std::string, std::string> out;
    size_t i = 0, n = line.size();
    auto skipBlanks = [&] {
        while (i < n && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    };
    skipBlanks();
    size_t start = i;
    while (i < n && line[i] != ' ' && line[i] != '\t') ++i;
    *tag = line.substr(start, i - start);
    while (i < n) {
        skipBlanks();
        start = i;
        while (i < n && line[i] != '=' && line[i] != ' ' && line[i] != '\t') ++i;
        std::string key = line.substr(start, i - start);
        std::string value;
        if (i < n && line[i] == '=') {
            ++i;
            if (i < n && line[i] == '"') {
                size_t close = line.find('"', i + 1);
                if (close == std::string::npos) close = n;
                value = line.substr(i + 1, close - i - 1);
                i = close < n ? close + 1 : n;
            } else {
                start = i;
                while (i < n && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
                value = line.substr(start, i - start);
            }
        }
        if (!key.empty()) out[key] = value;
    }
    return out;
}

int intField(const std::map<std::string, std::string>& f, const char* key) {
    auto it = f.find(key);
    if (it == f.end()) return 0;
    long v = strtol(it->second.c_str(), nullptr, 10);
    // Absurd numbers are a broken file, not a font.
    if (v > 100000) v = 100000;
    if (v < -100000) v = -100000;
    return (int)v;
}

std::shared_ptr<const BMFontConfiguration> loadConfiguration(const std::string& fntFile) {
    CCFileUtils* files = CCFileUtils::sharedFileUtils();
    std::string fullPath = files->fullPathForFilename(fntFile);
    auto cached = configCache().find(fullPath);
    if (cached != configCache().end()) return cached->second;

    std::string text;
    if (!files->readFile(fullPath, text)) {
        reportUnusableFile(fullPath, whyUnreadable(fullPath));
        return nullptr;
    }
    auto config = std::make_shared<BMFontConfiguration>();
    std::istringstream in(text);
    std::string line, tag;
    while (std::getline(in, line)) {
        auto f = fields(line, &tag);
        if (tag == "common") {
            config->lineHeight = intField(f, "lineHeight");
            config->base = intField(f, "base");
        } else if (tag == "page") {
            if (intField(f, "id") != 0) continue;  // one page is all this engine draws
            std::string dir = fullPath.substr(0, fullPath.rfind('/') + 1);
            config->pageFile = dir + f["file"];
        } else if (tag == "char") {
            BMFontGlyph g;
            g.rect = CCRect((float)intField(f, "x"), (float)intField(f, "y"),
                            (float)intField(f, "width"), (float)intField(f, "height"));
            g.xOffset = intField(f, "xoffset");
            g.yOffset = intField(f, "yoffset");
            g.xAdvance = intField(f, "xadvance");
            config->glyphs[(uint32_t)intField(f, "id")] = g;
        } else if (tag == "kerning") {
            uint64_t key =
                ((uint64_t)(uint32_t)intField(f, "first") << 32) | (uint32_t)intField(f, "second");
            config->kerning[key] = intField(f, "amount");
        }
    }
    if (config->pageFile.empty() || config->glyphs.empty()) {
        reportUnusableFile(fullPath,
                           "it is not a text .fnt bitmap font (no page or no characters)");
        return nullptr;
    }
    if (config->lineHeight <= 0) config->lineHeight = 1;
    configCache()[fullPath] = config;
    return config;
}

// UTF-8 to code points; a broken byte stands for itself so nothing is lost silently.
std::vector<uint32_t> codePoints(const std::string& s) {
    std::vector<uint32_t> out;
    for (size_t i = 0; i < s.size();) {
        unsigned char c = (unsigned char)s[i];
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        uint32_t cp = extra == 0 ? c : (uint32_t)(c & (0x3F >> extra));
        bool ok = i + (size_t)extra < s.size();
        for (int k = 1; ok && k <= extra; ++k) {
            unsigned char cc = (unsigned char)s[i + (size_t)k];
            if ((cc & 0xC0) != 0x80) ok = false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (!ok || (extra == 0 && c >= 0x80)) {
            out.push_back(c);
            ++i;
        } else {
            out.push_back(cp);
            i += (size_t)extra + 1;
        }
    }
    return out;
}

int kerningOf(const BMFontConfiguration& config, uint32_t first, uint32_t second) {
    auto it = config.kerning.find(((uint64_t)first << 32) | second);
    return it == config.kerning.end() ? 0 : it->second;
}

// In double: a broken font's advances (up to 100000 each) over a long text overflow an int.
double advanceOf(const BMFontConfiguration& config, const std::vector<uint32_t>& line) {
    double x = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        auto g = config.glyphs.find(line[i]);
        if (g == config.glyphs.end()) continue;
        if (i > 0) x += kerningOf(config, line[i - 1], line[i]);
        x += g->second.xAdvance;
    }
    return x;
}

}  // namespace

CCLabelBMFont::CCLabelBMFont() { m_obAnchorPoint = CCPoint(0.5f, 0.5f); }
CCLabelBMFont::~CCLabelBMFont() = default;

CCLabelBMFont* CCLabelBMFont::create() {
    CCLabelBMFont* label = new CCLabelBMFont();
    label->autorelease();
    return label;
}

CCLabelBMFont* CCLabelBMFont::create(const char* text, const char* fntFile) {
    return create(text, fntFile, kLabelAutomaticWidth);
}

CCLabelBMFont* CCLabelBMFont::create(const char* text, const char* fntFile, float width,
                                     CCTextAlignment alignment, const CCPoint& imageOffset) {
    CCLabelBMFont* label = new CCLabelBMFont();
    if (!label->initWithString(text, fntFile, width, alignment, imageOffset)) {
        label->release();
        return nullptr;
    }
    label->autorelease();
    return label;
}

bool CCLabelBMFont::initWithString(const char* text, const char* fntFile, float width,
                                   CCTextAlignment alignment, const CCPoint& imageOffset) {
    if (!fntFile || !*fntFile) return false;
    std::shared_ptr<const BMFontConfiguration> config = loadConfiguration(fntFile);
    if (!config) return false;
    CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(config->pageFile);
    if (!texture) return false;  // the texture cache has named the page image
    m_config = config;
    m_texture = texture;
    m_fntFile = fntFile;
    m_width = width;
    m_alignment = alignment;
    m_imageOffset = imageOffset;
    m_string = text ? text : "";
    layout();
    return true;
}

void CCLabelBMFont::setString(const char* text) {
    if (!text) return;
    m_string = text;
    layout();
}

void CCLabelBMFont::setWidth(float width) {
    m_width = width;
    layout();
}

void CCLabelBMFont::setAlignment(CCTextAlignment alignment) {
    m_alignment = alignment;
    layout();
}

void CCLabelBMFont::setFntFile(const char* fntFile) {
    if (!fntFile || !*fntFile) return;
    std::shared_ptr<const BMFontConfiguration> config = loadConfiguration(fntFile);
    if (!config) return;
    CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(config->pageFile);
    if (!texture) return;
    m_config = config;
    m_texture = texture;
    m_fntFile = fntFile;
    layout();
}

void CCLabelBMFont::layout() {
    ccRequestRedraw();
    m_glyphs.clear();
    if (!m_config) {
        setContentSize(CCSizeZero);
        return;
    }
    const BMFontConfiguration& config = *m_config;

    // Break into lines: at '\n', and with a width between words.
    std::vector<std::vector<uint32_t>> lines(1);
    std::vector<uint32_t> all = codePoints(m_string);
    const uint32_t kSpace = ' ';
    std::vector<uint32_t> word;
    auto flushWord = [&] {
        std::vector<uint32_t>& line = lines.back();
        if (m_width > 0 && !line.empty()) {
            std::vector<uint32_t> joined = line;
            joined.push_back(kSpace);
            joined.insert(joined.end(), word.begin(), word.end());
            if (advanceOf(config, joined) > m_width) {
                lines.push_back(word);
                word.clear();
                return;
            }
            line.push_back(kSpace);
        }
        line.insert(line.end(), word.begin(), word.end());
        word.clear();
    };
    bool pendingSpace = false;
    for (uint32_t cp : all) {
        if (cp == '\n') {
            flushWord();
            lines.emplace_back();
            pendingSpace = false;
        } else if (cp == kSpace && m_width > 0) {
            if (!word.empty()) flushWord();
            pendingSpace = true;
        } else {
            if (pendingSpace && word.empty() && lines.back().empty() && lines.size() == 1) {
                // Leading blanks of the text stay (no wrapping point before them).
                lines.back().push_back(kSpace);
            }
            pendingSpace = false;
            word.push_back(cp);
        }
    }
    if (!word.empty()) flushWord();

    double widest = 0;
    std::vector<double> widths;
    for (auto& line : lines) {
        widths.push_back(advanceOf(config, line));
        if (widths.back() > widest) widest = widths.back();
    }
    float boxWidth = m_width > 0 ? m_width : (float)widest;
    float height = (float)((double)config.lineHeight * (double)lines.size());
    if (m_string.empty()) height = 0;

    for (size_t l = 0; l < lines.size(); ++l) {
        float x = 0;
        if (m_alignment == kTextAlignmentCenter) x = (float)((boxWidth - widths[l]) / 2);
        if (m_alignment == kTextAlignmentRight) x = (float)(boxWidth - widths[l]);
        float lineTop = height - (float)((double)config.lineHeight * (double)l);
        const std::vector<uint32_t>& line = lines[l];
        for (size_t i = 0; i < line.size(); ++i) {
            auto g = config.glyphs.find(line[i]);
            if (g == config.glyphs.end()) continue;
            if (i > 0) x += (float)kerningOf(config, line[i - 1], line[i]);
            const BMFontGlyph& glyph = g->second;
            if (glyph.rect.size.width > 0 && glyph.rect.size.height > 0) {
                Placed p;
                p.textureRect = glyph.rect;
                p.textureRect.origin = p.textureRect.origin + m_imageOffset;
                p.rect = CCRect(x + glyph.xOffset, lineTop - glyph.yOffset - glyph.rect.size.height,
                                glyph.rect.size.width, glyph.rect.size.height);
                m_glyphs.push_back(p);
            }
            x += (float)glyph.xAdvance;
        }
    }
    setContentSize(CCSize(m_string.empty() ? 0 : boxWidth, height));
}

void CCLabelBMFont::draw(Renderer* renderer) {
    if (!renderer || !m_texture) return;
    TexturedQuad q;
    q.texture = m_texture.get();
    q.transform = m_worldTransform;
    q.color =
        ccColor4B(m_displayedColor.r, m_displayedColor.g, m_displayedColor.b, m_displayedOpacity);
    q.blend = m_blend;
    for (const Placed& p : m_glyphs) {
        q.textureRect = p.textureRect;
        q.rect = p.rect;
        renderer->drawTexturedQuad(q);
    }
}

void CCLabelBMFont::purgeCachedData() { configCache().clear(); }

}  // namespace pagly::engine
