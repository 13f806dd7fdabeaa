#include "app/PageLayer.h"

#include <cmath>
#include <string>

#include "app/BookNames.h"
#include "app/CaptionLayout.h"
#include "app/FadingNote.h"
#include "app/PagePreparation.h"
#include "app/PageScene.h"
#include "app/ResumeState.h"
#include "app/ReadingState.h"
#include "app/SetLayer.h"
#include "app/SpeechSpeed.h"
#include "app/TestController.h"
#include "app/TextTable.h"
#include "app/VisibleArea.h"
#include "engine/actions/CCActionInstant.h"
#include "engine/actions/CCActionInterval.h"
#include "engine/actions/CCActionCompound.h"
#include "engine/audio/Mp3Duration.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/base/CCArray.h"
#include "engine/base/CCDictionary.h"
#include "engine/base/CCSet.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCTouch.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCLayerColor.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItem.h"
#include "engine/nodes/CCSprite.h"
#include "engine/platform/CCFileUtils.h"
#include "engine/render/CCTextureCache.h"
#include "engine/transitions/CCTransitionPageTurn.h"
#include "engine/transitions/CCTransitionZoomFlipY.h"
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
const int kLastSentenceIndex = 29;
const unsigned int kLongestCaption = 1600;  // bytes; longer captions are not shown
const float kCaptionWatchInterval = 0.3f;
const float kAutoReadStartInterval = 0.2f;
const float kAutoReadInterval = 0.5f;
const float kSwipeDistance = 50;
const int kFirstPage = 2;
const int kLastPage = 77;
// An echo pause is as long as the sentence, but never shorter than this.
const double kShortestEchoPause = 1.0;

// An arrow whose picture cannot be used would have no size, and a mouse user could not turn
// the page with it: it shows its pressed picture instead, or else a drawn arrow in the blue of
// the menu texts, in the outer half of its item as in the pictures (clear of the text between).
void giveArrowASize(CCMenuItemImage* item, const char* pressedImage, const char* arrow,
                    bool outerHalfIsLeft) {
    if (!item || item->getContentSize().width > 0) return;
    if (CCSprite* pressed = CCSprite::create(pressedImage)) {
        item->setNormalImage(pressed);
        return;
    }
    CCLabelTTF* label = CCLabelTTF::create(arrow, "Arial", 72);
    if (!label || label->getContentSize().width <= 0) return;
    label->setColor(ccColor3B(0, 0, 255));
    CCSize size = label->getContentSize();
    CCNode* drawn = CCNode::create();
    drawn->setContentSize(CCSize(size.width * 2, size.height));
    label->setPosition(CCPoint(size.width * (outerHalfIsLeft ? 0.5f : 1.5f), size.height / 2));
    drawn->addChild(label);
    item->setNormalImage(drawn);
}

bool isWordListPage(int page) { return page >= 70 && page <= 76; }

SimpleAudioEngine* audioEngine() { return SimpleAudioEngine::sharedEngine(); }

void unfocusCurrentSentence() {
    if (currentSentenceButton && currentSentenceButton->isFocused())
        currentSentenceButton->setFocus(false);
}

