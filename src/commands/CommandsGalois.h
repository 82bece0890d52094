// The Modular-mode commands on the Galois symmetry of the current building block.
#pragma once

void installGaloisCommands();

// "compute galois_orbits", "compute scale_orbits", "search galois_invariants": refused while a
// tensor product is current.
int COM_compute_galois(void** params, int parnum);
int COM_compute_scale(void** params, int parnum);
int COM_compute_galoisinvariants(void** params, int parnum);
