// The application delegate and the session it owns (see AppDelegate.h).
#include "app/AppDelegate.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "app/BookImport.h"
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
    if (!m_pendingImport.source.empty()) {
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
    switch (bookKind(path)) {
        case BookKind::Folder:
            files->setResourceRoot(path);
            return "";
        case BookKind::NotABook: {
            struct stat st;
            if (stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
                return path + " is not a book (a book folder, a .bloompub or an .epub)";
            return bookFolderProblem(path);
        }
        case BookKind::Foreign:
            break;
    }
    std::string problem;
    std::string folder = convertedFolderFor(path, &problem);
    if (folder.empty()) return problem;
    // The importer renames its folder into place only when it has finished it.
    if (bookFolderProblem(folder).empty()) {
        files->setResourceRoot(folder);
        return "";
    }
    m_pendingImport.source = path;
    m_pendingImport.folder = folder;
    m_pendingImport.importer = findImporter(readerPath);
    return "";
}

CCScene* AppDelegate::importScene() {
    std::string name = m_pendingImport.source;
    while (name.size() > 1 && name.back() == '/') name.pop_back();
    name = name.substr(name.find_last_of('/') + 1);
    CCScene* scene = CCScene::create();
    auto run = std::make_unique<ImportRun>();
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(m_pendingImport.folder).parent_path(),
                                        ec);
    if (ec) {
        scene->addChild(ImportScreen::failed(
            name, "cannot make the folder for converted books: " + ec.message()));
        return scene;
    }
    if (!run->start(m_pendingImport.importer, m_pendingImport.source, m_pendingImport.folder)) {
        scene->addChild(ImportScreen::failed(name, run->failure()));
        return scene;
    }
    ImportScreen* screen =
        new ImportScreen(std::move(run), name, m_pendingImport.folder,
                         [this](const std::string& folder) { openConvertedBook(folder); });
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
