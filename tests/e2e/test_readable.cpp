// Every text a learner meets is readable where it stands: measured from the drawn frame, each
// text's glyphs against the same pixels drawn without it, at least 4.5:1 (3:1 for large text).
#include <string>
#include <vector>

#include "ViewedReader.h"
#include "app/KeyHelp.h"
#include "app/Navigator.h"
#include "app/PageLayer.h"
#include "app/ReadingSession.h"
#include "app/practice/ComparisonPanel.h"
#include "engine/audio/analysis/SpeechComparison.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCKeypadDispatcher.h"
#include "engine/nodes/CCScene.h"
#include "gui/UIButton.h"

using namespace pagly;
using namespace pagly::engine;
using namespace pagly::test;

namespace {

class ReadableTest : public ViewedReaderTest {
  protected:
    void SetUp() override {
        ViewedReaderTest::SetUp();
        useFrame(640, 960);
    }
    void press(int key) { CCDirector::sharedDirector()->getKeypadDispatcher()->dispatchKey(key); }
    // Measures the screen as it stands (only `card` when a modal card is shown: what its
    // veil dims is not there to be read); `screen` names it in the failures.
    void check(const std::string& screen, CCNode* card = nullptr) {
        drawFrame();
        keepShot("readable-" + screen);
        std::vector<ViewedReaderTest::TextContrast> texts = measureTexts(card);
        EXPECT_FALSE(texts.empty()) << screen << ": no text measured";
        for (const std::string& line : unreadableTexts(card))
            m_failures.push_back(screen + ": " + line);
    }
    // Opens the screen's key card (F1), measures it and closes it again.
    void checkKeyCard(const std::string& screen) {
        press(kKeyHelp);
        step();
        CCNode* card = firstChildOfRunningScene()->getChildByTag(KeyHelp::kOverlayTag);
        EXPECT_NE(nullptr, card) << screen;
        if (card) check(screen, card);
        press(kKeyHelp);
        step();
    }
    void TearDown() override {
        std::string all;
        for (const std::string& f : m_failures) all += "\n  " + f;
        EXPECT_TRUE(m_failures.empty()) << "texts below the contrast they need:" << all;
        ViewedReaderTest::TearDown();
    }
    std::vector<std::string> m_failures;
};

TEST_F(ReadableTest, EveryScreensTextsStandOutFromWhatIsBehindThem) {
    startOnMainPage();
    check("main-page");
    press(kKeyArrowDown);  // a marked entry
    step();
    check("main-page-marked");
    checkKeyCard("main-page-key-card");

    session().selectedUnit = 2;  // the yellow unit
    navigator::showContents();
    advance(2.5);  // the lines have flown in
    check("contents");

    for (int page : {2, 12, 22, 46, 70}) {
        openPage(page);
        settle();
        check("page-" + std::to_string(page));
    }
    openPage(2);
    settle();
    tapAt(centreOf(sentenceButton(1)));
    advance(0.4);  // the caption shows
    check("page-caption");
    checkKeyCard("page-key-card");

    // The practice card over the page.
    using namespace pagly::audio::speech;
    SpeechProfile book = profileOf(recordingAt16k(2, 1));
    SpeechProfile yours = profileOf(recordingAt16k(2, 2));
    ComparisonPanel* card =
        ComparisonPanel::create(compareSpeech(book, yours), book, yours, [](auto) {});
    page()->addChild(card, ComparisonPanel::kZOrder);
    step();
    check("practice-card", card);
    card->removeFromParent();

    press(kKeyS);
    settle();
    check("settings-card");
}

}  // namespace
