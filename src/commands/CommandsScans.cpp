#include "commands/CommandsScans.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/SystemUtility.h"
#include "commands/CommandsInternal.h"
#include "interpreter/Interpreter.h"
#include "modular/ModularFileNames.h"
#include "string/StringTheory.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using commands::intArgument;
using commands::textArgument;

namespace {

// Distinct rows told apart by their first idsize entries, each with a count, in order of first
// appearance.
struct ScanCollection {
    int size = 10;
    int idsize = 8;
    struct Row {
        std::vector<int> data;
        int count;
    };
    std::vector<Row> rows;

    void reset(int n, int id) {
        size = n;
        idsize = id;
        rows.clear();
    }
    // True when the row was new.
    bool add(const std::vector<int>& data, int count) {
        for (Row& r : rows)
            if (std::equal(r.data.begin(), r.data.begin() + idsize, data.begin())) {
                r.count += count;
                return false;
            }
        rows.push_back({std::vector<int>(data.begin(), data.begin() + size), count});
        return true;
    }
};

ScanCollection Spectra_0;
ScanCollection Spectra2_0;
long accountCalls = 0;

constexpr int LineInts = 13;

std::string dataSuffix(int mode) {
    return mode == 1 ? ".mipf_data" : ".hodge";
}

std::string dataFileOf(int mode) {
    return outputDirFile((CurrentCY.empty() ? "X" : CurrentCY) + dataSuffix(mode));
}

// The summary is written under a temporary name and renamed, so a reader never sees half of it.
void writeSummary(const std::string& file, const ScanCollection& C, int entries) {
    const std::string temporary = file + ".tmp";
    FILE* f = Fopen(temporary.c_str(), "w");
    if (!f)
        return;
    std::vector<bool> done(C.rows.size(), false);
    for (std::size_t k = 1; k <= C.rows.size(); k++) {
        std::size_t best = C.rows.size();
        for (std::size_t r = 0; r < C.rows.size(); r++) {
            if (done[r])
                continue;
            if (best == C.rows.size() ||
                compareHodgeVec(C.idsize, C.rows[r].data.data(), C.rows[best].data.data()) == 1)
                best = r;
        }
        done[best] = true;
        std::fprintf(f, "   nr. %3zu [found as nr. %3zu]:      %6d x   (", k, best + 1,
                     C.rows[best].count);
        for (int e = 0; e < entries; e++)
            std::fprintf(f, e ? ",%d" : "%d", C.rows[best].data[static_cast<std::size_t>(e)]);
        std::fprintf(f, ")\n");
    }
    Fclose(f);
    const std::string from = convertFileName(temporary.c_str());
    if (std::rename(from.c_str(), convertFileName(file.c_str())) != 0)
        Alert("writeHodgeSummary", 0, 120306, "Could not write file \"%s\"", file.c_str());
}

void writeHodgeSummary(const std::string& dataFile) {
    writeSummary(dataFile + "_summary", Spectra_0, Spectra_0.idsize);
}

void writeRestrictedHodgeSummary(const std::string& dataFile) {
    Spectra2_0.reset(11, 8);
    for (const ScanCollection::Row& r : Spectra_0.rows)
        Spectra2_0.add(r.data, r.count);
    writeSummary(dataFile + "_summary_hodge", Spectra2_0, 8);
}

void writeSummaries(const std::string& dataFile, int mode) {
    writeHodgeSummary(dataFile);
    if (mode == 1)
        writeRestrictedHodgeSummary(dataFile);
}

std::string dataLine(const std::vector<int>& x, int mipf, int subgroup, const std::string& name) {
    char text[200];
    std::snprintf(text, sizeof text, "%5d %5d %5d %5d %5d %3d %3d %6d     %8d %2d %2d     %2d %4d ",
                  x[0], x[1], x[2], x[3], x[4], x[5], x[6], x[7], x[8], x[9], x[10], mipf,
                  subgroup);
    return text + name + "\n";
}

void appendLine(const std::string& file, const std::string& line) {
    if (FILE* f = Fopen(file.c_str(), "a")) {
        std::fputs(line.c_str(), f);
        Fclose(f);
    }
}

// "Autostore" as the scan found it, whichever way the scan ends.
class AutostoreGuard {
public:
    explicit AutostoreGuard(int value) : saved(commands::AutoStore ? *commands::AutoStore : 0) {
        if (commands::AutoStore)
            *commands::AutoStore = value;
    }
    ~AutostoreGuard() {
        if (commands::AutoStore)
            *commands::AutoStore = saved;
    }
    AutostoreGuard(const AutostoreGuard&) = delete;
    AutostoreGuard& operator=(const AutostoreGuard&) = delete;

private:
    int saved;
};

void runLine(const std::string& line) {
    executeCommandLine(line.c_str());
}

std::string hodgeFileName(void** commands, int parnum) {
    if (parnum > 0)
        CurrentCY = textArgument(commands, 0);
    if (CurrentCY.empty()) {
        Alert("COM_collect_hodge", 0, 112301, "No file name provided; using \"X\" instead");
        return outputDirFile("X");
    }
    return outputDirFile(CurrentCY);
}

int COM_scan_hodge(void** commands, int parnum) {
    HodgeScan(hodgeFileName(commands, parnum), 0, 0);
    return -parnum;
}

int COM_collect_hodge(void** commands, int parnum) {
    HodgeScan(hodgeFileName(commands, parnum), 0, 1);
    return -parnum;
}

int COM_scan_MIPFdata(void** commands, int parnum) {
    HodgeScan(hodgeFileName(commands, parnum), 1, 0);
    return -parnum;
}

int COM_collect_MIPFdata(void** commands, int parnum) {
    HodgeScan(hodgeFileName(commands, parnum), 1, 1);
    return -parnum;
}

int COM_store_heterotic(void** commands, int parnum) {
    const int mode = parnum > 0 ? intArgument(commands, 0) : 0;
    // The mode sizes the rows of the scan collection and picks the data file.
    if (mode != 0 && mode != 1) {
        Alert("COM_store_heterotic", 1, 100302, "Invalid mode %d (0 or 1)", mode);
        return 1;
    }
    if (!MOD_initContents()) {
        Alert("COM_store_heterotic", 0, 100302, "Initialization problem for heterotic data");
        return 1;
    }
    const int* h = getHeteroticSpectrumInfo();
    if (!h)
        return 1; // nothing to record: no string data, or the user stopped
    if (Spectra_0.size != mode + 10)
        resetScanCollection(mode);
    const BulkInvariant* B = *getCurrentBulk();
    const int symmetric = B->symmetric == 1 ? 1 : 0;
    const std::vector<int> row = {h[1],
                                  h[2],
                                  h[0],
                                  h[4],
                                  h[5],
                                  h[6],
                                  h[7],
                                  symmetric,
                                  mode == 1 && symmetric ? B->IshibashiLabelCount : -1,
                                  B->MD->KernelSize,
                                  B->MD->Ngen};
    const std::string file = dataFileOf(mode);
    appendLine(file, dataLine(row, B->MD->MIPF_id, B->MD->Subgroup_id, CurrentCY));
    const bool fresh = Spectra_0.add(row, 1);
    accountCalls++;
    if (fresh || accountCalls % 1000 == 0)
        writeSummaries(file, mode);
    return -parnum;
}

const CommandDefinition scanCommands[] = {
    {"collect MIPF_data", "(name)", COM_collect_MIPFdata,
     "collect topological MIPF data\n(hodge numbers, heterotic singlets and number of "
     "boundaries)\nWorks only in \"super\" mode and if the conditions\nfor a superstring "
     "interpretation are satisfied.\nMIPFs are stored and compared."},
    {"scan MIPF_data", "(name)", COM_scan_MIPFdata,
     "scan topological MIPF data\n(hodge numbers, heterotic singlets and number of "
     "boundaries)\nWorks only in \"super\" mode and if the conditions\nfor a superstring "
     "interpretation are satisfied.\nMIPFs are not stored and compared."},
    {"collect hodge_numbers", "(name)", COM_collect_hodge,
     "collect hodge numbers for type-II spectra\n(including heterotic singlets)\nWorks only in "
     "\"super\" mode and if the conditions\nfor a superstring interpretation are satisfied.\nThe "
     "data go to a file \"name.hodge\" in the output directory;\nMIPFs are stored and compared."},
    {"scan hodge_numbers", "(name)", COM_scan_hodge,
     "scan hodge numbers for type-II spectra\n(including heterotic singlets)\nWorks only in "
     "\"super\" mode and if the conditions\nfor a superstring interpretation are satisfied.\nThe "
     "data go to a file \"name.hodge\" in the output directory;\nidentical to \"collect hodge\" "
     "except that MIPFs are not stored and compared."},
    {"account heterotic", "[int mode]", COM_store_heterotic, "INTERNAL"},
};

} // namespace

