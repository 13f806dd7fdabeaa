#pragma once

#include <string>

#include "gui/UIWidget.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

// An image widget: one image, a plain sprite or a nine-slice sprite.
class UIImageView : public UIWidget {
  public:
    UIImageView();
    ~UIImageView() override;
    static UIImageView* create();

    void setAnchorPoint(const CCPoint& anchor) override;
    void setFlipX(bool flipX) override;
    bool isFlipX() override;
    void setFlipY(bool flipY) override;
    bool isFlipY() override;
    void setIgnoreSize(bool ignore) override;
    CCNode* getRenderNode() override;
    CCSize getContentSize() override;
    std::string getDescription() const override;

    // A null or empty name leaves the image unchanged.
    void loadTexture(const char* name, TextureResType texType = TextureLocal);
    void setScale9Enabled(bool enabled);
    // Kept, and given to the image in nine-slice mode.
    void setCapInsets(const CCRect& capInsets);

    bool isScale9Enabled() const { return m_bScale9Enabled; }
    const CCRect& getCapInsets() const { return m_capInsets; }
    const char* getTextureFile() const { return m_strTextureFile.c_str(); }
    TextureResType getTexType() const { return m_eImageTexType; }
    const CCSize& getImageTextureSize() const { return m_imageTextureSize; }

  protected:
    void onSizeChanged() override;
    void initRenderer() override;

  private:
    void fitImage();

    CCNode* m_pImageRenderer = nullptr;  // owned by the render node
    bool m_bScale9Enabled = false;
    bool m_bPrevIgnoreSize = true;
    CCRect m_capInsets;
    std::string m_strTextureFile;
    TextureResType m_eImageTexType = TextureLocal;
    CCSize m_imageTextureSize;
};

}  // namespace pagly::gui
