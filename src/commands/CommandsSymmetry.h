// The commands on the symmetries of the current theory: the exchange of two identical factors of
// a tensor product acting on its fields, the permutations of the simple currents that the
// symmetries induce, and the file that permutations of more than nine factors are read from.
#pragma once

// Hands the commands over to the registration.
void installSymmetryCommands();

int COM_permutate(void** params, int parnum);
int COM_permutations(void** params, int parnum);
int COM_symmetrize(void** params, int parnum);
int COM_custom_perm(void** params, int parnum);
