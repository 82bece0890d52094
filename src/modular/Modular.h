// The current theory's name, central charge and spectrum table, for the commands that show them.
// Only the single-block side is here so far; while a tensor product is current they give neutral
// answers.
#pragma once

#include <cstdio>

// The name of the current theory; "" when none is current.
char* getCFTname();
// The central charge of the current theory; 0 when none is current.
double Central_Charge();

// Rows min .. max-1 of the current theory's spectrum table, to the terminal when its output is
// on and to the output file when one is open; the header only when first is 0.
void printSpectrum(int min, int max, int first);
// The same rows once to ofp, without header.
void MOD_printSpectrum(int min, int max, FILE* ofp);
