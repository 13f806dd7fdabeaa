// The first open of a book from elsewhere (see ImportScreen.h).
#include "app/ImportScreen.h"

#include "app/CommandLine.h"
#include "app/VisibleArea.h"
#include "engine/director/CCKeypadDispatcher.h"
#include "engine/director/CCTouchDispatcher.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCLayerColor.h"
#include "engine/platform/CCApplication.h"

using namespace pagly::engine;

namespace pagly {

namespace {
const float kBarWidth = 520, kBarHeight = 26, kTextWidth = 560;
const ccColor3B kInk(40, 48, 70);
const ccColor3B kQuietInk(110, 116, 130);

CCLabelTTF* addLabel(CCNode* parent, float size, const ccColor3B& colour, float y) {
    CCLabelTTF* label =
        CCLabelTTF::create("", "Arial", size, CCSize(kTextWidth, 0), kTextAlignmentCenter);
    label->setColor(colour);
    label->setPosition(CCPoint(VisibleArea::center().x, y));
    parent->addChild(label, 1);
    return label;
}
}  // namespace

ImportScreen::ImportScreen(const std::string& bookName) {
    init();
    CCPoint middle = VisibleArea::center();
    CCLayerColor* paper = CCLayerColor::create(ccColor4B(248, 245, 236, 255));
    addChild(paper, 0);
    m_heading = addLabel(this, 34, kInk, middle.y + 150);
    m_detail = addLabel(this, 24, kQuietInk, middle.y + 90);
    m_detail->setString(bookName.c_str());
    m_barBack = CCLayerColor::create(ccColor4B(214, 210, 198, 255), kBarWidth, kBarHeight);
    m_barBack->setPosition(CCPoint(middle.x - kBarWidth / 2, middle.y - kBarHeight / 2));
    addChild(m_barBack, 1);
    m_barFill = CCLayerColor::create(ccColor4B(58, 140, 92, 255), 0, kBarHeight);
    m_barFill->setPosition(m_barBack->getPosition());
    addChild(m_barFill, 2);
    m_progress = addLabel(this, 28, kInk, middle.y - 60);
    m_note = addLabel(this, 20, kQuietInk, middle.y - 130);
    // Every touch is the screen's: nothing lies under it.
    setTouchMode(kTouchesOneByOne);
    setTouchEnabled(true);
    setKeypadEnabled(true);
}

ImportScreen::ImportScreen(std::unique_ptr<ImportRun> run, const std::string& bookName,
                           const std::string& folder, ReadyHandler onReady)
    : ImportScreen(bookName) {
    m_run = std::move(run);
    m_folder = folder;
    m_onReady = std::move(onReady);
    m_heading->setString("Getting the book ready");
    showProgress();
    scheduleUpdate();
}

ImportScreen* ImportScreen::failed(const std::string& bookName, const std::string& reason) {
    ImportScreen* screen = new ImportScreen(bookName);
    screen->autorelease();
    screen->showFailure(reason);
    return screen;
}

void ImportScreen::update(float) {
    if (!m_run || m_failed) return;
    ImportRun::State state = m_run->poll();
    showProgress();
    if (state == ImportRun::State::Running) return;
    unscheduleUpdate();
    if (state == ImportRun::State::Failed) {
        showFailure(m_run->failure());
        return;
    }
    // An importer that says it is done but left no book must not open an empty reader.
    std::string problem = bookFolderProblem(m_folder);
    if (!problem.empty()) {
        showFailure("the importer finished, but " + problem);
        return;
    }
    // The handler replaces this screen; keep it alive until the call returns.
    retain();
    ReadyHandler ready = m_onReady;
    if (ready) ready(m_folder);
    release();
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
    int problems = m_run ? m_run->problemCount() : 0;
    std::string note;
    if (problems == 1) note = "1 thing in the book cannot be used (the terminal says which)";
    if (problems > 1)
        note = std::to_string(problems) +
               " things in the book cannot be used (the terminal says which)";
    if (note != m_note->getString()) m_note->setString(note.c_str());
}

void ImportScreen::showFailure(const std::string& reason) {
    m_failed = true;
    m_heading->setString("This book cannot be opened");
    m_barBack->setVisible(false);
    m_barFill->setVisible(false);
    m_progress->setString(reason.c_str());
    m_progress->setFontSize(22);
    m_note->setString("Click or press a key to close the reader");
}

bool ImportScreen::ccTouchBegan(CCTouch*, CCEvent*) {
    if (m_failed) CCApplication::sharedApplication()->quit();
    return true;
}

void ImportScreen::keyPressed(int keyCode) {
    // A wheel notch is not a decision to leave.
    if (!m_failed || keyCode == kKeyUp || keyCode == kKeyDown) return;
    CCApplication::sharedApplication()->quit();
}

std::string ImportScreen::progressText() const { return m_progress->getString(); }
std::string ImportScreen::headingText() const { return m_heading->getString(); }

}  // namespace pagly
