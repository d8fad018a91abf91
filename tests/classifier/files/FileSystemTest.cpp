#include <gtest/gtest.h>

#include <QDir>

#include "files/FileSystem.h"
#include "tests/support/TempFolder.h"

using namespace FileSystem;

TEST(FileSystem, ParentFolderName) {
    EXPECT_EQ(GetParentFolderName("/a/b/c.wav"), "/a/b");
    EXPECT_EQ(GetParentFolderName("/c.wav"), "/");
    EXPECT_EQ(GetParentFolderName("/a/b/"), "/a");
    EXPECT_EQ(GetParentFolderName("c.wav"), "");
    EXPECT_EQ(GetParentFolderName("any.wav"), "");
    EXPECT_EQ(GetParentFolderName("/"), "");
    EXPECT_EQ(GetParentFolderName(""), "");
}

TEST(FileSystem, FileName) {
    EXPECT_EQ(GetFileName("/a/b/c.wav"), "c.wav");
    EXPECT_EQ(GetFileName("c.wav"), "c.wav");
    EXPECT_EQ(GetFileName("/a/b/"), "b");
    EXPECT_EQ(GetFileName(""), "");
}

TEST(FileSystem, BuildPathPutsExactlyOneSeparator) {
    EXPECT_EQ(BuildPath("/a/b", "c.wav"), "/a/b/c.wav");
    EXPECT_EQ(BuildPath("/a/b/", "c.wav"), "/a/b/c.wav");
    EXPECT_EQ(BuildPath("/a/b/", "/c.wav"), "/a/b/c.wav");
    EXPECT_EQ(BuildPath("/", "c.wav"), "/c.wav");
    EXPECT_EQ(BuildPath("", "c.wav"), "c.wav");
}

TEST(FileSystem, AbsolutePathNameIsCleanAndFull) {
    EXPECT_EQ(GetAbsolutePathName("/a/./b/../c.wav"), "/a/c.wav");
    EXPECT_EQ(GetAbsolutePathName("x.wav"), QDir::currentPath() + "/x.wav");
}

TEST(FileSystem, FileExistsOnlyForRegularFiles) {
    TempFolder folder;
    const std::string file = folder.WriteText("x.wav", "data");
    const std::string sub = folder.MakeFolder("sub.wav");
    EXPECT_TRUE(FileExists(QString::fromStdString(file)));
    EXPECT_FALSE(FileExists(QString::fromStdString(sub)));
    EXPECT_FALSE(FileExists(QString::fromStdString(folder.Path("missing.wav"))));
    EXPECT_FALSE(FileExists(""));
}
