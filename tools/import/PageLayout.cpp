// Drawing a book's documents as the reader's pages (see PageLayout.h).
#include "tools/import/PageLayout.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace pagly::import {

namespace {

// A flowing document is laid out at this CSS size and drawn 1.6 times larger: exactly the
// frame, with text at the size of a phone's.
const int kFlowWidth = 400;
const int kFlowHeight = 600;
const double kFlowScale = 1.6;

// Every page of a flowing document shows this many CSS pixels of margin around its column.
const char* const kFlowStyle =
    "html{margin:0!important;padding:0!important;height:600px!important;"
    "background:var(--pagly-bg,white)}"
    "body{margin:0!important;box-sizing:border-box!important;height:600px!important;"
    "width:400px!important;max-width:none!important;padding:28px 24px!important;"
    "column-width:352px!important;column-gap:48px!important;column-fill:auto!important}"
    "img,svg,video{max-width:100%!important;max-height:540px!important;"
    "object-fit:contain!important}";

std::string substituteAll(std::string text, const std::string& key, const std::string& value) {
    for (size_t at = text.find(key); at != std::string::npos;
         at = text.find(key, at + value.size()))
        text.replace(at, key.size(), value);
    return text;
}

std::string jsonText(const Json::Value& value) {
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    return Json::writeString(builder, value);
}

// A book's ids as a script literal with no '%' left (as \u0025, the same string), so that no
// id can look like one of the placeholders substituted after it.
std::string scriptList(const Json::Value& value) {
    return substituteAll(jsonText(value), "%", "\\u0025");
}

Json::Value idList(const SourceDocument& document) {
    Json::Value ids(Json::arrayValue);
    for (const SourceSentence& s : document.sentences) ids.append(s.elementId);
    return ids;
}

// For each sentence, the ids of its timed words (empty for a sentence timed as a whole).
Json::Value wordIdLists(const SourceDocument& document) {
    Json::Value lists(Json::arrayValue);
    for (const SourceSentence& s : document.sentences) {
        Json::Value ids(Json::arrayValue);
        for (const SourceWord& w : s.words) ids.append(w.elementId);
        lists.append(ids);
    }
    return lists;
}

// The page's own names cannot change what the scripts below call: a form's controls shadow
// the form's properties (<input name=parentElement>), named elements shadow the document's
// (<img name=body>). So every DOM property is read through the prototypes' own getters and
// methods, taken before anything of the page is touched.
const char* const kPristineDom = R"JS(
const own = (proto, name) => {
  const d = Object.getOwnPropertyDescriptor(proto, name);
  return d.get ? (o => d.get.call(o)) : ((o, ...a) => d.value.apply(o, a));
};
const parentOf = own(Node.prototype, 'parentElement'), appendTo = own(Node.prototype, 'appendChild');
const childrenOf = own(Element.prototype, 'children'), tagOf = own(Element.prototype, 'tagName');
const rectsOf = own(Element.prototype, 'getClientRects');
const boundsOf = own(Element.prototype, 'getBoundingClientRect');
const setAttr = own(Element.prototype, 'setAttribute');
const removeAttr = own(Element.prototype, 'removeAttribute');
const widthOf = own(Element.prototype, 'scrollWidth');
const elementQuery = own(Element.prototype, 'querySelector');
const documentQuery = own(Document.prototype, 'querySelector');
const queryAll = own(Document.prototype, 'querySelectorAll');
const byId = own(Document.prototype, 'getElementById');
const create = own(Document.prototype, 'createElement');
const rootOf = own(Document.prototype, 'documentElement');
const headOf = own(Document.prototype, 'head'), bodyOf = own(Document.prototype, 'body');
const query = (root, sel) => (root === document ? documentQuery : elementQuery)(root, sel);
)JS";

