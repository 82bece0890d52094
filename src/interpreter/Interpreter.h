// The command interpreter: the tree of command words with their modes and argument types, the
// matching and execution of command blocks, command lines and command files, and the listings
// and help texts built from the tree.
#pragma once

#include <cstdio>
#include <string>

// ---- Data model ----

// The outcome of converting one argument word.
struct ConversionResult {
    int rc;    // 0 a single value, -1 a range, above 0 an error code
    int value; // the value, or the first value of a range
    int max;   // the last value of a range, included
};

using CONV = ConversionResult* (*)(void* word, int index);
// A handler: a positive error code, or minus the number of arguments it used.
using COM = int (*)(void** params, int parnum);
using PRECOM = int (*)();
using POSTCOM = void (*)();
using HLP = void (*)();

struct ConversionMethod {
    char type; // 'i' converted to an int, 'c' passed on as the word
    char* description;
    CONV conversion; // null for the string type
};

// A named argument type; the list runs newest first.
struct Conversion {
    Conversion* next;
    char* name;
    ConversionMethod* conv;
};

struct ModeType {
    int enabled;
    char* message; // shown when a command of the disabled mode is refused
    HLP function;  // run when such a command is typed; may enable the mode
};

// One word of the command tree. Each level is a binary search tree ordered by strcmp: words
// that sort after this one lie on `left`, words that sort before it on `right`.
struct CommandType {
    CommandType* left;
    CommandType* right;
    CommandType* keywords;
    ConversionMethod** conversions; // ConversionCount entries; an entry is null for an unknown type
    int parMin;
    int parMax; // 2147483647 for a repeated last parameter
    int ConversionCount;
    ModeType* mode;
    int enabled;
    int internal; // 1 hidden from the column listing, 2 removed
    int allowSubstitution;
    char* command; // lower case
    char* parms;
    char* help; // laid out
    PRECOM pre_exec;
    COM exec;
    POSTCOM post_exec;
    HLP helpexec;
    void* FunctionInfo; // handed to the handler just before its first parameter
};

// An entry of the lists of macros, procedures and variables.
struct AliasType {
    AliasType* next;
    char* alias;
    char* replacement;
    AliasType* variabletree;
};

// One command line being executed. Line <= beginBlock <= nextBlock <= nextLine; every word entry
// points into Line just after a terminator (or at beginBlock) until it is converted.
struct CommandLine {
    int LineSize;    // bytes available in Line
    int CommandSize; // slots in Commands and in each value array
    char* Line;
    char* beginBlock;
    char* nextLine; // the terminator of the text
    char* nextBlock;
    int* Conversions;
    int* Maxima;
    int* Loop;
    void** Commands; // the words of the current block, ended by null
};

// The data of a range run. `converted` marks the argument positions that take part in it.
struct CommandLoopData {
    CommandLine* comline;
    int keycnt;
    int rc;
    COM exec;
    const unsigned char* converted;
};

// The interpreter's own result codes.
inline constexpr int LineFeedInLine = 9995;
inline constexpr int BlockSkippedByBreak = 9996;
inline constexpr int EmptyBlock = 9997;
inline constexpr int NotExecutable = 9998;
inline constexpr int NoCommandMatches = 9999;

// ---- Registration ----

CommandType* initCommand(const char* command, const char* parms, COM exec, const char* help);
void addExec(CommandType* sd, const char* parms, COM exec, const char* help);
CommandType* addCommand(const char* command, CommandType* sd, const char* parms, COM exec,
                        const char* help);
void initializeCommand(const char* command, CommandType** start, const char* parms, COM exec,
                       const char* help);
// The array must have room for one entry per bracket group of parms.
int readConversions(const char* parms, ConversionMethod** conversions);

void enableCommand(const char* command);
void disableCommand(const char* command);
void makeInternal(const char* command);
void addHelp(const char* command, HLP hlp);
void addFunctionInfo(const char* command, void* info);
void enableSubstitution(CommandType* ct);
void disableSubstitution(CommandType* ct);
void applyToTree(CommandType* ct, void (*fcn)(CommandType*));
void applyToComKey(CommandType* ct, void (*fcn)(CommandType*));
void removeCommand(const char* name);
void removeAllCommands(AliasType** sd);

CommandType* getRootCommand();
int getMaxCommandSize();

