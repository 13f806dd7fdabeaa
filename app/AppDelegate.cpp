#include "app/AppDelegate.h"

#include "app/ResumeState.h"
#include "app/TestController.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/director/CCDirector.h"
#include "engine/nodes/CCScene.h"
#include "engine/platform/CCEGLView.h"

using namespace pagly::engine;

namespace pagly {

bool AppDelegate::applicationDidFinishLaunching() {
    CCDirector* director = CCDirector::sharedDirector();
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    director->setOpenGLView(view);
    view->setDesignResolutionSize(640, 960, kResolutionExactFit);
    director->setAnimationInterval(1.0 / 60);
    // Where the learner stopped last time, in which reading mode and at which speed.
    restoreResumeState();
    audio::SimpleAudioEngine::sharedEngine()->setBackgroundMusicSpeed(rememberedSpeechSpeed());
    CCScene* scene = CCScene::create();
    TestController* mainPage = new TestController();
    mainPage->autorelease();
    scene->addChild(mainPage);
    director->runWithScene(scene);
    return true;
}

// Drawing stops while the window is minimised; a sentence that is playing goes on.
void AppDelegate::applicationDidEnterBackground() { CCDirector::sharedDirector()->stopAnimation(); }

void AppDelegate::applicationWillEnterForeground() {
    CCDirector::sharedDirector()->startAnimation();
}

}  // namespace pagly
