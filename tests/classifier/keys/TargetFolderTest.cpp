#include <gtest/gtest.h>

#include "keys/TargetFolder.h"

using namespace TargetFolder;

TEST(TargetFolder, TakesOnlyAbsolutePathsAndEndsThemInASlash) {
    EXPECT_EQ(AsFolderPath("/data/birds/"), "/data/birds/");
    EXPECT_EQ(AsFolderPath("/data/birds"), "/data/birds/");
    EXPECT_EQ(AsFolderPath("/"), "/");
    for (const char* refused : {"D:\\birds\\", "birds/", "./birds/", "~/birds/", "", " /birds/"}) {
        EXPECT_FALSE(AsFolderPath(refused).has_value()) << refused;
    }
    // With its final "/" the path must stay under PATH_MAX (4096) bytes.
    EXPECT_TRUE(AsFolderPath("/" + QString(4093, 'x')).has_value());
    EXPECT_FALSE(AsFolderPath("/" + QString(4094, 'x')).has_value());
    EXPECT_EQ(RefusalMessage("D:\\birds\\", "CTRL+A key"),
              "\"D:\\birds\\\" is not a folder path; the keystroke CTRL+A key was not bound.");
    EXPECT_EQ(RefusalMessage(QString(100000, 'x'), "F1 key"),
              "\"" + QString(256, 'x') +
                  "...\" is not a folder path; the keystroke F1 key was "
                  "not bound.");
}
