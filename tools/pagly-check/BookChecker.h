#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace Json {
class Value;
}

namespace pagly {

enum class Severity { Warning, Error };

// One finding: which file it concerns and what is wrong, in words an author can act on.
struct Problem {
    Severity severity;
    std::string file;  // relative to the book folder
    std::string message;

    std::string line() const;  // "error: <file>: <message>"
};

// All findings of one check, in the order they were found.
struct CheckReport {
    std::vector<Problem> problems;

    int count(Severity severity) const;
    int errors() const { return count(Severity::Error); }
    int warnings() const { return count(Severity::Warning); }
};

struct CheckOptions {
    // The book's own first or last page (2..77 for the course book, or what its book.json lists).
    static constexpr int kBooksOwn = -1;
    int firstPage = kBooksOwn;
    int lastPage = kBooksOwn;
};

// Checks a book folder the way the reader will use it: page and settings documents, the
// images, sheets and fonts they name, the sentence buttons with their captions and
// recordings, the text tables and the reader's fixed images. Gaps the reader copes with
// (a sentence without caption or recording) are warnings; anything that breaks a page is
// an error.
class BookChecker {
  public:
    explicit BookChecker(std::string bookDir, CheckOptions options = {});

    // Runs every check. Property lists are read through the engine's dictionary, whose
    // autoreleased objects are drained before returning.
    CheckReport run();

  private:
    struct Widget {
        const Json::Value* node;
        std::string classname;
    };
    using WidgetIndex = std::map<std::string, Widget>;

    void error(const std::string& file, const std::string& message);
    void warning(const std::string& file, const std::string& message);

    std::string full(const std::string& relative) const;
    bool exists(const std::string& relative) const;

    void checkTextTables();
    // Reports why a text table the engine could not read is unusable.
    void reportUnreadableTable(const std::string& table, const std::string& what);
    void checkFixedImages();
    void checkFonts();
    void checkPage(int page);
    void checkSettings();

    bool loadDocument(const std::string& rel, Json::Value& root);
    void indexWidgets(const std::string& rel, const Json::Value& node, WidgetIndex& index,
                      int depth = 0);
    void checkResources(const std::string& rel, const Json::Value& root);
    void checkWidgetImages(const std::string& rel, const std::string& docDir, bool legacy,
                           const std::set<std::string>& frames, const Json::Value& node);
    void checkImageRef(const std::string& rel, const std::string& docDir,
                       const std::set<std::string>& frames, const std::string& widget,
                       const std::string& key, const std::string& path, bool isFrame);
    void loadSheet(const std::string& rel, const std::string& sheet, std::set<std::string>& frames);
    // Reports a sheet's image the reader cannot use; else gives its size in pixels.
    bool checkSheetImage(const std::string& sheetRel, const std::string& imagePath, int& wide,
                         int& high);
    void checkSentence(int page, int index, const std::string& rel, const Widget& widget);
    // False (and an error) when the reader cannot use the image; `wide`/`high` get its size.
    bool checkImageFile(const std::string& rel, const std::string& image, const std::string& who,
                        int* wide = nullptr, int* high = nullptr);
    void checkFontFile(const std::string& rel, const std::string& font, const std::string& who);

    std::string dir_;
    CheckOptions options_;
    CheckReport report_;
    std::map<std::string, std::set<std::string>> sheets_;  // frames of each sheet read so far
    std::map<std::string, std::string> captions_;
    bool captionsLoaded_ = false;
};

// The option layout rule of UI documents: true when "version" selects the old layout
// (absent, not a string, shorter than 7 characters or a value below 0.2.5.0).
bool isLegacyLayout(const Json::Value& root);

}  // namespace pagly
