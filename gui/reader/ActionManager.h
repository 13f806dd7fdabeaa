#pragma once

#include <string>

#include "engine/base/CCObject.h"
#include "engine/base/RefPtr.h"
#include "gui/GuiNamespace.h"

namespace pagly::engine {
class CCArray;
class CCDictionary;

}  // namespace pagly::engine

namespace pagly::gui {

class ActionObject;
class JsonDictionary;

// Keeps the timelines of every document read, per document base name. One per process,
// created on first use; the page scene's clean-up destroys it and with it all timelines.
class ActionManager : public CCObject {
  public:
    static ActionManager* instance();
    static void destroyInstance();
    static bool hasInstance();

    ~ActionManager() override;

    // Turns the "actionlist" of animation into timelines bound to root's tree and stores
    // them under fileName's base name (after its last '/'), replacing any earlier entry of
    // that name. A null animation records an empty list.
    void loadActions(const char* fileName, JsonDictionary* animation, CCObject* root);

    // The timelines recorded for a document (by file name or base name), or null.
    CCArray* getActionList(const char* fileName) const;
    // One timeline of a document by name, or null.
    ActionObject* getActionObject(const char* fileName, const char* name) const;
    CCDictionary* getActionsByDocument() const { return m_actionsByDocument.get(); }

    static std::string baseName(const char* fileName);

  private:
    ActionManager();
    RefPtr<CCDictionary> m_actionsByDocument;
};

}  // namespace pagly::gui
