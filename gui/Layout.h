#pragma once

#include <string>

#include "gui/UIWidget.h"
#include "gui/GuiNamespace.h"

namespace pagly::engine {
class CCLayerColor;
class CCLayerGradient;

}  // namespace pagly::engine

namespace pagly::gui {

class RectClippingNode;

// Which colour renderer a panel paints under its image and children (a document's "colorType").
enum BackGroundColorType : int {
    BackGroundColorNone = 0,
    BackGroundColorSolid = 1,
    BackGroundColorGradient = 2,
};

// How a panel arranges its children; only absolute placement exists.
enum LayoutType : int { LayoutAbsolute = 0 };

// The panel widget: a container positioned by its lower-left corner that can paint a solid or
// gradient colour and an image (plain or nine-slice) under its children, and clip its children
// to its own rectangle. Base of the root widget and of the scroll containers.
class Layout : public UIWidget {
  public:
    Layout();
    ~Layout() override;
    static Layout* create();

    void setColor(const ccColor3B& color) override;
    void setOpacity(unsigned char opacity) override;
    bool hitTest(const CCPoint& worldPoint) override;
    CCSize getContentSize() override;
    std::string getDescription() const override;
    bool init() override;

    // --- operations a panel adds, in their slot order ---
    virtual void setClippingEnabled(bool enabled);
    virtual bool isClippingEnabled();
    virtual void setLayoutType(int type);
    virtual int getLayoutType();
    virtual void doLayout();
    // The document reader's entry for "clipAble".
    virtual void setClipAble(bool able);

    // --- background ---
    void setBackGroundImage(const char* fileName, TextureResType texType = TextureLocal);
    void setBackGroundImageScale9Enabled(bool enabled);
    void setBackGroundImageCapInsets(const CCRect& capInsets);
    void setBackGroundColorType(BackGroundColorType type);
    void setBackGroundColor(const ccColor3B& color);
    void setBackGroundColor(const ccColor3B& startColor, const ccColor3B& endColor);
    void setBackGroundColorVector(const CCPoint& vector);
    void setBackGroundColorOpacity(unsigned char opacity);

    bool isBackGroundImageScale9Enabled() const { return m_bBackGroundScale9Enabled; }
    const char* getBackGroundImageFileName() const { return m_strBackGroundImageFileName.c_str(); }
    const CCRect& getBackGroundImageCapInsets() const { return m_backGroundImageCapInsets; }
    TextureResType getBackGroundImageTexType() const { return m_eBGImageTexType; }
    BackGroundColorType getBackGroundColorType() const { return m_colorType; }
    const ccColor3B& getBackGroundColor() const { return m_cColor; }
    const ccColor3B& getBackGroundStartColor() const { return m_gStartColor; }
    const ccColor3B& getBackGroundEndColor() const { return m_gEndColor; }
    const CCPoint& getBackGroundColorVector() const { return m_alongVector; }
    unsigned char getBackGroundColorOpacity() const { return m_cColorOpacity; }
    // The renderers, for inspection; null while they do not exist.
    CCNode* getBackGroundImageRenderer() const { return m_pBackGroundImage; }
    CCLayerColor* getColorRenderer() const { return m_pColorRender; }
    CCLayerGradient* getGradientRenderer() const { return m_pGradientRender; }
    RectClippingNode* getClippingNode() const;

  protected:
    void onSizeChanged() override;
    void initRenderer() override;

  private:
    // Creates the background image renderer of the current mode under the render node.
    void addBackGroundImage();
    void removeBackGroundImage();

    bool m_bClippingEnabled = false;
    bool m_bBackGroundScale9Enabled = false;
    CCNode* m_pBackGroundImage = nullptr;  // owned by the render node as its child
    std::string m_strBackGroundImageFileName;
    CCRect m_backGroundImageCapInsets;
    BackGroundColorType m_colorType = BackGroundColorNone;
    TextureResType m_eBGImageTexType = TextureLocal;
    CCLayerColor* m_pColorRender = nullptr;        // owned by the render node
    CCLayerGradient* m_pGradientRender = nullptr;  // owned by the render node
    ccColor3B m_cColor = ccColor3B(255, 255, 255);
    ccColor3B m_gStartColor = ccColor3B(255, 255, 255);
    ccColor3B m_gEndColor = ccColor3B(255, 255, 255);
    CCPoint m_alongVector{0.0f, -1.0f};
    unsigned char m_cColorOpacity = 255;
    int m_nLayoutType = LayoutAbsolute;
};

}  // namespace pagly::gui
