#pragma once

#include <string>

#include "gui/UIWidget.h"
#include "gui/GuiNamespace.h"

namespace pagly::engine {
class CCLabelTTF;

}  // namespace pagly::engine

namespace pagly::gui {

// A push button: three images (normal, pressed while a touch is inside, disabled while not
// bright), each a plain sprite or a nine-slice sprite, and a text title centred above them.
class UIButton : public UIWidget {
  public:
    UIButton();
    ~UIButton() override;
    static UIButton* create();

    bool init() override;
    void setAnchorPoint(const CCPoint& anchor) override;
    void setFlipX(bool flipX) override;
    bool isFlipX() override;
    void setFlipY(bool flipY) override;
    bool isFlipY() override;
    void setColor(const ccColor3B& color) override;
    void setIgnoreSize(bool ignore) override;
    CCNode* getRenderNode() override;
    CCSize getContentSize() override;
    std::string getDescription() const override;
    virtual void setScale9Enabled(bool enabled);

    // A null or empty name leaves the button unchanged.
    void loadTextureNormal(const char* name, TextureResType texType = TextureLocal);
    void loadTexturePressed(const char* name, TextureResType texType = TextureLocal);
    void loadTextureDisabled(const char* name, TextureResType texType = TextureLocal);
    // All three images' cap insets (used in nine-slice mode).
    void setCapInsets(const CCRect& capInsets);

    void setTitleText(const char* text);
    const char* getTitleText() const;
    void setTitleColor(const ccColor3B& color);
    const ccColor3B& getTitleColor() const { return m_titleColor; }
    void setTitleFontSize(float size);
    float getTitleFontSize() const;
    void setTitleFontName(const char* fontName);
    const char* getTitleFontName() const;

    bool isScale9Enabled() const { return m_bScale9Enabled; }
    const char* getNormalFile() const { return m_strNormalFileName.c_str(); }
    const char* getPressedFile() const { return m_strPressedFileName.c_str(); }
    const char* getDisabledFile() const { return m_strDisabledFileName.c_str(); }
    TextureResType getNormalTexType() const { return m_eNormalTexType; }
    const CCRect& getCapInsetsNormal() const { return m_capInsetsNormal; }
    const CCSize& getNormalTextureSize() const { return m_normalTextureSize; }
    const CCSize& getPressedTextureSize() const { return m_pressedTextureSize; }
    const CCSize& getDisabledTextureSize() const { return m_disabledTextureSize; }
    // The image nodes and the title, for inspection.
    CCNode* getNormalNode() const { return m_pButtonNormal; }
    CCNode* getPressedNode() const { return m_pButtonClicked; }
    CCNode* getDisabledNode() const { return m_pButtonDisable; }
    CCLabelTTF* getTitleNode() const { return m_pTitle; }

  protected:
    void onSizeChanged() override;
    void initRenderer() override;
    void onStateNormal() override;
    void onStatePressed() override;
    void onStateDisabled() override;

  private:
    // The loading steps shared by the three images.
    void loadTexture(CCNode* node, std::string& file, TextureResType& typeField, CCSize& size,
                     const CCRect& capInsets, const char* name, TextureResType texType);
    void createImageNodes();
    void placeTitle();

    CCNode* m_pButtonNormal = nullptr;   // owned by the render node
    CCNode* m_pButtonClicked = nullptr;  // owned by the render node
    CCNode* m_pButtonDisable = nullptr;  // owned by the render node
    CCLabelTTF* m_pTitle = nullptr;      // owned by the render node
    std::string m_strNormalFileName, m_strPressedFileName, m_strDisabledFileName;
    bool m_bPrevIgnoreSize = true;
    bool m_bScale9Enabled = false;
    CCRect m_capInsetsNormal, m_capInsetsPressed, m_capInsetsDisabled;
    TextureResType m_eNormalTexType = TextureLocal;
    TextureResType m_ePressedTexType = TextureLocal;
    TextureResType m_eDisabledTexType = TextureLocal;
    CCSize m_normalTextureSize, m_pressedTextureSize, m_disabledTextureSize;
    ccColor3B m_titleColor = ccColor3B(255, 255, 255);
};

}  // namespace pagly::gui
