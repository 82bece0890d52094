// The commands of exceptional invariants: marking the current invariant exceptional, the choice
// and search of its Klein bottle, the choice of a stored boundary set, and
// the boundary search from collected candidates.
#pragma once

// Hands the commands over.
void installExceptionalCommands();

int COM_make_except(void** commands, int parnum);
int COM_select_klein(void** commands, int parnum);
int COM_select_klein_nr(void** commands, int parnum);
int COM_select_bound(void** commands, int parnum);
int COM_search_Klein(void** commands, int parnum);
int COM_search_Klein_kbc(void** commands, int parnum);
int COM_search_Klein_trace(void** commands, int parnum);
int COM_search_Klein_all(void** commands, int parnum);
int COM_try_bound(void** commands, int parnum);
int COM_assemble(void** commands, int parnum);
