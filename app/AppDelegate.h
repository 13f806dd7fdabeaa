#pragma once

#include <string>

#include "app/ReadingSession.h"
#include "engine/platform/CCApplication.h"

namespace pagly::engine {
class CCScene;
}

namespace pagly {

// The application: owns the learner's reading session; configures the director and the view
// when the engine has launched and shows the main page; stops and restarts drawing when the
// window is minimised and restored.
class AppDelegate : public engine::CCApplication {
  public:
    AppDelegate() = default;
    ~AppDelegate() override = default;
    bool applicationDidFinishLaunching() override;
    void applicationDidEnterBackground() override;
    void applicationWillEnterForeground() override;

    // Opens the session on the book at the resource root: its units and pages, and what the
    // learner's last run remembered (the page in this book and the speech speed).
    void startSession();
    ReadingSession& readingSession() { return m_session; }

    // Points the reader at the book `path` names: a book folder as it is, a book from
    // elsewhere at its converted folder, or (on its first open) at the import it needs first,
    // with the importer found from `readerPath`. Returns why it cannot, or "".
    std::string chooseBook(const std::string& path, const std::string& readerPath);
    bool hasPendingImport() const { return !m_pendingImport.source.empty(); }

    // A book from elsewhere that has no converted folder yet: the reader opens on the import
    // screen, runs `importer` on `source` into `folder`, then opens the folder as the book.
    struct PendingImport {
        std::string source, folder, importer;
    };
    void importFirst(const PendingImport& pending) { m_pendingImport = pending; }
    // Opens the converted folder as the book: its session, then its main page.
    void openConvertedBook(const std::string& folder);
    // The import screen's scene for the pending import (autoreleased).
    engine::CCScene* importScene();

  private:
    ReadingSession m_session;
    PendingImport m_pendingImport;
};

}  // namespace pagly
