#pragma once

#include "app/ReadingSession.h"
#include "engine/platform/CCApplication.h"

namespace pagly {

// The application: owns the learner's reading session; configures the director and the view
// when the engine has launched and shows the main page; stops and restarts drawing when the
// window is minimised and restored.
class AppDelegate : public engine::CCApplication {
  public:
    AppDelegate() = default;
    ~AppDelegate() override = default;
    bool applicationDidFinishLaunching() override;
    void applicationDidEnterBackground() override;
    void applicationWillEnterForeground() override;

    // Opens the session on the book at the resource root: its units and pages, and what the
    // learner's last run remembered (the page in this book and the speech speed).
    void startSession();
    ReadingSession& readingSession() { return m_session; }

  private:
    ReadingSession m_session;
};

}  // namespace pagly
