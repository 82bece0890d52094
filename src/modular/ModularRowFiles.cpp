// Rows of the orbit S and P of theories with many simple-current orbits, kept in files of the
// output directory, where later runs and other processes find them. A directory carries the
// identity of its theory, since the names alone do not tell apart theories with the same tensor
// code. An S row is written whole under a private name and renamed into place, so that no reader
// meets half a row; a P row is merged with what its file holds under a record lock, since several
// processes fill different entries of the same rows.
#include "modular/Modular.h"

#include "base/Allocation.h"
#include "base/Error.h"
#include "base/Output.h"
#include "base/SystemUtility.h"
#include "modular/ModularInternal.h"
#include "store/Storemanager.h"
#include "tensor/Coset.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace modular_internal;

namespace {

constexpr int DefaultThreshold = 5000;
constexpr int DefaultCacheEntries = 12500000;
int RowThreshold = DefaultThreshold;
int CacheEntries = DefaultCacheEntries;

constexpr int MaxAlternatives = 100;
const char IdentityFile[] = "identity";

AllocCount RowAlloc = ALLOC_COUNTER("Orbit rows");

// ---- Identity of the current theory ----

// The command lines that rebuild the product, its extension and its reading as a superstring.
std::string describeProduct() {
    TensorProduct* TP = getCurrentTensor();
    char* text = nullptr;
    std::size_t length = 0;
    std::string description;
    if (FILE* f = open_memstream(&text, &length)) {
        writeCosetCommands(TP, f);
        std::fclose(f);
        description.assign(text, length);
        std::free(text);
    }
    return description + "extension " + std::to_string(TP->ExtensionNumber) + "\nsuperstring " +
           std::to_string(SusySpectrum()) + "\n";
}

void foldInto(std::uint64_t& hash, long long value) {
    for (int byte = 0; byte < 8; byte++) {
        hash ^= static_cast<std::uint64_t>(value >> (8 * byte)) & 0xff;
        hash *= 1099511628211ULL;
    }
}

// The weights and charges of every field: two theories with the same description and different
// data (a process of another version, say) never share rows.
std::string fingerprint() {
    std::uint64_t hash = 14695981039346656037ULL;
    const int N = totalPrimaries();
    const int G = groupOrder();
    for (int x = 0; x < N; x++) {
        const rat* w = ratWeight(x);
        foldInto(hash, w->num);
        foldInto(hash, w->den);
        if (orbitDataValid())
            for (int J = 0; J < G; J++)
                foldInto(hash, getOrbitInfo(x)->charge[J]);
    }
    char text[32];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

// ---- Directories ----

std::string readWholeFile(const std::string& name) {
    std::string text;
    if (FILE* f = std::fopen(name.c_str(), "r")) {
        char block[4096];
        for (std::size_t n; (n = std::fread(block, 1, sizeof block, f)) > 0;)
            text.append(block, n);
        std::fclose(f);
    }
    return text;
}

bool writeWholeFile(const std::string& name, const std::string& text) {
    FILE* f = std::fopen(name.c_str(), "w");
    if (!f)
        return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && written;
}

enum class Claim { Ours, Foreign, Failed };

Claim claimExisting(const std::string& name, const std::string& identity) {
    struct stat st {};
    if (stat(name.c_str(), &st) != 0)
        return Claim::Failed;
    if (!S_ISDIR(st.st_mode))
        return Claim::Foreign;
    return readWholeFile(name + "/" + IdentityFile) == identity ? Claim::Ours : Claim::Foreign;
}

// The directory is made whole, identity included, under a private name and then renamed: another
// process finds it complete or not at all.
Claim claimDirectory(const std::string& name, const std::string& identity, bool* created) {
    *created = false;
    if (access(name.c_str(), F_OK) == 0)
        return claimExisting(name, identity);
    const std::string scratch = name + ".new" + std::to_string(getpid());
    const std::string scratchIdentity = scratch + "/" + IdentityFile;
    if (mkdir(scratch.c_str(), 0777) != 0)
        return Claim::Failed;
    if (writeWholeFile(scratchIdentity, identity) && rename(scratch.c_str(), name.c_str()) == 0) {
        *created = true;
        return Claim::Ours;
    }
    const int reason = errno;
    std::remove(scratchIdentity.c_str());
    rmdir(scratch.c_str());
    if (reason == EEXIST || reason == ENOTEMPTY)
        return claimExisting(name, identity);
    return Claim::Failed;
}

// Directories whose rows are read but to which no row is added: the user refused the disk they
// would take.
std::vector<std::string> ReadOnlyDirs;

bool mayWriteInto(const std::string& dir) {
    return !dir.empty() &&
           std::find(ReadOnlyDirs.begin(), ReadOnlyDirs.end(), dir) == ReadOnlyDirs.end();
}

double bytesIn(const std::string& dir) {
    double bytes = 0.0;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        std::error_code sizeError;
        const auto size = entry.file_size(sizeError);
        if (!sizeError)
            bytes += static_cast<double>(size);
    }
    return bytes;
}

// The rows may take bytes more on disk: they fit under "S_matrix maxdisk", or the user says so.
// The default answer is no, so that a run without a user never fills the disk.
bool diskGranted(bool forS, const std::string& name, double bytes) {
    const int limit = smatrixMaxdisk();
    if (bytes <= 1e6 * limit)
        return true;
    const int answer =
        Alert(forS ? "compSBaseFromDisk" : "initOrbitPmatrix", 2, 650209,
              "The %s-matrix rows of this theory would take about %.0f MB on disk in %s,\n"
              "more than \"S_matrix maxdisk\" (%d MB). Write them to disk?",
              forS ? "S" : "P", bytes / 1e6, name.c_str(), limit);
    return answer == 0;
}

std::string directoryBase() {
    if (SpectrumData* sd = currentBlock())
        return SM_getCurrentAlgebraFileName(sd, getOutputDir(), "S", "");
    return getCurrentTensorFileName(getOutputDir(), "S", "");
}

// ---- S rows ----

// S between the starts of two orbits, the smaller label first.
void orbitStartS(int o1, int o2, double* re, double* im) {
    const int r1 = orbitMap()[o1], r2 = orbitMap()[o2];
    directS(std::min(r1, r2), std::max(r1, r2), re, im);
}

std::string rowFileName(const char* dir, int o) {
    return std::string(dir) + "/" + std::to_string(o);
}

// Up to count numbers of the text into values; the number read.
int parseNumbers(const std::string& text, double* values, int count) {
    const char* p = text.c_str();
    int n = 0;
    while (n < count) {
        char* end = nullptr;
        const double v = std::strtod(p, &end);
        if (end == p)
            break;
        values[n++] = v;
        p = end;
    }
    return n;
}

std::string formatNumbers(const double* values, int count) {
    std::string text;
    char number[40];
    for (int e = 0; e < count; e++) {
        std::snprintf(number, sizeof number, "%a ", values[e]);
        text += number;
    }
    return text;
}

bool isPlainFile(const std::string& name) {
    struct stat st {};
    return stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// A row file holds every value, all finite; a short or damaged one is computed again.
// The slot is left alone unless the row is whole.
bool readSRow(const std::string& name, double* slot, int values) {
    if (!isPlainFile(name))
        return false;
    std::vector<double> row(static_cast<std::size_t>(values));
    if (parseNumbers(readWholeFile(name), row.data(), values) < values)
        return false;
    if (!std::all_of(row.begin(), row.end(), [](double v) { return std::isfinite(v); }))
        return false;
    std::copy(row.begin(), row.end(), slot);
    return true;
}

void writeSRow(const std::string& name, const double* slot, int values) {
    const std::string scratch = name + ".new" + std::to_string(getpid());
    if (writeWholeFile(scratch, formatNumbers(slot, values)) &&
        rename(scratch.c_str(), name.c_str()) == 0)
        return;
    std::remove(scratch.c_str());
}

// Row o into the slot: read from its file when there is one; otherwise computed, unless the slot
// holds it already, and written when the directory takes new rows.
void fillSlot(double* row, int o, const std::string& dir, bool computed) {
    const int NOrbit = getNOrbit();
    const std::string name = dir.empty() ? "" : rowFileName(dir.c_str(), o);
    if (!dir.empty() && readSRow(name, row, 2 * NOrbit))
        return;
    if (!computed)
        for (int k = 0; k < NOrbit; k++)
            orbitStartS(o, k, &row[k], &row[NOrbit + k]);
    if (mayWriteInto(dir))
        writeSRow(name, row, 2 * NOrbit);
}

// Until a first row is seen: a full-length hexadecimal double and its blank.
constexpr double GuessedBytesPerNumber = 23.0;
double BytesPerNumber = GuessedBytesPerNumber;

// The disk cache of compSBaseFromDisk: MaxRow slots of a row each (real parts, then imaginary).
struct SRowCache {
    GuardedArray<double> SBaseData{"SBaseData", &RowAlloc};
    std::vector<int> StoreInfo, LastCalls;
    int MaxRow = 0;
    int CallSeq = -1;
    int last_row = -1;
    bool cached = false; // false: not even two rows fit; every element is computed
    std::string Sdir;
};
SRowCache SRows;

// The entry of orbit other in the row held by slot s.
void fromSlot(int s, int other, double* Re, double* Im) {
    const int NOrbit = getNOrbit();
    const double* row = SRows.SBaseData.X + static_cast<std::size_t>(s) * 2 * NOrbit;
    *Re = row[other];
    *Im = row[NOrbit + other];
}

void lowerCallNumbers() {
    SRows.CallSeq -= 1000000000;
    for (int& c : SRows.LastCalls)
        if (c >= 0)
            c = c > 1000000000 ? c - 1000000000 : 0;
}

void loadIntoCache(int o, int other, double* Re, double* Im) {
    const int s = getReUsableRow(SRows.LastCalls.data(), SRows.CallSeq, SRows.MaxRow);
    for (int& slot : SRows.StoreInfo)
        if (slot == s)
            slot = -1;
    getSBaseRow(SRows.SBaseData.X, SRows.MaxRow, s, o, SRows.Sdir.c_str());
    SRows.StoreInfo[o] = s;
    SRows.LastCalls[s] = SRows.CallSeq;
    fromSlot(s, other, Re, Im);
}

void setUpDiskRows() {
    const int NOrbit = getNOrbit();
    SRows.last_row = -1;
    SRows.CallSeq = -1;
    SRows.StoreInfo.assign(NOrbit, -1);
    SRows.MaxRow = std::min(CacheEntries / std::max(NOrbit, 1), NOrbit);
    SRows.cached = SRows.MaxRow >= 2 || NOrbit < 2;
    if (!SRows.cached) {
        Alert("compSBaseFromDisk", 0, 112210, "Insufficient space for orbit S storage");
        return;
    }
    SRows.SBaseData.reserve(SRows.MaxRow * 2 * NOrbit);
    SRows.LastCalls.assign(SRows.MaxRow, -1);
    // The first row, which stays, tells what all rows would take on disk before any is written.
    double* first = SRows.SBaseData.X;
    for (int k = 0; k < NOrbit; k++)
        orbitStartS(0, k, &first[k], &first[NOrbit + k]);
    const double rowBytes = static_cast<double>(formatNumbers(first, 2 * NOrbit).size());
    BytesPerNumber = rowBytes / (2.0 * NOrbit);
    SRows.Sdir = rowDirectory(".sdir", "S", rowBytes * NOrbit);
    fillSlot(first, 0, SRows.Sdir, true);
    SRows.StoreInfo[0] = 0;
    SRows.LastCalls[0] = 0;
}

// ---- P rows ----

// Waits for the lock; false when the file cannot be locked.
bool lockWhole(int fd, short type) {
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = 0;
    fl.l_len = 0;
    while (fcntl(fd, F_SETLKW, &fl) != 0)
        if (errno != EINTR)
            return false;
    return true;
}

void unlockWhole(int fd) {
    lockWhole(fd, F_UNLCK);
}

std::string readDescriptor(int fd) {
    std::string text;
    lseek(fd, 0, SEEK_SET);
    char block[65536];
    for (ssize_t n; (n = read(fd, block, sizeof block)) > 0;)
        text.append(block, static_cast<std::size_t>(n));
    return text;
}

bool writeDescriptor(int fd, const std::string& text) {
    lseek(fd, 0, SEEK_SET);
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return ftruncate(fd, static_cast<off_t>(text.size())) == 0;
}

} // namespace

namespace modular_internal {

std::string theoryIdentity() {
    std::string id = "theory " + std::string(getCFTname()) + "\n";
    if (SpectrumData* sd = currentBlock())
        id += "block " + std::to_string(sd->type) + " " + std::to_string(sd->rank) + " " +
              std::to_string(sd->level) + " " + std::to_string(sd->permutation_order) + "\n";
    else
        id += describeProduct();
    id += "fields " + std::to_string(totalPrimaries()) + " orbits " + std::to_string(getNOrbit()) +
          " currents " + std::to_string(groupOrder()) + "\n";
    return id + "fingerprint " + fingerprint() + "\n";
}

double rowBytesPerNumber() {
    return BytesPerNumber;
}

std::string rowDirectory(const char* postfix, const char* what, double rowBytes) {
    const bool forS = what[0] == 'S';
    const std::string base = directoryBase();
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(base).parent_path(), ec);
    const std::string identity = theoryIdentity();
    for (int n = 1; n <= MaxAlternatives; n++) {
        std::string name = base;
        if (n > 1)
            name.append("_").append(std::to_string(n));
        name.append(postfix);
        const bool exists = access(name.c_str(), F_OK) == 0;
        if (exists) {
            const Claim claim = claimExisting(name, identity);
            if (claim == Claim::Failed)
                break;
            if (claim == Claim::Foreign)
                continue;
        }
        std::erase(ReadOnlyDirs, name);
        if (!diskGranted(forS, name, rowBytes - (exists ? bytesIn(name) : 0.0))) {
            Print("No %s-matrix rows are written to disk\n", what);
            // Rows already there are still read; without any, the rows stay in memory.
            if (!exists)
                return "";
            ReadOnlyDirs.push_back(name);
        }
        bool created = false;
        if (!exists) {
            const Claim claim = claimDirectory(name, identity, &created);
            if (claim == Claim::Failed)
                break;
            if (claim == Claim::Foreign)
                continue;
        }
        if (created)
            Print(forS ? "Creating directory %s for S matrix\n"
                       : "Creating directory %s for P matrix\n",
                  name.c_str());
        else
            Print(forS ? "Reading existing S-matrix from %s\n"
                       : "Reading existing P-matrix from %s\n",
                  name.c_str());
        return name;
    }
    // The rows then stay in memory: the theory is served, only not shared.
    if (forS)
        Alert("compSBaseFromDisk", 1, 120406, "S-matrix directory not created");
    else
        Alert("initOrbitPmatrix", 1, 120406, "P-matrix directory could not be not created");
    return "";
}

} // namespace modular_internal

