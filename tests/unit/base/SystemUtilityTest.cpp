#include "base/SystemUtility.h"

#include "base/Defaults.h"
#include "base/Parameters.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <optional>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Each test runs with HOME set to a fresh folder of its own.
class SystemUtility : public testing::Test {
protected:
    void SetUp() override {
        homeDir.emplace("sysutil");
        home = homeDir->path();
    }
    void TearDown() override { setProcessorClock(nullptr); }
    void writeFile(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    void feedStdin(const std::string& text) { input.emplace(text); }
    std::optional<testsupport::TempHome> homeDir;
    std::optional<testsupport::StdinText> input;
    std::string home;
};

bool isDirectory(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

TEST_F(SystemUtility, TildeOpensBelowHomeAndFailureNamesTheGivenName) {
    FILE* f = Fopen("~/note.txt", "w");
    ASSERT_NE(f, nullptr);
    std::fputs("x", f);
    Fclose(f);
    EXPECT_TRUE(exists(home + "/note.txt"));

    testing::internal::CaptureStderr();
    EXPECT_EQ(Fopen("~/missing/note.txt", "r"), nullptr);
    EXPECT_NE(
        testing::internal::GetCapturedStderr().find("Could not open file \"~/missing/note.txt\""),
        std::string::npos);
}

TEST_F(SystemUtility, EleventhOpenFileIsAnnounced) {
    FILE* files[11];
    testing::internal::CaptureStdout();
    for (int i = 0; i < 11; ++i)
        files[i] = Fopen(("~/f" + std::to_string(i)).c_str(), "w");
    std::string out = testing::internal::GetCapturedStdout();
    for (FILE* f : files)
        Fclose(f);
    EXPECT_EQ(out, "Number of open files: 11\n");
}

TEST_F(SystemUtility, ClosingNullIsReported) {
    testing::internal::CaptureStderr();
    Fclose(nullptr);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Could not close file ; null pointer"),
              std::string::npos);
}

TEST_F(SystemUtility, ConvertFileNameExpandsOnlyALeadingTilde) {
    EXPECT_EQ(std::string(convertFileName("~/a/b")), home + "/a/b");
    const char* plain = "a/~b";
    EXPECT_EQ(convertFileName(plain), plain);
}

TEST_F(SystemUtility, CheckDirTellsDirectoryFileAndNothing) {
    writeFile(home + "/file", "abc");
    EXPECT_EQ(checkDir(home.c_str()), 0);
    EXPECT_EQ(checkDir("~/file"), 1);
    EXPECT_EQ(checkDir("~/none"), -1);
    EXPECT_EQ(checkDir(nullptr), -1);
    EXPECT_EQ(fsize((home + "/file").c_str()), 3);
    EXPECT_EQ(fsize((home + "/none").c_str()), -1);
    EXPECT_EQ(checkSocket((home + "/file").c_str()), 1);
    EXPECT_EQ(checkSocket((home + "/none").c_str()), -1);
}

TEST_F(SystemUtility, OwnerPermissions) {
    std::string path = home + "/ro";
    writeFile(path, "x");
    chmod(path.c_str(), 0500);
    EXPECT_EQ(getReadPerm(path.c_str()), 1);
    EXPECT_EQ(getWritePerm(path.c_str()), 0);
    EXPECT_EQ(getExecPerm(path.c_str()), 1);
    EXPECT_EQ(getReadPerm((home + "/none").c_str()), -1);
    EXPECT_EQ(modtime((home + "/none").c_str()), 0);
}

TEST_F(SystemUtility, CreateDirMakesEveryMissingLevel) {
    std::string deep = home + "/a/b/c";
    EXPECT_EQ(CreateDir("~/a/b/c"), 0);
    EXPECT_TRUE(isDirectory(home + "/a"));
    EXPECT_TRUE(isDirectory(deep));
    EXPECT_EQ(CreateDir(deep.c_str()), 0);
}

TEST_F(SystemUtility, CreateDirStopsAtALevelThatIsAFile) {
    writeFile(home + "/plain", "x");
    testing::internal::CaptureStderr();
    EXPECT_EQ(CreateDir("~/plain/sub"), -1);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(
        err.find("Cannot create directory " + home + "/plain; There is a file with that name"),
        std::string::npos);
    EXPECT_FALSE(exists(home + "/plain/sub"));
}

TEST_F(SystemUtility, CreateDirOfAPlainFileFails) {
    writeFile(home + "/plain", "x");
    testing::internal::CaptureStderr();
    EXPECT_EQ(createDir("~/plain"), -1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find(
                  "Cannot create directory ~/plain; There is a file with that name"),
              std::string::npos);
    EXPECT_FALSE(isDirectory(home + "/plain"));
}

TEST_F(SystemUtility, CreateDirMakesOneLevelAndNoMore) {
    EXPECT_EQ(createDir("~/one"), 0);
    EXPECT_TRUE(isDirectory(home + "/one"));
    EXPECT_NE(createDir("~/x/y"), 0);
    EXPECT_FALSE(exists(home + "/x"));
}

TEST_F(SystemUtility, DirectoryNamesReachTheShellLiterally) {
    // Expanded, $(...), $HOME or `...` would give a directory of another name.
    std::string odd = home + "/d$(echo x)$HOME`true`\"\\q";
    EXPECT_EQ(createDir(odd.c_str()), 0);
    EXPECT_TRUE(isDirectory(odd));
}

TEST_F(SystemUtility, CreateFileMakesTheDirectoryPart) {
    EXPECT_EQ(CreateFile("~/p/q/file.txt"), 0);
    EXPECT_TRUE(isDirectory(home + "/p/q"));
    EXPECT_FALSE(exists(home + "/p/q/file.txt"));
}

TEST_F(SystemUtility, MoveOldFileTakesTheFirstFreeNumber) {
    writeFile(home + "/res", "new");
    writeFile(home + "/res_0", "older");
    moveOldFile("~/res");
    EXPECT_FALSE(exists(home + "/res"));
    std::ifstream moved(home + "/res_1");
    std::string text;
    moved >> text;
    EXPECT_EQ(text, "new");
}

TEST_F(SystemUtility, GetstringKeepsAtMostLimitLessOneCharacters) {
    feedStdin(std::string(100, 'a') + "\n\nlast");
    char buffer[100];
    ASSERT_NE(getstring(buffer, 78), nullptr);
    EXPECT_EQ(std::string(buffer), std::string(77, 'a'));
    // The rest of the long line comes next.
    ASSERT_NE(getstring(buffer, 78), nullptr);
    EXPECT_EQ(std::string(buffer), std::string(23, 'a'));
    ASSERT_NE(getstring(buffer, 78), nullptr);
    EXPECT_EQ(std::string(buffer), "");
    ASSERT_NE(getstring(buffer, 78), nullptr);
    EXPECT_EQ(std::string(buffer), "last");
    EXPECT_EQ(getstring(buffer, 78), nullptr);
}

TEST_F(SystemUtility, FullPathCleansSlashesAndDots) {
    struct Case {
        const char* name;
        const char* dir;
        std::string expected;
    } cases[] = {
        {"a//b/./c/", "/base", "/base/a/b/c"},
        {"/x/y/", nullptr, "/x/y"},
        {"/x/.", nullptr, "/x"},
        {"/", nullptr, "/"},
        {"../q", "/base", "/base/../q"},
        {"~/p", nullptr, home + "/p"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::string(getFullPath(c.name, c.dir)), c.expected) << c.name;
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    EXPECT_EQ(std::string(getFullPath("r.txt", nullptr)), std::string(cwd) + "/r.txt");
}

TEST_F(SystemUtility, ExtensionsAndNames) {
    EXPECT_STREQ(getExtension("dir/file.tar.gz"), "gz");
    EXPECT_EQ(getExtension("noext"), nullptr);
    EXPECT_EQ(verifyExtension("run.cmd", "cmd"), 1);
    EXPECT_EQ(verifyExtension("run.cmd", "out"), 0);
    EXPECT_STREQ(changeExtension("run.cmd", "cmd", "out"), "run.out");
    EXPECT_EQ(changeExtension("run.cmd", "txt", "out"), nullptr);
    EXPECT_STREQ(getRelativeName("/a/b/c.txt"), "c.txt");
    EXPECT_STREQ(getRelativeName("c.txt"), "c.txt");
    char path[] = "/a/b/c.txt";
    stripToPath(path);
    EXPECT_STREQ(path, "/a/b");
    char bare[] = "c.txt";
    stripToPath(bare);
    EXPECT_STREQ(bare, ".");
    EXPECT_EQ(isFileInDirectory("/a/b/c", "/a/b"), 1);
    EXPECT_EQ(isFileInDirectory("/a/x/c", "/a/b"), 0);
}

TEST_F(SystemUtility, PathComponentsJoinBackOneByOne) {
    char path[32] = "/a/b/c";
    trunc_path(path);
    EXPECT_STREQ(path, "/a");
    EXPECT_EQ(nextdir(path), 0);
    EXPECT_STREQ(path, "/a/b");
    EXPECT_EQ(nextdir(path), 0);
    EXPECT_STREQ(path, "/a/b/c\n");
    EXPECT_EQ(nextdir(path), -1);
}

TEST_F(SystemUtility, FileToStringReadsWholeFile) {
    writeFile(home + "/cmds", "line one\nline two\n");
    char* text = fileToString("~/cmds", "SysTestBuffer");
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "line one\nline two\n");
}

TEST_F(SystemUtility, FileToStringRefusesMissingFilesAndDirectories) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(fileToString("~/none", "SysTestBuffer"), nullptr);
    EXPECT_EQ(fileToString("~", "SysTestBuffer"), nullptr);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("File ~/none does not exist"), std::string::npos);
    EXPECT_NE(err.find("~ is a directory"), std::string::npos);
}

