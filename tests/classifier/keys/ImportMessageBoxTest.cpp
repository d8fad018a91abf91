#include <gtest/gtest.h>

#include <QStringList>

#include "keys/ImportMessageBox.h"
#include "tests/classifier/mocks/FakeServices.h"

TEST(ImportMessageBox, ShowsTwentyProblemsAndCountsTheRestInOneSummary) {
    FakeMessageBox shown;
    ImportMessageBox messages(shown);
    for (int i = 0; i < 21; ++i) messages.Warn(QString("problem %1").arg(i));
    ASSERT_EQ(shown.texts.size(), 20);
    EXPECT_EQ(shown.texts.front(), "problem 0");
    EXPECT_EQ(shown.texts.back(), "problem 19");
    messages.ShowSummary();
    ASSERT_EQ(shown.texts.size(), 21);
    EXPECT_EQ(shown.texts.back(), "... and 1 more line was not bound");

    FakeMessageBox few;
    ImportMessageBox exactlyTwenty(few);
    for (int i = 0; i < 20; ++i) exactlyTwenty.Warn("problem");
    exactlyTwenty.ShowSummary();
    EXPECT_EQ(few.texts.size(), 20);  // nothing held back, no summary
}