// Back to the state the process starts with: no commands, modes or types, no command lines or
// file being run, no macros, procedures or variables. What was handed out of them dies with it.
void resetInterpreterState();

// ---- Modes ----

void makeDefaultMode();
ModeType* makeMode(const char* message);
void addModeFunction(ModeType* Mode, HLP fcn);
void switchMode(ModeType* mode, int toggle);
void setCurrentMode(ModeType* mode);
ModeType* getDefaultMode();
void setCurrentPreCommand(PRECOM exec);
void setCurrentPostCommand(POSTCOM exec);

// ---- Argument types ----

ConversionMethod* makeConversionMethod(CONV conversion, char type, const char* description);
ConversionMethod* getConversion(const char* name, ConversionMethod* conv);
Conversion* findConversion(const char* name);
Conversion* getFirstConversion();
Conversion* nextConversion(Conversion* sd);
// 0 and the value, 1 for a text that is no number, 2 for a number out of range.
int convertToInteger(const char* expression, int* value);
int convertToDouble(const char* expression, double* value);
// Writes at most maxlen characters of the value's text at txt; returns the position after it.
char* convertToString(const char* expression, char* txt, int maxlen);
// The cell of a user-defined table column: the expression with "#" standing for the row label.
char* getExtraColumn(char* txt, void* expression, int lbl);

// ---- Matching and execution ----

int executeCommandBlock(CommandLine* cl, int AutoCnt, int MinKeyCnt);
CommandType* interpretCommand(void** commands, int* parcnt, int* keycnt);
CommandType* interpretComKey(void** commands, int* keycnt);
CommandType* findCommand(const char* command, CommandType* start);
CommandType* matchCommand(const char* command, CommandType* start);
CommandType* matchComKey(const char* command);
CommandType* findComKey(void** commands, char* commands2, int* keycnt);
void shiftCommand(void** commands, int to, int from);
int CommandLoop(int parnum, int* loop, void* data);
// The node that stands for a word abbreviating several words.
CommandType* getAmbiguous();

int COM_break(void** commands, int parnum);
int lowerBreakParameter(int rc, int parnum);
int COM_debug_level(void** commands, int parnum);
int COM_debug_off(void** commands, int parnum);
int COM_debug_alloc_on(void** commands, int parnum);
int COM_debug_alloc_off(void** commands, int parnum);

int getBreakParameter();
void setBreakParameter(int value);
int getErrorCount();
int getExFunc();
void setExFunc(int value);
void** getBASE();

// ---- Command lines and files ----

int composeCommandLine(const char* line);
int buildCommandLine(const char* line, CommandLine* base);
int analyseCommandLine(CommandLine* cl);
int analyseEvaluationLine(CommandLine* base);
int executeCommandLine(const char* line);
// Returns 1 when the file could not be read (no line then runs), else 0.
int executeCommandFile(const char* filename, int inter);
int readCommandFile(FILE* ifp, int inter);
void printErrorInfo();

CommandLine* allocLine(CommandLine* cl, int addlen);
CommandLine* newCommandLine();
CommandLine* findAvailableCommandLine();
void freeCommandLine(CommandLine* cl);
void resetLine(CommandLine* cl);
void reallocCommands(CommandLine* cl);

void getNextBlock(CommandLine* cl);
void resetNextBlock(CommandLine* cl);
void unbracket(CommandLine* cl);
void chopLine(CommandLine* cl);
int chop(char* line, char** commands);
void restoreString(CommandLine* cl);
void stripComment(char* comment, CommandLine* cl);

void checkCommandLine(const char* st, CommandLine* cl);
void printFullCommandLine(CommandLine* cl);
void printAllInterpretedCommands(void** commands);
long showCommandLinesUsed(int level);

// ---- Macros, variables, procedures and command functions ----

struct MathObj;

