#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "GuiTestSupport.h"
#include "engine/base/RefPtr.h"
#include "engine/director/CCIMEDispatcher.h"
#include "engine/nodes/CCScene.h"
#include "engine/platform/CCEGLView.h"
#include "gui/UICCTextField.h"
#include "gui/UILayer.h"
#include "gui/UIRootWidget.h"
#include "gui/UITextField.h"
#include "WidgetEventLog.h"

using namespace pagly::engine;
using namespace pagly::gui;
using pagly::test::WidgetEventLog;

namespace {

CCIMEDispatcher* ime() { return CCIMEDispatcher::sharedDispatcher(); }
void type(const char* text) { ime()->dispatchInsertText(text, (int)std::strlen(text)); }

// A text field of 300 x 60 (its own size) at (320, 480) in a UI layer: x 170..470, y 450..510.
class TextFieldTest : public pagly::test::GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        CCScene* scene = CCScene::create();
        layer = UILayer::create();
        scene->addChild(layer);
        field = UITextField::create();
        field->setIgnoreSize(false);
        field->setSize(CCSize(300, 60));
        field->setTouchEnabled(true);
        field->setPosition(CCPoint(320, 480));
        layer->getRootWidget()->addChild(field);
        log = WidgetEventLog::create();
        field->addEventListener(log, memberCallback(&WidgetEventLog::onEvent<TextFieldEventType>));
        run(scene);
    }
    void TearDown() override {
        log.reset();
        GuiTest::TearDown();
    }
    // Touches the field (text entry opens) and lets the attach event pass.
    void focusField() {
        touchDown(320, 480);
        touchUp(320, 480);
        step();
        ASSERT_EQ(field->getTextNode(), ime()->attachedDelegate());
        log->clear();
    }
    std::string text() { return field->getStringValue(); }
    std::string shown() { return field->getTextNode()->getShownString(); }

    UILayer* layer = nullptr;
    UITextField* field = nullptr;
    RefPtr<WidgetEventLog> log;
};

TEST_F(TextFieldTest, NewFieldShowsItsPlaceholder) {
    UICCTextField* node = field->getTextNode();
    EXPECT_EQ("TextField", field->getDescription());
    EXPECT_EQ("", text());
    EXPECT_STREQ("input words here", node->getPlaceHolder());
    EXPECT_EQ("input words here", shown());
    EXPECT_STREQ("Thonburi", node->getFontName());
    EXPECT_FLOAT_EQ(20.0f, node->getFontSize());
    EXPECT_EQ(node, node->getDelegate());
    EXPECT_FALSE(field->isMaxLengthEnabled());
    EXPECT_FALSE(field->isPasswordEnabled());
    EXPECT_STREQ("*", field->getPasswordStyleText());
    EXPECT_TRUE(field->isUpdateEnabled());
}

// A touch opens text entry; typed text reaches the field at once, and the listener hears of each
// kind of change one frame later, once per kind and frame.
TEST_F(TextFieldTest, ListenersHearAboutInputOneFrameLater) {
    EXPECT_EQ(nullptr, ime()->attachedDelegate());
    touchDown(320, 480);
    EXPECT_EQ(field->getTextNode(), ime()->attachedDelegate());
    EXPECT_TRUE(log->events.empty());
    step();
    EXPECT_EQ(std::vector<int>{TextFieldEventAttachWithIME}, log->events);
    touchUp(320, 480);
    log->clear();

    type("h");
    type("i");
    EXPECT_EQ("hi", text());
    EXPECT_TRUE(log->events.empty());
    step();
    EXPECT_EQ(std::vector<int>{TextFieldEventInsertText}, log->events);
    step();
    EXPECT_EQ(1u, log->events.size());

    log->clear();
    ime()->dispatchDeleteBackward();
    type("!");
    field->releaseKeyboard();
    EXPECT_EQ("h!", text());
    EXPECT_EQ(nullptr, ime()->attachedDelegate());
    step();
    EXPECT_EQ((std::vector<int>{TextFieldEventDetachWithIME, TextFieldEventInsertText,
                                TextFieldEventDeleteBackward}),
              log->events);
    // Detached: the keyboard's text goes nowhere.
    type("x");
    step();
    EXPECT_EQ("h!", text());
}

