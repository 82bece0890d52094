#include "interpreter/Interpreter.h"

#include "base/Output.h"
#include "base/StringUtility.h"
#include "interpreter/InterpreterInternal.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using namespace interp;

namespace {

// The column listing's state, reset by each preparation.
struct ColumnLayout {
    int words = 0;
    int longest = 0;
    int columnWidth = 4;
    int columns = 20;
    int rows = 0;
    int lineLength = 80;
    int row = 0;
    int column = 0;
} layout;

GuardedArray<char> Clist("Clist", &InterpreterAlloc);

constexpr int ScreenWidth = 80;
constexpr int DescriptionWidth = 70;

void prepareColumns(CommandType* start) {
    layout = ColumnLayout{};
    Clist.reserve(1);
    Clist.X[0] = '\0';
    if (!start)
        return;
    countCommands(start, &layout.words, &layout.longest);
    layout.columnWidth = layout.longest + 4;
    layout.columns = std::max(ScreenWidth / layout.columnWidth, 1);
    layout.rows = layout.words / layout.columns + (layout.words % layout.columns ? 1 : 0);
    layout.lineLength = layout.columns * layout.columnWidth;
    const int size = layout.rows * layout.lineLength;
    Clist.reserve(size + 1);
    std::memset(Clist.X, ' ', static_cast<std::size_t>(size));
    for (int r = 1; r <= layout.rows; ++r)
        Clist.X[r * layout.lineLength - 1] = '\n';
    Clist.X[size] = '\0';
}

void fillColumns(CommandType* start) {
    forEachWord(start, [](CommandType* ct) {
        if (ct->internal == 0) {
            const std::string w = displayWord(ct->command);
            char* cell =
                Clist.X + layout.column * layout.columnWidth + layout.row * layout.lineLength;
            std::memcpy(cell, w.data(), w.size());
            cell[w.size()] = ' ';
        }
        if (++layout.row == layout.rows) {
            layout.row = 0;
            ++layout.column;
        }
    });
    Clist.check();
}

std::string withoutFormulaMarks(const char* text) {
    std::string s;
    for (const char* p = text; *p; ++p)
        if (*p != '$' && *p != '@')
            s += *p;
    return s;
}

// The TeX form of a text: "$" toggles a formula; outside one "_" and "^" are escaped; "@" is a
// backslash everywhere; a blank before a double quote opens TeX quotes.
std::string texText(const char* t) {
    std::string s;
    bool formula = false;
    for (const char* p = t; *p; ++p) {
        const char c = *p;
        if (c == '$') {
            formula = !formula;
            s += c;
        } else if ((c == '_' || c == '^') && !formula) {
            s += '\\';
            s += c;
        } else if (c == '@') {
            s += '\\';
        } else if (c == ' ' && p[1] == '"') {
            s += " ``";
            ++p;
        } else {
            s += c;
        }
    }
    return s;
}

void printTex(CommandType* start, std::string& path) {
    forEachWord(start, [&path](CommandType* ct) {
        const std::size_t depthStart = path.size();
        path += displayWord(ct->command) + " ";
        if (ct->exec) {
            std::string entry =
                "\\nextline\\leftline{\\ttquad\\tt > " + path + " " + ct->parms + "}\n";
            if (std::strlen(ct->help) > 8)
                entry += std::string(ct->help) + "\n";
            Print("%s", texText(entry.c_str()).c_str());
        }
        printTex(ct->keywords, path);
        path.resize(depthStart);
    });
}

void printPath(const std::vector<std::string>& path, int depth) {
    for (int i = 0; i <= depth; ++i)
        Print("%s ", path[static_cast<std::size_t>(i)].c_str());
    Print("\n");
}

// The searches: a word is shown when `matches` accepts it, with its full path.
template <class Match, class After>
void searchTree(CommandType* start, int depth, std::vector<std::string>& path, Match matches,
                After after) {
    forEachWord(start, [&](CommandType* ct) {
        if (path.size() <= static_cast<std::size_t>(depth))
            path.resize(static_cast<std::size_t>(depth) + 1);
        path[static_cast<std::size_t>(depth)] = displayWord(ct->command);
        if (matches(ct)) {
            printPath(path, depth);
            after(ct);
        }
        searchTree(ct->keywords, depth + 1, path, matches, after);
    });
}

} // namespace

namespace interp {

void resetCommandHelp() {
    layout = ColumnLayout{};
    Clist.release();
}

} // namespace interp

// ---- Columns ----

void countCommands(CommandType* start, int* count, int* maxlen) {
    forEachWord(start, [&](CommandType* ct) {
        ++*count;
        *maxlen = std::max(*maxlen, static_cast<int>(std::strlen(ct->command)));
    });
}

