#include "main/TarvikStartup.h"

#include "main/MainTestHelpers.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "main/ControlUtility.h"
#include "modular/Modular.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using maintest::freshDirectory;
using maintest::readFile;
using maintest::startUp;

int interactive() {
    return findInternalParameter("interactive")->value;
}

// argv as main gets it: the program name first.
struct Arguments {
    explicit Arguments(std::vector<std::string> words) : words(std::move(words)) {
        pointers.push_back(program.data());
        for (std::string& w : this->words)
            pointers.push_back(w.data());
        pointers.push_back(nullptr);
    }
    int argc() const { return static_cast<int>(pointers.size()) - 1; }
    char** argv() { return pointers.data(); }
    std::string program = "tarvik";
    std::vector<std::string> words;
    std::vector<char*> pointers;
};

const char* const Usage = "Usage: tarvik [option] [input files]\nOptions:\n"
                          "-a       alloc_trace        shows all dynamical allocations\n"
                          "-b       background         i/o option for background running\n"
                          "-p       progress           i/o show progess info\n"
                          "-i       info               show this list and quit\n\n"
                          "\"Input files\" is an (optional) list of tarvik command files\n";

class TarvikStartup : public ::testing::Test {
protected:
    void SetUp() override {
        startUp();
        dir = freshDirectory();
    }
    void TearDown() override {
        setBackground(0);
        ERROR_FILE = stderr;
        setIntPar("interactive", 1);
        fs::remove_all(dir);
    }
    // Where a child writes its standard output, for the parent to read afterwards.
    std::string outputFile() const { return dir + "/stdout"; }
    std::string dir;
};

// ------------------------------------------------------------ banner

TEST_F(TarvikStartup, BannerNamesTheHost) {
    testing::internal::CaptureStdout();
    printBanner("node7", "Dec 10 2026", "15:04:05");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Tarvik (on node7), version 7.4581, compiled on Dec 10 2026, at 15:04:05\n");
}

TEST_F(TarvikStartup, BannerLeavesOutAnUnknownHost) {
    for (const char* host : {"unknown", "host-unknown-3"}) {
        testing::internal::CaptureStdout();
        printBanner(host, "Jan  1 2027", "00:00:00");
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  "Tarvik, version 7.4581, compiled on Jan  1 2027, at 00:00:00\n");
    }
}

TEST_F(TarvikStartup, ProcessorNoteOnlyWithCpuFrequency) {
    setenv("CPUFREQ", "2400 MHz", 1);
    testing::internal::CaptureStdout();
    printProcessorNote();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "CPU: 2400 MHz\n");
    unsetenv("CPUFREQ");
    testing::internal::CaptureStdout();
    printProcessorNote();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

// ------------------------------------------------------------ options

TEST_F(TarvikStartup, OptionsEndAtTheFirstOtherWord) {
    struct Case {
        std::vector<std::string> words;
        int first;
        int background;
    };
    const Case cases[] = {
        {{}, 1, 0},
        {{"run.cmd"}, 1, 0},
        {{"-b", "run.cmd"}, 2, 1},
        {{"-b", "-p", "run.cmd"}, 3, 0},
        {{"-p", "-b"}, 3, 1},
        {{"run.cmd", "-b"}, 1, 0},  // "-b" after a file name is a file name
        {{"-x", "run.cmd"}, 1, 0},  // an unknown option is a file name
        {{"-bp", "run.cmd"}, 1, 0}, // options are whole words
        {{"-b", "-x", "-p"}, 2, 1}, // nothing after the first file is an option
    };
    for (const Case& c : cases) {
        setBackground(0);
        Arguments args(c.words);
        EXPECT_EQ(readLeadingOptions(args.argc(), args.argv()), c.first) << c.words.size();
        EXPECT_EQ(getBackground(), c.background) << c.first;
    }
}

