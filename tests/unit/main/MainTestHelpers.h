// Shared helpers of the start-up tests: the whole program set up with a home directory of its
// own, and files read whole.
#pragma once

#include "TestSupport.h"

#include "main/ControlUtility.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace maintest {

// A fresh directory that outlives the test; its maker removes it.
inline std::string freshDirectory() {
    return testsupport::makeTempDirectory("tarvik_main");
}

// The whole program is set up once per process, with a home directory of its own; every test
// file of this binary uses the same one.
inline void startUp() {
    if (!std::getenv("TARVIK_UNIT_HOME")) {
        setenv("TARVIK_UNIT_HOME", freshDirectory().c_str(), 1);
        // Only the process that made it removes it; forked children exit through here too.
        static const pid_t owner = getpid();
        std::atexit([] {
            if (getpid() == owner)
                std::filesystem::remove_all(std::getenv("TARVIK_UNIT_HOME"));
        });
    }
    setenv("HOME", std::getenv("TARVIK_UNIT_HOME"), 1);
    initializeAll();
}

inline std::string readFile(const std::string& name) {
    std::ifstream in(name);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace maintest
