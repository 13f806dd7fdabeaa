// The steps of automatic reading (see ReadingMachine.h).
#include "app/ReadingMachine.h"

#include "app/ReadingSession.h"

namespace pagly {

ReadingMachine::Step ReadingMachine::tick(ReadingSession& s, bool playing,
                                          const std::function<double()>& heardSeconds) {
    if (playing) return {Wait, kInterval, 0};
    if (m_echoDue) {
        m_echoDue = false;
        // Time to say the sentence aloud, then the usual pause.
        if (s.echoPauses && s.shadowing) return {RecordEcho, kInterval, s.nextSentence - 1};
        if (s.echoPauses) {
            double seconds = heardSeconds ? heardSeconds() : 0;
            return {Wait, (float)(seconds > kShortestEchoPause ? seconds : kShortestEchoPause), 0};
        }
    }
    if (s.autoReadPause) {
        s.autoReadPause = false;
        return {Wait, kInterval, 0};
    }
    if (s.nextSentence > s.pageSentenceCount) {
        if (s.readingMode == RepeatPage) {
            s.nextSentence = 1;
            s.autoReadPause = true;
            return {Wait, kStartInterval, 0};
        }
        if (s.readingMode == ReadOn) {
            // The new page starts its own tick; the pause still set gives it its first pause.
            s.autoReadPause = true;
            return {TurnPage, 0, 0};
        }
        return {Stop, 0, 0};
    }
    int sentence = s.nextSentence;
    s.nextSentence += 1;
    s.autoReadPause = true;
    return {PlaySentence, kInterval, sentence};
}

}  // namespace pagly
