// A tiny engine program for the window smoke test and the idle-cost measurement: opens the
// real window (title and frame size by the reader's rule), shows a still or an animated
// scene, quits after --seconds, and prints how many frames it drew.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/director/CCDirector.h"
#include "engine/nodes/CCLayer.h"
#include "engine/nodes/CCLayerColor.h"
#include "engine/nodes/CCLayerGradient.h"
#include "engine/nodes/CCScene.h"
#include "engine/platform/CCApplication.h"
#include "engine/platform/CCEGLView.h"

using namespace pagly::engine;

namespace {

class DemoLayer : public CCLayer {
  public:
    DemoLayer(bool animated, float seconds) {
        init();
        addChild(
            CCLayerGradient::create(ccColor4B(40, 60, 140, 255), ccColor4B(200, 220, 255, 255)));
        m_box = CCLayerColor::create(ccColor4B(250, 200, 40, 255), 120, 120);
        m_box->ignoreAnchorPointForPosition(false);
        m_box->setPosition(320, 480);
        addChild(m_box);
        if (animated) scheduleUpdate();
        scheduleOnce(memberCallback(&DemoLayer::stop), seconds);
    }
    void update(float dt) override { m_box->setRotation(m_box->getRotation() + 90 * dt); }
    void stop(float) {
        CCDirector* d = CCDirector::sharedDirector();
        printf("steps %u drawn %u seconds %.3f\n", d->getTotalFrames(), d->getDrawnFrames(),
               d->getElapsedTime());
        fflush(stdout);
        CCApplication::sharedApplication()->quit();
    }

  private:
    CCLayerColor* m_box;
};

class DemoApp : public CCApplication {
  public:
    DemoApp(bool animated, float seconds) : m_animated(animated), m_seconds(seconds) {}
    bool applicationDidFinishLaunching() override {
        CCDirector* director = CCDirector::sharedDirector();
        CCEGLView::sharedOpenGLView()->setDesignResolutionSize(640, 960, kResolutionExactFit);
        director->setAnimationInterval(1.0 / 60);
        CCScene* scene = CCScene::create();
        DemoLayer* layer = new DemoLayer(m_animated, m_seconds);
        layer->autorelease();
        scene->addChild(layer);
        director->runWithScene(scene);
        return true;
    }
    void applicationDidEnterBackground() override { CCDirector::sharedDirector()->stopAnimation(); }
    void applicationWillEnterForeground() override {
        CCDirector::sharedDirector()->startAnimation();
    }

  private:
    bool m_animated;
    float m_seconds;
};

}  // namespace

int main(int argc, char** argv) {
    bool animated = false;
    float seconds = 5;
    const char* title = "pagly";
    for (int i = 1; i < argc; ++i) {
        if (!strcmp(argv[i], "--animated")) animated = true;
        if (!strcmp(argv[i], "--seconds") && i + 1 < argc) seconds = (float)atof(argv[++i]);
        if (!strcmp(argv[i], "--title") && i + 1 < argc) title = argv[++i];
    }
    DemoApp app(animated, seconds);
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    view->setViewName(title);
    double h = CCApplication::usableDesktopHeight();
    view->setFrameSize((float)(h * 0.94 * 2 / 3), (float)(h * 0.94));
    return app.run();
}
