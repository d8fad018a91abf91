#include <gtest/gtest.h>

#include <QSet>

#include "keys/KeyEventTranslation.h"
#include "keys/mdlKeycodes.h"

namespace {

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kKeypad = Qt::KeypadModifier;

KeyStroke Press(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                quint32 nativeScanCode = 0) {
    const QKeyEvent event(QEvent::KeyPress, qtKey, modifiers, nativeScanCode, 0, 0);
    return KeyStrokeFromEvent(event);
}

std::int16_t CodeOf(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    return Press(qtKey, modifiers).KeyCode;
}

TEST(KeyStrokeFromEvent, LettersAndDigitsKeepTheirCodes) {
    for (int key = Qt::Key_A; key <= Qt::Key_Z; ++key) EXPECT_EQ(CodeOf(key), key);
    for (int key = Qt::Key_0; key <= Qt::Key_9; ++key) EXPECT_EQ(CodeOf(key), key);
    EXPECT_EQ(Press(Qt::Key_A, Qt::ControlModifier), (KeyStroke{0x41, 2}));
}

TEST(KeyStrokeFromEvent, FunctionKeys) {
    EXPECT_EQ(CodeOf(Qt::Key_F1), 0x70);
    EXPECT_EQ(CodeOf(Qt::Key_F4), 0x73);
    EXPECT_EQ(CodeOf(Qt::Key_F16), 0x7F);
    EXPECT_EQ(CodeOf(Qt::Key_F17), 0x80);
    EXPECT_EQ(CodeOf(Qt::Key_F24), 0x87);
    EXPECT_EQ(mdlKeycodes::KeyText(CodeOf(Qt::Key_F12), 0), "F12 key");
}

TEST(KeyStrokeFromEvent, KeypadDigitsAndOperators) {
    for (int digit = 0; digit <= 9; ++digit) {
        EXPECT_EQ(CodeOf(Qt::Key_0 + digit, kKeypad), 0x60 + digit);
    }
    EXPECT_EQ(CodeOf(Qt::Key_Asterisk, kKeypad), 0x6A);
    EXPECT_EQ(CodeOf(Qt::Key_Plus, kKeypad), 0x6B);
    EXPECT_EQ(CodeOf(Qt::Key_Enter, kKeypad), 0x6C);
    EXPECT_EQ(CodeOf(Qt::Key_Minus, kKeypad), 0x6D);
    EXPECT_EQ(CodeOf(Qt::Key_Period, kKeypad), 0x6E);
    EXPECT_EQ(CodeOf(Qt::Key_Comma, kKeypad), 0x6E);
    EXPECT_EQ(CodeOf(Qt::Key_Slash, kKeypad), 0x6F);
    // The keypad bit is no shift bit.
    EXPECT_EQ(Press(Qt::Key_5, Qt::KeypadModifier | Qt::ControlModifier), (KeyStroke{0x65, 2}));
}

TEST(KeyStrokeFromEvent, KeypadWithNumLockOffGivesNavigationKeys) {
    EXPECT_EQ(CodeOf(Qt::Key_Home, kKeypad), 0x24);
    EXPECT_EQ(CodeOf(Qt::Key_Down, kKeypad), 0x28);
    EXPECT_EQ(CodeOf(Qt::Key_PageDown, kKeypad), 0x22);
    EXPECT_EQ(CodeOf(Qt::Key_Clear, kKeypad), 0x0C);
    EXPECT_EQ(CodeOf(Qt::Key_Insert, kKeypad), 0x2D);
    EXPECT_EQ(CodeOf(Qt::Key_Delete, kKeypad), 0x2E);
}

TEST(KeyStrokeFromEvent, NavigationAndEditingKeys) {
    const std::pair<int, int> keys[] = {
        {Qt::Key_Backspace, 0x08}, {Qt::Key_Tab, 0x09},      {Qt::Key_Clear, 0x0C},
        {Qt::Key_Return, 0x0D},    {Qt::Key_Escape, 0x1B},   {Qt::Key_Space, 0x20},
        {Qt::Key_PageUp, 0x21},    {Qt::Key_PageDown, 0x22}, {Qt::Key_End, 0x23},
        {Qt::Key_Home, 0x24},      {Qt::Key_Left, 0x25},     {Qt::Key_Up, 0x26},
        {Qt::Key_Right, 0x27},     {Qt::Key_Down, 0x28},     {Qt::Key_Select, 0x29},
        {Qt::Key_Printer, 0x2A},   {Qt::Key_Execute, 0x2B},  {Qt::Key_Print, 0x2C},
        {Qt::Key_Insert, 0x2D},    {Qt::Key_Delete, 0x2E},   {Qt::Key_Help, 0x2F},
        {Qt::Key_Cancel, 0x03},
    };
    for (const auto& [qtKey, code] : keys) EXPECT_EQ(CodeOf(qtKey), code) << std::hex << qtKey;
    EXPECT_EQ(Press(Qt::Key_Backtab, Qt::ShiftModifier), (KeyStroke{0x09, 1}));
    EXPECT_EQ(Press(Qt::Key_SysReq, Qt::AltModifier), (KeyStroke{0x2C, 4}));
}

TEST(KeyStrokeFromEvent, LockAndPauseKeys) {
    EXPECT_EQ(CodeOf(Qt::Key_NumLock), 0x90);
    EXPECT_EQ(CodeOf(Qt::Key_ScrollLock), 0x91);
    EXPECT_EQ(CodeOf(Qt::Key_Pause), 0x13);
    EXPECT_EQ(CodeOf(Qt::Key_CapsLock), 0x14);
}

TEST(KeyStrokeFromEvent, ModifierKeysAloneCarryTheirOwnBit) {
    EXPECT_EQ(Press(Qt::Key_Shift), (KeyStroke{0x10, 1}));
    EXPECT_EQ(Press(Qt::Key_Shift, Qt::ShiftModifier), (KeyStroke{0x10, 1}));
    EXPECT_EQ(Press(Qt::Key_Control, Qt::ShiftModifier), (KeyStroke{0x11, 3}));
    EXPECT_EQ(Press(Qt::Key_Alt), (KeyStroke{0x12, 4}));
    EXPECT_EQ(mdlKeycodes::KeyText(0x10, Press(Qt::Key_Shift).Shift), "SHIFT+SHIFT key");
}

TEST(KeyStrokeFromEvent, UnshiftedPunctuation) {
    const std::pair<int, int> keys[] = {
        {Qt::Key_QuoteLeft, 0xC0},   {Qt::Key_Minus, 0xBD},        {Qt::Key_Equal, 0xBB},
        {Qt::Key_BracketLeft, 0xDB}, {Qt::Key_BracketRight, 0xDD}, {Qt::Key_Backslash, 0xDC},
        {Qt::Key_Semicolon, 0xBA},   {Qt::Key_Apostrophe, 0xDE},   {Qt::Key_Comma, 0xBC},
        {Qt::Key_Period, 0xBE},      {Qt::Key_Slash, 0xBF},
    };
    for (const auto& [qtKey, code] : keys) {
        EXPECT_EQ(Press(qtKey), (KeyStroke{std::int16_t(code), 0})) << char(qtKey);
    }
}

// Each shifted character of a United States layout is the key that produces
// it, with the Shift the event carries; the parser reads its name the same way.
TEST(KeyStrokeFromEvent, ShiftedPunctuationMapsBackToItsKey) {
    const char* characters = "~_+{}|:\"<>?)!@#$%^&*(";
    for (const char* c = characters; *c; ++c) {
        const KeyStroke pressed = Press(*c, Qt::ShiftModifier);
        EXPECT_EQ(pressed, mdlKeycodes::ParseKeyDescription(QString(QLatin1Char(*c)))) << *c;
    }
    EXPECT_EQ(Press(Qt::Key_Exclam, Qt::ShiftModifier), (KeyStroke{0x31, 1}));
    EXPECT_EQ(Press(Qt::Key_ParenLeft, Qt::ShiftModifier | Qt::ControlModifier),
              (KeyStroke{0x39, 3}));
    EXPECT_EQ(Press(Qt::Key_AsciiTilde, Qt::ShiftModifier), (KeyStroke{0xC0, 1}));
}

TEST(KeyStrokeFromEvent, ShiftStateHasOnlyShiftCtrlAndAlt) {
    EXPECT_EQ(Press(Qt::Key_B, Qt::ShiftModifier).Shift, 1);
    EXPECT_EQ(Press(Qt::Key_B, Qt::ControlModifier).Shift, 2);
    EXPECT_EQ(Press(Qt::Key_B, Qt::AltModifier).Shift, 4);
    EXPECT_EQ(Press(Qt::Key_B, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier).Shift, 7);
    EXPECT_EQ(Press(Qt::Key_B, Qt::MetaModifier | Qt::GroupSwitchModifier).Shift, 0);
}

// Sweeps Qt's keys with and without the keypad modifier: every described key
// code except the mouse buttons must come out of some key event.
TEST(KeyStrokeFromEvent, ReachesEveryDescribedKey) {
    QSet<int> reached;
    const auto sweep = [&reached](int first, int last) {
        for (int key = first; key <= last; ++key) {
            reached.insert(CodeOf(key, kNone));
            reached.insert(CodeOf(key, kKeypad));
        }
    };
    sweep(0x20, 0x7E);
    sweep(0x01000000, 0x010001FF);
    sweep(0x01010000, 0x0101000F);
    sweep(0x01020000, 0x0102000F);
    for (const QString& hex : mdlKeycodes::KeyDescriptions().keys()) {
        const int code = *mdlKeycodes::ParseHexKeyForm(hex);
        if (code == 1 || code == 2 || code == 4) continue;  // mouse buttons
        EXPECT_TRUE(reached.contains(code)) << mdlKeycodes::KeyName(code).toStdString();
    }
}

TEST(KeyStrokeFromEvent, UndescribedKeysNeverPassForDescribedOnes) {
    for (int key = 0xA0; key <= 0xFF; ++key) {  // Latin-1 keys: ä, ß, §, ...
        const std::int16_t code = CodeOf(key);
        EXPECT_GT(code, 0xFF) << key;
        EXPECT_TRUE(mdlKeycodes::KeyName(code).startsWith("0x"));
    }
    EXPECT_EQ(CodeOf(Qt::Key_Adiaeresis), 0x1C4);
    EXPECT_EQ(CodeOf(0x0416), 0x516);  // Cyrillic Zhe
    EXPECT_EQ(mdlKeycodes::KeyText(CodeOf(Qt::Key_Udiaeresis), 2), "CTRL+0x1DC");
}

TEST(KeyStrokeFromEvent, WellKnownUndescribedKeys) {
    EXPECT_EQ(CodeOf(Qt::Key_Meta), 0x5B);
    EXPECT_EQ(CodeOf(Qt::Key_Super_L), 0x5B);
    EXPECT_EQ(CodeOf(Qt::Key_Super_R), 0x5C);
    EXPECT_EQ(CodeOf(Qt::Key_Menu), 0x5D);
    EXPECT_EQ(CodeOf(Qt::Key_VolumeMute), 0xAD);
    EXPECT_EQ(mdlKeycodes::KeyName(CodeOf(Qt::Key_Meta)), "0x5B");
}

TEST(KeyStrokeFromEvent, OtherKeysGetDistinctStableCodes) {
    const int keys[] = {Qt::Key_Dead_Circumflex, Qt::Key_Dead_Acute, Qt::Key_Multi_key,
                        Qt::Key_Hangul,          Qt::Key_Yes,        Qt::Key_Zoom,
                        Qt::Key_Context1,        Qt::Key_Camera,     Qt::Key_MonBrightnessUp};
    QSet<int> codes;
    for (int key : keys) {
        const std::int16_t code = CodeOf(key);
        EXPECT_EQ(CodeOf(key), code);
        EXPECT_GT(code, 0xFF) << std::hex << key;  // outside every described code
        codes.insert(code);
    }
    EXPECT_EQ(codes.size(), int(std::size(keys)));
    EXPECT_EQ(mdlKeycodes::KeyName(CodeOf(Qt::Key_Dead_Circumflex)), "0x6252");
    // A key Qt cannot name is told apart by its scan code.
    EXPECT_NE(Press(Qt::Key_unknown, kNone, 94).KeyCode, Press(Qt::Key_unknown, kNone, 97).KeyCode);
    EXPECT_EQ(Press(Qt::Key_unknown, kNone, 94), Press(0, kNone, 94));
    const std::int16_t unknown = Press(Qt::Key_unknown, Qt::ControlModifier, 94).KeyCode;
    EXPECT_EQ(mdlKeycodes::ParseBindingKey(mdlKeycodes::BindingKey(unknown, 2)),
              (KeyStroke{unknown, 2}));
}

}  // namespace