// Shows (or hides) the caption for `button`; schedules the watcher on `layer` when shown.
void presentCaption(PageLayer* layer, UIButton* button, const CCString* caption) {
    if (!caption) {
        captionLabel->setString("");
        captionBackground->setSize(CCSize(0, 0));
        return;
    }
    if (caption->length() >= kLongestCaption) {
        captionLabel->setString("");
        captionLabel->setVisible(false);
        captionBackground->setVisible(false);
        return;
    }
    CCSize buttonSize = button->getContentSize();
    float width = std::fabs(button->getScaleX()) * buttonSize.width;
    captionLabel->setDimensions(CCSize(width, 0));
    captionLabel->setString(caption->getCString());
    float labelHeight = captionLabel->getContentSize().height;
    CaptionPlacement place = placeCaption(button->getPosition(), button->getScaleX(),
                                          button->getScaleY(), buttonSize, labelHeight);
    captionLabel->setPosition(CCPoint(place.labelX, place.labelY));
    captionBackground->setPosition(CCPoint(place.labelX, place.backgroundY));
    captionBackground->setSize(
        CCSize(captionLabel->getContentSize().width, labelHeight + place.backgroundExtraHeight));
    layer->schedule(memberCallback(&PageLayer::onCaptionWatch), kCaptionWatchInterval);
    if (layer->sceneNumber() == 1) CCLog("Scene 1: onEnterTransitionDidFinish");
}

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
    CCLayer::init();
    m_touchStart = CCPoint(0, 0);

    audioEngine()->setBackgroundMusicVolume(1.0f);
    audioEngine()->stopBackgroundMusic();

    m_uiLayer = UILayer::create();
    m_uiLayer->scheduleUpdate();
    addChild(m_uiLayer, 0);

    CCDictionary* texts = CCDictionary::createWithContentsOfFile(kInterfaceTexts);
    std::string settingsText = textFrom(texts, "setmenu_set");
    std::string mainPageText = textFrom(texts, "main_page");
    std::string captionText = textFrom(texts, "bntext");

    CCPoint origin = VisibleArea::origin();
    CCSize size = VisibleArea::size();
    CCPoint left = VisibleArea::left(), right = VisibleArea::right();
    CCPoint top = VisibleArea::top(), center = VisibleArea::center();

    CCLabelTTF* caption = CCLabelTTF::create(captionText.c_str(), "Arial", 22);
    captionLabel = m_captionLabel = caption;
    caption->setDimensions(CCSize(size.width * 0.25f, 0));
    caption->setHorizontalAlignment(kTextAlignmentCenter);
    caption->setPosition(CCPoint(center.x, origin.y + size.height / 24));
    caption->setColor(ccColor3B(0, 0, 255));
    addChild(caption, captionZOrder);

    m_previous = CCMenuItemImage::create("Images/up1.png", "Images/up2.png", this,
                                         memberCallback(&PageLayer::onPreviousPage));
    m_playPause = CCMenuItemImage::create("Images/play_btn.png", "Images/pause_btn.png", this,
                                          memberCallback(&PageLayer::onPlayPause));
    m_next = CCMenuItemImage::create("Images/next1.png", "Images/next2.png", this,
                                     memberCallback(&PageLayer::onNextPage));
    giveArrowASize(m_previous, "Images/up2.png", "<", true);
    giveArrowASize(m_next, "Images/next2.png", ">", false);
    CCMenuItemFont* mainPage =
        CCMenuItemFont::create(mainPageText.c_str(), this, memberCallback(&PageLayer::onMainPage));
    CCMenuItemFont* settings =
        CCMenuItemFont::create(settingsText.c_str(), this, memberCallback(&PageLayer::onSettings));
    for (CCMenuItemFont* item : {mainPage, settings}) {
        item->setFontSizeObj(45);
        item->setColor(ccColor3B(0, 0, 255));
    }
    // Without a text to draw the item has no size and the way home could not be tapped.
    if (mainPage->getContentSize().width <= 0) {
        CCLog("menu text \"%.40s\" cannot be shown; showing \"Home\"", mainPageText.c_str());
        mainPage->setString("Home");
    }
    m_mainPage = mainPage;
    m_settings = settings;

    CCMenu* menu = CCMenu::create();
    for (CCMenuItem* item : {(CCMenuItem*)m_previous, (CCMenuItem*)m_playPause, (CCMenuItem*)m_next,
                             m_mainPage, m_settings})
        if (item) menu->addChild(item);
    menu->setPosition(CCPoint(0, 0));
    CCSize play = m_playPause ? m_playPause->getContentSize() : CCSize(0, 0);
    settings->setPosition(CCPoint(right.x - 60, origin.y + 30));
    mainPage->setPosition(CCPoint(left.x + 60, origin.y + 30));
    if (m_previous)
        m_previous->setPosition(CCPoint(center.x - play.width / 2, origin.y + play.height / 2 + 6));
    if (m_playPause) m_playPause->setPosition(CCPoint(right.x - 60, origin.y + 40));
    if (m_next)
        m_next->setPosition(CCPoint(center.x + play.width / 2, origin.y + play.height / 2 + 6));
    addChild(menu, menuZOrder);

    // The settings overlay stays out of reach; ReadByTouch has nothing to play or pause.
    settings->setVisible(false);
    if (readingMode == ReadByTouch && m_playPause) m_playPause->setVisible(false);

    WidgetHelper::instance();
    std::string document = pageDocumentPath(currentPage);
    UIWidget* tree = CCSGUIReader::instance()->loadWidgetTree(document.c_str());
    m_pageWidget = dynamic_cast<Layout*>(tree);
    if (m_pageWidget) rootWidget()->addChild(m_pageWidget);
    if (tree && ActionManager::hasInstance())
        m_timelines = ActionManager::instance()->getActionList(document.c_str());

    UIButton* background = UIButton::create();
    captionBackground = m_captionBackground = background;
    background->setTouchEnabled(false);
    background->setScale9Enabled(true);
    background->loadTextureNormal("Images/bnchback1.png", TextureLocal);
    background->loadTexturePressed("Images/bnchback1.png", TextureLocal);
    background->loadTextureDisabled("", TextureLocal);
    background->setPosition(CCPoint(center.x, top.y));
    background->setSize(CCSize(150, 1.5f * background->getContentSize().height));
    background->setVisible(false);
    rootWidget()->addChild(background);

    pageSentenceCount = 0;
    for (int i = 1; i <= kLastSentenceIndex; ++i) {
        UIButton* button = sentenceButton(i);
        if (!button) continue;
        if (!isWordListPage(currentPage)) {
            button->setOpacity(255);
            button->loadTextureNormal("Images/bnren1.png", TextureLocal);
            button->loadTexturePressed("Images/bnren2.png", TextureLocal);
        }
        button->addTouchListener(this, memberCallback(&PageLayer::onSentenceTouched));
        button->setActionTag(sentenceNumber(currentPage, i));
        pageSentenceCount = i;
    }

    nextSentence = 1;
    if (autoReadOn && readingMode == ReadOn) {
        if (sceneNumber() == 1) CCLog("---------------------------------0000000000000");
        unscheduleAllSelectors();
        schedule(memberCallback(&PageLayer::onAutoReadTick), kAutoReadStartInterval);
        setPlayPauseImage("Images/pause_btn.png");
    } else {
        autoReadOn = false;
        setPlayPauseImage("Images/play_btn.png");
        unscheduleAllSelectors();
    }
    currentSentenceButton = nullptr;
    setTouchEnabled(true);
    setKeypadEnabled(true);
    rememberPage(currentPage);
}

