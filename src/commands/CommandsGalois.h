// The Modular-mode commands on the Galois symmetry of the current building block.
#pragma once

void installGaloisCommands();
