#pragma once

#include "app/Book.h"
#include "app/ResumeState.h"
#include "engine/base/CCGeometry.h"

namespace pagly::engine {
class CCLabelTTF;
}  // namespace pagly::engine

namespace pagly::gui {
class UIButton;
}  // namespace pagly::gui

// One learner's run of the reader: the book, where they are in it, how it reads, and what is
// remembered for the next run. The application delegate owns it; the screens hand the current
// page, the reading mode and the sentence being read to each other through it. Engine thread
// only.
namespace pagly {

enum ReadingMode {
    ReadByTouch = 1,  // sentences play only when touched; no play/pause item
    RepeatPage = 2,   // automatic reading starts the page again at its end
    ReadOn = 3,       // automatic reading turns to the next page and goes on
};

struct ReadingSession {
    Book book = Book::standard();
    ResumeMemory resume;

    // The page reader.
    int currentPage = 0;
    ReadingMode readingMode = ReadOn;
    bool autoReadOn = false;
    int turnDirection = 0;  // -1 back, +1 forward, 0 none
    int pageSentenceCount = 0;
    int nextSentence = 0;
    bool autoReadPause = false;
    // Automatic reading leaves time to repeat each sentence aloud (the E key); off at start.
    bool echoPauses = false;
    // With echo pauses on, the learner is recorded in each pause and hears it back (Shift+E).
    bool shadowing = false;
    // Non-owning: widgets and labels of the page or overlay that is running, cleared by it
    // when it goes.
    gui::UIButton* currentSentenceButton = nullptr;
    engine::CCLabelTTF* captionLabel = nullptr;
    gui::UIButton* captionBackground = nullptr;
    gui::UIButton* selectedSettingButton = nullptr;

    // The main page and the table of contents.
    int selectedUnit = 0;
    engine::CCPoint mainPageListOffset{0, 0};
    int unitFirstPage = 2;
    int unitLastPage = 11;
    int unitPageCount = 10;
    engine::CCPoint pageListOffset{0, 0};
};

// The session of the running application; the program stops with a message when there is no
// application (a screen built outside one is a programming error).
ReadingSession& session();
// The same, or null when no application runs (for destructors that may outlive it).
ReadingSession* currentSession();

}  // namespace pagly
