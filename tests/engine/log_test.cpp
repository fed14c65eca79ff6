#include <gtest/gtest.h>

#include <string>

#include "engine/log.h"
#include "support/test_support.h"

namespace {

const std::string kBanner =
    "********************************************\n"
    "<<<<<<<<<<<<<<<Z.R.M.7 Engine>>>>>>>>>>>>>>>\n"
    "********************************************\n";

TEST(Log, BannerThenOneLinePerWrite) {
    ScopedTempDir dir;
    LogInit();
    LogWrite("first");
    LogWriteF(" Material %d", 3);
    const std::string log = ReadFileBytes("log.txt");
    ASSERT_EQ(log.compare(0, kBanner.size(), kBanner), 0);
    // Credit line, then the asterisk line and an empty line.
    const size_t credit = log.find('\n', kBanner.size());
    ASSERT_NE(credit, std::string::npos);
    EXPECT_EQ(log.substr(credit + 1), "********************************************\n\nfirst\n Material 3\n");
}

TEST(Log, SecondStartReplacesTheOldLog) {
    ScopedTempDir dir;
    LogInit();
    LogWrite("from the first run");
    LogInit();
    EXPECT_EQ(ReadFileBytes("log.txt").find("from the first run"), std::string::npos);
}

TEST(Log, WriteWithoutALogCreatesNothing) {
    ScopedTempDir dir;
    LogWrite("Error reading config.ini");
    EXPECT_FALSE(FileExists("log.txt"));
}

TEST(Log, KeepsCodePage1250Bytes) {
    ScopedTempDir dir;
    LogInit();
    LogWrite("   Nepodarilo sa vytvori\x9D m_pDirectInput");
    EXPECT_NE(ReadFileBytes("log.txt").find("vytvori\x9D m_p"), std::string::npos);
}

}  // namespace
