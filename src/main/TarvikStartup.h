// The steps of the program's start: the banner, the leading options, the command files given on
// the command line and what follows them.
#pragma once

// The banner; the host name is left out when it contains "unknown".
void printBanner(const char* host, const char* buildDate, const char* buildTime);
// "CPU: " and the value of CPUFREQ, when that is set.
void printProcessorNote();
void printUsage();
// Acts on the options "-a", "-b", "-p" and "-i" from argv[1] on, up to the first other word, and
// returns the index of that word (argc when none is left). "-i" ends the process.
int readLeadingOptions(int argc, char** argv);
// Terminal output on and back to single-algebra input with the building block current.
void startSingleAlgebraInput();
// Runs the files in order, each with "interactive" off; one that does not open is skipped.
void runCommandFiles(int count, char** files);
// The terminal loop, or in background mode the closing lines and exit code 0.
[[noreturn]] void finishCommandFiles();
