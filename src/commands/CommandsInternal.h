// What the files of the command set share among themselves.
#pragma once

#include "commands/Commands.h"

namespace commands {

// Parameter pointers; null until the parameter is looked up. A later "set" takes effect at once.
extern int* maxrank;
extern int* DoublePrecision;
extern int* super;
extern int* AutoStore;
extern int* RemoveId;
extern int* TerminalInput;
extern int* ZNX;
extern int* MaxConf;
extern int* NF;
extern int* SM;
extern BulkInvariant** CurrentBulkPointer;

// 1 when the current extension is supersymmetric.
extern int Susic;

// The current theory as far as it has been handed over.
int cosetSwitch();
int totalPrimaries();
int totalCurrents();
const StoreServices& store();
const TensorServices& tensor();
const ModularServices& modular();
const BoundaryServices& boundary();

// Switches a mode that may not have been made yet.
void setMode(ModeType* mode, int on);

} // namespace commands
