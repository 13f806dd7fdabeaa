// Speaking practice on a page, as a learner meets it, with the virtual microphone: M plays the
// sentence, a tone, records until the learner has spoken and fallen silent, plays the recording
// back and shows the comparison; the panel's keys and clicks; no microphone, silence; keeping
// the recordings; shadowing during automatic reading.
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "ReaderFixture.h"
#include "app/FadingNote.h"
#include "app/PageLayer.h"
#include "app/ReadingSession.h"
#include "app/practice/ComparisonPanel.h"
#include "app/practice/RecordingKeeper.h"
#include "app/practice/SpeakingPractice.h"
#include "engine/audio/PcmSound.h"
#include "engine/audio/VirtualAudioBackend.h"
#include "engine/audio/analysis/SpeechFeatures.h"
#include "engine/audio/capture/VirtualCaptureBackend.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCKeypadDispatcher.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/platform/CCFileUtils.h"
#include "gui/UIButton.h"
#include "support/VirtualCapture.h"

using namespace pagly::engine;
using namespace pagly;
using pagly::audio::CaptureBackend;

namespace {

const char kTone[] = "practice:tone";
const char kYours[] = "practice:yours";

class SpeakingPracticeTest : public pagly::test::ReaderTest {
  protected:
    void press(int key) { CCDirector::sharedDirector()->getKeypadDispatcher()->dispatchKey(key); }
    SpeakingPractice* practice() { return page() ? page()->practice() : nullptr; }
    ComparisonPanel* panel() { return practice() ? practice()->panel() : nullptr; }
    std::string note() {
        CCLabelTTF* label = page() ? page()->noteLabel() : nullptr;
        return label ? label->getString() : "";
    }
    // Sentence `index` of `page` as the learner might say it: the book's own voice after a
    // moment, then silence.
    static std::vector<float> saying(int pageNumber, int index) {
        std::vector<float> out(audio::speech::kRate / 2, 0.0f);
        std::vector<float> voice = recordingAt16k(pageNumber, index);
        out.insert(out.end(), voice.begin(), voice.end());
        return out;
    }
    // Steps frames until the practice is done with recording (or `seconds` pass).
    void untilRecorded(double seconds = 30) {
        for (double t = 0; t < seconds; t += 1.0 / 60) {
            SpeakingPractice::Phase p = practice()->phase();
            if (p == SpeakingPractice::PlayingBack || p == SpeakingPractice::Idle) return;
            step();
        }
    }
    std::string keptFolder() {
        return RecordingKeeper::folderForBook(CCFileUtils::sharedFileUtils()->getResourceRoot());
    }
    bool played(const std::string& name) {
        const auto& all = m_audio.played();
        return std::find(all.begin(), all.end(), name) != all.end();
    }

