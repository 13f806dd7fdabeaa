// The comparison card (see ComparisonPanel.h).
#include "app/practice/ComparisonPanel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "app/RoundRect.h"
#include "app/VisibleArea.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/audio/analysis/SpeechComparison.h"
#include "engine/audio/analysis/SpeechFeatures.h"
#include "engine/director/CCTouch.h"
#include "engine/director/CCTouchDispatcher.h"
#include "engine/nodes/CCDrawNode.h"
#include "engine/nodes/CCLabelTTF.h"

using namespace pagly::engine;
using namespace pagly::audio::speech;

namespace pagly {

namespace {
const ccColor4B kBox(255, 255, 255, 255);
const ccColor4B kRule(214, 222, 240, 255);
const ccColor4B kBookColour(45, 100, 220, 255);
const ccColor4B kYourColour(230, 110, 30, 255);
const ccColor3B kTitleColour(255, 255, 255);
const ccColor3B kTextColour(45, 50, 65);
const ccColor3B kNoteColour(80, 80, 100);  // 7:1 on the card; a lighter grey read at 4.3:1

const float kCardWidth = 600, kCardHeight = 770;
const float kPad = 30, kBandHeight = 64;
const float kWaveHeight = 100, kMelodyHeight = 160;
// The melody's height: semitones above and below the voice's own middle that fit the box.
const float kSemitoneRange = 9;

// A straight stroke as one quad: two triangles, where a segment with round caps takes fifty.
// Hundreds of them make a waveform or a melody, drawn again whenever the page under the card
// animates.
void stroke(CCDrawNode* node, const CCPoint& from, const CCPoint& to, float half,
            const ccColor4B& colour) {
    CCPoint d = to - from;
    float length = d.getLength();
    if (!(length > 0)) return;
    CCPoint n = CCPoint(-d.y, d.x) * (half / length);
    CCPoint quad[4] = {from + n, from - n, to - n, to + n};
    node->drawPolygon(quad, 4, toColor4F(colour), 0, ccColor4F());
}

std::string seconds(double s) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", s);
    return text;
}

// A waveform in `box`: one vertical stroke per column from the lowest to the highest sample
// there, scaled to the recording's own peak; the box's width is `scaleSeconds` long.
void drawWave(CCDrawNode* node, const CCRect& box, const std::vector<float>& samples,
              double scaleSeconds, const ccColor4B& colour) {
    float mid = box.origin.y + box.size.height / 2;
    stroke(node, CCPoint(box.origin.x, mid), CCPoint(box.origin.x + box.size.width, mid), 0.5f,
           kRule);
    if (samples.empty() || scaleSeconds <= 0) return;
    float peak = 1e-4f;
    for (float v : samples) peak = std::max(peak, std::fabs(v));
    const float step = 2;  // design units per column
    double width = box.size.width * ((double)samples.size() / kRate) / scaleSeconds;
    int columns = std::max(1, (int)(width / step));
    float half = box.size.height / 2 - 3;
    for (int c = 0; c < columns; ++c) {
        size_t from = samples.size() * c / columns, to = samples.size() * (c + 1) / columns;
        float low = 0, high = 0;
        for (size_t i = from; i < to; ++i) {
            low = std::min(low, samples[i]);
            high = std::max(high, samples[i]);
        }
        float x = box.origin.x + c * step + step / 2;
        float y0 = mid + half * low / peak, y1 = mid + half * high / peak;
        if (y1 - y0 < 1) y0 = mid - 0.5f, y1 = mid + 0.5f;
        stroke(node, CCPoint(x, y0), CCPoint(x, y1), step / 2, colour);
    }
}

// A melody (semitones per frame, NaN where unvoiced) across the whole box: runs of voiced
// frames as lines, a lone voiced frame as a dot.
void drawMelody(CCDrawNode* node, const CCRect& box, const std::vector<float>& melody,
                float thickness, const ccColor4B& colour) {
    if (melody.empty()) return;
    auto at = [&](size_t i) {
        float v = std::max(-kSemitoneRange, std::min(kSemitoneRange, melody[i]));
        float x = box.origin.x + box.size.width * ((float)i + 0.5f) / melody.size();
        float y =
            box.origin.y + box.size.height / 2 + (box.size.height / 2 - 6) * v / kSemitoneRange;
        return CCPoint(x, y);
    };
    ccColor4F c = toColor4F(colour);
    for (size_t i = 0; i < melody.size(); ++i) {
        if (std::isnan(melody[i])) continue;
        bool next = i + 1 < melody.size() && !std::isnan(melody[i + 1]);
        bool previous = i > 0 && !std::isnan(melody[i - 1]);
        if (next) stroke(node, at(i), at(i + 1), thickness, colour);
        // Round ends, and joints where the line turns, only where a run starts or stops.
        if (!previous || !next) node->drawDot(at(i), thickness, c);
    }
}
}  // namespace

