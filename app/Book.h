#pragma once

#include <string>
#include <unordered_map>
#include <vector>

// What a book is to the reader: its units and the pages each one lists, the pages a learner can
// step through, which pages keep their buttons' own look, the limits of a page, and its caption
// table (read once). The screens, the resume memory and the book checker all ask here, so the
// book's rules live in one place.
namespace pagly {

// One entry of the main page and the contents it opens.
struct BookUnit {
    std::string name;        // the main page's label; a word list takes "wordname" instead
    int first = 0;           // the unit's page range: contents lines and their z-orders
    int last = 0;            //   are counted from `first`
    std::vector<int> lines;  // the pages the contents lines open, in line order
    bool wordList = false;   // lines read "<wordname> <n> " instead of "<front> <page> <after>"
    std::vector<std::string> titles;  // the pages' own titles, by line; may be shorter or empty
};

class Book {
  public:
    // A page has at most this many sentences (indices 1..29, decodable from their numbers).
    static constexpr int kMostSentences = 29;
    // Captions of this many bytes or more are not shown.
    static constexpr unsigned kLongestCaption = 1600;
    // The highest page number a book may use (a wider range is a typo, and its checks would run
    // for hours).
    static constexpr int kHighestPage = 9999;
    // The file in which a book folder describes its own units and pages.
    static const char* const kDescriptionFile;  // "book.json"
    // A larger description is not read.
    static constexpr long kLargestDescription = 1024 * 1024;

    // The course book's layout: eight units and the word list, pages 2..77.
    static Book standard();
    // The book in `folder`: described by its own book.json when it has one, else the standard
    // layout. A description that cannot be used is named in one log line (or, when `problem` is
    // given, there instead) and the standard layout is taken.
    static Book forFolder(const std::string& folder, std::string* problem = nullptr);
    // Reads a description's text; false with `why` set when it is unusable.
    static bool fromDescription(const std::string& text, Book& book, std::string& why);

    const std::string& title() const { return m_title; }
    int unitCount() const { return (int)m_units.size(); }
    // `index` clamped into range, so a stale choice still opens a real unit.
    const BookUnit& unit(int index) const;
    // The pages a learner can step through with the arrows, swipes and reading on.
    int firstPage() const { return m_firstPage; }
    int lastPage() const { return m_lastPage; }
    bool hasPage(int page) const { return page >= m_firstPage && page <= m_lastPage; }
    // Where a learner with nothing remembered starts: the first page of the first unit.
    int startPage() const;
    // Whether the sentence buttons of `page` keep the look their document gives them (the word
    // list) instead of the book's sentence pictures.
    bool keepsButtonLook(int page) const;

    // The caption under `key` in the caption table, or null when there is none.
    const std::string* caption(const std::string& key) const;

  private:
    void loadCaptions() const;

    std::string m_title;
    std::vector<BookUnit> m_units;
    int m_firstPage = 0;
    int m_lastPage = 0;
    bool m_allKeepButtonLook = false;
    mutable bool m_captionsLoaded = false;
    mutable std::unordered_map<std::string, std::string> m_captions;
};

}  // namespace pagly
