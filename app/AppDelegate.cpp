// The application delegate and the session it owns (see AppDelegate.h).
#include "app/AppDelegate.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>

#include "app/BookImport.h"
#include "app/BookRefusal.h"
#include "app/CommandLine.h"
#include "app/ImportScreen.h"
#include "app/Navigator.h"
#include "app/TestController.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/director/CCDirector.h"
#include "engine/nodes/CCScene.h"
#include "engine/platform/CCEGLView.h"
#include "engine/platform/CCFileUtils.h"

using namespace pagly::engine;

namespace pagly {

ReadingSession* currentSession() {
    AppDelegate* app = dynamic_cast<AppDelegate*>(CCApplication::sharedApplication());
    return app ? &app->readingSession() : nullptr;
}

ReadingSession& session() {
    ReadingSession* s = currentSession();
    if (!s) {
        fputs("pagly: a screen of the reader was used without a running application\n", stderr);
        abort();
    }
    return *s;
}

void AppDelegate::startSession() {
    std::string folder = CCFileUtils::sharedFileUtils()->getResourceRoot();
    m_session.book = Book::forFolder(folder);
    m_session.resume.restore(resumeStatePath(), folder);
    audio::SimpleAudioEngine::sharedEngine()->setBackgroundMusicSpeed(m_session.resume.speed());
}

bool AppDelegate::applicationDidFinishLaunching() {
    CCDirector* director = CCDirector::sharedDirector();
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    director->setOpenGLView(view);
    view->setDesignResolutionSize(640, 960, kResolutionExactFit);
    director->setAnimationInterval(1.0 / 60);
    if (hasPendingImport() || hasRefusal()) {
        director->runWithScene(importScene());
        return true;
    }
    startSession();
    CCScene* scene = CCScene::create();
    TestController* mainPage = new TestController();
    mainPage->autorelease();
    scene->addChild(mainPage);
    director->runWithScene(scene);
    return true;
}

std::string AppDelegate::chooseBook(const std::string& path, const std::string& readerPath) {
    CCFileUtils* files = CCFileUtils::sharedFileUtils();
    m_pendingImport = PendingImport();
    m_refusal.clear();
    switch (bookKind(path)) {
        case BookKind::Folder:
            files->setResourceRoot(path, isInInstalledShareFolder(path, readerPath));
            return "";
        case BookKind::NotABook: {
            m_refusedPath = path;
            m_refusal = plainPathProblem(path);
            struct stat st;
            if (stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
                return path + " is not a book (a book folder, a .bloompub or an .epub)";
            return bookFolderProblem(path);
        }
        case BookKind::Foreign:
            break;
    }
    // Only a remembered book opens before the window; any other is read on the import screen.
    std::string folder = rememberedFolderFor(path);
    if (!folder.empty() && bookFolderProblem(folder).empty()) {
        files->setResourceRoot(folder);
        return "";
    }
    m_pendingImport.source = path;
    m_pendingImport.folder = folder;
    m_pendingImport.importer = findImporter(readerPath);
    m_pendingImport.locate = [path](std::string* problem, const std::atomic<bool>* stop) {
        return convertedFolderFor(path, problem, stop);
    };
    return "";
}

CCScene* AppDelegate::importScene() {
    CCScene* scene = CCScene::create();
    auto refused = [this] { m_bookRefused = true; };
    if (hasRefusal()) {
        scene->addChild(ImportScreen::failed(m_refusedPath, m_refusal, refused));
        return scene;
    }
    ImportScreen* screen = new ImportScreen(
        m_pendingImport, [this](const std::string& folder) { openConvertedBook(folder); }, refused);
    screen->autorelease();
    scene->addChild(screen);
    return scene;
}

void AppDelegate::openConvertedBook(const std::string& folder) {
    m_pendingImport = PendingImport();
    CCFileUtils::sharedFileUtils()->setResourceRoot(folder);
    startSession();
    navigator::showMainPage();
}

// Drawing stops while the window is minimised; a sentence that is playing goes on.
void AppDelegate::applicationDidEnterBackground() { CCDirector::sharedDirector()->stopAnimation(); }

void AppDelegate::applicationWillEnterForeground() {
    CCDirector::sharedDirector()->startAnimation();
}

}  // namespace pagly
