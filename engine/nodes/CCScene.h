#pragma once

#include "engine/nodes/CCNode.h"

namespace pagly::engine {

// The root of what the director shows: a node the size of the design resolution.
class CCScene : public CCNode {
  public:
    CCScene();
    static CCScene* create();
    bool init() override;
    // Transitions answer true; the director then leaves the scenes' callbacks to them.
    virtual bool isTransitionScene() const { return false; }
    // A finished transition names the incoming scene it hands to the director; that scene
    // has entered already and must not be entered again.
    virtual CCScene* handedOverScene() const { return nullptr; }
};

}  // namespace pagly::engine
