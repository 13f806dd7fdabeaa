#pragma once

#include "gui/UIWidget.h"
#include "gui/GuiNamespace.h"

namespace pagly::engine {
class CCLabelTTF;

}  // namespace pagly::engine

namespace pagly::gui {

// A text label in a system (TrueType) font. With ignoreSize it is exactly as large as its
// text; otherwise the text is stretched to the widget's size. It can grow while touched.
class UILabel : public UIWidget {
  public:
    UILabel();
    ~UILabel() override;
    static UILabel* create();

    void setAnchorPoint(const CCPoint& anchor) override;
    void setFlipX(bool flipX) override;
    bool isFlipX() override;
    void setFlipY(bool flipY) override;
    bool isFlipY() override;
    CCNode* getRenderNode() override;
    CCSize getContentSize() override;
    std::string getDescription() const override;

    // Null keeps the current text.
    void setText(const char* text);
    const char* getStringValue() const;
    int getStringLength() const;
    void setFontSize(int size);
    void setFontName(const char* name);
    // The label grows by half while pressed; its current scale becomes the normal one.
    void setTouchScaleEnabled(bool enabled);
    bool isTouchScaleEnabled() const { return m_bTouchScaleEnabled; }
    float getNormalScale() const { return m_fNormalScaleValue; }

    // Text-area options: wrapping box and alignments of the text node, each followed by the
    // size rule. Alignment values: 0 left/top, 1 centre, 2 right/bottom.
    void setTextAreaSize(const CCSize& size);
    void setTextHorizontalAlignment(int alignment);
    void setTextVerticalAlignment(int alignment);

    CCLabelTTF* getLabelNode() const { return m_pLabelRenderer; }

  protected:
    void onSizeChanged() override;
    void initRenderer() override;
    void onStateNormal() override;
    void onStatePressed() override;

  private:
    void labelScaleChangedWithSize();

    bool m_bTouchScaleEnabled = false;
    float m_fNormalScaleValue = 1.0f;
    float m_fNormalScaleValueY = 1.0f;  // a label may be scaled unevenly; both axes come back
    float m_fOnSelectedScaleOffset = 0.5f;
    CCLabelTTF* m_pLabelRenderer = nullptr;  // owned by the render node
};

}  // namespace pagly::gui