TEST_F(SystemUtility, FileToStringReportsAZeroByte) {
    writeFile(home + "/bin", std::string("ab\0cd", 5));
    testing::internal::CaptureStderr();
    char* text = fileToString("~/bin", "SysTestBuffer");
    std::string err = testing::internal::GetCapturedStderr();
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "ab");
    EXPECT_NE(err.find("Rubbish in file ~/bin at position 2"), std::string::npos);
    EXPECT_NE(err.find("Length mismatch for file ~/bin (5/2)"), std::string::npos);
}

TEST_F(SystemUtility, HexfileGivesOneIntPerByteEndedByMinusOne) {
    writeFile(home + "/hex", std::string("A\0\xff", 3));
    int* values = HexfileToString("~/hex", "SysTestInts");
    ASSERT_NE(values, nullptr);
    EXPECT_EQ(values[0], 65);
    EXPECT_EQ(values[1], 0);
    EXPECT_EQ(values[2], 255);
    EXPECT_EQ(values[3], -1);
}

TEST_F(SystemUtility, FirstLineLengthCountsTheNewline) {
    writeFile(home + "/two", "ab\ncd\n");
    writeFile(home + "/one", "abc");
    EXPECT_EQ(firstlinelen("~/two"), 3);
    EXPECT_EQ(firstlinelen("~/one"), 4);
}

