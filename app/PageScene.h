#pragma once

#include "engine/nodes/CCScene.h"

namespace pagly {

// The scene of a page (or of the settings overlay). When it exits it releases the widget
// toolkit's process-wide objects; the next page creates them afresh.
class PageScene : public engine::CCScene {
  public:
    void onExit() override;
};

}  // namespace pagly
