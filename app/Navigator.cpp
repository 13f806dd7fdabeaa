// The screen switches of the reader (see Navigator.h).
#include "app/Navigator.h"

#include "app/PageLayer.h"
#include "app/PageScene.h"
#include "app/SetLayer.h"
#include "app/TableOfContents.h"
#include "app/TestController.h"
#include "engine/director/CCDirector.h"
#include "engine/nodes/CCScene.h"
#include "engine/transitions/CCTransitionPageTurn.h"
#include "engine/transitions/CCTransitionZoomFlipY.h"

using namespace pagly::engine;

namespace pagly::navigator {

namespace {
// A page scene holding `layer`; the creator's references to both are dropped once the director
// (or a transition) holds the scene.
PageScene* pageSceneWith(CCLayer* layer) {
    PageScene* scene = new PageScene();
    scene->init();
    scene->addChild(layer);
    return scene;
}

void flipTo(CCLayer* layer, float seconds) {
    PageScene* scene = pageSceneWith(layer);
    CCDirector* director = CCDirector::sharedDirector();
    director->setDepthTest(false);
    CCTransitionZoomFlipY* flip =
        CCTransitionZoomFlipY::create(seconds, scene, kTransitionOrientationDownOver);
    scene->release();
    layer->release();
    director->replaceScene(flip);
}
}  // namespace

void showMainPage() {
    CCScene* scene = CCScene::create();
    TestController* page = new TestController();
    page->autorelease();
    scene->addChild(page);
    CCDirector::sharedDirector()->replaceScene(scene);
}

void showContents() {
    TestScene* scene = createMenuTestScene();
    scene->show();
    scene->release();
}

void openPage() {
    TestLayer1* layer = new TestLayer1();
    PageScene* scene = pageSceneWith(layer);
    layer->release();
    CCDirector::sharedDirector()->replaceScene(scene);
    scene->release();
}

void turnPage(PageLayer* layer, bool backwards) {
    PageScene* scene = pageSceneWith(layer);
    CCDirector* director = CCDirector::sharedDirector();
    director->setDepthTest(false);
    director->setDepthTest(true);
    CCTransitionPageTurn* turn = CCTransitionPageTurn::create(0.5f, scene, backwards);
    scene->release();
    layer->release();
    director->replaceScene(turn);
}

void openSettings() { flipTo(new SetLayer(), 0.5f); }

void returnFromSettings() { flipTo(new TestLayer1(), 0.0f); }

}  // namespace pagly::navigator
