#pragma once

#include <QString>

// Pieces of the texts that message boxes show.
namespace MessageText {

// The count with a comma between groups of three digits ("99,980"), whatever
// the user's locale: every text of the program is English.
QString Count(qint64 count);

// How much of a text from outside a message quotes, in characters.
constexpr qsizetype QuotedLength = 256;

// `text` itself when it has at most `maxLength` characters (UTF-16 code
// units); otherwise its first `maxLength` followed by "...", one fewer when the
// cut would split a surrogate pair. Text from a file can be a megabyte long,
// and a message box showing all of it is of no use.
QString Abbreviated(const QString& text, qsizetype maxLength = QuotedLength);

}  // namespace MessageText
