// The commands of the tadpole conditions.
#pragma once

#include "commands/CommandsInternal.h"

void installTadpoleCommands();
// Bounds and kernel of the tadpole system.
void installTadpoleBoundCommands();
// One line saying what a tadpole solver's result code means.
void manageDiophantineCode(int rc);

// "Tadpole remove_identical" is off while a check runs and has its old value again on every path.
class IdenticalBoundariesKept {
public:
    IdenticalBoundariesKept() : saved(*commands::RemoveId) { *commands::RemoveId = 0; }
    ~IdenticalBoundariesKept() { *commands::RemoveId = saved; }
    IdenticalBoundariesKept(const IdenticalBoundariesKept&) = delete;
    IdenticalBoundariesKept& operator=(const IdenticalBoundariesKept&) = delete;

private:
    int saved;
};
