#pragma once

#include <string>

#include "gui/UIWidget.h"
#include "gui/GuiNamespace.h"

namespace pagly::engine {
class CCSprite;

}  // namespace pagly::engine

namespace pagly::gui {

// What a slider's listener is told: the percent changed under the finger.
enum SliderEventType { SliderEventPercentChanged = 0 };

typedef void (CCObject::*SEL_SlidPercentChangedEvent)(CCObject* sender, SliderEventType kind);

// A bar with a ball the finger drags from 0 (left end) to 100 per cent (right end); the part of the
// bar left of the ball shows the progress image. The render node's origin is the bar's centre. Bar
// and progress may be nine-slice sprites; the three ball images never are.
class UISlider : public UIWidget {
  public:
    UISlider();
    ~UISlider() override;
    static UISlider* create();

    bool onTouchBegan(const CCPoint& touchPoint) override;
    void onTouchMoved(const CCPoint& touchPoint) override;
    void setIgnoreSize(bool ignore) override;
    CCNode* getRenderNode() override;
    CCSize getContentSize() override;
    std::string getDescription() const override;

    void loadBarTexture(const char* name, TextureResType texType = TextureLocal);
    void loadProgressBarTexture(const char* name, TextureResType texType = TextureLocal);
    void loadBallTextureNormal(const char* name, TextureResType texType = TextureLocal);
    void loadBallTexturePressed(const char* name, TextureResType texType = TextureLocal);
    void loadBallTextureDisabled(const char* name, TextureResType texType = TextureLocal);

    // Bar and progress become nine-slice sprites (or plain ones again), keeping their images.
    void setScale9Enabled(bool enabled);
    bool isScale9Enabled() const { return m_bScale9Enabled; }
    void setCapInsets(const CCRect& capInsets);
    void setCapInsetsBarRenderer(const CCRect& capInsets);
    void setCapInsetProgressBarRenderer(const CCRect& capInsets);

    // Clamped to 0..100; places the ball and shows that share of the progress image.
    void setPercent(int percent);
    int getPercent() const { return m_nPercent; }
    void addEventListener(CCObject* target, SEL_SlidPercentChangedEvent selector);

    // The image names as last loaded ("" for none).
    const char* getBarFile() const { return m_strTextureFile.c_str(); }
    const char* getProgressBarFile() const { return m_strProgressBarTextureFile.c_str(); }
    const char* getBallNormalFile() const { return m_strSlidBallNormalTextureFile.c_str(); }
    const char* getBallPressedFile() const { return m_strSlidBallPressedTextureFile.c_str(); }
    const char* getBallDisabledFile() const { return m_strSlidBallDisabledTextureFile.c_str(); }
    float getBarLength() const { return m_fBarLength; }
    const CCSize& getProgressTextureSize() const { return m_progressTextureSize; }
    // The nodes, for inspection.
    CCNode* getBarNode() const { return m_pBarRenderer; }
    CCNode* getProgressNode() const { return m_pProgressBarRenderer; }
    CCNode* getBallNode() const { return m_pSlidBallRenderer; }
    CCSprite* getBallNormalNode() const { return m_pSlidBallNormalRenderer; }
    CCSprite* getBallPressedNode() const { return m_pSlidBallPressedRenderer; }
    CCSprite* getBallDisabledNode() const { return m_pSlidBallDisabledRenderer; }

  protected:
    void onSizeChanged() override;
    void initRenderer() override;
    void onStateNormal() override;
    void onStatePressed() override;
    void onStateDisabled() override;

  private:
    void createBarNodes();
    void loadBall(CCSprite* sprite, std::string& file, TextureResType& typeField, const char* name,
                  TextureResType texType);
    void fitBar();
    void fitProgress();
    // The percent under a point of the render node's space, before clamping.
    int percentAt(float x) const;
    void fireEvent();

    CCNode* m_pBarRenderer = nullptr;          // owned by the render node
    CCNode* m_pProgressBarRenderer = nullptr;  // owned by the render node
    CCSize m_progressTextureSize;
    CCPoint m_progressTextureOrigin;  // the frame's place in its sheet; (0, 0) for a file
    CCSprite* m_pSlidBallNormalRenderer = nullptr;    // owned by the ball node
    CCSprite* m_pSlidBallPressedRenderer = nullptr;   // owned by the ball node
    CCSprite* m_pSlidBallDisabledRenderer = nullptr;  // owned by the ball node
    CCNode* m_pSlidBallRenderer = nullptr;            // owned by the render node
    float m_fBarLength = 0.0f;
    int m_nPercent = 0;
    bool m_bScale9Enabled = false;
    bool m_bPrevIgnoreSize = true;
    std::string m_strTextureFile;
    std::string m_strProgressBarTextureFile;
    std::string m_strSlidBallNormalTextureFile;
    std::string m_strSlidBallPressedTextureFile;
    std::string m_strSlidBallDisabledTextureFile;
    TextureResType m_eBarTexType = TextureLocal;
    TextureResType m_eProgressBarTexType = TextureLocal;
    TextureResType m_eBallNTexType = TextureLocal;
    TextureResType m_eBallPTexType = TextureLocal;
    TextureResType m_eBallDTexType = TextureLocal;
    CCRect m_capInsetsBarRenderer;
    CCRect m_capInsetsProgressBarRenderer;
    CCSize m_barTextureSize;
    CCObject* m_pSlidPercentListener = nullptr;  // non-owning, as listeners always are
    SEL_SlidPercentChangedEvent m_pfnSlidPercentSelector = nullptr;
};

}  // namespace pagly::gui
