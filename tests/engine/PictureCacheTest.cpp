// The module's cache of samples and pictures, the file identity it is keyed by,
// and the shared load that consults it.
#include "engine/PictureCache.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QSize>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/FileIdentity.h"
#include "engine/WaveLoader.h"
#include "tests/support/SettledFile.h"
#include "tests/support/TempFolder.h"

namespace {

using sonolux::FileIdentity;
using sonolux::LoadOptions;
using sonolux::PictureCache;

FileIdentity Identity(std::uint64_t inode) {
    FileIdentity identity;
    identity.device = 7;
    identity.inode = inode;
    identity.size = 100;
    identity.modifiedSeconds = 1000;
    identity.changedSeconds = 1000;
    return identity;
}

sonolux::SharedSamples SamplesOf(std::size_t count) {
    return std::make_shared<const std::vector<std::int16_t>>(count, std::int16_t{1});
}

}  // namespace

TEST(PictureCache, KeepsWithinItsBytesAndLetsTheLeastRecentlyUsedGoFirst) {
    const LoadOptions options;
    // Three entries of 1000 samples fit; a fourth pushes out the one used least recently.
    PictureCache cache(3 * 2000 + 3 * 256);
    for (std::uint64_t inode = 1; inode <= 3; ++inode)
        cache.KeepSamples(Identity(inode), options, SamplesOf(1000));
    ASSERT_EQ(cache.EntryCount(), 3u);
    ASSERT_TRUE(cache.FindSamples(Identity(1), options));  // 1 is now the most recent
    cache.KeepSamples(Identity(4), options, SamplesOf(1000));
    EXPECT_LE(cache.Bytes(), cache.ByteLimit());
    EXPECT_TRUE(cache.FindSamples(Identity(1), options));
    EXPECT_FALSE(cache.FindSamples(Identity(2), options));
    EXPECT_TRUE(cache.FindSamples(Identity(3), options));
    EXPECT_TRUE(cache.FindSamples(Identity(4), options));

    // Nothing larger than the whole limit is kept, and it pushes nothing out.
    cache.KeepSamples(Identity(5), options, SamplesOf(10000));
    EXPECT_FALSE(cache.FindSamples(Identity(5), options));
    EXPECT_EQ(cache.EntryCount(), 3u);

    // A smaller limit lets go at once; 0 keeps nothing.
    cache.SetByteLimit(2000 + 256);
    EXPECT_EQ(cache.EntryCount(), 1u);
    EXPECT_TRUE(cache.FindSamples(Identity(4), options));
    cache.SetByteLimit(0);
    EXPECT_EQ(cache.EntryCount(), 0u);
    EXPECT_EQ(cache.Bytes(), 0u);
    cache.KeepSamples(Identity(6), options, SamplesOf(1));
    EXPECT_FALSE(cache.FindSamples(Identity(6), options));
}

TEST(PictureCache, FindsOnlyWhatWasMadeOfTheSameFileOptionsAndRecipe) {
    PictureCache cache;
    const LoadOptions options;
    const sonolux::SharedSamples samples = SamplesOf(10);
    cache.KeepSamples(Identity(1), options, samples);
    EXPECT_EQ(cache.FindSamples(Identity(1), options), samples);  // shared, not copied

    FileIdentity changed = Identity(1);
    changed.changedNanoseconds = 1;
    EXPECT_FALSE(cache.FindSamples(changed, options));
    LoadOptions longer = options;
    longer.frameLimit = options.frameLimit + 1;
    EXPECT_FALSE(cache.FindSamples(Identity(1), longer));
    LoadOptions floats = options;
    floats.floatSamples = true;
    EXPECT_FALSE(cache.FindSamples(Identity(1), floats));

    sonolux::PictureRecipe recipe;
    recipe.sizePx = QSize(120, 80);
    auto picture = std::make_shared<sonolux::SpectrogramImage>();
    picture->Build(*samples, recipe.parameters, recipe.sizePx);
    cache.KeepPicture(Identity(1), options, recipe, picture);
    EXPECT_EQ(cache.FindPicture(Identity(1), options, recipe), picture);
    // A picture is not the samples of its file.
    EXPECT_EQ(cache.FindSamples(Identity(1), options), samples);

    std::vector<sonolux::PictureRecipe> others(10, recipe);
    others[0].parameters.frameLengthChoice = 3;
    others[1].parameters.fftSizeChoice = 4;
    others[2].parameters.windowFunctionChoice = 1;
    others[3].parameters.hopSize = 65;
    others[4].parameters.powerMin = 21.0f;
    others[5].parameters.powerMax = 119.0f;
    others[6].options.everySample = true;
    others[7].options.autoContrast = true;
    others[8].sizePx = QSize(240, 160);  // the same control on a 200% screen
    others[9].sizePx = QSize(120, 81);
    for (const sonolux::PictureRecipe& other : others)
        EXPECT_FALSE(cache.FindPicture(Identity(1), options, other));
    EXPECT_FALSE(cache.FindPicture(Identity(2), options, recipe));
}

