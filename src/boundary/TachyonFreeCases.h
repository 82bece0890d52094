// The record of tachyon-free cases: one line per case in the ".cases" file of the current
// extension, written by the tachyon callback that the tachyon checks install.
#pragma once

// The printer of a tachyon-free model's description (mode 0 oriented, 1 the current orientifold),
// installed by the string layer; until then no description is written.
using TACHYON_FREE_PRINTER = void (*)(int mode);
void setTachyonFreeModelPrinter(TACHYON_FREE_PRINTER printer);

// Mode -1 (start) and 2 (end): 0. Mode 0 (the oriented theory is tachyon-free) and 1 (the
// current orientifold is): appends the case to the ".cases" file, hands the mode to the model
// printer and returns 1.
int registerTachyonFreeCase(int mode);
