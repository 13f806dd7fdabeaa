#pragma once

#include <string>

#include "engine/nodes/CCSprite.h"
#include "engine/nodes/CCTextAlignment.h"

namespace pagly::engine {

// A text label in a TrueType font, drawn as a sprite of its rendered text. Without
// dimensions the label is as large as its text; with a width it wraps at that width and is
// exactly that wide; with a height it is that high and places the text block by its
// vertical alignment. The text is rendered white and tinted by the node's colour. Every
// setter renders anew at once, so the content size is always current.
class CCLabelTTF : public CCSprite, public CCLabelProtocol {
  public:
    CCLabelTTF();
    ~CCLabelTTF() override;

    static CCLabelTTF* create();
    static CCLabelTTF* create(const char* text, const char* fontName, float fontSize);
    static CCLabelTTF* create(const char* text, const char* fontName, float fontSize,
                              const CCSize& dimensions, CCTextAlignment hAlignment);
    static CCLabelTTF* create(const char* text, const char* fontName, float fontSize,
                              const CCSize& dimensions, CCTextAlignment hAlignment,
                              CCVerticalTextAlignment vAlignment);

    bool init() override;
    bool initWithString(const char* text, const char* fontName, float fontSize);
    bool initWithString(const char* text, const char* fontName, float fontSize,
                        const CCSize& dimensions, CCTextAlignment hAlignment);
    bool initWithString(const char* text, const char* fontName, float fontSize,
                        const CCSize& dimensions, CCTextAlignment hAlignment,
                        CCVerticalTextAlignment vAlignment);

    // Null leaves the text as it is.
    void setString(const char* text) override;
    const char* getString() const override { return m_string.c_str(); }

    CCTextAlignment getHorizontalAlignment() const { return m_hAlignment; }
    void setHorizontalAlignment(CCTextAlignment alignment);
    CCVerticalTextAlignment getVerticalAlignment() const { return m_vAlignment; }
    void setVerticalAlignment(CCVerticalTextAlignment alignment);
    // (0, 0): as large as the text. A width wraps; a height fixes the height.
    const CCSize& getDimensions() const { return m_dimensions; }
    void setDimensions(const CCSize& dimensions);
    float getFontSize() const { return m_fontSize; }
    void setFontSize(float size);
    const char* getFontName() const { return m_fontName.c_str(); }
    void setFontName(const char* fontName);

    std::string description() const override;

  protected:
    // Renders the text into a new texture and takes its size. False when nothing could be
    // rendered (the label then shows nothing and keeps the size of its dimensions).
    bool updateTexture();

    std::string m_string;
    std::string m_fontName;
    float m_fontSize = 12.0f;
    CCSize m_dimensions;
    CCTextAlignment m_hAlignment = kTextAlignmentLeft;
    CCVerticalTextAlignment m_vAlignment = kVerticalTextAlignmentTop;
};

}  // namespace pagly::engine
