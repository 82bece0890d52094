// The application's start-up: the one-time set-up of every subsystem in its fixed order, the named
// work areas, the output tables, the application parameters and the defaults of the defaults
// file.
#pragma once

#include "base/Defaults.h"

struct SpectrumData;

#include <cstddef>
#include <cstdio>

// ---- Start-up ----

double getTarvikVersionNumber();
// Brings every subsystem up in its fixed order; a second call does nothing.
void initializeAll();

extern const BS_defaults TarvikDefaults[];
extern char tarvik_pathname[1024];
extern int MAXLEVEL;

void initializeMemory();
void initializeDefaults();
void initializePrintPrefs();
// Run by the defaults file just before it writes the preferences.
void convertPreferences();

// ---- Application-wide services ----

int checkFieldLimits(int lbl);

std::size_t TarvikAllocation(int level);
void writeSpectrum(FILE* ofp, char* txt, SpectrumData* sd, int cosetSwitch);
