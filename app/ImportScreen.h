#pragma once

#include <atomic>
#include <functional>
#include <future>
#include <memory>
#include <string>

#include "app/BookImport.h"
#include "app/KeyHelp.h"
#include "engine/nodes/CCLayer.h"

namespace pagly::engine {
class CCLabelTTF;
class CCLayerColor;
}  // namespace pagly::engine

namespace pagly {

class ProblemList;

// A book from elsewhere to get ready: where it is, the importer to run on it, and its
// converted folder when that is already known; else `locate` finds the folder (reading the
// whole book: the screen runs it on a thread of its own, after its first frame).
struct ImportJob {
    using Locator = std::function<std::string(std::string* problem, const std::atomic<bool>* stop)>;
    std::string source, folder, importer;
    Locator locate;
};

// The screen shown while a book from elsewhere is got ready on its first open: the book's
// name, "reading the book" while its bytes are read, then a bar and "page 7 of 30" as the
// importer finishes pages, and the things in the book it cannot use, in a list that scrolls.
// When the book is ready it hands the converted folder on (after showing that list, if there
// is one, until the person opens the book). When the book cannot be opened it says why in
// plain words, and a click or a key closes the reader.
class ImportScreen : public engine::CCLayer {
  public:
    using ReadyHandler = std::function<void(const std::string& folder)>;
    using RefusedHandler = std::function<void()>;

    ImportScreen(const ImportJob& job, ReadyHandler onReady, RefusedHandler onRefused);
    ~ImportScreen() override;
    // A book that cannot even be handed to the importer: the screen says why (`plainReason`,
    // in words for the person), and the book is refused.
    static ImportScreen* failed(const std::string& source, const std::string& plainReason,
                                RefusedHandler onRefused);

    void update(float dt) override;
    bool ccTouchBegan(engine::CCTouch* touch, engine::CCEvent* event) override;
    void ccTouchMoved(engine::CCTouch* touch, engine::CCEvent* event) override;
    void ccTouchEnded(engine::CCTouch* touch, engine::CCEvent* event) override;
    void keyPressed(int keyCode) override;

    // What the screen shows, for tests.
    std::string progressText() const;
    std::string headingText() const;
    std::string noteText() const;
    std::string buttonText() const;
    float barFraction() const { return m_fraction; }
    bool hasFailed() const { return m_phase == Phase::Failed; }
    bool isWaitingToOpen() const { return m_phase == Phase::Ready; }
    ProblemList* problemList() const { return m_list; }

  private:
    enum class Phase { Locating, Converting, Ready, Failed };
    struct Located {
        std::string folder, problem;
    };

    ImportScreen(const std::string& source, RefusedHandler onRefused);
    void located(const Located& result);
    void startImport();
    void showProgress();
    void showProblems();
    void showFailure(const std::string& plainReason);
    void showReady();
    void open();
    void act();

    std::string m_source;
    ImportJob m_job;
    std::unique_ptr<ImportRun> m_run;
    ReadyHandler m_onReady;
    RefusedHandler m_onRefused;
    std::atomic<bool> m_stop{false};
    std::future<Located> m_locating;
    Phase m_phase = Phase::Locating;
    float m_fraction = 0;
    int m_shownProblems = 0;
    bool m_dragging = false;
    float m_moved = 0;
    engine::CCLabelTTF* m_heading = nullptr;  // children of this layer
    engine::CCLabelTTF* m_detail = nullptr;
    engine::CCLabelTTF* m_progress = nullptr;
    engine::CCLabelTTF* m_note = nullptr;
    engine::CCLabelTTF* m_buttonLabel = nullptr;
    engine::CCLayerColor* m_barBack = nullptr;
    engine::CCLayerColor* m_barFill = nullptr;
    engine::CCLayerColor* m_button = nullptr;
    ProblemList* m_list = nullptr;
    KeyHelp m_keyHelp;
};

}  // namespace pagly
