#include "gui/reader/ActionManager.h"

#include <cstring>
#include <string>

#include "engine/base/CCArray.h"
#include "engine/base/CCDictionary.h"
#include "engine/platform/UnusableFiles.h"
#include "gui/reader/ActionObject.h"
#include "gui/reader/JsonDictionary.h"
#include "gui/reader/JsonHelper.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

namespace {
ActionManager* g_instance = nullptr;
}

ActionManager* ActionManager::instance() {
    if (!g_instance) g_instance = new ActionManager();
    return g_instance;
}

void ActionManager::destroyInstance() {
    ActionManager* manager = g_instance;
    g_instance = nullptr;
    if (manager) manager->release();
}

bool ActionManager::hasInstance() { return g_instance != nullptr; }

ActionManager::ActionManager() : m_actionsByDocument(CCDictionary::create()) {}

ActionManager::~ActionManager() {
    if (m_actionsByDocument) m_actionsByDocument->removeAllObjects();
}

std::string ActionManager::baseName(const char* fileName) {
    if (!fileName) return std::string();
    const char* slash = std::strrchr(fileName, '/');
    return slash ? std::string(slash + 1) : std::string(fileName);
}

void ActionManager::loadActions(const char* fileName, JsonDictionary* animation, CCObject* root) {
    JsonHelper* json = JsonHelper::instance();
    CCArray* timelines = CCArray::create();
    int count = json->getArrayCount(animation, "actionlist");
    for (int i = 0; i < count; ++i) {
        JsonDictionaryPtr data(json->getArrayDictionary(animation, "actionlist", i));
        ActionObject* timeline = new ActionObject();
        // A timeline without a name cannot be asked for; it is left out, and the author told
        // once a run, not at every visit to the page.
        if (data && timeline->loadFromDictionary(data.get(), root)) {
            timelines->addObject(timeline);
        } else if (firstTimeMet(fileName ? fileName : "",
                                "timeline " + std::to_string(i) + " has no name")) {
            CCLog("timeline %d of %s has no \"name\"; skipped", i, fileName ? fileName : "");
        }
        timeline->release();  // the list holds the kept ones
    }
    m_actionsByDocument->setObject(timelines, baseName(fileName));
}

CCArray* ActionManager::getActionList(const char* fileName) const {
    return dynamic_cast<CCArray*>(m_actionsByDocument->objectForKey(baseName(fileName)));
}

ActionObject* ActionManager::getActionObject(const char* fileName, const char* name) const {
    CCArray* timelines = getActionList(fileName);
    if (!timelines || !name) return nullptr;
    for (CCObject* object : *timelines) {
        ActionObject* timeline = static_cast<ActionObject*>(object);
        if (timeline->getName() == name) return timeline;
    }
    return nullptr;
}

}  // namespace pagly::gui
