// Sign-flip files: the signs a solution gives each signature, kept per class of the orbifold
// rank, so that signs found for one rank fix the gauge of another and can be compared with
// closed formulas. A written file is kept only when its records agree with each other.
#include "fusing/Fusing.h"
#include "fusing/FusingInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/SystemUtility.h"
#include "numeric/EquationCollections.h"
#include "numeric/MathUtility.h"
#include "numeric/VectorUtility.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

using fusing::SignDigits;

int Iterate = 0;

namespace {

using SignRecord = std::array<int, 12>;
using Signature = std::array<int, 11>;

Signature signatureOf(const SignRecord& r) {
    Signature s{};
    std::copy(r.begin(), r.begin() + 11, s.begin());
    return s;
}

// Records identified by their signature; the first record of a signature counts.
class SignRecords {
public:
    void clear() {
        rows.clear();
        index.clear();
    }
    bool insert(const SignRecord& r) {
        if (!index.emplace(signatureOf(r), rows.size()).second)
            return false;
        rows.push_back(r);
        return true;
    }
    const SignRecord* find(const int* signature) const {
        Signature s{};
        std::copy(signature, signature + 11, s.begin());
        auto it = index.find(s);
        return it == index.end() ? nullptr : &rows[it->second];
    }
    const std::vector<SignRecord>& all() const { return rows; }

private:
    std::vector<SignRecord> rows;
    std::map<Signature, std::size_t> index;
};

std::string FlippedVarInputFile;
int FlippedVarOutputFileCounter = 0;
bool inputRead = false;
SignRecords GenericSignInfo, GenericSignInfoOutput;

bool readWholeFile(const char* name, std::string& text) {
    FILE* ifp = Fopen(name, "r");
    if (!ifp)
        return false;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, ifp)) > 0)
        text.append(buffer, n);
    const bool failed = std::ferror(ifp) != 0;
    Fclose(ifp);
    if (failed)
        Alert("getSignFlipFromFile", 2, 120306, "Could not read file \"%s\"", name);
    return !failed;
}

// A decimal integer as "%d" reads it, with nothing after it.
bool parseInteger(const std::string& token, int& value) {
    const char* first = token.data();
    const char* last = first + token.size();
    if (token.size() > 1 && token[0] == '+' && token[1] != '-')
        first++;
    const auto [end, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && end == last;
}

// Line breaks do not matter; a record cut short by the end is dropped with a report.
bool readSignFlipFile(const char* name, SignRecords& records) {
    std::string text;
    if (!readWholeFile(name, text))
        return false;
    std::istringstream in(text);
    std::string token;
    SignRecord r{};
    std::size_t filled = 0;
    std::vector<SignRecord> read;
    while (in >> token) {
        if (!parseInteger(token, r[filled])) {
            Alert("getSignFlipFromFile", 1, 112315, "Not an integer in sign-flip file %s: %s", name,
                  token.c_str());
            return false;
        }
        if (++filled == r.size()) {
            read.push_back(r);
            filled = 0;
        }
    }
    if (filled > 0)
        Alert("readVectorFromFile", 0, 112315, "Premature end-of-file");
    for (const SignRecord& record : read)
        records.insert(record);
    return true;
}

bool fileExists(const char* name) {
    struct stat info;
    return stat(convertFileName(name), &info) == 0 || errno != ENOENT;
}

bool noInputFile() {
    return FlippedVarInputFile.empty() || FlippedVarInputFile == "begin";
}

void readInputOnce() {
    if (inputRead)
        return;
    GenericSignInfo.clear();
    if (noInputFile())
        return;
    // A name without file is only the stem of the output names.
    if (fileExists(FlippedVarInputFile.c_str()) &&
        readSignFlipFile(FlippedVarInputFile.c_str(), GenericSignInfo)) {
        std::printf("Finished reading\n");
        std::fflush(stdout);
    }
    // A file that went missing is reported once, not at every lookup.
    inputRead = true;
}

int currentRank() {
    return fusing::orbifoldRank();
}

} // namespace

namespace fusing {

SignDigits signDigits(int code) {
    const int l = ((code % 3) + 3) % 3;
    const int h = (code - l) / 3;
    auto known = [](int d) { return d == 1 || d == 2 ? d : 0; };
    return {known(h), known(l)};
}

int currentClassDigit(SignDigits digits) {
    return currentRank() % 4 < 2 ? digits.h : digits.l;
}

bool hasWrappedChannel(const int* signature) {
    return !(signature[1] == 1 && signature[2] == 1 && signature[3] == 1 && signature[4] == 1);
}

int storedSignCode(const int* signature) {
    readInputOnce();
    const SignRecord* r = GenericSignInfo.find(signature);
    return r ? (*r)[11] : 0;
}

} // namespace fusing

void setFlippedVarInputFile(const char* txt) {
    FlippedVarInputFile = txt ? txt : "";
    Iterate = 1;
    inputRead = false;
    FlippedVarOutputFileCounter = 0;
}

