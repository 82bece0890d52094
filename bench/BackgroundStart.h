// The whole start-up in background mode with the terminal output off, below a home folder of its
// own in the temporary directory, then the given command lines; once per program.
#pragma once

#include "base/Error.h"
#include "base/Output.h"
#include "interpreter/Interpreter.h"
#include "main/ControlUtility.h"

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>

inline void startInBackground(std::initializer_list<const char*> lines) {
    static bool started = false;
    if (started)
        return;
    started = true;
    const std::string home =
        (std::filesystem::temp_directory_path() / "tarvik_bench_home").string();
    std::filesystem::create_directories(home);
    setenv("HOME", home.c_str(), 1);
    initializeAll();
    setBackground(1);
    TerminalOutputOff();
    for (const char* line : lines)
        executeCommandLine(line);
}
