// The driver of the generic standard-model search: its files and their preparation, the loop
// over orientifolds and colour stacks, the context of the current bulk invariant the chain reads,
// the closing summary, and the entry from the tachyon analysis.
#include "base/Error.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "base/SystemUtility.h"
#include "boundary/CrossBound.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "modular/ModularFileNames.h"
#include "numeric/MathUtility.h"
#include "search/SearchSMGeneric.h"
#include "string/Anomalies.h"
#include "string/Intersections.h"
#include "string/OpenSpectrum.h"
#include "string/OpenSpectrumAnalysis.h"
#include "string/SearchPreselection.h"
#include "string/SearchSetup.h"
#include "string/StringTheory.h"
#include "string/Tadpole.h"
#include "string/TadpoleSolver.h"
#include "tensor/Branching.h"
#include "tensor/Coset.h"

#include <cmath>
#include <cstring>
#include <numbers>
#include <string>
#include <unistd.h>
#include <vector>

SMinfo SM;

namespace {

GenericSearchContext* Context = nullptr;
GenericSearchSettings Settings;
GenericSearchRun Run;
int FirstBoundary = -1;
int LastBoundary = -1;
ModelNumbersHook numbersHook = nullptr;
ModelScanHook scanHook = nullptr;
CurrentCYPrinter cyPrinter = nullptr;

const int* SuperSwitch = nullptr;
const int* OriInfo = nullptr;
const int* ShowSuccess = nullptr;
const int* TadpoleVerbose = nullptr;
const int* NfamilyPar = nullptr;
const int* MaxConfPar = nullptr;

VectorSpace AlreadyAnalysed_0 = declareVectorSpace("Already analysed", 10000);

// The parameters as bound at start-up, read into the settings at the start of a search.
void readSettings() {
    const auto value = [](const int* p, int fallback) { return p ? *p : fallback; };
    Settings.infoLevel = value(ShowSuccess, 0);
    Settings.tadpoleInfo = value(TadpoleVerbose, 0);
    Settings.Nfamily = value(NfamilyPar, 3);
    Settings.maxConf = value(MaxConfPar, 1000000000);
}

// ---------------------------------------------------------------- the theory's context

class CurrentInvariantContext : public GenericSearchContext {
public:
    void bind(SearchData* sd, int ori, bool susy) {
        SD = sd;
        Ori = ori;
        Susy = susy;
        OI = SD->OI[ori];
        setStoredOrientifold(ori);
        loadOrientifoldConjugates(OI, 0);
        const std::size_t n = static_cast<std::size_t>(SD->Bnd);
        Tension.assign(n, std::nan(""));
        Diagonal.assign(3 * n, Unknown);
        const std::size_t u = static_cast<std::size_t>(SD->bndcnt);
        Pairs.assign(SD->bndcnt <= PairCacheLimit ? 2 * u * u : 0, NotCached);
        Allow = Avoid = nullptr;
        if (!susy) {
            getTachyonFreeBoundaryLabels(OI, &Allow, &Avoid);
            TachyonicIntersection(OI, -1, 0);
        }
        double re = 0, im = 0;
        getCurrentCrosscapCoefficient(0, 0, &re, &im);
        Gamma0 = re;
        collectIshibashiLabels();
    }

