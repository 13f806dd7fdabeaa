// The input-method dispatcher: one attached delegate gets the typed text; delegates may
// refuse to attach or detach; the keyboard opens and closes with attachment.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/director/CCIMEDispatcher.h"

using namespace pagly::engine;

namespace {

std::vector<bool> g_keyboard;
void recordKeyboard(bool open) { g_keyboard.push_back(open); }

class Typist : public CCIMEDelegate {
  public:
    bool canAttach = true, canDetach = true;
    std::string text;
    int attached = 0, detached = 0, deletes = 0;

  protected:
    bool canAttachWithIME() override { return canAttach; }
    bool canDetachWithIME() override { return canDetach; }
    void didAttachWithIME() override { ++attached; }
    void didDetachWithIME() override { ++detached; }
    void insertText(const char* t, int len) override { text.append(t, (size_t)len); }
    void deleteBackward() override {
        ++deletes;
        if (!text.empty()) text.pop_back();
    }
    const char* getContentText() override { return text.c_str(); }
};

class IMEDispatcher : public ::testing::Test {
  protected:
    void SetUp() override {
        g_keyboard.clear();
        ime()->setKeyboardHook(recordKeyboard);
    }
    void TearDown() override { ime()->setKeyboardHook(nullptr); }
    static CCIMEDispatcher* ime() { return CCIMEDispatcher::sharedDispatcher(); }
};

}  // namespace

TEST_F(IMEDispatcher, TextGoesOnlyToTheAttachedDelegate) {
    Typist a, b;
    ime()->dispatchInsertText("lost", 4);  // nobody attached: dropped
    ASSERT_TRUE(a.attachWithIME());
    ime()->dispatchInsertText("hello world", 5);
    ime()->dispatchDeleteBackward();
    EXPECT_EQ("hell", a.text);
    EXPECT_EQ("", b.text);
    EXPECT_STREQ("hell", ime()->getContentText());

    // Moving the attachment to b detaches a, the keyboard stays open.
    ASSERT_TRUE(b.attachWithIME());
    EXPECT_EQ(1, a.detached);
    ime()->dispatchInsertText("x", 1);
    EXPECT_EQ("x", b.text);
    EXPECT_EQ("hell", a.text);
    EXPECT_EQ((std::vector<bool>{true}), g_keyboard);

    EXPECT_FALSE(a.detachWithIME()) << "a is not attached";
    EXPECT_TRUE(b.detachWithIME());
    EXPECT_FALSE(ime()->isAnyDelegateAttachedWithIME());
    EXPECT_EQ((std::vector<bool>{true, false}), g_keyboard);
}

TEST_F(IMEDispatcher, RefusalsAreHonoured) {
    Typist a, b;
    a.canAttach = false;
    EXPECT_FALSE(a.attachWithIME());
    EXPECT_TRUE(g_keyboard.empty());

    ASSERT_TRUE(b.attachWithIME());
    b.canDetach = false;
    a.canAttach = true;
    EXPECT_FALSE(a.attachWithIME()) << "b will not let go";
    EXPECT_FALSE(b.detachWithIME());
    EXPECT_EQ(&b, ime()->attachedDelegate());
    b.canDetach = true;
    EXPECT_TRUE(b.detachWithIME());
}

TEST_F(IMEDispatcher, DestroyedDelegateIsForgottenAndKeyboardCloses) {
    {
        Typist gone;
        ASSERT_TRUE(gone.attachWithIME());
    }
    EXPECT_FALSE(ime()->isAnyDelegateAttachedWithIME());
    ime()->dispatchInsertText("safe", 4);  // must not reach freed memory
    ime()->dispatchDeleteBackward();
    EXPECT_EQ((std::vector<bool>{true, false}), g_keyboard);
}

TEST_F(IMEDispatcher, BadInsertArgumentsAreIgnored) {
    Typist a;
    ASSERT_TRUE(a.attachWithIME());
    ime()->dispatchInsertText(nullptr, 3);
    ime()->dispatchInsertText("abc", 0);
    ime()->dispatchInsertText("abc", -2);
    EXPECT_EQ("", a.text);
    a.detachWithIME();
}
