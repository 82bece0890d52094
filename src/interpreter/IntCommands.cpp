#include "interpreter/IntCommands.h"

#include "base/Defaults.h"
#include "base/Error.h"
#include "base/Memory.h"
#include "base/Output.h"
#include "base/StringUtility.h"
#include "base/Tables.h"
#include "base/Terminal.h"
#include "interpreter/Evaluator.h"
#include "interpreter/IntCommandsControl.h"
#include "interpreter/IntCommandsLanguage.h"
#include "interpreter/IntCommandsStatus.h"
#include "interpreter/TerminalLoop.h"

#include <cstring>
#include <string>

namespace {

bool initialized = false;
ConversionResult conversionResult;
int* interactive = nullptr;

std::string lowerCase(const char* text) {
    std::string s(text);
    for (char& c : s)
        c = static_cast<char>(lower(static_cast<unsigned char>(c)));
    return s;
}

// The parameter that a "set" or "show" command carries just before its first argument.
InternalParameter* parameterOf(void** commands) {
    return static_cast<InternalParameter*>(commands[-1]);
}

int intArgument(void** commands, int i) {
    return *static_cast<int*>(commands[i]);
}

ConversionResult* convertedInteger(void* Expression) {
    conversionResult.value = 0;
    conversionResult.rc =
        convertToInteger(static_cast<const char*>(Expression), &conversionResult.value);
    conversionResult.max = conversionResult.value;
    return &conversionResult;
}

ConversionResult* refused() {
    conversionResult.rc = 1;
    return &conversionResult;
}

void registerType(const char* name, CONV conversion, char type, const char* description) {
    getConversion(name, makeConversionMethod(conversion, type, description));
}

void registerTypes() {
    registerType("int", CONV_ExpressionToInt, 'i', "Integer");
    registerType("pos_int", CONV_ExpressionToNat, 'i', "Positive integer");
    registerType("non_neg_int", CONV_ExpressionToNat0, 'i', "Non-negative integer");
    registerType("sign", CONV_ExpressionToSign, 'i', "Sign (+1 or -1)");
    registerType("switch", CONV_Switch, 'i', "ON or OFF");
    registerType("id", nullptr, 'c', "String");
}

void addTableColumn(const char* table, const char* name, const char* description, int width,
                    COL_CONT content) {
    addColumn(table, makeColumn(name, description, width, content, nullptr));
}

void defineTables() {
    initTable("DataTypes");
    addTableColumn("DataTypes", "Type", "Data type", 40, [](char* txt, void* row, int lbl) {
        return getDataTypeString(txt, static_cast<Conversion*>(row), 0, lbl);
    });
    addTableColumn("DataTypes", "Description", "Description", 80,
                   [](char* txt, void* row, int lbl) {
                       return getTypeDescriptionString(txt, static_cast<Conversion*>(row), 0, lbl);
                   });
    addIncrem("DataTypes",
              [](void* row) -> void* { return nextConversion(static_cast<Conversion*>(row)); });

    initTable("Parameters");
    addTableColumn("Parameters", "Name", "Parameter name", 40, [](char* txt, void* row, int lbl) {
        return getParameterNameString(txt, static_cast<InternalParameter*>(row), lbl);
    });
    addTableColumn("Parameters", "Value", "Parameter value", 20, [](char* txt, void* row, int lbl) {
        return getParameterValueString(txt, static_cast<InternalParameter*>(row), lbl);
    });
    addTableColumn("Parameters", "Default?", "Appears in defaults file?", 20,
                   [](char* txt, void* row, int lbl) {
                       return getParameterDefaultString(txt, static_cast<InternalParameter*>(row),
                                                        lbl);
                   });
    addIncrem("Parameters", [](void* row) -> void* {
        return nextParameter(static_cast<InternalParameter*>(row));
    });

    initTable("Preferences");
    addTableColumn("Preferences", "Name", "Name of default parameter", 40,
                   [](char* txt, void* row, int lbl) {
                       return getDefaultNameString(txt, static_cast<DefaultType*>(row), lbl);
                   });
    addTableColumn("Preferences", "Value", "Current value", 20, [](char* txt, void* row, int lbl) {
        return getDefaultValueString(txt, static_cast<DefaultType*>(row), lbl);
    });
    addIncrem("Preferences",
              [](void* row) -> void* { return nextDefault(static_cast<DefaultType*>(row)); });
}

void createWorkAreas() {
    initializeLocalVariables();
}

void registerHelpCommands() {
    initCommand("verify", "[commandline]", COM_verify,
                "Execute \"commandline\" showing no output, but only errors.");
    initCommand("repeat", "[pos_int count][commandline]", COM_repeat,
                "Execute \"commandline\" \"count\" times.");
    if (CommandType* help = initCommand("help", "(command)(key_1)...(key_n)", COM_help,
                                        "General help or help for commands."))
        applyToComKey(help, disableSubstitution);
    initCommand("commands", "", COM_commands, "List all commands.");
    initCommand("commands all", "", COM_commands_all, "List all commands and keywords.");
    initCommand("commands detail", "", COM_commands_detail,
                "List all commands, keywords and descriptions.");
    initCommand("commands tex", "", COM_commands_tex,
                "List all commands, keywords and descriptions in TeX format.");
    initCommand("find", "[string]", COM_find,
                "List all commands or keywords containing \"string\" as a substring.");
    initCommand("apropos", "[string]", COM_apropos,
                "List all commands or keywords containing \"string\" as a substring\n"
                "    or having \"string\" in the command description.");
}

void registerSetCommands() {
    initCommand("set", "", nullptr, "Set preferences.");
    initCommand("set debug level", "[pos_int level]", COM_debug_level,
                "Set debug level to \"level\" (maximum value 4).");
    initCommand("set debug alloc_trace on", "", COM_debug_alloc_on, "Show all (re-)allocations.");
    initCommand("set debug alloc_trace off", "", COM_debug_alloc_off,
                "Stop showing all (re-)allocations.");
    makeInternal("set debug");
    initCommand("set debug off", "", COM_debug_off, "Switch debug off.");
    initCommand("set enable_sub", "[command](key_1)...(key_n)", COM_enable_sub,
                "Enable automatic substitution for parameters of\n \"command key_1 ... key_n\".");
    initCommand("set disable_sub", "[command](key_1)...(key_n)", COM_disable_sub,
                "Disable automatic substitution for parameters of\n \"command key_1 ... key_n\".");
    initCommand("continue", "", COM_continue, "Do nothing.");
}

void registerFreeCommands() {
    CommandType* free = initCommand("free", "", nullptr, "Remove macros, procedures or variables.");
    initCommand("free macros", "(macro)", COM_free_macro,
                "Remove \"macro\";\n    without parameters: remove all macro definitions.");
    initCommand("free procedures", "(procedure)", COM_free_proc,
                "Remove \"procedure\";\n    without parameters: remove all procedures.");
    initCommand("free global", "(variable)", COM_free_glob,
                "Remove \"variable\" (global);\n    without parameters: remove all global "
                "variables");
    initCommand("free local", "(variable)", COM_free_loc,
                "Remove \"variable\" (local);\n    without parameters: remove all local "
                "variables.");
    initCommand("free variable", "(variable)", COM_free_var,
                "Remove \"variable\" (local and/or global);\n    without parameters: remove all "
                "variables.");
    initCommand("free all", "", COM_free_all, "Remove all macros, procedures and variables.");
    if (free)
        applyToComKey(free, disableSubstitution);
}

void registerRunCommands() {
    initCommand("quit", "", COM_quit, "Exit program.");
    initCommand("file", "(fn)", COM_file, "Output to file; file name = fn.");
    initCommand("file append", "(fn)", COM_file_append, "Append output to file; file name = fn.");
    initCommand("file on", "(fn)", COM_file, "Output to file; file name = fn.");
    initCommand("file off", "", COM_file_off, "Close output file.");
    initCommand("terminal", "", COM_terminal_on,
                "Switch for terminal output\n    (without keyword equivalent to `Terminal On').");
    initCommand("terminal on", "", COM_terminal_on, "Switch output to terminal on.");
    initCommand("terminal off", "", COM_terminal_off, "Switch output to terminal off.");
    initCommand("prompt", "", COM_prompt, "read further input from terminal");
    initCommand("reset errors", "", COM_reseterrors,
                "Restore all error messages previously disabled with \"ignore\".");
    initCommand("system", "[cmd...]", COM_system, "Perform Unix command [cmd...].");
}

void registerStatusCommands() {
    initCommand("status memory", "", COM_showMemory, "Show total memory use.");
    initCommand("status memory detail", "", COM_showMemoryDetail,
                "Show details of memory use for various parts of the program.");
    initCommand("status memory more_detail", "", COM_showMemoryMore,
                "Show memory use for arrays in the program.");
    initCommand("status errors", "", COM_show_Errors, "Show error statistics.");
    initCommand("status definitions", "", COM_showAliases,
                "Show defined macros, variables and procedures.");
    initCommand("status parameters", "", COM_show_inpars, "Show values of internal parameters.");
    initCommand("status preferences", "", COM_show_defaults,
                "Show values of parameters in default data base.");
    initCommand("show default_file", "", COM_show_def_file, "show filename of default file");
    initCommand("save preferences", "", COM_save_prefs, "Save preferences.");
}

void withoutSubstitution(CommandType* ct) {
    if (ct)
        disableSubstitution(ct);
}

void registerLanguageCommands() {
    initCommand("global", "[assignment]", COM_global,
                "Declare global variable local and assign a value.");
    initCommand("if", "[condition][true_commandline](false_commandline)", COM_if,
                "Execute one of the two commandlines depending on \"condition\".");
    initCommand("for", "[command1][condition][command2][commandline]", COM_for,
                "Execute commandline while \"condition\" holds.\n    before execution of "
                "\"commandline\",\"command1\" is\n    executed once. After each execution of "
                "\"commandline\"\n    \"command2\" is executed.");
    initCommand("while", "[condition][commandline]", COM_while,
                "Execute \"commandline\" while \"condition\" holds.");
    initCommand("break", "(pos_int count)", COM_break,
                "Stop execution of current command line and go up\n    \"count\" steps in the "
                "command line hierarchy.\n    Without parameters: return to terminal/file level.");
    initCommand("procedure", "[name][commandline]", COM_proc, "Define a procedure.");
    withoutSubstitution(
        initCommand("evaluate", "[expression]", COM_eval, "Evaluate algebraic expression."));
    withoutSubstitution(
        initCommand("float", "[expression]", COM_float,
                    "Evaluate algebraic expression and convert to floating point number."));
    withoutSubstitution(initCommand("print", "[string]", COM_print, "Print string."));
    withoutSubstitution(initCommand("execute", "[expression]", COM_exec,
                                    "Execute algebraic expression without printing output."));
    withoutSubstitution(
        initCommand("return", "[expression]", COM_return,
                    "Execute algebraic expression and return value, but do not print it."));
    initCommand("load", "[filename]", COM_load, "Read command or procedure file.");
    initCommand("define", "[string][replacement]", COM_alias, "Macro definition for \"string\".");
    if (CommandType* extract = initCommand(
            "extract", "[pos_int label][string]", COM_extract,
            "Extract integer nr. \"label\" from \"string\".\n(Count starts at 1)\n\"string\" is "
            "taken literally in command line use of \"extract\".\nWhen \"extract\" is used as a "
            "function, e.g\n\"extract(1,string)\", \"string\" is evaluated as an expression."))
        enableSubstitution(extract);
    initCommand("undefine", "[string]", COM_unalias, "Remove macro definition for \"string\".");
}

void registerTableCommands() {
    initCommand("table", "", nullptr, "Table managing commands.");
    initCommand("table list", "", COM_table_list, "List output tables.");
    initCommand("table header", "[table]", COM_table_header,
                "Switch on header for table \"table\".");
    initCommand("table noheader", "[table]", COM_table_noheader,
                "Switch off header for table \"table\".");
    initCommand("table info", "[table]", COM_table_info, "Info on table \"table\".");
    initCommand("table suppress", "[table][column]", COM_table_suppress,
                "Suppress displaying of \"column\" in \"table\".");
    initCommand("table restore", "[table][column]", COM_table_restore,
                "Restore displaying of \"column\" in \"table\".");
    initCommand("table left_adjust", "[table][column]", COM_table_left,
                "left adjust \"column\" in \"table\".");
    initCommand("table right_adjust", "[table][column]", COM_table_right,
                "right adjust \"column\" in \"table\".");
    initCommand("table set_space", "[table][column][pos_int s]", COM_table_space,
                "set spacing  of \"column\" in \"table\" to \"s\".");
    initCommand("time", "", COM_CPU, "Print CPU time used so far.");
    initCommand("browse datatypes", "", COM_browse_types, "Display data types.");
    initCommand("background", "", COM_set_background, "set i/o for background running.");
}

void registerBuiltinCommands() {
    registerHelpCommands();
    registerSetCommands();
    registerFreeCommands();
    registerRunCommands();
    registerStatusCommands();
    registerLanguageCommands();
    registerTableCommands();
    addHelp("set debug level", HLP_debug);
    addHelp("set enable_sub", HLP_enable_sub);
    addHelp("set disable_sub", HLP_enable_sub);
    addHelp("define", HLP_undefine);
    addHelp("undefine", HLP_undefine);
}

void declareSwitches() {
    addParameter("echo", "OFF", "switch", "command echoing", 0);
    addParameter("math", "OFF", "switch", "math mode", 0);
    addParameter("error_trace", "OFF", "switch", "error trace", 0);
    addParameter("log", "OFF", "switch", "log file use", 0);
    addParameter("error_log", "OFF", "switch", "error log file use", 0);
    addParameter("interactive", "OFF", "switch", "terminal input", 0);
}

// The words of a command given as arguments, joined by blanks.
std::string commandText(void** commands, int parnum) {
    std::string text;
    for (int i = 0; i < parnum; ++i) {
        if (i)
            text += ' ';
        text += static_cast<const char*>(commands[i]);
    }
    return text;
}

CommandType* quietMatch(const std::string& command) {
    const int wasSuppressed = getErrorSuppression();
    suppressError();
    CommandType* ct = matchComKey(command.c_str());
    if (!wasSuppressed)
        unsuppressError();
    return ct;
}

int changeSubstitution(const char* routine, const std::string& command, bool enable, int parnum) {
    CommandType* ct = quietMatch(command);
    if (!ct) {
        Alert(routine, 0, 100301, "Command %s not found", command.c_str());
        return 1;
    }
    applyToComKey(ct, enable ? enableSubstitution : disableSubstitution);
    return -parnum;
}

} // namespace

