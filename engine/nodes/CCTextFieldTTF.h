#pragma once

#include <string>

#include "engine/director/CCIMEDispatcher.h"
#include "engine/nodes/CCLabelTTF.h"

namespace pagly::engine {

class CCTextFieldTTF;

// Told about a text field's input; every "on..." answer of true refuses what is about to
// happen (attaching, detaching, inserting, deleting, or the field's own drawing).
class CCTextFieldDelegate {
  public:
    virtual ~CCTextFieldDelegate() = default;
    virtual bool onTextFieldAttachWithIME(CCTextFieldTTF*) { return false; }
    virtual bool onTextFieldDetachWithIME(CCTextFieldTTF*) { return false; }
    virtual bool onTextFieldInsertText(CCTextFieldTTF*, const char* /*text*/, int /*len*/) {
        return false;
    }
    virtual bool onTextFieldDeleteBackward(CCTextFieldTTF*, const char* /*deleted*/, int /*len*/) {
        return false;
    }
    virtual bool onDraw(CCTextFieldTTF*) { return false; }
};

// A label that takes typed text through the input-method dispatcher. While empty it shows
// its placeholder in the placeholder colour; with secure entry it shows one bullet per
// character. Enter ("\n") detaches it from the input method unless the delegate takes it.
class CCTextFieldTTF : public CCLabelTTF, public CCIMEDelegate {
  public:
    CCTextFieldTTF();
    ~CCTextFieldTTF() override;

    static CCTextFieldTTF* textFieldWithPlaceHolder(const char* placeholder,
                                                    const CCSize& dimensions,
                                                    CCTextAlignment alignment, const char* fontName,
                                                    float fontSize);
    static CCTextFieldTTF* textFieldWithPlaceHolder(const char* placeholder, const char* fontName,
                                                    float fontSize);
    bool initWithPlaceHolder(const char* placeholder, const CCSize& dimensions,
                             CCTextAlignment alignment, const char* fontName, float fontSize);
    bool initWithPlaceHolder(const char* placeholder, const char* fontName, float fontSize);

    CCTextFieldDelegate* getDelegate() const { return m_pDelegate; }
    // Not owned; clear it before the delegate goes away.
    void setDelegate(CCTextFieldDelegate* delegate) { m_pDelegate = delegate; }

    // The typed text (never the placeholder). Null clears it.
    void setString(const char* text) override;
    const char* getString() const override { return m_inputText.c_str(); }
    // Characters (not bytes) of the typed text.
    int getCharCount() const { return m_nCharCount; }

    void setPlaceHolder(const char* text);
    const char* getPlaceHolder() const { return m_placeHolder.c_str(); }
    const ccColor3B& getColorSpaceHolder() const { return m_colorSpaceHolder; }
    void setColorSpaceHolder(const ccColor3B& color);
    // The colour of typed text (the placeholder has its own).
    void setColor(const ccColor3B& color) override;
    const ccColor3B& getColor() override { return m_colorText; }

    void setSecureTextEntry(bool secure);
    bool isSecureTextEntry() const { return m_bSecureTextEntry; }

    bool attachWithIME() override;
    bool detachWithIME() override;

    void draw(Renderer* renderer) override;

  protected:
    bool canAttachWithIME() override;
    bool canDetachWithIME() override;
    void insertText(const char* text, int len) override;
    void deleteBackward() override;
    const char* getContentText() override { return m_inputText.c_str(); }

  private:
    void refresh();

    CCTextFieldDelegate* m_pDelegate = nullptr;  // non-owning
    std::string m_inputText;
    std::string m_placeHolder;
    int m_nCharCount = 0;
    ccColor3B m_colorSpaceHolder;
    ccColor3B m_colorText;
    bool m_bSecureTextEntry = false;
};

}  // namespace pagly::engine
