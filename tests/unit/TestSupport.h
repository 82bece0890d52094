// Helpers shared by the unit tests: the base modules' reset, temporary directories and homes,
// standard input, allocation counters, captured output and the output of a child process.
#pragma once

#include "base/Allocation.h"
#include "base/Defaults.h"
#include "base/Error.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "base/Tables.h"
#include "base/Terminal.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdio_ext.h>
#include <string>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>

namespace testsupport {

// The base modules that tests change, as a process has them before its start-up. The parameters
// and the defaults they keep go last: the other modules hold pointers to them until then.
inline void resetBaseState() {
    resetTableState();
    resetOutputState();
    resetTerminalState();
    resetErrorState();
    resetParameterState();
    resetDefaultState();
}

// A fresh directory under the system's temporary folder; whoever asks for it removes it.
inline std::string makeTempDirectory(const std::string& prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "_XXXXXX")).string();
    if (!mkdtemp(pattern.data()))
        ADD_FAILURE() << "cannot make a temporary directory";
    return pattern;
}

// A fresh directory, removed with all it holds when the scope ends.
class TempDir {
public:
    explicit TempDir(const std::string& prefix = "tarvik_test")
        : path_(makeTempDirectory(prefix)) {}
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// HOME points at a fresh directory while the scope lasts; the old value comes back after it.
class TempHome {
public:
    explicit TempHome(const std::string& prefix = "tarvik_home") : dir_(prefix) {
        if (const char* old = std::getenv("HOME")) {
            hadHome_ = true;
            oldHome_ = old;
        }
        setenv("HOME", dir_.path().c_str(), 1);
    }
    ~TempHome() {
        if (hadHome_)
            setenv("HOME", oldHome_.c_str(), 1);
        else
            unsetenv("HOME");
    }
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;
    const std::string& path() const { return dir_.path(); }

private:
    TempDir dir_;
    bool hadHome_ = false;
    std::string oldHome_;
};

// The working directory is a fresh directory while the scope lasts, for code that writes files
// under names of its own choice; the old working directory comes back after it.
class TempWorkingDir {
public:
    explicit TempWorkingDir(const std::string& prefix = "tarvik_cwd") : dir_(prefix) {
        std::error_code ec;
        old_ = std::filesystem::current_path(ec);
        std::filesystem::current_path(dir_.path(), ec);
        if (ec)
            ADD_FAILURE() << "cannot enter " << dir_.path();
    }
    ~TempWorkingDir() {
        std::error_code ec;
        std::filesystem::current_path(old_, ec);
    }
    TempWorkingDir(const TempWorkingDir&) = delete;
    TempWorkingDir& operator=(const TempWorkingDir&) = delete;
    const std::string& path() const { return dir_.path(); }

private:
    TempDir dir_;
    std::filesystem::path old_;
};

// "OutputDir" names a fresh directory and "OutputFilePrefix" the given prefix while the scope
// lasts; their old texts come back after it. Where start-up has not registered them, they are
// registered with its values. The directory's name begins with directoryPrefix.
class TempOutputDir {
public:
    explicit TempOutputDir(const std::string& prefix = "N",
                           const std::string& directoryPrefix = "tarvik_out")
        : dir_(directoryPrefix) {
        save(0, "OutputDir", "HOME", dir_.path());
        save(1, "OutputFilePrefix", "N", prefix);
    }
    ~TempOutputDir() {
        for (const Saved& s : saved_)
            changeDefault(findInternalParameter(s.name)->DF, s.text.c_str());
    }
    TempOutputDir(const TempOutputDir&) = delete;
    TempOutputDir& operator=(const TempOutputDir&) = delete;
    const std::string& path() const { return dir_.path(); }

private:
    struct Saved {
        const char* name;
        std::string text;
    };
    void save(int k, const char* name, const char* startValue, const std::string& value) {
        InternalParameter* ip = findInternalParameter(name);
        if (!ip)
            ip = addInternalParameter(name, startValue, 's', 1);
        saved_[k] = {name, ip->DF->value ? ip->DF->value : ""};
        changeDefault(ip->DF, value.c_str());
    }
    TempDir dir_;
    Saved saved_[2];
};

// Standard input reads the given text while the scope lasts; the old input comes back after it.
// The stream's buffer and end-of-file mark go with each switch, since both would otherwise
// outlive the test (and reach every death test forked after it).
class StdinText {
public:
    explicit StdinText(const std::string& text) : saved_(dup(STDIN_FILENO)) {
        char name[] = "/tmp/tarvik_stdin_XXXXXX";
        const int fd = mkstemp(name);
        if (fd < 0) {
            ADD_FAILURE() << "cannot make a file for standard input";
            return;
        }
        unlink(name);
        const bool written =
            write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
        if (!written)
            ADD_FAILURE() << "cannot write the text for standard input";
        lseek(fd, 0, SEEK_SET);
        switchTo(fd);
        close(fd);
    }
    ~StdinText() {
        if (saved_ >= 0) {
            switchTo(saved_);
            close(saved_);
        } else {
            __fpurge(stdin);
            close(STDIN_FILENO);
            std::clearerr(stdin);
        }
    }
    StdinText(const StdinText&) = delete;
    StdinText& operator=(const StdinText&) = delete;

private:
    static void switchTo(int fd) {
        __fpurge(stdin);
        dup2(fd, STDIN_FILENO);
        std::clearerr(stdin);
    }
    int saved_;
};

// Everything a call writes on the error output followed by what it writes on standard output.
// A status line an earlier test left standing is ended before a capture starts, or the next
// text printed would end it inside the capture.
inline void endStandingStatusLine() {
    if (getAtLineBegin())
        endStatusLine();
}

template <class F> std::string outputOf(F&& f) {
    endStandingStatusLine();
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    f();
    std::fflush(stdout);
    std::fflush(stderr);
    std::string out = testing::internal::GetCapturedStdout();
    return testing::internal::GetCapturedStderr() + out;
}

// What a call writes on standard output.
template <class F> std::string stdoutOf(F&& f) {
    endStandingStatusLine();
    testing::internal::CaptureStdout();
    f();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

// Error output and printed output of a stretch of a test, with terminal output on meanwhile.
class Captured {
public:
    Captured() : wasOn_(OutputStatus()) {
        endStandingStatusLine();
        TerminalOutputOn();
        testing::internal::CaptureStderr();
        testing::internal::CaptureStdout();
    }
    ~Captured() { finish(); }
    Captured(const Captured&) = delete;
    Captured& operator=(const Captured&) = delete;
    const std::string& err() {
        finish();
        return err_;
    }
    const std::string& out() {
        finish();
        return out_;
    }

private:
    void finish() {
        if (done_)
            return;
        done_ = true;
        std::fflush(stdout);
        if (!wasOn_)
            TerminalOutputOff();
        out_ = testing::internal::GetCapturedStdout();
        err_ = testing::internal::GetCapturedStderr();
    }
    int wasOn_;
    bool done_ = false;
    std::string err_;
    std::string out_;
};

// The bytes charged to the allocation counter of that name; 0 while it is not registered.
inline std::uint32_t allocatedTo(const std::string& counter) {
    for (MemStats* ms = getFirstMS(); ms; ms = ms->next)
        if (counter == ms->stat->txt)
            return ms->stat->TotalAlloc;
    return 0;
}

// What a child process writes on standard output until it ends: f runs in the child, whose
// error output is dropped, and the child ends after it whatever f does. Standard output is
// flushed first, so the child starts with an empty buffer. Its wait status goes to status.
template <class F> std::string stdoutOfChild(F&& f, int* status = nullptr) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        ADD_FAILURE() << "cannot make a pipe";
        return {};
    }
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        dup2(pipeEnds[1], STDOUT_FILENO);
        if (FILE* none = std::fopen("/dev/null", "w"))
            dup2(fileno(none), STDERR_FILENO);
        f();
        _exit(0);
    }
    close(pipeEnds[1]);
    std::string text;
    char block[4096];
    for (ssize_t n; (n = read(pipeEnds[0], block, sizeof block)) > 0;)
        text.append(block, static_cast<std::size_t>(n));
    close(pipeEnds[0]);
    int waited = 0;
    waitpid(child, &waited, 0);
    if (status)
        *status = waited;
    return text;
}

inline bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace testsupport