void initializeGeneralCommands() {
    if (initialized)
        return;
    initialized = true;
    makeDefaultMode();
    registerTypes();
    defineTables();
    createWorkAreas();
    initEvaluator();
    installEvaluatorHooks();
    registerBuiltinCommands();
    declareSwitches();
    interactive = static_cast<int*>(getIntParPointer("interactive"));
    initializeInterpreter();
    initializeError();
    // The error system lies below this layer and reaches it only through these.
    setNestedTerminalLoop(readFromTerminal);
    setErrorPositionReport(printErrorInfo);
}

void resetGeneralCommands() {
    initialized = false;
    interactive = nullptr;
    conversionResult = ConversionResult{};
}

InternalParameter* addParameter(const char* name, const char* value, const char* datatype,
                                const char* text, int addToDefaults) {
    const char kind = !datatype ? 's' : std::strcmp(datatype, "switch") == 0 ? 't' : 'i';
    InternalParameter* ip = addInternalParameter(name, value, kind, addToDefaults);
    const std::string word = lowerCase(name);
    const std::string description = text ? text : "";
    const std::string set = "set " + word;
    CommandType* setCommand = nullptr;
    if (kind == 't')
        setCommand = initCommand(set.c_str(), "(switch ON/OFF)", COM_set_switch,
                                 ("Switch " + description).c_str());
    else if (kind == 'i')
        setCommand =
            initCommand(set.c_str(), (std::string("[").append(datatype).append(" value]")).c_str(),
                        COM_set_value, ("Set " + description).c_str());
    else
        setCommand =
            initCommand(set.c_str(), "[string]", COM_set_string, ("Set " + description).c_str());
    if (setCommand)
        setCommand->FunctionInfo = ip;
    const std::string show = "show " + word;
    const std::string showHelp = (kind == 't' ? "Show setting of " : "Show ") + description;
    if (CommandType* showCommand = initCommand(show.c_str(), "", COM_show_inpar, showHelp.c_str()))
        showCommand->FunctionInfo = ip;
    return ip;
}

