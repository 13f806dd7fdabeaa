#pragma once

#include "engine/nodes/CCLayer.h"
#include "engine/nodes/CCScene.h"

namespace cocos2d {
class CCMenu;
}

namespace pagly {

// A scene that carries the main-page button in its lower right corner.
class TestScene : public cocos2d::CCScene {
  public:
    void onEnter() override;
    // Builds the scene's content and makes it the running scene.
    virtual void show() = 0;
    // Callback of the main-page button.
    virtual void openMainPage(cocos2d::CCObject* sender);
};

// The table of contents scene: a TestScene hosting a MenuLayerMainMenu.
class MenuTestScene : public TestScene {
  public:
    void show() override;
};

// The list of the chosen entry's pages: one line per page, flying in from the sides;
// draggable; a tap opens the page reader on that page.
class MenuLayerMainMenu : public cocos2d::CCLayer {
  public:
    MenuLayerMainMenu();

    void onPageSelected(cocos2d::CCObject* sender);
    void ccTouchesBegan(cocos2d::CCSet* touches, cocos2d::CCEvent* event) override;
    void ccTouchesMoved(cocos2d::CCSet* touches, cocos2d::CCEvent* event) override;
    // Escape goes back to the main page, as the main-page button does.
    void keyBackClicked() override;
    // Up and Down (and the mouse wheel) scroll the list on the desktop.
    void keyPressed(int keyCode) override;

    cocos2d::CCMenu* listMenu() const { return m_listMenu; }
    // How far the list may be pushed up.
    static float dragLimit();

  private:
    cocos2d::CCPoint m_listDragStart;
    cocos2d::CCMenu* m_listMenu = nullptr;  // a child of this layer
};

// A new table-of-contents scene with one reference owned by the caller.
TestScene* createMenuTestScene();

}  // namespace pagly
