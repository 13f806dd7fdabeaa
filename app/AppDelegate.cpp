// The application delegate and the session it owns (see AppDelegate.h).
#include "app/AppDelegate.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

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

CCScene* AppDelegate::importScene() {
    std::string name = m_pendingImport.source;
    while (name.size() > 1 && name.back() == '/') name.pop_back();
    name = name.substr(name.find_last_of('/') + 1);
    CCScene* scene = CCScene::create();
    auto run = std::make_unique<ImportRun>();
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
