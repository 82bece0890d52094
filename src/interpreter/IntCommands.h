// The commands every run has, whatever the application: parameters and their "set" and "show"
// commands, the standard argument types, and the registration of all built-in commands.
#pragma once

#include "base/Parameters.h"
#include "interpreter/Interpreter.h"

#include <cstdio>

// Registers the built-in commands, argument types, tables and interpreter switches; runs once.
void initializeGeneralCommands();
// Back to the state the process starts with, so that the next initializeGeneralCommands registers
// everything again; what it registered is reset by the modules that keep it.
void resetGeneralCommands();

// Declares a named parameter with its "set" and "show" commands. datatype "switch" makes a
// switch, another registered type an integer, null a text kept in the defaults database.
InternalParameter* addParameter(const char* name, const char* value, const char* datatype,
                                const char* text, int addToDefaults);

// ---- The standard argument types ----

ConversionResult* CONV_ExpressionToInt(void* Expression, int count);
ConversionResult* CONV_ExpressionToNat(void* Expression, int count);
ConversionResult* CONV_ExpressionToNat0(void* Expression, int count);
ConversionResult* CONV_ExpressionToSign(void* Expression, int count);
ConversionResult* CONV_Switch(void* Expression, int count);

// ---- Parameter commands ----

int COM_set_switch(void** commands, int parnum);
int COM_set_value(void** commands, int parnum);
int COM_set_string(void** commands, int parnum);
int COM_show_inpar(void** commands, int parnum);
// "status parameters"
int COM_show_inpars(void** commands, int parnum);
// "status preferences"
int COM_show_defaults(void** commands, int parnum);
// "show default_file"
int COM_show_def_file(void** commands, int parnum);
// "save preferences"
int COM_save_prefs(void** commands, int parnum);
// "background"
int COM_set_background(void** commands, int parnum);
// "set enable_sub", "set disable_sub"
int COM_enable_sub(void** commands, int parnum);
int COM_disable_sub(void** commands, int parnum);
// "browse datatypes"
int COM_browse_types(void** commands, int parnum);

void HLP_enable_sub();
void HLP_undefine();

// Prints a parameter's value as "show" does, without the newline.
void display_inpar(InternalParameter* ip);
// The table "DataTypes": on standard output while terminal output is on, and also to out when it
// is given and is not standard output.
void displayDataTypes(FILE* out);
