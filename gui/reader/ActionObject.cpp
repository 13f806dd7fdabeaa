#include "gui/reader/ActionObject.h"

#include <cmath>

#include "engine/base/CCArray.h"
#include "gui/reader/ActionNode.h"
#include "gui/reader/JsonDictionary.h"
#include "gui/reader/JsonHelper.h"
#include "gui/reader/ReaderValues.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

ActionObject::ActionObject() : m_nodes(CCArray::create()) {}

ActionObject::~ActionObject() = default;

bool ActionObject::loadFromDictionary(JsonDictionary* timeline, CCObject* root) {
    JsonHelper* json = JsonHelper::instance();
    const char* name = json->getString(timeline, "name");
    if (!name) return false;
    m_name = name;
    m_loop = json->getBool(timeline, "loop");
    // A negative or unreadable step has no meaning on a timeline; it counts as absent.
    float unitTime = finiteFloat(json->getFloat(timeline, "unittime"), 0.0f);
    setUnitTime(unitTime > 0 ? unitTime : 0.0f);
    int count = json->getArrayCount(timeline, "actionnodelist");
    for (int i = 0; i < count; ++i) {
        JsonDictionaryPtr data(json->getArrayDictionary(timeline, "actionnodelist", i));
        if (!data) continue;
        ActionNode* node = new ActionNode();
        node->loadFromDictionary(data.get(), root);
        node->setUnitTime(m_unitTime);
        node->rebuildAction();
        addNode(node);
        node->release();  // the node list holds it now
    }
    return true;
}

void ActionObject::setUnitTime(float unitTime) {
    m_unitTime = unitTime;
    for (CCObject* object : *m_nodes) {
        ActionNode* node = static_cast<ActionNode*>(object);
        node->setUnitTime(unitTime);
        node->rebuildAction();
    }
}

void ActionObject::addNode(ActionNode* node) {
    if (node) m_nodes->addObject(node);
}

void ActionObject::play() {
    for (CCObject* object : *m_nodes) static_cast<ActionNode*>(object)->play(m_loop);
}

void ActionObject::stop() {
    for (CCObject* object : *m_nodes) static_cast<ActionNode*>(object)->stop();
}

void ActionObject::updateToTime(float time) {
    for (CCObject* object : *m_nodes) static_cast<ActionNode*>(object)->updateToTime(time);
}

}  // namespace pagly::gui