    int usableCount() override { return SD->bndcnt; }
    int usableLabel(int j) override { return SD->InverseBoundaryMap[j]; }
    int conjugate(int x) override { return OI->Conjugates[x]; }
    int groupType(int x) override { return OI->GroupTypes[x]; }
    double tension(int x) override {
        double& t = Tension[static_cast<std::size_t>(x)];
        if (std::isnan(t)) {
            double im = 0;
            getCurrentReflectionCoefficient(0, x, &t, &im);
        }
        return t;
    }
    void diagonal(int x, int* Ann, int* Moe, int* Adj) override {
        int* d = &Diagonal[3 * static_cast<std::size_t>(x)];
        if (d[0] == Unknown)
            getDiagonalInfo(Ori, x, &d[0], &d[1], &d[2]);
        *Ann = d[0];
        *Moe = d[1];
        *Adj = d[2];
    }
    void intersection(int x, int y, int* G, int* D) override { BraneIntersection(Ori, x, y, G, D); }
    int maximalCP(int x) override { return MaximalCPGroup(x, Ori); }
    double crosscap() override { return Gamma0; }
    bool allowed(int x) override { return !Allow || findInList(Allow, x) >= 0; }
    bool avoided(int x) override { return Avoid && findInList(Avoid, x) >= 0; }
    int usedIshibashiCount() override { return static_cast<int>(Used.size()); }
    double ishibashiPhase(int k) override { return Phase[static_cast<std::size_t>(k)]; }
    std::complex<double> reflection(int x, int k) override {
        double re = 0, im = 0;
        getCurrentReflectionCoefficient(Used[static_cast<std::size_t>(k)], x, &re, &im);
        return {re, im};
    }
    double tadpoleRHS(int n, int* vars, int* mults) override {
        return computeTadpoleRHS(Ori, n, vars, mults);
    }
    int tachyonic() override;
    int fileId() override { return static_cast<int>(fileIdentifier()); }
    int mipfId() override { return MIPFIdentifier(*getCurrentBulk()); }
    bool supersymmetric() override { return Susy; }
    void printOrientation(FILE* ofp) override {
        setStoredOrientifold(SM.ori);
        printOrientationInfo(getCurrentOrientifold(), ofp);
    }
    void printOpenSector(FILE* ofp) override;

private:
    static constexpr int Unknown = -99999;
    static constexpr signed char NotCached = 127;
    // Above this many usable boundaries the pair cache would pass 18 MB.
    static constexpr int PairCacheLimit = 3000;
    SearchData* SD = nullptr;
    OrientifoldInfo* OI = nullptr;
    int Ori = 0;
    bool Susy = true;
    double Gamma0 = 0;
    IntegerList* Allow = nullptr;
    IntegerList* Avoid = nullptr;
    std::vector<double> Tension;
    std::vector<int> Diagonal;
    std::vector<signed char> Pairs;
    std::vector<int> Used;
    std::vector<double> Phase;