int rowFileThreshold() {
    return RowThreshold;
}

void setRowFileLimits(int orbits, int entries) {
    RowThreshold = orbits > 0 ? orbits : DefaultThreshold;
    CacheEntries = entries > 0 ? entries : DefaultCacheEntries;
}

// ============================================================ S rows

void compSBaseFromDisk(int o1, int o2, double* Re, double* Im) {
    if (o1 == -1) {
        setUpDiskRows();
        return;
    }
    if (!SRows.cached) {
        orbitStartS(o1, o2, Re, Im);
        return;
    }
    if (++SRows.CallSeq > 1999999999)
        lowerCallNumbers();
    for (int pass = 0; pass < 2; pass++) {
        const int o = pass == 0 ? o1 : o2;
        const int s = SRows.StoreInfo[o];
        if (s >= 0) {
            SRows.LastCalls[s] = SRows.CallSeq;
            fromSlot(s, pass == 0 ? o2 : o1, Re, Im);
            return;
        }
    }
    // A row comes in when a request names the orbit of the last element computed directly.
    if (o1 == SRows.last_row) {
        loadIntoCache(o1, o2, Re, Im);
        return;
    }
    if (o2 == SRows.last_row) {
        loadIntoCache(o2, o1, Re, Im);
        return;
    }
    SRows.last_row = o2;
    orbitStartS(o1, o2, Re, Im);
}

