#pragma once

#include <string>

#include "gui/UIWidget.h"
#include "gui/GuiNamespace.h"

namespace pagly::engine {
class CCSprite;

}  // namespace pagly::engine

namespace pagly::gui {

// What a check box's listener is told when a click changes its state.
enum CheckBoxEventType { CheckBoxEventSelected = 0, CheckBoxEventUnselected = 1 };

typedef void (CCObject::*SEL_SelectedStateEvent)(CCObject* sender, CheckBoxEventType kind);

// An on/off box: five images (the box, the box while pressed, the check mark, and the box and check
// mark when disabled). A click inside toggles the state and tells the listener; a release outside
// changes nothing.
class UICheckBox : public UIWidget {
  public:
    UICheckBox();
    ~UICheckBox() override;
    static UICheckBox* create();

    bool init() override;
    void onTouchEnded(const CCPoint& touchPoint) override;
    void setAnchorPoint(const CCPoint& anchor) override;
    void setFlipX(bool flipX) override;
    bool isFlipX() override;
    void setFlipY(bool flipY) override;
    bool isFlipY() override;
    CCNode* getRenderNode() override;
    CCSize getContentSize() override;
    std::string getDescription() const override;

    // All five images of one kind; an empty name leaves that image as it was.
    void loadTextures(const char* backGround, const char* backGroundSelected, const char* cross,
                      const char* backGroundDisabled, const char* frontCrossDisabled,
                      TextureResType texType = TextureLocal);
    void loadTextureBackGround(const char* name, TextureResType texType = TextureLocal);
    void loadTextureBackGroundSelected(const char* name, TextureResType texType = TextureLocal);
    void loadTextureFrontCross(const char* name, TextureResType texType = TextureLocal);
    void loadTextureBackGroundDisabled(const char* name, TextureResType texType = TextureLocal);
    void loadTextureFrontCrossDisabled(const char* name, TextureResType texType = TextureLocal);

    bool isSelected() const { return m_bIsSelected; }
    // Sets the state without telling the listener.
    void setSelectedState(bool selected);
    void addEventListener(CCObject* target, SEL_SelectedStateEvent selector);

    // The five images, for inspection.
    CCSprite* getBackGroundNode() const { return m_pBackGroundBox; }
    CCSprite* getBackGroundSelectedNode() const { return m_pBackGroundSelectedBox; }
    CCSprite* getFrontCrossNode() const { return m_pFrontCross; }
    CCSprite* getBackGroundDisabledNode() const { return m_pBackGroundBoxDisabled; }
    CCSprite* getFrontCrossDisabledNode() const { return m_pFrontCrossDisabled; }

  protected:
    void onSizeChanged() override;
    void initRenderer() override;
    void onStateNormal() override;
    void onStatePressed() override;
    void onStateDisabled() override;

  private:
    void loadImage(CCSprite* sprite, TextureResType& typeField, const char* name,
                   TextureResType texType);
    void fitImage(CCSprite* sprite);
    void fireEvent(CheckBoxEventType kind);

    // All five are owned by the render node.
    CCSprite* m_pBackGroundBox = nullptr;
    CCSprite* m_pBackGroundSelectedBox = nullptr;
    CCSprite* m_pFrontCross = nullptr;
    CCSprite* m_pBackGroundBoxDisabled = nullptr;
    CCSprite* m_pFrontCrossDisabled = nullptr;
    bool m_bIsSelected = false;
    CCObject* m_pSelectedStateListener = nullptr;  // non-owning, as listeners always are
    SEL_SelectedStateEvent m_pfnSelectedStateSelector = nullptr;
    TextureResType m_eBackGroundTexType = TextureLocal;
    TextureResType m_eBackGroundSelectedTexType = TextureLocal;
    TextureResType m_eFrontCrossTexType = TextureLocal;
    TextureResType m_eBackGroundDisabledTexType = TextureLocal;
    TextureResType m_eFrontCrossDisabledTexType = TextureLocal;
};

}  // namespace pagly::gui
