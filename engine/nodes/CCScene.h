#pragma once

#include "engine/nodes/CCNode.h"

namespace cocos2d {

// The root of what the director shows: a node the size of the design resolution.
class CCScene : public CCNode {
public:
    CCScene();
    static CCScene* create();
    bool init() override;
    // Transitions answer true; the director then leaves the scenes' callbacks to them.
    virtual bool isTransitionScene() const { return false; }
};

}  // namespace cocos2d
