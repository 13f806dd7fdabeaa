#pragma once

#include <map>
#include <string>

#include "engine/base/CCGeometry.h"

union SDL_Event;
struct SDL_Window;

namespace pagly::engine {

class CCTouch;
class SDLRenderer;
class DamageRenderer;

enum ResolutionPolicy {
    // The design area is stretched to the frame in x and y independently: no border, no crop.
    kResolutionExactFit = 0,
    kResolutionNoBorder,
    kResolutionShowAll,
    kResolutionUnKnown,
};

// The view: the window (or an offscreen surface) the director draws into, and the source of
// input. It maps the design resolution onto the frame in the design's own shape and turns
// SDL mouse, finger, keyboard, text and window events into touches (design coordinates,
// origin bottom-left), key presses, input-method text and application callbacks.
class CCEGLView {
  public:
    static CCEGLView* sharedOpenGLView();

    void setViewName(const char* name);
    const std::string& getViewName() const { return m_name; }
    // The window's size in screen pixels (rounded to whole pixels when the window opens). An
    // open offscreen view gets a new surface of that size.
    void setFrameSize(float width, float height);
    CCSize getFrameSize() const { return m_frameSize; }
    // The design's width-to-height ratio: every frame shows the design in this shape, as large
    // as it fits, with bars filling the rest (a drawing is never stretched out of shape).
    float designAspect() const;
    // Also sets the director's design size. Only the exact-fit policy exists here; other
    // policies are logged and treated as exact fit (which, with the kept shape above, fills
    // the frame whenever the frame has the design's shape).
    void setDesignResolutionSize(float width, float height, ResolutionPolicy policy);
    CCSize getDesignResolutionSize() const { return m_designSize; }
    ResolutionPolicy getResolutionPolicy() const { return m_policy; }
    // Under exact fit the whole design area is visible.
    CCPoint getVisibleOrigin() const { return CCPointZero; }
    CCSize getVisibleSize() const { return m_designSize; }

    // Opens a resizable window of the frame size titled with the view name, with an SDL
    // renderer, and gives the renderer to the director. False (logged) when SDL cannot.
    bool openWindow();
    // Renders in software into memory instead (frame-size pixels): tests and screenshots.
    bool openOffscreen();
    bool isOpen() const { return m_renderer != nullptr; }
    bool isOffscreen() const { return m_offscreen; }
    SDL_Window* getWindow() const { return m_window; }
    SDLRenderer* getRenderer() const { return m_renderer; }
    // Closes the window or surface and takes the renderer back from the director.
    void close();
    // Switches the window between full screen (the desktop's size) and its frame size; the
    // page grows with it and keeps its shape. False when there is no window (offscreen).
    bool toggleFullScreen();
    bool isFullScreen() const;

    // Handles one SDL event. Returns false once the window has been asked to close.
    bool handleEvent(const SDL_Event& event);
    bool shouldClose() const { return m_closeRequested; }
    void end() { m_closeRequested = true; }
    // Is the window minimised (the application is in the background)?
    bool isMinimized() const { return m_minimized; }

    // A window position (SDL window coordinates, y down) as a design point (y up).
    CCPoint windowToDesign(float x, float y) const;
    // The same for any window size and kept ratio (0: the design fills the window).
    static CCPoint windowPointToDesign(float x, float y, const CCSize& window, float aspect,
                                       const CCSize& design);

    // Saves the last frame drawn as PNG (pixels: getRenderer()->readPixel).
    bool saveFrame(const std::string& path) const;

  private:
    CCEGLView();
    ~CCEGLView();
    void touchEvent(int phase, long long id, const CCPoint& designPoint);
    void keyDown(int sdlKey, int modifiers, bool repeat);
    void windowEvent(int event);
    void cancelAllTouches();
    CCSize windowSize() const;

    void redrawWhole();
    std::string m_name = "pagly";
    CCSize m_frameSize = CCSize(640, 960);
    CCSize m_designSize = CCSize(640, 960);
    ResolutionPolicy m_policy = kResolutionExactFit;
    SDL_Window* m_window = nullptr;
    SDLRenderer* m_renderer = nullptr;
    // A software window draws through this (only what changed); null otherwise.
    DamageRenderer* m_damage = nullptr;
    bool m_offscreen = false;
    bool m_closeRequested = false;
    bool m_minimized = false;
    bool m_mouseDown = false;
    std::map<long long, CCTouch*> m_touches;  // owned: live touches by SDL finger id
};

}  // namespace pagly::engine