void installScanCommands() {
    addCommandFamily(CommandFamily::Scan, scanCommands);
}

std::string outputDirFile(const std::string& name) {
    const std::string directory = getOutputDir();
    createDir(directory.c_str());
    return directory + name;
}

void resetScanCollection(int mode) {
    Spectra_0.reset(mode + 10, mode + 8);
}

int compareHodgeVec(int size, const int* a, const int* b) {
    auto key = [](const int* x) {
        return std::vector<int>{std::abs(x[0] - x[1]), x[0] - x[1], x[0], x[2]};
    };
    const std::vector<int> ka = key(a), kb = key(b);
    if (ka != kb)
        return ka > kb ? 1 : -1;
    for (int e = 0; e < size; e++)
        if (a[e] != b[e])
            return a[e] > b[e] ? 1 : -1;
    return 0;
}

int readHodgeData(const std::string& file, int* next, int* lastSubgroup, int* lastLabel) {
    *next = 0;
    *lastSubgroup = 0;
    const std::string path = convertFileName(file.c_str());
    std::ifstream in(path);
    std::string line;
    std::streamoff complete = 0; // the end of the last complete line
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::vector<int> x(LineInts);
        std::string name;
        bool ok = true;
        for (int& v : x)
            ok = ok && static_cast<bool>(fields >> v);
        ok = ok && static_cast<bool>(fields >> name);
        // A line cut short (a crash while it was written) carries no invariant.
        if (!ok || in.eof()) {
            Print("Skipping incomplete line in %s: %s\n", file.c_str(), line.c_str());
            continue;
        }
        complete = in.tellg();
        if (x[0] == 0 && x[1] == 0 && x[2] == 0 && x[3] == 0 && x[4] == 0) {
            *lastSubgroup = -1;
            *lastLabel = -1;
            return 1;
        }
        Spectra_0.add(std::vector<int>(x.begin(), x.begin() + 11), 1);
        // The first line read also fixes the label of subgroup 0, so that a resumed scan
        // numbers its invariants on from there.
        if (x[12] > *lastSubgroup || *lastLabel == -1) {
            *lastSubgroup = x[12];
            *lastLabel = x[11];
        }
        *next = x[11] + 1;
    }
    in.close();
    // New lines must not be glued to a broken last one.
    std::error_code ec;
    if (static_cast<std::uintmax_t>(complete) < std::filesystem::file_size(path, ec) && !ec)
        std::filesystem::resize_file(path, static_cast<std::uintmax_t>(complete), ec);
    writeHodgeSummary(file);
    return 0;
}

