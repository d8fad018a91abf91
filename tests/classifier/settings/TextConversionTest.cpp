#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/CorvaneError.h"
#include "settings/TextConversion.h"

using namespace TextConversion;

namespace {

// The number of the CorvaneError that `convert` throws, or 0.
template <typename Convert>
int ErrorNumber(Convert convert) {
    try {
        convert();
    } catch (const CorvaneError& error) {
        return error.Number();
    }
    return 0;
}

}  // namespace

TEST(TextToLong, RoundsHalvesToTheEvenNeighbour) {
    EXPECT_EQ(ToLong(QStringLiteral("1500.5")), 1500);
    EXPECT_EQ(ToLong(QStringLiteral("1501.5")), 1502);
    EXPECT_EQ(ToLong(QStringLiteral("-2.5")), -2);
    EXPECT_EQ(ToLong(QStringLiteral("0.5")), 0);
    EXPECT_EQ(ToLong(QStringLiteral("1500.51")), 1501);
}

TEST(TextToLong, AcceptsBlanksSignsExponentsAndADecimalPoint) {
    EXPECT_EQ(ToLong(QStringLiteral("  1500 \t")), 1500);
    EXPECT_EQ(ToLong(QStringLiteral("+64")), 64);
    EXPECT_EQ(ToLong(QStringLiteral("-64")), -64);
    EXPECT_EQ(ToLong(QStringLiteral("1.5E3")), 1500);
    EXPECT_EQ(ToLong(QStringLiteral(".5e1")), 5);
}

TEST(TextToLong, TextThatIsNoNumberIsATypeMismatch) {
    for (const char* text :
         {"abc", "", "   ", "-", "1.2.3", "1,500.0", "12abc", "0x10", "inf", "nan", "1e", "1 2",
          "1,024", "10,5"}) {  // a comma in a whole number is most likely grouping
        try {
            ToLong(QString::fromLatin1(text));
            ADD_FAILURE() << "accepted \"" << text << "\"";
        } catch (const CorvaneError& error) {
            EXPECT_EQ(error.Number(), 13) << text;
            EXPECT_EQ(error.Description(), QStringLiteral("Type mismatch")) << text;
        }
    }
}

TEST(TextToLong, NumbersBeyondThirtyTwoBitsOverflow) {
    EXPECT_EQ(ToLong(QStringLiteral("2147483647")), 2147483647);
    EXPECT_EQ(ToLong(QStringLiteral("-2147483648")), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(ToLong(QStringLiteral("2147483647.4")), 2147483647);
    for (const char* text : {"2147483648", "2147483647.5", "-2147483649", "1e10", "1e400"}) {
        try {
            ToLong(QString::fromLatin1(text));
            ADD_FAILURE() << "accepted " << text;
        } catch (const CorvaneError& error) {
            EXPECT_EQ(error.Number(), 6) << text;
            EXPECT_EQ(error.Description(), QStringLiteral("Overflow")) << text;
        }
    }
}

TEST(TextToInteger, KeepsToSixteenBits) {
    EXPECT_EQ(ToInteger(QStringLiteral("32767")), 32767);
    EXPECT_EQ(ToInteger(QStringLiteral("-32768")), -32768);
    EXPECT_EQ(ToInteger(QStringLiteral("2.5")), 2);
    EXPECT_EQ(ErrorNumber([] { ToInteger(QStringLiteral("32767.5")); }), 6);
    EXPECT_EQ(ErrorNumber([] { ToInteger(QStringLiteral("-32769")); }), 6);
    EXPECT_EQ(ErrorNumber([] { ToInteger(QStringLiteral("two")); }), 13);
}

TEST(TextToSingle, ConvertsToTheNearestSingle) {
    EXPECT_EQ(ToSingle(QStringLiteral("95.25")), 95.25f);
    EXPECT_EQ(ToSingle(QStringLiteral(" -10,5 ")), -10.5f);
    EXPECT_EQ(SingleText(-0.0f), "0");
    EXPECT_EQ(ToSingle(QStringLiteral("0.1")), 0.1f);
    EXPECT_EQ(ToSingle(QStringLiteral("1E-50")), 0.0f);   // below the smallest single
    EXPECT_EQ(ToSingle(QStringLiteral("1e-400")), 0.0f);  // below the smallest double
    EXPECT_EQ(ErrorNumber([] { ToSingle(QString()); }), 13);
    EXPECT_EQ(ErrorNumber([] { ToSingle(QStringLiteral("infinity")); }), 13);
}

TEST(TextToSingle, OverflowsOnlyWhereASingleWouldBecomeInfinite) {
    const float largest = std::numeric_limits<float>::max();
    EXPECT_EQ(ToSingle(QStringLiteral("3.4028235e38")), largest);
    // Just below half a unit beyond the largest single still rounds down to it.
    EXPECT_EQ(ToSingle(QStringLiteral("3.40282356e38")), largest);
    EXPECT_EQ(ToSingle(QStringLiteral("-3.40282356e38")), -largest);
    EXPECT_EQ(ErrorNumber([] { ToSingle(QStringLiteral("3.4028236e38")); }), 6);
    EXPECT_EQ(ErrorNumber([] { ToSingle(QStringLiteral("1e39")); }), 6);
    EXPECT_EQ(ErrorNumber([] { ToSingle(QStringLiteral("-1e999")); }), 6);
}

TEST(TextToBoolean, AcceptsWordsInAnyCaseAndNumbers) {
    EXPECT_TRUE(ToBoolean(QStringLiteral("True")));
    EXPECT_TRUE(ToBoolean(QStringLiteral("true")));
    EXPECT_TRUE(ToBoolean(QStringLiteral(" TRUE ")));
    EXPECT_TRUE(ToBoolean(QStringLiteral("1")));
    EXPECT_TRUE(ToBoolean(QStringLiteral("-1")));
    EXPECT_TRUE(ToBoolean(QStringLiteral("0.5")));
    EXPECT_FALSE(ToBoolean(QStringLiteral("fAlSe")));
    EXPECT_FALSE(ToBoolean(QStringLiteral("0")));
    EXPECT_EQ(ErrorNumber([] { ToBoolean(QStringLiteral("yes")); }), 13);
    EXPECT_EQ(ErrorNumber([] { ToBoolean(QString()); }), 13);
}

TEST(NumberText, WritesTheShortestFormThatReadsBack) {
    EXPECT_EQ(LongText(1500), QStringLiteral("1500"));
    EXPECT_EQ(LongText(-64), QStringLiteral("-64"));
    EXPECT_EQ(SingleText(120.0f), QStringLiteral("120"));
    EXPECT_EQ(SingleText(95.25f), QStringLiteral("95.25"));
    EXPECT_EQ(SingleText(-10.5f), QStringLiteral("-10.5"));
    EXPECT_EQ(SingleText(0.1f), QStringLiteral("0.1"));
    EXPECT_EQ(SingleText(1.0f / 3.0f), QStringLiteral("0.3333333"));
    EXPECT_EQ(SingleText(1e20f), QStringLiteral("1E+20"));
    EXPECT_EQ(ToSingle(SingleText(1e20f)), 1e20f);
    EXPECT_EQ(BooleanText(true), QStringLiteral("True"));
    EXPECT_EQ(BooleanText(false), QStringLiteral("False"));
}
