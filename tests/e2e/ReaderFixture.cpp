#include "ReaderFixture.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/AppDelegate.h"
#include "app/BookNames.h"
#include "app/Navigator.h"
#include "app/PageLayer.h"
#include "app/ReadingSession.h"
#include "app/TestController.h"
#include "app/VisibleArea.h"
#include "engine/audio/PcmSound.h"
#include "engine/audio/analysis/SpeechFeatures.h"
#include "engine/director/CCDirector.h"
#include "engine/nodes/CCScene.h"
#include "engine/platform/CCFileUtils.h"
#include "gui/UIButton.h"
#include "gui/UILayer.h"
#include "gui/UIRootWidget.h"
#include "gui/WidgetHelper.h"

using namespace pagly::engine;
using namespace pagly::gui;

namespace pagly::test {

const std::string& ReaderTest::sandbox() {
    static std::string dir;
    if (dir.empty()) {
        char templ[] = "/tmp/pagly-book-XXXXXX";
        dir = mkdtemp(templ);
        // Gone when the test program ends (the links only: the book itself is never touched).
        atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(sandbox(), ignored);
        });
        // Link every entry of the book into the sandbox.
        if (DIR* d = opendir(PAGLY_BOOK_DIR)) {
            while (dirent* e = readdir(d)) {
                std::string name = e->d_name;
                if (name == "." || name == ".." || name == "ft.xml") continue;
                std::string target = std::string(PAGLY_BOOK_DIR) + "/" + name;
                symlink(target.c_str(), (dir + "/" + name).c_str());
            }
            closedir(d);
        }
    }
    return dir;
}

std::string ReaderTest::markerPath() { return sandbox() + "/ft.xml"; }

std::string ReaderTest::userDataFolder() { return sandbox() + "/.userdata"; }

std::string ReaderTest::bookKey() { return std::filesystem::canonical(sandbox()).string(); }

std::vector<std::string> ReaderTest::stateFileTemporaries() {
    std::vector<std::string> found;
    std::string folder = userDataFolder() + "/pagly";
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ignored)) {
        std::string name = entry.path().filename().string();
        // The lock file stays, as it must: a temporary file is any other.
        if (name.rfind("state.txt.", 0) == 0 && name != "state.txt.lock") found.push_back(name);
    }
    return found;
}

void ReaderTest::SetUp() {
    AudioEngineTest::SetUp();
    CCFileUtils::sharedFileUtils()->setResourceRoot(sandbox());
    remove(markerPath().c_str());
    // The user's data folder of this machine is none of the tests' business: a marker left
    // there by a real run must not change what they see, nor may they leave one behind.
    const char* data = getenv("XDG_DATA_HOME");
    m_savedDataHome = data ? data : "";
    m_hadDataHome = data != nullptr;
    setenv("XDG_DATA_HOME", userDataFolder().c_str(), 1);
    remove((userDataFolder() + "/pagly/ft.xml").c_str());
    m_app = std::make_unique<AppDelegate>();
    VisibleArea::reset();
}

void ReaderTest::TearDown() {
    // The screens go first: they tell the session when they go.
    AudioEngineTest::TearDown();
    if (m_app) m_app->readingSession().resume.flush();
    m_app.reset();
    CCFileUtils::sharedFileUtils()->setResourceRoot(PAGLY_BOOK_DIR);
    if (m_hadDataHome) {
        setenv("XDG_DATA_HOME", m_savedDataHome.c_str(), 1);
    } else {
        unsetenv("XDG_DATA_HOME");
    }
}

void ReaderTest::startOnMainPage() {
    CCScene* scene = CCScene::create();
    TestController* mainPage = new TestController();
    mainPage->autorelease();
    scene->addChild(mainPage);
    run(scene);
}

void ReaderTest::newRun() {
    if (m_app) m_app->readingSession().resume.flush();
    m_app.reset();
    m_app = std::make_unique<AppDelegate>();
    m_app->startSession();
}

void ReaderTest::openPage(int pageNumber) {
    session().currentPage = pageNumber;
    navigator::openPage();
    step();
}

CCNode* ReaderTest::firstChildOfRunningScene() const {
    CCScene* scene = CCDirector::sharedDirector()->getRunningScene();
    if (!scene || !scene->getChildren() || scene->getChildren()->count() == 0) return nullptr;
    return static_cast<CCNode*>(scene->getChildren()->objectAtIndex(0));
}

