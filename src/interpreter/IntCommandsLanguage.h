// The built-in commands of the expression language: evaluating and printing expressions, the
// value of a procedure, global variables, macros, procedures and their removal.
#pragma once

#include <string>
#include <vector>

struct MathObj;

int COM_eval(void** commands, int parnum);
int COM_float(void** commands, int parnum);
int COM_print(void** commands, int parnum);
int COM_exec(void** commands, int parnum);
int COM_return(void** commands, int parnum);
int COM_extract(void** commands, int parnum);
int COM_global(void** commands, int parnum);
int COM_alias(void** commands, int parnum);
int COM_unalias(void** commands, int parnum);
int COM_proc(void** commands, int parnum);
int COM_free_macro(void** commands, int parnum);
int COM_free_proc(void** commands, int parnum);
int COM_free_glob(void** commands, int parnum);
int COM_free_loc(void** commands, int parnum);
int COM_free_var(void** commands, int parnum);
int COM_free_all(void** commands, int parnum);
int COM_showAliases(void** commands, int parnum);

// Splits a procedure header: the header is cut at its "(" so that it keeps the name; the
// parameter names go to variables (in order) and field gets the parameter text ("[a][b](c)").
int processFunctionHeader(char* header, std::vector<std::string>& variables, std::string& field);
// The body with every word that names a parameter replaced by "%" and the parameter's index.
std::string replaceVarsbyDummies(const char* string, const std::vector<std::string>& variables);
// The value of an expression turned into text, quote marks and escapes removed.
MathObj* evaluate_string_to_string(const char* expression);