    void collectIshibashiLabels() {
        Used.clear();
        Phase.clear();
        for (int m = 0; m < SD->Ishi; m++) {
            const int f = getIshibashiField(m);
            if (masslessCharacter(f, 0) != 1)
                continue;
            const int* rep = getRepInfo(f);
            if (!rep || (rep[1] < 1 && rep[2] < 1))
                continue;
            int n = 0, d = 1;
            getIshibashiMetric(m, &n, &d);
            Used.push_back(m);
            Phase.push_back(2 * std::numbers::pi * n / (d == 0 ? 1 : d));
        }
    }
};

ChanPatonData* chainConfiguration() {
    int vars[4] = {SM.boundaries[0], SM.boundaries[2], SM.boundaries[4], SM.boundaries[6]};
    return generateChanPatonData(SM.Nbnd, getSearchData()->OI[SM.ori], vars, SM.mults);
}

int CurrentInvariantContext::tachyonic() {
    if (Susy)
        return 0;
    ChanPatonData* CPD = chainConfiguration();
    CPD->mode = 1;
    SusyType ST{};
    getSpaceTimeSymmetry(getStringSpectrum(0), &ST, 'O');
    const int quick = checkCPDforTachyons(CPD);
    const int full = OpenSectorTachyonAnalysis(CPD, &ST);
    if (quick == full)
        return quick;
    int vars[4] = {SM.boundaries[0], SM.boundaries[2], SM.boundaries[4], SM.boundaries[6]};
    std::printf("Tachyon discrepancy");
    printVec(4, vars, "vars");
    DetailedOpenSectorAnalysis(CPD, &ST);
    if (Allow)
        printVec(Allow->cnt, Allow->list.X, "Allow");
    if (Avoid)
        printVec(Avoid->cnt, Avoid->list.X, "Avoid");
    Alert("checkSMForTachyons", 0, 100304, "Tachyon discrepancy");
    genericSearchRun().stopped = 1;
    return 1;
}

void CurrentInvariantContext::printOpenSector(FILE* ofp) {
    ChanPatonData* CPD = chainConfiguration();
    CPD->mode = 1;
    FILE* previous = nullptr;
    const bool toFile = ofp != stdout;
    if (toFile) {
        previous = swapOutputFile(ofp);
        TerminalOutputOff();
    }
    GeneralOpenSectorAnalysis(CPD);
    std::printf("********************************");
    std::printf("         Detailed analysis");
    SusyType ST{};
    getSpaceTimeSymmetry(getStringSpectrum(0), &ST, 'O');
    DetailedOpenSectorAnalysis(CPD, &ST);
    std::printf("******** END *******************");
    int vars[4] = {SM.boundaries[0], SM.boundaries[2], SM.boundaries[4], SM.boundaries[6]};
    checkSMBoundarySymmetries(SM.Nbnd, vars);
    if (toFile) {
        swapOutputFile(previous);
        TerminalOutputOn();
    }
}

CurrentInvariantContext TheoryContext;

// ---------------------------------------------------------------- files

std::string outputName(const char* extension) {
    return getCurrentOutputFileName(extension);
}

// Opens a search file for appending; a failure stops the search after Fopen's report.
FILE* openForAppending(const std::string& name) {
    return Fopen(name.c_str(), "a");
}

// unlink, not a shell "rm": blanks and quotes in the output directory stay harmless.
void removeFile(const std::string& name) {
    unlink(convertFileName(name.c_str()));
}

const char* const SummaryTexts[] = {"No QCD branes found.\n",
                                    "QCD branes found, but no weak brane\n",
                                    "QCD and Weak branes found, but no anti-quark brane\n",
                                    "QCD, Weak and c branes found, but no d brane\n",
                                    "QCD, Weak, c and d branes found, but no Y charge\n"};

void printSummary() {
    Print("Model scan finished; ");
    if (Run.PreModelCount > 0)
        Print("%d candidate models found (prior to tadpole check)\n", Run.PreModelCount);
    else
        Print("%s", SummaryTexts[Run.SuccessLevel < 0   ? 0
                                 : Run.SuccessLevel > 4 ? 4
                                                        : Run.SuccessLevel]);
}

void printOrientifoldChoice(const SearchData* SD) {
    const int p = getOrientifoldPreselection();
    if (p == -1) {
        if (SD->Ori_eff > 1 && SD->Ori_eff < SD->Ori)
            Print("Orientifolds considered in SM search: Nrs. 0...%d\n", SD->Ori_eff - 1);
        else if (SD->Ori_eff == 1 && SD->Ori_eff < SD->Ori)
            Print("Orientifolds considered in SM search: Nrs. 0\n");
        else
            Print("All orientifolds will be considered in SM search\n");
        return;
    }
    Print("Orientifolds considered: \n");
    Print("Nr. %d; Tension %15.7f\n", p, SD->OI[p]->Tension);
}

std::vector<int> orientifoldList(IntegerList* ORI, int Ori_eff) {
    std::vector<int> list;
    if (!ORI) {
        for (int i = 0; i < Ori_eff; i++)
            list.push_back(i);
        return list;
    }
    for (int k = 0; k < ORI->cnt; k++)
        if (ORI->list[k] >= 0 && ORI->list[k] < Ori_eff)
            list.push_back(ORI->list[k]);
    return list;
}

// Step 5 of FindSM: the range of colour stacks; false after the report of an empty or invalid
// range.
bool colourRange(const SearchData* SD, int* first, int* last) {
    if (FirstBoundary == -1) {
        *first = 0;
        *last = SD->bndcnt;
    } else {
        *first = FirstBoundary;
        *last = LastBoundary <= SD->bndcnt ? LastBoundary : SD->bndcnt;
    }
    if (*first < 0 || *last < 0) {
        Alert("FindSM", 1, 100302, "Label %d out of range", *first < 0 ? *first : *last);
        return false;
    }
    if (*first >= *last) {
        Alert("FindSM", 0, 100201, "Boundary range is zero: (%d,%d)\n", *first, *last);
        return false;
    }
    setBoundaryLimitString(FirstBoundary == -1 ? -1 : *first, FirstBoundary == -1 ? -1 : *last);
    return true;
}

} // namespace

// ---------------------------------------------------------------- shared state

GenericSearchSettings& genericSearchSettings() {
    return Settings;
}
GenericSearchRun& genericSearchRun() {
    return Run;
}
void setGenericSearchContext(GenericSearchContext* context) {
    Context = context;
}
GenericSearchContext* getGenericSearchContext() {
    return Context;
}
void setFirstBoundary(int a) {
    FirstBoundary = a;
}
void setLastBoundary(int a) {
    LastBoundary = a;
}
void setModelNumbersHook(ModelNumbersHook hook) {
    numbersHook = hook;
}
void setModelScanHook(ModelScanHook hook) {
    scanHook = hook;
}
void setCurrentCYPrinter(CurrentCYPrinter printer) {
    cyPrinter = printer;
}

