#include "engine/RegularFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/WaveLoader.h"
#include "tests/support/TempFolder.h"

// The system reads a path only up to its first NUL byte.
TEST(RegularFile, PathHoldingANulByteNamesNoFile) {
    TempFolder folder;
    const std::string real = folder.WriteWave("real.wav", {1, 2});
    const std::string cut = real + std::string(1, '\0') + "x.wav";

    sonolux::RegularFile file;
    ASSERT_TRUE(file.Open(real));
    EXPECT_FALSE(file.Open(cut));

    EXPECT_TRUE(sonolux::NamesNonRegularFile(folder.Path()));
    EXPECT_FALSE(sonolux::NamesNonRegularFile(folder.Path() + std::string(1, '\0') + "x"));

    std::vector<std::int16_t> samples{7};
    EXPECT_EQ(sonolux::LoadWaveFile(cut, samples), sonolux::LoadResult::Refused);
    EXPECT_EQ(samples, std::vector<std::int16_t>{7});
}