void HodgeScan(std::string file, int mode, int store) {
    resetScanCollection(mode);
    file += dataSuffix(mode);
    AutostoreGuard autostore(store);
    int next = 0, lastSubgroup = 0, lastLabel = -1;
    if (checkDir(file.c_str()) == 1) {
        Print("File %s already exists; reading previous data\n", file.c_str());
        if (readHodgeData(file, &next, &lastSubgroup, &lastLabel)) {
            Print("Previous data are complete\n");
            return;
        }
        Print("Restarting with subgroup %d, label %d, next item %d\n", lastSubgroup, lastLabel,
              next);
    } else {
        if (FILE* f = Fopen(file.c_str(), "w"))
            Fclose(f);
        Print("\nWriting hodge data to file %s\n\n", file.c_str());
    }
    if (next > 0) {
        runLine("start subgroup " + std::to_string(lastSubgroup) + " " + std::to_string(lastLabel) +
                ";");
        runLine("set loop start " + std::to_string(next) + ";");
    }
    runLine("set loop_command {account heterotic " + std::to_string(mode) + "};");
    if (mode == 0)
        runLine("set primary_selection massless;");
    runLine(store ? "collect sim;" : "scan sim;");
    // Only a loop that went through to its end may say the data are complete.
    if (simpleCurrentScanCompleted())
        appendLine(file, dataLine(std::vector<int>(11, 0), 0, 0, "name"));
    writeSummaries(file, mode);
}