TEST_F(SystemUtility, SystemReturnsTheShellStatus) {
    EXPECT_EQ(System("true"), 0);
    EXPECT_NE(System("exit %d", 3), 0);
    EXPECT_EQ(System("test -d \"%s\"", home.c_str()), 0);
}

long fakeMicroseconds = 0;
std::clock_t fakeClock() {
    return fakeMicroseconds;
}

TEST_F(SystemUtility, ClockWrapAddsTheWrapSeconds) {
    setProcessorClock(fakeClock);
    fakeMicroseconds = 2147000000; // just below 2^31 microseconds
    EXPECT_DOUBLE_EQ(CPUTime(), 2147.0);
    fakeMicroseconds = -2147000000; // the 32-bit counter wrapped
    EXPECT_NEAR(CPUTime(), -2147.0 + 4294.96, 1e-9);
    fakeMicroseconds = -2146000000;
    EXPECT_NEAR(CPUTime(), -2146.0 + 4294.96, 1e-9);
}

TEST_F(SystemUtility, SmallBackwardStepIsNoWrap) {
    setProcessorClock(fakeClock);
    fakeMicroseconds = 5000000;
    EXPECT_DOUBLE_EQ(CPUTime(), 5.0);
    fakeMicroseconds = 4950000; // 0.05 s back: jitter, not a wrap
    EXPECT_DOUBLE_EQ(CPUTime(), 4.95);
}