ComparisonPanel* ComparisonPanel::create(const SpeechComparison& comparison,
                                         const SpeechProfile& book, const SpeechProfile& learner,
                                         std::function<void(Choice)> chosen,
                                         const std::string& sentence) {
    ComparisonPanel* panel = new ComparisonPanel();
    if (!panel->initWithColor(kCardVeil)) {
        panel->release();
        return nullptr;
    }
    panel->autorelease();
    panel->m_chosen = std::move(chosen);
    panel->m_sentence = sentence;
    panel->setTag(kTag);
    panel->build(comparison, book, learner);
    // Every touch is the panel's while it is shown.
    panel->setTouchMode(kTouchesOneByOne);
    panel->setTouchPriority(kModalHandlerPriority + 1);
    panel->setTouchEnabled(true);
    return panel;
}

void ComparisonPanel::build(const SpeechComparison& comparison, const SpeechProfile& book,
                            const SpeechProfile& learner) {
    CCPoint centre = VisibleArea::center();
    float left = centre.x - kCardWidth / 2, bottom = centre.y - kCardHeight / 2;
    float top = bottom + kCardHeight, inner = kCardWidth - 2 * kPad;
    CCDrawNode* draw = CCDrawNode::create();
    addChild(draw, 0);
    // The sentence, in at most three lines, makes the card taller.
    CCLabelTTF* sentence = nullptr;
    float sentenceHeight = 0;
    if (!m_sentence.empty()) {
        for (float size = 26; size >= 16; size -= 2) {
            if (sentence) sentence->release();
            sentence = CCLabelTTF::create(m_sentence.c_str(), kCardFont, size,
                                          CCSize(kCardWidth - 2 * kPad, 0), kTextAlignmentCenter);
            if (!sentence) break;
            sentence->retain();
            if (sentence->getContentSize().height <= size * 3.6f) break;
        }
        if (sentence) sentenceHeight = sentence->getContentSize().height + 18;
    }
    float cardHeight = kCardHeight + sentenceHeight;
    bottom = centre.y - cardHeight / 2;
    top = bottom + cardHeight;
    drawRoundRect(draw, CCRect(left, bottom, kCardWidth, cardHeight), 18, false, kCardBody);
    drawRoundRect(draw, CCRect(left, top - kBandHeight, kCardWidth, kBandHeight), 18, true,
                  kCardBand);
    addCardLabel(this, "You and the book", 32, kTitleColour,
                 CCPoint(centre.x, top - kBandHeight / 2), CCPoint(0.5f, 0.5f));

    double scale = std::max(comparison.bookSeconds, comparison.learnerSeconds);
    float y = top - kBandHeight - 22;
    if (sentence) {
        sentence->setColor(kTextColour);
        sentence->setAnchorPoint(CCPoint(0.5f, 1));
        sentence->setPosition(CCPoint(centre.x, y));
        sentence->setTag(kSentenceTag);
        addChild(sentence, 2);
        sentence->release();
        y -= sentenceHeight;
    }
    struct Row {
        const char* name;
        double length;
        const SpeechProfile* profile;
        ccColor4B colour;
    } rows[] = {{"The book", comparison.bookSeconds, &book, kBookColour},
                {"You", comparison.learnerSeconds, &learner, kYourColour}};
    for (const Row& row : rows) {
        // The name in a darker shade of its wave's colour: the orange itself reads at 3:1.
        addCardLabel(this, row.name, 24,
                     ccColor3B(row.colour.r * 3 / 4, row.colour.g * 3 / 4, row.colour.b * 3 / 4),
                     CCPoint(left + kPad, y), CCPoint(0, 1));
        addCardLabel(this, seconds(row.length), 24, kTextColour, CCPoint(left + kPad + inner, y),
                     CCPoint(1, 1));
        y -= 34;
        CCRect box(left + kPad, y - kWaveHeight, inner, kWaveHeight);
        drawRoundRect(draw, box, 8, false, kBox);
        drawWave(draw, box, row.profile->samples, scale, row.colour);
        y -= kWaveHeight + 22;
    }

    addCardLabel(this, "Melody, lined up in time", 24, kTextColour, CCPoint(left + kPad, y),
                 CCPoint(0, 1));
    y -= 34;
    CCRect box(left + kPad, y - kMelodyHeight, inner, kMelodyHeight);
    drawRoundRect(draw, box, 8, false, kBox);
    float mid = box.origin.y + box.size.height / 2;
    stroke(draw, CCPoint(box.origin.x + 6, mid), CCPoint(box.origin.x + box.size.width - 6, mid),
           0.5f, kRule);
    drawMelody(draw, box, comparison.bookMelody, 3.0f, kBookColour);
    drawMelody(draw, box, comparison.learnerMelody, 2.0f, kYourColour);
    y -= kMelodyHeight + 12;
    addCardLabel(this, "higher up: higher voice; gaps: no voice (consonants, pauses)", 17,
                 kNoteColour, CCPoint(centre.x, y), CCPoint(0.5f, 1));
    y -= 44;

    struct Button {
        Choice choice;
        const char* text;
    } buttons[] = {{HearBook, "B  the book"}, {HearYours, "Y  you"}, {RecordAgain, "M  again"}};
    const float gap = 18, height = 56;
    float width = (inner - 2 * gap) / 3;
    for (int i = 0; i < 3; ++i) {
        CCRect r(left + kPad + i * (width + gap), y - height, width, height);
        m_buttons[buttons[i].choice] = r;
        if (buttons[i].choice != RecordAgain) {
            // Shown while this button's recording plays.
            CCDrawNode* ring = CCDrawNode::create();
            const ccColor4B& colour = buttons[i].choice == HearBook ? kBookColour : kYourColour;
            drawRoundRect(ring, CCRect(r.origin.x - 4, r.origin.y - 4, width + 8, height + 8), 15,
                          false, colour);
            drawRoundRect(ring, r, 12, false, kCardButton);  // a ring: the button shows within
            ring->setVisible(false);
            addChild(ring, 1);
            m_playingMarks[buttons[i].choice] = ring;
        }
        drawRoundRect(draw, r, 12, false, kCardButton);
        addCardLabel(this, buttons[i].text, 24, kTextColour,
                     CCPoint(r.origin.x + width / 2, r.origin.y + height / 2), CCPoint(0.5f, 0.5f));
    }
    y -= height + 14;
    addCardLabel(this, "Any other key, or a click elsewhere, closes this", 18, kNoteColour,
                 CCPoint(centre.x, y), CCPoint(0.5f, 1));
}

CCRect ComparisonPanel::buttonRect(Choice choice) const { return m_buttons[choice]; }

void ComparisonPanel::showPlaying(Choice choice) {
    m_playing = choice == HearBook || choice == HearYours ? choice : Close;
    for (Choice c : {HearBook, HearYours})
        if (m_playingMarks[c]) m_playingMarks[c]->setVisible(c == m_playing);
    if (m_playing != Close) {
        scheduleUpdate();
    } else {
        unscheduleUpdate();
    }
}

void ComparisonPanel::update(float) {
    // The ring goes when its recording has ended (or something else replaced it).
    if (!audio::SimpleAudioEngine::sharedEngine()->isBackgroundMusicPlaying()) showPlaying(Close);
}

bool ComparisonPanel::ccTouchBegan(CCTouch*, CCEvent*) { return true; }

void ComparisonPanel::ccTouchEnded(CCTouch* touch, CCEvent*) {
    CCPoint at = touch->getLocation();
    Choice choice = Close;
    for (Choice c : {HearBook, HearYours, RecordAgain})
        if (m_buttons[c].containsPoint(at)) choice = c;
    if (m_chosen) m_chosen(choice);
}

}  // namespace pagly
