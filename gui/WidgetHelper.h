#pragma once

#include "engine/base/CCArray.h"
#include "engine/base/CCGeometry.h"
#include "engine/base/RefPtr.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

class UIWidget;

// The process-wide widget helper: lookups in a widget tree, the design size of the current
// UI document, and the sprite-frame sheets already loaded (so each loads once). Created on
// first use; a page scene's clean-up destroys it and the next use makes a fresh one.
class WidgetHelper {
  public:
    static WidgetHelper* instance();
    // True while an instance exists (instance() would not create one).
    static bool hasInstance();
    static void destroyInstance();

    // Depth-first, pre-order, children in order: the first widget met with this exact name.
    static UIWidget* findWidgetByName(UIWidget* root, const char* name);
    // The same walk comparing action tags.
    static UIWidget* findWidgetByActionTag(UIWidget* root, int tag);
    // The first direct child whose relative layout parameter carries this name.
    static UIWidget* findWidgetByRelativeName(UIWidget* parent, const char* name);

    // Loads a sprite-frame sheet into the frame cache unless this helper loaded it already.
    void addSpriteFramesOnce(const char* fileName);
    bool isSpriteFramesLoaded(const char* fileName) const;

    const CCSize& getDesignSize() const { return m_designSize; }
    void setDesignSize(const CCSize& size) { m_designSize = size; }

    WidgetHelper(const WidgetHelper&) = delete;
    WidgetHelper& operator=(const WidgetHelper&) = delete;

  private:
    WidgetHelper();
    ~WidgetHelper();

    CCSize m_designSize;
    RefPtr<CCArray> m_loadedFrameFiles;
};

}  // namespace pagly::gui
