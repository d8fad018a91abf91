#include <gtest/gtest.h>

#include "core/CorvaneError.h"
#include "settings/CellSizeLimits.h"
#include "settings/OptionsValues.h"
#include "settings/TextConversion.h"

using namespace OptionsValues;

namespace {

// A 1920 x 1080 pixel desktop at 96 dpi, in twips.
const CellSizeLimits Desktop(28800, 16200);
const SpectrogramParameterSet FirstRun{2, 1, 64, 0, 120.0f, 20.0f};

// The fields of the first-run values with `edit` applied.
template <typename Edit>
Fields Edited(Edit edit) {
    Fields fields = FieldsFor({1500, 1000}, FirstRun);
    edit(fields);
    return fields;
}

// The CorvaneError that `convert` throws, as "number: description", or "".
template <typename Convert>
std::string Refusal(Convert convert) {
    try {
        convert();
    } catch (const CorvaneError& error) {
        return std::to_string(error.Number()) + ": " + error.Description().toStdString();
    }
    return {};
}

}  // namespace

TEST(OptionsValues, ListsFallWhileTheChoiceRisesBothWays) {
    EXPECT_EQ(SizeItems().join(','), QStringLiteral("8192,4096,2048,1024,512,256,128,64,32"));
    EXPECT_EQ(WindowItems().join(','),
              QStringLiteral("Hamming,Hanning,Rectangular,Blackman,Bartlett"));

    const Fields fields = FieldsFor({2000, 1125}, {0, 8, -7, 3, 95.25f, -10.5f});
    EXPECT_EQ(SizeItems().at(fields.FFTSizePosition), QStringLiteral("32"));
    EXPECT_EQ(SizeItems().at(fields.FrameLengthPosition), QStringLiteral("8192"));
    EXPECT_EQ(WindowItems().at(fields.WindowFunctionPosition), QStringLiteral("Blackman"));
    EXPECT_EQ(fields.HopSize, QStringLiteral("-7"));
    EXPECT_EQ(fields.PowerMax, QStringLiteral("95.25"));
    EXPECT_EQ(fields.PowerMin, QStringLiteral("-10.5"));
    EXPECT_EQ(fields.CellWidth, QStringLiteral("2000"));
    EXPECT_EQ(fields.CellHeight, QStringLiteral("1125"));
    // The texts read back as the very values they show.
    EXPECT_EQ(ParameterSetOf(fields, FirstRun),
              (SpectrogramParameterSet{0, 8, -7, 3, 95.25f, -10.5f}));
    const CellSize size = CellSizeOf(fields, Desktop);
    EXPECT_EQ(size.Width, 2000);
    EXPECT_EQ(size.Height, 1125);
}

TEST(OptionsValues, AChoiceOutsideItsListSelectsNothingAndIsKept) {
    for (const std::int32_t choice : {9, -1, 12, -2147483647 - 1, 2147483647}) {
        const Fields fields = FieldsFor({1500, 1000}, {choice, choice, 64, choice, 120, 20});
        EXPECT_EQ(fields.FFTSizePosition, -1) << choice;
        EXPECT_EQ(fields.FrameLengthPosition, -1) << choice;
        EXPECT_EQ(fields.WindowFunctionPosition, -1) << choice;
        const SpectrogramParameterSet current{choice, 5, 64, choice, 120, 20};
        const SpectrogramParameterSet back = ParameterSetOf(fields, current);
        EXPECT_EQ(back.FFTSizeChoice, choice);
        EXPECT_EQ(back.FrameLengthChoice, 5);
        EXPECT_EQ(back.WindowFunctionChoice, choice);
    }
}

TEST(OptionsValues, PassesOnWhatConvertsAndChecksNothingElse) {
    const Fields fields = Edited([](Fields& f) {
        f.CellWidth = QStringLiteral("1500.5");
        f.CellHeight = QStringLiteral(" 1501.5 ");
        f.HopSize = QStringLiteral("0");
        f.PowerMin = QStringLiteral("120");
        f.PowerMax = QStringLiteral("20");
        f.FFTSizePosition = 8;         // "32"
        f.FrameLengthPosition = 0;     // "8192"
        f.WindowFunctionPosition = 4;  // "Bartlett"
    });
    const CellSize size = CellSizeOf(fields, Desktop);
    EXPECT_EQ(size.Width, 1500);
    EXPECT_EQ(size.Height, 1502);
    EXPECT_EQ(ParameterSetOf(fields, FirstRun),
              (SpectrogramParameterSet{0, 8, 0, 4, 20.0f, 120.0f}));
}

TEST(OptionsValues, RefusesWithTheDialogsMessages) {
    const std::string typeMismatch = "13: Type mismatch";
    const std::string overflow = "6: Overflow";
    const auto cellSize = [](Fields fields) { return [fields] { CellSizeOf(fields, Desktop); }; };
    const auto params = [](Fields fields) {
        return [fields] { ParameterSetOf(fields, FirstRun); };
    };

    EXPECT_EQ(Refusal(cellSize(Edited([](Fields& f) { f.CellWidth = "abc"; }))), typeMismatch);
    EXPECT_EQ(Refusal(cellSize(Edited([](Fields& f) { f.CellHeight = "99999999999"; }))), overflow);
    EXPECT_EQ(Refusal(params(Edited([](Fields& f) { f.HopSize = ""; }))), typeMismatch);
    EXPECT_EQ(Refusal(params(Edited([](Fields& f) { f.PowerMax = "1e39"; }))), overflow);
    // The powers are read first: their error is the one shown.
    EXPECT_EQ(Refusal(params(Edited([](Fields& f) {
                  f.HopSize = "99999999999";
                  f.PowerMin = "low";
              }))),
              typeMismatch);

    const std::string tooSmall = "380: The cell width and height must be at least 1 twip.";
    EXPECT_EQ(Refusal(cellSize(Edited([](Fields& f) { f.CellWidth = "0"; }))), tooSmall);
    EXPECT_EQ(Refusal(cellSize(Edited([](Fields& f) { f.CellWidth = "-1500"; }))), tooSmall);
    EXPECT_EQ(Refusal(cellSize(Edited([](Fields& f) { f.CellHeight = "0.4"; }))), tooSmall);
    // 288 x 162 cells of 100 x 100 twips would cover the desktop; 192 x 108 of 150 fit.
    const std::string tooMany = Refusal(cellSize(Edited([](Fields& f) {
        f.CellWidth = "100";
        f.CellHeight = "100";
    })));
    EXPECT_EQ(tooMany.rfind("380: Cells of 100 x 100 twips", 0), 0u) << tooMany;
    EXPECT_EQ(Refusal(cellSize(Edited([](Fields& f) {
                  f.CellWidth = "150";
                  f.CellHeight = "150";
              }))),
              "");
}
