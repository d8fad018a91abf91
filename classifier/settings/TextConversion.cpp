#include "settings/TextConversion.h"

#include <QRegularExpression>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

#include "core/CorvaneError.h"

namespace TextConversion {

namespace {

[[noreturn]] void ThrowTypeMismatch() {
    throw CorvaneError::TypeMismatch();
}

[[noreturn]] void ThrowOverflow() {
    throw CorvaneError::Overflow();
}

// The text of a decimal number, blanks removed and "," turned into "."; empty
// when the text is no number. Grouping characters are not accepted: "1,500"
// reads as one and a half, never as fifteen hundred.
std::string NumberSyntax(const QString& text) {
    static const QRegularExpression number(
        QStringLiteral(R"(^[+-]?([0-9]+[.,]?[0-9]*|[.,][0-9]+)([eE][+-]?[0-9]+)?$)"));
    const QString trimmed = text.trimmed();
    if (!number.match(trimmed).hasMatch()) return {};
    std::string result = trimmed.toStdString();
    for (char& c : result)
        if (c == ',') c = '.';
    if (result.front() == '+') result.erase(0, 1);
    return result;
}

// Whether a number of valid syntax that a double cannot hold is too big for
// it rather than too small: whether its first significant digit stands left
// of the decimal point once the exponent has moved the point.
bool IsBeyondDouble(const std::string& syntax) {
    const std::size_t exponentAt = syntax.find_first_of("eE");
    std::string mantissa = syntax.substr(0, exponentAt);
    if (!mantissa.empty() && mantissa.front() == '-') mantissa.erase(0, 1);
    long long exponent = 0;
    if (exponentAt != std::string::npos) {
        const std::string digits = syntax.substr(exponentAt + 1);
        const bool negative = !digits.empty() && digits.front() == '-';
        for (char c : digits)
            if (c >= '0' && c <= '9') exponent = std::min(exponent * 10 + (c - '0'), 1000000LL);
        if (negative) exponent = -exponent;
    }
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string::npos) return false;
    const long long magnitude = first < point ? static_cast<long long>(point - first)
                                              : -static_cast<long long>(first - point - 1);
    return magnitude + exponent > 0;
}

// The number a text stands for, as close as a double can hold it.
double ToDouble(const QString& text) {
    const std::string syntax = NumberSyntax(text);
    if (syntax.empty()) ThrowTypeMismatch();
    double value = 0.0;
    const auto [end, error] = std::from_chars(syntax.data(), syntax.data() + syntax.size(), value);
    if (error == std::errc::result_out_of_range) {
        if (IsBeyondDouble(syntax)) ThrowOverflow();
        return 0.0;  // too small to tell from zero
    }
    if (error != std::errc() || end != syntax.data() + syntax.size()) ThrowTypeMismatch();
    return value;
}

// The number of a text meant as a whole number. A comma there is far more
// likely a thousands separator ("1,024") than a decimal comma, and reading it
// as one would silently give 1: it is refused.
double ToWholeNumberText(const QString& text) {
    if (text.contains(QLatin1Char(','))) ThrowTypeMismatch();
    return ToDouble(text);
}

// Rounds to the nearest integer, halves to the even neighbour, and checks that
// the result lies in [minimum, maximum].
std::int64_t RoundInto(double value, std::int64_t minimum, std::int64_t maximum) {
    const double rounded = std::nearbyint(value);
    if (!(rounded >= static_cast<double>(minimum) && rounded <= static_cast<double>(maximum)))
        ThrowOverflow();
    return static_cast<std::int64_t>(rounded);
}

}  // namespace

std::int32_t ToLong(const QString& text) {
    return static_cast<std::int32_t>(RoundInto(ToWholeNumberText(text),
                                               std::numeric_limits<std::int32_t>::min(),
                                               std::numeric_limits<std::int32_t>::max()));
}

std::int16_t ToInteger(const QString& text) {
    return static_cast<std::int16_t>(RoundInto(ToWholeNumberText(text),
                                               std::numeric_limits<std::int16_t>::min(),
                                               std::numeric_limits<std::int16_t>::max()));
}

float ToSingle(const QString& text) {
    const double value = ToDouble(text);
    constexpr double largest = std::numeric_limits<float>::max();
    // Half a unit in the last place of the largest single: up to there a value
    // still rounds down to it, from there on it rounds to infinity.
    const double limit = largest + std::ldexp(1.0, 103);
    if (std::fabs(value) >= limit) ThrowOverflow();
    if (std::fabs(value) > largest) return static_cast<float>(std::copysign(largest, value));
    return static_cast<float>(value);
}

bool ToBoolean(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
    if (trimmed.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
    return ToDouble(trimmed) != 0.0;
}

QString LongText(std::int32_t value) {
    return QString::number(value);
}

QString SingleText(float value) {
    if (value == 0.0f) value = 0.0f;  // no "-0"
    char buffer[32];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 7);
    if (error != std::errc()) return QStringLiteral("0");
    QString text = QString::fromLatin1(buffer, static_cast<int>(end - buffer));
    text.replace(QLatin1Char('e'), QLatin1Char('E'));
    return text;
}

QString BooleanText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

}  // namespace TextConversion
