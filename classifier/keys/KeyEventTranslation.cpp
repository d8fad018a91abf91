#include "keys/KeyEventTranslation.h"

#include <algorithm>
#include <iterator>

namespace {

struct QtKeyCode {
    int QtKey;
    std::int16_t KeyCode;
};

// Keys that Qt reports with KeypadModifier and that have keypad codes of their
// own. The keypad's navigation keys (Num Lock off) are not here: they share the
// codes of the navigation keys.
const QtKeyCode kKeypadKeys[] = {
    {Qt::Key_Asterisk, 0x6A}, {Qt::Key_Plus, 0x6B},  {Qt::Key_Minus, 0x6D},
    {Qt::Key_Period, 0x6E},   {Qt::Key_Comma, 0x6E},  // the decimal key of comma layouts
    {Qt::Key_Slash, 0x6F},    {Qt::Key_Equal, 0x92},
};

const QtKeyCode kNamedKeys[] = {
    // Editing, navigation and lock keys.
    {Qt::Key_Cancel, 0x03},
    {Qt::Key_Backspace, 0x08},
    {Qt::Key_Tab, 0x09},
    {Qt::Key_Backtab, 0x09},  // Shift+Tab; the Shift bit comes from the modifiers
    {Qt::Key_Clear, 0x0C},
    {Qt::Key_Return, 0x0D},
    {Qt::Key_Enter, 0x6C},
    {Qt::Key_Shift, 0x10},
    {Qt::Key_Control, 0x11},
    {Qt::Key_Alt, 0x12},
    {Qt::Key_AltGr, 0x12},
    {Qt::Key_Pause, 0x13},
    {Qt::Key_CapsLock, 0x14},
    {Qt::Key_Escape, 0x1B},
    {Qt::Key_Space, 0x20},
    {Qt::Key_PageUp, 0x21},
    {Qt::Key_PageDown, 0x22},
    {Qt::Key_End, 0x23},
    {Qt::Key_Home, 0x24},
    {Qt::Key_Left, 0x25},
    {Qt::Key_Up, 0x26},
    {Qt::Key_Right, 0x27},
    {Qt::Key_Down, 0x28},
    {Qt::Key_Select, 0x29},
    {Qt::Key_Printer, 0x2A},
    {Qt::Key_Execute, 0x2B},
    {Qt::Key_Print, 0x2C},
    {Qt::Key_SysReq, 0x2C},  // Alt+Print on X11; the Alt bit comes from the modifiers
    {Qt::Key_Insert, 0x2D},
    {Qt::Key_Delete, 0x2E},
    {Qt::Key_Help, 0x2F},
    {Qt::Key_NumLock, 0x90},
    {Qt::Key_ScrollLock, 0x91},
    // Punctuation, unshifted and shifted, by its key on a United States layout.
    {Qt::Key_QuoteLeft, 0xC0},
    {Qt::Key_AsciiTilde, 0xC0},
    {Qt::Key_Minus, 0xBD},
    {Qt::Key_Underscore, 0xBD},
    {Qt::Key_Equal, 0xBB},
    {Qt::Key_Plus, 0xBB},
    {Qt::Key_BracketLeft, 0xDB},
    {Qt::Key_BraceLeft, 0xDB},
    {Qt::Key_BracketRight, 0xDD},
    {Qt::Key_BraceRight, 0xDD},
    {Qt::Key_Backslash, 0xDC},
    {Qt::Key_Bar, 0xDC},
    {Qt::Key_Semicolon, 0xBA},
    {Qt::Key_Colon, 0xBA},
    {Qt::Key_Apostrophe, 0xDE},
    {Qt::Key_QuoteDbl, 0xDE},
    {Qt::Key_Comma, 0xBC},
    {Qt::Key_Less, 0xBC},
    {Qt::Key_Period, 0xBE},
    {Qt::Key_Greater, 0xBE},
    {Qt::Key_Slash, 0xBF},
    {Qt::Key_Question, 0xBF},
    {Qt::Key_ParenRight, 0x30},
    {Qt::Key_Exclam, 0x31},
    {Qt::Key_At, 0x32},
    {Qt::Key_NumberSign, 0x33},
    {Qt::Key_Dollar, 0x34},
    {Qt::Key_Percent, 0x35},
    {Qt::Key_AsciiCircum, 0x36},
    {Qt::Key_Ampersand, 0x37},
    {Qt::Key_Asterisk, 0x38},
    {Qt::Key_ParenLeft, 0x39},
    // Keys without a description that have a well-known code of their own.
    {Qt::Key_Meta, 0x5B},
    {Qt::Key_Super_L, 0x5B},
    {Qt::Key_Super_R, 0x5C},
    {Qt::Key_Menu, 0x5D},
    {Qt::Key_Sleep, 0x5F},
    {Qt::Key_Back, 0xA6},
    {Qt::Key_Forward, 0xA7},
    {Qt::Key_Refresh, 0xA8},
    {Qt::Key_Stop, 0xA9},
    {Qt::Key_Search, 0xAA},
    {Qt::Key_Favorites, 0xAB},
    {Qt::Key_HomePage, 0xAC},
    {Qt::Key_VolumeMute, 0xAD},
    {Qt::Key_VolumeDown, 0xAE},
    {Qt::Key_VolumeUp, 0xAF},
    {Qt::Key_MediaNext, 0xB0},
    {Qt::Key_MediaPrevious, 0xB1},
    {Qt::Key_MediaStop, 0xB2},
    {Qt::Key_MediaTogglePlayPause, 0xB3},
    {Qt::Key_MediaPlay, 0xB3},
};

template <std::size_t N>
const QtKeyCode* FindQtKey(const QtKeyCode (&table)[N], int qtKey) {
    const auto found =
        std::find_if(std::begin(table), std::end(table),
                     [qtKey](const QtKeyCode& entry) { return entry.QtKey == qtKey; });
    return found == std::end(table) ? nullptr : found;
}

// A code for a key the tables do not name: positive and above 0xFF, so that it
// never passes for a described key and the keystroke dialog still takes it, and
// the same for the same key every time.
std::int16_t CodeOfUnnamedKey(int qtKey, quint32 nativeScanCode) {
    if (qtKey >= 0x80 && qtKey < 0x4000) return static_cast<std::int16_t>(qtKey + 0x100);
    const bool namedByQt = (qtKey >> 24) == 0x01 && qtKey != Qt::Key_unknown;
    const int plane = (qtKey >> 16) & 0xFF;
    const int number = qtKey & 0xFFFF;
    if (namedByQt && plane == 0x00 && number < 0x2000) return 0x5000 + number;
    if (namedByQt && number < 0x100) {
        if (plane == 0x01) return 0x4100 + number;
        if (plane == 0x02) return 0x4200 + number;
        if (plane == 0x10) return 0x4300 + number;
    }
    return 0x7000 + (nativeScanCode & 0xFFF);
}

std::int16_t KeyCodeOf(int qtKey, bool keypad, quint32 nativeScanCode) {
    if (keypad) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return 0x60 + (qtKey - Qt::Key_0);
        if (const QtKeyCode* entry = FindQtKey(kKeypadKeys, qtKey)) return entry->KeyCode;
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return static_cast<std::int16_t>(qtKey);
    // Qt names letter keys by their capitals; a lower-case key from a synthetic
    // event is the same key.
    if (qtKey >= 'a' && qtKey <= 'z') return static_cast<std::int16_t>(qtKey - 'a' + 'A');
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return static_cast<std::int16_t>(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return 0x70 + (qtKey - Qt::Key_F1);
    if (const QtKeyCode* entry = FindQtKey(kNamedKeys, qtKey)) return entry->KeyCode;
    return CodeOfUnnamedKey(qtKey, nativeScanCode);
}

// Qt on X11 reports a modifier key's press with the modifiers held before it;
// other platforms include the key itself. Setting the key's own bit makes
// Shift pressed alone read "SHIFT+SHIFT key" everywhere.
std::int16_t OwnModifierBit(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Shift:
            return ShiftBit::Shift;
        case Qt::Key_Control:
            return ShiftBit::Ctrl;
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
            return ShiftBit::Alt;
        default:
            return 0;
    }
}

}  // namespace

std::int16_t ShiftStateFromModifiers(Qt::KeyboardModifiers modifiers) {
    std::int16_t shift = 0;
    if (modifiers & Qt::ShiftModifier) shift |= ShiftBit::Shift;
    if (modifiers & Qt::ControlModifier) shift |= ShiftBit::Ctrl;
    if (modifiers & Qt::AltModifier) shift |= ShiftBit::Alt;
    return shift;
}

KeyStroke KeyStrokeFromEvent(const QKeyEvent& event) {
    const int qtKey = event.key();
    const bool keypad = event.modifiers() & Qt::KeypadModifier;
    const std::int16_t keyCode = KeyCodeOf(qtKey, keypad, event.nativeScanCode());
    const std::int16_t shift = ShiftStateFromModifiers(event.modifiers()) | OwnModifierBit(qtKey);
    return {keyCode, shift};
}
