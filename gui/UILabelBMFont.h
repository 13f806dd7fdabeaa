#pragma once

#include "gui/UIWidget.h"
#include "gui/GuiNamespace.h"

namespace pagly::engine {
class CCLabelBMFont;

}  // namespace pagly::engine

namespace pagly::gui {

// Text in a bitmap font (.fnt). Text set before a font file is ignored.
class UILabelBMFont : public UIWidget {
  public:
    UILabelBMFont();
    ~UILabelBMFont() override;
    static UILabelBMFont* create();

    void setAnchorPoint(const CCPoint& anchor) override;
    CCNode* getRenderNode() override;
    CCSize getContentSize() override;
    std::string getDescription() const override;

    // A null or empty name does nothing.
    void setFntFile(const char* fileName);
    // Takes effect only once a font file is set; null keeps the current text.
    void setText(const char* text);
    const char* getStringValue() const;
    bool isFntFileLoaded() const { return m_bFntFileHasInit; }

    CCLabelBMFont* getFontNode() const { return m_pLabelBMFontRenderer; }

  protected:
    void onSizeChanged() override;
    void initRenderer() override;

  private:
    CCLabelBMFont* m_pLabelBMFontRenderer = nullptr;  // owned by the render node
    bool m_bFntFileHasInit = false;
};

}  // namespace pagly::gui