PageLayer::~PageLayer() {
    if (captionLabel == m_captionLabel) captionLabel = nullptr;
    if (captionBackground == m_captionBackground) captionBackground = nullptr;
    // A sentence button of this page can only be current while the page runs.
    if (m_uiLayer && containsWidget(m_uiLayer->getRootWidget(), currentSentenceButton))
        currentSentenceButton = nullptr;
}

UIWidget* PageLayer::rootWidget() const { return m_uiLayer->getRootWidget(); }

UIButton* PageLayer::sentenceButton(int index) const {
    return dynamic_cast<UIButton*>(WidgetHelper::instance()->findWidgetByName(
        rootWidget(), sentenceButtonName(currentPage, index).c_str()));
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
    CCTextureCache::sharedTextureCache()->removeUnusedTextures();
    if (currentPage < kLastPage) preparePageImages(currentPage + 1);
    if (currentPage > kFirstPage) preparePageImages(currentPage - 1);
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

// ---------------------------------------------------------------- the page's animations

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

// ---------------------------------------------------------------- sentences and captions

void PageLayer::onSentenceTouched(CCObject* sender, WidgetTouchEvent) {
    UIButton* button = dynamic_cast<UIButton*>(sender);
    if (!button || m_leaving) return;
    if (currentSentenceButton) {
        if (currentSentenceButton == button && audioEngine()->isBackgroundMusicPlaying()) {
            if (!button->isFocused()) button->setFocus(true);
            return;  // the sentence that is playing is never restarted
        }
        unfocusCurrentSentence();
    }
    currentSentenceButton = button;
    button->setFocus(true);

    int number = button->getActionTag();
    nextSentence = sentenceIndexFromNumber(currentPage, number) + 1;
    CCDictionary* captions = CCDictionary::createWithContentsOfFile(kCaptionTexts);
    const CCString* caption = captions ? dynamic_cast<const CCString*>(captions->objectForKey(
                                             captionKeyForNumber(currentPage, number)))
                                       : nullptr;
    presentCaption(this, button, caption);
    startRecording(recordingNameForNumber(currentPage, number));
}

void PageLayer::startRecording(const std::string& recordingName) {
    std::string path = recordingPathForName(recordingName);
    audioEngine()->playBackgroundMusic(path.c_str(), false);
    m_lastRecording = path;
    m_echoDue = true;
}

void PageLayer::onCaptionWatch(float) {
    unschedule(memberCallback(&PageLayer::onCaptionWatch));
    if (audioEngine()->isBackgroundMusicPlaying()) {
        schedule(memberCallback(&PageLayer::onCaptionWatch), kCaptionWatchInterval);
        if (captionBackground) captionBackground->setVisible(true);
        if (captionLabel) captionLabel->setVisible(true);
    } else if (captionBackground) {
        captionBackground->setVisible(false);
        if (captionLabel) captionLabel->setVisible(false);
    }
}

// ---------------------------------------------------------------- automatic reading

void PageLayer::startAutoReadTick(float interval) {
    unschedule(memberCallback(&PageLayer::onAutoReadTick));
    schedule(memberCallback(&PageLayer::onAutoReadTick), interval);
}

void PageLayer::onPlayPause(CCObject*) {
    if (m_leaving) return;
    autoReadOn = !autoReadOn;
    if (autoReadOn) {
        m_echoDue = false;  // a sentence heard before reading started needs no echo
        startAutoReadTick(kAutoReadStartInterval);
        setPlayPauseImage("Images/pause_btn.png");
    } else {
        audioEngine()->setBackgroundMusicVolume(1.0f);
        audioEngine()->stopBackgroundMusic();
        setPlayPauseImage("Images/play_btn.png");
        unschedule(memberCallback(&PageLayer::onAutoReadTick));
    }
}

void PageLayer::onAutoReadTick(float) {
    unschedule(memberCallback(&PageLayer::onAutoReadTick));
    if (audioEngine()->isBackgroundMusicPlaying()) {
        schedule(memberCallback(&PageLayer::onAutoReadTick), kAutoReadInterval);
        return;
    }
    if (m_echoDue) {
        m_echoDue = false;
        if (echoPauses) {
            // Time to say the sentence aloud, then the usual pause. (Its length is read from
            // the file only here: without echo pauses nothing needs it.)
            double seconds = audio::mp3DurationOfFile(
                CCFileUtils::sharedFileUtils()->fullPathForFilename(m_lastRecording));
            double pause = seconds > kShortestEchoPause ? seconds : kShortestEchoPause;
            schedule(memberCallback(&PageLayer::onAutoReadTick), (float)pause);
            return;
        }
    }
    if (autoReadPause) {
        autoReadPause = false;
        schedule(memberCallback(&PageLayer::onAutoReadTick), kAutoReadInterval);
        return;
    }
    if (nextSentence > pageSentenceCount) {
        if (readingMode == RepeatPage) {
            nextSentence = 1;
            autoReadPause = true;
            schedule(memberCallback(&PageLayer::onAutoReadTick), kAutoReadStartInterval);
        } else if (readingMode == ReadOn) {
            autoReadPause = true;
            onNextPage(nullptr);
        }
        return;
    }

    int k = nextSentence;
    unfocusCurrentSentence();
    currentSentenceButton = sentenceButton(k);
    if (currentSentenceButton) currentSentenceButton->setFocus(true);

    int number = sentenceNumber(currentPage, k);
    CCDictionary* captions = CCDictionary::createWithContentsOfFile(kCaptionTexts);
    const CCString* caption = captions ? dynamic_cast<const CCString*>(captions->objectForKey(
                                             captionKeyForNumber(currentPage, number)))
                                       : nullptr;
    if (currentSentenceButton && captionLabel && captionBackground)
        presentCaption(this, currentSentenceButton, caption);
    startRecording(recordingNameForNumber(currentPage, number));
    nextSentence += 1;
    autoReadPause = true;
    schedule(memberCallback(&PageLayer::onAutoReadTick), kAutoReadInterval);
}

// ---------------------------------------------------------------- page stepping

void PageLayer::leave() {
    m_leaving = true;
    stopTimelines();
    unscheduleAllSelectors();
    setTouchEnabled(false);
    setKeypadEnabled(false);
}

void PageLayer::turnTo(int direction) {
    if (m_leaving) return;
    setTouchEnabled(false);
    setKeypadEnabled(false);
    currentPage += direction;
    turnDirection = direction;
    showPageScene();
}

void PageLayer::onPreviousPage(CCObject*) {
    if (currentPage > kFirstPage) turnTo(-1);
}

void PageLayer::onNextPage(CCObject*) {
    if (currentPage < kLastPage) turnTo(+1);
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
    float x = touch->getLocation().x, s = m_touchStart.x;
    if (x > s && x - s >= kSwipeDistance && currentPage > kFirstPage) {
        m_touchStart.x = x;
        turnTo(-1);
    } else if (s > x && s - x >= kSwipeDistance && currentPage < kLastPage) {
        m_touchStart.x = x;
        turnTo(+1);
    }
}

void PageLayer::ccTouchesEnded(CCSet* touches, CCEvent*) {
    CCTouch* touch = static_cast<CCTouch*>(touches->anyObject());
    if (touch && touch->getID() == m_touchId) m_touchId = -1;
}

void PageLayer::ccTouchesCancelled(CCSet* touches, CCEvent* event) {
    ccTouchesEnded(touches, event);
}

namespace {
const char* const kPageKeys[] = {
    "Left / Right: previous / next page",
    "Space: read the page aloud / stop",
    "Down / Up: next / previous sentence",
    "R: the current sentence again",
    "E: echo pauses on / off (time to say each sentence after it)",
    "S: reading mode",
    "- / +: slower / faster speech",
    "Escape: main page",
    "F11: full screen on / off",
    "F1 or ?: this list",
    nullptr,
};
}  // namespace

void PageLayer::keyPressed(int keyCode) {
    if (m_leaving) return;
    if (m_keyHelp.handleKey(this, keyCode, kPageKeys)) return;
    switch (keyCode) {
        case kKeyArrowDown:
            stepSentence(+1);
            break;
        case kKeyArrowUp:
            stepSentence(-1);
            break;
        case kKeyR:
            replaySentence();
            break;
        case kKeyS:
            if (m_settings) onSettings(m_settings);
            break;
        case kKeyE:
            echoPauses = !echoPauses;
            showFadingNote(this, echoPauses ? "Echo pauses on" : "Echo pauses off");
            break;
        case kKeyLeft:
            onPreviousPage(nullptr);
            break;
        case kKeyRight:
            onNextPage(nullptr);
            break;
        case kKeySpace:
            if (m_playPause && m_playPause->isVisible()) onPlayPause(m_playPause);
            break;
        case kKeyEscape:
            onMainPage(nullptr);
            break;
        case kKeyMinus:
            changeSpeechSpeed(this, -1);
            break;
        case kKeyPlus:
            changeSpeechSpeed(this, +1);
            break;
        default:
            break;
    }
}

void PageLayer::stepSentence(int direction) {
    // The current sentence: the one shown pressed, else the one automatic reading is at.
    int current = currentSentenceButton
                      ? sentenceIndexFromNumber(currentPage, currentSentenceButton->getActionTag())
                      : nextSentence - 1;
    for (int i = current + direction; i >= 1 && i <= pageSentenceCount; i += direction) {
        if (UIButton* button = sentenceButton(i)) {
            onSentenceTouched(button, TouchBegan);
            return;
        }
    }
}

void PageLayer::replaySentence() {
    UIButton* button = currentSentenceButton;
    if (!button) return;
    // A touch never restarts the sentence that is playing: silence it first.
    audioEngine()->stopBackgroundMusic();
    onSentenceTouched(button, TouchBegan);
}

CCLabelTTF* PageLayer::noteLabel() { return fadingNoteLabel(this); }

void PageLayer::showPageScene() {
    leave();
    currentSentenceButton = nullptr;
    PageScene* scene = new PageScene();
    scene->init();
    PageLayer* layer = createOtherLayer();
    scene->addChild(layer);
    CCDirector* director = CCDirector::sharedDirector();
    director->setDepthTest(false);
    director->setDepthTest(true);
    CCTransitionPageTurn* turn = CCTransitionPageTurn::create(0.5f, scene, turnDirection == -1);
    scene->release();
    layer->release();
    director->replaceScene(turn);
}

// ---------------------------------------------------------------- leaving the page

void PageLayer::onMainPage(CCObject*) {
    if (m_leaving) return;
    leave();
    showMainPage();
}

void PageLayer::onSettings(CCObject*) {
    if (m_leaving) return;
    leave();
    PageScene* scene = new PageScene();
    scene->init();
    SetLayer* layer = new SetLayer();
    scene->addChild(layer);
    CCDirector::sharedDirector()->setDepthTest(false);
    CCTransitionZoomFlipY* flip =
        CCTransitionZoomFlipY::create(0.5f, scene, kTransitionOrientationDownOver);
    scene->release();
    layer->release();
    CCDirector::sharedDirector()->replaceScene(flip);
}

}  // namespace pagly
