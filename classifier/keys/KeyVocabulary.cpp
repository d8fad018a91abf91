#include "keys/KeyVocabulary.h"

namespace KeyVocabulary {
namespace {

struct Description {
    std::int16_t KeyCode;
    const char* Text;  // UTF-8
};

const Description kDescriptions[] = {
    {0x01, "Left mouse button"},
    {0x02, "Right mouse button"},
    {0x03, "CANCEL key"},
    {0x04, "Middle mouse button"},
    {0x08, "BACKSPACE key"},
    {0x09, "TAB key"},
    {0x0C, "CLEAR key"},
    {0x0D, "ENTER key"},
    {0x10, "SHIFT key"},
    {0x11, "CTRL key"},
    {0x12, "MENU key"},
    {0x13, "PAUSE key"},
    {0x14, "CAPS LOCK key"},
    {0x1B, "ESC key"},
    {0x20, "SPACEBAR key"},
    {0x21, "PAGE UP key"},
    {0x22, "PAGE DOWN key"},
    {0x23, "END key"},
    {0x24, "HOME key"},
    {0x25, "LEFT ARROW key"},
    {0x26, "UP ARROW key"},
    {0x27, "RIGHT ARROW key"},
    {0x28, "DOWN ARROW key"},
    {0x29, "SELECT key"},
    {0x2A, "PRINT SCREEN key"},
    {0x2B, "EXECUTE key"},
    {0x2C, "SNAPSHOT key"},
    {0x2D, "INSERT key"},
    {0x2E, "DELETE key"},
    {0x2F, "HELP key"},
    {0x90, "NUM LOCK key"},
    {0x6A, "MULTIPLICATION SIGN (*) key (keypad)"},
    {0x6B, "PLUS SIGN (+) key (keypad)"},
    {0x6C, "ENTER key (keypad)"},
    {0x6D, "MINUS SIGN (\u2013) key (keypad)"},  // an en dash, not a hyphen
    {0x6E, "DECIMAL POINT (.) key (keypad)"},
    {0x6F, "DIVISION SIGN (/) key (keypad)"},
    {0xC0, "Back-tick/tilde key"},
    {0xBD, "Hyphen/underscore key"},
    {0xBB, "Equals/plus key"},
    {0xDB, "Left bracket/brace key"},
    {0xDD, "Right bracket/brace key"},
    {0xDC, "Backslash/vertical bar key"},
    {0xBA, "Semicolon/colon key"},
    {0xDE, "Single/double quote key"},
    {0xBC, "Comma/less than key"},
    {0xBE, "Period/greater than key"},
    {0xBF, "Forward slash/question mark key"},
    {0x91, "Scroll Lock key"},
};

// Names of one key. Plain names are only names; shifted names stand for the
// character the key gives with Shift on a United States layout.
struct KeyNames {
    std::int16_t KeyCode;
    bool Shifted;
    const char* Names[10];  // ends at the first null
};

const KeyNames kCharacterNames[] = {
    {0x30, true, {")"}},   {0x31, true, {"!"}},  {0x32, true, {"@"}},  {0x33, true, {"#"}},
    {0x34, true, {"$"}},   {0x35, true, {"%"}},  {0x36, true, {"^"}},  {0x37, true, {"&"}},
    {0x38, true, {"*"}},   {0x39, true, {"("}},  {0xC0, false, {"`"}}, {0xC0, true, {"~"}},
    {0xBD, false, {"-"}},  {0xBD, true, {"_"}},  {0xBB, false, {"="}}, {0xBB, true, {"+"}},
    {0xDB, false, {"["}},  {0xDB, true, {"{"}},  {0xDD, false, {"]"}}, {0xDD, true, {"}"}},
    {0xDC, false, {"\\"}}, {0xDC, true, {"|"}},  {0xBA, false, {";"}}, {0xBA, true, {":"}},
    {0xDE, false, {"'"}},  {0xDE, true, {"\""}}, {0xBC, false, {","}}, {0xBC, true, {"<"}},
    {0xBE, false, {"."}},  {0xBE, true, {">"}},  {0xBF, false, {"/"}}, {0xBF, true, {"?"}},
};

const KeyNames kWordNames[] = {
    {0x03, false, {"Cancel"}},
    {0x08, false, {"Backspace", "BS"}},
    {0x09, false, {"Tab"}},
    {0x0C, false, {"Clear"}},
    {0x0D, false, {"Enter", "Return", "Carriage return", "CR"}},
    {0x10, false, {"Shift"}},
    {0x11, false, {"Ctrl", "Control"}},
    {0x12, false, {"Menu"}},
    {0x13, false, {"Pause", "Break"}},
    {0x14, false, {"Caps Lock"}},
    {0x1B, false, {"Esc", "Escape"}},
    {0x20, false, {"Spacebar", "Space", "SP"}},
    {0x21, false, {"Page Up", "Pg Up", "PgUp"}},
    {0x22, false, {"Page Down", "Pg Dn", "PgDn"}},
    {0x23, false, {"End"}},
    {0x24, false, {"Home"}},
    {0x25, false, {"Left arrow", "Left", "<-"}},
    {0x26, false, {"Up arrow", "Up"}},
    {0x27, false, {"Right arrow", "Right", "->"}},
    {0x28, false, {"Down arrow", "Down"}},
    {0x29, false, {"Select"}},
    {0x2A, false, {"Print Screen", "System Request", "Sys Rq", "SysRq"}},
    {0x2B, false, {"Execute"}},
    {0x2C, false, {"Snapshot"}},
    {0x2D, false, {"Insert", "Ins"}},
    {0x2E, false, {"Delete", "Del"}},
    {0x2F, false, {"Help"}},
    {0x90, false, {"Num Lock"}},
    {0x30,
     true,
     {"Right parenthesis", "Close parenthesis", "Right parentheses", "Close parentheses",
      "Right paren", "Close paren"}},
    {0x31, true, {"Exclamation point", "Exclamation mark", "Exclamation", "Bang"}},
    {0x32, true, {"At", "At sign"}},
    {0x33, true, {"Number", "Number sign", "Pound", "Pound sign", "Sharp"}},
    {0x34, true, {"Dollar sign", "Dollar"}},
    {0x35, true, {"Percent sign", "Per cent sign", "Percent", "Per cent"}},
    {0x36,
     true,
     {"Carat", "Hat", "Power", "Power sign", "Raised to the", "Raised to the sign", "Up character",
      "Up arrow character"}},
    {0x37, true, {"Ampersand", "And", "And sign"}},
    {0x38,
     true,
     {"Asterisk", "Star", "Multiply", "Multiplication sign", "Multiplication symbol", "Times",
      "Times sign", "Times symbol"}},
    {0x39,
     true,
     {"Left parenthesis", "Open parenthesis", "Left parentheses", "Open parentheses", "Left paren",
      "Open paren"}},
    {0x60, false, {"Keypad Ins", "Keypad Insert"}},
    {0x61, false, {"Keypad End"}},
    {0x62, false, {"Keypad down arrow", "Keypad down"}},
    {0x63, false, {"Keypad Page Down", "Keypad Pg Dn", "Keypad PgDn"}},
    {0x64, false, {"Keypad left arrow", "Keypad left", "Keypad <-"}},
    {0x66, false, {"Keypad right arrow", "Keypad right", "Keypad ->"}},
    {0x67, false, {"Keypad Home"}},
    {0x68, false, {"Keypad up arrow", "Keypad up"}},
    {0x69, false, {"Keypad Page Up", "Keypad Pg Up", "Keypad PgUp"}},
    {0x6A,
     false,
     {"Keypad *", "Keypad asterisk", "Keypad star", "Keypad multiply", "Keypad multiplication sign",
      "Keypad multiplication symbol", "Keypad times", "Keypad times sign", "Keypad times symbol"}},
    {0x6B,
     false,
     {"Keypad +", "Keypad plus", "Keypad plus sign", "Keypad plus symbol", "Keypad add",
      "Keypad addition sign", "Keypad addition symbol", "Keypad sum"}},
    {0x6C, false, {"Keypad Enter", "Keypad Return", "Keypad carriage return", "Keypad CR"}},
    {0x6D,
     false,
     {"Keypad -", "Keypad minus", "Keypad minus sign", "Keypad subtract", "Keypad subtraction sign",
      "Keypad subtraction symbol", "Keypad difference sign", "Keypad difference symbol"}},
    {0x6E,
     false,
     {"Keypad .", "Keypad period", "Keypad dot", "Keypad point", "Keypad decimal point"}},
    {0x6F,
     false,
     {"Keypad /", "Keypad slash", "Keypad forward slash", "Keypad divide", "Keypad divide by",
      "Keypad divided by", "Keypad division", "Keypad division sign", "Keypad division symbol"}},
    {0xC0,
     false,
     {"Back tick", "Backtick", "Back tic", "Backtic", "Tic", "Tick", "Open single quote",
      "Left single quote"}},
    {0xC0, true, {"Tilde", "Squiggle", "Wiggle"}},
    {0xBD, false, {"Minus", "Minus sign", "Hyphen"}},
    {0xBD, true, {"Underscore"}},
    {0xBB, false, {"Equals", "Equal", "Equals sign", "Equal sign"}},
    {0xBB, true, {"Plus", "Plus sign", "Plus symbol", "Add", "Addition sign", "Addition symbol"}},
    {0xDB,
     false,
     {"Left bracket", "Open bracket", "Left square bracket", "Open square bracket",
      "Left square brace", "Open square brace"}},
    {0xDB,
     true,
     {"Left brace", "Open brace", "Left curly bracket", "Open curly bracket", "Left curly brace",
      "Open curly brace"}},
    {0xDD,
     false,
     {"Right bracket", "Close bracket", "Right square bracket", "Close square bracket",
      "Right square brace", "Close square brace"}},
    {0xDD,
     true,
     {"Right brace", "Close brace", "Right curly bracket", "Close curly bracket",
      "Right curly brace", "Close curly brace"}},
    {0xDC, false, {"Back slash", "Backslash"}},
    {0xDC, true, {"Bar", "Vertical bar", "Pipe", "UNIX pipe", "UNIX pipe symbol", "Or sign", "Or"}},
    {0xBA, false, {"Semicolon", "Semi colon", "Semi-colon"}},
    {0xBA, true, {"Colon"}},
    {0xDE, false, {"Single quote", "Close single quote", "Right single quote", "Apostrophe"}},
    {0xDE, true, {"Quote", "Double quote"}},
    {0xBC, false, {"Comma"}},
    {0xBC, true, {"Less", "Less than", "Less than sign", "Less than symbol"}},
    {0xBE, false, {"Period", "Dot", "Point", "Decimal point"}},
    {0xBE, true, {"Greater", "Greater than", "Greater than sign", "Greater than symbol"}},
    {0xBF,
     false,
     {"Slash", "Forward slash", "Divide", "Divide by", "Divided by", "Division", "Division sign",
      "Division symbol"}},
    {0xBF, true, {"Question mark", "Question"}},
    {0x91, false, {"Scroll Lock"}},
};

void AddNames(const KeyNames& names, AddName add) {
    for (const char* name : names.Names) {
        if (!name) break;
        add(QString::fromUtf8(name), names.KeyCode, names.Shifted);
    }
}

}  // namespace

void AddFixedKeyDescriptions(AddDescription add) {
    for (char c = 'A'; c <= 'Z'; ++c) add(QStringLiteral("%1 key").arg(c), c);
    for (int digit = 0; digit <= 9; ++digit) {
        add(QStringLiteral("%1 key").arg(digit), 0x30 + digit);
        add(QStringLiteral("%1 key (keypad)").arg(digit), 0x60 + digit);
    }
    for (int f = 1; f <= 16; ++f) add(QStringLiteral("F%1 key").arg(f), 0x6F + f);
    for (const Description& description : kDescriptions) {
        add(QString::fromUtf8(description.Text), description.KeyCode);
    }
}

void AddFixedKeyNames(AddName add) {
    for (char c = 'A'; c <= 'Z'; ++c) add(QString(QLatin1Char(c)), c, false);
    for (int digit = 0; digit <= 9; ++digit) {
        add(QString::number(digit), 0x30 + digit, false);
    }
    for (int f = 1; f <= 16; ++f) add(QStringLiteral("F%1").arg(f), 0x6F + f, false);
    for (int digit = 0; digit <= 9; ++digit) {
        add(QStringLiteral("Keypad %1").arg(digit), 0x60 + digit, false);
    }
    for (const KeyNames& names : kCharacterNames) AddNames(names, add);
    for (const KeyNames& names : kWordNames) AddNames(names, add);
}

}  // namespace KeyVocabulary
