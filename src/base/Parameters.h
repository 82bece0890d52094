// Named parameters: switches, integers and strings whose live values modules read through a
// pointer obtained once by name, so that a change takes effect everywhere at once.
#pragma once

#include "base/Defaults.h"

// Run after each change of a parameter's value (caches that depend on it are dropped this way).
using DFACT = void (*)();

struct InternalParameter {
    InternalParameter* next;
    char* name;
    char type;       // 't' switch, 'i' integer, 's' string
    DefaultType* DF; // the saved text; a string's text lives only there
    DFACT default_action;
    int value;
    int default_exists;
};

InternalParameter* addInternalParameter(const char* name, const char* value, char datatype,
                                        int addToDefaults);
void getIntParDefaults();
void* getIntParPointer(const char* name);
void setIntPar(const char* name, int value);
void set_switch(InternalParameter* ip, int value);
void set_value(InternalParameter* ip, int value);
void addDefaultAction(const char* name, DFACT action);
InternalParameter* findInternalParameter(const char* name);
InternalParameter* getInternalParameter(const char* name);
InternalParameter* FirstParameter();
InternalParameter* nextParameter(InternalParameter* ip);
// Back to the state the process starts with: no parameters. Pointers to their values die with
// them, so the modules bound to them are reset along with this.
void resetParameterState();

// Cell texts of the table "Parameters"; each returns the end of what it wrote.
char* getParameterNameString(char* txt, InternalParameter* ip, int lbl);
char* getParameterValueString(char* txt, InternalParameter* ip, int lbl);
char* getParameterDefaultString(char* txt, InternalParameter* ip, int lbl);
