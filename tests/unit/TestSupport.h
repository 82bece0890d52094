// Helpers shared by the unit tests: temporary directories and homes, standard input, and
// captured output.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdio_ext.h>
#include <string>
#include <system_error>
#include <unistd.h>

namespace testsupport {

// A fresh directory, removed with all it holds when the scope ends.
class TempDir {
public:
    explicit TempDir(const std::string& prefix = "tarvik_test") {
        std::string pattern =
            (std::filesystem::temp_directory_path() / (prefix + "_XXXXXX")).string();
        if (!mkdtemp(pattern.data()))
            ADD_FAILURE() << "cannot make a temporary directory";
        path_ = pattern;
    }
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
template <class F> std::string outputOf(F&& f) {
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
    testing::internal::CaptureStdout();
    f();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

inline bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace testsupport
