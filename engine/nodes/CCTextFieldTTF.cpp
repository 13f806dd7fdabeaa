#include "engine/nodes/CCTextFieldTTF.h"

namespace pagly::engine {

namespace {

// What secure entry shows for each character.
const char* const kBullet = "\xE2\x80\xA2";

bool isContinuationByte(unsigned char c) { return (c & 0xC0) == 0x80; }

int countCharacters(const std::string& text) {
    int n = 0;
    for (unsigned char c : text)
        if (!isContinuationByte(c)) ++n;
    return n;
}

}  // namespace

CCTextFieldTTF::CCTextFieldTTF()
    : m_colorSpaceHolder(ccColor3B(127, 127, 127)), m_colorText(kColorWhite) {}

CCTextFieldTTF::~CCTextFieldTTF() = default;

CCTextFieldTTF* CCTextFieldTTF::textFieldWithPlaceHolder(const char* placeholder,
                                                         const CCSize& dimensions,
                                                         CCTextAlignment alignment,
                                                         const char* fontName, float fontSize) {
    CCTextFieldTTF* field = new CCTextFieldTTF();
    if (!field->initWithPlaceHolder(placeholder, dimensions, alignment, fontName, fontSize)) {
        field->release();
        return nullptr;
    }
    field->autorelease();
    return field;
}

CCTextFieldTTF* CCTextFieldTTF::textFieldWithPlaceHolder(const char* placeholder,
                                                         const char* fontName, float fontSize) {
    CCTextFieldTTF* field = new CCTextFieldTTF();
    if (!field->initWithPlaceHolder(placeholder, fontName, fontSize)) {
        field->release();
        return nullptr;
    }
    field->autorelease();
    return field;
}

bool CCTextFieldTTF::initWithPlaceHolder(const char* placeholder, const CCSize& dimensions,
                                         CCTextAlignment alignment, const char* fontName,
                                         float fontSize) {
    m_placeHolder = placeholder ? placeholder : "";
    if (!CCLabelTTF::initWithString(m_placeHolder.c_str(), fontName, fontSize, dimensions,
                                    alignment))
        return false;
    m_inputText.clear();
    m_nCharCount = 0;
    refresh();
    return true;
}

bool CCTextFieldTTF::initWithPlaceHolder(const char* placeholder, const char* fontName,
                                         float fontSize) {
    return initWithPlaceHolder(placeholder, CCSizeZero, kTextAlignmentLeft, fontName, fontSize);
}

void CCTextFieldTTF::refresh() {
    // The label shows the placeholder (in its colour) while nothing is typed.
    std::string shown;
    if (m_inputText.empty()) {
        shown = m_placeHolder;
        CCLabelTTF::setColor(m_colorSpaceHolder);
    } else {
        if (m_bSecureTextEntry) {
            for (int i = 0; i < m_nCharCount; ++i) shown += kBullet;
        } else {
            shown = m_inputText;
        }
        CCLabelTTF::setColor(m_colorText);
    }
    CCLabelTTF::setString(shown.c_str());
}

void CCTextFieldTTF::setString(const char* text) {
    m_inputText = text ? text : "";
    m_nCharCount = countCharacters(m_inputText);
    refresh();
}

void CCTextFieldTTF::setPlaceHolder(const char* text) {
    m_placeHolder = text ? text : "";
    refresh();
}

void CCTextFieldTTF::setColorSpaceHolder(const ccColor3B& color) {
    m_colorSpaceHolder = color;
    refresh();
}

void CCTextFieldTTF::setColor(const ccColor3B& color) {
    m_colorText = color;
    refresh();
}

void CCTextFieldTTF::setSecureTextEntry(bool secure) {
    if (m_bSecureTextEntry == secure) return;
    m_bSecureTextEntry = secure;
    refresh();
}

bool CCTextFieldTTF::attachWithIME() { return CCIMEDelegate::attachWithIME(); }

bool CCTextFieldTTF::detachWithIME() { return CCIMEDelegate::detachWithIME(); }

bool CCTextFieldTTF::canAttachWithIME() {
    return !(m_pDelegate && m_pDelegate->onTextFieldAttachWithIME(this));
}

bool CCTextFieldTTF::canDetachWithIME() {
    return !(m_pDelegate && m_pDelegate->onTextFieldDetachWithIME(this));
}

void CCTextFieldTTF::insertText(const char* text, int len) {
    if (!text || len <= 0) return;
    std::string inserted(text, (size_t)len);
    // Only what comes before a line break is text; the break itself means "done".
    size_t newline = inserted.find('\n');
    if (newline != std::string::npos) inserted.erase(newline);

    if (!inserted.empty()) {
        if (m_pDelegate &&
            m_pDelegate->onTextFieldInsertText(this, inserted.c_str(), (int)inserted.size()))
            return;  // refused
        m_inputText += inserted;
        m_nCharCount = countCharacters(m_inputText);
        refresh();
    }
    if (newline == std::string::npos) return;
    // The delegate may take Enter for itself; otherwise it ends the input.
    if (m_pDelegate && m_pDelegate->onTextFieldInsertText(this, "\n", 1)) return;
    detachWithIME();
}

void CCTextFieldTTF::deleteBackward() {
    size_t length = m_inputText.size();
    if (length == 0) return;
    // One whole UTF-8 character: the lead byte and its continuation bytes.
    size_t deleteBytes = 1;
    while (deleteBytes < length &&
           isContinuationByte((unsigned char)m_inputText[length - deleteBytes]))
        ++deleteBytes;
    if (m_pDelegate && m_pDelegate->onTextFieldDeleteBackward(
                           this, m_inputText.c_str() + length - deleteBytes, (int)deleteBytes))
        return;  // refused
    m_inputText.erase(length - deleteBytes);
    m_nCharCount = countCharacters(m_inputText);
    refresh();
}

void CCTextFieldTTF::draw(Renderer* renderer) {
    if (m_pDelegate && m_pDelegate->onDraw(this)) return;
    CCLabelTTF::draw(renderer);
}

}  // namespace pagly::engine
