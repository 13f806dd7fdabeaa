#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "ReaderFixture.h"
#include "app/BookNames.h"
#include "app/PageLayer.h"
#include "app/WordLighter.h"
#include "app/WordTimings.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/audio/VirtualAudioBackend.h"
#include "engine/platform/CCFileUtils.h"

namespace pagly::test {

// A reader test that watches the word lit on the playing sentence, and reads the timing file
// the lighting follows. The speed goes back to 1x after each test.
class LitWordsTest : public ReaderTest {
  protected:
    void TearDown() override {
        audio::SimpleAudioEngine::sharedEngine()->setBackgroundMusicSpeed(1.0f);
        ReaderTest::TearDown();
    }
    WordLighter* lighter() {
        return page() ? dynamic_cast<WordLighter*>(page()->getChildByTag(WordLighter::kTag))
                      : nullptr;
    }
    // The word lit now, or -1.
    int lit() {
        WordLighter* l = lighter();
        return l ? l->litWord() : -1;
    }
    // The timings of sentence `index` on `pageNumber` (empty when its file is missing or bad).
    static WordTimings timingsOf(int pageNumber, int index) {
        std::string text;
        engine::CCFileUtils* files = engine::CCFileUtils::sharedFileUtils();
        files->readFile(files->fullPathForFilename(
                            WordTimings::pathForRecording(recordingPath(pageNumber, index))),
                        text);
        WordTimings t;
        std::vector<std::string> problems;
        t.parse(text, problems);
        return t;
    }
    // Steps frame by frame while the sentence plays (20 s at most), checking at each frame
    // that the word lit is the one whose timing holds the moment heard at `speed`; calls
    // `onLit` for each lit frame. Returns the frames stepped; `seen` gets every word lit.
    int followLitWords(const WordTimings& timings, float speed, std::set<int>& seen,
                       const std::function<void(int word)>& onLit = nullptr) {
        int frames = 0;
        while (m_audio.isPlaying() && frames < 60 * 20) {
            double heard = m_audio.backend().position();
            int expected = timings.wordAt(heard * speed);
            EXPECT_EQ(expected, lit()) << "heard " << heard << " s";
            if (expected != lit()) break;
            if (expected >= 0) {
                seen.insert(expected);
                if (onLit) onLit(expected);
            }
            step();
            ++frames;
        }
        return frames;
    }
};

}  // namespace pagly::test