int getReUsableRow(int* LastCalls, int CallSeq, int MaxRow) {
    for (int s = 1; s < MaxRow; s++)
        if (LastCalls[s] == -1)
            return s;
    for (int s = 1; s < MaxRow; s++)
        if (CallSeq - LastCalls[s] >= MaxRow - 1)
            return s;
    Alert("getReUsableRow", 0, 100216, "No suitable row found for S orbit data; returning 1");
    std::printf("Last calls[1,...]");
    for (int s = 1; s < MaxRow; s++)
        std::printf(" %d", LastCalls[s]);
    std::printf("\nCallSeq: %d\n", CallSeq);
    return 1;
}

void getSBaseRow(double* SBaseData, int, int slot, int o, const char* Sdir) {
    fillSlot(SBaseData + static_cast<std::size_t>(slot) * 2 * getNOrbit(), o, Sdir ? Sdir : "",
             false);
}

// ============================================================ P rows

int getPBaseRow(double* row, int o, int size, const char* Pdir) {
    if (getNOrbit() < RowThreshold || !Pdir || Pdir[0] == '\0')
        return 0;
    const std::string name = rowFileName(Pdir, o);
    if (!isPlainFile(name))
        return 0;
    const int fd = open(name.c_str(), O_RDONLY);
    if (fd < 0)
        return 0;
    std::string text;
    // A writer holds the whole file while it rewrites it: the shared lock sees a whole row.
    if (lockWhole(fd, F_RDLCK)) {
        text = readDescriptor(fd);
        unlockWhole(fd);
    }
    close(fd);
    const int count = parseNumbers(text, row, 2 * size);
    if (count < 2 * size) {
        Alert("getPBaseRow", 0, 212404, "Unexpected end of Pbase file; i=%d", count);
        return 0;
    }
    for (int e = 0; e < count; e++)
        if (!std::isfinite(row[e]))
            std::printf("Infinite value for lbl=%d,size=%d,i=%d\n", o, size, e);
    return 1;
}

