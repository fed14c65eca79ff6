// Programs kept between runs: a damaged kept program is compiled afresh, never used.
#include <gtest/gtest.h>

#include <filesystem>

#include "render_helpers.h"
#include "support/test_support.h"

namespace {

TEST(ProgramCache, ADamagedKeptProgramIsCompiledAgain) {
    ScopedTempDir dir;
    ASSERT_TRUE(CreateTestDevice(32, 32));
    DestroyTestDevice();
    int damaged = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path() + "/program-cache")) {
        const std::string bytes = ReadFileBytes(entry.path().string());
        WriteFileBytes(entry.path().string(), bytes.substr(0, bytes.size() / 2) + "damage");
        ++damaged;
    }
    ASSERT_GT(damaged, 0);
    ASSERT_TRUE(CreateTestDevice(32, 32));
    ClearTo(0xFF000000);
    DrawScreenQuad(0, 0, 32, 32, 0xFF20C040);
    EXPECT_EQ(ReadPixel(16, 16), 0xFF20C040u);
    DestroyTestDevice();
}

}  // namespace