    pagly::test::VirtualCaptureScope m_capture;
};

TEST_F(SpeakingPracticeTest, MPlaysTheSentenceThenATone_RecordsPlaysBackAndShowsThePanel) {
    openPage(19);
    press(kKeyArrowDown);  // sentence 1 is the current one
    advance(3.0);
    m_audio.backend().clearRequests();
    m_capture.backend().feed(saying(19, 1));

    press(kKeyM);
    EXPECT_EQ(SpeakingPractice::PlayingSentence, practice()->phase());
    ASSERT_EQ(1u, m_audio.played().size());
    EXPECT_EQ(recordingOf(19, 1), m_audio.played()[0]);  // again, from its start
    EXPECT_EQ(0, m_capture.backend().startCount());

    // The sentence ends, the tone sounds with the microphone already open, then recording.
    for (int i = 0; i < 60 * 10 && practice()->phase() == SpeakingPractice::PlayingSentence; ++i)
        step();
    EXPECT_EQ(SpeakingPractice::Tone, practice()->phase());
    EXPECT_EQ(kTone, m_audio.current());
    EXPECT_EQ(1, m_capture.backend().startCount());
    advance(0.2);
    EXPECT_EQ(SpeakingPractice::Recording, practice()->phase());

    untilRecorded();
    ASSERT_EQ(SpeakingPractice::PlayingBack, practice()->phase());
    EXPECT_FALSE(m_capture.backend().isCapturing());
    EXPECT_EQ(kYours, m_audio.current());
    ASSERT_NE(nullptr, panel());
    const audio::speech::SpeechComparison* c = practice()->lastComparison();
    ASSERT_NE(nullptr, c);
    EXPECT_LT(c->cost, 5.0);
    EXPECT_LT(c->melodyDistance, 0.5);
    EXPECT_NEAR(c->bookSeconds, c->learnerSeconds, 0.15);
    // The recording stopped 0.6 s after the speech, not at the longest length.
    EXPECT_LT(m_capture.backend().delivered(),
              (size_t)((0.5 + c->bookSeconds + 1.2) * audio::speech::kRate));

    // The panel stays after the playback, until a key.
    advance(c->learnerSeconds + 1);
    EXPECT_EQ(SpeakingPractice::Idle, practice()->phase());
    ASSERT_NE(nullptr, panel());
    press(kKeyArrowDown);  // closes the panel, does nothing else
    EXPECT_EQ(nullptr, panel());
    EXPECT_EQ(sentenceButton(1), session().currentSentenceButton);

    SpeakingPractice::keeper().flush();
    for (const std::string& problem : SpeakingPractice::keeper().takeProblems())
        ADD_FAILURE() << problem;
    EXPECT_EQ(1u, RecordingKeeper::keptFiles(keptFolder(), "mc191").size()) << keptFolder();
}

TEST_F(SpeakingPracticeTest, AnotherSentenceAlignsFarWorseThanTheSameOne) {
    openPage(19);
    double costs[2];
    for (int other = 0; other < 2; ++other) {
        m_capture.backend().feed(saying(19, other ? 3 : 2));  // sentence 2 is practised
        tapAt(centreOf(sentenceButton(2)));
        ASSERT_EQ(sentenceButton(2), session().currentSentenceButton);
        press(kKeyM);
        advance(0.1);
        untilRecorded();
        ASSERT_NE(nullptr, practice()->lastComparison());
        costs[other] = practice()->lastComparison()->cost;
        press(kKeyArrowDown);  // closes the panel
        ASSERT_EQ(nullptr, panel());
        advance(5);
    }
    EXPECT_LT(costs[0] * 2, costs[1]) << costs[0] << " " << costs[1];
}

TEST_F(SpeakingPracticeTest, SilenceGivesANoteAndThePageGoesOn) {
    openPage(19);
    press(kKeyM);  // nothing current: the first sentence
    EXPECT_EQ(recordingOf(19, 1), m_audio.current());
    untilRecorded(60);
    EXPECT_EQ(SpeakingPractice::Idle, practice()->phase());
    EXPECT_EQ("Nothing heard", note());
    EXPECT_EQ(nullptr, panel());
    EXPECT_FALSE(m_capture.backend().isCapturing());
    press(kKeyArrowDown);
    EXPECT_EQ(recordingOf(19, 2), m_audio.current());
}

TEST_F(SpeakingPracticeTest, NoMicrophoneOrARefusingOneGivesANote) {
    openPage(19);
    struct {
        CaptureBackend::Outcome outcome;
        const char* note;
    } cases[] = {{CaptureBackend::NoDevice, "No microphone found"},
                 {CaptureBackend::Refused, "The microphone could not be used"}};
    for (const auto& c : cases) {
        m_capture.backend().setOutcome(c.outcome);
        press(kKeyM);
        untilRecorded();
        EXPECT_EQ(SpeakingPractice::Idle, practice()->phase());
        EXPECT_EQ(c.note, note());
        EXPECT_EQ(nullptr, panel());
        advance(2);
    }
}

TEST_F(SpeakingPracticeTest, PanelKeysAndClicks) {
    openPage(19);
    m_capture.backend().feed(saying(19, 1));
    press(kKeyM);
    untilRecorded();
    ASSERT_NE(nullptr, panel());
    press(kKeyB);
    EXPECT_EQ(recordingOf(19, 1), m_audio.current());
    ASSERT_NE(nullptr, panel());
    press(kKeyY);
    EXPECT_EQ(kYours, m_audio.current());
    // Clicks: the book's button, then outside every button closes.
    tapAt(panel()->buttonRect(ComparisonPanel::HearBook).origin + CCPoint(10, 10));
    EXPECT_EQ(recordingOf(19, 1), m_audio.current());
    ASSERT_NE(nullptr, panel());
    tap(20, 20);
    EXPECT_EQ(nullptr, panel());
    EXPECT_EQ(recordingOf(19, 1), m_audio.current());  // the click reached nothing under it

    // M on the panel records again.
    press(kKeyM);
    untilRecorded();
    ASSERT_NE(nullptr, panel());
    press(kKeyM);
    EXPECT_EQ(nullptr, panel());
    EXPECT_EQ(SpeakingPractice::PlayingSentence, practice()->phase());
    EXPECT_EQ(recordingOf(19, 1), m_audio.current());
}

TEST_F(SpeakingPracticeTest, MDuringTheRecordingStopsIt) {
    openPage(19);
    // Speech that goes on and on: only M ends it before the longest length.
    std::vector<float> talk = saying(19, 1), more = saying(19, 2);
    talk.insert(talk.end(), more.begin(), more.end());
    m_capture.backend().feed(talk);
    press(kKeyM);
    while (practice()->phase() != SpeakingPractice::Recording) step();
    advance(1.5);
    press(kKeyM);
    EXPECT_EQ(SpeakingPractice::PlayingBack, practice()->phase());
    EXPECT_FALSE(m_capture.backend().isCapturing());
    ASSERT_NE(nullptr, panel());
}

TEST_F(SpeakingPracticeTest, TurningThePageAbandonsARecording) {
    openPage(19);
    m_capture.backend().feed(saying(19, 1));
    press(kKeyM);
    while (practice()->phase() != SpeakingPractice::Recording) step();
    press(kKeyRight);
    EXPECT_FALSE(m_capture.backend().isCapturing());
    settle();
    EXPECT_EQ(20, session().currentPage);
    EXPECT_FALSE(page()->practice()->isBusy());
}

TEST_F(SpeakingPracticeTest, KeepsTheNewestThreeRecordingsOfASentence) {
    openPage(19);
    std::filesystem::remove_all(keptFolder());
    for (int i = 0; i < 4; ++i) {
        m_capture.backend().feed(saying(19, 1));
        press(kKeyM);
        untilRecorded();
        ASSERT_NE(nullptr, panel()) << i;
        press(kKeyArrowDown);
        SpeakingPractice::keeper().flush();
    }
    std::vector<std::string> kept = RecordingKeeper::keptFiles(keptFolder(), "mc191");
    ASSERT_EQ(3u, kept.size());
    EXPECT_NE(std::string::npos, kept[0].find("mc191-000002.flac"));
    EXPECT_NE(std::string::npos, kept[2].find("mc191-000004.flac"));
}

TEST_F(SpeakingPracticeTest, AnUnwritableDataFolderLosesTheKeepingNotThePractice) {
    openPage(19);
    std::string folder = keptFolder();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(std::filesystem::path(folder).parent_path());
    // A file where the book's folder should be: nothing can be made there.
    FILE* blocker = fopen(folder.c_str(), "w");
    ASSERT_NE(nullptr, blocker);
    fclose(blocker);
    m_capture.backend().feed(saying(19, 1));
    press(kKeyM);
    untilRecorded();
    EXPECT_NE(nullptr, panel());
    EXPECT_EQ(kYours, m_audio.current());
    SpeakingPractice::keeper().flush();
    step();
    bool logged = false;
    for (const std::string& line : logLines())
        logged = logged || line.find("is not kept") != std::string::npos;
    EXPECT_TRUE(logged);
    remove(folder.c_str());
}

TEST_F(SpeakingPracticeTest, ShadowingRecordsAfterEachSentenceThenReadingGoesOn) {
    openPage(19);
    press(kKeyShiftE);
    EXPECT_TRUE(session().echoPauses);
    EXPECT_TRUE(session().shadowing);
    m_capture.backend().feed(saying(19, 1));
    press(kKeySpace);
    std::vector<Playback> heard = listenFor(4, 40);
    ASSERT_GE(heard.size(), 4u);
    EXPECT_EQ(recordingOf(19, 1), heard[0].file);
    EXPECT_EQ(kTone, heard[1].file);
    EXPECT_EQ(kYours, heard[2].file);
    EXPECT_EQ(recordingOf(19, 2), heard[3].file);
    EXPECT_EQ(nullptr, panel());  // shadowing shows no panel: the page reads on
    EXPECT_GE(heard[3].start, heard[2].end);
    // A microphone that goes away turns shadowing off: reading goes on with silent pauses.
    m_capture.backend().setOutcome(CaptureBackend::NoDevice);
    heard = listenFor(2, 20);  // sentence 2 still sounding, then the next one
    EXPECT_FALSE(session().shadowing);
    EXPECT_TRUE(session().echoPauses);
    ASSERT_EQ(2u, heard.size());
    EXPECT_EQ(recordingOf(19, 3), heard[1].file);
    press(kKeyShiftE);
    EXPECT_TRUE(session().shadowing);
    // E switches echo pauses off and shadowing with them.
    press(kKeyE);
    EXPECT_FALSE(session().shadowing);
}

}  // namespace
