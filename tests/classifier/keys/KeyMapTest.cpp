#include <gtest/gtest.h>

#include "keys/ClassifierKeyMap.h"

TEST(ClassifierKeyMap, SecondBindingOfAKeystrokeIsRefusedAndKeepsTheFirst) {
    ClassifierKeyMap map;
    EXPECT_TRUE(map.Add(65, 2, false, "/data/a/"));
    QString bound;
    EXPECT_FALSE(map.Add(65, 2, true, "/data/b/", &bound));
    EXPECT_EQ(bound, "/data/a/");
    const auto binding = map.Find("41,2");
    ASSERT_TRUE(binding.has_value());
    EXPECT_EQ(binding->targetDir, "/data/a/");
    EXPECT_FALSE(binding->classifyAll);
    EXPECT_EQ(map.Keys(), QStringList({"41,2"}));
    EXPECT_EQ(map.AllFlag("41,2"), "False");
}

TEST(ClassifierKeyMap, DifferentShiftStatesAreDifferentBindings) {
    ClassifierKeyMap map;
    EXPECT_TRUE(map.Add(65, 2, false, "/a/"));
    EXPECT_TRUE(map.Add(65, 3, true, "/b/"));
    EXPECT_EQ(map.Find("41,3")->targetDir, "/b/");
    EXPECT_TRUE(map.Find("41,3")->classifyAll);
    EXPECT_EQ(map.AllFlag("41,3"), "True");
    EXPECT_FALSE(map.Find("41,0").has_value());
}

TEST(ClassifierKeyMap, KeepsBindingOrderAndLooksUpWithoutRegardToCase) {
    ClassifierKeyMap map;
    map.Add(0x70, 0, true, "/f1/");
    map.Add(65, 2, false, "/a/");
    map.Add(0x39, 1, false, "/paren/");
    map.Add(0xC0, 7, false, "/tick/");
    EXPECT_EQ(map.Keys(), QStringList({"70,0", "41,2", "39,1", "C0,7"}));
    EXPECT_EQ(map.Find("c0,7")->targetDir, "/tick/");
    map.Clear();
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_FALSE(map.Find("70,0").has_value());
    EXPECT_TRUE(map.Add(0x70, 0, false, "/again/"));
}
