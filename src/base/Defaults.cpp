#include "base/Defaults.h"

#include "base/Allocation.h"
#include "base/SystemUtility.h"
#include "base/Tables.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

AllocCount DefaultCount = ALLOC_COUNTER("Defaults");

DefaultType* firstDefault = nullptr;
std::string DefaultFile;
DEF_SET ConvertDefaults = nullptr;
TABLE_DEF_STORE storeTablePreferences = nullptr;
TABLE_DEF_READ readTablePreference = nullptr;

constexpr int MaxLine = 255;

char* countedCopy(const char* text, const char* label) {
    std::size_t size = std::strlen(text) + 1;
    auto* copy = static_cast<char*>(allocate(size, &DefaultCount, label));
    std::memcpy(copy, text, size);
    return copy;
}

DefaultType* newDefault(const char* name) {
    auto* df =
        static_cast<DefaultType*>(allocate(sizeof(DefaultType), &DefaultCount, "Default pointer"));
    df->name = countedCopy(name, "Default name");
    df->value = nullptr;
    df->valueSize = 0;
    df->next = firstDefault;
    firstDefault = df;
    return df;
}

// One line of at most MaxLine characters, without its newline; the rest of a longer line is
// dropped so that it cannot pass for a line of its own. False at the end of the file.
bool readLine(FILE* file, std::string& line) {
    line.clear();
    int c = std::fgetc(file);
    if (c == EOF)
        return false;
    for (; c != EOF && c != '\n'; c = std::fgetc(file))
        if (static_cast<int>(line.size()) < MaxLine)
            line += static_cast<char>(c);
    return true;
}

std::size_t skipBlanks(const std::string& line, std::size_t at) {
    while (at < line.size() && line[at] == ' ')
        ++at;
    return at;
}

// Splits a line into name and value; false for a line that ends the reading.
bool parseDefaultLine(const std::string& line, std::string& name, std::string& value) {
    std::size_t at = skipBlanks(line, 0);
    std::size_t end;
    if (at < line.size() && line[at] == '"') {
        end = line.find('"', ++at);
        if (end == std::string::npos)
            return false;
        name = line.substr(at, end - at);
        ++end;
    } else {
        end = line.find(' ', at);
        if (end == std::string::npos)
            return false;
        name = line.substr(at, end - at);
    }
    at = skipBlanks(line, end);
    if (at < line.size() && line[at] == '"')
        end = line.find('"', ++at);
    else
        end = line.find(' ', at);
    value = line.substr(at, end == std::string::npos ? std::string::npos : end - at);
    return true;
}

void readDefaultFile() {
    FILE* file = Fopen(DefaultFile.c_str(), "r");
    if (!file)
        return;
    std::string line, name, value;
    while (readLine(file, line) && parseDefaultLine(line, name, value))
        setDefault(name.c_str(), value.c_str());
    Fclose(file);
}

} // namespace

void registerDefaults(const char* owner, const BS_defaults* DV, DEF_SET setDef) {
    setDefaults(DV);
    setDefaultFile(owner);
    ConvertDefaults = setDef;
    readDefaultFile();
}

void setDefaultFile(const char* owner) {
    const char* home = std::getenv("HOME");
    std::string directory = std::string(home ? home : "") + "/.Defaults";
    if (checkDir(directory.c_str()) != 0)
        CreateDir(directory.c_str());
    DefaultFile = directory + "/" + owner;
}

const char* getDefaultFile() {
    return DefaultFile.c_str();
}

DefaultType* setDefault(const char* name, const char* value) {
    DefaultType* df = findDefaultPointer(name);
    if (!df)
        df = newDefault(name);
    changeDefault(df, value);
    return df;
}

void changeDefault(DefaultType* sd, const char* value) {
    if (!sd || !value)
        return;
    int size = static_cast<int>(std::strlen(value)) + 1;
    if (!sd->value) {
        sd->value = static_cast<char*>(allocate(size, &DefaultCount, "Default value"));
        sd->valueSize = size;
    } else if (size > sd->valueSize) {
        sd->value = static_cast<char*>(
            reallocate(sd->value, size, sd->valueSize, &DefaultCount, "Default value"));
        sd->valueSize = size;
    }
    std::memmove(sd->value, value, static_cast<std::size_t>(size));
}

DefaultType* findDefaultPointer(const char* name) {
    for (DefaultType* df = firstDefault; df; df = df->next)
        if (std::strcmp(df->name, name) == 0)
            return df;
    return nullptr;
}

DefaultType* getDefaultPointer(const char* name) {
    DefaultType* df = findDefaultPointer(name);
    return df ? df : newDefault(name);
}

char* getDefaultValue(const char* name) {
    return getDefaultPointer(name)->value;
}

const char* getDefault(const char* name) {
    const char* value = getDefaultValue(name);
    return value ? value : "";
}

void setDefaults(const BS_defaults* DV) {
    for (; DV && DV->name; ++DV)
        setDefault(DV->name, DV->value);
}

void savePreferences() {
    if (ConvertDefaults)
        ConvertDefaults();
    if (storeTablePreferences)
        storeTablePreferences();
    writeDefaults();
}

void writeDefaults() {
    FILE* file = Fopen(DefaultFile.c_str(), "w");
    if (!file)
        return;
    for (DefaultType* df = firstDefault; df; df = df->next)
        std::fprintf(file, "\"%s\" \"%s\"\n", df->name, df->value ? df->value : "");
    Fclose(file);
}

void printDefaults() {
    for (DefaultType* df = firstDefault; df; df = df->next)
        std::printf("\"%s\" \"%s\"\n", df->name, df->value ? df->value : "");
}

void displayDefaults() {
    printTable("Preferences", 0, 1000, 1, 0, firstDefault, stdout);
}

char* getDefaultNameString(char* txt, DefaultType* df, int) {
    return txt + std::sprintf(txt, "%s ", df->name);
}

char* getDefaultValueString(char* txt, DefaultType* df, int) {
    return txt + std::sprintf(txt, "%s", df->value ? df->value : "");
}

void getTableDefaults() {
    if (!readTablePreference)
        return;
    for (DefaultType* df = firstDefault; df; df = df->next)
        if (std::strncmp(df->name, "Table:", 6) == 0)
            readTablePreference(df->name, df->value ? df->value : "");
}

DefaultType* getFirstDefault() {
    return firstDefault;
}

DefaultType* nextDefault(DefaultType* df) {
    return df ? df->next : nullptr;
}

int getValue(const int* parameter) {
    return parameter ? *parameter : 0;
}

void setTablePreferenceHandlers(TABLE_DEF_STORE store, TABLE_DEF_READ read) {
    storeTablePreferences = store;
    readTablePreference = read;
}

void resetDefaultState() {
    while (DefaultType* df = firstDefault) {
        firstDefault = df->next;
        if (df->value)
            freespace(df->value, static_cast<std::size_t>(df->valueSize), &DefaultCount,
                      "Default value");
        freespace(df->name, std::strlen(df->name) + 1, &DefaultCount, "Default name");
        freespace(df, sizeof(DefaultType), &DefaultCount, "Default pointer");
    }
    DefaultFile.clear();
    ConvertDefaults = nullptr;
    storeTablePreferences = nullptr;
    readTablePreference = nullptr;
}
