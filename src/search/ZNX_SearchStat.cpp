#include "search/ZNX_SearchStat.h"

#include "base/Output.h"
#include "base/SystemUtility.h"
#include "boundary/CrossBound.h"
#include "interpreter/IntCommandsStatus.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "modular/ModularFileNames.h"
#include "search/ZNX_SearchInternal.h"
#include "search/ZNX_SearchSM.h"
#include "string/SearchPreselection.h"
#include "string/SearchSetup.h"
#include "string/StringTheory.h"
#include "string/Tadpole.h"
#include "tensor/Coset.h"

#include <cstdarg>
#include <cstdlib>
#include <ctime>
#include <string>

using namespace quartet;

namespace {

struct Stamp {
    double version = 0.0;
    std::string date;
    std::string time;
};
Stamp ProgramStamp;

// The files that a new search moves aside, in this order; ".trace" stays.
constexpr const char* RotatedSuffixes[] = {".msol", ".glob", ".err", ".att",
                                           ".tpi",  ".hsol", ".stat"};

std::string outputName(const char* suffix) {
    return getCurrentOutputFileName(suffix);
}

const BulkInvariant* currentBulk() {
    BulkInvariant** current = parameters().CurrentBulk;
    return current ? *current : nullptr;
}

std::string nowText() {
    const std::time_t now = std::time(nullptr);
    return std::ctime(&now);
}

// Appends text to an existing or new file; nothing when it cannot be opened.
void appendTo(const char* suffix, const std::string& text) {
    const std::string name = outputName(suffix);
    if (FILE* f = Fopen(name.c_str(), "a")) {
        std::fputs(text.c_str(), f);
        Fclose(f);
    }
}

__attribute__((format(printf, 1, 2))) std::string formatted(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    std::string text = formatText(fmt, ap);
    va_end(ap);
    return text;
}

std::string invariantLine(const char* txt) {
    return formatted("Invariant %4s; %s\n", invariantSuffix(currentBulk()), txt);
}

std::string timeLine() {
    return formatted("-----------------------------------------------\nTime: %7.2f sec. (%s), "
                     "Memory: %7.1f Mb.\n",
                     CPUTime(), getCurrentHostName(),
                     static_cast<double>(getMemoryStatistics()) / 1e6);
}

std::string finishedLine() {
    return formatted("< Finished; Total time %6.2f sec. (Version %5.4f)", CPUTime(),
                     ProgramStamp.version);
}

// Entries 1, 2 and 0 of the heterotic summary; -1 each without one.
void writeBulkLine(FILE* f, const int* hetero) {
    const SearchData* SD = state().SD;
    const int h1 = hetero ? hetero[1] : -1, h2 = hetero ? hetero[2] : -1,
              h0 = hetero ? hetero[0] : -1;
    std::fprintf(f, "> %4s %5d %5d %5d %3d %3d %3d %3d > ", invariantSuffix(currentBulk()),
                 SD ? SD->Ishi : 0, getNumberOfIshiOrbits(), getNumberOfBoundaryOrbits(),
                 SD ? SD->Ori : 0, h1, h2, h0);
}

void writeHeader(FILE* f, const std::string& host, const std::string& started, const int* hetero) {
    std::fprintf(f, "Tensor product: %lld\n", static_cast<long long>(fileIdentifier()));
    std::fprintf(f, "Primaries: %d, Currents: %d, Invariants: %d\n", getTotalPrimaries(),
                 getTotalCurrents(), TotalInvariants());
    printInvariantSelectionCriteria(f);
    printTadpoleCriteria(f);
    printSearchCriteria(f);
    std::fprintf(f, "Types considered: ");
    for (const int* t = getTypeList(); *t != -1; t++)
        std::fprintf(f, "%d ", *t);
    std::fprintf(f, "\n");
    std::fprintf(f, "Version %5.3f, compiled on %s, at %s\n", ProgramStamp.version,
                 ProgramStamp.date.c_str(), ProgramStamp.time.c_str());
    std::fprintf(f, "Started on %s at %s", host.c_str(), started.c_str());
    const char* cpu = std::getenv("CPUFREQ");
    std::fprintf(f, "CPU: %s\n", cpu ? cpu : "unknown");
    std::fprintf(f, "CPU Time used for initialization: %7.2f\n", CPUTime());
    std::fprintf(f, "%s\n", std::string(47, '-').c_str());
    writeBulkLine(f, hetero);
}

// The entry of one orientifold, and the count check behind it.
std::string statEntry(int seq, int type, const int* c) {
    std::string entry = formatted("%3d:%d(%d)<%d+,%d->", seq, type, c[0], c[1], c[2]);
    if (c[1] + c[2] != c[0])
        entry += formatted("(%d,%d,%d,%d)", c[3], c[4], c[5], c[7]);
    if (c[6] != 0)
        entry += formatted("[%d]", c[6]);
    return entry;
}

bool standardListHead() {
    const int* list = getTypeList();
    const int* std = getStdTypeList();
    for (int i = 0; i < 8; i++) {
        if (list[i] != std[i])
            return false;
        if (list[i] == -1)
            break;
    }
    return true;
}

} // namespace

