#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "settings/QtSettingsStore.h"
#include "settings/SettingsOperations.h"

using namespace SettingsOperations;

TEST(KeyLegendSettings, RoundTripAndUnusableValuesLeaveThePlaceToTheWindowSystem) {
    QTemporaryDir folder;
    QtSettingsStore store(folder.filePath("Corvane.conf"));

    const KeyLegendSettings first = LoadKeyLegendSettings(store);
    EXPECT_FALSE(first.visible);
    EXPECT_FALSE(first.placement.has_value());
    // Never opened nor placed: the section is not written at all.
    SaveKeyLegendSettings(store, first);
    EXPECT_EQ(store.GetSetting("Key Bindings", "Visible", "<absent>"), "<absent>");
    EXPECT_EQ(store.GetSetting("Key Bindings", "Width", "<absent>"), "<absent>");

    SaveKeyLegendSettings(store, {true, QRect(-1200, 35, 480, 260)});
    const KeyLegendSettings back = LoadKeyLegendSettings(store);
    EXPECT_TRUE(back.visible);
    EXPECT_EQ(back.placement, QRect(-1200, 35, 480, 260));
    EXPECT_EQ(store.GetSetting("Key Bindings", "Left", ""), "-1200");
    EXPECT_EQ(store.GetSetting("Key Bindings", "Height", ""), "260");
    // Closed again: the closing is stored over the old value, the place is kept.
    SaveKeyLegendSettings(store, {false, QRect(-1200, 35, 480, 260)});
    EXPECT_EQ(store.GetSetting("Key Bindings", "Visible", ""), "False");
    EXPECT_EQ(LoadKeyLegendSettings(store).placement, QRect(-1200, 35, 480, 260));

    for (const char* width : {"0", "-5", "wide", "99999999"}) {
        store.SaveSetting("Key Bindings", "Width", width);
        EXPECT_FALSE(LoadKeyLegendSettings(store).placement.has_value()) << width;
    }
    store.SaveSetting("Key Bindings", "Width", "480");
    store.SaveSetting("Key Bindings", "Top", "nowhere");
    EXPECT_EQ(LoadKeyLegendSettings(store).placement, QRect(-1200, 0, 480, 260));
}

TEST(SortingSettings, DecisionLogPathIsReadAsItStandsAndEmptyWhenAbsent) {
    QTemporaryDir folder;
    QtSettingsStore store(folder.filePath("Corvane.conf"));
    EXPECT_EQ(SettingsKeys::Read(store, SettingsKeys::DecisionLog), "");
    SettingsKeys::Write(store, SettingsKeys::DecisionLog, "/home/me/sorting log.csv");
    EXPECT_EQ(store.GetSetting("Sorting", "DecisionLog", ""), "/home/me/sorting log.csv");
    EXPECT_EQ(SettingsKeys::Read(store, SettingsKeys::DecisionLog), "/home/me/sorting log.csv");
    EXPECT_EQ(store.Folder(), folder.path());
}