// Enter alone ends the input: no insertion event (and no newline in the text); the field lets go of
// text entry, which is reported.
TEST_F(TextFieldTest, EnterInsertsNothingAndReportsNoInsertion) {
    focusField();
    type("ok");
    step();
    log->clear();
    type("\n");
    EXPECT_EQ("ok", text());
    EXPECT_EQ(nullptr, ime()->attachedDelegate());
    step();
    EXPECT_EQ(0, log->eventCount(TextFieldEventInsertText));
    EXPECT_EQ(std::vector<int>{TextFieldEventDetachWithIME}, log->events);
}

// Text that ends with Enter ends the input as it would without the maximum, also when the maximum
// cuts the text in front of the break or refuses it all.
TEST_F(TextFieldTest, EnterEndsInputAfterTextCutToTheMaximum) {
    struct Case {
        const char* before;
        const char* typed;
        const char* after;
    } cases[] = {
        {"", "abcdef\n", "abc"},
        {"ab", "cdef\n", "abc"},
        {"abc", "x\n", "abc"},
        {"", "ab\ncd", "ab"},
    };
    field->setMaxLengthEnabled(true);
    field->setMaxLength(3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        field->setText(c.before);
        focusField();
        type(c.typed);
        EXPECT_EQ(c.after, text());
        EXPECT_EQ(nullptr, ime()->attachedDelegate());
        step();
        EXPECT_EQ(1, log->eventCount(TextFieldEventDetachWithIME));
    }
}

// With the maximum on, the field never holds more characters than the maximum. Typed text is first
// held to a byte budget (three bytes a character when it starts with a multi-byte character, one
// otherwise) and never cut inside a character.
TEST_F(TextFieldTest, MaxLengthHoldsTheFieldToItsCharacters) {
    struct Case {
        int maxLength;
        const char* before;
        const char* typed;
        const char* after;
    } cases[] = {
        {5, "", "abcdefg", "abcde"},
        {5, "abcd", "xyz", "abcdx"},
        {3, "", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xA7\xE3\x81\x99",
         "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"},                 // 5 CJK -> 3
        {2, "", "\xC3\xA9\xE6\x97\xA5", "\xC3\xA9\xE6\x97\xA5"},  // e-acute + CJK fit
        {1, "", "\xC3\xA9\xC3\xA9", "\xC3\xA9"},                  // cut at 3 bytes -> one
        {2, "a", "\xE6\x97\xA5\xE6\x9C\xAC", "a\xE6\x97\xA5"},    // room for one more
        {1, "", "\xF0\x9F\x98\x80", ""},                          // 4 bytes over a budget of 3
        {0, "", "a", ""},
        {5, "abcde", "f", "abcde"},
    };
    field->setMaxLengthEnabled(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        field->setMaxLength(c.maxLength);
        field->setText(c.before);
        focusField();
        type(c.typed);
        EXPECT_EQ(c.after, text());
        step();
        bool inserted = std::strcmp(c.before, c.after) != 0;
        EXPECT_EQ(inserted ? 1 : 0, log->eventCount(TextFieldEventInsertText));
    }
}

// Typed one by one, a sixth character is refused and no event follows for it.
TEST_F(TextFieldTest, SixthCharacterIsRefusedWithoutAnEvent) {
    field->setMaxLengthEnabled(true);
    field->setMaxLength(5);
    focusField();
    for (const char* c : {"a", "b", "c", "d", "e"}) {
        type(c);
        step();
    }
    EXPECT_EQ("abcde", text());
    EXPECT_EQ(5, log->eventCount(TextFieldEventInsertText));
    log->clear();
    type("f");
    step();
    EXPECT_EQ("abcde", text());
    EXPECT_TRUE(log->events.empty());
    // Making room lets typing go on.
    ime()->dispatchDeleteBackward();
    type("z");
    EXPECT_EQ("abcdz", text());
    // Without the maximum there is no limit.
    field->setMaxLengthEnabled(false);
    type("0123456789");
    EXPECT_EQ("abcdz0123456789", text());
}

