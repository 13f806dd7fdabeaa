// pagly: a talking textbook for the desktop.
#include <SDL.h>

#include <cstdio>
#include <string>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "app/AppDelegate.h"
#include "app/CommandLine.h"
#include "app/FrameSize.h"
#include "engine/platform/CCApplication.h"
#include "engine/platform/CCEGLView.h"
#include "engine/nodes/CCFontCache.h"
#include "engine/platform/CCFileUtils.h"

int main(int argc, char** argv) {
#if defined(__GLIBC__)
    // One heap for every thread. A helper thread's own arena keeps its freed top (up to the
    // adaptive trim threshold, megabytes after a picture has been decoded there) and the
    // director's heap trim cannot give that back. The reader's few threads seldom allocate
    // at once.
    mallopt(M_ARENA_MAX, 1);
#endif
    pagly::CommandLine line = pagly::parseCommandLine(argc, argv);
    if (line.action == pagly::CommandLine::Help) {
        fputs(pagly::usageText().c_str(), stdout);
        std::string executableFolder;
        if (char* base = SDL_GetBasePath()) {
            executableFolder = base;
            SDL_free(base);
        }
        std::string keys = pagly::keyTableFile(executableFolder);
        printf(
            "The keys: F1 or ? in the reader; every key is in the table \"Using the reader\"\n"
            "  of %s\n",
            keys.empty() ? "pagly's README.md" : keys.c_str());
        printf("The bundled book: %s\n",
               pagly::engine::CCFileUtils::sharedFileUtils()->getResourceRoot().c_str());
        return 0;
    }
    if (line.action == pagly::CommandLine::Version) {
        fputs(pagly::versionText().c_str(), stdout);
        return 0;
    }
    if (line.action == pagly::CommandLine::Error) {
        fprintf(stderr, "pagly: %s\n%s", line.error.c_str(), pagly::usageText().c_str());
        return 2;
    }
    pagly::AppDelegate app;
    if (!line.bookDir.empty()) {
        // A book that cannot be opened is said in the window too: whoever started the reader
        // from a file manager or a menu sees no terminal.
        std::string problem = app.chooseBook(line.bookDir, "/proc/self/exe");
        if (!problem.empty()) fprintf(stderr, "pagly: %s\n", problem.c_str());
    }

    // fontconfig reads its configuration while SDL connects to the display.
    pagly::engine::CCFontCache::prepareInBackground();
    pagly::engine::CCEGLView* view = pagly::engine::CCEGLView::sharedOpenGLView();
    view->setViewName("pagly");
    double desktopHeight = pagly::engine::CCApplication::usableDesktopHeight();
    pagly::engine::CCSize frame = pagly::frameSizeForDesktopHeight(desktopHeight);
    view->setFrameSize(frame.width, frame.height);
    int status = pagly::engine::CCApplication::sharedApplication()->run();
    return status != 0 ? status : app.exitStatus();
}
