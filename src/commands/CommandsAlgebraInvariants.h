// The commands that look for invariants beyond the simple-current ones: extensions of the chiral
// algebra by integer-spin fields, and the search that runs every generator in turn.
#pragma once

// Hands the commands over.
void installAlgebraInvariantCommands();

int COM_find_all_inv(void** params, int parnum);
int COM_find_ex(void** params, int parnum);
int COM_check_alg(void** params, int parnum);
int COM_find_int(void** params, int parnum);
int COM_check_hom(void** params, int parnum);