TEST_F(SystemUtility, TimeDifferenceResetsWhenAsked) {
    setProcessorClock(fakeClock);
    fakeMicroseconds = 1000000;
    double last = 0.0;
    EXPECT_DOUBLE_EQ(TimeDifference(&last, 1), 1.0);
    EXPECT_DOUBLE_EQ(last, 1.0);
    fakeMicroseconds = 3500000;
    EXPECT_DOUBLE_EQ(TimeDifference(&last, 0), 2.5);
    EXPECT_DOUBLE_EQ(last, 1.0);
}

TEST_F(SystemUtility, DateLinesGiveHourAndWeekDay) {
    EXPECT_EQ(hourFromDateLine("Sat Jan  6 12:00:00 UTC 2024"), 12);
    EXPECT_EQ(weekDayFromDateLine("Sat Jan  6 12:00:00 UTC 2024"), 6);
    EXPECT_EQ(weekDayFromDateLine("Mon Jan  8 09:00:00 UTC 2024"), 1);
    testing::internal::CaptureStdout();
    EXPECT_EQ(hourFromDateLine(""), 24);
    EXPECT_EQ(weekDayFromDateLine("xyz"), 7);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "No valid hour determined: \nNo valid week day determined: xyz\n");
}

TEST_F(SystemUtility, WorkingHoursAreWeekdaysFromNineToSeven) {
    EXPECT_EQ(isWorkingTime(6, 12), 0); // Saturday noon
    EXPECT_EQ(isWorkingTime(0, 12), 0);
    EXPECT_EQ(isWorkingTime(1, 9), 1);
    EXPECT_EQ(isWorkingTime(1, 19), 0);
    EXPECT_EQ(isWorkingTime(7, 10), 1); // unknown day counts as working
    EXPECT_EQ(isWorkingTime(3, 24), 0);
}

TEST_F(SystemUtility, HostNameIsNeverEmpty) {
    EXPECT_GT(std::string(getCurrentHostName()).size(), 0u);
}

TEST_F(SystemUtility, StartupMessageListsTheArguments) {
    char prog[] = "tarvik", a[] = "-b", b[] = "run.cmd";
    char* argv[] = {prog, a, b};
    StartupMessage(1, argv);
    StartupMessage(2, argv);
    StartupMessage(3, argv);
    std::ifstream in(home + "/Startup.info");
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(all, "tarvik started\n"
                   "tarvik started with parameter -b\n"
                   "tarvik started with parameters: \n-b\nrun.cmd\n");
}

} // namespace

namespace fs = std::filesystem;

