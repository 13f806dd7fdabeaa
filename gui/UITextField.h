#pragma once

#include "gui/UIWidget.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

class UICCTextField;

// What a text field's listener is told, one frame after it happened.
enum TextFieldEventType {
    TextFieldEventAttachWithIME = 0,
    TextFieldEventDetachWithIME = 1,
    TextFieldEventInsertText = 2,
    TextFieldEventDeleteBackward = 3,
};

typedef void (CCObject::*SEL_TextFieldEvent)(CCObject* sender, TextFieldEventType kind);

// A one-line text entry: a touch opens text input on its engine text field (UICCTextField), which
// then takes the keyboard's text through the input-method dispatcher. The listener hears about
// attaching, detaching, insertions and deletions on the frame after they happen, at most one of
// each kind per frame.
class UITextField : public UIWidget {
  public:
    UITextField();
    ~UITextField() override;
    static UITextField* create();

    bool init() override;
    bool onTouchBegan(const CCPoint& touchPoint) override;
    bool hitTest(const CCPoint& worldPoint) override;
    void setAnchorPoint(const CCPoint& anchor) override;
    CCNode* getRenderNode() override;
    CCSize getContentSize() override;
    std::string getDescription() const override;
    void update(float dt) override;

    // --- the operation a text field adds ---
    // Closes text input on the field.
    virtual void releaseKeyboard();

    // Null leaves the text as it is.
    void setText(const char* text);
    const char* getStringValue() const;
    void setPlaceHolder(const char* text);
    void setFontSize(int size);
    void setFontName(const char* name);

    // A touch area of its own size (centred on the anchor like the widget) instead of the widget's
    // size, once switched on.
    void setTouchSize(const CCSize& size) { m_touchSize = size; }
    const CCSize& getTouchSize() const { return m_touchSize; }
    void setUseTouchArea(bool use) { m_bUseTouchArea = use; }
    bool isUseTouchArea() const { return m_bUseTouchArea; }

    void setMaxLengthEnabled(bool enabled);
    bool isMaxLengthEnabled() const;
    void setMaxLength(int length);
    int getMaxLength() const;
    void setPasswordEnabled(bool enabled);
    bool isPasswordEnabled() const;
    void setPasswordStyleText(const char* styleText);
    const char* getPasswordStyleText() const;

    void addEventListener(CCObject* target, SEL_TextFieldEvent selector);
    UICCTextField* getTextNode() const { return m_pTextFieldRenderer; }

  protected:
    void onSizeChanged() override;
    void initRenderer() override;

  private:
    void fitText();
    void fireEvent(TextFieldEventType kind);

    UICCTextField* m_pTextFieldRenderer = nullptr;  // owned by the render node
    CCSize m_touchSize;
    bool m_bUseTouchArea = false;
    CCObject* m_pTextFieldListener = nullptr;  // non-owning, as listeners always are
    SEL_TextFieldEvent m_pfnTextFieldSelector = nullptr;
};

}  // namespace pagly::gui