void initializeSearchSM() {
    ShowSuccess = static_cast<const int*>(getIntParPointer("SM_search info_level"));
    TadpoleVerbose = static_cast<const int*>(getIntParPointer("Tadpole info_level"));
    SuperSwitch = static_cast<const int*>(getIntParPointer("Super"));
    NfamilyPar = static_cast<const int*>(getIntParPointer("SM_search Nfamily"));
    OriInfo = static_cast<const int*>(getIntParPointer("Orientifold info_level"));
    MaxConfPar = static_cast<const int*>(getIntParPointer("SM_search maxconf"));
}

void writeModelData(FILE* ofp) {
    std::fprintf(ofp, getSusySearch() ? "build cy " : "build non ");
    if (cyPrinter)
        cyPrinter(ofp);
    else
        std::fprintf(ofp, "UNDEFINED\n");
    const char* prefix = static_cast<const char*>(getIntParPointer("OutputFilePrefix"));
    std::fprintf(ofp, "set outputfileprefix %s\n", prefix ? prefix : "");
    writeCurrents(ofp);
    std::fprintf(ofp, "compute spectrum\n");
    writeInvariantSelectionCriteria(ofp);
    std::fprintf(ofp, "select invariant %d\n", MIPFIdentifier(*getCurrentBulk()));
    std::fprintf(ofp, "spectrum_action\n");
}

void checkSMBoundarySymmetries(int Nbnd, int* vars) {
    BulkInvariant* bi = *getCurrentBulk();
    if (!bi || !bi->MD || !bi->MD->LeftKernel)
        return;
    for (int k = 1; k < bi->MD->KernelSize; k++) {
        const int current = bi->MD->LeftKernel[k];
        Print("Current %5d (lbl %5d, weight %3d): ", k, current, ratWeight(current)->num);
        for (int i = 0; i < Nbnd; i++) {
            const rat* q = simpleCurrentCharge(current, vars[i]);
            Print("%3d/%-3d ", q ? q->num : 0, q ? q->den : 1);
        }
        Print("\n");
    }
}

int checkModelFileCompletion(const char* filename) {
    FILE* in = std::fopen(filename, "r");
    if (!in) {
        Alert("checkModelFileCompletion", 0, 120406, "Could not open input file %s\n", filename);
        return 0;
    }
    const char* ext = std::strrchr(filename, '.');
    const bool analysed = ext && std::strcmp(ext + 1, "analysed") == 0;
    int v[13];
    char word[256];
    int complete = 0;
    while (std::fscanf(in, "%d %d %d %d %d %d %d %d %d %d %d %d %255s %d", &v[0], &v[1], &v[2],
                       &v[3], &v[4], &v[5], &v[6], &v[7], &v[8], &v[9], &v[10], &v[11], word,
                       &v[12]) == 14) {
        if (v[0] == -1) {
            complete = 1;
            break;
        }
        if (analysed) {
            int row[10] = {v[0], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11]};
            addVectorToCollection(&AlreadyAnalysed_0, row);
        }
    }
    std::fclose(in);
    std::printf(complete ? "File %s is complete\n" : "File %s is not complete; rerun\n", filename);
    return complete;
}

int initGenericSearchMemory(int MaxBnd) {
    if (TotalBoundaries() > MaxBnd) {
        Print("Too many boundaries\n");
        return 0;
    }
    if (!SuperSwitch || *SuperSwitch == 0) {
        Type_IIB_Error(1);
        return 0;
    }
    const std::string none = outputName(".none");
    if (checkDir(none.c_str()) == 1) {
        Print("This case was already considered and has no SM configurations (file %s exists)\n",
              none.c_str());
        return 0;
    }
    initVectorCollection(&AlreadyAnalysed_0, 10, 10000);
    const std::string analysed = outputName(".analysed");
    if (checkDir(analysed.c_str()) == 1) {
        Print("Old file %s exists\n", analysed.c_str());
        flushOutput();
        if (checkModelFileCompletion(analysed.c_str()))
            return 0;
        Print("Old file %s not complete; contains %d analysed cases\n", analysed.c_str(),
              rowCount(&AlreadyAnalysed_0));
    }
    SearchData* SD = initStandardModelSearch();
    if (!SD) {
        Print("initSearchSM failed\n");
        return 0;
    }
    if (OriInfo && *OriInfo > 0)
        printOrientifoldChoice(SD);
    if (getBoundary_a_Preselection() != -1)
        PrintBoundarySelection();
    if (CY_Check('B') == 0)
        Print("Non-chiral bulk extension (boundary states may be chiral)\n");
    if (CY_Check('I') == 0 && getSusySearch()) {
        Print("CY_Check('I') failed\n");
        return 0;
    }
    if (SD->bndcnt <= 4) {
        Print("Too few usable boundaries (%d)\n", SD->bndcnt);
        return 0;
    }
    getTwoFormLabels();
    int unused = 0;
    CheckChirality(0, 0, 0, &unused, &unused, &unused);
    loadGlobalAnomalies(2);
    const std::string models = outputName(".models");
    if (checkDir(models.c_str()) == 1) {
        Print("Old file %s exists\n", models.c_str());
        flushOutput();
        if (checkModelFileCompletion(models.c_str()))
            return -15;
        Print("Old file %s not complete\n", models.c_str());
    }
    for (const char* ext : {".pre_models", ".analysed", ".models"})
        moveOldFile(outputName(ext).c_str());
    return 1;
}

