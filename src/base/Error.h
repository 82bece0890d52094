// Error reporting: every message of the system goes through Alert, whose six-digit code gives
// the answers offered, the severity and the title.
#pragma once

#include <cstddef>

struct ErrorType {
    ErrorType* next;
    int position;
    int count;
    int RepRate; // show at every RepRate-th occurrence; 0 never, -1 shown once already
    char* routine;
};

int Alert(const char* routine, int position, int errorCode, const char* fmt, ...)
    __attribute__((format(printf, 4, 5)));
ErrorType* getError(const char* routine, int position);

void printErrorMessage(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void printAllocMessage(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

void suppressError();
void unsuppressError();
int getErrorSuppression();
void bufferErrors();
void unbufferErrors();
void flushErrors();
void printErrorBuffer();
void noBuf();
void noBufOff();
void dumpErrorBuffer();
void explainErrors();
void Msg(const char* text);
void resetError();
void showPreviousErrors();
void enableError(const char* routine, int position);
void disableError(const char* routine, int position);
void setRepRate(ErrorType* sd);
void unpackErrorCode(int errorCode, int* codes);
char* getSeverity_Error();
void setSeverity_Error(const char* Mask);

void TerminalOutputOn();
void TerminalOutputOff();
int OutputStatus();

void ErrorFileName(const char* filename);
void LogFileName(const char* filename);
void writeError(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void writeLog(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void initErrorFile();
void initLog();
void initializeError();
// What a background run reports of the command position before it ends on a serious error; the
// interpreter, which knows the position, installs it at start-up.
using ErrorPositionReport = void (*)();
void setErrorPositionReport(ErrorPositionReport report);
// Binds the switches "error_trace", "log", "error_log" and "interactive"; a null pointer reads as
// off. initializeError binds the named parameters; tests bind ints of their own.
void bindErrorSwitches(int* errorTrace, int* log, int* errorLog, int* interactive);
// Back to the state the process starts with: no sites, the default mask, nothing suppressed or
// held back, no switches, position report or log files bound, and terminal output off.
void resetErrorState();
