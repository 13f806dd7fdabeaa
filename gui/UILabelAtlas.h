#pragma once

#include "engine/nodes/CCLabelAtlas.h"
#include "gui/UIWidget.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

// The engine's character-map label as the label-atlas widget uses it: created empty, it draws
// nothing until it has been given a character map.
class UICCLabelAtlas : public CCLabelAtlas {
  public:
    UICCLabelAtlas();
    ~UICCLabelAtlas() override;
    static UICCLabelAtlas* create();

    void setProperty(const char* text, const char* charMapFile, unsigned int itemWidth,
                     unsigned int itemHeight, unsigned int startChar);
    void draw(Renderer* renderer) override;
};

// Text drawn from a character-map image (digits, scores).
class UILabelAtlas : public UIWidget {
  public:
    UILabelAtlas();
    ~UILabelAtlas() override;
    static UILabelAtlas* create();

    void setAnchorPoint(const CCPoint& anchor) override;
    CCNode* getRenderNode() override;
    CCSize getContentSize() override;
    std::string getDescription() const override;

    // Initialises the map: `text` drawn from `charMapFile`, cells of itemWidth x itemHeight,
    // the first cell showing the first character of `startChar`.
    void setProperty(const char* text, const char* charMapFile, int itemWidth, int itemHeight,
                     const char* startChar);
    const char* getStringValue() const;

    UICCLabelAtlas* getAtlasNode() const { return m_pLabelAtlasRenderer; }

  protected:
    void onSizeChanged() override;
    void initRenderer() override;

  private:
    UICCLabelAtlas* m_pLabelAtlasRenderer = nullptr;  // owned by the render node
};

}  // namespace pagly::gui