void setStatFileStamp(double version, const char* date, const char* time) {
    ProgramStamp = {version, date ? date : "", time ? time : ""};
}

void initStatFile() {
    const std::string host = getCurrentHostName();
    const std::string started = nowText();
    const int* hetero = getHeteroticSpectrumInfo();
    for (const char* suffix : RotatedSuffixes)
        moveOldFile(outputName(suffix).c_str());
    const std::string name = outputName(".stat");
    std::printf("Writing to file %s\n", name.c_str());
    if (FILE* f = Fopen(name.c_str(), "w")) {
        writeHeader(f, host, started, hetero);
        Fclose(f);
    }
}

void writeMIPFDataToStatFile() {
    const SearchData* SD = state().SD;
    const BulkInvariant* bi = currentBulk();
    std::string line = formatted("%5d | ", SD ? SD->bndcnt : 0);
    if (bi && bi->MD) {
        const SCData* MD = bi->MD;
        line += formatted("%d%d%d%d ", MD->SymmetryRequired, MD->Automorphism, MD->Extension,
                          MD->RejectPermutations);
        line += formatted("%d %d | ", MD->AutoSelect, MD->Ngen);
        for (int g = 0; g < MD->Ngen && MD->Generators.X; g++)
            line += formatted("%d ", MD->Generators[g]);
    }
    appendTo(".stat", line + "\n");
}

void writeStat(int type) {
    const SearchData* SD = state().SD;
    const BulkInvariant* bi = currentBulk();
    if (!SD || !bi || bi->name.find("Invariant_") == std::string::npos)
        return;
    bool any = false;
    for (int o = 0; o < SD->Ori_eff; o++)
        any = any || getStat(o, type, 0) != 0;
    if (!any)
        return;
    const bool listFirst = !standardListHead() && state().Quartets.empty();
    std::string line = formatted("    Type %d: ", type);
    for (int o = 0; o < SD->Ori_eff; o++) {
        int c[StatCounters];
        for (int k = 0; k < StatCounters; k++)
            c[k] = getStat(o, type, k);
        const int seq = SD->OI[o]->SequenceNumber;
        const int sum = c[1] + c[2] + c[3] + c[4] + c[5] + c[7];
        if (sum != c[0])
            writeTadpoleError(
                formatted("Count error: ori=%d type=%d (%d != %d)", seq, type, sum, c[0]).c_str());
        if (c[0] != 0 || (o == 0 && listFirst))
            line += statEntry(seq, type, c);
    }
    appendTo(".stat", line + "\n");
}

void closeStatFile(int mode) {
    std::string text;
    switch (mode) {
    case 1:
        text = "\nNon-chiral extended theory\n" + finishedLine() + "\n" + timeLine();
        break;
    case 2:
        text = "\nBoundary error\n" + timeLine();
        break;
    case 3:
        text = "\nToo few usable boundaries\n" + finishedLine() + "\n" + timeLine();
        break;
    case 4:
    case 6:
        if (getSolutionCountPerMIPF() > 0)
            text = formatted("< Finished; Total time %6.2f sec (Version %5.4f); %d solutions\n",
                             CPUTime(), ProgramStamp.version, getSolutionCountPerMIPF());
        else
            text = finishedLine() + "\n";
        text += timeLine();
        if (mode == 6)
            text += formatted("READ %d; ACCEPTED %d\n", state().READ_OLD, state().ACCEPTED);
        break;
    case 5:
        if (getOrientifoldPreselection() == -1 && getBoundary_a_Preselection() == -1)
            text = formatted("\nNumber of solutions added: %d (aborted %d) on %s\n",
                             getSolutionCountPerMIPF(), getAbortCount(), nowText().c_str());
        else
            text = formatted("\nNumber of solutions added: %d (partial search) on %s\n",
                             getSolutionCountPerMIPF(), nowText().c_str());
        break;
    default:
        text = timeLine();
    }
    appendTo(".stat", text);
}

void writeTadpoleError(const char* txt) {
    appendTo(".err", invariantLine(txt));
}

void writeGlobalAnomalyInfo(const char* txt) {
    appendTo(".glob", txt);
}

void writeTadpoleTrace(const char* txt) {
    appendTo(".trace", std::string(txt) + "\n");
}