TEST_F(TextFieldTest, PasswordStyleShowsOneCharacterPerByte) {
    field->setPasswordEnabled(true);
    focusField();
    type("abc");
    EXPECT_EQ("abc", text());
    EXPECT_EQ("***", shown());
    // Only one printable character other than space is a style.
    for (const char* bad : {"ab", " ", "", "\x7f", "\xC3\xA9"}) {
        field->setPasswordStyleText(bad);
        EXPECT_STREQ("*", field->getPasswordStyleText());
    }
    field->setPasswordStyleText(nullptr);
    EXPECT_STREQ("*", field->getPasswordStyleText());
    field->setPasswordStyleText("#");
    EXPECT_EQ("###", shown());
    ime()->dispatchDeleteBackward();
    EXPECT_EQ("##", shown());
    type("\xC3\xA9");  // two bytes, two password characters
    EXPECT_EQ("####", shown());
    // Text set by the program is hidden too; an empty field shows its placeholder.
    field->setText("secret");
    EXPECT_EQ("######", shown());
    field->setText("");
    EXPECT_EQ("input words here", shown());
    field->setText("shown");
    field->setPasswordEnabled(false);
    EXPECT_EQ("shown", shown());
    field->setPasswordEnabled(true);
    EXPECT_EQ("#####", shown());
}

TEST_F(TextFieldTest, OwnSizeFollowsTheText) {
    field->setIgnoreSize(true);
    CCSize placeholderSize = field->getSize();
    EXPECT_EQ(field->getTextNode()->getContentSize(), placeholderSize);
    field->setText("a much longer line of text than the placeholder");
    EXPECT_GT(field->getSize().width, placeholderSize.width);
    EXPECT_FLOAT_EQ(1.0f, field->getTextNode()->getScaleX());
    // Typed text refits on the frame its event is reported.
    field->setText("");
    focusField();
    type("abc");
    CCSize before = field->getSize();
    step();
    EXPECT_EQ(field->getTextNode()->getContentSize(), field->getSize());
    EXPECT_NE(before, field->getSize());
}

// Deleting refits as typing does: a field as large as its text shrinks with it, and a field of its
// own size keeps its text stretched to that size. So does showing the text as password characters.
TEST_F(TextFieldTest, SizeFollowsDeletionsAndPasswordsToo) {
    for (bool ignoreSize : {true, false}) {
        SCOPED_TRACE(ignoreSize);
        field->setIgnoreSize(ignoreSize);
        field->setText("");
        focusField();
        type("a much longer line");
        step();
        for (int i = 0; i < 14; ++i) ime()->dispatchDeleteBackward();
        step();
        ASSERT_EQ("a mu", text());
        const CCSize& content = field->getTextNode()->getContentSize();
        if (ignoreSize) {
            EXPECT_EQ(content, field->getSize());
        } else {
            EXPECT_FLOAT_EQ(300.0f / content.width, field->getTextNode()->getScaleX());
        }
        field->releaseKeyboard();
        step();
    }
    field->setIgnoreSize(true);
    field->setText("iii");
    field->setPasswordEnabled(true);
    EXPECT_EQ(field->getTextNode()->getContentSize(), field->getSize());
    field->setPasswordStyleText("W");
    EXPECT_EQ("WWW", shown());
    EXPECT_EQ(field->getTextNode()->getContentSize(), field->getSize());
}

TEST_F(TextFieldTest, TouchAreaReplacesTheSizeForTouches) {
    field->setTouchSize(CCSize(400, 200));
    field->setUseTouchArea(true);
    touchDown(500, 560);  // outside the 300 x 60 field, inside the 400 x 200 area
    EXPECT_EQ(field->getTextNode(), ime()->attachedDelegate());
    touchUp(500, 560);
    field->releaseKeyboard();
    touchDown(530, 480);  // outside both
    EXPECT_EQ(nullptr, ime()->attachedDelegate());
    touchUp(530, 480);
}

