#include <gtest/gtest.h>

#include <QSet>
#include <map>

#include "core/CorvaneError.h"
#include "keys/mdlKeycodes.h"

using namespace mdlKeycodes;

namespace {

class KeyTables : public ::testing::Test {
protected:
    void SetUp() override { BuildKeyTables(); }
    void TearDown() override { BuildKeyTables(); }  // undo what a test added
};

QString Code(const QString& name) {
    return KeyCodesByName().Find(name);
}

TEST_F(KeyTables, HaveTheDescribedSizes) {
    EXPECT_EQ(KeyDescriptions().size(), 111);
    EXPECT_EQ(KeyCodesByName().Count(), 460);
    EXPECT_EQ(ShiftedKeyNames().Count(), 111);
}

TEST_F(KeyTables, NoTwoNamesEqualIgnoringCase) {
    QSet<QString> lowered;
    for (const QString& name : KeyCodesByName().Names()) lowered.insert(name.toLower());
    EXPECT_EQ(lowered.size(), KeyCodesByName().Count());
}

TEST_F(KeyTables, EveryDescriptionIsANameOfItsOwnCode) {
    for (auto it = KeyDescriptions().cbegin(); it != KeyDescriptions().cend(); ++it) {
        EXPECT_EQ(Code(it.value()), it.key()) << it.value().toStdString();
    }
}

TEST_F(KeyTables, ShiftedNamesAreNamesOfTheSameCode) {
    for (const QString& name : ShiftedKeyNames().Names()) {
        EXPECT_EQ(ShiftedKeyNames().Find(name), Code(name)) << name.toStdString();
    }
}

TEST_F(KeyTables, DescribeTheFourRuns) {
    EXPECT_EQ(KeyName(0x41), "A key");
    EXPECT_EQ(KeyName(0x5A), "Z key");
    EXPECT_EQ(KeyName(0x30), "0 key");
    EXPECT_EQ(KeyName(0x39), "9 key");
    EXPECT_EQ(KeyName(0x60), "0 key (keypad)");
    EXPECT_EQ(KeyName(0x69), "9 key (keypad)");
    EXPECT_EQ(KeyName(0x70), "F1 key");
    EXPECT_EQ(KeyName(0x7F), "F16 key");
    EXPECT_EQ(KeyName(0x80), "0x80");
}

TEST_F(KeyTables, DescribeTheSingleEntries) {
    EXPECT_EQ(KeyName(1), "Left mouse button");
    EXPECT_EQ(KeyName(18), "MENU key");
    EXPECT_EQ(KeyName(42), "PRINT SCREEN key");
    EXPECT_EQ(KeyName(44), "SNAPSHOT key");
    EXPECT_EQ(KeyName(144), "NUM LOCK key");
    EXPECT_EQ(KeyName(145), "Scroll Lock key");
    EXPECT_EQ(KeyName(192), "Back-tick/tilde key");
    EXPECT_EQ(KeyName(222), "Single/double quote key");
}

TEST_F(KeyTables, KeypadMinusIsWrittenWithAnEnDash) {
    EXPECT_EQ(KeyName(109), QString::fromUtf8("MINUS SIGN (\xE2\x80\x93) key (keypad)"));
    EXPECT_TRUE(KeyName(109).contains(QChar(0x2013)));
    EXPECT_FALSE(KeyName(109).contains(u'-'));
}

// How many names each key has, and how many of them are shifted, counted from
// the vocabulary as documented; a name filed under the wrong key shows here.
TEST_F(KeyTables, EachKeyHasItsNames) {
    const std::map<QString, std::pair<int, int>> expected = {
        {"1", {1, 0}},   {"3", {2, 0}},   {"8", {3, 0}},   {"D", {5, 0}},   {"11", {3, 0}},
        {"13", {3, 0}},  {"20", {4, 0}},  {"21", {4, 0}},  {"25", {4, 0}},  {"2A", {5, 0}},
        {"30", {9, 7}},  {"31", {7, 5}},  {"33", {8, 6}},  {"36", {11, 9}}, {"38", {11, 9}},
        {"39", {9, 7}},  {"41", {2, 0}},  {"60", {4, 0}},  {"63", {5, 0}},  {"65", {2, 0}},
        {"6A", {10, 0}}, {"6B", {9, 0}},  {"6C", {5, 0}},  {"6D", {9, 0}},  {"6E", {6, 0}},
        {"6F", {10, 0}}, {"70", {2, 0}},  {"90", {2, 0}},  {"91", {2, 0}},  {"BA", {7, 2}},
        {"BB", {13, 7}}, {"BC", {8, 5}},  {"BD", {7, 2}},  {"BE", {11, 5}}, {"BF", {13, 3}},
        {"C0", {14, 4}}, {"DB", {15, 7}}, {"DC", {12, 8}}, {"DD", {15, 7}}, {"DE", {9, 3}},
    };
    std::map<QString, std::pair<int, int>> counted;
    for (const QString& name : KeyCodesByName().Names()) {
        const QString hex = Code(name);
        if (!expected.count(hex)) continue;
        ++counted[hex].first;
        if (ShiftedKeyNames().Contains(name)) ++counted[hex].second;
    }
    for (const auto& [hex, counts] : expected) {
        EXPECT_EQ(counted[hex], counts) << "key " << hex.toStdString();
    }
}

TEST_F(KeyTables, LookUpNamesIgnoringLetterCase) {
    EXPECT_EQ(Code("a KEY"), "41");
    EXPECT_EQ(Code("KEYPAD PGDN"), "63");
    EXPECT_EQ(Code("unix PIPE symbol"), "DC");
    EXPECT_TRUE(Code("PageUp").isNull());  // blanks inside a name count
}

TEST_F(KeyTables, RefuseADuplicateCodeOrNameAndStayUnchanged) {
    const auto expectDuplicate = [](auto add) {
        try {
            add();
            ADD_FAILURE() << "no error";
        } catch (const CorvaneError& error) {
            EXPECT_EQ(error.Number(), CorvaneErrorNumber::DuplicateKey);
        }
    };
    expectDuplicate([] { AddKeyDescription("Another A key", 0x41); });
    expectDuplicate([] { AddKeyDescription("TAB KEY", 0xE2); });  // "TAB key" ignoring case
    expectDuplicate([] { AddKeyName("pgdn", 0x22, false); });
    EXPECT_EQ(KeyDescriptions().size(), 111);
    EXPECT_EQ(KeyCodesByName().Count(), 460);
    EXPECT_EQ(KeyName(0xE2), "0xE2");
    EXPECT_TRUE(Code("Another A key").isNull());

    AddKeyDescription("OEM 102 key", 0xE2);
    EXPECT_EQ(KeyText(0xE2, 2), "CTRL+OEM 102 key");
}

TEST(KeyText, PrefixesCtrlAltShiftInThatOrder) {
    EXPECT_EQ(KeyText(65, 0), "A key");
    EXPECT_EQ(KeyText(65, 3), "CTRL+SHIFT+A key");
    EXPECT_EQ(KeyText(65, 7), "CTRL+ALT+SHIFT+A key");
    EXPECT_EQ(KeyText(65, 5), "ALT+SHIFT+A key");
    EXPECT_EQ(KeyText(16, 1), "SHIFT+SHIFT key");
    EXPECT_EQ(KeyText(192, 1), "SHIFT+Back-tick/tilde key");
}

TEST(KeyText, IgnoresUnnamedShiftBits) {
    EXPECT_EQ(KeyText(66, 8), "B key");
    EXPECT_EQ(KeyText(66, 16), "B key");
    EXPECT_EQ(KeyText(66, 8 | 4), "ALT+B key");
}

TEST(KeyText, NamesUndescribedCodesInHex) {
    EXPECT_EQ(KeyText(229, 2), "CTRL+0xE5");
    EXPECT_EQ(KeyName(0), "0x0");
    EXPECT_EQ(KeyName(91), "0x5B");
    EXPECT_EQ(KeyName(226), "0xE2");
    EXPECT_EQ(KeyName(-1), "0xFFFF");
}

TEST(HexKeyForm, IsUppercaseWithoutPrefixOrLeadingZeros) {
    EXPECT_EQ(HexKeyForm(27), "1B");
    EXPECT_EQ(HexKeyForm(192), "C0");
    EXPECT_EQ(HexKeyForm(9), "9");
    EXPECT_EQ(HexKeyForm(0), "0");
    EXPECT_EQ(HexKeyForm(0x7FFF), "7FFF");
    EXPECT_EQ(HexKeyForm(-0x2000), "E000");
}

TEST(HexKeyForm, ReadsBackEverySixteenBitValue) {
    for (int value = -32768; value <= 32767; value += 7) {
        const auto code = static_cast<std::int16_t>(value);
        EXPECT_EQ(ParseHexKeyForm(HexKeyForm(code)), code);
    }
    EXPECT_EQ(ParseHexKeyForm("c0"), 192);
    EXPECT_EQ(ParseHexKeyForm("0041"), 65);
}

TEST(HexKeyForm, RefusesAnythingElse) {
    for (const char* text : {"", "0x41", "41 ", " 41", "+41", "-1", "G", "12345", "4,1"}) {
        EXPECT_FALSE(ParseHexKeyForm(text)) << text;
    }
    EXPECT_FALSE(ParseHexKeyForm(QString(QChar(0x0661))));  // an Arabic-Indic digit one
}

TEST(BindingKey, JoinsCodeAndShiftWithAComma) {
    EXPECT_EQ(BindingKey(65, 2), "41,2");
    EXPECT_EQ(BindingKey(112, 0), "70,0");
    EXPECT_EQ(BindingKey(KeyStroke{192, 7}), "C0,7");
}

TEST(BindingKey, ReadsBackIntoTheKeystroke) {
    EXPECT_EQ(ParseBindingKey("41,2"), (KeyStroke{65, 2}));
    EXPECT_EQ(ParseBindingKey("c0,7"), (KeyStroke{192, 7}));
    EXPECT_EQ(ParseBindingKey(BindingKey(-28078, 5)), (KeyStroke{-28078, 5}));
    for (const char* text : {"", "41", "41,", ",2", "41,2,0", "41;2", "41, 2", "0x41,2"}) {
        EXPECT_FALSE(ParseBindingKey(text)) << text;
    }
}

}  // namespace