// The sentences' rectangles, shared by both layouts: for each id, the boxes of its visible
// lines in page (or document) coordinates, or null when there is no such element.
const char* const kMeasureSentences = R"JS(
const boxesOf = (root, ids, ox, oy) => ids.map(id => {
  const el = query(root, '[id="' + CSS.escape(id) + '"]');
  if (!el) return null;
  if (getComputedStyle(el).visibility === 'hidden') return [];
  return [...rectsOf(el)].filter(r => r.width > 0 && r.height > 0)
    .map(r => [r.left + scrollX - ox, r.top + scrollY - oy, r.width, r.height]);
});
const colourOf = (el) => {
  for (let e = el; e; e = parentOf(e)) {
    const c = getComputedStyle(e).backgroundColor;
    if (c && c !== 'transparent' && !/rgba\(.*,\s*0\)$/.test(c)) return c;
  }
  return 'rgb(255, 255, 255)';
};
)JS";

// Shows the element `sel` alone (every other branch of the tree hidden), at the top left.
const char* const kIsolatePage = R"JS(
(() => {
  const sel = %SEL%, ids = %IDS%, words = %WORDS%;
  queryAll(document, '[data-pagly-hidden]').forEach(e => removeAttr(e, 'data-pagly-hidden'));
  queryAll(document, '[data-pagly-page]').forEach(e => removeAttr(e, 'data-pagly-page'));
  let page = rootOf(document);
  if (sel) {
    if (!byId(document, 'pagly-isolate')) {
      const st = create(document, 'style');
      st.id = 'pagly-isolate';
      st.textContent = '[data-pagly-hidden]{display:none!important}' +
        '[data-pagly-page]{margin:0!important;border:0 none!important;box-shadow:none!important}' +
        'html,body{margin:0!important;padding:0!important}';
      appendTo(headOf(document) || rootOf(document), st);
    }
    page = documentQuery(document, sel);
    if (!page) return {error: 'it has no element ' + sel};
    setAttr(page, 'data-pagly-page', '');
    for (let el = page; parentOf(el); el = parentOf(el))
      for (const sib of childrenOf(parentOf(el)))
        if (sib !== el && !['HEAD', 'STYLE', 'LINK'].includes(tagOf(sib)))
          setAttr(sib, 'data-pagly-hidden', '');
  }
  const r = sel ? boundsOf(page) : {left: 0, top: 0, width: innerWidth, height: innerHeight};
  const ox = r.left + scrollX, oy = r.top + scrollY;
  return {x: ox, y: oy, w: r.width, h: r.height, boxes: boxesOf(sel ? page : document, ids, ox, oy),
          words: words.map(w => boxesOf(sel ? page : document, w, ox, oy)),
          bg: colourOf(sel ? page : bodyOf(document) || rootOf(document))};
})()
)JS";

const char* const kFlowPages = R"JS(
(() => {
  const ids = %IDS%, words = %WORDS%;
  if (!byId(document, 'pagly-flow')) {
    const st = create(document, 'style');
    st.id = 'pagly-flow';
    st.textContent = %STYLE%;
    appendTo(headOf(document) || rootOf(document), st);
  }
  const pages = Math.max(1, Math.ceil((widthOf(rootOf(document)) - 1) / %W%));
  return {pages: pages, boxes: boxesOf(document, ids, 0, 0),
          words: words.map(w => boxesOf(document, w, 0, 0)),
          bg: colourOf(bodyOf(document) || rootOf(document))};
})()
)JS";

std::string substitute(std::string text, const std::string& key, const std::string& value) {
    for (size_t at = text.find(key); at != std::string::npos;
         at = text.find(key, at + value.size()))
        text.replace(at, key.size(), value);
    return text;
}

// `script` with the pristine DOM helpers and the measuring functions it calls.
std::string measuring(const std::string& script) {
    return std::string("(() => {") + kPristineDom + kMeasureSentences + "return (" + script +
           ");})()";
}

// "rgb(228, 140, 132)" -> "#e48c84"; anything else white.
std::string hexColour(const std::string& css) {
    int r = 255, g = 255, b = 255;
    if (std::sscanf(css.c_str(), "rgb%*[a(] %d , %d , %d", &r, &g, &b) != 3) r = g = b = 255;
    char out[8];
    std::snprintf(out, sizeof out, "#%02x%02x%02x", std::clamp(r, 0, 255), std::clamp(g, 0, 255),
                  std::clamp(b, 0, 255));
    return out;
}