TEST_F(TarvikStartup, BackgroundTurnsInteractiveOffAndProgressLeavesItOff) {
    setIntPar("interactive", 1);
    Arguments background({"-b"});
    readLeadingOptions(background.argc(), background.argv());
    EXPECT_EQ(interactive(), 0);
    EXPECT_EQ(ERROR_FILE, stdout);
    Arguments progress({"-p"});
    readLeadingOptions(progress.argc(), progress.argv());
    EXPECT_EQ(getBackground(), 0);
    EXPECT_EQ(interactive(), 0);
    EXPECT_EQ(ERROR_FILE, stdout);
}

void infoOption(const std::string& out, std::vector<std::string> words) {
    if (!std::freopen(out.c_str(), "w", stdout))
        std::exit(3);
    Arguments args(std::move(words));
    readLeadingOptions(args.argc(), args.argv());
    std::exit(2); // "-i" must not come back
}

TEST_F(TarvikStartup, InfoPrintsTheUsageAndEnds) {
    EXPECT_EXIT(infoOption(outputFile(), {"-i"}), testing::ExitedWithCode(0), "");
    EXPECT_EQ(readFile(outputFile()), Usage);
}

TEST_F(TarvikStartup, InfoAmongOptionsEndsAtOnce) {
    EXPECT_EXIT(infoOption(outputFile(), {"-b", "-i", "-a", "run.cmd"}), testing::ExitedWithCode(0),
                "");
    EXPECT_EQ(readFile(outputFile()), Usage);
}

TEST_F(TarvikStartup, InfoAfterAFileNameIsAFileName) {
    Arguments args({"run.cmd", "-i"});
    EXPECT_EQ(readLeadingOptions(args.argc(), args.argv()), 1);
}

// ------------------------------------------------------------ command files

TEST_F(TarvikStartup, FileThatDoesNotOpenIsSkippedWithANotice) {
    const std::string missing = dir + "/missing.cmd";
    const std::string present = dir + "/present.cmd";
    std::ofstream(present) << "# nothing to do\n\n";
    Arguments args({"-x", missing, present, missing});
    const int first = readLeadingOptions(args.argc(), args.argv());
    testing::internal::CaptureStdout();
    runCommandFiles(args.argc() - first, args.argv() + first);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "cannot open input file\ncannot open input file\ncannot open input file\n");
}

TEST_F(TarvikStartup, CommandFileRunsWithInteractiveOffAndRestoresIt) {
    const std::string file = dir + "/probe.cmd";
    std::ofstream(file) << "# a comment only\n";
    setIntPar("interactive", 1);
    std::vector<std::string> names{file};
    std::vector<char*> files{names[0].data()};
    testing::internal::CaptureStdout();
    runCommandFiles(1, files.data());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(interactive(), 1);
}

void finishInBackground(const std::string& out) {
    if (!std::freopen(out.c_str(), "w", stdout))
        std::exit(3);
    TerminalOutputOn();
    setBackground(1);
    finishCommandFiles();
}

TEST_F(TarvikStartup, BackgroundEndsAfterTheCommandFiles) {
    EXPECT_EXIT(finishInBackground(outputFile()), testing::ExitedWithCode(0), "");
    const std::string text = readFile(outputFile());
    const std::string head = "End of command file(s) reached; terminating\nCPU time used ";
    ASSERT_EQ(text.substr(0, head.size()), head) << text;
    // "%10.2f seconds\n"
    const std::string rest = text.substr(head.size());
    ASSERT_EQ(rest.size(), 10u + std::string(" seconds\n").size()) << text;
    EXPECT_EQ(rest.substr(10), " seconds\n");
    EXPECT_EQ(rest[7], '.');
}

TEST_F(TarvikStartup, WithoutBackgroundTheTerminalFollows) {
    // With "interactive" off the terminal loop refuses to start and the process ends with 1.
    auto finish = [] {
        setIntPar("interactive", 0);
        finishCommandFiles();
    };
    EXPECT_EXIT(finish(), testing::ExitedWithCode(1), "");
}

TEST_F(TarvikStartup, SingleAlgebraInputMakesTheBlockCurrent) {
    setCosetMode(1);
    startSingleAlgebraInput();
    EXPECT_EQ(getCosetMode(), 0);
}

} // namespace
