#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/base/RefPtr.h"
#include "engine/nodes/CCNode.h"
#include "engine/nodes/CCTextAlignment.h"
#include "engine/render/RenderTypes.h"

namespace pagly::engine {

class CCTexture2D;
struct BMFontConfiguration;

enum { kLabelAutomaticWidth = -1 };

// Text in a bitmap font: the text form of the .fnt format (lines "info", "common" with
// lineHeight and base, "page" with the image file, "char" with id, x, y, width, height,
// xoffset, yoffset and xadvance, "kerning" with first, second and amount). Fonts are read
// once per file. Lines break at '\n' and, with a width, between words; the alignment places
// each line within the widest one.
class CCLabelBMFont : public CCNodeRGBA, public CCLabelProtocol {
  public:
    CCLabelBMFont();
    ~CCLabelBMFont() override;

    static CCLabelBMFont* create();
    // Null when the font file or its page image cannot be read.
    static CCLabelBMFont* create(const char* text, const char* fntFile);
    static CCLabelBMFont* create(const char* text, const char* fntFile, float width,
                                 CCTextAlignment alignment = kTextAlignmentLeft,
                                 const CCPoint& imageOffset = CCPointZero);

    bool init() override { return true; }
    bool initWithString(const char* text, const char* fntFile, float width = kLabelAutomaticWidth,
                        CCTextAlignment alignment = kTextAlignmentLeft,
                        const CCPoint& imageOffset = CCPointZero);

    void setString(const char* text) override;
    const char* getString() const override { return m_string.c_str(); }
    void setWidth(float width);
    void setAlignment(CCTextAlignment alignment);
    // Switches font; a file that cannot be read leaves the font as it was.
    void setFntFile(const char* fntFile);
    const char* getFntFile() const { return m_fntFile.c_str(); }
    CCTexture2D* getTexture() const { return m_texture.get(); }

    void draw(Renderer* renderer) override;

    // Forgets the fonts read so far.
    static void purgeCachedData();

  private:
    struct Placed {
        CCRect textureRect;
        CCRect rect;
    };
    void layout();

    std::string m_string;
    std::string m_fntFile;
    std::shared_ptr<const BMFontConfiguration> m_config;
    RefPtr<CCTexture2D> m_texture;
    float m_width = kLabelAutomaticWidth;
    CCTextAlignment m_alignment = kTextAlignmentLeft;
    CCPoint m_imageOffset;
    std::vector<Placed> m_glyphs;
    ccBlendFunc m_blend;
};

}  // namespace pagly::engine
