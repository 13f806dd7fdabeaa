// The IME text field: placeholder, typed text through the dispatcher, UTF-8 character
// counting and deletion, delegate refusals, Enter, secure entry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/director/CCIMEDispatcher.h"
#include "engine/nodes/CCTextFieldTTF.h"
#include "support/Harness.h"

using namespace pagly::engine;

namespace {

std::vector<bool> g_keyboard;
void recordKeyboard(bool open) { g_keyboard.push_back(open); }

// Refuses whatever its flags say and remembers what it was told.
class Watcher : public CCTextFieldDelegate {
  public:
    bool refuseAttach = false, refuseDetach = false, refuseInsert = false, refuseDelete = false;
    bool takeEnter = false, skipDraw = false;
    std::vector<std::string> inserted, deleted;
    int attaches = 0, detaches = 0;

    bool onTextFieldAttachWithIME(CCTextFieldTTF*) override {
        ++attaches;
        return refuseAttach;
    }
    bool onTextFieldDetachWithIME(CCTextFieldTTF*) override {
        ++detaches;
        return refuseDetach;
    }
    bool onTextFieldInsertText(CCTextFieldTTF*, const char* text, int len) override {
        inserted.emplace_back(text, (size_t)len);
        if (std::string(text, (size_t)len) == "\n") return takeEnter;
        return refuseInsert;
    }
    bool onTextFieldDeleteBackward(CCTextFieldTTF*, const char* text, int len) override {
        deleted.emplace_back(text, (size_t)len);
        return refuseDelete;
    }
    bool onDraw(CCTextFieldTTF*) override { return skipDraw; }
};

class TextFieldTest : public pagly::test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        g_keyboard.clear();
        ime()->setKeyboardHook(recordKeyboard);
        field = CCTextFieldTTF::textFieldWithPlaceHolder("input words here", "Arial", 20);
        field->retain();
        field->setDelegate(&watcher);
    }
    void TearDown() override {
        field->release();
        ime()->setKeyboardHook(nullptr);
        EngineTest::TearDown();
    }
    static CCIMEDispatcher* ime() { return CCIMEDispatcher::sharedDispatcher(); }
    void type(const std::string& text) {
        ime()->dispatchInsertText(text.c_str(), (int)text.size());
    }

    CCTextFieldTTF* field = nullptr;
    Watcher watcher;
};

}  // namespace

TEST_F(TextFieldTest, ShowsThePlaceholderInItsColourWhileEmpty) {
    EXPECT_STREQ("", field->getString());
    EXPECT_STREQ("input words here", field->getPlaceHolder());
    EXPECT_EQ(0, field->getCharCount());
    EXPECT_GT(field->getContentSize().width, 50) << "the placeholder is what shows";
    EXPECT_EQ(ccColor3B(127, 127, 127), field->getDisplayedColor());

    field->setColor(ccColor3B(0, 0, 255));
    field->setString("hi");
    EXPECT_EQ(ccColor3B(0, 0, 255), field->getDisplayedColor());
    field->setString(nullptr);
    EXPECT_STREQ("", field->getString());
    EXPECT_EQ(ccColor3B(127, 127, 127), field->getDisplayedColor());
}

TEST_F(TextFieldTest, TypedTextArrivesOnlyWhileAttached) {
    type("lost");
    EXPECT_STREQ("", field->getString());
    ASSERT_TRUE(field->attachWithIME());
    EXPECT_EQ(std::vector<bool>{true}, g_keyboard);
    type("Hello");
    type(" there");
    EXPECT_STREQ("Hello there", field->getString());
    EXPECT_EQ(11, field->getCharCount());
    EXPECT_STREQ("Hello there", ime()->getContentText());
    EXPECT_TRUE(field->detachWithIME());
    type("!");
    EXPECT_STREQ("Hello there", field->getString());
    EXPECT_EQ((std::vector<bool>{true, false}), g_keyboard);
}

TEST_F(TextFieldTest, CountsAndDeletesWholeUtf8Characters) {
    ASSERT_TRUE(field->attachWithIME());
    type("caf\xC3\xA9 \xE4\xBD\xA0");  // "café 你"
    EXPECT_EQ(6, field->getCharCount());
    ime()->dispatchDeleteBackward();
    EXPECT_STREQ("caf\xC3\xA9 ", field->getString());
    ime()->dispatchDeleteBackward();
    ime()->dispatchDeleteBackward();
    EXPECT_STREQ("caf", field->getString());
    EXPECT_EQ((std::vector<std::string>{"\xE4\xBD\xA0", " ", "\xC3\xA9"}), watcher.deleted);
    for (int i = 0; i < 5; ++i) ime()->dispatchDeleteBackward();  // past empty: harmless
    EXPECT_STREQ("", field->getString());
    EXPECT_EQ(0, field->getCharCount());

    // Stray continuation bytes are deleted without running off the front.
    field->setString("\x80\x80");
    ime()->dispatchDeleteBackward();
    EXPECT_STREQ("", field->getString());
}

TEST_F(TextFieldTest, DelegateCanRefuseEachStep) {
    watcher.refuseAttach = true;
    EXPECT_FALSE(field->attachWithIME());
    EXPECT_TRUE(g_keyboard.empty());
    watcher.refuseAttach = false;
    ASSERT_TRUE(field->attachWithIME());

    watcher.refuseInsert = true;
    type("abc");
    EXPECT_STREQ("", field->getString());
    watcher.refuseInsert = false;
    type("abc");
    watcher.refuseDelete = true;
    ime()->dispatchDeleteBackward();
    EXPECT_STREQ("abc", field->getString());

    watcher.refuseDetach = true;
    EXPECT_FALSE(field->detachWithIME());
    EXPECT_TRUE(ime()->isAnyDelegateAttachedWithIME());
    watcher.refuseDetach = false;
    EXPECT_TRUE(field->detachWithIME());
}

TEST_F(TextFieldTest, EnterEndsInputUnlessTheDelegateTakesIt) {
    ASSERT_TRUE(field->attachWithIME());
    type("one\n");
    EXPECT_STREQ("one", field->getString()) << "the line break is not text";
    EXPECT_FALSE(ime()->isAnyDelegateAttachedWithIME());
    EXPECT_EQ((std::vector<std::string>{"one", "\n"}), watcher.inserted);

    ASSERT_TRUE(field->attachWithIME());
    watcher.takeEnter = true;
    type("\n");
    EXPECT_TRUE(ime()->isAnyDelegateAttachedWithIME());
    EXPECT_STREQ("one", field->getString());
    field->detachWithIME();
}

TEST_F(TextFieldTest, SecureEntryHidesTheCharacters) {
    field->setString("iii");
    float narrow = field->getContentSize().width;
    field->setString("WWW");
    EXPECT_GT(field->getContentSize().width, narrow * 2);

    field->setSecureTextEntry(true);
    float hiddenWide = field->getContentSize().width;
    field->setString("iii");
    EXPECT_EQ(hiddenWide, field->getContentSize().width) << "one bullet per character";
    EXPECT_STREQ("iii", field->getString()) << "the real text is kept";
}

TEST_F(TextFieldTest, DestroyedFieldLetsGoOfTheKeyboard) {
    CCTextFieldTTF* other = CCTextFieldTTF::textFieldWithPlaceHolder("x", "Arial", 20);
    other->retain();
    ASSERT_TRUE(other->attachWithIME());
    other->release();
    step();  // the autorelease pool lets go too
    EXPECT_FALSE(ime()->isAnyDelegateAttachedWithIME());
    EXPECT_EQ((std::vector<bool>{true, false}), g_keyboard);
    type("nothing breaks");
}
