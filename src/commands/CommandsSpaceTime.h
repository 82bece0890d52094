// The commands that explain the space-time reading of superstring theories: the internal
// branching tables, the Lorentz representations of a dimension and the content of supersymmetry
// multiplets, with the printer of one multiplet that the string code shares.
#pragma once

#include "tensor/Branching.h"

// Hands the commands over to the registration and installs the multiplet printer below.
void installSpaceTimeCommands();

// Prints one representation pair of the space-time type (L, R) at dimension dim; the heading
// with both type names comes at depth 3 or less when the pair differs from that of the last
// call. Depth -1 only forgets the last pair.
void displaySusy(int dim, ChiralSusyType* L, ChiralSusyType* R, int rep1, int rep2, int sym,
                 int depth);
// Every multiplet of the space-time type ST, always under a heading.
void printSusyMultiplets(SusyType* ST);

int COM_browse_Lorentz(void** commands, int parnum);
int COM_check_susy(void** commands, int parnum);
int COM_check_branch(void** commands, int parnum);
