#pragma once

namespace pagly::engine {

// The application object: the program derives its delegate from it, and run() drives the
// engine loop. The loop steps the director every animation interval with dt measured on the
// real clock, draws only frames in which something changed, and sleeps in between: until
// the next tick while something moves, until the next scheduled callback or input when
// nothing does, so a still screen costs next to nothing.
class CCApplication {
  public:
    CCApplication();
    virtual ~CCApplication();
    // The one application (the most recently constructed).
    static CCApplication* sharedApplication();

    virtual bool applicationDidFinishLaunching() = 0;
    virtual void applicationDidEnterBackground() = 0;
    virtual void applicationWillEnterForeground() = 0;

    // Opens the shared view's window (unless it is already open), calls
    // applicationDidFinishLaunching and loops until the window is closed. Returns the exit
    // code: 0 on a normal close, 1 when no window could be opened.
    int run();
    // Ends the loop after the current frame.
    void quit();
    bool isQuitting() const { return m_quit; }

    // The height of the desktop area a maximised window can use (the frame-size rule's H).
    // Falls back to 1000 (logged) when SDL cannot tell.
    static double usableDesktopHeight();

  private:
    int loop();
    bool m_quit = false;
};

}  // namespace pagly::engine