namespace {

// ---------------------------------------------------------------- output directory

// HOME in a fresh folder; "OutputDir" registered as start-up registers it.
class OutputDirectory : public testing::Test {
protected:
    void SetUp() override {
        if (!findInternalParameter("OutputDir"))
            addInternalParameter("OutputDir", "HOME", 's', 0);
    }
    testsupport::TempHome home{"outdir"};
};

std::string homeDir() {
    return std::getenv("HOME");
}

void setOutputDir(const char* value) {
    changeDefault(findInternalParameter("OutputDir")->DF, value);
}

TEST_F(OutputDirectory, OutputDirectoryAlwaysEndsInSlash) {
    setOutputDir("HOME");
    EXPECT_EQ(std::string(getOutputDir()), homeDir() + "/");
    setOutputDir("/data/results");
    EXPECT_STREQ(getOutputDir(), "/data/results/");
    setOutputDir("/data/results/");
    EXPECT_STREQ(getOutputDir(), "/data/results/");
    // "HOME" only as the whole text stands for the home directory.
    setOutputDir("HOMEWORK");
    EXPECT_STREQ(getOutputDir(), "HOMEWORK/");
    EXPECT_STREQ(getDoneDir(), "HOMEWORK/");
    setOutputDir("HOME");
}

TEST_F(OutputDirectory, OutputDirectoryFollowsAValueThatGrew) {
    // A longer text moves the parameter's value; the directory must follow it.
    const std::string longName = "/data/" + std::string(500, 'x');
    setOutputDir("/a");
    EXPECT_STREQ(getOutputDir(), "/a/");
    setOutputDir(longName.c_str());
    EXPECT_EQ(std::string(getOutputDir()), longName + "/");
    setOutputDir("HOME");
}

// ---------------------------------------------------------------- pause points

std::vector<unsigned> sleeps;
std::string removeAfterTwo;

void recordSleep(unsigned seconds) {
    sleeps.push_back(seconds);
    if (sleeps.size() == 2)
        fs::remove(removeAfterTwo);
}

int alwaysWorking() {
    return 1;
}
int neverWorking() {
    return 0;
}

class PausePoints : public testing::Test {
protected:
    void SetUp() override {
        dir = scratch.path();
        sleepFile = dir + "/sleep";
        niceFile = dir + "/nice";
        setControlFiles(sleepFile.c_str(), niceFile.c_str());
        sleeps.clear();
    }
    void TearDown() override {
        setControlFiles(nullptr, nullptr);
        setInterruptServices(nullptr, nullptr);
    }
    static void touch(const std::string& name) { std::ofstream(name) << ""; }
    testsupport::TempDir scratch{"tarvik_pause"};
    std::string dir, sleepFile, niceFile;
};

TEST_F(PausePoints, NoControlFileReturnsAtOnce) {
    setInterruptServices(recordSleep, alwaysWorking);
    testing::internal::CaptureStdout();
    checkInterrupt();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(sleeps.empty());
}

TEST_F(PausePoints, StandardControlFilesAbsentReturnsAtOnce) {
    if (fs::exists("/tmp/tarvik_sleep") || fs::exists("/tmp/tarvik_nice"))
        GTEST_SKIP() << "a control file of this machine exists";
    setControlFiles(nullptr, nullptr);
    setInterruptServices(recordSleep, alwaysWorking);
    testing::internal::CaptureStdout();
    checkInterrupt();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(sleeps.empty());
}

TEST_F(PausePoints, SleepFilePausesTenMinutesUntilRemoved) {
    touch(sleepFile);
    removeAfterTwo = sleepFile;
    setInterruptServices(recordSleep, alwaysWorking);
    testing::internal::CaptureStdout();
    checkInterrupt();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Sleep signal received; waiting ten minutes\n"
              "Sleep signal received; waiting ten minutes\n");
    EXPECT_EQ(sleeps, (std::vector<unsigned>{600, 600}));
}

TEST_F(PausePoints, NiceFileOutsideWorkingHoursReturnsAfterItsMessage) {
    touch(niceFile);
    setInterruptServices(recordSleep, neverWorking);
    testing::internal::CaptureStdout();
    checkInterrupt();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Nice signal received; running only at night\n");
    EXPECT_TRUE(sleeps.empty());
}

TEST_F(PausePoints, NiceFileInWorkingHoursWaitsUntilRemoved) {
    touch(niceFile);
    removeAfterTwo = niceFile;
    setInterruptServices(recordSleep, alwaysWorking);
    testing::internal::CaptureStdout();
    checkInterrupt();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Nice signal received; running only at night\n");
    EXPECT_EQ(sleeps.size(), 2u);
}

TEST_F(PausePoints, DirectoriesAreNoControlFiles) {
    fs::create_directory(sleepFile);
    fs::create_directory(niceFile);
    setInterruptServices(recordSleep, alwaysWorking);
    testing::internal::CaptureStdout();
    checkInterrupt();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(sleeps.empty());
}

} // namespace
