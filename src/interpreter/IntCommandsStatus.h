// The built-in commands that show and shape the output tables and show the memory charged to the
// allocation counters. Each handler takes the command's words (params[i] is the word of argument
// i, or a pointer to its int value for a converted argument) and returns minus the number of
// arguments used, or a positive error code.
#pragma once

#include <cstddef>

// "table list"
int COM_table_list(void** commands, int parnum);
// "table info" [table]
int COM_table_info(void** commands, int parnum);
// "table header" [table], "table noheader" [table]
int COM_table_header(void** commands, int parnum);
int COM_table_noheader(void** commands, int parnum);
// "table suppress", "table restore", "table left_adjust", "table right_adjust": [table][column]
int COM_table_suppress(void** commands, int parnum);
int COM_table_restore(void** commands, int parnum);
int COM_table_left(void** commands, int parnum);
int COM_table_right(void** commands, int parnum);
// "table set_space" [table][column][pos_int s]
int COM_table_space(void** commands, int parnum);

// "status memory", "status memory detail", "status memory more_detail"
int COM_showMemory(void** commands, int parnum);
int COM_showMemoryDetail(void** commands, int parnum);
int COM_showMemoryMore(void** commands, int parnum);

// The sum of the totals of all registered counters.
std::size_t getMemoryStatistics();
// Level 0 or below: the total line; 1 and 3 or above: also a line per counter in use; 2: also
// the display callback of every counter that has one.
void MemoryStatistics(int level);
