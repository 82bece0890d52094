// Helpers shared by the unit tests: temporary directories and homes, and captured output.
#pragma once

#include "base/Error.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

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

// Error output and printed output of a stretch of a test, with terminal output on meanwhile.
class Captured {
public:
    Captured() : wasOn_(OutputStatus()) {
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

inline bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace testsupport
