// The defaults database: named texts that outlive the run, read at start-up from the defaults
// file below the home directory and written back whole by "save preferences".
#pragma once

struct BS_default {
    BS_default* next;
    char* name;
    char* value;   // null only for an entry made by a lookup that found nothing
    int valueSize; // bytes held by value, so a longer text can grow it in place
};
using DefaultType = BS_default;

// One built-in pair; tables of them end with a null name.
struct BS_defaults {
    const char* name;
    const char* value;
};

using DEF_SET = void (*)();

void registerDefaults(const char* owner, const BS_defaults* DV, DEF_SET setDef);
void setDefaultFile(const char* owner);
const char* getDefaultFile();

DefaultType* setDefault(const char* name, const char* value);
void changeDefault(DefaultType* sd, const char* value);
DefaultType* findDefaultPointer(const char* name);
DefaultType* getDefaultPointer(const char* name);
char* getDefaultValue(const char* name);
const char* getDefault(const char* name);
void setDefaults(const BS_defaults* DV);

void savePreferences();
void writeDefaults();
void printDefaults();
// "status preferences": the table "Preferences" over the first 1,000 entries, with header, on
// standard output.
void displayDefaults();

char* getDefaultNameString(char* txt, DefaultType* df, int lbl);
char* getDefaultValueString(char* txt, DefaultType* df, int lbl);

void getTableDefaults();
DefaultType* getFirstDefault();
DefaultType* nextDefault(DefaultType* df);

// The value a switch pointer points to; 0 for a null pointer.
int getValue(const int* parameter);

// The output tables store and read their preferences through these two, which they register
// when they are set up.
using TABLE_DEF_STORE = void (*)();
using TABLE_DEF_READ = void (*)(const char* name, const char* value);
void setTablePreferenceHandlers(TABLE_DEF_STORE store, TABLE_DEF_READ read);

// Back to the state the process starts with: no entries, no file, no conversion and no table
// handlers. Parameters kept in the database die with it, so they are reset along with this.
void resetDefaultState();
