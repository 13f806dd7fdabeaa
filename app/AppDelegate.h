#pragma once

#include <string>

#include "app/ImportScreen.h"
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

    // Points the reader at the book `path` names: a book folder as it is (read-only when it
    // lies in an installed share folder, found from `readerPath`), a book from elsewhere at
    // its converted folder when that is remembered, else at the import screen, which reads
    // the book and converts it with the importer found from `readerPath`. Nothing here reads a
    // whole book. When `path` is no book, returns why (for the terminal) and the reader opens
    // on a screen that says so in plain words.
    std::string chooseBook(const std::string& path, const std::string& readerPath);
    bool hasPendingImport() const { return !m_pendingImport.source.empty(); }
    const ImportJob& pendingImport() const { return m_pendingImport; }
    bool hasRefusal() const { return !m_refusal.empty(); }

    // A book from elsewhere that has no converted folder yet: the reader opens on the import
    // screen, which gets the book ready, then opens the converted folder as the book.
    using PendingImport = ImportJob;
    void importFirst(const PendingImport& pending) { m_pendingImport = pending; }
    // Opens the converted folder as the book: its session, then its main page.
    void openConvertedBook(const std::string& folder);
    // The first scene when the book is not opened straight away: the import screen for the
    // pending import, or the screen that says why the book cannot be opened (autoreleased).
    engine::CCScene* importScene();

    // The process's exit status once the window is closed: 1 when the book was refused (the
    // window said why), else 0.
    int exitStatus() const { return m_bookRefused ? 1 : 0; }

  private:
    ReadingSession m_session;
    PendingImport m_pendingImport;
    std::string m_refusal, m_refusedPath;  // the plain words for a path that is no book
    bool m_bookRefused = false;
};

}  // namespace pagly
