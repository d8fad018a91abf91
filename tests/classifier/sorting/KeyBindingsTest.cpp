#include <gtest/gtest.h>

#include "keys/mdlKeycodes.h"
#include "sorting/KeyBindings.h"
#include "tests/classifier/mocks/FakeServices.h"

namespace {

struct Bindings : ::testing::Test {
    Bindings() { mdlKeycodes::BuildKeyTables(); }

    FakeMessageBox messages;
    KeyBindings bindings;
};

}  // namespace

TEST_F(Bindings, ATextThatIsNoFolderPathIsRefusedBeforeAnythingElse) {
    EXPECT_TRUE(bindings.Bind(0x41, 2, false, "/a/", messages));
    EXPECT_FALSE(bindings.Bind(0x41, 2, true, "D:\\birds\\", messages));
    EXPECT_FALSE(bindings.Bind(0x42, 0, false, "birds/", messages));
    EXPECT_FALSE(bindings.Bind(0x43, 0, false, "", messages));
    EXPECT_EQ(messages.texts,
              QStringList({"\"D:\\birds\\\" is not a folder path; the keystroke CTRL+A key was "
                           "not bound.",
                           "\"birds/\" is not a folder path; the keystroke B key was not bound.",
                           "\"\" is not a folder path; the keystroke C key was not bound."}));
    EXPECT_EQ(bindings.Map().Keys(), QStringList({"41,2"}));
    EXPECT_EQ(bindings.Map().Dir("41,2"), "/a/");
}

TEST_F(Bindings, ATakenKeystrokeKeepsItsFolderAndEraseFreesIt) {
    ASSERT_TRUE(bindings.Bind(0x70, 0, true, "/data/frogs", messages));
    EXPECT_FALSE(bindings.Bind(0x70, 0, false, "/data/toads/", messages));
    EXPECT_EQ(messages.texts,
              QStringList({"Keystroke F1 key is already being used for /data/frogs/"}));
    const auto binding = bindings.Find(KeyStroke{0x70, 0});
    ASSERT_TRUE(binding.has_value());
    EXPECT_EQ(binding->targetDir, "/data/frogs/");
    EXPECT_TRUE(binding->classifyAll);
    EXPECT_FALSE(bindings.Find(KeyStroke{0x70, ShiftBit::Shift}).has_value());

    bindings.Erase();
    EXPECT_FALSE(bindings.Find(KeyStroke{0x70, 0}).has_value());
    EXPECT_TRUE(bindings.Bind(0x70, 0, false, "/data/toads/", messages));
    EXPECT_EQ(messages.texts.size(), 1);
}
