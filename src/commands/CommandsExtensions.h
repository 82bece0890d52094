// The simple-current extensions of the current theory: their list, the choice of one for the
// tensor product, and the basis of a group of currents.
#pragma once

// Hands the commands over.
void installExtensionCommands();

int COM_collect_extensions(void** params, int parnum);
int COM_tot_ext(void** params, int parnum);
int COM_findBasis(void** params, int parnum);
int COM_select_extension(void** params, int parnum);
