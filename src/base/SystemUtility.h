// System services: files, directories, paths, shell commands, the processor clock, the calendar
// and the host. Texts returned in reused buffers stay valid until the next call of the same
// function.
#pragma once

#include <cstdio>
#include <ctime>
#include <sys/time.h>

// Files
FILE* Fopen(const char* fn, const char* mode);
void Fclose(FILE* ifp);
const char* convertFileName(const char* fn);
int checkDir(const char* name);
long fsize(const char* name);
int checkSocket(const char* name);
int getUid(const char* name);
int getGid(const char* name);
int getMode(const char* name);
long modtime(const char* name);
long acctime(const char* name);
long createtime(const char* name);
int getReadPerm(const char* name);
int getWritePerm(const char* name);
int getExecPerm(const char* name);
char* fileToString(const char* filename, const char* buffername);
int* HexfileToString(const char* filename, const char* buffername);
int firstlinelen(const char* name);
char* getstring(char* string, int maxlen);

// Paths
char* getFullPath(const char* filename, const char* currentdir);
const char* getExtension(const char* filename);
int verifyExtension(const char* filename, const char* extension);
char* changeExtension(const char* name, const char* oldExtension, const char* newExtension);
const char* getRelativeName(const char* name);
void stripToPath(char* fn);
char* getLink(const char* filename);
int isFileInDirectory(const char* filename, const char* directory);
// The path must have room for one more character (the newline that ends the last component).
void trunc_path(char* path);
int nextdir(char* path);

// Directories
int createDir(const char* name);
int CreateDir(const char* path);
int CreateFile(const char* fileA);
void getCurrentDirectory(char* fullpath, int Size);
void dirwalk(const char* dir, void (*fcn)(const char*));

// Shell
int System(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void moveOldFile(const char* fn);
int FullCopy(const char* fileA, const char* fileB);
int Execute(const char* command, const char* filename, int dot);
// Replaces every occurrence of tag in line; line must have room for the grown text.
void replaceString(char* line, const char* tag, const char* replacement);
char* ExecuteSilent(const char* buffer, int verbose);

// Clock and calendar
double CPUTime();
double TimeDifference(double* last, int reset);
int getHour();
int getWeekDay();
int WeekDayCheck();
void Clock(const char* location);
int TimeDif(timeval* last);

// The parsing steps of getHour, getWeekDay and WeekDayCheck, on a line as "date" prints it.
int hourFromDateLine(const char* line);
int weekDayFromDateLine(const char* line);
int isWorkingTime(int weekDay, int hour);

// Replaces the processor clock read by CPUTime (null restores the standard one), so the
// wrap-around correction can be exercised.
using ProcessorClock = std::clock_t (*)();
void setProcessorClock(ProcessorClock reader);

// Other
char* getCurrentHostName();
const char* getArch();
void printenv(const char* name);
void StartupMessage(int argc, char** argv);
// True when the calls nested below the outermost caller seen so far take more than the given
// percentage of the process stack. Recursion in the command language (procedures, command files,
// function calls) has no depth limit of its own and stops through this test before the stack
// runs out.
bool stackNearlyExhausted(int percent);

// Output directory and pause points
// The value of "OutputDir" ending in "/" (the home directory for "HOME"); valid until the next
// call.
const char* getOutputDir();
const char* getDoneDir();
// Pauses while the control files ask for it.
void checkInterrupt();
// The pause between two looks at the control files and the working-time test can be replaced,
// so that the pauses can be exercised without waiting; null restores the standard one.
using InterruptSleep = void (*)(unsigned seconds);
using WorkingTimeTest = int (*)();
void setInterruptServices(InterruptSleep sleeper, WorkingTimeTest workingTime);
// The control files looked at; null restores "/tmp/tarvik_sleep", "/tmp/tarvik_nice" and
// "/tmp/tarvik_stop" (the stop file, read by the generic standard-model search at its start).
void setControlFiles(const char* sleepFile, const char* niceFile, const char* stopFile = nullptr);
const char* getStopFile();
