// Branching tables of the covariant lattice and the space-time reading of fields.
#pragma once

// Cells of the table "Lorentz".
char* BR_getNotationString(char* txt, void* row, int lbl);
char* BR_getInterpretationString(char* txt, void* row, int lbl);
char* BR_getDOFString(char* txt, void* row, int lbl);
