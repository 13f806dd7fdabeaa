// The comparison card drawn offscreen: the book's waveform in blue in its box, the learner's in
// orange in theirs, both melodies in the melody box, the longer recording across the whole
// width and the shorter in proportion; its buttons and a click elsewhere.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/VisibleArea.h"
#include "app/practice/ComparisonPanel.h"
#include "engine/audio/analysis/SpeechComparison.h"
#include "engine/audio/analysis/SpeechFeatures.h"
#include "engine/director/CCDirector.h"
#include "engine/nodes/CCScene.h"
#include "support/Offscreen.h"

using namespace pagly;
using namespace pagly::engine;
using namespace pagly::audio::speech;

namespace {

// A voiced glide from `from` to `to` Hz over `seconds`, with quiet around it.
std::vector<float> glide(double from, double to, double seconds) {
    std::vector<float> out(kRate / 5, 0.0f);
    double phase = 0;
    size_t n = (size_t)(seconds * kRate);
    for (size_t i = 0; i < n; ++i) {
        double hz = from * std::pow(to / from, (double)i / n);
        phase += 2 * 3.14159265358979 * hz / kRate;
        double v = 0;
        for (int h = 1; h <= 6; ++h) v += std::sin(h * phase) / h;
        out.push_back((float)(0.2 * v));
    }
    out.resize(out.size() + kRate / 5, 0.0f);
    return out;
}

bool bluish(const ccColor4B& c) { return c.b > 150 && c.r < 120; }
bool orangish(const ccColor4B& c) { return c.r > 180 && c.g > 70 && c.g < 170 && c.b < 100; }

class ComparisonPanelTest : public pagly::test::OffscreenTest {
  protected:
    void SetUp() override {
        OffscreenTest::SetUp();
        VisibleArea::reset();
    }
    ComparisonPanel* show(const SpeechProfile& book, const SpeechProfile& yours) {
        SpeechComparison comparison = compareSpeech(book, yours);
        m_seconds[0] = comparison.bookSeconds;
        m_seconds[1] = comparison.learnerSeconds;
        CCScene* scene = CCScene::create();
        ComparisonPanel* panel = ComparisonPanel::create(
            comparison, book, yours, [this](ComparisonPanel::Choice c) { m_choices.push_back(c); });
        scene->addChild(panel);
        run(scene);
        drawFrame();
        return panel;
    }
    // How many probed points along the row at `y` between x0 and x1 satisfy `test`.
    template <class Test>
    int countAlong(float y0, float y1, float x0, float x1, Test test) {
        int n = 0;
        for (float y = y0; y <= y1; y += 2)
            for (float x = x0; x <= x1; x += 2) n += test(probe(x, y)) ? 1 : 0;
        return n;
    }
    double m_seconds[2] = {0, 0};
    std::vector<ComparisonPanel::Choice> m_choices;
};

TEST_F(ComparisonPanelTest, WaveformsInTheirColoursOnOneTimeScaleAndBothMelodies) {
    // The learner takes twice as long, rising where the book falls.
    ComparisonPanel* panel = show(profileOf(glide(260, 160, 1.0)), profileOf(glide(140, 220, 2.0)));
    ASSERT_NE(nullptr, panel);
    saveScreenshot("comparison_panel.png");
    // Layout (design units): the card is centred; boxes stack from its title band down. The
    // book's wave box spans about y 685..785 and the learner's about y 529..629 on the centred
    // card; the melody box about y 304..464.
    float left = 50, right = 590, middle = 320;
    int bookLeft = countAlong(700, 770, left, middle - 40, bluish);
    int bookRight = countAlong(700, 770, middle + 40, right, bluish);
    int yoursLeft = countAlong(545, 615, left, middle - 40, orangish);
    int yoursRight = countAlong(545, 615, middle + 40, right, orangish);
    EXPECT_GT(bookLeft, 50);
    EXPECT_GT(yoursLeft, 50);
    EXPECT_GT(yoursRight, 50);
    // The book's second lasts half the learner's two: its wave ends near the middle.
    EXPECT_LT(bookRight, bookLeft / 10);
    EXPECT_EQ(0, countAlong(700, 770, left, right, orangish));
    EXPECT_EQ(0, countAlong(545, 615, left, right, bluish));
    EXPECT_GT(countAlong(310, 460, left, right, bluish), 20);
    EXPECT_GT(countAlong(310, 460, left, right, orangish), 20);
    EXPECT_NEAR(1.0, m_seconds[0], 0.15);
    EXPECT_NEAR(2.0, m_seconds[1], 0.15);
}

TEST_F(ComparisonPanelTest, ButtonsChooseAndAClickElsewhereCloses) {
    ComparisonPanel* panel = show(profileOf(glide(200, 150, 1.0)), profileOf(glide(200, 150, 1.0)));
    ASSERT_NE(nullptr, panel);
    for (auto choice :
         {ComparisonPanel::HearBook, ComparisonPanel::HearYours, ComparisonPanel::RecordAgain}) {
        CCRect r = panel->buttonRect(choice);
        ASSERT_GT(r.size.width, 40) << choice;
        tap(r.origin.x + r.size.width / 2, r.origin.y + r.size.height / 2);
    }
    tap(320, 950);  // above the card
    tap(320, 480);  // on the card, on no button
    std::vector<ComparisonPanel::Choice> expected = {
        ComparisonPanel::HearBook, ComparisonPanel::HearYours, ComparisonPanel::RecordAgain,
        ComparisonPanel::Close, ComparisonPanel::Close};
    EXPECT_EQ(expected, m_choices);
}

TEST_F(ComparisonPanelTest, NothingVoicedOrAnEmptySideStillDraws) {
    std::vector<float> hiss(kRate, 0.0f);
    for (size_t i = 0; i < hiss.size(); ++i) hiss[i] = (i * 7919 % 200 - 100) / 2000.0f;
    EXPECT_NE(nullptr, show(profileOf(hiss), SpeechProfile()));
}

}  // namespace
