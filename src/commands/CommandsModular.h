// The Modular-mode commands on S, fusion and simple currents of the current theory.
#pragma once

// Hands the commands over and installs the facade's hooks for a newly computed theory.
void installModularCommands();