// ---- Conversions ----

ConversionResult* CONV_ExpressionToInt(void* Expression, int) {
    return convertedInteger(Expression);
}

ConversionResult* CONV_ExpressionToNat(void* Expression, int) {
    ConversionResult* r = convertedInteger(Expression);
    if (r->rc == 0 && r->value <= 0) {
        Alert("CONV_ExpressionToNat", 0, 100301, "Parameter (%d) must be positive", r->value);
        return refused();
    }
    return r;
}

ConversionResult* CONV_ExpressionToNat0(void* Expression, int) {
    ConversionResult* r = convertedInteger(Expression);
    if (r->rc == 0 && r->value < 0) {
        Alert("CONV_ExpressionToNat0", 0, 100301, "Parameter (%d) must be positive", r->value);
        return refused();
    }
    return r;
}

ConversionResult* CONV_ExpressionToSign(void* Expression, int) {
    ConversionResult* r = convertedInteger(Expression);
    if (r->rc == 0 && r->value != 1 && r->value != -1) {
        Alert("CONV_ExpressionToSign", 0, 100301, "Parameter (%d) must be 1 or -1", r->value);
        return refused();
    }
    return r;
}

ConversionResult* CONV_Switch(void* Expression, int) {
    const char* word = static_cast<const char*>(Expression);
    conversionResult.rc = 0;
    if (std::strlen(word) < 4 && lowercmp(word, "on") == 0) {
        conversionResult.value = 1;
    } else if (std::strlen(word) < 4 && lowercmp(word, "off") == 0) {
        conversionResult.value = 0;
    } else {
        Alert("CONV_Switch", 0, 100301, "Parameter (%s) must be ON or OFF", word);
        return refused();
    }
    conversionResult.max = conversionResult.value;
    return &conversionResult;
}

