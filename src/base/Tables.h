// Output tables: named tables of columns whose cells come from callbacks. Printing a table walks a
// range of row labels (and optionally a chain of row objects), sizes each column to its widest
// cell, picks for each header a form that fits and writes aligned text to a file or a string.
// The user's choices (hidden columns, adjustment, spacing, header) are kept as preferences in the
// defaults database under keys that begin with "Table:".
#pragma once

#include <cstdio>

// Writes the cell of row object row and label lbl at txt and returns the end of what it wrote;
// null drops the row. There is room for 65,536 characters, or twice the column's allocated width
// or the longest cell made so far when that is more.
using COL_CONT = char* (*)(char* txt, void* row, int lbl);
// 1 when the column takes part in a print whose first row object is extra.
using COL_INIT = int (*)(void* extra);
// The row object after item, or null to end the table.
using NEXT_ITEM = void* (*)(void* item);

struct ColumnData {
    char* name;        // the header
    char* description; // listed by "table info"; the row object of a dynamical column
    char** alt_hdrs;   // shorter headers, in order, ended by null
    int printPref;     // 0 when the user hid the column
    int colAvailable;  // set at each print
    int allocwidth;    // the width the column is expected to need
    int width;         // set at each print: widest cell plus one
    int space;         // blanks towards the neighbour
    int dynamical;
    char adjust; // 'L' or 'R'
    COL_CONT content;
    COL_INIT init;
};

struct TableData {
    TableData* next;
    char* name;
    ColumnData** cols; // print order, ended by null
    NEXT_ITEM increm;
    int maxcols; // capacity of cols, end mark included
    int headerReq;
};

TableData* initTable(const char* name);
// The text is split at '|': the header, then the shorter alternatives in order.
ColumnData* makeColumn(const char* name, const char* description, int allocwidth, COL_CONT content,
                       COL_INIT init);
void addColumn(const char* tablename, ColumnData* col);
void addIncrem(const char* name, NEXT_ITEM function);

// Exact name, no message.
TableData* findTable(const char* name);
// Exact name, else the one table that the name abbreviates (case ignored); reports otherwise.
TableData* getTable(const char* name);
ColumnData* findColumn(TableData* td, const char* name);
TableData* findTableN(int lbl);
TableData* nextTable(TableData* td);
// Back to the state the process starts with: no tables, and no text of a last table.
void resetTableState();

// Intermediate text of rows min .. max-1: per row, per column taking part, a tab, the cell's
// length in three digits and the cell; then a newline. A cell of 1,000 characters or more has the
// head tab, '+', its length and ';'. seq 0 starts a print, any other value continues the last one
// with the same columns and widths. The text stays valid until the next table is made.
char* makeTable(const char* name, int min, int max, int* hdr, int seq, void* extra);
// seq 2 prints the text of the last call again (to a second stream) without asking any cell.
void printTable(const char* name, int min, int max, int hdr, int seq, void* extra, FILE* out);
// The same output as one string in a reused buffer, valid until the next call.
char* sprintTable(const char* name, int min, int max, int hdr, int seq, void* extra);

int getHeader(const char* table);
int setHeader(const char* table, int value);
// These return -1 on success and 1 on failure.
int setSpace(const char* table, const char* column, int space);
int setAdjust(const char* table, const char* column, char adjust);
int setPrintPref(const char* table, const char* column, int value);
int getPrintPref(const char* table, const char* column);
int setPrintPrefs(const char* table, const char* column, int value);

// Preferences in the defaults database.
void TableDefaults();
void setTableDefaults(TableData* td);
void getTableDefault(const char* name, const char* value);

// The tables about tables: "TableInfo" (the columns of the table given as row object) and
// "Table_of_tables" (all tables).
void TableInfo();
void TableTable();

char* getNameString(char* txt, void* row, int lbl);
char* getColsString(char* txt, void* row, int lbl);
char* getHeaderString(char* txt, void* row, int lbl);
char* getColNameString(char* txt, void* row, int lbl);
char* getColAbbrevString(char* txt, void* row, int lbl);
char* getDescString(char* txt, void* row, int lbl);
char* getPPString(char* txt, void* row, int lbl);
char* getBlankSpaceString(char* txt, void* row, int lbl);
char* getAdjustmentString(char* txt, void* row, int lbl);

// The steps of making and printing, on the columns of the last print.
void initColumns(TableData* td, void* extra);
int computeMaxLine();
char* sprintc(char* out, char c);
char* sprintColumn(ColumnData* cd, int len, int col_nr, const char* txt, char* out);
int printColumn(ColumnData* cd, int len, int col_nr, const char* txt, FILE* out);
void printHeader(FILE* out);
// Makes the header line in the module's header buffer and points *out at it.
void sprintHeader(char** out);
