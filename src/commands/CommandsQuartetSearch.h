// The commands of the quartet standard-model search: "search standard_model" over chosen types
// and "search sm_solution" on one orientifold and one type.
#pragma once

void installQuartetSearchCommands();

int COM_search_sm(void** commands, int parnum);
int COM_search_sm_ori(void** commands, int parnum);