int searchOrientifold(int first, int last) {
    for (int j = first; j < last && !Run.stopped; j++) {
        if (Settings.maxConf < Run.PreModelCount) {
            Print("************************************************************\n");
            Print("Aborting this case; Number of models so far %d\n", Run.PreModelCount);
            Print("************************************************************\n");
            if (Run.preModels)
                std::fprintf(Run.preModels, "-1 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1 0\n");
            return 1;
        }
        const int a = Context->usableLabel(j);
        if (mod(a, 100) == 0)
            checkInterrupt();
        std::fflush(stdout);
        tryColourStack(j);
    }
    return 0;
}

int FindSM(IntegerList* ORI) {
    Run.SuccessLevel = 0;
    Run.PreModelCount = 0;
    if (checkDir(getStopFile()) == 1) {
        flushOutput();
        std::printf("Stop signal received\n");
        std::fflush(stdout);
        std::exit(12);
    }
    readSettings();
    SearchData* SD = initStandardModelSearch();
    if (!SD) {
        Print("initStandardModelSearch failed\n");
        return 0;
    }
    int first = 0, last = 0;
    if (!colourRange(SD, &first, &last))
        return 0;
    const int prepared = initGenericSearchMemory(5000);
    if (prepared == 0)
        return 0;
    if (prepared == -15) {
        if (scanHook)
            scanHook(outputName(".models").c_str(), -1, 0);
        return 1;
    }
    Print("Number of boundaries %d\n", SD->bndcnt);
    Print("---- Scanning model %s;\n", outputName("").c_str());
    const std::string mipf = outputName(".mipf_data");
    std::printf("Writing file %s\n", mipf.c_str());
    FILE* data = openForAppending(mipf);
    if (!data)
        return 0;
    writeModelData(data);
    Fclose(data);
    const std::string pre = outputName(".pre_models");
    FILE* preModels = openForAppending(pre);
    if (!preModels)
        return 0;
    startGenericSearchRun(preModels);
    const bool susy = getSusySearch() != 0;
    int aborted = 0;
    for (int i : orientifoldList(ORI, SD->Ori_eff)) {
        SM.ori = i;
        TheoryContext.bind(SD, i, susy);
        setGenericSearchContext(&TheoryContext);
        aborted = searchOrientifold(first, last);
        if (aborted || Run.stopped)
            break;
    }
    setGenericSearchContext(nullptr);
    if (Run.stopped) {
        Fclose(preModels);
        return 0;
    }
    if (!aborted)
        std::fprintf(preModels, "-1 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1\n");
    Fclose(preModels);
    Run.preModels = nullptr;
    if (Settings.infoLevel > 0)
        printSummary();
    if (Run.PreModelCount == 0) {
        FILE* marker = openForAppending(outputName(".none"));
        if (!marker)
            return 0;
        Fclose(marker);
        removeFile(pre);
        return 0;
    }
    if (numbersHook)
        numbersHook();
    if (scanHook)
        scanHook(outputName(".models").c_str(), -1, 0);
    return 1;
}

int findTachyonFreeSM(int mode) {
    static IntegerList list;
    switch (mode) {
    case 0:
        return 0;
    case -1:
        initList(&list, 100);
        list.cnt = 0;
        return 0;
    case 1: {
        OrientifoldInfo* OI = getCurrentOrientifold();
        if (OI)
            addToList(&list, OI->SequenceNumber);
        return 0;
    }
    case 2:
        FindSM(&list);
        return 1;
    default:
        Alert("findTachyonFreeSM", 0, 212404, "Invalid mode");
        return 0;
    }
}
