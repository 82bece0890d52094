#include "base/SystemUtility.h"

#include "base/Allocation.h"
#include "base/Error.h"
#include "base/Memory.h"
#include "base/Output.h"
#include "base/Parameters.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

int openedFiles = 0;

struct ClockState {
    double last = 0.0;
    bool taken = false;
    int wraps = 0;
};
ClockState clockState;
ProcessorClock clockReader = std::clock;
double lastDifference = 0.0;

// What one wrap of the 32-bit microsecond counter is worth, as the system has always added it.
constexpr double WrapSeconds = 4294.96;

std::string homeDirectory() {
    const char* home = std::getenv("HOME");
    return home ? home : "";
}

std::string expandedName(const char* fn) {
    return convertFileName(fn);
}

bool statOf(const char* name, struct stat& st) {
    return name && stat(name, &st) == 0;
}

// Inside double quotes the shell still expands these; a backslash keeps them literal.
std::string shellQuoted(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\' || c == '$' || c == '`')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

std::string formatted(const char* fmt, va_list ap) {
    va_list copy;
    va_copy(copy, ap);
    int length = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    if (length < 0)
        return {};
    std::string text(static_cast<std::size_t>(length), '\0');
    std::vsnprintf(text.data(), text.size() + 1, fmt, ap);
    return text;
}

int runShell(const std::string& command) {
    return System("%s", command.c_str());
}

// The first line that a command prints, without its newline, at most limit characters.
std::string firstOutputLine(const char* command, int limit) {
    std::string line;
    FILE* pipe = popen(command, "r");
    if (!pipe)
        return line;
    int c;
    while (static_cast<int>(line.size()) < limit && (c = std::fgetc(pipe)) != EOF && c != '\n')
        line += static_cast<char>(c);
    pclose(pipe);
    return line;
}

} // namespace

// ---------------------------------------------------------------- files

FILE* Fopen(const char* fn, const char* mode) {
    FILE* file = std::fopen(convertFileName(fn), mode);
    if (!file) {
        Alert("Fopen", 0, 120306, "Could not open file \"%s\"", fn);
        return nullptr;
    }
    if (++openedFiles > 10)
        std::printf("Number of open files: %d\n", openedFiles);
    return file;
}

void Fclose(FILE* ifp) {
    if (!ifp) {
        Alert("Fclose", 0, 120406, "Could not close file ; null pointer");
        return;
    }
    std::fclose(ifp);
    --openedFiles;
}

const char* convertFileName(const char* fn) {
    static std::string filename;
    if (!fn || fn[0] != '~')
        return fn;
    filename = homeDirectory() + (fn + 1);
    return filename.c_str();
}

int checkDir(const char* name) {
    if (!name)
        return -1;
    struct stat st;
    if (!statOf(convertFileName(name), st))
        return -1;
    return S_ISDIR(st.st_mode) ? 0 : 1;
}

long fsize(const char* name) {
    struct stat st;
    return statOf(name, st) ? static_cast<long>(st.st_size) : -1;
}

int checkSocket(const char* name) {
    struct stat st;
    if (!statOf(name, st))
        return -1;
    return S_ISSOCK(st.st_mode) ? 0 : 1;
}

int getUid(const char* name) {
    struct stat st;
    return statOf(name, st) ? static_cast<int>(st.st_uid) : 0;
}

int getGid(const char* name) {
    struct stat st;
    return statOf(name, st) ? static_cast<int>(st.st_gid) : 0;
}

int getMode(const char* name) {
    struct stat st;
    return statOf(name, st) ? static_cast<int>(st.st_mode) : 0;
}

long modtime(const char* name) {
    struct stat st;
    return statOf(name, st) ? static_cast<long>(st.st_mtime) : 0;
}

long acctime(const char* name) {
    struct stat st;
    return statOf(name, st) ? static_cast<long>(st.st_atime) : 0;
}

long createtime(const char* name) {
    struct stat st;
    return statOf(name, st) ? static_cast<long>(st.st_ctime) : 0;
}

namespace {
int ownerPermission(const char* name, mode_t bit) {
    struct stat st;
    if (!statOf(name, st))
        return -1;
    return (st.st_mode & bit) ? 1 : 0;
}
} // namespace

int getReadPerm(const char* name) {
    return ownerPermission(name, S_IRUSR);
}
int getWritePerm(const char* name) {
    return ownerPermission(name, S_IWUSR);
}
int getExecPerm(const char* name) {
    return ownerPermission(name, S_IXUSR);
}

namespace {

// The checks shared by fileToString and HexfileToString; the room the text needs, or -1.
int roomForFile(const char* filename) {
    int kind = checkDir(filename);
    if (kind < 0) {
        Alert("fileToString", 0, 120306, "File %s does not exist", filename);
        return -1;
    }
    if (kind == 0) {
        Alert("fileToString", 1, 120306, "%s is a directory", filename);
        return -1;
    }
    long size = fsize(convertFileName(filename));
    return size < 0 ? 999 : static_cast<int>(size) + 1000;
}

void checkForZeroBytes(const char* filename, const char* text, std::size_t bytes) {
    const void* zero = std::memchr(text, '\0', bytes);
    if (!zero)
        return;
    Alert("fileToString", 4, 120306, "Rubbish in file %s at position %d", filename,
          static_cast<int>(static_cast<const char*>(zero) - text));
    std::size_t length = std::strlen(text);
    if (length < bytes)
        Alert("fileToString", 5, 120306, "Length mismatch for file %s (%d/%d)\n", filename,
              static_cast<int>(bytes), static_cast<int>(length));
}

} // namespace

char* fileToString(const char* filename, const char* buffername) {
    int room = roomForFile(filename);
    if (room < 0)
        return nullptr;
    char* text = getCharSpace(buffername, room);
    if (!text) {
        Alert("fileToString", 2, 120505, "Cannot allocate filebuffer %s", filename);
        return nullptr;
    }
    FILE* file = Fopen(filename, "r");
    if (!file) {
        Alert("fileToString", 3, 120306, "Cannot open file %s", filename);
        return nullptr;
    }
    std::size_t bytes = std::fread(text, 1, static_cast<std::size_t>(room - 1), file);
    Fclose(file);
    text[bytes] = '\0';
    checkForZeroBytes(filename, text, bytes);
    return text;
}

int* HexfileToString(const char* filename, const char* buffername) {
    int room = roomForFile(filename);
    if (room < 0)
        return nullptr;
    int* values = getIntSpace(buffername, room);
    if (!values) {
        Alert("fileToString", 2, 120505, "Cannot allocate filebuffer %s", filename);
        return nullptr;
    }
    FILE* file = Fopen(filename, "r");
    if (!file) {
        Alert("fileToString", 3, 120306, "Cannot open file %s", filename);
        return nullptr;
    }
    int n = 0;
    int c;
    while (n < room - 1 && (c = std::fgetc(file)) != EOF)
        values[n++] = c;
    Fclose(file);
    values[n] = -1;
    return values;
}

int firstlinelen(const char* name) {
    FILE* file = Fopen(name, "r");
    if (!file) {
        Alert("firstlinelen", 0, 120306, "Cannot open %s", name);
        return -1;
    }
    int count = 0;
    int c;
    while ((c = std::fgetc(file)) != EOF) {
        ++count;
        if (c == '\n')
            break;
    }
    Fclose(file);
    return c == '\n' ? count : count + 1;
}

char* getstring(char* string, int maxlen) {
    if (maxlen < 1)
        return nullptr;
    // Whoever is asked sees everything printed before the question.
    flushOutput();
    int n = 0;
    int c = 0;
    while (n < maxlen - 1 && (c = std::getchar()) != EOF && c != '\n')
        string[n++] = static_cast<char>(c);
    if (n == 0 && c == EOF)
        return nullptr;
    string[n] = '\0';
    return string;
}

// ---------------------------------------------------------------- paths

namespace {

// Drops empty and "." components; ".." is kept, since a symbolic link may stand before it.
std::string cleanPath(const std::string& path) {
    bool absolute = !path.empty() && path[0] == '/';
    std::string clean;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        std::string part = path.substr(start, end - start);
        if (!part.empty() && part != ".") {
            if (!clean.empty() || absolute)
                clean += '/';
            clean += part;
        }
        start = end + 1;
    }
    if (clean.empty())
        return absolute ? "/" : ".";
    return clean;
}

std::string currentDirectory() {
    std::vector<char> buffer(4096);
    while (!getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE)
            return ".";
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

} // namespace

char* getFullPath(const char* filename, const char* currentdir) {
    static std::string fullPath;
    std::string name = filename ? filename : "";
    if (!name.empty() && name[0] == '/')
        fullPath = name;
    else if (!name.empty() && name[0] == '~')
        fullPath = homeDirectory() + name.substr(1);
    else
        fullPath = (currentdir ? std::string(currentdir) : currentDirectory()) + "/" + name;
    fullPath = cleanPath(fullPath);
    return fullPath.data();
}

const char* getExtension(const char* filename) {
    const char* dot = std::strrchr(filename, '.');
    return dot ? dot + 1 : nullptr;
}

int verifyExtension(const char* filename, const char* extension) {
    const char* ext = getExtension(filename);
    return ext && std::strcmp(ext, extension) == 0 ? 1 : 0;
}

char* changeExtension(const char* name, const char* oldExtension, const char* newExtension) {
    static std::string newname;
    const char* ext = getExtension(name);
    if (!ext || std::strcmp(ext, oldExtension) != 0)
        return nullptr;
    newname.assign(name, static_cast<std::size_t>(ext - name));
    newname += newExtension;
    return newname.data();
}

const char* getRelativeName(const char* name) {
    const char* slash = std::strrchr(name, '/');
    return slash ? slash + 1 : name;
}

void stripToPath(char* fn) {
    char* slash = std::strrchr(fn, '/');
    if (slash == fn)
        fn[1] = '\0';
    else if (slash)
        *slash = '\0';
    else if (fn[0])
        std::strcpy(fn, ".");
}

char* getLink(const char* filename) {
    static std::string target;
    std::vector<char> buffer(4096);
    ssize_t length = readlink(filename, buffer.data(), buffer.size() - 1);
    if (length < 0)
        return nullptr;
    buffer[static_cast<std::size_t>(length)] = '\0';
    std::vector<char> linkDir(filename, filename + std::strlen(filename) + 1);
    stripToPath(linkDir.data());
    std::string base = getFullPath(linkDir.data(), nullptr);
    target = getFullPath(buffer.data(), base.c_str());
    return target.data();
}

int isFileInDirectory(const char* filename, const char* directory) {
    return std::strncmp(filename, directory, std::strlen(directory)) == 0 ? 1 : 0;
}

void trunc_path(char* path) {
    std::size_t length = std::strlen(path);
    path[length] = '\n';
    path[length + 1] = '\0';
    for (std::size_t i = 1; i < length; ++i)
        if (path[i] == '/')
            path[i] = '\0';
}

int nextdir(char* path) {
    std::size_t length = std::strlen(path);
    if (length > 0 && path[length - 1] == '\n')
        return -1;
    path[length] = '/';
    return 0;
}

// ---------------------------------------------------------------- directories

int createDir(const char* name) {
    int kind = checkDir(name);
    if (kind == 0)
        return 0;
    if (kind == 1) {
        Alert("createDir", 0, 112406, "Cannot create directory %s; There is a file with that name",
              name);
        return -1;
    }
    return runShell("mkdir " + shellQuoted(expandedName(name)));
}

int CreateDir(const char* path) {
    std::string full = getFullPath(path, nullptr);
    if (checkDir(full.c_str()) == 0)
        return 0;
    std::size_t end = 0;
    while (end != std::string::npos) {
        end = full.find('/', end + 1);
        std::string level = full.substr(0, end);
        int kind = checkDir(level.c_str());
        if (kind == 0)
            continue;
        if (kind == 1) {
            Alert("createDir", 0, 112406,
                  "Cannot create directory %s; There is a file with that name", level.c_str());
            return -1;
        }
        int status = runShell("mkdir " + shellQuoted(level));
        if (status != 0 && checkDir(level.c_str()) != 0)
            return status;
    }
    return 0;
}

int CreateFile(const char* fileA) {
    if (checkDir(fileA) == 1)
        return 0;
    std::string name = fileA;
    std::size_t slash = name.rfind('/');
    if (slash == std::string::npos)
        return CreateDir(".");
    return CreateDir(slash == 0 ? "/" : name.substr(0, slash).c_str());
}

void getCurrentDirectory(char* fullpath, int Size) {
    if (Size < 1)
        return;
    if (!getcwd(fullpath, static_cast<std::size_t>(Size)))
        fullpath[0] = '\0';
}

void dirwalk(const char* dir, void (*fcn)(const char*)) {
    DIR* dfd = opendir(dir);
    if (!dfd) {
        printErrorMessage("dirwalk: cannot open %s\n", dir);
        return;
    }
    std::size_t length = std::strlen(dir);
    const char* separator = length > 0 && dir[length - 1] == '/' ? "" : "/";
    while (dirent* dp = readdir(dfd)) {
        if (std::strcmp(dp->d_name, ".") == 0 || std::strcmp(dp->d_name, "..") == 0)
            continue;
        std::string path = std::string(dir) + separator + dp->d_name;
        if (path.size() >= 1024) {
            printErrorMessage("dirwalk: name %s/%s too long\n", dir, dp->d_name);
            continue;
        }
        fcn(path.c_str());
    }
    closedir(dfd);
}

// ---------------------------------------------------------------- shell

int System(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    std::string command = formatted(fmt, ap);
    va_end(ap);
    char* buffer = getCharSpace("SystemBuffer", static_cast<int>(command.size()) + 1);
    if (!buffer)
        return -1;
    std::memcpy(buffer, command.c_str(), command.size() + 1);
    std::fflush(stdout);
    return std::system(buffer);
}

void moveOldFile(const char* fn) {
    std::string name = expandedName(fn);
    if (checkDir(name.c_str()) != 1)
        return;
    for (int i = 0;; ++i) {
        std::string aside = name + "_" + std::to_string(i);
        if (checkDir(aside.c_str()) != 1) {
            runShell("mv " + shellQuoted(name) + " " + shellQuoted(aside));
            return;
        }
    }
}

int FullCopy(const char* fileA, const char* fileB) {
    if (!fileA || checkDir(fileA) < 0)
        return -1;
    CreateFile(fileB);
    return runShell("cp -p " + shellQuoted(fileA) + " " + shellQuoted(fileB));
}

namespace {

void replaceAll(std::string& line, const std::string& tag, const std::string& replacement) {
    if (tag.empty())
        return;
    for (std::size_t at = line.find(tag); at != std::string::npos;
         at = line.find(tag, at + replacement.size())) {
        line.replace(at, tag.size(), replacement);
    }
}

std::string processCommandString(const char* command, const char* filename, int dot) {
    std::string line = command;
    std::string full = getFullPath(filename, nullptr);
    replaceAll(line, "$p", full);
    replaceAll(line, "$f", filename);
    if (dot >= 0) {
        std::string name = filename;
        std::string head = name.substr(0, std::min<std::size_t>(name.size(), dot));
        std::string tail = static_cast<std::size_t>(dot) < name.size() ? name.substr(dot + 1) : "";
        std::size_t slash = head.rfind('/');
        std::string dirOfFull = full.substr(0, full.rfind('/'));
        replaceAll(line, "$t", head);
        replaceAll(line, "$e", tail);
        replaceAll(line, "$r", slash == std::string::npos ? head : head.substr(slash + 1));
        replaceAll(line, "$d", dirOfFull.empty() ? "/" : dirOfFull);
    }
    return line;
}

} // namespace

int Execute(const char* command, const char* filename, int dot) {
    if (!std::strchr(command, '$'))
        return System("%s %s\n", command, filename);
    return System("%s\n", processCommandString(command, filename, dot).c_str());
}

void replaceString(char* line, const char* tag, const char* replacement) {
    std::string text = line;
    replaceAll(text, tag, replacement);
    std::memcpy(line, text.c_str(), text.size() + 1);
}

char* ExecuteSilent(const char* buffer, int verbose) {
    static std::string output;
    output.clear();
    if (verbose == 0)
        output = firstOutputLine(buffer, 1020);
    else
        System("%s", buffer);
    return output.data();
}

// ---------------------------------------------------------------- clock and calendar

namespace {
double correctedReading() {
    double reading = static_cast<double>(clockReader()) / 1000000.0;
    if (clockState.taken && reading < clockState.last - 0.1)
        ++clockState.wraps;
    clockState.last = reading;
    clockState.taken = true;
    return reading + clockState.wraps * WrapSeconds;
}
} // namespace

double CPUTime() {
    return correctedReading();
}

double TimeDifference(double* last, int reset) {
    double now = correctedReading();
    lastDifference = now - *last;
    if (reset == 1)
        *last = now;
    return lastDifference;
}

void setProcessorClock(ProcessorClock reader) {
    clockReader = reader ? reader : std::clock;
    clockState = ClockState{};
}

int hourFromDateLine(const char* line) {
    const char* colon = line ? std::strchr(line, ':') : nullptr;
    if (!colon || colon - line < 2) {
        std::printf("No valid hour determined: %s\n", "");
        return 24;
    }
    return (colon[-2] - '0') * 10 + (colon[-1] - '0');
}

int weekDayFromDateLine(const char* line) {
    static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    for (int day = 0; day < 7; ++day)
        if (line && std::strstr(line, days[day]))
            return day;
    std::printf("No valid week day determined: %s\n", line ? line : "");
    return 7;
}

int isWorkingTime(int weekDay, int hour) {
    return weekDay != 0 && weekDay != 6 && hour >= 9 && hour < 19 ? 1 : 0;
}

int getHour() {
    static std::string dateLine;
    dateLine = firstOutputLine("date", 1023);
    return hourFromDateLine(dateLine.c_str());
}

int getWeekDay() {
    static std::string dateLine;
    dateLine = firstOutputLine("date", 1023);
    return weekDayFromDateLine(dateLine.c_str());
}

int WeekDayCheck() {
    System("date");
    int day = getWeekDay();
    return isWorkingTime(day, getHour());
}

void Clock(const char*) {}

int TimeDif(timeval*) {
    return 0;
}

// ---------------------------------------------------------------- other

char* getCurrentHostName() {
    static char hostname[81];
    if (gethostname(hostname, 80) != 0)
        std::strcpy(hostname, "unknown");
    hostname[80] = '\0';
    return hostname;
}

const char* getArch() {
    return "";
}

void printenv(const char* name) {
    const char* value = std::getenv(name);
    if (value)
        std::printf("Variable: %s; Value: %s\n", name, value);
    else
        std::printf("Variable %s not defined\n", name);
}

void StartupMessage(int argc, char** argv) {
    FILE* file = Fopen("~/Startup.info", "a");
    if (!file)
        return;
    std::fprintf(file, "%s started", argv[0]);
    if (argc <= 1) {
        std::fprintf(file, "\n");
    } else if (argc == 2) {
        std::fprintf(file, " with parameter %s\n", argv[1]);
    } else {
        std::fprintf(file, " with parameters: \n");
        for (int i = 1; i < argc; ++i)
            std::fprintf(file, "%s\n", argv[i]);
    }
    Fclose(file);
}

namespace {

// The stack grows downwards; the highest frame address seen stands for its top.
std::uintptr_t stackTop = 0;

std::uintptr_t stackSize() {
    static const std::uintptr_t size = [] {
        rlimit limit{};
        if (getrlimit(RLIMIT_STACK, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
            return static_cast<std::uintptr_t>(limit.rlim_cur);
        return std::uintptr_t{8} << 20;
    }();
    return size;
}

} // namespace

bool stackNearlyExhausted(int percent) {
    const auto here = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
    if (here > stackTop) {
        stackTop = here;
        return false;
    }
    return stackTop - here > stackSize() / 100 * static_cast<std::uintptr_t>(percent);
}

// ============================================================ output directory and pause points

namespace {

GuardedArray<char> outdir{"outdir"};

} // namespace

const char* getOutputDir() {
    // A text parameter's value moves when it grows, so it is looked up afresh.
    const char* outputdir = static_cast<const char*>(getIntParPointer("OutputDir"));
    std::string dir = outputdir ? outputdir : "";
    if (dir == "HOME")
        dir = homeDirectory();
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    outdir.reserve(static_cast<int>(dir.size()) + 1);
    std::memcpy(outdir.X, dir.c_str(), dir.size() + 1);
    return outdir.X;
}

const char* getDoneDir() {
    return getOutputDir();
}

namespace {

constexpr const char* DefaultSleepFile = "/tmp/tarvik_sleep";
constexpr const char* DefaultNiceFile = "/tmp/tarvik_nice";
constexpr const char* DefaultStopFile = "/tmp/tarvik_stop";
constexpr unsigned PauseSeconds = 600;

std::string sleepFile = DefaultSleepFile;
std::string niceFile = DefaultNiceFile;
std::string stopFile = DefaultStopFile;

void standardSleep(unsigned seconds) {
    sleep(seconds);
}

InterruptSleep waitFor = standardSleep;
WorkingTimeTest workingTime = WeekDayCheck;

bool isPlainFile(const std::string& name) {
    return checkDir(name.c_str()) == 1;
}

} // namespace

void setInterruptServices(InterruptSleep sleeper, WorkingTimeTest test) {
    waitFor = sleeper ? sleeper : standardSleep;
    workingTime = test ? test : WeekDayCheck;
}

void setControlFiles(const char* sleepName, const char* niceName, const char* stopName) {
    sleepFile = sleepName ? sleepName : DefaultSleepFile;
    niceFile = niceName ? niceName : DefaultNiceFile;
    stopFile = stopName ? stopName : DefaultStopFile;
}

const char* getStopFile() {
    return stopFile.c_str();
}

void checkInterrupt() {
    while (isPlainFile(sleepFile)) {
        std::puts("Sleep signal received; waiting ten minutes");
        std::fflush(stdout);
        waitFor(PauseSeconds);
    }
    if (!isPlainFile(niceFile))
        return;
    std::puts("Nice signal received; running only at night");
    std::fflush(stdout);
    while (workingTime()) {
        if (!isPlainFile(niceFile))
            return;
        waitFor(PauseSeconds);
    }
}
