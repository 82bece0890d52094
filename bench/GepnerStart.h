// A Gepner model as "build cy CODE" makes it, read as a superstring with its spectrum computed,
// after the whole start-up and with the terminal output off, below a home folder of its own in
// the temporary directory. Built once per program.
#pragma once

#include "base/Error.h"
#include "interpreter/Interpreter.h"
#include "main/ControlUtility.h"

#include <cstdlib>
#include <filesystem>
#include <string>

// True the first time, when the model was just built.
inline bool startGepner(const char* code) {
    static bool started = false;
    if (started)
        return false;
    started = true;
    const std::string home =
        (std::filesystem::temp_directory_path() / "tarvik_bench_home").string();
    std::filesystem::create_directories(home);
    setenv("HOME", home.c_str(), 1);
    initializeAll();
    TerminalOutputOff();
    std::string line = "build cy ";
    line += code;
    executeCommandLine(line.c_str());
    executeCommandLine("set Super on");
    executeCommandLine("compute spectrum");
    return true;
}