// ---- Parameter commands ----

int COM_set_switch(void** commands, int parnum) {
    set_switch(parameterOf(commands), parnum >= 1 ? intArgument(commands, 0) : 1);
    return -parnum;
}

int COM_set_value(void** commands, int parnum) {
    set_value(parameterOf(commands), intArgument(commands, 0));
    return -parnum;
}

int COM_set_string(void** commands, int parnum) {
    changeDefault(parameterOf(commands)->DF, static_cast<const char*>(commands[0]));
    return -parnum;
}

int COM_show_inpar(void** commands, int parnum) {
    display_inpar(parameterOf(commands));
    Print("\n");
    return -parnum;
}

void display_inpar(InternalParameter* ip) {
    if (ip->DF)
        Print("%s", ip->DF->value ? ip->DF->value : "");
    else if (ip->type == 't')
        Print("%s", ip->value == 1 ? "ON" : ip->value == 0 ? "OFF" : "Undefined");
    else
        Print("%d", ip->value);
}

int COM_show_inpars(void**, int parnum) {
    if (!FirstParameter())
        return 1;
    Print("Parameters labelled with \"(*)\" are in default data base\n");
    printTable("Parameters", 0, 1000, 1, 0, FirstParameter(), stdout);
    return -parnum;
}

int COM_show_defaults(void**, int parnum) {
    displayDefaults();
    return -parnum;
}

