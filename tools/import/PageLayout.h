// Lays a book's documents out in the headless browser and draws them as the reader's pages:
// a fixed page alone at its own size, a flowing document cut into pages of the reader's frame
// proportions; each page's picture fits the 640 x 960 frame with its proportions kept, and
// each sentence gets the rectangle the browser laid it out in, in the picture's pixels.
#ifndef PAGLY_TOOLS_IMPORT_PAGELAYOUT_H
#define PAGLY_TOOLS_IMPORT_PAGELAYOUT_H

#include <functional>
#include <string>
#include <vector>

#include "tools/import/HeadlessBrowser.h"
#include "tools/import/SourceBook.h"

namespace pagly::import {

// Where one sentence lies on a drawn page, in picture pixels from the top left.
struct SentenceBox {
    size_t sentence = 0;                         // index into the document's sentences
    double x = 0, y = 0, width = 0, height = 0;  // all its lines together
    struct Line {
        double x, y, width, height;
    };
    std::vector<Line> lines;  // the boxes of its lines (or inline pieces), same pixels
    // A sentence timed word by word: each word's rectangle (its pieces joined), same pixels,
    // one per word in order; a word not shown on this page has width 0.
    std::vector<Line> words;
};

struct DrawnPage {
    std::string png;  // the picture, as the browser drew it
    int width = 0;    // its size in pixels (at most the frame's)
    int height = 0;
    std::string background;          // the page's own colour, "#rrggbb", for the frame around it
    std::vector<SentenceBox> boxes;  // in the document's reading order
};

class PageLayout {
  public:
    static constexpr int kFrameWidth = 640;
    static constexpr int kFrameHeight = 960;
    // A fixed page larger than this many CSS pixels a side is refused, not drawn.
    static constexpr int kLargestPageSide = 16384;

    explicit PageLayout(HeadlessBrowser& browser) : m_browser(browser) {}

    // Takes each drawn page as soon as it is drawn, with the number of pages the document
    // gives; returns false to stop drawing.
    using PageSink = std::function<bool(DrawnPage& page, int count)>;

    // Draws `document` as one or more pages, handing each to `sink` in order. Sentences that
    // the browser does not show on any page become problems. False with `why` when the
    // document cannot be drawn (or the sink stopped it) after the pages handed over so far.
    bool draw(const SourceDocument& document, const std::string& bookFolder, const PageSink& sink,
              std::vector<ImportProblem>& problems, std::string& why);
    // Forgets what the browser showed (after it was started again).
    void reset() {
        m_loaded.clear();
        m_viewWidth = m_viewHeight = 0;
        m_viewScale = 0;
    }

  private:
    bool load(const std::string& path, int width, int height, double scale, std::string& why);
    bool setViewport(int width, int height, double scale, std::string& why);
    bool capture(double x, double y, double width, double height, DrawnPage& page,
                 std::string& why);
    bool drawFixed(const SourceDocument& document, const std::string& name, const PageSink& sink,
                   std::vector<ImportProblem>& problems, std::string& why);
    bool drawFlowing(const SourceDocument& document, const std::string& name, const PageSink& sink,
                     std::vector<ImportProblem>& problems, std::string& why);

    HeadlessBrowser& m_browser;
    std::string m_loaded;  // the document in the browser now, and the viewport it has
    int m_viewWidth = 0, m_viewHeight = 0;
    double m_viewScale = 0;
};

// The size in pixels of a PNG picture, read from its header; false when it is no PNG.
bool pngSize(const std::string& png, int& width, int& height);

// A file path as a file:// URL (every byte outside the unreserved set escaped).
std::string fileUrl(const std::string& path);

}  // namespace pagly::import

#endif
