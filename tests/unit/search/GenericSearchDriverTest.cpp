// The generic search's driver before it touches the theory: the stop file ends the program with
// exit code 12 and writes nothing.
#include "TestSupport.h"

#include "base/SystemUtility.h"
#include "search/SearchSMGeneric.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

TEST(GenericDriver, StopFileEndsTheProgram) {
    testsupport::TempDir dir;
    const std::string stop = dir.path() + "/stop";
    std::ofstream(stop) << "";
    int status = 0;
    const std::string text = testsupport::stdoutOfChild(
        [&] {
            setControlFiles(nullptr, nullptr, stop.c_str());
            FindSM(nullptr);
        },
        &status);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 12);
    EXPECT_EQ(text, "Stop signal received\n");
    // The stop file stays; nothing else was written.
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path()))
        files++;
    EXPECT_EQ(files, 1);
}

TEST(GenericDriver, StopFileDefaultsToTheFixedName) {
    setControlFiles(nullptr, nullptr, "/nowhere/stop");
    EXPECT_STREQ(getStopFile(), "/nowhere/stop");
    setControlFiles(nullptr, nullptr);
    EXPECT_STREQ(getStopFile(), "/tmp/tarvik_stop");
}

} // namespace
