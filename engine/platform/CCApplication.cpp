#include "engine/platform/CCApplication.h"

#include <SDL.h>

#include "engine/director/CCDirector.h"
#include "engine/platform/CCEGLView.h"

namespace pagly::engine {

namespace {
CCApplication* s_application = nullptr;
}

CCApplication::CCApplication() { s_application = this; }

CCApplication::~CCApplication() {
    if (s_application == this) s_application = nullptr;
}

CCApplication* CCApplication::sharedApplication() { return s_application; }

void CCApplication::quit() { m_quit = true; }

double CCApplication::usableDesktopHeight() {
    double height = 0;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
        SDL_Rect r;
        if (SDL_GetDisplayUsableBounds(0, &r) == 0 && r.h > 0) height = r.h;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    if (height <= 0) {
        CCLog("CCApplication: cannot read the desktop size (%s); assuming a height of 1000",
              SDL_GetError());
        height = 1000;
    }
    return height;
}

int CCApplication::run() {
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    if (!view->isOpen() && !view->openWindow()) return 1;
    CCDirector* director = CCDirector::sharedDirector();
    if (!applicationDidFinishLaunching()) {
        view->close();
        return 0;
    }

    const Uint64 frequency = SDL_GetPerformanceFrequency();
    Uint64 last = SDL_GetPerformanceCounter();
    Uint64 nextTick = last;
    m_quit = false;
    while (!m_quit && !view->shouldClose()) {
        Uint64 interval = (Uint64)(director->getAnimationInterval() * (double)frequency);
        if (interval == 0) interval = 1;
        Uint64 now = SDL_GetPerformanceCounter();
        // Sleep until the next tick unless input arrives first.
        if (now < nextTick) {
            int waitMs = (int)(((nextTick - now) * 1000 + frequency - 1) / frequency);
            SDL_Event event;
            if (SDL_WaitEventTimeout(&event, waitMs)) {
                view->handleEvent(event);
                while (SDL_PollEvent(&event)) view->handleEvent(event);
            }
            continue;
        }
        SDL_Event event;
        while (SDL_PollEvent(&event)) view->handleEvent(event);
        if (view->shouldClose()) break;
        float dt = (float)((double)(now - last) / (double)frequency);
        last = now;
        director->mainLoop(dt);
        nextTick += interval;
        // After a stall (a long load, a dragged window) start afresh rather than racing.
        if (nextTick <= now) nextTick = now + interval;
    }
    director->reset();
    view->close();
    return 0;
}

}  // namespace pagly::engine