void writePBaseRow(double* row, int o, int size, const char* Pdir) {
    if (!Pdir || !mayWriteInto(Pdir))
        return;
    const std::string name = rowFileName(Pdir, o);
    // Opened without truncation: the content goes only while the lock is held.
    const int fd = open(name.c_str(), O_RDWR | O_CREAT, 0666);
    if (fd < 0) {
        Alert("writePBaseRow", 0, 100201, "Cannot write P-matrix row %s; the row stays in memory",
              name.c_str());
        return;
    }
    if (!lockWhole(fd, F_WRLCK)) {
        close(fd);
        Alert("writePBaseRow", 1, 100201, "Cannot lock P-matrix row %s; the row stays in memory",
              name.c_str());
        return;
    }
    std::vector<double> stored(2 * static_cast<std::size_t>(size));
    const int count = parseNumbers(readDescriptor(fd), stored.data(), 2 * size);
    for (int e = 0; e < count; e++)
        if (row[e] < -2.0 && stored[e] > -2.0)
            row[e] = stored[e];
    if (!writeDescriptor(fd, formatNumbers(row, 2 * size)) || fsync(fd) != 0)
        Alert("writePBaseRow", 2, 100201, "P-matrix row %s not written completely", name.c_str());
    unlockWhole(fd);
    close(fd);
}