bool decodeBase64(const std::string& in, std::string& out) {
    static int table[256];
    static bool ready = false;
    if (!ready) {
        std::fill(std::begin(table), std::end(table), -1);
        const char* letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        for (int i = 0; i < 64; ++i) table[(unsigned char)letters[i]] = i;
        ready = true;
    }
    out.clear();
    out.reserve(in.size() / 4 * 3);
    unsigned bits = 0;
    int count = 0;
    for (unsigned char c : in) {
        if (c == '=') break;
        if (table[c] < 0) return false;
        bits = (bits << 6) | (unsigned)table[c];
        count += 6;
        if (count >= 8) {
            count -= 8;
            out.push_back((char)((bits >> count) & 0xff));
        }
    }
    return true;
}

std::string relativeName(const std::string& path, const std::string& folder) {
    if (!folder.empty() && path.compare(0, folder.size(), folder) == 0) {
        size_t from = folder.size();
        while (from < path.size() && path[from] == '/') ++from;
        return path.substr(from);
    }
    return path;
}

// The boxes of one sentence that lie on one page, joined into one rectangle, in that page's
// pixels; false when none does.
bool joinBoxes(const Json::Value& boxes, double left, double top, double width, double height,
               double scale, SentenceBox& out) {
    double x0 = 1e18, y0 = 1e18, x1 = -1e18, y1 = -1e18;
    out.lines.clear();
    for (const Json::Value& b : boxes) {
        double x = b[0].asDouble() - left, y = b[1].asDouble() - top;
        double bx0 = std::max(x, 0.0), by0 = std::max(y, 0.0);
        double bx1 = std::min(x + b[2].asDouble(), width),
               by1 = std::min(y + b[3].asDouble(), height);
        if (bx1 <= bx0 || by1 <= by0) continue;
        out.lines.push_back({bx0 * scale, by0 * scale, (bx1 - bx0) * scale, (by1 - by0) * scale});
        x0 = std::min(x0, bx0);
        y0 = std::min(y0, by0);
        x1 = std::max(x1, bx1);
        y1 = std::max(y1, by1);
    }
    if (x1 <= x0 || y1 <= y0) return false;
    out.x = x0 * scale;
    out.y = y0 * scale;
    out.width = (x1 - x0) * scale;
    out.height = (y1 - y0) * scale;
    return true;
}

// The rectangles of a sentence's words on one page (see SentenceBox::words).
void joinWords(const Json::Value& words, double left, double top, double width, double height,
               double scale, SentenceBox& out) {
    out.words.clear();
    for (const Json::Value& pieces : words) {
        SentenceBox word;
        if (!pieces.isArray() || !joinBoxes(pieces, left, top, width, height, scale, word))
            word.width = word.height = 0;
        out.words.push_back({word.x, word.y, word.width, word.height});
    }
}

}  // namespace

bool pngSize(const std::string& png, int& width, int& height) {
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (png.size() < 24 || png.compare(0, 8, std::string((const char*)signature, 8)) != 0 ||
        png.compare(12, 4, "IHDR") != 0)
        return false;
    auto word = [&](size_t at) {
        return (int)(((unsigned char)png[at] << 24) | ((unsigned char)png[at + 1] << 16) |
                     ((unsigned char)png[at + 2] << 8) | (unsigned char)png[at + 3]);
    };
    width = word(16);
    height = word(20);
    return width > 0 && height > 0;
}

std::string fileUrl(const std::string& path) {
    std::string url = "file://";
    for (unsigned char c : path) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            url.push_back((char)c);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            url += escaped;
        }
    }
    return url;
}

