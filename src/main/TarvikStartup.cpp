#include "main/TarvikStartup.h"

#include "commands/Commands.h"

#include "base/Allocation.h"
#include "base/Error.h"
#include "base/Output.h"
#include "base/SystemUtility.h"
#include "base/Terminal.h"
#include "interpreter/Interpreter.h"
#include "interpreter/TerminalLoop.h"
#include "main/ControlUtility.h"
#include "modular/Modular.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* UsageText = "Usage: tarvik [option] [input files]\nOptions:\n"
                                  "-a       alloc_trace        shows all dynamical allocations\n"
                                  "-b       background         i/o option for background running\n"
                                  "-p       progress           i/o show progess info\n"
                                  "-i       info               show this list and quit\n\n"
                                  "\"Input files\" is an (optional) list of tarvik command files";

bool opensForReading(const char* name) {
    FILE* f = std::fopen(name, "r");
    if (!f)
        return false;
    std::fclose(f);
    return true;
}

} // namespace

void printBanner(const char* host, const char* buildDate, const char* buildTime) {
    const double version = getTarvikVersionNumber();
    if (std::strstr(host, "unknown"))
        std::printf("Tarvik, version %5.4f, compiled on %s, at %s\n", version, buildDate,
                    buildTime);
    else
        std::printf("Tarvik (on %s), version %5.4f, compiled on %s, at %s\n", host, version,
                    buildDate, buildTime);
}

void printProcessorNote() {
    if (const char* cpu = std::getenv("CPUFREQ"))
        std::printf("CPU: %s\n", cpu);
}

void printUsage() {
    std::puts(UsageText);
}

int readLeadingOptions(int argc, char** argv) {
    int at = 1;
    for (; at < argc; ++at) {
        const char* word = argv[at];
        if (std::strcmp(word, "-a") == 0) {
            setAllocTrace(1);
        } else if (std::strcmp(word, "-b") == 0) {
            setBackground(1);
        } else if (std::strcmp(word, "-p") == 0) {
            setBackground(0);
        } else if (std::strcmp(word, "-i") == 0) {
            printUsage();
            std::exit(0);
        } else {
            break;
        }
    }
    return at;
}

void startSingleAlgebraInput() {
    TerminalOutputOn();
    setCosetMode(0);
    disableCoset();
}

void runCommandFiles(int count, char** files) {
    for (int i = 0; i < count; ++i) {
        if (opensForReading(files[i])) {
            executeCommandFile(files[i], 0);
        } else {
            std::printf("cannot open input file\n");
            std::fflush(stdout);
        }
    }
}

void finishCommandFiles() {
    if (!getBackground())
        readFromTerminal();
    Print("End of command file(s) reached; terminating\n");
    Print("CPU time used %10.2f seconds\n", CPUTime());
    std::exit(0);
}
