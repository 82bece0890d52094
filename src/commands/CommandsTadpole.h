// The commands of the tadpole conditions.
#pragma once

void installTadpoleCommands();
// Bounds and kernel of the tadpole system.
void installTadpoleBoundCommands();
// One line saying what a tadpole solver's result code means.
void manageDiophantineCode(int rc);
// The commands that solve the tadpole conditions.
void installTadpoleSolveCommands();
