// The page view: building a page, its lifecycle, and its controls' callbacks (see PageLayer.h).
#include "app/PageLayer.h"

#include <string>

#include "app/PageLook.h"
#include "app/BookNames.h"
#include "app/BookEnd.h"
#include "app/FadingNote.h"
#include "app/LearnerCard.h"
#include "app/LearnerMenu.h"
#include "app/Navigator.h"
#include "app/PageBindings.h"
#include "app/PageControls.h"
#include "app/PagePreparation.h"
#include "app/ReadingSession.h"
#include "app/ResumeState.h"
#include "app/SpeechSpeed.h"
#include "app/TextTable.h"
#include "app/VisibleArea.h"
#include "app/practice/SpeakingPractice.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/base/CCArray.h"
#include "engine/base/CCSet.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCKeypadDispatcher.h"
#include "engine/director/CCTouch.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCMenuItem.h"
#include "engine/nodes/CCSprite.h"
#include "engine/render/CCTextureCache.h"
#include "engine/transitions/SceneCapture.h"
#include "gui/Layout.h"
#include "gui/UIButton.h"
#include "gui/UILayer.h"
#include "gui/UIRootWidget.h"
#include "gui/WidgetHelper.h"
#include "gui/reader/ActionManager.h"
#include "gui/reader/ActionObject.h"
#include "gui/reader/CCSGUIReader.h"

using namespace pagly::engine;
using namespace pagly::gui;
using pagly::audio::SimpleAudioEngine;