TEST(FileIdentity, ARenameKeepsTheContentsButNotTheChangeTimeAndACopyIsAnotherFile) {
    TempFolder folder;
    const std::string path = folder.WriteWave("a.wav", {1, 2, 3});
    ASSERT_TRUE(WaitUntilSettled(path));
    const auto loaded = sonolux::IdentityOfName(path);
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(sonolux::IsSettled(*loaded));

    const std::string renamed = folder.MakeFolder("kept") + "/a.wav";
    ASSERT_EQ(std::rename(path.c_str(), renamed.c_str()), 0);
    const auto moved = sonolux::IdentityOfName(renamed);
    ASSERT_TRUE(moved);
    // A rename moves the change time (Linux does on every file system it writes),
    // so the change time cannot tell a moved file from a changed one.
    EXPECT_NE(*moved, *loaded);
    EXPECT_TRUE(sonolux::SameContentsAfterMove(*loaded, *moved));

    // A copy on the same device, even with the modification time kept, is another file.
    const std::string copy = folder.Path("copy.wav");
    std::filesystem::copy_file(renamed, copy);
    struct timespec times[2] = {
        {0, UTIME_OMIT}, {loaded->modifiedSeconds, static_cast<long>(loaded->modifiedNanoseconds)}};
    ASSERT_EQ(::utimensat(AT_FDCWD, copy.c_str(), times, 0), 0);
    const auto copied = sonolux::IdentityOfName(copy);
    ASSERT_TRUE(copied);
    EXPECT_EQ(copied->modifiedSeconds, loaded->modifiedSeconds);
    EXPECT_FALSE(sonolux::SameContentsAfterMove(*loaded, *copied));

    // On another device only the size and the modification time can tell.
    FileIdentity elsewhere = *loaded;
    elsewhere.device ^= 1;
    elsewhere.inode ^= 12345;
    EXPECT_TRUE(sonolux::SameContentsAfterMove(*loaded, elsewhere));
    elsewhere.modifiedNanoseconds ^= 1;
    EXPECT_FALSE(sonolux::SameContentsAfterMove(*loaded, elsewhere));
    FileIdentity longer = *loaded;
    longer.size += 2;
    EXPECT_FALSE(sonolux::SameContentsAfterMove(*loaded, longer));

    EXPECT_FALSE(sonolux::IdentityOfName(folder.Path("missing.wav")));
    EXPECT_FALSE(sonolux::IdentityOfName(renamed + std::string(1, '\0')));
    FileIdentity future = *loaded;
    future.changedSeconds += 1000000;
    EXPECT_FALSE(sonolux::IsSettled(future));
}

TEST(SharedLoad, TakesCachedSamplesOfTheSameFileAndReadsAgainWhenItChangedUnderItsName) {
    TempFolder folder;
    PictureCache cache;
    const std::string path = folder.WriteWave("a.wav", {1, 2, 3, 4});
    ASSERT_TRUE(WaitUntilSettled(path));

    const sonolux::SharedLoad first = sonolux::LoadSharedWaveFile(path, {}, &cache);
    ASSERT_EQ(first.result, sonolux::LoadResult::Replaced);
    EXPECT_TRUE(first.readFromFile);
    EXPECT_TRUE(first.settled);
    EXPECT_EQ(*first.samples, (std::vector<std::int16_t>{1, 2, 3, 4}));

    const sonolux::SharedLoad again = sonolux::LoadSharedWaveFile(path, {}, &cache);
    EXPECT_FALSE(again.readFromFile);
    EXPECT_EQ(again.samples, first.samples);
    EXPECT_EQ(again.info, first.info);
    EXPECT_EQ(again.info.loadedFrames, 4u);

    // Other load options are another entry.
    LoadOptions shorter;
    shorter.frameLimit = 2;
    const sonolux::SharedLoad cut = sonolux::LoadSharedWaveFile(path, shorter, &cache);
    EXPECT_TRUE(cut.readFromFile);
    EXPECT_EQ(*cut.samples, (std::vector<std::int16_t>{1, 2}));

    // The same size written again under the same name: its times move past the
    // settled ones, and the new samples are read.
    folder.WriteWave("a.wav", {5, 6, 7, 8});
    const sonolux::SharedLoad changed = sonolux::LoadSharedWaveFile(path, {}, &cache);
    EXPECT_TRUE(changed.readFromFile);
    EXPECT_EQ(*changed.samples, (std::vector<std::int16_t>{5, 6, 7, 8}));

    // A refused file is never served from the cache, and leaves nothing behind.
    const std::size_t entries = cache.EntryCount();
    folder.WriteText("a.wav", "not a wave file");
    const sonolux::SharedLoad refused = sonolux::LoadSharedWaveFile(path, {}, &cache);
    EXPECT_EQ(refused.result, sonolux::LoadResult::Refused);
    EXPECT_FALSE(refused.samples);
    EXPECT_EQ(cache.EntryCount(), entries);

    // Exactly what the plain load gives.
    const std::string other = folder.WriteWave("b.wav", {9, -9});
    std::vector<std::int16_t> plain;
    sonolux::WaveFileInfo plainInfo;
    ASSERT_EQ(sonolux::LoadWaveFile(other, plain, {}, &plainInfo), sonolux::LoadResult::Replaced);
    const sonolux::SharedLoad shared = sonolux::LoadSharedWaveFile(other, {}, &cache);
    EXPECT_EQ(*shared.samples, plain);
    EXPECT_EQ(shared.info, plainInfo);
    EXPECT_TRUE(sonolux::LoadSharedWaveFile("", {}, &cache).samples->empty());
}
