// The Modular-mode commands on S, fusion and simple currents of the current theory.
#pragma once

// Hands the commands over and installs the facade's hooks for a newly computed theory.
void installModularCommands();

// "check orbits": the algebraic simple-current action against fusion.
int COM_check_orb(void** params, int parnum);
// "check conjugates": the conjugates of the current theory against those S^2 gives.
int COM_check_conj(void** params, int parnum);
