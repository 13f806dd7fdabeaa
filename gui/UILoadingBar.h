#pragma once

#include <string>

#include "gui/UIWidget.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

// Which end a loading bar fills from.
enum LoadingBarType { LoadingBarTypeLeft = 0, LoadingBarTypeRight = 1 };

// A bar that shows 0 to 100 per cent of its image, filling from the left or (mirrored) from the
// right; display only. The image is a plain sprite or a nine-slice sprite.
class UILoadingBar : public UIWidget {
  public:
    UILoadingBar();
    ~UILoadingBar() override;
    static UILoadingBar* create();

    void setIgnoreSize(bool ignore) override;
    CCNode* getRenderNode() override;
    CCSize getContentSize() override;
    std::string getDescription() const override;

    // An empty name leaves the bar as it was.
    void loadTexture(const char* name, TextureResType texType = TextureLocal);
    // 0 fills from the left, 1 from the right; other values are refused with a log line.
    void setDirection(int direction);
    int getDirection() const { return m_nBarType; }
    // Values outside 0..100 are ignored, as is any value while the bar has no length.
    void setPercent(int percent);
    int getPercent() const { return m_nPercent; }
    void setScale9Enabled(bool enabled);
    bool isScale9Enabled() const { return m_bScale9Enabled; }
    void setCapInsets(const CCRect& capInsets);
    const CCRect& getCapInsets() const { return m_capInsets; }

    // The image name as last loaded ("" for none).
    const char* getTextureFile() const { return m_strTextureFile.c_str(); }
    TextureResType getTextureType() const { return m_eRenderBarTexType; }
    float getTotalLength() const { return m_fTotalLength; }
    const CCSize& getBarTextureSize() const { return m_barRendererTextureSize; }

  protected:
    void onSizeChanged() override;
    void initRenderer() override;

  private:
    // Anchor, flip and place of the bar node for the current direction.
    void applyDirection();
    // Shows the stored percent of the image.
    void applyPercent();
    // Shows all of the current image (before another is loaded over it).
    void showWholeImage();

    int m_nBarType = LoadingBarTypeLeft;
    int m_nPercent = 100;
    float m_fTotalLength = 0.0f;
    CCNode* m_pBarRenderer = nullptr;  // owned by the render node
    TextureResType m_eRenderBarTexType = TextureLocal;
    std::string m_strTextureFile;
    CCSize m_barRendererTextureSize;
    CCPoint m_barTextureOrigin;  // the frame's place in its sheet; (0, 0) for a file
    bool m_bScale9Enabled = false;
    bool m_bPrevIgnoreSize = true;
    CCRect m_capInsets;
};

}  // namespace pagly::gui
