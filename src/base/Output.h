// Output routing: results go through Print to the terminal, the output file or, while a
// command's output is captured as a value, the return buffer.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>

// The error output: standard error, or standard output in background mode.
extern FILE* ERROR_FILE;

// Print does not flush standard output line by line; flushOutput writes out what it holds. It
// runs at the end of every command, before a question, a prompt or an error message, and at
// least once a second while results keep coming.
void flushOutput();
// Makes a fatal signal, a sanitizer's report or an uncaught exception write out what standard
// output still holds before the process ends (exit flushes by itself); once, at start-up.
void flushOutputOnAbnormalEnd();
// Installs handler for sig with the sigaction flags, unless the process ignores sig.
void catchSignalUnlessIgnored(int sig, void (*handler)(int), int flags);
// Gives standard output a large buffer when it is not a terminal; once, before any output.
void enlargeOutputBuffer();

int Print(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
// The whole formatted text of fmt and its arguments, however long.
std::string formatText(const char* fmt, va_list ap);
int Inform(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void PrintNoRepeat(const char* id_msg, const char* msg);

void PrintVec(int Size, const int* Vector, const char* Text);
void PrintSignedVec(int Size, const int* Vector, const char* Text);
void PrintDoubleVec(int Size, const double* Vector, const char* Text);
// x, or +0 when x prints as zero with the given number of decimals: no "-0.0000000".
double unsignedZero(double x, int decimals);

void returnBufferOn();
void returnBufferOff();
int getReturnToBuffer();
// The captured text runs from getReturnBuffer() to returnpointer.
char* getReturnBuffer();
char* getReturnPointer();

void setOutputFile(FILE* out);
// Makes out the output file without closing the one before, which is returned.
FILE* swapOutputFile(FILE* out);
FILE* getOutputFile();
FILE* getFile(const char* name, const char* mode, char** fn);

void setAtLineBegin();
// Ends a status line left standing, so the next text starts on a fresh line.
void endStatusLine();
int getAtLineBegin();
void setBackground(int value);
int getBackground();
void setProgName(const char* name);
const char* getProgName();
int ProgressInfoRequired();

// The interpreter's debug level; from 4 on captured text is echoed.
void setDebugLevel(int level);
int getDebugLevel();

void initializeInterpreter();
// Back to the state the process starts with: nothing captured, no output file (one of its own is
// closed), foreground, program name "X", debug level 0 and no switches bound.
void resetOutputState();

void displayMod();
void displayModIntermediate();
char* reserveModText(char** ModText, char* Mpt, int ReqBytes);
