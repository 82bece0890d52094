#include "interpreter/IntCommandsStatus.h"

#include "base/Allocation.h"
#include "base/Error.h"
#include "base/Output.h"
#include "base/Tables.h"

#include <cstdio>

namespace {

const char* word(void** commands, int i) {
    return static_cast<const char*>(commands[i]);
}

// The setters report their own failures; a negative code is success.
int setterResult(int rc, int parnum) {
    return rc >= 0 ? rc : -parnum;
}

void printCounterLine(const AllocCount* cnt) {
    if (cnt->TotalAlloc != 0)
        Print("%s allocation %u Bytes\n", cnt->txt, static_cast<unsigned>(cnt->TotalAlloc));
}

} // namespace

int COM_table_list(void**, int parnum) {
    int count = 0;
    while (findTableN(count))
        ++count;
    printTable("Table_of_tables", 0, count, 1, 0, findTableN(0), stdout);
    return -parnum;
}

int COM_table_info(void** commands, int parnum) {
    const char* name = word(commands, 0);
    TableData* td = getTable(name);
    if (!td) {
        Alert("COM_table_info", 0, 100302, "Table %s not found", name);
        return 1;
    }
    int columns = 0;
    while (td->cols[columns])
        ++columns;
    printTable("TableInfo", 0, columns, 1, 0, td, stdout);
    return -parnum;
}

int COM_table_header(void** commands, int parnum) {
    int rc = setHeader(word(commands, 0), 1);
    return rc != 0 ? rc : -parnum;
}

int COM_table_noheader(void** commands, int parnum) {
    int rc = setHeader(word(commands, 0), 0);
    return rc != 0 ? rc : -parnum;
}

int COM_table_suppress(void** commands, int parnum) {
    return setterResult(setPrintPref(word(commands, 0), word(commands, 1), 0), parnum);
}

int COM_table_restore(void** commands, int parnum) {
    return setterResult(setPrintPref(word(commands, 0), word(commands, 1), 1), parnum);
}

int COM_table_left(void** commands, int parnum) {
    return setterResult(setAdjust(word(commands, 0), word(commands, 1), 'L'), parnum);
}

int COM_table_right(void** commands, int parnum) {
    return setterResult(setAdjust(word(commands, 0), word(commands, 1), 'R'), parnum);
}

int COM_table_space(void** commands, int parnum) {
    int space = *static_cast<int*>(commands[2]);
    return setterResult(setSpace(word(commands, 0), word(commands, 1), space), parnum);
}

int COM_showMemory(void**, int parnum) {
    MemoryStatistics(0);
    return -parnum;
}

int COM_showMemoryDetail(void**, int parnum) {
    MemoryStatistics(1);
    return -parnum;
}

int COM_showMemoryMore(void**, int parnum) {
    MemoryStatistics(2);
    return -parnum;
}

std::size_t getMemoryStatistics() {
    std::size_t total = 0;
    for (MemStats* ms = getFirstMS(); ms; ms = ms->next)
        total += ms->stat->TotalAlloc;
    return total;
}

void MemoryStatistics(int level) {
    if (level > 0) {
        for (MemStats* ms = getFirstMS(); ms; ms = ms->next) {
            printCounterLine(ms->stat);
            if (level == 2 && ms->stat->extra)
                ms->stat->extra();
        }
    }
    Print("Total allocation: %zu Bytes\n", getMemoryStatistics());
}