bool PageLayout::setViewport(int width, int height, double scale, std::string& why) {
    if (width == m_viewWidth && height == m_viewHeight && scale == m_viewScale) return true;
    Json::Value params, result;
    params["width"] = width;
    params["height"] = height;
    params["deviceScaleFactor"] = scale;
    params["mobile"] = false;
    if (!m_browser.call("Emulation.setDeviceMetricsOverride", params, result, why)) return false;
    m_viewWidth = width;
    m_viewHeight = height;
    m_viewScale = scale;
    return true;
}

bool PageLayout::load(const std::string& path, int width, int height, double scale,
                      std::string& why) {
    if (!setViewport(width, height, scale, why)) return false;
    if (m_loaded == path) return true;
    m_loaded.clear();
    if (!m_browser.navigate(fileUrl(path), why)) return false;
    Json::Value ignored;
    // Web fonts load after the load event; a page drawn before them would show stand-ins.
    // (Read through the prototype: an element named "fonts" shadows the document's own.)
    if (!m_browser.evaluate("Object.getOwnPropertyDescriptor(Document.prototype, 'fonts').get"
                            ".call(document).ready.then(() => true)",
                            ignored, why))
        return false;
    m_loaded = path;
    return true;
}

bool PageLayout::capture(double x, double y, double width, double height, DrawnPage& page,
                         std::string& why) {
    Json::Value params, result;
    params["format"] = "png";
    params["clip"]["x"] = x;
    params["clip"]["y"] = y;
    params["clip"]["width"] = width;
    params["clip"]["height"] = height;
    params["clip"]["scale"] = 1;
    params["captureBeyondViewport"] = true;
    if (!m_browser.call("Page.captureScreenshot", params, result, why)) return false;
    if (!decodeBase64(result["data"].asString(), page.png) ||
        !pngSize(page.png, page.width, page.height))
        return why = "the browser's picture of the page is no PNG", false;
    return true;
}

bool PageLayout::draw(const SourceDocument& document, const std::string& bookFolder,
                      const PageSink& sink, std::vector<ImportProblem>& problems,
                      std::string& why) {
    std::string name = relativeName(document.path, bookFolder);
    return document.layout == SourceLayout::Reflow
               ? drawFlowing(document, name, sink, problems, why)
               : drawFixed(document, name, sink, problems, why);
}

bool PageLayout::drawFixed(const SourceDocument& document, const std::string& name,
                           const PageSink& sink, std::vector<ImportProblem>& problems,
                           std::string& why) {
    int width = document.width, height = document.height;
    if (width > kLargestPageSide || height > kLargestPageSide || width < 0 || height < 0)
        return why = "its page is " + std::to_string(width) + " x " + std::to_string(height) +
                     " pixels, larger than the reader can draw",
               false;
    // Until the page is measured, a viewport of its own size or of a large book page.
    if (!load(document.path, width > 0 ? width : 1024, height > 0 ? height : 1448, 1.0, why))
        return false;
    std::string script = substitute(
        substitute(
            kIsolatePage, "%SEL%",
            document.pageSelector.empty() ? "null" : jsonText(Json::Value(document.pageSelector))),
        "%IDS%", scriptList(idList(document)));
    script = substitute(script, "%WORDS%", scriptList(wordIdLists(document)));
    script = measuring(script);
    Json::Value measured;
    if (!m_browser.evaluate(script, measured, why)) return false;
    if (measured.isMember("error")) return why = measured["error"].asString(), false;
    if (width <= 0) width = (int)std::ceil(measured["w"].asDouble() - 0.01);
    if (height <= 0) height = (int)std::ceil(measured["h"].asDouble() - 0.01);
    if (width <= 0 || height <= 0) return why = "its page shows nothing", false;
    if (width > kLargestPageSide || height > kLargestPageSide)
        return why = "its page is " + std::to_string(width) + " x " + std::to_string(height) +
                     " pixels, larger than the reader can draw",
               false;
    double scale = std::min((double)kFrameWidth / width, (double)kFrameHeight / height);
    if (width != m_viewWidth || height != m_viewHeight || scale != m_viewScale) {
        // Drawn at the frame's size by the browser itself: sharp text, no resampling.
        if (!setViewport(width, height, scale, why)) return false;
        if (!m_browser.evaluate(script, measured, why)) return false;
        if (measured.isMember("error")) return why = measured["error"].asString(), false;
    }
    DrawnPage page;
    if (!capture(measured["x"].asDouble(), measured["y"].asDouble(), width, height, page, why))
        return false;
    page.background = hexColour(measured["bg"].asString());
    const Json::Value& boxes = measured["boxes"];
    for (size_t i = 0; i < document.sentences.size(); ++i) {
        SentenceBox box;
        box.sentence = i;
        if (boxes[(Json::ArrayIndex)i].isNull()) {
            problems.push_back({name + "#" + document.sentences[i].elementId,
                                "the page has no element with this id"});
        } else if (!joinBoxes(boxes[(Json::ArrayIndex)i], 0, 0, width, height, scale, box)) {
            problems.push_back({name + "#" + document.sentences[i].elementId,
                                "its sentence is not shown on the page"});
        } else {
            joinWords(measured["words"][(Json::ArrayIndex)i], 0, 0, width, height, scale, box);
            page.boxes.push_back(box);
        }
    }
    if (!sink(page, 1)) return why = "stopped", false;
    return true;
}

