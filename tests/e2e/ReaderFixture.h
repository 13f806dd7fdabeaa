#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/AppDelegate.h"
#include "engine/base/CCGeometry.h"
#include "support/VirtualAudio.h"

namespace pagly::engine {
class CCNode;
class CCScene;
}  // namespace pagly::engine

namespace pagly::gui {
class UIButton;
class UIWidget;
}  // namespace pagly::gui

namespace pagly {
class PageLayer;
}

namespace pagly::test {

// Drives the real screens of the reader as a learner would: the bundled book (seen through a
// sandbox folder of links, so the first-run marker never lands in the source tree), a fresh
// reading state, virtual time and silent virtual-clock audio.
class ReaderTest : public AudioEngineTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The sandbox book folder; the marker file path in it.
    static const std::string& sandbox();
    static std::string markerPath();
    // Stands in for the user's data folder (XDG_DATA_HOME) while a test runs.
    static std::string userDataFolder();
    // The book's key in the state file: the sandbox folder's real path.
    static std::string bookKey();
    // Temporary files left beside the state file (a write that was not renamed into place).
    static std::vector<std::string> stateFileTemporaries();

    // Starts on the main page, as the application does.
    void startOnMainPage();
    // What a new run of the reader does first: a fresh application whose session opens the
    // book and reads what the last run remembered (the screens stay until replaced).
    void newRun();
    AppDelegate& application() { return *m_app; }
    // Opens `page` from the table of contents (as tapping its line does).
    void openPage(int page);
    // Lets a running transition finish.
    void settle() { advance(0.7); }

    // The running scene's first child of type T, or null.
    template <class T>
    T* runningLayer() const;
    engine::CCNode* firstChildOfRunningScene() const;
    PageLayer* page() const;

    // The sentence button `index` on the current page, or null.
    gui::UIButton* sentenceButton(int index) const;
    // A widget's centre in world (design) coordinates.
    static engine::CCPoint centreOf(gui::UIWidget* widget);
    // A menu item's centre in world coordinates.
    static engine::CCPoint centreOf(engine::CCNode* node);
    void tapAt(const engine::CCPoint& p) { tap(p.x, p.y); }

    // The recording file of sentence `index` on `page`.
    static std::string recordingOf(int page, int index);
    // That recording decoded, mono at the speech analysis's rate (16 kHz).
    static std::vector<float> recordingAt16k(int page, int index);
    // An EPUB made by the fixture maker with `makeOptions`, converted by the importer into a
    // book folder that lasts until the test program ends; "" when there is no browser to
    // convert it with (or either step fails).
    static std::string convertedFixtureEpub(const std::string& makeOptions);
    // A new folder holding links to the course book's files and `description` as its
    // book.json; the caller removes it.
    static std::string linkedBookWith(const std::string& description);
    // Opens `folder` as the book of a new run; false (nothing changed) when it is "".
    bool useBookFolder(const std::string& folder);

    // A recording as it was heard: its file, and when it started and stopped (virtual time).
    struct Playback {
        std::string file;
        double start, end;
    };
    // Steps frame by frame until `count` recordings have started or `seconds` have passed,
    // noting each one as it starts and stops.
    std::vector<Playback> listenFor(size_t count, double seconds);

  private:
    std::unique_ptr<AppDelegate> m_app;
    std::string m_savedDataHome;
    bool m_hadDataHome = false;
};

template <class T>
T* ReaderTest::runningLayer() const {
    return dynamic_cast<T*>(firstChildOfRunningScene());
}

}  // namespace pagly::test
