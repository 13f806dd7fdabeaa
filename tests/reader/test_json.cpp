#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "gui/reader/JsonDictionary.h"
#include "gui/reader/JsonHelper.h"

using namespace pagly::gui;

namespace {

const char* kDoc = R"({
  "int": 7, "neg": -3, "big": 4000000000, "real": 2.9, "negreal": -2.9, "huge": 1e300,
  "t": true, "f": false, "one": 1, "zero": 0, "str": "hello", "empty": "", "nul": null,
  "obj": {"a": 1, "b": {"c": "deep"}}, "arr": [{"x": 1}, "s", 3, null, [1, 2]], "earr": []
})";

struct NumberCase {
    const char* key;
    int asInt;
    double asFloat;
};

// A number or boolean converts; anything else gives the default (-1 / -1.5 here).
const NumberCase kNumbers[] = {
    {"int", 7, 7.0},       {"neg", -3, -3.0},        {"big", INT_MAX, 4e9}, {"real", 2, 2.9},
    {"negreal", -2, -2.9}, {"huge", INT_MAX, 1e300}, {"t", 1, 1.0},         {"f", 0, 0.0},
    {"str", -1, -1.5},     {"nul", -1, -1.5},        {"obj", -1, -1.5},     {"arr", -1, -1.5},
    {"missing", -1, -1.5},
};

TEST(JsonDictionary, NumbersFollowTheTypingRules) {
    JsonDictionary d;
    d.initWithText(kDoc);
    for (const NumberCase& c : kNumbers) {
        EXPECT_EQ(c.asInt, d.getInt(c.key, -1)) << c.key;
        EXPECT_DOUBLE_EQ(c.asFloat, d.getFloat(c.key, -1.5)) << c.key;
    }
}

struct BoolCase {
    const char* key;
    bool withFalseDefault;
    bool withTrueDefault;
};

TEST(JsonDictionary, OnlyTrueAndFalseAreBooleans) {
    const BoolCase cases[] = {
        {"t", true, true},    {"f", false, false},  {"one", false, true},     {"zero", false, true},
        {"str", false, true}, {"nul", false, true}, {"missing", false, true},
    };
    JsonDictionary d;
    d.initWithText(kDoc);
    for (const BoolCase& c : cases) {
        EXPECT_EQ(c.withFalseDefault, d.getBool(c.key)) << c.key;
        EXPECT_EQ(c.withTrueDefault, d.getBool(c.key, true)) << c.key;
    }
}

TEST(JsonDictionary, StringsOnlyFromStringMembers) {
    JsonDictionary d;
    d.initWithText(kDoc);
    EXPECT_STREQ("hello", d.getString("str"));
    EXPECT_STREQ("", d.getString("empty"));
    for (const char* key : {"int", "t", "nul", "obj", "arr", "missing"}) {
        EXPECT_EQ(nullptr, d.getString(key)) << key;
    }
}

TEST(JsonDictionary, SubDictionariesAndCounts) {
    JsonDictionary d;
    d.initWithText(kDoc);
    JsonDictionaryPtr obj(d.getSubDictionary("obj"));
    ASSERT_TRUE(obj);
    EXPECT_EQ(1, obj->getInt("a"));
    JsonDictionaryPtr b(obj->getSubDictionary("b"));
    ASSERT_TRUE(b);
    EXPECT_STREQ("deep", b->getString("c"));
    JsonDictionaryPtr nul(d.getSubDictionary("nul"));
    ASSERT_TRUE(nul);
    EXPECT_TRUE(nul->isNull());
    EXPECT_FALSE(JsonHelper::instance()->hasKey(nul.get(), "a"));
    EXPECT_EQ(nullptr, d.getSubDictionary("int"));
    EXPECT_EQ(nullptr, d.getSubDictionary("str"));
    EXPECT_EQ(nullptr, d.getSubDictionary("missing"));

    EXPECT_EQ(5, d.getArrayCount("arr"));
    EXPECT_EQ(2, d.getArrayCount("obj"));  // an object counts its members
    EXPECT_EQ(0, d.getArrayCount("nul"));
    EXPECT_EQ(0, d.getArrayCount("earr"));
    EXPECT_EQ(0, d.getArrayCount("str"));
    EXPECT_EQ(0, d.getArrayCount("missing"));
}

