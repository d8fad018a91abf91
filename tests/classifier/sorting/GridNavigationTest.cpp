#include "sorting/GridNavigation.h"

#include <gtest/gtest.h>

#include "sorting/StatusText.h"

namespace {

constexpr std::int16_t End = 0x23, Home = 0x24, Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28;

std::optional<int> Move(std::int16_t key, int selected, std::int16_t shift = 0) {
    // A 3 x 2 grid.
    return GridNavigation::Target({key, shift}, selected, 3, 6);
}

}  // namespace

TEST(GridNavigation, ArrowsFollowRowsAndColumnsAndStopAtTheEdges) {
    EXPECT_EQ(Move(Right, 0), 1);
    EXPECT_EQ(Move(Right, 2), 2);  // the end of a row does not wrap to the next
    EXPECT_EQ(Move(Down, 1), 4);
    EXPECT_EQ(Move(Down, 4), 4);
    EXPECT_EQ(Move(Left, 3), 3);
    EXPECT_EQ(Move(Left, 5), 4);
    EXPECT_EQ(Move(Up, 5), 2);
    EXPECT_EQ(Move(Up, 2), 2);
    EXPECT_EQ(Move(Home, 4), 0);
    EXPECT_EQ(Move(End, 1), 5);
    EXPECT_EQ(Move(Down, -1), 0);  // nothing selected yet
    // A last row that is not full: Down from above its gap stays.
    EXPECT_EQ(GridNavigation::Target({Down, 0}, 2, 3, 5), 2);
    EXPECT_EQ(GridNavigation::Target({Right, 0}, 4, 3, 5), 4);
    EXPECT_EQ(GridNavigation::Target({End, 0}, 0, 3, 5), 4);
}

TEST(GridNavigation, OtherKeysModifiersAndAnEmptyGridAreNoMove) {
    EXPECT_EQ(Move(Right, 0, 1), std::nullopt);  // Shift+Right
    EXPECT_EQ(Move(Home, 3, 2), std::nullopt);   // Ctrl+Home
    EXPECT_EQ(Move(0x22, 0), std::nullopt);      // Page Down
    EXPECT_EQ(Move(0x41, 0), std::nullopt);
    EXPECT_EQ(GridNavigation::Target({Right, 0}, 0, 0, 0), std::nullopt);
}

TEST(StatusText, NotBoundNamesKeysThatTypeAsTheKeyTablesDo) {
    const QString tail = QStringLiteral(" is not bound: Spectrogram > Set keystroke directory");
    EXPECT_EQ(StatusText::NotBound({0x41, 0}), "A key" + tail);
    EXPECT_EQ(StatusText::NotBound({0x39, 1}), "SHIFT+9 key" + tail);
    EXPECT_EQ(StatusText::NotBound({0x20, 0}), "SPACEBAR key" + tail);
    EXPECT_EQ(StatusText::NotBound({0x60, 0}), "0 key (keypad)" + tail);
    EXPECT_EQ(StatusText::NotBound({0xBF, 0}), "Forward slash/question mark key" + tail);
    for (const std::int16_t code : {0x09, 0x0D, 0x08, 0x1B, 0x10, 0x11, 0x12, 0x14, 0x21, 0x22,
                                    0x23, 0x24, 0x25, 0x28, 0x2D, 0x2E, 0x6C, 0x70, 0x7B, 0x90}) {
        EXPECT_EQ(StatusText::NotBound({code, 0}), "") << code;
    }
    EXPECT_EQ(StatusText::NotBound({0x41, 2}), "");  // Ctrl+A
    EXPECT_EQ(StatusText::NotBound({0x41, 4}), "");  // Alt+A
}