void printColumns(int init, CommandType* start) {
    if (init == 1)
        prepareColumns(start);
    else if (init == 0)
        fillColumns(start);
    else if (init == 2 && Clist.reserved())
        Print("%s", Clist.X);
}

void printComCol(CommandType* start) {
    printColumns(1, start);
    printColumns(0, start);
    printColumns(2, start);
}

int COM_commands(void**, int) {
    printComCol(rootCommand);
    return 0;
}

// ---- Trees ----

void printAllCommands(CommandType* start, int depth) {
    forEachWord(start, [depth](CommandType* ct) {
        Print("%*s%s\n", 4 * depth, "", displayWord(ct->command).c_str());
        printAllCommands(ct->keywords, depth + 1);
    });
}

void printCommands() {
    printAllCommands(rootCommand, 0);
}

int COM_commands_all(void**, int) {
    printAllCommands(rootCommand, 0);
    return 0;
}

void printCommandDetails(CommandType* start, int depth) {
    forEachWord(start, [depth](CommandType* ct) {
        Print("%*s%s\n", 2 * depth, "", displayWord(ct->command).c_str());
        printDescription(ct->help, 13, " ");
        printCommandDetails(ct->keywords, depth + 1);
    });
}

int COM_commands_detail(void**, int) {
    printCommandDetails(rootCommand, 0);
    return 0;
}

// ---- TeX ----

void printCommandTex(CommandType* start, int, char* fullcommand, char* next) {
    std::string path(fullcommand, next);
    printTex(start, path);
}

int COM_commands_tex(void**, int) {
    std::string path;
    printTex(rootCommand, path);
    return 0;
}

void CopyToTex(char* s, const char* t) {
    const std::string tex = texText(t);
    std::memcpy(s, tex.c_str(), tex.size() + 1);
}

// ---- Searches ----

void findCommandString(CommandType* start, const char* substr, int depth) {
    std::vector<std::string> path(8);
    searchTree(
        start, depth, path, [substr](CommandType* ct) { return subString(ct->command, substr); },
        [](CommandType*) {});
}

void aproposCommandString(CommandType* start, const char* substr, int depth) {
    std::vector<std::string> path(8);
    searchTree(
        start, depth, path,
        [substr](CommandType* ct) {
            return subString(ct->command, substr) || subString(ct->help, substr);
        },
        [](CommandType* ct) { printDescription(ct->help, 17, "Description:"); });
}

int COM_find(void** commands, int parnum) {
    findCommandString(rootCommand, static_cast<const char*>(commands[0]), 0);
    return -parnum;
}

int COM_apropos(void** commands, int parnum) {
    aproposCommandString(rootCommand, static_cast<const char*>(commands[0]), 0);
    return -parnum;
}

// ---- Descriptions ----

void printDescription(const char* input_string, int adjust, const char* desc) {
    const std::string text = withoutFormulaMarks(input_string);
    adjust = std::min(adjust, 50);
    std::vector<char> out(text.size() + (text.size() + 2) * (adjust + 2) + 16);
    leftAdjust(out.data(), text.c_str(), adjust, DescriptionWidth - adjust);
    if (static_cast<int>(std::strlen(out.data())) < adjust + 2)
        return;
    // The label stands in the indentation of the first line.
    const std::string label = "   " + std::string(desc) + "  ";
    const std::size_t room = std::strlen(out.data());
    std::memcpy(out.data(), label.data(), std::min(label.size(), room));
    Print("%s\n", out.data());
}

// ---- The table of argument types ----

char* getDataTypeString(char* txt, Conversion* sd, int, int) {
    return txt + std::sprintf(txt, "%s", sd->name);
}

char* getTypeDescriptionString(char* txt, Conversion* sd, int, int) {
    return txt + std::sprintf(txt, "%s", sd->conv ? sd->conv->description : "");
}

char* getDataTypeHeader(char* txt) {
    return txt + std::sprintf(txt, "Type");
}

char* getTypeDescriptionHeader(char* txt) {
    return txt + std::sprintf(txt, "Description");
}

int getDataTypeWidth() {
    int width = 0;
    for (Conversion* c = getFirstConversion(); c; c = nextConversion(c))
        width = std::max(width, static_cast<int>(std::strlen(c->name)));
    return std::max(width + 2, 8);
}

int getTypeDescriptionWidth() {
    int width = 0;
    for (Conversion* c = getFirstConversion(); c; c = nextConversion(c))
        if (c->conv)
            width = std::max(width, static_cast<int>(std::strlen(c->conv->description)));
    return std::max(width + 2, 16);
}

void HLP_debug() {
    Print("    Debug levels:\n");
    Print("    level 1: Show command lines and command blocks\n");
    Print("    level 2: Also show commands\n");
    Print("    level 3: Also show command decomposition\n");
    Print("    level 4: Also show return buffer\n");
}
