#include <gtest/gtest.h>

#include "core/CorvaneError.h"
#include "keys/mdlKeycodes.h"

using namespace mdlKeycodes;

namespace {

KeyStroke Parse(const QString& description) {
    return ParseKeyDescription(description);
}

// The message of the error that parsing `description` raises, or "" if none.
QString FailureOf(const QString& description) {
    try {
        ParseKeyDescription(description);
    } catch (const CorvaneError& error) {
        EXPECT_EQ(error.Number(), 513);
        return error.Description();
    }
    return {};
}

TEST(ParseKeyDescription, ReadsModifiersInAnyCaseAndSpelling) {
    EXPECT_EQ(Parse("ctrl+a"), (KeyStroke{65, 2}));
    EXPECT_EQ(Parse("CTRL+SHIFT+A key"), (KeyStroke{65, 3}));
    EXPECT_EQ(Parse("Alt+F4"), (KeyStroke{115, 4}));
    EXPECT_EQ(Parse("control + shift + a"), (KeyStroke{65, 3}));
    EXPECT_EQ(Parse("Shift+Shift+A"), (KeyStroke{65, 1}));
    EXPECT_EQ(Parse("ALT\t+\tcontrol+b"), (KeyStroke{66, 6}));
}

TEST(ParseKeyDescription, ShiftedNamesSetShift) {
    EXPECT_EQ(Parse("Control + Shift + Open paren"), (KeyStroke{57, 3}));
    EXPECT_EQ(Parse("Open paren"), (KeyStroke{57, 1}));
    EXPECT_EQ(Parse("Tilde"), (KeyStroke{192, 1}));
    EXPECT_EQ(Parse("Back tick"), (KeyStroke{192, 0}));
    EXPECT_EQ(Parse("UNIX pipe"), (KeyStroke{220, 1}));
    EXPECT_EQ(Parse("?"), (KeyStroke{191, 1}));
    EXPECT_EQ(Parse("/"), (KeyStroke{191, 0}));
}

TEST(ParseKeyDescription, TellsThePlusKeyFromThePlusSign) {
    EXPECT_EQ(Parse("+"), (KeyStroke{187, 1}));
    EXPECT_EQ(Parse("Shift++"), (KeyStroke{187, 1}));
    EXPECT_EQ(Parse("Ctrl + +"), (KeyStroke{187, 3}));
    EXPECT_EQ(Parse("Keypad +"), (KeyStroke{107, 0}));
}

TEST(ParseKeyDescription, ModifierWordsWithoutPlusAreKeyNames) {
    EXPECT_EQ(Parse("Shift"), (KeyStroke{16, 0}));
    EXPECT_EQ(Parse("SHIFT+SHIFT key"), (KeyStroke{16, 1}));
    EXPECT_EQ(Parse("Ctrl+Control"), (KeyStroke{17, 2}));
    EXPECT_EQ(Parse("CTRL key"), (KeyStroke{17, 0}));
    EXPECT_EQ(Parse("alt + Menu"), (KeyStroke{18, 4}));
}

TEST(ParseKeyDescription, FoldsBlanksAndTabs) {
    EXPECT_EQ(Parse("Page   Up"), (KeyStroke{33, 0}));
    EXPECT_EQ(Parse("Page\tUp"), (KeyStroke{33, 0}));
    EXPECT_EQ(Parse("  Tab  "), (KeyStroke{9, 0}));
    EXPECT_EQ(Parse("KEYPAD PGDN"), (KeyStroke{99, 0}));
    EXPECT_EQ(Parse(QString::fromUtf8("minus sign (\xE2\x80\x93) KEY (keypad)")),
              (KeyStroke{109, 0}));
}

// A sample of the synonym vocabulary, the less obvious spellings of each key.
TEST(ParseKeyDescription, ReadsTheSynonyms) {
    const std::pair<const char*, KeyStroke> samples[] = {
        {"BS", {0x08, 0}},
        {"Carriage return", {0x0D, 0}},
        {"Break", {0x13, 0}},
        {"SP", {0x20, 0}},
        {"Pg Dn", {0x22, 0}},
        {"<-", {0x25, 0}},
        {"->", {0x27, 0}},
        {"Sys Rq", {0x2A, 0}},
        {"Snapshot", {0x2C, 0}},
        {"Del", {0x2E, 0}},
        {"Num Lock", {0x90, 0}},
        {"Scroll Lock", {0x91, 0}},
        {"Close parentheses", {0x30, 1}},
        {"Bang", {0x31, 1}},
        {"At sign", {0x32, 1}},
        {"Sharp", {0x33, 1}},
        {"Per cent sign", {0x35, 1}},
        {"Raised to the sign", {0x36, 1}},
        {"Up arrow character", {0x36, 1}},
        {"And sign", {0x37, 1}},
        {"Times symbol", {0x38, 1}},
        {"Keypad 5", {0x65, 0}},
        {"Keypad Insert", {0x60, 0}},
        {"Keypad <-", {0x64, 0}},
        {"Keypad times symbol", {0x6A, 0}},
        {"Keypad sum", {0x6B, 0}},
        {"Keypad CR", {0x6C, 0}},
        {"Keypad difference symbol", {0x6D, 0}},
        {"Keypad decimal point", {0x6E, 0}},
        {"Keypad divided by", {0x6F, 0}},
        {"Left single quote", {0xC0, 0}},
        {"Wiggle", {0xC0, 1}},
        {"Hyphen", {0xBD, 0}},
        {"Underscore", {0xBD, 1}},
        {"Equal sign", {0xBB, 0}},
        {"Addition symbol", {0xBB, 1}},
        {"Open square brace", {0xDB, 0}},
        {"Open curly brace", {0xDB, 1}},
        {"Close square bracket", {0xDD, 0}},
        {"Close curly bracket", {0xDD, 1}},
        {"Back slash", {0xDC, 0}},
        {"Or", {0xDC, 1}},
        {"Semi-colon", {0xBA, 0}},
        {"Colon", {0xBA, 1}},
        {"Right single quote", {0xDE, 0}},
        {"\"", {0xDE, 1}},
        {"Comma", {0xBC, 0}},
        {"Less than symbol", {0xBC, 1}},
        {"Decimal point", {0xBE, 0}},
        {"Greater", {0xBE, 1}},
        {"Divided by", {0xBF, 0}},
        {"Question", {0xBF, 1}},
        {"F16", {0x7F, 0}},
        {"z", {0x5A, 0}},
    };
    for (const auto& [name, keyStroke] : samples) EXPECT_EQ(Parse(name), keyStroke) << name;
}

TEST(ParseKeyDescription, ReportsTheUnresolvedRestInQuotes) {
    EXPECT_EQ(FailureOf("\tTab"), "Invalid key description: \" Tab\"");
    EXPECT_EQ(FailureOf("shiftA"), "Invalid key description: \"shiftA\"");
    EXPECT_EQ(FailureOf("Ctrl+"), "Invalid key description: \"\"");
    EXPECT_EQ(FailureOf("Ctrl + Alt + Foo"), "Invalid key description: \"Foo\"");
    EXPECT_EQ(FailureOf("  Ctrl  +  Foo  Bar  "), "Invalid key description: \"Foo Bar\"");
    EXPECT_EQ(FailureOf(""), "Invalid key description: \"\"");
    EXPECT_EQ(FailureOf("PageUp"), "Invalid key description: \"PageUp\"");
    EXPECT_EQ(FailureOf("A key+Ctrl"), "Invalid key description: \"A key+Ctrl\"");
    // A hyphen where the keypad minus has its en dash is another name.
    EXPECT_EQ(FailureOf("MINUS SIGN (-) key (keypad)"),
              "Invalid key description: \"MINUS SIGN (-) key (keypad)\"");
}

// A megabyte of modifiers once took the window minutes to refuse; now the
// length alone refuses it, and the message quotes only its beginning.
TEST(ParseKeyDescription, RefusesDescriptionsLongerThan256CharactersAtOnce) {
    QString modifiers;
    for (int i = 0; i < 200000; ++i) modifiers += "CTRL+";
    EXPECT_EQ(FailureOf(modifiers + "A"),
              "Invalid key description: \"" + modifiers.left(256) + "...\"");

    QString longest;
    for (int i = 0; i < 51; ++i) longest += "Ctrl+";
    longest += "A";
    ASSERT_EQ(longest.size(), 256);
    EXPECT_EQ(Parse(longest), (KeyStroke{65, 2}));
    EXPECT_EQ(FailureOf(longest + " "), "Invalid key description: \"" + longest + "...\"");
    EXPECT_EQ(FailureOf(modifiers.left(250) + "Foo"), "Invalid key description: \"Foo\"");
    // The quoted beginning never ends in half a character.
    const QString bird = QString::fromUtf8("\xF0\x9F\x90\xA6");
    EXPECT_EQ(FailureOf(QString(255, 'a') + bird + "b"),
              "Invalid key description: \"" + QString(255, 'a') + "...\"");
}

TEST(ParseKeyDescription, RefusesTheHexFormOfUndescribedKeys) {
    EXPECT_EQ(FailureOf(KeyText(0x5B, 2)), "Invalid key description: \"0x5B\"");
    EXPECT_EQ(FailureOf("0xE5"), "Invalid key description: \"0xE5\"");
    EXPECT_EQ(FailureOf("41"), "Invalid key description: \"41\"");  // a hex form is no name
}

TEST(ParseKeyDescription, ReadsBackEveryKeyTextOfADescribedCode) {
    int checked = 0;
    for (const QString& hex : KeyDescriptions().keys()) {
        const std::int16_t code = *ParseHexKeyForm(hex);
        for (std::int16_t shift = 0; shift <= 7; ++shift) {
            EXPECT_EQ(Parse(KeyText(code, shift)), (KeyStroke{code, shift}))
                << KeyText(code, shift).toStdString();
            ++checked;
        }
    }
    EXPECT_EQ(checked, 111 * 8);
}

TEST(ParseKeyDescription, ReadsEveryNameAsItsKey) {
    for (const QString& name : KeyCodesByName().Names()) {
        const std::int16_t code = *ParseHexKeyForm(KeyCodesByName().Find(name));
        const std::int16_t shift = ShiftedKeyNames().Contains(name) ? 1 : 0;
        EXPECT_EQ(Parse(name), (KeyStroke{code, shift})) << name.toStdString();
        EXPECT_EQ(Parse("Alt+" + name.toUpper()), (KeyStroke{code, std::int16_t(shift | 4)}))
            << name.toStdString();
    }
}

}  // namespace