TEST(JsonDictionary, ArrayElements) {
    JsonDictionary d;
    d.initWithText(kDoc);
    JsonDictionaryPtr first(d.getArrayDictionary("arr", 0));
    ASSERT_TRUE(first);
    EXPECT_EQ(1, first->getInt("x"));
    EXPECT_EQ(nullptr, d.getArrayDictionary("arr", 1));  // a string element
    EXPECT_EQ(nullptr, d.getArrayDictionary("arr", 2));  // a number element
    JsonDictionaryPtr nulElement(d.getArrayDictionary("arr", 3));
    ASSERT_TRUE(nulElement);
    EXPECT_TRUE(nulElement->isNull());
    JsonDictionaryPtr inner(d.getArrayDictionary("arr", 4));
    EXPECT_TRUE(inner);
    EXPECT_EQ(nullptr, d.getArrayDictionary("arr", 5));   // index == size
    EXPECT_EQ(nullptr, d.getArrayDictionary("arr", -1));  // negative index
    EXPECT_EQ(nullptr, d.getArrayDictionary("obj", 0));   // an object is no array here
    EXPECT_EQ(nullptr, d.getArrayDictionary("nul", 0));

    EXPECT_STREQ("s", d.getArrayString("arr", 1));
    EXPECT_EQ(nullptr, d.getArrayString("arr", 0));
    EXPECT_EQ(nullptr, d.getArrayString("arr", 2));
    EXPECT_EQ(nullptr, d.getArrayString("arr", 5));  // index == size
    EXPECT_EQ(nullptr, d.getArrayString("str", 0));
}

TEST(JsonDictionary, ReturnedDictionariesOutliveTheirParent) {
    JsonDictionaryPtr b;
    {
        JsonDictionary d;
        d.initWithText(kDoc);
        JsonDictionaryPtr obj(d.getSubDictionary("obj"));
        b.reset(obj->getSubDictionary("b"));
        d.initWithText("{}");  // replacing the parent's value must not touch b
    }
    EXPECT_STREQ("deep", b->getString("c"));
}

TEST(JsonDictionary, NullValueGivesDefaultsEverywhere) {
    JsonDictionary fresh;
    JsonDictionary broken;
    broken.initWithText("this is not json");
    JsonDictionary emptyText;
    emptyText.initWithText("");
    JsonDictionary* nothing = nullptr;
    JsonHelper* h = JsonHelper::instance();
    for (JsonDictionary* d : {&fresh, &broken, &emptyText, nothing}) {
        EXPECT_EQ(5, h->getInt(d, "int", 5));
        EXPECT_DOUBLE_EQ(0.5, h->getFloat(d, "int", 0.5));
        EXPECT_EQ(nullptr, h->getString(d, "str"));
        EXPECT_TRUE(h->getBool(d, "t", true));
        EXPECT_EQ(nullptr, h->getSubDictionary(d, "obj"));
        EXPECT_EQ(0, h->getArrayCount(d, "arr"));
        EXPECT_EQ(nullptr, h->getArrayDictionary(d, "arr", 0));
        EXPECT_EQ(nullptr, h->getArrayString(d, "arr", 0));
        EXPECT_FALSE(h->hasKey(d, "int"));
    }
}

TEST(JsonDictionary, NonObjectRootsHaveNoMembers) {
    for (const char* text : {"[1, 2, 3]", "42", "\"text\"", "true"}) {
        JsonDictionary d;
        d.initWithText(text);
        EXPECT_EQ(9, d.getInt("0", 9)) << text;
        EXPECT_FALSE(d.hasKey("0")) << text;
        EXPECT_EQ(0, d.getArrayCount("0")) << text;
    }
}

TEST(JsonDictionary, SyntaxErrorKeepsWhatWasParsed) {
    JsonDictionary d;
    d.initWithText(R"({"a": 1, "b": [1, 2)");
    // No crash and no exception; whatever the parser built is readable.
    EXPECT_EQ(7, d.getInt("zzz", 7));
}

TEST(JsonDictionary, DeepNestingNeitherOverflowsNorHangs) {
    struct Case {
        int depth;
        bool complete;
    };
    const Case cases[] = {{JsonDictionary::kMaxNesting - 2, true}, {100000, false}};
    for (const Case& c : cases) {
        std::string text = "{\"a\":" + std::string(c.depth, '[') + "1" + std::string(c.depth, ']') +
                           ", \"after\": 5}";
        JsonDictionary d;
        d.initWithText(text.c_str(), text.size());
        // A document within the limit reads whole; a deeper one is cut off but stays usable.
        EXPECT_EQ(c.complete ? 5 : -1, d.getInt("after", -1)) << c.depth;
        JsonDictionaryPtr a(d.getSubDictionary("a"));
        if (c.complete) {
            EXPECT_TRUE(a) << c.depth;
        }
    }
}

TEST(JsonHelper, InstanceCanBeDestroyedAndCreatedAgain) {
    JsonHelper* first = JsonHelper::instance();
    EXPECT_TRUE(JsonHelper::hasInstance());
    EXPECT_EQ(first, JsonHelper::instance());
    JsonHelper::destroyInstance();
    EXPECT_FALSE(JsonHelper::hasInstance());
    JsonHelper::destroyInstance();  // twice is harmless
    EXPECT_NE(nullptr, JsonHelper::instance());
    EXPECT_TRUE(JsonHelper::hasInstance());
}

}  // namespace
