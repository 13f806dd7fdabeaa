#pragma once

#include "engine/platform/CCApplication.h"

namespace pagly {

// The application: configures the director and the view when the engine has launched and
// shows the main page; stops and restarts drawing when the window is minimised and restored.
class AppDelegate : public engine::CCApplication {
  public:
    AppDelegate() = default;
    ~AppDelegate() override = default;
    bool applicationDidFinishLaunching() override;
    void applicationDidEnterBackground() override;
    void applicationWillEnterForeground() override;
};

}  // namespace pagly
