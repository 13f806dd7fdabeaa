#pragma once

#include <string>

#include "engine/nodes/CCLayer.h"

namespace cocos2d {
class CCMenu;
class CCMenuItemImage;
}  // namespace cocos2d

namespace pagly {

// The main page: a draggable list of the eight units and the word list over a green
// background on which a small figure walks to and fro. Built completely by its constructor.
class TestController : public cocos2d::CCLayer {
  public:
    TestController();

    // Menu callback of every entry: remembers the entry and opens its table of contents.
    void onUnitSelected(cocos2d::CCObject* sender);

    void ccTouchesBegan(cocos2d::CCSet* touches, cocos2d::CCEvent* event) override;
    void ccTouchesMoved(cocos2d::CCSet* touches, cocos2d::CCEvent* event) override;
    // Up and Down (and the mouse wheel) scroll the list on the desktop.
    void keyPressed(int keyCode) override;

    cocos2d::CCMenu* listMenu() const { return m_listMenu; }

    // Where the first-run marker lives: beside the book when it is there or can be written
    // there, else in the user's data folder.
    static std::string firstRunMarkerPath();
    static const char* const kFirstRunMarkerLine;

  private:
    void writeFirstRunMarker();
    static float dragLimit();

    cocos2d::CCPoint m_listDragStart;
    cocos2d::CCMenu* m_listMenu = nullptr;           // a child of this layer
    cocos2d::CCMenuItemImage* m_hintItem = nullptr;  // a child of the list menu
};

// Builds a fresh main page in a plain scene and replaces the running scene with it.
void showMainPage();

}  // namespace pagly
