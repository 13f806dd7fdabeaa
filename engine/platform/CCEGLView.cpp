#include "engine/platform/CCEGLView.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "engine/base/CCRedraw.h"
#include "engine/base/CCSet.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCIMEDispatcher.h"
#include "engine/director/CCKeypadDispatcher.h"
#include "engine/director/CCTouch.h"
#include "engine/director/CCTouchDispatcher.h"
#include "engine/platform/CCApplication.h"
#include "engine/render/DamageRenderer.h"
#include "engine/render/RendererChoice.h"
#include "engine/render/SDLRenderer.h"

namespace pagly::engine {

namespace {
const long long kMouseTouchId = -1;  // fingers use their SDL ids, the mouse this one

int roundedPixels(float v) {
    if (!std::isfinite(v) || v < 1) return 1;
    return v > 16384 ? 16384 : (int)std::lround(v);
}
}  // namespace

CCEGLView* CCEGLView::sharedOpenGLView() {
    static CCEGLView* view = new CCEGLView();  // lives for the process
    return view;
}

CCEGLView::CCEGLView() = default;

CCEGLView::~CCEGLView() { close(); }

void CCEGLView::setViewName(const char* name) {
    m_name = name ? name : "";
    if (m_window) SDL_SetWindowTitle(m_window, m_name.c_str());
}

void CCEGLView::setFrameSize(float width, float height) {
    if (!(width > 0) || !(height > 0) || !std::isfinite(width) || !std::isfinite(height)) {
        CCLog("CCEGLView: ignoring frame size %g x %g", width, height);
        return;
    }
    m_frameSize = CCSize(width, height);
    if (m_window) SDL_SetWindowSize(m_window, roundedPixels(width), roundedPixels(height));
    // An offscreen frame of another size is a new surface (a window resized in a test).
    if (m_renderer && m_offscreen) openOffscreen();
    ccRequestRedraw();
}

void CCEGLView::setDesignResolutionSize(float width, float height, ResolutionPolicy policy) {
    if (!(width > 0) || !(height > 0) || !std::isfinite(width) || !std::isfinite(height)) {
        CCLog("CCEGLView: ignoring design resolution %g x %g", width, height);
        return;
    }
    if (policy != kResolutionExactFit)
        CCLog("CCEGLView: resolution policy %d is not supported; using exact fit", (int)policy);
    m_policy = kResolutionExactFit;
    m_designSize = CCSize(width, height);
    CCDirector::sharedDirector()->setWinSize(m_designSize);
    if (m_renderer) m_renderer->setScreenAspect(designAspect());
    if (m_damage) {
        m_damage->setDesignSize(m_designSize);
    } else if (m_renderer) {
        m_renderer->setDesignSize(m_designSize);
    }
    ccRequestRedraw();
}

bool CCEGLView::openWindow() {
    if (m_renderer) return true;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        CCLog("CCEGLView: cannot start SDL video: %s", SDL_GetError());
        return false;
    }
    // With no display SDL quietly falls back to a video driver that shows nothing; a reader
    // running where nobody can see it is a failure, unless that driver was asked for.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* requested = SDL_getenv("SDL_VIDEODRIVER");
    if (driver && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0) &&
        !(requested && SDL_strcasecmp(requested, driver) == 0)) {
        CCLog("CCEGLView: no display to open a window on (SDL chose the \"%s\" video driver)",
              driver);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    m_window = SDL_CreateWindow(m_name.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                roundedPixels(m_frameSize.width), roundedPixels(m_frameSize.height),
                                SDL_WINDOW_RESIZABLE | RendererChoice::windowFlags());
    if (!m_window) {
        CCLog("CCEGLView: cannot open a window: %s", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    bool software = false;
    SDL_Renderer* r = RendererChoice::create(m_window, software);
    if (!r) {
        CCLog("CCEGLView: cannot create a renderer: %s", SDL_GetError());
        SDL_DestroyWindow(m_window);
        m_window = nullptr;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    m_renderer = new SDLRenderer(r, true);
    m_renderer->setLinearFiltering(true);
    // Any window size or full screen shows the page in its own shape, bars beside it.
    m_renderer->setScreenAspect(designAspect());
    m_renderer->setDesignSize(m_designSize);
    if (software && m_renderer->keepsPixels()) m_damage = new DamageRenderer(m_renderer);
    m_offscreen = false;
    m_closeRequested = false;
    CCDirector::sharedDirector()->setOpenGLView(this);
    if (m_damage) {
        CCDirector::sharedDirector()->setRenderer(m_damage);
    } else {
        CCDirector::sharedDirector()->setRenderer(m_renderer);
    }
    ccRequestRedraw();
    return true;
}

bool CCEGLView::openOffscreen() {
    if (m_renderer) close();
    m_renderer = SDLRenderer::createOffscreen(roundedPixels(m_frameSize.width),
                                              roundedPixels(m_frameSize.height));
    if (!m_renderer) return false;
    m_renderer->setScreenAspect(designAspect());
    m_renderer->setDesignSize(m_designSize);
    m_offscreen = true;
    m_closeRequested = false;
    CCDirector::sharedDirector()->setOpenGLView(this);
    CCDirector::sharedDirector()->setRenderer(m_renderer);
    ccRequestRedraw();
    return true;
}

void CCEGLView::close() {
    cancelAllTouches();
    if (CCDirector* director = CCDirector::sharedDirectorIfAlive()) {
        if (director->getRenderer() == m_renderer || director->getRenderer() == m_damage)
            director->setRenderer(nullptr);
    }
    delete m_damage;
    m_damage = nullptr;
    delete m_renderer;  // before the window: its textures go with it
    m_renderer = nullptr;
    if (m_window) {
        SDL_DestroyWindow(m_window);
        m_window = nullptr;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    m_offscreen = false;
    m_minimized = false;
}

CCSize CCEGLView::windowSize() const {
    if (m_window) {
        int w = 0, h = 0;
        SDL_GetWindowSize(m_window, &w, &h);
        if (w > 0 && h > 0) return CCSize((float)w, (float)h);
    }
    return CCSize((float)roundedPixels(m_frameSize.width),
                  (float)roundedPixels(m_frameSize.height));
}

float CCEGLView::designAspect() const { return m_designSize.width / m_designSize.height; }

CCPoint CCEGLView::windowPointToDesign(float x, float y, const CCSize& window, float aspect,
                                       const CCSize& design) {
    // Where the renderer shows the design area (the same rule, in window units).
    const PixelRect shown = fitAspect((int)window.width, (int)window.height, aspect);
    if (shown.w <= 0 || shown.h <= 0) return CCPoint(-1, -1);
    return CCPoint((x - shown.x) * design.width / (float)shown.w,
                   design.height - (y - shown.y) * design.height / (float)shown.h);
}

CCPoint CCEGLView::windowToDesign(float x, float y) const {
    return windowPointToDesign(x, y, windowSize(), designAspect(), m_designSize);
}

void CCEGLView::touchEvent(int phase, long long id, const CCPoint& p) {
    CCTouchDispatcher* dispatcher = CCDirector::sharedDirector()->getTouchDispatcher();
    CCTouch* touch = nullptr;
    auto it = m_touches.find(id);
    if (phase == CCTouchDispatcher::Began) {
        // Transitions switch input off: a press then is dropped along with its later events.
        if (!dispatcher->isDispatchEvents()) return;
        if (it != m_touches.end()) {  // a press without its release: end the old one first
            touchEvent(CCTouchDispatcher::Cancelled, id, p);
        }
        touch = new CCTouch();
        m_touches[id] = touch;
    } else {
        if (it == m_touches.end()) return;
        touch = it->second;
    }
    // Touch ids as the delegates see them: small numbers, the mouse 0.
    // (Masked to 30 bits so the + 1 cannot overflow an int.)
    int visibleId = id == kMouseTouchId ? 0 : (int)(id & 0x3fffffff) + 1;
    touch->setTouchInfo(visibleId, p.x, p.y);
    CCSet* set = new CCSet();
    set->addObject(touch);
    dispatcher->touches(set, nullptr, (CCTouchDispatcher::TouchPhase)phase);
    set->release();
    if (phase == CCTouchDispatcher::Ended || phase == CCTouchDispatcher::Cancelled) {
        m_touches.erase(id);
        touch->release();
    }
}

void CCEGLView::cancelAllTouches() {
    while (!m_touches.empty()) {
        auto it = m_touches.begin();
        touchEvent(CCTouchDispatcher::Cancelled, it->first, it->second->getLocation());
    }
    m_mouseDown = false;
}

void CCEGLView::keyDown(int key, int modifiers, bool repeat) {
    CCIMEDispatcher* ime = CCIMEDispatcher::sharedDispatcher();
    bool typing = ime->isAnyDelegateAttachedWithIME();
    if (key == SDLK_BACKSPACE) {
        // Held Backspace keeps deleting.
        if (typing) {
            ime->dispatchDeleteBackward();
        } else if (!repeat) {
            CCDirector::sharedDirector()->getKeypadDispatcher()->dispatchKey(kKeyBackspace);
        }
        return;
    }
    if (repeat) return;
    if (key == SDLK_F11) {
        toggleFullScreen();
        return;
    }
    int code = kKeyUnknown;
    bool letter = false;  // typed as text while an input field has the keyboard
    switch (key) {
        case SDLK_LEFT:
            code = kKeyLeft;
            break;
        case SDLK_RIGHT:
            code = kKeyRight;
            break;
        case SDLK_UP:
            code = kKeyArrowUp;
            break;
        case SDLK_DOWN:
            code = kKeyArrowDown;
            break;
        case SDLK_s:
            code = kKeyS;
            letter = true;
            break;
        case SDLK_r:
            code = kKeyR;
            letter = true;
            break;
        case SDLK_e:
            code = (modifiers & KMOD_SHIFT) ? kKeyShiftE : kKeyE;
            letter = true;
            break;
        case SDLK_m:
            code = kKeyM;
            letter = true;
            break;
        case SDLK_b:
            code = kKeyB;
            letter = true;
            break;
        case SDLK_y:
            code = kKeyY;
            letter = true;
            break;
        case SDLK_F1:
            code = kKeyHelp;
            break;
        case SDLK_QUESTION:
            code = kKeyHelp;
            letter = true;
            break;
        case SDLK_SLASH:
            // '?' is Shift and '/' on most layouts.
            if (!(modifiers & KMOD_SHIFT)) return;
            code = kKeyHelp;
            letter = true;
            break;
        case SDLK_SPACE:
            code = kKeySpace;
            break;
        case SDLK_ESCAPE:
            code = kKeyEscape;
            break;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            code = kKeyEnter;
            break;
        case SDLK_DELETE:
            code = kKeyDelete;
            break;
        case SDLK_TAB:
        case SDLK_MENU:
        case SDLK_APPLICATION:
            code = kKeyMenu;
            break;
        case SDLK_MINUS:
        case SDLK_KP_MINUS:
            code = kKeyMinus;
            break;
        case SDLK_PLUS:
        case SDLK_EQUALS:
        case SDLK_KP_PLUS:
            code = kKeyPlus;
            break;
        default:
            return;
    }
    if (typing) {
        // While text is being typed, Space, letters, - and + arrive as text; Enter ends the entry.
        if (code == kKeySpace || code == kKeyMinus || code == kKeyPlus || letter) return;
        if (code == kKeyEnter) {
            ime->dispatchInsertText("\n", 1);
            return;
        }
    }
    CCDirector::sharedDirector()->getKeypadDispatcher()->dispatchKey(code);
}

bool CCEGLView::isFullScreen() const {
    return m_window && (SDL_GetWindowFlags(m_window) & SDL_WINDOW_FULLSCREEN) != 0;
}

bool CCEGLView::toggleFullScreen() {
    if (!m_window) return false;
    Uint32 mode = isFullScreen() ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP;
    if (SDL_SetWindowFullscreen(m_window, mode) != 0) {
        CCLog("CCEGLView: could not switch full screen: %s", SDL_GetError());
        return false;
    }
    // Touches in flight were measured against the old size, and every pixel moved.
    cancelAllTouches();
    redrawWhole();
    return true;
}

void CCEGLView::redrawWhole() {
    // The window's pixels may be gone: the next frame draws all of them, not what changed.
    if (m_damage) m_damage->invalidate();
    ccRequestRedraw();
}

void CCEGLView::windowEvent(int event) {
    switch (event) {
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_RESIZED:
            redrawWhole();
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            if (!m_minimized) {
                m_minimized = true;
                cancelAllTouches();
                if (CCApplication* app = CCApplication::sharedApplication())
                    app->applicationDidEnterBackground();
            }
            break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
        case SDL_WINDOWEVENT_SHOWN:
            if (m_minimized) {
                m_minimized = false;
                if (CCApplication* app = CCApplication::sharedApplication())
                    app->applicationWillEnterForeground();
            }
            redrawWhole();
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            // The release of a drag may now go to another window and never reach us.
            cancelAllTouches();
            break;
        case SDL_WINDOWEVENT_CLOSE:
            m_closeRequested = true;
            break;
        default:
            break;
    }
}

bool CCEGLView::handleEvent(const SDL_Event& e) {
    switch (e.type) {
        case SDL_QUIT:
            m_closeRequested = true;
            break;
        case SDL_WINDOWEVENT:
            windowEvent(e.window.event);
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.which == SDL_TOUCH_MOUSEID || e.button.button != SDL_BUTTON_LEFT) break;
            m_mouseDown = true;
            touchEvent(CCTouchDispatcher::Began, kMouseTouchId,
                       windowToDesign((float)e.button.x, (float)e.button.y));
            break;
        case SDL_MOUSEMOTION:
            if (e.motion.which == SDL_TOUCH_MOUSEID || !m_mouseDown) break;
            touchEvent(CCTouchDispatcher::Moved, kMouseTouchId,
                       windowToDesign((float)e.motion.x, (float)e.motion.y));
            break;
        case SDL_MOUSEBUTTONUP:
            if (e.button.which == SDL_TOUCH_MOUSEID || e.button.button != SDL_BUTTON_LEFT) break;
            m_mouseDown = false;
            touchEvent(CCTouchDispatcher::Ended, kMouseTouchId,
                       windowToDesign((float)e.button.x, (float)e.button.y));
            break;
        case SDL_FINGERDOWN:
        case SDL_FINGERMOTION:
        case SDL_FINGERUP: {
            // Finger positions are fractions of the window.
            CCSize win = windowSize();
            CCPoint p = windowToDesign(e.tfinger.x * win.width, e.tfinger.y * win.height);
            int phase = e.type == SDL_FINGERDOWN ? CCTouchDispatcher::Began
                        : e.type == SDL_FINGERUP ? CCTouchDispatcher::Ended
                                                 : CCTouchDispatcher::Moved;
            touchEvent(phase, (long long)e.tfinger.fingerId, p);
            break;
        }
        case SDL_KEYDOWN:
            keyDown(e.key.keysym.sym, e.key.keysym.mod, e.key.repeat != 0);
            break;
        case SDL_MOUSEWHEEL: {
            // A notch of the wheel scrolls as a press of Up or Down does; a burst of notches
            // from a fast spin is capped so that one flick cannot queue up pages of scrolling.
            int notches = e.wheel.y;
            if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
            int code = notches > 0 ? kKeyUp : kKeyDown;
            int count = std::min(notches < 0 ? -notches : notches, 5);
            CCKeypadDispatcher* keys = CCDirector::sharedDirector()->getKeypadDispatcher();
            for (int i = 0; i < count; ++i) keys->dispatchKey(code);
            break;
        }
        case SDL_TEXTINPUT: {
            int len = (int)SDL_strlen(e.text.text);
            if (len > 0) CCIMEDispatcher::sharedDispatcher()->dispatchInsertText(e.text.text, len);
            break;
        }
        case SDL_RENDER_TARGETS_RESET:
        case SDL_RENDER_DEVICE_RESET:
            redrawWhole();
            break;
        default:
            break;
    }
    return !m_closeRequested;
}

bool CCEGLView::saveFrame(const std::string& path) const {
    if (!m_renderer) {
        CCLog("CCEGLView: no frame to save (the view is not open)");
        return false;
    }
    return m_renderer->savePNG(path);
}

}  // namespace pagly::engine
