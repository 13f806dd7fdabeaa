// The first open of a book from elsewhere (see ImportScreen.h).
#include "app/ImportScreen.h"

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "app/BookRefusal.h"
#include "app/CommandLine.h"
#include "app/ProblemList.h"
#include "app/VisibleArea.h"
#include "engine/director/CCKeypadDispatcher.h"
#include "engine/director/CCTouch.h"
#include "engine/director/CCTouchDispatcher.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCLayerColor.h"
#include "engine/platform/CCApplication.h"

using namespace pagly::engine;

namespace pagly {

namespace {
const float kBarWidth = 520, kBarHeight = 26, kTextWidth = 560;
const float kButtonWidth = 300, kButtonHeight = 70;
// A touch that moves less than this is a tap, not a drag of the list.
const float kTapSlop = 12;
const ccColor3B kInk(40, 48, 70);
const ccColor3B kQuietInk(110, 116, 130);
const ccColor3B kButtonInk(255, 255, 255);

CCLabelTTF* addLabel(CCNode* parent, float size, const ccColor3B& colour, float y) {
    CCLabelTTF* label =
        CCLabelTTF::create("", "Arial", size, CCSize(kTextWidth, 0), kTextAlignmentCenter);
    label->setColor(colour);
    label->setPosition(CCPoint(VisibleArea::center().x, y));
    parent->addChild(label, 1);
    return label;
}

const char* const kImportKeys[] = {
    "Mouse wheel, Up / Down: scroll the list of things the book cannot use",
    "Enter or Space: open the ready book",
    "Escape: close the reader (the book is got ready on its next open)",
    "Any key, once the book cannot be opened: close the reader",
    "F1 or ?: this list",
    nullptr,
};

std::string thingsText(int count) {
    return count == 1 ? "1 thing in the book cannot be used:"
                      : std::to_string(count) + " things in the book cannot be used:";
}
}  // namespace

ImportScreen::ImportScreen(const std::string& source, RefusedHandler onRefused)
    : m_source(source), m_onRefused(std::move(onRefused)) {
    init();
    CCPoint middle = VisibleArea::center();
    addChild(CCLayerColor::create(ccColor4B(248, 245, 236, 255)), 0);
    m_heading = addLabel(this, 34, kInk, middle.y + 360);
    m_detail = addLabel(this, 24, kQuietInk, middle.y + 300);
    m_detail->setString(shownBookName(source).c_str());
    m_barBack = CCLayerColor::create(ccColor4B(214, 210, 198, 255), kBarWidth, kBarHeight);
    m_barBack->setPosition(CCPoint(middle.x - kBarWidth / 2, middle.y + 200 - kBarHeight / 2));
    addChild(m_barBack, 1);
    m_barFill = CCLayerColor::create(ccColor4B(58, 140, 92, 255), 0, kBarHeight);
    m_barFill->setPosition(m_barBack->getPosition());
    addChild(m_barFill, 2);
    m_progress = addLabel(this, 28, kInk, middle.y + 140);
    m_note = addLabel(this, 22, kQuietInk, middle.y + 40);
    m_list = ProblemList::create(CCRect(middle.x - 280, middle.y - 330, 560, 340));
    m_list->setVisible(false);
    addChild(m_list, 1);
    m_button = CCLayerColor::create(ccColor4B(58, 110, 170, 255), kButtonWidth, kButtonHeight);
    m_button->setPosition(CCPoint(middle.x - kButtonWidth / 2, middle.y - 440));
    m_button->setVisible(false);
    addChild(m_button, 1);
    m_buttonLabel = CCLabelTTF::create("", "Arial", 28);
    m_buttonLabel->setColor(kButtonInk);
    m_buttonLabel->setPosition(CCPoint(kButtonWidth / 2, kButtonHeight / 2));
    m_button->addChild(m_buttonLabel);
    // Every touch is the screen's: nothing lies under it.
    setTouchMode(kTouchesOneByOne);
    setTouchEnabled(true);
    setKeypadEnabled(true);
}

ImportScreen::ImportScreen(const ImportJob& job, ReadyHandler onReady, RefusedHandler onRefused)
    : ImportScreen(job.source, std::move(onRefused)) {
    m_job = job;
    m_onReady = std::move(onReady);
    m_heading->setString("Getting the book ready");
    showProgress();
    scheduleUpdate();
}

ImportScreen::~ImportScreen() {
    // A book still being read is left at its next block.
    m_stop = true;
    if (m_locating.valid()) m_locating.wait();
}

ImportScreen* ImportScreen::failed(const std::string& source, const std::string& plainReason,
                                   RefusedHandler onRefused) {
    ImportScreen* screen = new ImportScreen(source, std::move(onRefused));
    screen->autorelease();
    screen->showFailure(plainReason);
    return screen;
}

void ImportScreen::update(float) {
    if (m_phase == Phase::Locating) {
        if (!m_job.folder.empty()) return located({m_job.folder, ""});
        if (!m_job.locate) return located({"", "nothing finds the converted folder"});
        if (!m_locating.valid()) {
            // Started from the first frame on, so the window is up before the book is read.
            ImportJob::Locator locate = m_job.locate;
            std::atomic<bool>* stop = &m_stop;
            m_locating = std::async(std::launch::async, [locate, stop] {
                Located result;
                result.folder = locate(&result.problem, stop);
                return result;
            });
            return;
        }
        if (m_locating.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return;
        return located(m_locating.get());
    }
    if (m_phase != Phase::Converting) return;
    ImportRun::State state = m_run->poll();
    showProgress();
    if (state == ImportRun::State::Running) return;
    unscheduleUpdate();
    if (state == ImportRun::State::Failed) {
        showFailure(m_run->importerFailed() ? plainImporterFailure()
                                            : plainImportRefusal(m_source, m_run->failure()));
        return;
    }
    // An importer that says it is done but left no book must not open an empty reader.
    std::string problem = bookFolderProblem(m_job.folder);
    if (!problem.empty()) {
        fprintf(stderr, "pagly: the importer finished, but %s\n", problem.c_str());
        showFailure(plainSavingProblem(m_source));
        return;
    }
    if (m_run->problemCount() > 0) return showReady();
    open();
}

void ImportScreen::located(const Located& result) {
    if (result.folder.empty()) {
        unscheduleUpdate();
        fprintf(stderr, "pagly: %s\n", result.problem.c_str());
        showFailure(plainImportRefusal(m_source, result.problem));
        return;
    }
    m_job.folder = result.folder;
    // The importer renames its folder into place only when it has finished it.
    if (bookFolderProblem(m_job.folder).empty()) {
        unscheduleUpdate();
        return open();
    }
    startImport();
}

void ImportScreen::startImport() {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(m_job.folder).parent_path(), ec);
    if (ec) {
        unscheduleUpdate();
        fprintf(stderr, "pagly: cannot make the folder for converted books: %s\n",
                ec.message().c_str());
        return showFailure(plainSavingProblem(m_source));
    }
    m_run = std::make_unique<ImportRun>();
    if (!m_run->start(m_job.importer, m_job.source, m_job.folder)) {
        unscheduleUpdate();
        fprintf(stderr, "pagly: %s\n", m_run->failure().c_str());
        return showFailure(plainImporterFailure());
    }
    m_phase = Phase::Converting;
}

void ImportScreen::showProgress() {
    int done = m_run ? m_run->pagesDone() : 0, count = m_run ? m_run->pageCount() : 0;
    float fraction = count > 0 ? static_cast<float>(done) / count : 0.f;
    if (fraction != m_fraction || count == 0) {
        m_fraction = fraction;
        m_barFill->changeWidth(kBarWidth * fraction);
    }
    std::string text = count > 0 ? "page " + std::to_string(done) + " of " + std::to_string(count)
                                 : std::string("reading the book");
    if (text != m_progress->getString()) m_progress->setString(text.c_str());
    showProblems();
}

void ImportScreen::showProblems() {
    int problems = m_run ? m_run->problemCount() : 0;
    if (problems == m_shownProblems) return;
    m_shownProblems = problems;
    m_note->setString(thingsText(problems).c_str());
    m_list->setLines(m_run->problems(), problems);
    m_list->setVisible(true);
}

void ImportScreen::showFailure(const std::string& plainReason) {
    m_phase = Phase::Failed;
    m_heading->setString("This book cannot be opened");
    m_barBack->setVisible(false);
    m_barFill->setVisible(false);
    // The reason reads from the top down, under the book's name.
    m_progress->setFontSize(24);
    m_progress->setAnchorPoint(CCPoint(0.5f, 1));
    m_progress->setPositionY(VisibleArea::center().y + 250);
    m_progress->setString(plainReason.c_str());
    if (m_shownProblems > 0) m_note->setPositionY(VisibleArea::center().y + 30);
    m_buttonLabel->setString("Close");
    m_button->setVisible(true);
    if (m_onRefused) m_onRefused();
}

void ImportScreen::showReady() {
    m_phase = Phase::Ready;
    m_heading->setString("The book is ready");
    m_barBack->setVisible(false);
    m_barFill->setVisible(false);
    m_progress->setFontSize(24);
    m_progress->setString("It opens without the things listed below.");
    m_buttonLabel->setString("Open the book");
    m_button->setVisible(true);
}

void ImportScreen::open() {
    // The handler replaces this screen; keep it alive until the call returns.
    retain();
    ReadyHandler ready = m_onReady;
    if (ready) ready(m_job.folder);
    release();
}

void ImportScreen::act() {
    if (m_phase == Phase::Failed) CCApplication::sharedApplication()->quit();
    if (m_phase == Phase::Ready) open();
}

bool ImportScreen::ccTouchBegan(CCTouch* touch, CCEvent*) {
    m_dragging = m_list->isVisible() && m_list->contains(convertToNodeSpace(touch->getLocation()));
    m_moved = 0;
    return true;
}

void ImportScreen::ccTouchMoved(CCTouch* touch, CCEvent*) {
    CCPoint delta = touch->getDelta();
    m_moved += std::abs(delta.x) + std::abs(delta.y);
    // Dragging the lines up shows those further down.
    if (m_dragging) m_list->scrollBy(delta.y);
}

void ImportScreen::ccTouchEnded(CCTouch*, CCEvent*) {
    // A tap on the list is for reading it; anywhere else it closes or opens.
    if (m_moved < kTapSlop && !m_dragging) act();
}

void ImportScreen::keyPressed(int keyCode) {
    if (m_keyHelp.handleKey(this, keyCode, kImportKeys)) return;
    if (keyCode == kKeyUp || keyCode == kKeyArrowUp) return m_list->scrollLines(-1);
    if (keyCode == kKeyDown || keyCode == kKeyArrowDown) return m_list->scrollLines(1);
    if (m_phase == Phase::Failed || keyCode == kKeyEscape) {
        CCApplication::sharedApplication()->quit();
        return;
    }
    if (m_phase == Phase::Ready && (keyCode == kKeyEnter || keyCode == kKeySpace)) open();
}

std::string ImportScreen::progressText() const { return m_progress->getString(); }
std::string ImportScreen::headingText() const { return m_heading->getString(); }
std::string ImportScreen::noteText() const { return m_note->getString(); }
std::string ImportScreen::buttonText() const {
    return m_button->isVisible() ? m_buttonLabel->getString() : "";
}

}  // namespace pagly