bool PageLayout::drawFlowing(const SourceDocument& document, const std::string& name,
                             const PageSink& sink, std::vector<ImportProblem>& problems,
                             std::string& why) {
    if (!load(document.path, kFlowWidth, kFlowHeight, kFlowScale, why)) return false;
    std::string script =
        substitute(substitute(substitute(kFlowPages, "%IDS%", scriptList(idList(document))),
                              "%STYLE%", jsonText(Json::Value(kFlowStyle))),
                   "%W%", std::to_string(kFlowWidth));
    script = substitute(script, "%WORDS%", scriptList(wordIdLists(document)));
    script = measuring(script);
    Json::Value measured;
    if (!m_browser.evaluate(script, measured, why)) return false;
    // A runaway document (or a hostile one) still ends: this many frames is a long book.
    int count = std::clamp(measured["pages"].asInt(), 1, 2000);
    std::string background = hexColour(measured["bg"].asString());
    std::vector<DrawnPage> drawn((size_t)count);
    const Json::Value& boxes = measured["boxes"];
    for (size_t i = 0; i < document.sentences.size(); ++i) {
        const Json::Value& lines = boxes[(Json::ArrayIndex)i];
        std::string where = name + "#" + document.sentences[i].elementId;
        if (lines.isNull()) {
            problems.push_back({where, "the document has no element with this id"});
            continue;
        }
        if (lines.empty()) {
            problems.push_back({where, "its sentence is not shown in the document"});
            continue;
        }
        // The page its first line falls on; lines that run onto the next page are left out of
        // its button there.
        int on = (int)std::floor(lines[0][0].asDouble() / kFlowWidth);
        SentenceBox box;
        box.sentence = i;
        if (on < 0 || on >= count ||
            !joinBoxes(lines, (double)on * kFlowWidth, 0, kFlowWidth, kFlowHeight, kFlowScale,
                       box)) {
            problems.push_back({where, "its sentence lies outside the document's pages"});
            continue;
        }
        joinWords(measured["words"][(Json::ArrayIndex)i], (double)on * kFlowWidth, 0, kFlowWidth,
                  kFlowHeight, kFlowScale, box);
        drawn[(size_t)on].boxes.push_back(box);
    }
    // Each page goes on as soon as it is drawn: the progress moves, the pictures do not pile up.
    for (int k = 0; k < count; ++k) {
        if (cancelRequested()) return why = "the conversion was cancelled", false;
        DrawnPage& page = drawn[(size_t)k];
        if (!capture((double)k * kFlowWidth, 0, kFlowWidth, kFlowHeight, page, why)) return false;
        page.background = background;
        if (!sink(page, count)) return why = "stopped", false;
        page = DrawnPage();
    }
    return true;
}

}  // namespace pagly::import
