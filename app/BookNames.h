#pragma once

#include <string>

// The book's naming rules: how a page number and a sentence index become a page document,
// a button name, a sentence number, a caption key and a recording file. Page and index are
// written in decimal without leading zeros; pages below 10 take a "0" after the prefix.
namespace pagly {

// "lessonbundle/lessonbundle_<page>.json"
std::string pageDocumentPath(int page);

// "bn0<page><i>" below page 10, else "bn<page><i>".
std::string sentenceButtonName(int page, int index);

// page * 10 + i for i < 10, page * 100 + i otherwise; kept as the button's action tag.
int sentenceNumber(int page, int index);

// The index on `page` of sentence number `number` (inverse of sentenceNumber).
int sentenceIndexFromNumber(int page, int number);

// "str0<page><i>" / "str<page><i>": the sentence's key in Stringstr.xml.
std::string captionKey(int page, int index);
// The same key written from the sentence number ("str0" or "str", then the number).
std::string captionKeyForNumber(int page, int number);

// "mc0<page><i>.mp3" / "mc<page><i>.mp3": the logical name of the recording.
std::string recordingName(int page, int index);
std::string recordingNameForNumber(int page, int number);

// "epc/" + md5Hex(recording name) + ".mp3": where the recording is stored.
std::string recordingPath(int page, int index);
std::string recordingPathForName(const std::string& recordingName);

// MD5 (RFC 1321) of the bytes, as 32 lower-case hexadecimal digits; "" if the digest fails.
std::string md5Hex(const std::string& bytes);
// Bytes as lower-case hexadecimal digits, high nibble first.
std::string hexDigits(const unsigned char* bytes, size_t count);

}  // namespace pagly
