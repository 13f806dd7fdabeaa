// Reads an unpacked Bloom book (the folder inside a .bloompub): its one .htm of
// div.bloom-page pages, the recorded sentences on each (span.audio-sentence with
// audio/<id>.mp3, or a text box recorded whole and cut at its data-audiorecordingendtimes),
// and, in a bilingual book, each sentence's match in the second language as its caption.
// Pages that show nothing are left out; covers stay, they are part of the book as it shows.
#ifndef PAGLY_TOOLS_IMPORT_BLOOMREADER_H
#define PAGLY_TOOLS_IMPORT_BLOOMREADER_H

#include <string>

#include "tools/import/SourceBook.h"

namespace pagly::import {

// Bloom books are listed by this many pages a unit.
constexpr int kBloomPagesPerUnit = 10;

// Whether `folder` looks like an unpacked Bloom book (a .htm with Bloom pages in it).
bool isBloomFolder(const std::string& folder);

// Fills `book` from the Bloom book in `folder`. Missing recordings, pictures and videos are
// left to the writer or listed in book.problems; false with `why` only when the book cannot be
// read at all.
bool readBloom(const std::string& folder, SourceBook& book, std::string& why);

}  // namespace pagly::import

#endif
