// Automatic reading's steps, without a scene: the session and whether a recording plays in,
// what to do and when to look again out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Book.h"
#include "app/PageBindings.h"
#include "app/ReadingMachine.h"
#include "app/ReadingSession.h"

using namespace pagly;

namespace {

// Runs ticks with recordings that end by the next tick, and notes the sentences played and the
// page turns, until `ticks` ticks have run or reading stops.
std::string readFor(ReadingMachine& machine, ReadingSession& s, int ticks, double heard = 2.0) {
    std::string said;
    for (int i = 0; i < ticks; ++i) {
        ReadingMachine::Step step = machine.tick(s, false, [heard] { return heard; });
        if (step.action == ReadingMachine::PlaySentence) {
            machine.sentenceStarted();
            said += std::to_string(step.sentence);
        } else if (step.action == ReadingMachine::TurnPage) {
            said += "T";
            break;
        } else if (step.action == ReadingMachine::Stop) {
            said += "S";
            break;
        } else {
            said += ".";
        }
    }
    return said;
}

TEST(ReadingMachineTest, RepeatPageReadsThePageOverWithAPauseBetweenSentences) {
    ReadingSession s;
    s.readingMode = RepeatPage;
    s.pageSentenceCount = 3;
    s.nextSentence = 1;
    ReadingMachine machine;
    // After the last sentence: its pause, the restart with a pause of its own, then sentence 1.
    EXPECT_EQ("1.2.3...1.2.3...1", readFor(machine, s, 17));
}

TEST(ReadingMachineTest, ReadOnTurnsThePageAndLeavesThePauseForTheNextPage) {
    ReadingSession s;
    s.readingMode = ReadOn;
    s.pageSentenceCount = 2;
    s.nextSentence = 1;
    ReadingMachine machine;
    EXPECT_EQ("1.2.T", readFor(machine, s, 20));
    EXPECT_TRUE(s.autoReadPause) << "the new page starts with a pause";

    ReadingSession empty;  // a page without sentence buttons is read at once
    empty.readingMode = ReadOn;
    empty.nextSentence = 1;
    EXPECT_EQ("T", readFor(machine, empty, 5));
}

TEST(ReadingMachineTest, WhilePlayingItWaitsAndAnEchoPauseIsAsLongAsTheSentenceWasHeard) {
    ReadingSession s;
    s.readingMode = RepeatPage;
    s.pageSentenceCount = 2;
    s.nextSentence = 1;
    ReadingMachine machine;
    ReadingMachine::Step step = machine.tick(s, false, nullptr);
    ASSERT_EQ(ReadingMachine::PlaySentence, step.action);
    machine.sentenceStarted();
    step = machine.tick(s, true, nullptr);
    EXPECT_EQ(ReadingMachine::Wait, step.action);
    EXPECT_EQ(ReadingMachine::kInterval, step.interval);

    struct {
        bool echo;
        double heard;
        float pause;
    } cases[] = {{true, 4.5, 4.5f}, {true, 0.3, 1.0f}, {true, 0, 1.0f}, {false, 4.5, 0.5f}};
    for (const auto& c : cases) {
        s.echoPauses = c.echo;
        s.autoReadPause = true;
        machine.sentenceStarted();
        int asked = 0;
        step = machine.tick(s, false, [&] { return ++asked, c.heard; });
        EXPECT_EQ(ReadingMachine::Wait, step.action);
        EXPECT_FLOAT_EQ(c.pause, step.interval) << c.heard;
        EXPECT_EQ(c.echo ? 1 : 0, asked) << "the length is read only for an echo pause";
    }
    // Switched on after a touched sentence: no echo is owed for it.
    s.echoPauses = true;
    s.autoReadPause = false;
    machine.sentenceStarted();
    machine.switchedOn();
    EXPECT_EQ(ReadingMachine::PlaySentence, machine.tick(s, false, [] { return 9.0; }).action);
}

TEST(ReadingMachineTest, ShadowingRecordsInTheEchoPauseOnlyWithEchoPausesOn) {
    // After sentence 2 has been heard: with shadowing and echo pauses, a recording of sentence
    // 2 in place of the silent pause; shadowing alone changes nothing.
    struct {
        bool echo, shadowing;
        ReadingMachine::Action action;
    } cases[] = {{true, true, ReadingMachine::RecordEcho},
                 {true, false, ReadingMachine::Wait},
                 {false, true, ReadingMachine::Wait}};
    for (const auto& c : cases) {
        ReadingSession s;
        s.readingMode = RepeatPage;
        s.pageSentenceCount = 3;
        s.nextSentence = 3;
        s.autoReadPause = true;  // as after every sentence read
        s.echoPauses = c.echo;
        s.shadowing = c.shadowing;
        ReadingMachine machine;
        machine.sentenceStarted();
        ReadingMachine::Step step = machine.tick(s, false, [] { return 2.0; });
        EXPECT_EQ(c.action, step.action) << c.echo << c.shadowing;
        if (step.action == ReadingMachine::RecordEcho) {
            EXPECT_EQ(2, step.sentence);
            // Then the usual pause, then the next sentence: the echo was paid by the recording.
            EXPECT_EQ(ReadingMachine::Wait, machine.tick(s, false, nullptr).action);
            step = machine.tick(s, false, nullptr);
            EXPECT_EQ(ReadingMachine::PlaySentence, step.action);
            EXPECT_EQ(3, step.sentence);
        }
    }
}

TEST(ReadingMachineTest, ReadByTouchStops) {
    ReadingSession s;
    s.readingMode = ReadByTouch;
    s.nextSentence = 1;
    ReadingMachine machine;
    EXPECT_EQ("S", readFor(machine, s, 3));
}

TEST(PageBindingsTest, ASwipeTurnsFromFiftyUnitsWithinTheBook) {
    Book book = Book::standard();
    struct {
        float start, x;
        int page, direction;
    } cases[] = {
        {300, 349, 10, 0}, {300, 350, 10, -1}, {300, 251, 10, 0},     {300, 250, 10, +1},
        {300, 400, 2, 0},  {300, 200, 2, +1},  {300, 200, 77, 0},     {300, 400, 77, -1},
        {300, 300, 10, 0}, {0, 1e30f, 10, -1}, {300, -1e30f, 10, +1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.direction, swipeDirection(c.start, c.x, c.page, book))
            << c.start << " -> " << c.x << " on " << c.page;
    float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(0, swipeDirection(300, nan, 10, book));
}

TEST(PageBindingsTest, EveryKeyLineOfTheListIsInTheTable) {
    std::vector<std::string> lines;
    for (const char* const* line = pageKeyHelpLines(); *line; ++line) lines.push_back(*line);
    ASSERT_GE(lines.size(), 10u);
    EXPECT_EQ("Left / Right: turn back / turn the page (the blue arrows)", lines.front());
    EXPECT_EQ("F1 or ?: Which key does what? (this list)", lines.back());
    for (const std::string& line : lines) EXPECT_NE(std::string::npos, line.find(": ")) << line;
}

}  // namespace
