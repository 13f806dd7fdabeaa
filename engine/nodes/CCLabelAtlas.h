#pragma once

#include <string>

#include "engine/base/RefPtr.h"
#include "engine/nodes/CCNode.h"
#include "engine/nodes/CCTextAlignment.h"
#include "engine/render/RenderTypes.h"

namespace pagly::engine {

class CCTexture2D;

// Text drawn from a character-map image: a grid of equal cells, left to right and top to
// bottom, the first cell showing `startChar`. Each byte of the text picks its cell; bytes
// without a cell leave a blank of one cell width. Until initialised with a map it draws
// nothing.
class CCLabelAtlas : public CCNodeRGBA, public CCLabelProtocol {
  public:
    CCLabelAtlas();
    ~CCLabelAtlas() override;

    static CCLabelAtlas* create();
    // Null when the map image cannot be loaded or the cell size is not positive.
    static CCLabelAtlas* create(const char* text, const char* charMapFile, unsigned int itemWidth,
                                unsigned int itemHeight, unsigned int startChar);

    bool initWithString(const char* text, const char* charMapFile, unsigned int itemWidth,
                        unsigned int itemHeight, unsigned int startChar);
    bool initWithString(const char* text, CCTexture2D* texture, unsigned int itemWidth,
                        unsigned int itemHeight, unsigned int startChar);

    void setString(const char* text) override;
    const char* getString() const override { return m_string.c_str(); }
    CCTexture2D* getTexture() const { return m_texture.get(); }
    bool isInitialized() const { return m_texture.get() != nullptr; }
    const ccBlendFunc& getBlendFunc() const { return m_blend; }
    void setBlendFunc(const ccBlendFunc& blend) { m_blend = blend; }

    void draw(Renderer* renderer) override;

  private:
    std::string m_string;
    RefPtr<CCTexture2D> m_texture;
    unsigned int m_itemWidth = 0, m_itemHeight = 0;
    unsigned int m_startChar = 0;
    unsigned int m_columns = 0, m_rows = 0;
    ccBlendFunc m_blend;
};

}  // namespace pagly::engine
