#pragma once

#include <QString>
#include <cstdint>

// Conversions between the program's numbers and their text, the way the
// platform converts: surrounding blanks allowed, fractions of integers rounded
// to the nearest integer with halves to the even neighbour, "." or "," as the
// decimal point. Failures throw CorvaneError with the platform's description.
namespace TextConversion {

// Text to a 32-bit signed integer.
std::int32_t ToLong(const QString& text);
// Text to a 16-bit signed integer.
std::int16_t ToInteger(const QString& text);
// Text to a single-precision float.
float ToSingle(const QString& text);
// "True" or "False" in any letter case, or a number (non-zero is true).
bool ToBoolean(const QString& text);

// Plain decimal text: "-12", "1500".
QString LongText(std::int32_t value);
// Shortest decimal text with at most 7 significant digits and "." as the
// decimal point: 120 -> "120", 95.25 -> "95.25", 1e20 -> "1E+20".
QString SingleText(float value);
// "True" or "False".
QString BooleanText(bool value);

}  // namespace TextConversion