int COM_show_def_file(void**, int parnum) {
    Print("%s\n", getDefaultFile());
    return -parnum;
}

int COM_save_prefs(void**, int parnum) {
    savePreferences();
    return -parnum;
}

int COM_set_background(void**, int parnum) {
    setBackground(1);
    return -parnum;
}

int COM_enable_sub(void** commands, int parnum) {
    return changeSubstitution("COM_enable_sub", lowerCase(commandText(commands, parnum).c_str()),
                              true, parnum);
}

int COM_disable_sub(void** commands, int parnum) {
    return changeSubstitution("COM_disable_sub", commandText(commands, parnum), false, parnum);
}

int COM_browse_types(void**, int parnum) {
    displayDataTypes(getOutputFile());
    return -parnum;
}

void displayDataTypes(FILE* out) {
    const bool onTerminal = OutputStatus() != 0;
    if (onTerminal)
        printTable("DataTypes", 0, 1000, 1, 0, getFirstConversion(), stdout);
    if (out && out != stdout)
        printTable("DataTypes", 0, 1000, 1, onTerminal ? 2 : 0, getFirstConversion(), out);
}

void HLP_enable_sub() {
    Print("    Parameters can be a command with any valid sequence of keywords\n"
          "    (this sequence should not be enclosed by curly brackets!).\n");
    Print("    The action is applied to the command-keyword combination\n");
    Print("    and all sub-commands.\n");
}

void HLP_undefine() {
    Print("    To avoid macro substitution within a macro (un)definition,\n");
    Print("    use curly brackets around the argument of \"undefine\".\n");
}