PageLayer* ReaderTest::page() const { return runningLayer<PageLayer>(); }

UIButton* ReaderTest::sentenceButton(int index) const {
    PageLayer* layer = page();
    if (!layer) return nullptr;
    return dynamic_cast<UIButton*>(
        WidgetHelper::findWidgetByName(layer->uiLayer()->getRootWidget(),
                                       sentenceButtonName(session().currentPage, index).c_str()));
}

CCPoint ReaderTest::centreOf(UIWidget* widget) {
    CCNode* node = widget->getContainerNode();
    CCPoint anchorInWorld = node->getParent()->convertToWorldSpace(node->getPosition());
    // The widget's position is its anchor; its centre lies the anchor's distance away.
    CCSize size = widget->getSize();
    CCPoint anchor = widget->getAnchorPoint();
    return anchorInWorld + CCPoint((0.5f - anchor.x) * size.width * widget->getScaleX(),
                                   (0.5f - anchor.y) * size.height * widget->getScaleY());
}

CCPoint ReaderTest::centreOf(CCNode* node) {
    CCSize size = node->getContentSize();
    return node->convertToWorldSpace(CCPoint(size.width / 2, size.height / 2));
}

std::string ReaderTest::recordingOf(int pageNumber, int index) {
    return recordingPath(pageNumber, index);
}

std::vector<float> ReaderTest::recordingAt16k(int pageNumber, int index) {
    CCFileUtils* files = CCFileUtils::sharedFileUtils();
    std::string bytes;
    files->readFile(files->fullPathForFilename(recordingOf(pageNumber, index)), bytes);
    audio::PcmSound sound;
    audio::decodeMp3(bytes, sound);
    return audio::speech::monoAt16k(sound);
}

std::string ReaderTest::convertedFixtureEpub(const std::string& makeOptions) {
#if defined(PAGLY_IMPORT_EXE) && defined(PAGLY_MAKE_EPUB)
    if (access("/usr/bin/chromium", X_OK) != 0 && !getenv("PAGLY_CHROMIUM")) return "";
    // Kept apart from the strings destroyed at exit, which may go before the folders do.
    static std::vector<std::string>* made = nullptr;
    if (!made) {
        made = new std::vector<std::string>();
        atexit([] {
            std::error_code ignored;
            for (const std::string& dir : *made) std::filesystem::remove_all(dir, ignored);
        });
    }
    char templ[] = "/tmp/pagly-imported-XXXXXX";
    if (!mkdtemp(templ)) return "";
    std::string dir = templ;
    made->push_back(dir);
    std::string epub = dir + "/book.epub", out = dir + "/book";
    std::string make =
        "python3 '" PAGLY_MAKE_EPUB "' '" + epub + "' " + makeOptions + " > /dev/null";
    std::string convert = "'" PAGLY_IMPORT_EXE "' --chrome '" PAGLY_BOOK_DIR "' '" + epub + "' '" +
                          out + "' > /dev/null";
    if (system(make.c_str()) != 0 || system(convert.c_str()) != 0) return "";
    return out;
#else
    (void)makeOptions;
    return "";
#endif
}

std::string ReaderTest::linkedBookWith(const std::string& description) {
    char templ[] = "/tmp/pagly-described-XXXXXX";
    if (!mkdtemp(templ)) return "";
    std::string dir = templ;
    for (const auto& entry : std::filesystem::directory_iterator(sandbox())) {
        std::string name = entry.path().filename().string();
        if (name[0] != '.' && name != "ft.xml")
            std::filesystem::create_symlink(std::filesystem::read_symlink(entry.path()),
                                            dir + "/" + name);
    }
    std::ofstream(dir + "/book.json") << description;
    return dir;
}

bool ReaderTest::useBookFolder(const std::string& folder) {
    if (folder.empty()) return false;
    CCFileUtils::sharedFileUtils()->setResourceRoot(folder);
    newRun();
    return true;
}

std::vector<ReaderTest::Playback> ReaderTest::listenFor(size_t count, double seconds) {
    std::vector<Playback> heard;
    std::string playing;
    for (double from = now(); now() - from < seconds && heard.size() < count;) {
        step();
        std::string current = m_audio.isPlaying() ? m_audio.current() : "";
        if (current != playing) {
            if (!playing.empty()) heard.back().end = now();
            if (!current.empty()) heard.push_back({current, now(), 0});
            playing = current;
        }
    }
    return heard;
}

}  // namespace pagly::test
