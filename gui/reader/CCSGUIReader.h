#pragma once

#include <string>

#include "engine/base/CCObject.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

class JsonDictionary;
class UIWidget;

// Turns a UI document (JSON exported by the UI editor) into a live widget tree: every node
// becomes its widget with its option groups applied in the format's order, the document's
// sprite sheets are loaded once, its design size is recorded in the WidgetHelper and its
// timelines are handed to the ActionManager. One per process, created on first use.
// Bad documents never fail loudly: wrong or missing values take their defaults.
class CCSGUIReader : public CCObject {
  public:
    static CCSGUIReader* instance();
    static void destroyInstance();
    static bool hasInstance();

    ~CCSGUIReader() override;

    // The root widget of the document (autoreleased), or null when the file cannot be read,
    // is empty, or describes no widget.
    UIWidget* loadWidgetTree(const char* fileName);
    // The widget of one node and its subtree (autoreleased); null without a known "classname".
    UIWidget* createWidget(JsonDictionary* node);

    // The option groups; each applies its keys in the format's order.
    void applyWidgetOptions(UIWidget* widget, JsonDictionary* options);
    void applyColorOptions(UIWidget* widget, JsonDictionary* options);
    void applyLayoutOptions(UIWidget* widget, JsonDictionary* options);
    void applyButtonOptions(UIWidget* widget, JsonDictionary* options);
    void applyTextButtonOptions(UIWidget* widget, JsonDictionary* options);
    void applyCheckBoxOptions(UIWidget* widget, JsonDictionary* options);
    void applyImageViewOptions(UIWidget* widget, JsonDictionary* options);
    void applyLabelOptions(UIWidget* widget, JsonDictionary* options);
    void applyTextAreaOptions(UIWidget* widget, JsonDictionary* options);
    void applyLabelAtlasOptions(UIWidget* widget, JsonDictionary* options);
    void applyLabelBMFontOptions(UIWidget* widget, JsonDictionary* options);
    void applyLoadingBarOptions(UIWidget* widget, JsonDictionary* options);
    void applySliderOptions(UIWidget* widget, JsonDictionary* options);
    void applyTextFieldOptions(UIWidget* widget, JsonDictionary* options);
    void applyPanelOptions(UIWidget* widget, JsonDictionary* options);
    void applyScrollViewOptions(UIWidget* widget, JsonDictionary* options);
    void applyDragPanelOptions(UIWidget* widget, JsonDictionary* options);

    // "a.b.c.d" -> 1000a + 100b + 10c + d; 0 for a text shorter than 7 characters.
    static int parseVersion(const char* text);

    // Directory of the last document read (up to and including its last '/').
    const std::string& getDocumentDirectory() const { return m_documentDirectory; }
    // Whether the last document read uses the legacy option layout.
    bool isLegacyDocument() const { return m_legacyDocument; }
    // For reading single nodes outside a document (tests, tools).
    void setLegacyDocument(bool legacy) { m_legacyDocument = legacy; }
    void setDocumentDirectory(const std::string& dir) { m_documentDirectory = dir; }

    // Widget nesting beyond this depth is not built (the subtree is skipped).
    static constexpr int kMaxWidgetDepth = 100;

  private:
    CCSGUIReader() = default;
    UIWidget* createWidgetAt(JsonDictionary* node, int depth);

    std::string m_documentDirectory;
    bool m_legacyDocument = false;
    bool m_cutAtDepth = false;  // the document being read nests widgets past kMaxWidgetDepth
};

// Releases every process-wide object of the document toolkit (the timeline manager, the reader,
// the widget helper, the JSON helper), timelines first since they hold widgets without owning
// them; the next use makes each anew. For programs and tests that read documents outside a
// page scene, whose own exit does this in its fixed order.
void destroyDocumentSingletons();

}  // namespace pagly::gui
