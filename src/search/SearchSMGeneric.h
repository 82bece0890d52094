// The generic standard-model search: chains of colour, weak, anti-quark and lepton stacks a, b,
// c, d on one orientifold, their Chan-Paton multiplicities, the hypercharge as a combination of
// the unitary stacks' U(1)s, the count of quarks and leptons it gives, and the candidate records
// written to ".pre_models".
//
// The chain reads the theory only through a GenericSearchContext, so that it runs unchanged on a
// small hand-made context; the driver binds the context of the current bulk invariant and
// orientifold.
#pragma once

#include "numeric/Sorting.h"
#include "numeric/VectorUtility.h"

#include <complex>
#include <cstdio>

// The chain state read and written by every step of the search.
struct SMinfo {
    int boundaries[8] = {}; // a, a^c, b, b^c, c, c^c, d, d^c (d, d^c -1 for three stacks)
    int ori = 0;
    int mults[4] = {};
    int types[4] = {};
    int coefs[4] = {};
    int brane_id[6] = {};
    int T2_determined = 0, T2_eig[2] = {}, T2_mult[2] = {};
    int T3_determined = 0, T3_eig[2] = {}, T3_mult[2] = {};
    int Nbnd = 0;
    int Norm = 0;
    int equiv0 = 0, equiv1 = 0, equiv2 = 0;
    int equiv1Y = 0, equiv2Y = 0;
    double RHS[4] = {};
    int A[4] = {}, S[4] = {};
    int Gamma[6] = {}, Delta[6] = {};
    int quark_doublets[2] = {}, lepton_doublets[2] = {};
    int anti_quarks[4] = {};
    int singlets[3] = {};
    int MasslessVectors = 0;
    int Ycharge_degeneracy = 0;
    int Sol[8] = {};
    int nr = 0;
};

extern SMinfo SM;

// Everything the chain asks about the theory, for the orientifold being searched. Labels are
// boundary labels; the used Ishibashi labels are numbered k = 0 .. usedIshibashiCount()-1.
class GenericSearchContext {
public:
    virtual ~GenericSearchContext() = default;
    virtual int usableCount() = 0;
    virtual int usableLabel(int j) = 0;
    virtual int conjugate(int x) = 0;
    virtual int groupType(int x) = 0;
    // Re R(x, 0).
    virtual double tension(int x) = 0;
    virtual void diagonal(int x, int* Ann, int* Moe, int* Adj) = 0;
    // Gamma_xy and Delta_xy as the chain uses them.
    virtual void intersection(int x, int y, int* Gamma, int* Delta) = 0;
    virtual int maximalCP(int x) = 0;
    // Re of the crosscap coefficient at Ishibashi label 0.
    virtual double crosscap() = 0;
    // Allow and Avoid of the non-supersymmetric search; everything allowed, nothing avoided in
    // the supersymmetric one.
    virtual bool allowed(int) { return true; }
    virtual bool avoided(int) { return false; }
    virtual int usedIshibashiCount() = 0;
    // theta_m = 2 pi n / d of the k-th used label.
    virtual double ishibashiPhase(int k) = 0;
    virtual std::complex<double> reflection(int x, int k) = 0;
    // The tadpole right-hand side the chain's stacks leave.
    virtual double tadpoleRHS(int n, int* vars, int* mults) = 0;
    // 1 when the open spectrum of the chain's stacks has tachyons.
    virtual int tachyonic() { return 0; }
    virtual int fileId() { return 0; }
    virtual int mipfId() { return 0; }
    virtual bool supersymmetric() { return true; }
    // The theory-specific lines of printCPD: orientation data and tension lines, and (step 7)
    // the open-sector analysis with the charge table.
    virtual void printOrientation(FILE*) {}
    virtual void printOpenSector(FILE*) {}
};

// The context the search uses; null outside a search. The driver and the tests set it.
void setGenericSearchContext(GenericSearchContext* context);
GenericSearchContext* getGenericSearchContext();

// The parameters the chain reads, bound by initializeSearchSM (tests may set them directly).
struct GenericSearchSettings {
    int Nfamily = 3;
    int maxConf = 1000000000;
    int infoLevel = 0;
    int tadpoleInfo = 0;
};
GenericSearchSettings& genericSearchSettings();

// ---- Chain (brane chain and hypercharge) ----

int findWeakSMBrane();
int findAntiquarkSMBrane();
int findLastSMBrane();
int computeY();
int check_cd_BraneOrdering();
int getTracelessGenerator(int brane, int is1, int is2, int* determined, int* eig, int* mult);
// The first 48 ints of the chain's profile (types to MasslessVectors).
void fillChainProfile(int* v);
int* interChange_c();
int* interChange_d();
// The colour stack a at usable index j is tried and the chain continued from it.
void tryColourStack(int j);

// ---- Counting of quarks and leptons ----

int computeQuarkAndLeptonCharges();
int countQuarksAndLeptons(int prt);
int computeChargeDegeneracy(VectorSpace* Coefs2, int* unknown, int prt);
int mapVarsToSMData(int ori, int* vars, int* mults);
int checkSpectrum(VectorSpace* spectrum);
IntegerList* getChargeList(int factor, int* dependencies, VectorSpace* Coefs2, int* Norm);

// ---- Masses ----

double computeGenericAbelianMasses();
int solveGenericAbelianMasses(VectorSpace* Coefs, VectorSpace* Coefs2, int* unknown);
int countMasslessAbelianVectors(int* Sol);

// ---- Records ----

// Search-wide state of one run.
struct GenericSearchRun {
    int SuccessLevel = 0;
    int PreModelCount = 0;
    int SMCount = 0;
    int FamiliesRequired = 0;
    int last_gsm = -1;
    int last_Y = 0;
    int lastY_nr = 0;
    // Set when a severity-3 inconsistency stopped the search; every link returns at once.
    int stopped = 0;
    FILE* preModels = nullptr;
    // Boundaries tried by each link (a, b, c, d), for the speed figures.
    long long nodes[4] = {};
};
GenericSearchRun& genericSearchRun();
// Starts a run: counters zeroed, the record collection emptied, candidates to preModels.
void startGenericSearchRun(FILE* preModels);
// The records of the run (86 ints each).
VectorSpace* getGenericSMProfiles();
int storeSMdata();
void printCPD(FILE* ofp, int nr, int reason);
void writeModelData(FILE* ofp);
// Runs the chain from every colour stack of usable indices first..last-1 on the current context;
// 1 when the candidate limit stopped it (the abort line written), 0 otherwise.
int searchOrientifold(int first, int last);

// ---- Driver ----

void initializeSearchSM();
int FindSM(IntegerList* ORI);
int findTachyonFreeSM(int mode);
void setFirstBoundary(int a);
void setLastBoundary(int a);
int initGenericSearchMemory(int MaxBnd);
int checkModelFileCompletion(const char* filename);
// The charge table of the bulk invariant's simple currents on the Nbnd labels.
void checkSMBoundarySymmetries(int Nbnd, int* vars);
// Hooks of later work: numbering and the tadpole scan do nothing until installed.
using ModelNumbersHook = void (*)();
using ModelScanHook = void (*)(const char* filename, int modelnr, int generate);
void setModelNumbersHook(ModelNumbersHook hook);
void setModelScanHook(ModelScanHook hook);
// The current model's name as "build cy" set it, written by writeModelData; installed by the
// command layer.
using CurrentCYPrinter = void (*)(FILE* stream);
void setCurrentCYPrinter(CurrentCYPrinter printer);