int checkSignFlipFile(const char* txt) {
    if (!txt || std::strcmp(txt, "begin") == 0 || !fileExists(txt))
        return 1;
    SignRecords records;
    return readSignFlipFile(txt, records) ? 1 : 0;
}

int getSignFlipFromFile(int p, int q, int a, int b, int c, int d) {
    if (p == -2) {
        inputRead = false;
        return 0;
    }
    const int labels[6] = {p, q, a, b, c, d};
    int signature[11];
    computeSignatureForLabels(labels, signature);
    const int code = fusing::storedSignCode(signature);
    switch (fusing::currentClassDigit(fusing::signDigits(code))) {
    case 1:
        return 1;
    case 2:
        return -1;
    default:
        return 0;
    }
}

// ---- Writing a solution ----

int addSignFlipEquation(VectorSpace* Pattern, int s1, int s2, int* flip, int* vec) {
    if (s1 == 0) {
        if (s2 == 0 || *flip == -1)
            return 0;
        vec[7] = (s2 + *flip + 1) % 2;
        return CollectCyclicEquations(Pattern, vec, 2);
    }
    if (s2 != 0)
        *flip = s1 != s2 ? 1 : 0;
    vec[7] = (s1 + 1) % 2;
    return CollectCyclicEquations(Pattern, vec, 2);
}

namespace {

VectorSpace Pattern = declareVectorSpace("Pattern", 20);

void printPatternEquations() {
    for (int k = 0; k < Pattern.Nfill; k++)
        PrintVec(8, rowOf(&Pattern, k), "     Eqn");
}

bool sameChannels(const SignRecord& r, const SignRecord& s) {
    return std::equal(r.begin() + 1, r.begin() + 5, s.begin() + 1);
}

// Within one type the relative sign of the two rank classes must be the same for every record
// with a wrapped channel.
bool relativeSignAgrees(const SignRecord& r, SignDigits d, int& R) {
    if (!fusing::hasWrappedChannel(r.data())) {
        R = 0;
        return true;
    }
    if (d.h == 0 || d.l == 0)
        return true;
    const int product = d.h == d.l ? 1 : -1;
    if (R == 0) {
        R = product;
        return true;
    }
    return product == R;
}

void writeRecord(const SignRecord& r, SignDigits d, FILE* ofp) {
    for (int x : r)
        std::fprintf(ofp, "%d ", x);
    std::fprintf(ofp, "\n");
    for (int k = 1; k <= 10; k++)
        Print("  %d", r[k]);
    static const char* const hText[] = {"  X ", "  1 ", " -1 "};
    static const char* const lText[] = {"  X\n", "  1\n", " -1\n"};
    Print("%s%s", hText[d.h], lText[d.l]);
}

// What the check of a type found wrong, reported once the failed file is gone (the report may
// end the program).
constexpr int signInconsistency = -2;

// Writes the records of type l, greatest signature first, and checks them: -1 or
// signInconsistency when they contradict each other.
int PrintOrderedOutput(std::vector<SignRecord> OUTPUT, int l, FILE* ofp) {
    if (OUTPUT.empty())
        return 0;
    Print("Results for type %s\n", getVariableTypeName(l));
    initEquationCollection(&Pattern, 7, 20);
    std::sort(OUTPUT.begin(), OUTPUT.end(), [](const SignRecord& a, const SignRecord& b) {
        return compareVec(11, a.data(), b.data()) > 0;
    });
    int R = 0, F = -1;
    const SignRecord* previous = nullptr;
    for (const SignRecord& r : OUTPUT) {
        const SignDigits d = fusing::signDigits(r[11]);
        if (!relativeSignAgrees(r, d, R))
            return signInconsistency;
        int vec[9] = {r[5], r[6], r[7], r[8], r[9], r[10], 1, 0, 0};
        if (!previous || !sameChannels(r, *previous)) {
            if (previous)
                printPatternEquations();
            initEquationCollection(&Pattern, 7, 20);
            F = d.h == 0 || d.l == 0 ? -1 : d.h != d.l ? 1 : 0;
            if (d.h != 0) {
                vec[7] = (d.h + 1) % 2;
                if (CollectCyclicEquations(&Pattern, vec, 2) < 0)
                    Print("FIRST EQUATION INCONSISTENT\n");
            }
        } else if (addSignFlipEquation(&Pattern, d.h, d.l, &F, vec) < 0) {
            Print("EQUATIONS INCONSISTENT\n");
            return -1;
        }
        writeRecord(r, d, ofp);
        previous = &r;
    }
    printPatternEquations();
    return 0;
}

// A file written beside its final name and put in place only when complete, so that a failed
// check leaves an older file of that name as it was.
class PendingFile {
public:
    explicit PendingFile(const char* name) : finalPath(convertFileName(name)) {
        tempPath = finalPath + ".XXXXXX";
        const int fd = mkstemp(tempPath.data());
        if (fd < 0) {
            tempPath.clear();
            return;
        }
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, 0666 & ~mask);
        ofp = fdopen(fd, "w");
        if (!ofp)
            close(fd);
    }
    ~PendingFile() { discard(); }
    void discard() {
        if (ofp)
            std::fclose(ofp);
        ofp = nullptr;
        if (!tempPath.empty() && !kept)
            unlink(tempPath.c_str());
        tempPath.clear();
    }
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    FILE* stream() const { return ofp; }
    bool keep() {
        const bool written = std::fflush(ofp) == 0 && !std::ferror(ofp);
        const bool closed = std::fclose(ofp) == 0;
        ofp = nullptr;
        kept = written && closed && std::rename(tempPath.c_str(), finalPath.c_str()) == 0;
        return kept;
    }

private:
    std::string finalPath, tempPath;
    FILE* ofp = nullptr;
    bool kept = false;
};

