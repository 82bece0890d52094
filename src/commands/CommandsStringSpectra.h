// The string reading of the current theory as commands: tachyon checks and their record, the
// type-II and heterotic displays, chirality, the tachyon state and the primary selections of
// massless and tachyonic fields.
#pragma once

struct Heterotic;
struct Extension;

// Hands the commands over to the registration and installs the type-II display with the
// tachyon-free model printer.
void installStringSpectrumCommands();

// 0 done, 1 stopped (superstring mode off, no string data, the user stopped).
int BrowseTypeII(int flip, int decomposition);
int BrowseHeterotic(int flip, int decomposition);
void PrintGaugeGroup(Heterotic* H, Extension* ext);
void PrintFreeFactors(int* dim, Extension* ext);