// Sets the entry of that name in the list at *start (a new one goes in front); returns it.
AliasType* setAlias(const char* text, const char* replacement, AliasType** start);
// 0 when the entry was removed; 1 (reported) when there is none of that name.
int unsetAlias(const char* alias, AliasType** start);
void freeVariables(AliasType** sd);
// ExactMatch 1: the entry of that name; otherwise the first whose name begins with alias.
AliasType* findAlias(const char* alias, AliasType* sd, int ExactMatch);
const char* findReplacement(const char* variable, AliasType* start);
const char* findLocalReplacement(const char* variable);
const char* findGlobalReplacement(const char* variable);
void replaceText(AliasType* sd, const char* replacement);
// 1 when the macro would bring its own name back, directly or through other macros.
int checkNewAlias(const char* alias, const char* replacement, AliasType* sd);
// Sets a variable of the current procedure level: 0, or 1 (reported) for a refused name.
int defineVariable(const char* name, const char* replacement);
void showAllAliases();

// The list heads: macros, procedures, global variables and the local variables of a level.
AliasType** getMacroList();
AliasType** getProcedureList();
AliasType** getGlobalVariableList();
AliasType** getLocalVariableList(int level);
int getFunctionDepth();
int getMaxDepth();
// Makes the array of local-variable lists (the work area "LocalVarRoots").
void initializeLocalVariables();

// Macro substitution in the current block; the number of substitutions made.
int substituteDefinitions(CommandLine* cl);
int substitute(const char* alias, const char* replacement, CommandLine* cl);
// Replaces len characters at offset pos of the line; returns the offset of the inserted text.
int substitute_string(int len, const char* replacement, int pos, CommandLine* cl);
void setVariables(void** commands, int parnum, AliasType* sd);
void setLocalVariables(void** commands, int parnum);
void setGlobalVariables(void** commands, int parnum);

// The handler of every procedure command.
int execute_procedure(void** commands, int parnum);
// The text with "%n" replaced by values[n] (values end with null); valid until the next call.
char* replaceDummiesbyValues(const char* string, char** values);
// Runs the command given by a chain of texts; its printed output (or an error) is the value.
MathObj* execute_function(MathObj* stack);
int analyseFunctionCommandLine(CommandLine* cl);
void makeCommandLine(CommandLine* fct, MathObj* stack);
// 0 TRUE, 1 FALSE, -1 (reported) for a value that is no boolean.
int checkConditionalExpression(const char* expression);
// Connects the evaluator to the variable lists and to the function calls.
void installEvaluatorHooks();

// Output capture set aside, so that a call can capture, or print, on its own; resumeCapture
// brings back the depth and the text captured before.
struct CaptureState {
    int depth = 0;
    std::string text;
};
CaptureState suspendCapture();
void resumeCapture(const CaptureState& saved);

// ---- Command-word completion ----

// The line editor's completion of the word under the cursor (text) from the command tree; the
// line is read from the editor's buffer. A list ended by null, on the process heap and freed by
// the editor: the text that replaces the word, then the alternatives; null for nothing to offer.
char** commandCompletion(const char* text, int start, int end);
// Appends a copy of every word of the level that begins with the list's first entry, ignoring
// case, in ascending order; count is the number of words in the list after the first entry.
void collectCompletions(CommandType* start, char*** matches, int* count);
// Counts the words of the level that com abbreviates; lastMatch is the last of them.
void findAllMatches(CommandType* start, CommandType** lastMatch, const char* com, int* count);

// ---- Help texts and listings ----

int COM_commands(void** commands, int parnum);
int COM_commands_all(void** commands, int parnum);
int COM_commands_detail(void** commands, int parnum);
int COM_commands_tex(void** commands, int parnum);
int COM_find(void** commands, int parnum);
int COM_apropos(void** commands, int parnum);
void printComCol(CommandType* start);
void printColumns(int init, CommandType* start);
void countCommands(CommandType* start, int* count, int* maxlen);
void printAllCommands(CommandType* start, int depth);
void printCommands();
void printCommandDetails(CommandType* start, int depth);
void printCommandTex(CommandType* start, int depth, char* fullcommand, char* next);
void CopyToTex(char* s, const char* t);
void findCommandString(CommandType* start, const char* substr, int depth);
void aproposCommandString(CommandType* start, const char* substr, int depth);
void printDescription(const char* input_string, int adjust, const char* desc);
char* getDataTypeString(char* txt, Conversion* sd, int len, int lbl);
char* getTypeDescriptionString(char* txt, Conversion* sd, int len, int lbl);
char* getDataTypeHeader(char* txt);
char* getTypeDescriptionHeader(char* txt);
int getDataTypeWidth();
int getTypeDescriptionWidth();
void HLP_debug();
