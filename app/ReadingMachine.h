#pragma once

#include <functional>

namespace pagly {

struct ReadingSession;

// Automatic reading as a polling state machine, apart from any scene: each tick looks at
// whether a recording is playing and at the session (pause owed, next sentence, sentences on
// the page, reading mode) and says what to do and when to tick again. The page layer carries
// the steps out.
class ReadingMachine {
  public:
    static constexpr float kStartInterval = 0.2f;  // the first tick, and after a page's end
    static constexpr float kInterval = 0.5f;       // while playing and pausing
    // An echo pause is as long as the sentence took to hear, but never shorter than this.
    static constexpr double kShortestEchoPause = 1.0;

    enum Action {
        Wait,          // nothing now; tick again after `interval`
        PlaySentence,  // play sentence `sentence` of the page, then tick after `interval`
        TurnPage,      // the page is read (reading on): turn to the next page
        Stop,          // no further tick
        RecordEcho,    // shadowing: record the learner in the echo pause, then tick after
                       // `interval` (reading waits while the recording and its playback last)
    };
    struct Step {
        Action action;
        float interval;
        int sentence;
    };

    // A sentence started (by reading, a touch or a key): automatic reading owes the learner an
    // echo pause after it when echo pauses are on.
    void sentenceStarted() { m_echoDue = true; }
    // Reading was switched on: a sentence heard before is owed no echo.
    void switchedOn() { m_echoDue = false; }

    // One tick. `heardSeconds` tells how long the sentence started last takes to hear at the
    // current speed; it is asked only when an echo pause is due.
    Step tick(ReadingSession& session, bool playing, const std::function<double()>& heardSeconds);

  private:
    bool m_echoDue = false;
};

}  // namespace pagly
