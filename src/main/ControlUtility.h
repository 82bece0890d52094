// The application's start-up and a few application-wide services: the one-time set-up of every
// subsystem, the current theory's globals, the application parameters and output tables, the
// output directory, the pause points of long scans and the rank limits of the algebra types.
#pragma once

#include "main/Neighbours.h"
#include "runtime/Defaults.h"

#include <cstddef>
#include <cstdio>

// ---- The current theory ----

// 0 while the building block currentSD is the current theory, 1 while the tensor product is.
extern int KMCosetSwitch;
extern SpectrumData* currentSD;
// Points at the Nprimaries field of currentSD.
extern int* TotalPrimaries;
extern int* TotalCurrents;

void setCosetMode(int mode);
// Makes the store's block for (1, 0, 0) current.
void initializeAlgebra();
void setAlgebraView(int type, int rank, int level);
void setCurrentSliders(int curr);

// ---- Start-up ----

double getTarvikVersionNumber();
// Brings every subsystem up in its fixed order; a second call does nothing.
void initializeAll();

extern const BS_defaults TarvikDefaults[];
extern char tarvik_pathname[1024];
extern int MAXLEVEL;

void initializeMemory();
void initializeTables();
void initializeDefaults();
void initializePrintPrefs();
// Run by the defaults file just before it writes the preferences.
void convertPreferences();

// ---- Services ----

// Ends in "/"; valid until the next call.
const char* getOutputDir();
const char* getDoneDir();

// Pauses while the control files ask for it.
void checkInterrupt();
// The pause between two looks at the control files and the working-time test can be replaced,
// so that the pauses can be exercised without waiting; null restores the standard one.
using InterruptSleep = void (*)(unsigned seconds);
using WorkingTimeTest = int (*)();
void setInterruptServices(InterruptSleep sleeper, WorkingTimeTest workingTime);
// The control files looked at; null restores "/tmp/tarvik_sleep" and "/tmp/tarvik_nice".
void setControlFiles(const char* sleepFile, const char* niceFile);

int maxRank(int algebraType);
int minRank(int algebraType);
int algebraType(int type, int rank);
int standardType(int algebraType);
int checkFieldLimits(int lbl);

// The cell of a user-defined column: the expression with "#" standing for the row label.
char* getExtraColumn(char* txt, void* expression, int lbl);
std::size_t TarvikAllocation(int level);
void writeSpectrum(FILE* ofp, char* txt, SpectrumData* sd, int cosetSwitch);
