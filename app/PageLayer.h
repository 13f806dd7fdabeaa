#pragma once

#include "app/KeyHelp.h"
#include "app/ReadingMachine.h"
#include "app/SentencePlayer.h"
#include "engine/base/RefPtr.h"
#include "engine/nodes/CCLayer.h"
#include <string>

#include "gui/UIWidget.h"

namespace pagly::engine {
class CCArray;
class CCLabelTTF;
class CCLayerColor;
class CCMenuItem;
class CCMenuItemImage;
}  // namespace pagly::engine

namespace pagly::gui {
class Layout;
class UIButton;
class UILayer;
class UIWidget;
}  // namespace pagly::gui

namespace pagly {

class LearnerCard;
class SpeakingPractice;

// One page of the book: its UI document with the sentence buttons, the caption label with
// its background, and the bar of controls (previous, play/pause, next, main page, settings).
// Built completely by its constructor from the reading session. The page reader alternates two
// classes, TestLayer1 and TestLayer2, which differ only in their log lines and z-orders. The
// layer is the view; playing a sentence (SentencePlayer), automatic reading (ReadingMachine) and
// the keys and swipe (PageBindings) are parts of their own.
class PageLayer : public engine::CCLayer {
  public:
    // Forgets the reading state's references to this page's objects, so that nothing can
    // reach them once they are gone.
    ~PageLayer() override;
    void onEnter() override;
    void onEnterTransitionDidFinish() override;
    void onExit() override;
    void onExitTransitionDidStart() override;
    void ccTouchesBegan(engine::CCSet* touches, engine::CCEvent* event) override;
    void ccTouchesMoved(engine::CCSet* touches, engine::CCEvent* event) override;
    void ccTouchesEnded(engine::CCSet* touches, engine::CCEvent* event) override;
    void ccTouchesCancelled(engine::CCSet* touches, engine::CCEvent* event) override;
    // Desktop keys (PageBindings): F1 or '?' lists them.
    void keyPressed(int keyCode) override;

    // Menu callbacks.
    void onPreviousPage(engine::CCObject* sender);
    void onPlayPause(engine::CCObject* sender);
    void onNextPage(engine::CCObject* sender);
    void onMainPage(engine::CCObject* sender);
    void onSettings(engine::CCObject* sender);
    // Touch listener of the sentence buttons.
    void onSentenceTouched(engine::CCObject* sender, gui::WidgetTouchEvent kind);
    // Scheduled callbacks.
    void onCaptionWatch(float dt);
    void onAutoReadTick(float dt);

    // Shows currentPage in a new page scene with the other layer class and a page curl.
    void showPageScene();

    // What the keys do beyond the menu callbacks.
    // Down / Up: the nearest sentence with a button after / before the current one.
    void stepSentence(int direction);
    // R: the current sentence again from its start.
    void replaySentence();
    void playOrPauseByKey();
    void openSettingsByKey();
    void switchEchoPauses();
    void changeSpeed(int direction);
    // M: speaking practice of the current sentence (SpeakingPractice).
    void practiseSpeaking();
    // Shift+E: shadowing on / off (echo pauses become recordings of the learner).
    void switchShadowing();
    SpeakingPractice* practice() const { return m_practice; }

    // The round button and its card of every feature (LearnerMenu, LearnerCard).
    void onLearnerButton(engine::CCObject* sender);
    // Tab: the card with its first button marked for the keys.
    void openLearnerCard(bool byKey);
    LearnerCard* learnerCard() const;
    engine::CCMenuItem* learnerButton() const { return m_learnerButton; }
    // F1's key list, as the card's "Which key does what?" shows it.
    void showKeyList();
    // Reading on has reached the end of the book: it stops and says so.
    void finishReading();

    // The button of sentence `index` of this page, or null.
    gui::UIButton* sentenceButton(int index) const;

    gui::UILayer* uiLayer() const { return m_uiLayer; }
    gui::Layout* pageWidget() const { return m_pageWidget; }
    engine::CCMenuItemImage* playPauseItem() const { return m_playPause; }
    engine::CCMenuItemImage* previousItem() const { return m_previous; }
    engine::CCMenuItemImage* nextItem() const { return m_next; }
    engine::CCMenuItem* mainPageItem() const { return m_mainPage; }
    engine::CCMenuItem* settingsItem() const { return m_settings; }
    // 1 for TestLayer1, 2 for TestLayer2.
    virtual int sceneNumber() const = 0;
    // The short note that says what a key switched (null until one was shown).
    // The fading note's text while one is shown (echo pauses, speech speed), else nullptr.
    engine::CCLabelTTF* noteLabel();
    bool isKeyHelpShown() const { return m_keyHelp.isShown(); }
    // The timelines of the page's document (ActionObjects), or null.
    engine::CCArray* timelines() const { return m_timelines.get(); }

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
    gui::UIWidget* rootWidget() const;
    void buildCaption(int captionZOrder);
    void wireSentenceButtons();
    void playTimelines();
    void stopTimelines();
    void prepareNeighbours();

    gui::UILayer* m_uiLayer = nullptr;  // a child of this layer
    engine::CCPoint m_touchStart;
    // The touch whose start m_touchStart holds, or -1. A finger that went down before this
    // page was shown (still moving after the previous page's swipe) has no start here.
    int m_touchId = -1;
    // Set once the page has handed the screen to another scene. Until the director switches
    // scenes (next frame) input can still arrive here, and must not start anything.
    bool m_leaving = false;
    gui::Layout* m_pageWidget = nullptr;            // owned by the widget tree
    engine::CCMenuItemImage* m_previous = nullptr;  // the menu's children
    engine::CCMenuItemImage* m_playPause = nullptr;
    engine::CCMenuItemImage* m_next = nullptr;
    engine::CCMenuItem* m_mainPage = nullptr;
    engine::CCMenuItem* m_settings = nullptr;
    engine::CCMenuItem* m_learnerButton = nullptr;  // in a menu of its own
    engine::CCLabelTTF* m_captionLabel = nullptr;   // a child of this layer
    gui::UIButton* m_captionBackground = nullptr;   // in the widget tree
    KeyHelp m_keyHelp;
    // Kept here: the page scene's clean-up drops the toolkit's copy while this page runs.
    engine::RefPtr<engine::CCArray> m_timelines;
    bool m_timelinesPlaying = false;
    ReadingMachine m_reading;
    SentencePlayer m_player{this, &m_reading};
    SpeakingPractice* m_practice = nullptr;  // a child of this layer
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
