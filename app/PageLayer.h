#pragma once

#include "engine/nodes/CCLayer.h"
#include "gui/UIWidget.h"

namespace cocos2d {
class CCLabelTTF;
class CCMenuItem;
class CCMenuItemImage;
namespace extension {
class Layout;
class UIButton;
class UILayer;
class UIWidget;
}  // namespace extension
}  // namespace cocos2d

namespace pagly {

// One page of the book: its UI document with the sentence buttons, the caption label with
// its background, and the bar of controls (previous, play/pause, next, main page, settings).
// Built completely by its constructor from the reading state. The page reader alternates two
// classes, TestLayer1 and TestLayer2, which differ only in their log lines and z-orders.
class PageLayer : public cocos2d::CCLayer {
  public:
    // Forgets the reading state's references to this page's objects, so that nothing can
    // reach them once they are gone.
    ~PageLayer() override;
    void onEnter() override;
    void onEnterTransitionDidFinish() override;
    void onExit() override;
    void onExitTransitionDidStart() override;
    void ccTouchesBegan(cocos2d::CCSet* touches, cocos2d::CCEvent* event) override;
    void ccTouchesMoved(cocos2d::CCSet* touches, cocos2d::CCEvent* event) override;
    void ccTouchesEnded(cocos2d::CCSet* touches, cocos2d::CCEvent* event) override;
    void ccTouchesCancelled(cocos2d::CCSet* touches, cocos2d::CCEvent* event) override;
    // Desktop keys: Left / Right turn the page, Space plays or pauses, Escape goes home.
    void keyPressed(int keyCode) override;

    // Menu callbacks.
    void onPreviousPage(cocos2d::CCObject* sender);
    void onPlayPause(cocos2d::CCObject* sender);
    void onNextPage(cocos2d::CCObject* sender);
    void onMainPage(cocos2d::CCObject* sender);
    void onSettings(cocos2d::CCObject* sender);
    // Touch listener of the sentence buttons.
    void onSentenceTouched(cocos2d::CCObject* sender, cocos2d::extension::WidgetTouchEvent kind);
    // Scheduled callbacks.
    void onCaptionWatch(float dt);
    void onAutoReadTick(float dt);

    // Shows currentPage in a new page scene with the other layer class and a page curl.
    void showPageScene();

    cocos2d::extension::UILayer* uiLayer() const { return m_uiLayer; }
    cocos2d::extension::Layout* pageWidget() const { return m_pageWidget; }
    cocos2d::CCMenuItemImage* playPauseItem() const { return m_playPause; }
    cocos2d::CCMenuItemImage* previousItem() const { return m_previous; }
    cocos2d::CCMenuItemImage* nextItem() const { return m_next; }
    cocos2d::CCMenuItem* mainPageItem() const { return m_mainPage; }
    cocos2d::CCMenuItem* settingsItem() const { return m_settings; }
    // 1 for TestLayer1, 2 for TestLayer2.
    virtual int sceneNumber() const = 0;

  protected:
    // Builds the page; called by the two concrete constructors.
    void build(int captionZOrder, int menuZOrder);
    // A new page layer of the other class (the caller owns one reference).
    virtual PageLayer* createOtherLayer() const = 0;

  private:
    void log(const char* what) const;
    void turnTo(int direction);
    // Stops the page's callbacks and makes it deaf before another scene replaces it.
    void leave();
    void setPlayPauseImage(const char* file);
    void startAutoReadTick(float interval);
    cocos2d::extension::UIWidget* rootWidget() const;

    cocos2d::extension::UILayer* m_uiLayer = nullptr;  // a child of this layer
    cocos2d::CCPoint m_touchStart;
    // The touch whose start m_touchStart holds, or -1. A finger that went down before this
    // page was shown (still moving after the previous page's swipe) has no start here.
    int m_touchId = -1;
    // Set once the page has handed the screen to another scene. Until the director switches
    // scenes (next frame) input can still arrive here, and must not start anything.
    bool m_leaving = false;
    cocos2d::extension::Layout* m_pageWidget = nullptr;  // owned by the widget tree
    cocos2d::CCMenuItemImage* m_previous = nullptr;      // the menu's children
    cocos2d::CCMenuItemImage* m_playPause = nullptr;
    cocos2d::CCMenuItemImage* m_next = nullptr;
    cocos2d::CCMenuItem* m_mainPage = nullptr;
    cocos2d::CCMenuItem* m_settings = nullptr;
    cocos2d::CCLabelTTF* m_captionLabel = nullptr;                // a child of this layer
    cocos2d::extension::UIButton* m_captionBackground = nullptr;  // in the widget tree
};

class TestLayer1 : public PageLayer {
  public:
    TestLayer1();
    int sceneNumber() const override { return 1; }

  protected:
    PageLayer* createOtherLayer() const override;
};

class TestLayer2 : public PageLayer {
  public:
    TestLayer2();
    int sceneNumber() const override { return 2; }

  protected:
    PageLayer* createOtherLayer() const override;
};

}  // namespace pagly