namespace pagly {

namespace {
SimpleAudioEngine* audioEngine() { return SimpleAudioEngine::sharedEngine(); }

// Whether `widget` is `root` or one of its descendants (compares pointers only).
bool containsWidget(UIWidget* root, UIWidget* widget) {
    if (!root || !widget) return false;
    if (root == widget) return true;
    CCArray* children = root->getChildren();
    if (!children) return false;
    for (CCObject* o : *children)
        if (containsWidget(static_cast<UIWidget*>(o), widget)) return true;
    return false;
}
}  // namespace

// ---------------------------------------------------------------- construction

TestLayer1::TestLayer1() { build(10000, 3); }
TestLayer2::TestLayer2() { build(2, 1); }

PageLayer* TestLayer1::createOtherLayer() const { return new TestLayer2(); }
PageLayer* TestLayer2::createOtherLayer() const { return new TestLayer1(); }

void PageLayer::build(int captionZOrder, int menuZOrder) {
    ReadingSession& s = session();
    CCLayer::init();
    m_touchStart = CCPoint(0, 0);

    audioEngine()->setBackgroundMusicVolume(1.0f);
    audioEngine()->stopBackgroundMusic();

    m_uiLayer = UILayer::create();
    m_uiLayer->scheduleUpdate();
    addChild(m_uiLayer, 0);

    buildCaption(captionZOrder);
    PageControls controls = addPageControls(this, menuZOrder);
    m_previous = controls.previous;
    m_playPause = controls.playPause;
    m_next = controls.next;
    m_mainPage = controls.mainPage;
    m_settings = controls.settings;
    m_learnerButton = addLearnerButton(this, menuZOrder, controls);

    WidgetHelper::instance();
    std::string document = pageDocumentPath(s.currentPage);
    UIWidget* tree = CCSGUIReader::instance()->loadWidgetTree(document.c_str());
    m_pageWidget = dynamic_cast<Layout*>(tree);
    if (m_pageWidget) rootWidget()->addChild(m_pageWidget);
    keepTitleReadable(m_pageWidget);
    if (tree && ActionManager::hasInstance())
        m_timelines = ActionManager::instance()->getActionList(document.c_str());

    CCPoint center = VisibleArea::center(), top = VisibleArea::top();
    UIButton* background = UIButton::create();
    s.captionBackground = m_captionBackground = background;
    background->setTouchEnabled(false);
    background->setScale9Enabled(true);
    background->loadTextureNormal("Images/bnchback1.png", TextureLocal);
    background->loadTexturePressed("Images/bnchback1.png", TextureLocal);
    background->loadTextureDisabled("", TextureLocal);
    background->setPosition(CCPoint(center.x, top.y));
    background->setSize(CCSize(150, 1.5f * background->getContentSize().height));
    background->setVisible(false);
    rootWidget()->addChild(background);

    wireSentenceButtons();
    m_practice = SpeakingPractice::create(this);
    addChild(m_practice, 0);

    s.nextSentence = 1;
    if (s.autoReadOn && s.readingMode == ReadOn) {
        if (sceneNumber() == 1) CCLog("---------------------------------0000000000000");
        unscheduleAllSelectors();
        schedule(memberCallback(&PageLayer::onAutoReadTick), ReadingMachine::kStartInterval);
        setPlayPauseImage("Images/pause_btn.png");
    } else {
        s.autoReadOn = false;
        setPlayPauseImage("Images/play_btn.png");
        unscheduleAllSelectors();
    }
    s.currentSentenceButton = nullptr;
    setTouchEnabled(true);
    setKeypadEnabled(true);
    rememberPage(s.currentPage);
    if (s.currentPage >= s.book.lastPage()) showBookEnd(this, m_next);
}

void PageLayer::buildCaption(int captionZOrder) {
    std::string captionText = loadText(kInterfaceTexts, "bntext");
    CCPoint origin = VisibleArea::origin(), center = VisibleArea::center();
    CCSize size = VisibleArea::size();
    CCLabelTTF* caption = CCLabelTTF::create(captionText.c_str(), "Arial", 22);
    session().captionLabel = m_captionLabel = caption;
    caption->setDimensions(CCSize(size.width * 0.25f, 0));
    caption->setHorizontalAlignment(kTextAlignmentCenter);
    caption->setPosition(CCPoint(center.x, origin.y + size.height / 24));
    caption->setColor(ccColor3B(0, 0, 255));
    addChild(caption, captionZOrder);
}

void PageLayer::wireSentenceButtons() {
    ReadingSession& s = session();
    s.pageSentenceCount = 0;
    bool documentLook = s.book.keepsButtonLook(s.currentPage);
    for (int i = 1; i <= Book::kMostSentences; ++i) {
        UIButton* button = sentenceButton(i);
        if (!button) continue;
        if (!documentLook) {
            button->setOpacity(255);
            button->loadTextureNormal("Images/bnren1.png", TextureLocal);
            button->loadTexturePressed("Images/bnren2.png", TextureLocal);
        }
        button->addTouchListener(this, memberCallback(&PageLayer::onSentenceTouched));
        button->setActionTag(sentenceNumber(s.currentPage, i));
        s.pageSentenceCount = i;
    }
}

PageLayer::~PageLayer() {
    ReadingSession* s = currentSession();
    if (!s) return;
    if (s->captionLabel == m_captionLabel) s->captionLabel = nullptr;
    if (s->captionBackground == m_captionBackground) s->captionBackground = nullptr;
    // A sentence button of this page can only be current while the page runs.
    if (m_uiLayer && containsWidget(m_uiLayer->getRootWidget(), s->currentSentenceButton))
        s->currentSentenceButton = nullptr;
}

UIWidget* PageLayer::rootWidget() const { return m_uiLayer->getRootWidget(); }

UIButton* PageLayer::sentenceButton(int index) const {
    return dynamic_cast<UIButton*>(WidgetHelper::instance()->findWidgetByName(
        rootWidget(), sentenceButtonName(session().currentPage, index).c_str()));
}

void PageLayer::setPlayPauseImage(const char* file) {
    if (!m_playPause) return;
    if (CCSprite* sprite = CCSprite::create(file)) m_playPause->setNormalImage(sprite);
}

// ---------------------------------------------------------------- lifecycle and logs

void PageLayer::log(const char* what) const { CCLog("Scene %d%s", sceneNumber(), what); }

void PageLayer::onEnter() {
    CCLayer::onEnter();
    log(" onEnter");
}

void PageLayer::onEnterTransitionDidFinish() {
    CCLayer::onEnterTransitionDidFinish();
    log(": onEnterTransitionDidFinish");
    if (m_leaving) return;
    playTimelines();
    prepareNeighbours();
}

void PageLayer::prepareNeighbours() {
    // Pictures of pages two turns away or more go (the page just left still holds its own,
    // and sprite sheets stay with their frames); the pages one turn away are decoded in the
    // background so that turning to them finds them ready.
    const ReadingSession& s = session();
    CCTextureCache::sharedTextureCache()->removeUnusedTextures();
    if (s.currentPage < s.book.lastPage()) preparePageImages(s.currentPage + 1);
    if (s.currentPage > s.book.firstPage()) preparePageImages(s.currentPage - 1);
    // And what the page curl draws the turning page into.
    SceneCapture::prepareSpareTexture(CCDirector::sharedDirector()->getRenderer());
}

void PageLayer::onExit() {
    stopTimelines();
    CCLayer::onExit();
    log(" onExit");
}

void PageLayer::onExitTransitionDidStart() {
    stopTimelines();
    CCLayer::onExitTransitionDidStart();
    log(": onExitTransitionDidStart");
}

void PageLayer::playTimelines() {
    if (!m_timelines || m_timelinesPlaying) return;
    m_timelinesPlaying = true;
    for (CCObject* o : *m_timelines)
        if (ActionObject* timeline = dynamic_cast<ActionObject*>(o)) timeline->play();
}

void PageLayer::stopTimelines() {
    if (!m_timelines || !m_timelinesPlaying) return;
    m_timelinesPlaying = false;
    for (CCObject* o : *m_timelines)
        if (ActionObject* timeline = dynamic_cast<ActionObject*>(o)) timeline->stop();
}

// ---------------------------------------------------------------- sentences and reading

void PageLayer::onSentenceTouched(CCObject* sender, WidgetTouchEvent) {
    UIButton* button = dynamic_cast<UIButton*>(sender);
    if (!button || m_leaving) return;
    m_practice->sentenceTouched();
    m_player.touched(button);
}

void PageLayer::onCaptionWatch(float) {
    ReadingSession& s = session();
    unschedule(memberCallback(&PageLayer::onCaptionWatch));
    if (audioEngine()->isBackgroundMusicPlaying()) {
        schedule(memberCallback(&PageLayer::onCaptionWatch), SentencePlayer::kCaptionWatchInterval);
        if (s.captionBackground) s.captionBackground->setVisible(true);
        if (s.captionLabel) s.captionLabel->setVisible(true);
    } else if (s.captionBackground) {
        s.captionBackground->setVisible(false);
        if (s.captionLabel) s.captionLabel->setVisible(false);
    }
}

void PageLayer::onPlayPause(CCObject*) {
    if (m_leaving) return;
    ReadingSession& s = session();
    s.autoReadOn = !s.autoReadOn;
    if (s.autoReadOn) {
        m_reading.switchedOn();
        unschedule(memberCallback(&PageLayer::onAutoReadTick));
        schedule(memberCallback(&PageLayer::onAutoReadTick), ReadingMachine::kStartInterval);
        setPlayPauseImage("Images/pause_btn.png");
    } else {
        m_practice->abandon();
        audioEngine()->setBackgroundMusicVolume(1.0f);
        audioEngine()->stopBackgroundMusic();
        setPlayPauseImage("Images/play_btn.png");
        unschedule(memberCallback(&PageLayer::onAutoReadTick));
    }
}

void PageLayer::onAutoReadTick(float) {
    unschedule(memberCallback(&PageLayer::onAutoReadTick));
    // A shadowing recording and its playback hold reading as a sentence does.
    bool busy = audioEngine()->isBackgroundMusicPlaying() || m_practice->isBusy();
    ReadingMachine::Step step =
        m_reading.tick(session(), busy, [this] { return m_player.lastHeardSeconds(); });
    switch (step.action) {
        case ReadingMachine::PlaySentence:
            m_player.readSentence(step.sentence);
            break;
        case ReadingMachine::TurnPage:
            if (session().currentPage >= session().book.lastPage()) {
                finishReading();
                return;
            }
            onNextPage(nullptr);
            return;
        case ReadingMachine::Stop:
            return;
        case ReadingMachine::RecordEcho:
            m_practice->recordEcho(step.sentence);
            break;
        case ReadingMachine::Wait:
            break;
    }
    schedule(memberCallback(&PageLayer::onAutoReadTick), step.interval);
}

// ---------------------------------------------------------------- input

void PageLayer::keyPressed(int keyCode) {
    if (m_leaving) return;
    // The learner's card is modal: while it is shown, every key is its own.
    if (LearnerCard* card = LearnerCard::shownOn(this)) {
        if (!m_keyHelp.isShown()) {
            card->handleKey(keyCode);
            return;
        }
    }
    // The comparison panel (or a recording under way) takes keys before the page does.
    if (!m_keyHelp.isShown() && m_practice->handleKey(keyCode)) return;
    if (m_keyHelp.handleKey(this, keyCode, pageKeyHelpLines())) return;
    runPageKey(*this, keyCode);
}

void PageLayer::ccTouchesBegan(CCSet* touches, CCEvent*) {
    CCTouch* touch = static_cast<CCTouch*>(touches->anyObject());
    if (!touch) return;
    m_touchStart = touch->getLocation();
    m_touchId = touch->getID();
}

void PageLayer::ccTouchesMoved(CCSet* touches, CCEvent*) {
    CCTouch* touch = static_cast<CCTouch*>(touches->anyObject());
    // Measured from (0, 0), such a finger would turn the page straight back.
    if (!touch || touch->getID() != m_touchId) return;
    const ReadingSession& s = session();
    float x = touch->getLocation().x;
    int direction = swipeDirection(m_touchStart.x, x, s.currentPage, s.book);
    if (direction == 0) return;
    m_touchStart.x = x;
    turnTo(direction);
}

void PageLayer::ccTouchesEnded(CCSet* touches, CCEvent*) {
    CCTouch* touch = static_cast<CCTouch*>(touches->anyObject());
    if (touch && touch->getID() == m_touchId) m_touchId = -1;
}

void PageLayer::ccTouchesCancelled(CCSet* touches, CCEvent* event) {
    ccTouchesEnded(touches, event);
}

CCLabelTTF* PageLayer::noteLabel() { return fadingNoteLabel(this); }

// ---------------------------------------------------------------- leaving the page

void PageLayer::leave() {
    m_leaving = true;
    m_practice->abandon();
    stopTimelines();
    m_player.stopLighting();
    unscheduleAllSelectors();
    setTouchEnabled(false);
    setKeypadEnabled(false);
}

void PageLayer::turnTo(int direction) {
    if (m_leaving) return;
    ReadingSession& s = session();
    setTouchEnabled(false);
    setKeypadEnabled(false);
    s.currentPage += direction;
    s.turnDirection = direction;
    showPageScene();
}

void PageLayer::onPreviousPage(CCObject*) {
    if (session().currentPage > session().book.firstPage()) turnTo(-1);
}

void PageLayer::onNextPage(CCObject*) {
    if (session().currentPage < session().book.lastPage()) turnTo(+1);
}

void PageLayer::showPageScene() {
    leave();
    session().currentSentenceButton = nullptr;
    navigator::turnPage(createOtherLayer(), session().turnDirection == -1);
}

void PageLayer::onMainPage(CCObject*) {
    if (m_leaving) return;
    leave();
    navigator::showMainPage();
}

void PageLayer::onSettings(CCObject*) {
    if (m_leaving) return;
    leave();
    navigator::openSettings();
}

}  // namespace pagly
