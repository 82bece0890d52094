// The commands of the open-string labels: counts and displays of the Ishibashi and boundary
// labels and their orbits, the completeness check, reflection coefficients, the oriented annulus
// read as NIM-representation and boundary fusion, and the resets of the bulk invariant, the
// orientifold and the boundary search. They run under the Boundary mode's open-string hooks, which
// build the labels.
#pragma once

// Hands the commands over.
void installBoundaryCommands();

int COM_tot_ishi(void** commands, int parnum);
int COM_tot_bnd(void** commands, int parnum);
int COM_reset_bound(void** commands, int parnum);
int COM_reset_open(void** commands, int parnum);
int COM_check_complete(void** commands, int parnum);
int COM_browse_bulk(void** commands, int parnum);
int COM_browse_bound_det(void** commands, int parnum);
int COM_browse_bound(void** commands, int parnum);
int COM_reset_crosscap(void** commands, int parnum);
int COM_reflection(void** commands, int parnum);
int COM_check_reflection(void** commands, int parnum);
int COM_browse_Ishibashi_orbit(void** commands, int parnum);
int COM_browse_boundary_orbit(void** commands, int parnum);
int COM_check_open_oriented(void** commands, int parnum);
int COM_bfus(void** commands, int parnum);
int COM_NIMrep(void** commands, int parnum);
int COM_check_nimfus(void** commands, int parnum);
