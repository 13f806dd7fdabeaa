#include "engine/platform/CCApplication.h"

#include <SDL.h>

#include "engine/director/CCDirector.h"
#include "engine/platform/CCEGLView.h"

namespace pagly::engine {

namespace {
CCApplication* s_application = nullptr;
// usableDesktopHeight starts SDL's video system and keeps it for the window: starting it a
// second time costs start-up time (on X11 it reconnects to the display).
bool s_videoHeld = false;

void letGoOfVideo() {
    if (!s_videoHeld) return;
    s_videoHeld = false;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
}  // namespace

CCApplication::CCApplication() { s_application = this; }

CCApplication::~CCApplication() {
    if (s_application == this) s_application = nullptr;
}

CCApplication* CCApplication::sharedApplication() { return s_application; }

void CCApplication::quit() { m_quit = true; }

double CCApplication::usableDesktopHeight() {
    double height = 0;
    if (s_videoHeld || SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
        s_videoHeld = true;
        SDL_Rect r;
        if (SDL_GetDisplayUsableBounds(0, &r) == 0 && r.h > 0) height = r.h;
    }
    if (height <= 0) {
        CCLog("CCApplication: cannot read the desktop size (%s); assuming a height of 1000",
              SDL_GetError());
        height = 1000;
    }
    return height;
}

int CCApplication::run() {
    int result = loop();
    letGoOfVideo();
    return result;
}

int CCApplication::loop() {
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    if (!view->isOpen() && !view->openWindow()) return 1;
    CCDirector* director = CCDirector::sharedDirector();
    if (!applicationDidFinishLaunching()) {
        view->close();
        return 0;
    }

    const Uint64 frequency = SDL_GetPerformanceFrequency();
    const Uint64 never = ~(Uint64)0;
    Uint64 last = SDL_GetPerformanceCounter();
    Uint64 nextTick = last;
    auto secondsSince = [&](Uint64 then, Uint64 now) {
        return (float)((double)(now - then) / (double)frequency);
    };
    m_quit = false;
    while (!m_quit && !view->shouldClose()) {
        Uint64 interval = (Uint64)(director->getAnimationInterval() * (double)frequency);
        if (interval == 0) interval = 1;
        Uint64 now = SDL_GetPerformanceCounter();
        if (now < nextTick) {
            // Sleep until the next tick unless input arrives first; with nothing scheduled,
            // moving or to draw, until input arrives.
            SDL_Event event;
            bool got;
            if (nextTick == never) {
                got = SDL_WaitEvent(&event) != 0;
            } else {
                int waitMs = (int)(((nextTick - now) * 1000 + frequency - 1) / frequency);
                got = SDL_WaitEventTimeout(&event, waitMs) != 0;
            }
            if (!got) continue;
            now = SDL_GetPerformanceCounter();
            bool idle = nextTick == never || nextTick - last > interval + interval / 2;
            if (idle) {
                // Bring the clock up to now first, so that what the input schedules or
                // starts counts its time from now, not from the last frame seconds ago.
                director->mainLoop(secondsSince(last, now));
                last = now;
            }
            view->handleEvent(event);
            while (SDL_PollEvent(&event)) view->handleEvent(event);
            // Answer input that changed the screen in this very frame, not at the next tick.
            if (idle || director->needsFrameNow()) nextTick = now;
            continue;
        }
        SDL_Event event;
        while (SDL_PollEvent(&event)) view->handleEvent(event);
        if (view->shouldClose()) break;
        float dt = secondsSince(last, now);
        last = now;
        director->mainLoop(dt);
        double wait = director->secondsUntilWork();
        if (wait < 0) {
            nextTick = never;
        } else if (wait * (double)frequency > (double)interval) {
            nextTick = now + (Uint64)(wait * (double)frequency);
        } else {
            nextTick += interval;
            // After a stall (a long load, a dragged window) start afresh rather than racing.
            if (nextTick <= now) nextTick = now + interval;
        }
    }
    director->reset();
    view->close();
    return 0;
}

}  // namespace pagly::engine
