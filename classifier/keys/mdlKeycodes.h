#pragma once

#include <QHash>
#include <QString>
#include <cstdint>
#include <optional>

#include "keys/KeyNameTable.h"
#include "keys/KeyStroke.h"

// The key vocabulary: readable descriptions of key codes, the names a person
// may type for a key, and the parser that reads such a name back.
//
// The tables are global to the program. BuildKeyTables fills them; any function
// below that reads them builds them first if that has not happened yet. All
// functions belong to the user-interface thread.
namespace mdlKeycodes {

// Creates the three tables empty, replacing any earlier ones, and fills them
// with the fixed vocabulary: 111 descriptions, 460 names, 111 shifted names.
// Calling it again rebuilds the same content.
void BuildKeyTables();

// Adds `description` to KeyDescriptions under the hex key form of `keyCode`,
// and that hex key form to KeyCodesByName under the name `description`.
// Throws CorvaneError (CorvaneErrorNumber::DuplicateKey) when the code already has a
// description or the name is already taken; the tables are then unchanged.
void AddKeyDescription(const QString& description, std::int16_t keyCode);

// Adds `name` as a further name of `keyCode` to KeyCodesByName, and to
// ShiftedKeyNames too when it stands for a character typed with Shift. Throws
// like AddKeyDescription when the name is already taken.
void AddKeyName(const QString& name, std::int16_t keyCode, bool shifted);

// The description of `keyCode`, or "0x" and its hex key form ("0xE5") when the
// code has none.
QString KeyName(std::int16_t keyCode);

// The readable form of a keystroke: "CTRL+", "ALT+", "SHIFT+" for the bits
// 2, 4 and 1 of `shift`, in that order, then KeyName(keyCode).
QString KeyText(std::int16_t keyCode, std::int16_t shift);

// The longest key description the parser reads, in characters (UTF-16 code
// units). The longest name has 36; the rest is room for modifiers and blanks.
constexpr qsizetype MaxDescriptionLength = 256;

// Reads a key description such as "Control + Shift + Open paren" or
// "CTRL+SHIFT+A key", in time linear in its length. Throws CorvaneError
// (CorvaneErrorNumber::InvalidKeyDescription) with the text
// `Invalid key description: "<rest>"` when what is left after the modifiers is
// no key name. A description longer than MaxDescriptionLength is refused
// unread: the quotes then hold its first MaxDescriptionLength characters
// followed by "...".
KeyStroke ParseKeyDescription(const QString& description);

// The hex key form of a 16-bit value: uppercase hexadecimal digits without
// prefix or leading zeros ("1B", "C0", "0"). A negative value is written as its
// 16-bit two's complement ("FFFF" for -1).
QString HexKeyForm(std::int16_t value);

// Reads a hex key form of 1 to 4 hexadecimal digits (either letter case) as a
// 16-bit value; nothing when the text is anything else.
std::optional<std::int16_t> ParseHexKeyForm(const QString& text);

// The binding key of a keystroke: hex key form of the code, a comma, hex key
// form of the shift state ("41,2" for Ctrl+A).
QString BindingKey(std::int16_t keyCode, std::int16_t shift);
QString BindingKey(const KeyStroke& keyStroke);

// Reads a binding key back into a keystroke; nothing when it is not two hex key
// forms joined by one comma.
std::optional<KeyStroke> ParseBindingKey(const QString& bindingKey);

// The tables, read-only. KeyDescriptions maps hex key forms to descriptions;
// KeyCodesByName maps every name to a hex key form; ShiftedKeyNames holds the
// names that stand for a shifted character.
const QHash<QString, QString>& KeyDescriptions();
const KeyNameTable& KeyCodesByName();
const KeyNameTable& ShiftedKeyNames();

}  // namespace mdlKeycodes
