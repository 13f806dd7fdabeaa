#pragma once

#include <cstddef>
#include <vector>

#include "engine/base/CCObject.h"

namespace pagly::engine {

class CCAction;
class CCNode;

// Runs actions: one list per target node, stepped once per frame, paused while the target
// is not running, and removed when done. Holds a reference to each action, not to targets
// (a node stops its actions when it is destroyed).
class CCActionManager : public CCObject {
  public:
    CCActionManager() = default;
    ~CCActionManager() override;

    void addAction(CCAction* action, CCNode* target, bool paused);
    void removeAllActions();
    void removeAllActionsFromTarget(CCObject* target);
    void removeAction(CCAction* action);
    void removeActionByTag(int tag, CCObject* target);
    CCAction* getActionByTag(int tag, CCObject* target);
    unsigned int numberOfRunningActionsInTarget(CCObject* target);
    void pauseTarget(CCObject* target);
    void resumeTarget(CCObject* target);
    bool isTargetPaused(CCObject* target);
    // Total actions held, for tests and for deciding whether a frame needs drawing.
    unsigned int totalActionCount() const;
    unsigned int runningActionCount() const;

    void update(float dt);

  private:
    struct Entry {
        CCNode* target;
        std::vector<CCAction*> actions;
        bool paused;
    };
    Entry* findEntry(CCObject* target);
    void removeActionAt(Entry* entry, size_t index);

    std::vector<Entry*> m_entries;
};

}  // namespace pagly::engine
