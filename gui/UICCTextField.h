#pragma once

#include <string>

#include "engine/nodes/CCTextFieldTTF.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

// The engine text field of a UITextField, and its own delegate: it notes what happened (attached,
// detached, text inserted, character deleted) for the widget to report on the next frame, holds the
// field to its maximum length, and can show its text as a row of password characters.
class UICCTextField : public CCTextFieldTTF, public CCTextFieldDelegate {
  public:
    UICCTextField();
    ~UICCTextField() override;
    static UICCTextField* create(const char* placeHolder, const char* fontName, float fontSize);

    void onEnter() override;
    void onExit() override;
    // The typed text; shown as password characters while the password style is on.
    void setString(const char* text) override;
    void setPlaceHolder(const char* text);

    bool onTextFieldAttachWithIME(CCTextFieldTTF* sender) override;
    bool onTextFieldDetachWithIME(CCTextFieldTTF* sender) override;
    bool onTextFieldInsertText(CCTextFieldTTF* sender, const char* text, int len) override;
    bool onTextFieldDeleteBackward(CCTextFieldTTF* sender, const char* deleted, int len) override;

    void setMaxLengthEnabled(bool enabled) { m_bMaxLengthEnabled = enabled; }
    bool isMaxLengthEnabled() const { return m_bMaxLengthEnabled; }
    void setMaxLength(int length) { m_nMaxLength = length; }
    int getMaxLength() const { return m_nMaxLength; }
    void setPasswordEnabled(bool enabled);
    bool isPasswordEnabled() const { return m_bPasswordEnabled; }
    // One printable character (33..126); anything else is ignored.
    void setPasswordStyleText(const char* styleText);
    const char* getPasswordStyleText() const { return m_strPasswordStyleText.c_str(); }
    // What the field shows (the password characters, the typed text or the placeholder).
    const char* getShownString() const { return CCLabelTTF::getString(); }

    // The notes of what happened since the widget last looked.
    void setAttachWithIME(bool attach) { m_bAttachWithIME = attach; }
    bool getAttachWithIME() const { return m_bAttachWithIME; }
    void setDetachWithIME(bool detach) { m_bDetachWithIME = detach; }
    bool getDetachWithIME() const { return m_bDetachWithIME; }
    void setInsertText(bool insert) { m_bInsertText = insert; }
    bool getInsertText() const { return m_bInsertText; }
    void setDeleteBackward(bool deleted) { m_bDeleteBackward = deleted; }
    bool getDeleteBackward() const { return m_bDeleteBackward; }

  protected:
    void insertText(const char* text, int len) override;
    void deleteBackward() override;

  private:
    // Shows the password characters in place of the text while the style is on.
    void showPassword();
    // Cuts typed text to what the maximum length leaves room for.
    std::string trimToMaxLength(const std::string& text);

    bool m_bMaxLengthEnabled = false;
    int m_nMaxLength = 0;
    bool m_bPasswordEnabled = false;
    std::string m_strPasswordStyleText = "*";
    bool m_bAttachWithIME = false;
    bool m_bDetachWithIME = false;
    bool m_bInsertText = false;
    bool m_bDeleteBackward = false;
};

}  // namespace pagly::gui
