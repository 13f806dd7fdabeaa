#pragma once

#include <string>
#include <vector>

#include "ReaderFixture.h"
#include "app/BookNames.h"
#include "app/PageLayer.h"
#include "app/WordLighter.h"
#include "app/WordTimings.h"
#include "engine/audio/SimpleAudioEngine.h"
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
};

}  // namespace pagly::test
