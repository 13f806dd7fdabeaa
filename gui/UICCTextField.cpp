#include "gui/UICCTextField.h"

#include <algorithm>
#include <cstring>
#include "gui/GuiNamespace.h"

namespace pagly::gui {

namespace {

bool isContinuationByte(unsigned char c) { return (c & 0xC0) == 0x80; }

// The longest prefix of at most `bytes` bytes that does not split a UTF-8 character.
std::string prefixBytes(const std::string& text, size_t bytes) {
    if (text.size() <= bytes) return text;
    size_t cut = bytes;
    while (cut > 0 && isContinuationByte((unsigned char)text[cut])) --cut;
    return text.substr(0, cut);
}

// The first `count` characters of UTF-8 text.
std::string prefixCharacters(const std::string& text, int count) {
    int seen = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (isContinuationByte((unsigned char)text[i])) continue;
        if (seen == count) return text.substr(0, i);
        ++seen;
    }
    return text;
}

}  // namespace

UICCTextField::UICCTextField() {}

UICCTextField::~UICCTextField() { setDelegate(nullptr); }

UICCTextField* UICCTextField::create(const char* placeHolder, const char* fontName,
                                     float fontSize) {
    UICCTextField* field = new UICCTextField();
    if (!field->initWithPlaceHolder(placeHolder, fontName, fontSize)) {
        field->release();
        return nullptr;
    }
    // Its own delegate from the start, so the limits hold even before it is on stage.
    field->setDelegate(field);
    field->autorelease();
    return field;
}

void UICCTextField::onEnter() {
    CCTextFieldTTF::onEnter();
    setDelegate(this);
}

void UICCTextField::onExit() {
    // A field taken off the stage no longer takes the keyboard's text.
    if (CCIMEDispatcher::sharedDispatcher()->attachedDelegate() == this) detachWithIME();
    CCTextFieldTTF::onExit();
}

// ---------------------------------------------------------------- delegate answers

bool UICCTextField::onTextFieldAttachWithIME(CCTextFieldTTF*) {
    m_bAttachWithIME = true;
    return false;
}

bool UICCTextField::onTextFieldDetachWithIME(CCTextFieldTTF*) {
    m_bDetachWithIME = true;
    return false;
}

bool UICCTextField::onTextFieldInsertText(CCTextFieldTTF*, const char* text, int len) {
    // Enter alone goes through without a note: it only ends the input.
    if (len == 1 && text && text[0] == '\n') return false;
    if (m_bMaxLengthEnabled && getCharCount() >= m_nMaxLength) {
        return true;  // refused; nothing was inserted, so nothing is reported
    }
    m_bInsertText = true;
    return false;
}

bool UICCTextField::onTextFieldDeleteBackward(CCTextFieldTTF*, const char*, int) {
    m_bDeleteBackward = true;
    return false;
}

// ---------------------------------------------------------------- typing

std::string UICCTextField::trimToMaxLength(const std::string& text) {
    int maxLength = std::max(0, m_nMaxLength);
    // The byte budget: three bytes a character for text that begins with a multi-byte character,
    // one otherwise; overlong text is cut to its first budget's worth, never inside a character.
    size_t multiple = (unsigned char)text[0] >= 0x80 ? 3 : 1;
    size_t limit = (size_t)maxLength * multiple;
    std::string input = text;
    if (std::strlen(getString()) + input.size() > limit) input = prefixBytes(input, limit);
    // And never more characters than the maximum; a full field is refused by the delegate.
    int room = maxLength - getCharCount();
    if (room > 0) input = prefixCharacters(input, room);
    return input;
}

void UICCTextField::insertText(const char* text, int len) {
    if (!text || len <= 0) return;
    std::string input(text, (size_t)len);
    if (m_bMaxLengthEnabled && input != "\n") {
        // Only the text in front of a line break is held to the maximum: the break still ends
        // the input, even when the text before it is cut or the field is already full.
        size_t lineBreak = input.find('\n');
        std::string typed = input.substr(0, lineBreak);
        if (!typed.empty()) typed = trimToMaxLength(typed);
        if (lineBreak == std::string::npos) {
            input = typed;
        } else {
            if (getCharCount() >= m_nMaxLength) typed.clear();
            input = typed + "\n";
        }
    }
    if (input.empty()) return;
    CCTextFieldTTF::insertText(input.c_str(), (int)input.size());
    showPassword();
}

void UICCTextField::deleteBackward() {
    CCTextFieldTTF::deleteBackward();
    showPassword();
}

// ---------------------------------------------------------------- password style

void UICCTextField::showPassword() {
    if (!m_bPasswordEnabled || getCharCount() == 0) return;
    // One password character per byte of the real text.
    std::string shown;
    size_t bytes = std::strlen(getString());
    for (size_t i = 0; i < bytes; ++i) shown += m_strPasswordStyleText;
    CCLabelTTF::setString(shown.c_str());
}

void UICCTextField::setString(const char* text) {
    CCTextFieldTTF::setString(text);
    // Text set by the program is a password too while the style is on.
    showPassword();
}

void UICCTextField::setPlaceHolder(const char* text) {
    CCTextFieldTTF::setPlaceHolder(text);
    showPassword();
}

void UICCTextField::setPasswordEnabled(bool enabled) {
    if (enabled == m_bPasswordEnabled) return;
    m_bPasswordEnabled = enabled;
    // Show the text again, or hide what is already there.
    std::string text = getString();
    setString(text.c_str());
}

void UICCTextField::setPasswordStyleText(const char* styleText) {
    if (!styleText || std::strlen(styleText) != 1) return;
    char c = styleText[0];
    if (c < 33 || c > 126) return;
    m_strPasswordStyleText = styleText;
    showPassword();
}

}  // namespace pagly::gui