void printFlippedVarInfo() {
    const std::string name = (noInputFile() ? std::string() : FlippedVarInputFile) +
                             std::to_string(FlippedVarOutputFileCounter++);
    PendingFile file(name.c_str());
    if (!file.stream()) {
        Alert("printFlippedVarInfo", 0, 120306, "Could not open file \"%s\"", name.c_str());
        return;
    }
    Print("Writing file %s\n", name.c_str());
    const int* order = getVariableTypeOrder();
    for (int k = 0; k < 100 && order[k] != -1; k++) {
        std::vector<SignRecord> OUTPUT;
        for (const SignRecord& r : GenericSignInfoOutput.all())
            if (r[0] == order[k])
                OUTPUT.push_back(r);
        const int checked = PrintOrderedOutput(OUTPUT, order[k], file.stream());
        if (checked < 0) {
            file.discard();
            if (checked == signInconsistency)
                Alert("PrintOrderedOutput", 0, 212404, "SIGN INCONSISTENCY\n");
            return;
        }
    }
    Print("\n\n");
    std::fprintf(file.stream(), "\n");
    if (!file.keep())
        Alert("printFlippedVarInfo", 1, 120306, "Could not write file \"%s\"", name.c_str());
}

} // namespace

int AnalyseSignFlips(const int* vars) {
    GenericSignInfoOutput.clear();
    const int rank = currentRank();
    for (int v = 0; v < PentagonVariables.Nfill; v++) {
        SignRecord r{};
        computeSignatureForLabels(rowOf(&PentagonVariables, v), r.data());
        if (GenericSignInfoOutput.find(r.data()))
            continue;
        r[11] = convertSignInfo(fusing::storedSignCode(r.data()), rank, vars[v]);
        GenericSignInfoOutput.insert(r);
    }
    // A written file carries every sign it was given.
    for (const SignRecord& r : GenericSignInfo.all())
        GenericSignInfoOutput.insert(r);
    printFlippedVarInfo();
    return 1;
}

// ---- Comparison with a gauge ----

namespace {

// The value of an unknown under one gauge setting, without flips.
double valueInGauge(const int* labels, int choice, int parameter) {
    GaugeChoice = choice;
    GaugeChoiceParameter = parameter;
    return getFusingVariableValue(labels);
}

} // namespace

int CheckFusingSignChoice(const char* file, int gauge) {
    // The solver's own input stays as it was read.
    SignRecords records;
    if (!readSignFlipFile(file, records))
        return 0;
    getPentagonVariables(fusingLabelBound());
    const int savedChoice = GaugeChoice;
    const int savedFlipped = UseFlippedVariables;
    UseFlippedVariables = 0;
    for (int v = 0; v < PentagonVariables.Nfill; v++) {
        const int* labels = rowOf(&PentagonVariables, v);
        const double A = valueInGauge(labels, 1, 0);
        const double B = valueInGauge(labels, 2, gauge);
        GaugeChoice = savedChoice;
        const int ratio = B == 0.0 ? 0 : DoubleToInt(A / B);
        int signature[11];
        computeSignatureForLabels(labels, signature);
        const SignRecord* r = records.find(signature);
        const SignDigits d = fusing::signDigits(r ? (*r)[11] : 0);
        const int digit = fusing::currentClassDigit(d);
        const char* type = getVariableTypeName(signature[0]);
        if (digit == 0) {
            printVec(6, labels, "-->");
            Alert("CheckFusingSignChoice", 0, 212404, "Sign not in database (type %s)", type);
            continue;
        }
        if (ratio == (digit == 1 ? 1 : -1))
            continue;
        printVec(6, labels, "-->");
        printVec(11, signature, "Signature");
        std::printf("A=%15.7f; B=%15.7f; s1=%d; s2=%d\n", A, B, d.h, d.l);
        std::fflush(stdout);
        Alert("CheckFusingSignChoice", 1, 212404, "Sign discrepancy (type %s)", type);
    }
    UseFlippedVariables = savedFlipped;
    return 1;
}
