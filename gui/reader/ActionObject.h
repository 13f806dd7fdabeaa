#pragma once

#include <string>

#include "engine/base/CCObject.h"
#include "engine/base/RefPtr.h"
#include "gui/GuiNamespace.h"

namespace pagly::engine {
class CCArray;

}  // namespace pagly::engine

namespace pagly::gui {

class ActionNode;
class JsonDictionary;

// One named timeline of a document: its animated nodes, whether it loops and the seconds
// per frame step it shares with them.
class ActionObject : public CCObject {
  public:
    ActionObject();
    ~ActionObject() override;

    // Reads "name", "loop", "unittime" and the nodes of "actionnodelist", binding each node
    // to root's tree. False (and nothing kept) for a timeline whose "name" is no string.
    bool loadFromDictionary(JsonDictionary* timeline, CCObject* root);

    const std::string& getName() const { return m_name; }
    void setName(const std::string& name) { m_name = name; }
    bool getLoop() const { return m_loop; }
    void setLoop(bool loop) { m_loop = loop; }
    float getUnitTime() const { return m_unitTime; }
    // Also gives the value to every node, which then prepares its action again.
    void setUnitTime(float unitTime);
    CCArray* getNodes() const { return m_nodes.get(); }
    void addNode(ActionNode* node);

    // Plays every node (looping when the timeline says so) / stops them.
    void play();
    void stop();
    // Poses every node at `time` seconds.
    void updateToTime(float time);

  private:
    RefPtr<CCArray> m_nodes;
    std::string m_name;
    bool m_loop = false;
    float m_unitTime = 0.1f;
};

}  // namespace pagly::gui