// The colour reaches the text through its parent once, not twice.
TEST_F(TextFieldTest, ColourAndAnchorReachTheText) {
    field->setText("abc");  // typed text is white of its own (the placeholder is grey)
    field->setColor(ccColor3B(128, 128, 128));
    EXPECT_EQ(ccColor3B(128, 128, 128), field->getColor());
    EXPECT_EQ(ccColor3B(128, 128, 128), field->getTextNode()->getDisplayedColor());
    field->setOpacity(100);
    EXPECT_EQ(100, field->getTextNode()->getDisplayedOpacity());
    field->setAnchorPoint(CCPoint(0, 0));
    EXPECT_EQ(CCPoint(0, 0), field->getTextNode()->getAnchorPoint());
}

// A field taken off the stage while typing lets go of text entry; later text goes nowhere.
TEST_F(TextFieldTest, RemovedFieldLetsGoOfTextEntry) {
    focusField();
    field->removeFromParent();
    EXPECT_EQ(nullptr, ime()->attachedDelegate());
    type("lost");
    step();
}

// Real keyboard input through the view: a click opens text entry, SDL text events type, Backspace
// deletes, Return ends the input.
class TextFieldViewTest : public TextFieldTest {
  protected:
    void SetUp() override {
        view = CCEGLView::sharedOpenGLView();
        view->setFrameSize(640, 960);
        view->setDesignResolutionSize(640, 960, kResolutionExactFit);
        ASSERT_TRUE(view->openOffscreen());
        TextFieldTest::SetUp();
    }
    void TearDown() override {
        TextFieldTest::TearDown();
        view->close();
    }
    void send(SDL_Event e) { view->handleEvent(e); }
    SDL_Event mouse(Uint32 type, int x, int y) {
        SDL_Event e;
        SDL_zero(e);
        e.type = type;
        if (type == SDL_MOUSEMOTION) {
            e.motion.x = x;
            e.motion.y = y;
            e.motion.state = SDL_BUTTON_LMASK;
        } else {
            e.button.button = SDL_BUTTON_LEFT;
            e.button.x = x;
            e.button.y = y;
        }
        return e;
    }
    SDL_Event textInput(const char* s) {
        SDL_Event e;
        SDL_zero(e);
        e.type = SDL_TEXTINPUT;
        std::strncpy(e.text.text, s, sizeof(e.text.text) - 1);
        return e;
    }
    SDL_Event key(SDL_Keycode sym) {
        SDL_Event e;
        SDL_zero(e);
        e.type = SDL_KEYDOWN;
        e.key.keysym.sym = sym;
        return e;
    }
    CCEGLView* view = nullptr;
};

TEST_F(TextFieldViewTest, TypingThroughTheView) {
    field->setMaxLengthEnabled(true);
    field->setMaxLength(4);
    // Design (320, 480) is window (320, 480) with y growing down.
    send(mouse(SDL_MOUSEBUTTONDOWN, 320, 480));
    send(mouse(SDL_MOUSEBUTTONUP, 320, 480));
    step();
    EXPECT_EQ(std::vector<int>{TextFieldEventAttachWithIME}, log->events);
    log->clear();
    send(textInput("p\xC3\xA5"));
    send(textInput("gly!"));
    EXPECT_EQ("p\xC3\xA5gl", text());
    send(key(SDLK_BACKSPACE));
    EXPECT_EQ("p\xC3\xA5g", text());
    step();
    EXPECT_EQ((std::vector<int>{TextFieldEventInsertText, TextFieldEventDeleteBackward}),
              log->events);
    log->clear();
    send(key(SDLK_RETURN));
    step();
    EXPECT_EQ(std::vector<int>{TextFieldEventDetachWithIME}, log->events);
    EXPECT_EQ("p\xC3\xA5g", text());
}

}  // namespace
