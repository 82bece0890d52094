// The terminal outside the command output: the question panel through which Alert asks what to
// do about a message, and the progress display of long loops.
#pragma once

#include "base/Allocation.h"

#include <csignal>
#include <string>

// One progress display; displays nest as a stack (a nested one lies on next).
struct ProgressInfo {
    ProgressInfo* next = nullptr;
    ProgressInfo* previous = nullptr;
    GuardedArray<char> Buffer{"Progress->Buffer"}; // the title
    double InfoStart = 0.0;
    double InitTime = 0.0; // spent in nested displays, kept out of the time estimate
    double LastPctTime = 0.0;
    double Total = 0.0;
    // Counts in two parts: M-part times 1,000,000,000 plus the plain part.
    int Count = 0;
    int MCount = 0;
    int PercentageStep = 0;
    int MPercentageStep = 0;
    int NextPercentage = 0;
    int MNextPercentage = 0;
    int NextTimeCheck = 0;
    int NextAction = 0; // the only value the per-step test compares with
    int lastpct = 0;
    int Interruptable = 0;
    int active = 0; // 0 idle, 1 running with display, 2 running without display
};

// 1 after the user declined to continue or pressed Ctrl-C; long computations poll it and stop.
extern volatile std::sig_atomic_t stopSignal;
// 1 while a display runs; output then wipes the progress line before writing.
extern int isRunningModal;

// Asks the user about a message; 1 default answer, 0 second, -1 third, -4 "Scroll".
int NXRunAlertPanel(const char* title, const char* msg, const char* defaultButton,
                    const char* alternateButton, const char* otherButton, ...);
int getErrorResponse(const char* const* alternatives, const int* responses, const char* msg,
                     int options);
const char* errorHelpText(const char* item);

void startProgressInfo(const char* title, double total, int interruptable);
int incrementProgressInfo();
void stopProgressInfo(const char* title);
int getProgressInfo();
int ProgressPrint(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void PrintProgress(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void whipe();
void setLineLen(int len);
void startModal();
void stopModal();
ProgressInfo* allocateProgressInfo(ProgressInfo* from);
int getNextAction(ProgressInfo* P);

// The display of one loop, for the terminal only: a background run starts none, so that its
// output stays what it was without the display. step() once per step is true when the user asked
// to stop (the display has then ended); a display still running ends with the object.
class LoopProgress {
public:
    LoopProgress(const char* title, double total, int interruptable = 1);
    ~LoopProgress();
    LoopProgress(const LoopProgress&) = delete;
    LoopProgress& operator=(const LoopProgress&) = delete;
    bool step();

private:
    std::string title_;
    bool running_;
};

// Makes Ctrl-C a request to stop instead of the end of the process: it sets stopSignal and
// marks an interrupt, which the interpreter and the terminal loop act on. A process started
// with the signal ignored keeps ignoring it.
void stopOnInterrupt();
// 1 after Ctrl-C since the last clearInterrupt().
int interruptRequested();
void clearInterrupt();

void initializeTerminal();
// Back to the state the process starts with: no progress records, no display running, no stop
// requested, nothing bound and no nested loop installed.
void resetTerminalState();
// Wipes the progress line standing on the terminal, if a display is running.
void clearProgressLine();

// Ends the scrolling that the answer "Scroll" started; the terminal loop does it at each prompt.
void clearErrorScrollMode();

// The answer "Stop" runs a nested terminal loop, which belongs to the interpreter above this
// layer: the interpreter installs it at start-up. Without one, "Stop" ends the process.
using NestedTerminalLoop = void (*)();
void setNestedTerminalLoop(NestedTerminalLoop loop);
