// The store's records: creation, the list of all blocks with its lookups, and the per-field
// accessors that read a record.
#include "store/Storemanager.h"

#include "base/Defaults.h"
#include "base/Error.h"
#include "base/Parameters.h"
#include "lie/Tarvik.h"
#include "store/StoremanagerInternal.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

using store_internal::allocateFor;
using store_internal::decomp;
using store_internal::groupOrder;
using store_internal::mult;

namespace {

SpectrumData* firstAlgebra = nullptr;

// The key and address of the record most recently found or created.
int currentType = -1;
int currentRank = -1;
int currentLevel = -1;
int currentPerm = 0;
SpectrumData* currentPointer = nullptr;

int* StoreSwitch = nullptr; // the parameter "Store_S"; a store without it caches S

void setCache(SpectrumData* sd, int level) {
    currentType = sd->type;
    currentRank = sd->rank;
    currentLevel = level;
    currentPerm = sd->permutation_order;
    currentPointer = sd;
}

// ---- SM_getData, step by step ----

struct Key {
    int type, rank, level;
    int t; // the type whose spectrum is built
};

// C1 is built as A1; a key without rank or level is the trivial algebra, except the Ising
// model B0 at level 1. Returns false for a key that must be refused.
bool normaliseKey(Key& k, bool& trivial) {
    k.t = k.type < 0 ? k.type + 100 : k.type;
    if (k.t == 3 && k.rank == 1)
        k.t = 1;
    trivial = false;
    // The spectrum's int arithmetic squares ranks (adjoint dimensions) and U(1) momenta and
    // shifts levels; past these bounds it would overflow, long before the theory is computable.
    const int rankLimit = k.t == 0 ? 92680 : 10000;
    if (k.rank > rankLimit || k.level > INT_MAX / 64) {
        InputError(k.type, k.rank, k.level, "SM_getData");
        return false;
    }
    if ((k.rank != 0 && k.level != 0) || k.t == 0 || k.t == 6 || k.t == 7)
        return true;
    trivial = true;
    if (k.t == 2 && k.rank == 0) {
        if (k.level == 1)
            return true;
        InputError(k.type, k.rank, k.level, "SM_getData");
        return false;
    }
    k = Key{1, 0, 0, 1};
    return true;
}

bool validType(int t) {
    if (static_cast<unsigned>(t) > 16 && t != 27) {
        Alert("SM_getData", 0, 112312, "Invalid algebra type");
        return false;
    }
    if (t >= 8 && t <= 10) {
        Alert("SM_getData", 1, 112312, "Invalid algebra type");
        return false;
    }
    return true;
}

SpectrumData* findInList(const Key& k) {
    for (SpectrumData* sd = firstAlgebra; sd; sd = sd->next)
        if (sd->type == k.type && sd->rank == k.rank && sd->level == k.level &&
            sd->permutation_order == 1)
            return sd;
    return nullptr;
}

// Orbit tables of a block whose group is trivial: every field its own orbit.
void singletonOrbits(SpectrumData* sd) {
    int N = sd->Nprimaries;
    int* block = allocateFor<int>(sd, 3 * static_cast<std::size_t>(N), "Orbit data");
    sd->OrbitLabel = block;
    sd->OrbitGenerator = block + N;
    sd->OrbitPosition = block + 2 * N;
    for (int i = 0; i < N; i++) {
        sd->OrbitLabel[i] = i;
        sd->OrbitGenerator[i] = i;
        sd->OrbitPosition[i] = 0;
    }
}

// The conjugate theory: T and c change sign, and the simple currents are not used. The weights
// are copied first, since the trivial and Ising spectra are shared constant data.
void makeConjugateTheory(SpectrumData* sd, const int* weights) {
    int N = sd->Nprimaries;
    sd->Norbits = N;
    sd->SimpleCurrents = DG_trivial();
    sd->FCFTnumber = 0;
    singletonOrbits(sd);
    sd->Weight_num = allocateFor<int>(sd, N, "Conjugate weights");
    for (int i = 0; i < N; i++)
        sd->Weight_num[i] = -weights[i];
    sd->CentralCharge = -sd->CentralCharge;
}

// The conjugate of a block built with its currents, which it keeps: the builder gave it the
// base type, and the record takes the key's, by which it is found again. Weights and monodromy
// charges change sign with T.
void conjugateKeepingCurrents(SpectrumData* sd, int type) {
    sd->type = type;
    const int M = mult(sd);
    for (int i = 0; i < sd->Nprimaries; i++) {
        sd->Weight_num[i] = -sd->Weight_num[i];
        for (int c = 0; c < M; c++) {
            int& q = sd->Charges[static_cast<std::size_t>(i) * M + c];
            q = mod(-q, sd->SimpleCurrents->Orders[c]);
        }
    }
    sd->CentralCharge = -sd->CentralCharge;
}

// The integrable spectrum of an affine algebra or a free boson; the record points into the
// orbit block that the Lie-algebra code produced.
void fillFromSpectrum(SpectrumData* sd, const Key& k) {
    int N = 0, Norbits = 0, adj = 0, size = 0, g = 0, center = 0, cm = 0, denom = 0, cplx = 0;
    double c = 0.0;
    int *dynkin = nullptr, *orders = nullptr, *base = nullptr;
    spectrum_(k.t, k.rank, k.level, &N, &Norbits, &adj, &size, &g, &center, &cm, &denom, &cplx, &c,
              &dynkin, &orders, &base, &sd->TotalAlloc);
    sd->type = k.type;
    sd->rank = k.rank;
    sd->level = k.level;
    sd->RepSize = k.t == 0 ? 1 : k.rank + 1;
    sd->Nprimaries = N;
    sd->AdjDimension = adj;
    sd->DualCoxeter = g;
    sd->Complexity = cplx;
    sd->Weight_denom = denom;
    sd->CentralCharge = c;
    sd->ExtDynkin = dynkin;
    sd->validCFT = k.t == 13 ? 0 : 1;
    int* weights = base + (3 + 2 * cm) * N;
    // The orbit data of the trivial and Ising spectra are shared constants; the group keeps
    // its own copy of the orders.
    bool shared = k.t == 2 && k.rank == 0;
    Discrete_Group* group = cm > 0 && orders ? DG_find(orders, cm) : DG_trivial();
    if (orders && center >= 2)
        store_internal::releaseFor(sd, orders, cm == 2 ? 2 : 1, "Center orders");
    if (k.type < 0) {
        makeConjugateTheory(sd, weights);
        if (!shared)
            store_internal::releaseFor(sd, base, (2 * cm + 4) * static_cast<std::size_t>(N),
                                       "Orbit data");
        return;
    }
    sd->Weight_num = weights;
    sd->Norbits = Norbits;
    sd->SimpleCurrents = group;
    sd->OrbitLabel = base;
    sd->OrbitGenerator = base + N;
    sd->OrbitPosition = base + 2 * N;
    if (sd->SimpleCurrents->Mult > 0) {
        sd->Stabilizer = base + 3 * N;
        sd->Charges = base + (3 + cm) * N;
    }
    sd->FCFTnumber = FixedCurrents(k.t, k.rank, k.level, &sd->FixedPointCurrents, &sd->TotalAlloc);
}

// The orbifold's builder reads its N from the store's cache, which is set first.
SpectrumData* makeOrbifold(const Key& k) {
    if (k.rank < 1) {
        InputError(k.type, k.rank, k.level, "SM_getData");
        return nullptr;
    }
    SpectrumData* sd = allocateSpectrumData(algebraname(k.type, k.rank, 0));
    sd->type = 7;
    sd->rank = k.rank;
    sd->level = 0;
    setCache(sd, 0);
    SM_orbifold_spectrum(sd, k.rank);
    if (k.type < 0)
        conjugateKeepingCurrents(sd, k.type);
    return sd;
}

// The N=2 model has rank 2, and its tables (13 ints per field at most) must stay below the
// allocation ceiling, which would otherwise end the program halfway through the build.
bool minimalFits(const Key& k) {
    const double fields = 2.0 * (k.level + 1.0) * (k.level + 2.0);
    if (k.rank == 2 && k.t == 27 && fields * 13 * sizeof(int) <= AllocRefuseLimit)
        return true;
    InputError(k.type, k.rank, k.level, "SM_getData");
    return false;
}

SpectrumData* makeMinimal(const Key& k) {
    if (!minimalFits(k))
        return nullptr;
    SpectrumData* sd = allocateSpectrumData(algebraname(k.type, k.rank, k.level));
    sd->type = k.type;
    sd->rank = k.rank;
    setCache(sd, 0);
    SM_minimal_spectrum(sd, k.level);
    if (k.type < 0)
        conjugateKeepingCurrents(sd, k.type);
    return sd;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Records and the store

SpectrumData* allocateSpectrumData(const char* name) {
    // The record carries its own counter, which can only be registered once the record exists.
    AllocCount placement{0, 0, "", nullptr};
    void* block = allocate(sizeof(SpectrumData), &placement, "Spectrum data");
    auto* sd = new (block) SpectrumData{};
    sd->type = sd->rank = sd->level = -1;
    sd->permutation_order = 1;
    sd->S_available = 1;
    sd->DualCoxeter = -1;
    sd->Complexity = 1;
    sd->S_Symmetry = 1;
    sd->gradecurr = -1;
    sd->StoreS = StoreSwitch ? *StoreSwitch : 1;
    sd->exactWeights = 1;
    sd->CentralCharge = -1.0;
    sd->TotalAlloc = AllocCount{static_cast<std::uint32_t>(sizeof(SpectrumData)), 0, "", nullptr};
    std::snprintf(sd->TotalAlloc.txt, sizeof sd->TotalAlloc.txt, "Algebra %.70s", name);
    AddMemStat(&sd->TotalAlloc);
    std::size_t len = std::strlen(name) + 1;
    sd->AlgebraName = allocateFor<char>(sd, len, "Algebra name");
    std::memcpy(sd->AlgebraName, name, len);
    sd->CurrentOuterAutomorphisms =
        NewVectorSpace(1, 100, 100, &sd->TotalAlloc, "Current Outer Automorphism");
    sd->next = firstAlgebra;
    firstAlgebra = sd;
    return sd;
}

SpectrumData* SM_getData(int type, int rank, int level) {
    Key k{type, rank, level, 0};
    bool trivial = false;
    if (!normaliseKey(k, trivial))
        return nullptr;
    if (!trivial && !validType(k.t))
        return nullptr;
    if (currentPointer && k.type == currentType && k.rank == currentRank &&
        k.level == currentLevel && currentPerm == 1)
        return currentPointer;
    if (SpectrumData* found = findInList(k)) {
        setCache(found, found->level);
        return found;
    }
    if (k.t == 6)
        return nullptr;
    if (k.t == 27 || k.t == 7) {
        SpectrumData* sd = k.t == 7 ? makeOrbifold(k) : makeMinimal(k);
        if (!sd)
            return nullptr;
        SM_getCurrentOuterAutomorphisms(sd);
        setCache(sd, k.level);
        return sd;
    }
    if (k.t == 0 && k.rank < 1) {
        InputError(k.type, k.rank, k.level, "SM_getData");
        return nullptr;
    }
    // Refused before anything is allocated, rather than stopped by the allocator halfway.
    if (!spectrumFits(k.t, k.rank, k.level))
        return nullptr;
    SpectrumData* sd = allocateSpectrumData(algebraname(k.type, k.rank, k.level));
    fillFromSpectrum(sd, k);
    SM_getCurrentOuterAutomorphisms(sd);
    setCache(sd, k.level);
    return sd;
}

// Whole names: theories made from tensor products can share long prefixes, and a match on a
// prefix would hand out the newest of them for an older one.
SpectrumData* SM_findCFT(const char* name) {
    for (SpectrumData* sd = firstAlgebra; sd; sd = sd->next)
        if (std::strcmp(sd->AlgebraName, name) == 0)
            return sd;
    return nullptr;
}

SpectrumData* SM_getFirstAlgebra() {
    return firstAlgebra;
}

void SM_setFirstAlgebra(SpectrumData* sd) {
    firstAlgebra = sd;
}

SpectrumData* SM_nextAlgebra(SpectrumData* sd) {
    return sd ? sd->next : nullptr;
}

std::size_t SM_getTotalAlloc() {
    std::size_t total = 0;
    for (SpectrumData* sd = firstAlgebra; sd; sd = sd->next)
        total += sd->TotalAlloc.TotalAlloc;
    return total;
}

void initializeStoremanager() {
    if (findInternalParameter("Store_S"))
        StoreSwitch = static_cast<int*>(getIntParPointer("Store_S"));
}

// ---------------------------------------------------------------------------------------------
// Accessors

char* SM_getAlgebraName(SpectrumData* sd) {
    return sd->AlgebraName;
}

int SM_getNumberofPrimaries(SpectrumData* sd) {
    return sd->Nprimaries;
}

int SM_getCenter(SpectrumData* sd) {
    return groupOrder(sd);
}

int SM_getRepSize(SpectrumData* sd) {
    return sd->RepSize;
}

double SM_getCentralCharge(SpectrumData* sd) {
    return sd->CentralCharge;
}

int SM_getFCFTnumber(SpectrumData* sd) {
    return sd->FCFTnumber;
}

void SM_getParameters(SpectrumData* sd, int* addim, int* cox, int* Nprimaries, int* Norbits,
                      double* cench) {
    *addim = sd->AdjDimension;
    *cox = sd->DualCoxeter;
    *Nprimaries = sd->Nprimaries;
    *Norbits = sd->Norbits;
    *cench = sd->CentralCharge;
}

int* SM_getRep(SpectrumData* sd, int lbl) {
    return sd->ExtDynkin + static_cast<std::size_t>(lbl) * sd->RepSize;
}

int* SM_getContent(SpectrumData* sd, int lbl) {
    return sd->info ? sd->info + 4 * static_cast<std::size_t>(lbl) : nullptr;
}

double SM_realWeight(SpectrumData* sd, int lbl) {
    return static_cast<double>(sd->Weight_num[lbl]) / sd->Weight_denom;
}

void SM_getRatWeight(SpectrumData* sd, int lbl, rat* w) {
    torat2(sd->Weight_num[lbl], sd->Weight_denom, w);
    simplifyRat(w);
}

double SM_getLogT(SpectrumData* sd, int lbl) {
    return SM_realWeight(sd, lbl) - sd->CentralCharge / 24.0;
}

int SM_fieldCheck(SpectrumData* sd, int c) {
    return c >= 0 && c < sd->Nprimaries ? 1 : 0;
}

int SM_currentCheck(SpectrumData* sd, int c) {
    return c >= 0 && c < groupOrder(sd) ? 1 : 0;
}

int SM_initOrbitData(SpectrumData* sd) {
    return mult(sd) > 0 ? 1 : 0;
}

void SM_getOrbifoldFCFT(SpectrumData* sd, int i, int* type, int* rank, int* level, int* shift) {
    int N = sd->rank;
    int current = sd->FixedPointCurrents[i];
    if (current == 1 || current == 3) {
        *type = 2;
        *rank = N / 2 - 1;
        *level = 1;
        *shift = N / 2;
    } else if (current == 2) {
        *type = -97;
        *rank = N - 2;
        *level = 1;
        *shift = 4 * N - 6;
    }
}

// ---------------------------------------------------------------------------------------------
// Label lookups

int SM_getLabelInOrbit(SpectrumData* sd, const int* labels, int start) {
    if (sd->Nprimaries == 0 || start >= sd->Nprimaries)
        return -1;
    if (sd->RepSize == 0)
        return 0;
    for (int i = std::max(start, 0); i < sd->Nprimaries; i++)
        if (compareVec(sd->RepSize, SM_getRep(sd, i), labels) == 0)
            return i;
    return -1;
}

int SM_getLabelNoMessage(SpectrumData* sd, const int* labels) {
    return SM_getLabelInOrbit(sd, labels, 0);
}

int SM_getLieLabel(SpectrumData* sd, const int* labels) {
    int n = sd->type >= 1 && sd->type <= 5 ? sd->RepSize - 1 : sd->RepSize;
    for (int i = 0; i < sd->Nprimaries; i++)
        if (compareVec(n, SM_getRep(sd, i), labels) == 0)
            return i;
    return -1;
}

int SM_getLabel(SpectrumData* sd, const int* labels) {
    int lbl = findRep(labels, sd->RepSize, sd->Nprimaries, sd->type, sd->rank, sd->level);
    if (lbl >= 0 && lbl < sd->Nprimaries &&
        compareVec(sd->RepSize, SM_getRep(sd, lbl), labels) == 0)
        return lbl;
    lbl = SM_getLabelNoMessage(sd, labels);
    if (lbl < 0)
        Alert("SM_getLabel", 0, 212404, "Representation not found");
    return lbl;
}

int SM_basicCheck(SpectrumData* sd, int lbl) {
    if (sd->RepSize <= 1)
        return 1;
    return vecSum(SM_getRep(sd, lbl), sd->RepSize - 1) <= 1 ? 1 : 0;
}

// ---------------------------------------------------------------------------------------------
// Charges and current orders

void SM_getRatCharge(SpectrumData* sd, int J, int lbl, rat* Q) {
    if (sd->type == 27 && J == 1) {
        const int* l = SM_getRep(sd, lbl);
        Q->num = 2 * l[1] - (sd->level + 2) * l[2];
        Q->den = 4 * sd->level + 8;
        return;
    }
    setzero(Q);
    int M = mult(sd);
    if (groupOrder(sd) == 1 || !SM_currentCheck(sd, J) || !SM_fieldCheck(sd, lbl))
        return;
    const int* d = decomp(sd, J);
    for (int k = 0; k < M; k++) {
        rat term;
        torat2(sd->Charges[lbl * M + k] * d[k], sd->SimpleCurrents->Orders[k], &term);
        simplifyRat(&term);
        addRat(Q, &term, Q);
    }
    simplifyRat(Q);
}

int SM_getCurrentOrder(SpectrumData* sd, int J) {
    if (mult(sd) == 0 || !SM_currentCheck(sd, J))
        return 1;
    const int* d = decomp(sd, J);
    const int* orders = sd->SimpleCurrents->Orders;
    int order = 1;
    for (int k = 0; k < mult(sd); k++)
        if (d[k] != 0)
            order = SCM(order, orders[k] / GCD(orders[k], d[k]));
    return order;
}

int SM_isTrivial(SpectrumData* sd, int lbl) {
    if (!sd->info)
        return 1;
    const Heterotic* H = sd->string_spectrum;
    if (!H || !H->CovLatEmbedding || H->CovLatEmbedding->N_G < 2)
        return 1;
    const int* info = SM_getContent(sd, lbl);
    for (int k = 1; k < std::min(H->CovLatEmbedding->N_G, 4); k++)
        if (info[k] != 0)
            return 0;
    return 1;
}

int SM_isFusingmatrixAvailable(SpectrumData* sd) {
    if (sd->type == 0 || sd->type == 7)
        return 1;
    return sd->type == 6 && sd->rank == 0 && sd->level == 1 ? 1 : 0;
}

// ---------------------------------------------------------------------------------------------
// Arrays that the creators of derived blocks fill

void SM_allocFCFT(SpectrumData* sd) {
    sd->FCFTshifts = sd->FCFTlabels = nullptr;
    sd->FixedPointCFT = nullptr;
    if (sd->FCFTnumber <= 0)
        return;
    std::size_t n = sd->FCFTnumber;
    int* block = allocateFor<int>(sd, n + n * sd->Nprimaries, "FCFT data");
    sd->FCFTshifts = block;
    sd->FCFTlabels = block + n;
    sd->FixedPointCFT = allocateFor<SpectrumData*>(sd, n, "Fixed point CFT's");
    std::fill(sd->FixedPointCFT, sd->FixedPointCFT + n, nullptr);
}

void SM_discardCFT(SpectrumData* sd) {
    for (SpectrumData** at = &firstAlgebra; *at; at = &(*at)->next)
        if (*at == sd) {
            *at = sd->next;
            break;
        }
    sd->next = nullptr;
    if (currentPointer == sd)
        currentPointer = nullptr;
}

void SM_allocHeterotic(SpectrumData* sd, const Heterotic* H) {
    auto* own = allocateFor<Heterotic>(sd, 1, "Heterotic string data");
    *own = Heterotic{};
    own->CovLatDim = H->CovLatDim;
    own->CovLatEmbedding = H->CovLatEmbedding;
    own->addim = H->addim;
    own->error = H->error;
    own->SpaceTimeDim = H->SpaceTimeDim;
    own->ImplicitE8 = H->ImplicitE8;
    std::memcpy(own->massless, H->massless, sizeof own->massless);
    own->Symmetric = 1;
    own->Left = own->Right = nullptr;
    sd->string_spectrum = own;
}

void SM_allocFieldInfo(SpectrumData* sd, int Dims, int Contents) {
    std::size_t N = sd->Nprimaries;
    std::size_t M = mult(sd);
    std::size_t total = N * sd->RepSize + N + (Dims == 1 ? N : 0) + 3 * N + 2 * M * N + N +
                        (Contents == 1 ? 4 * N : 0);
    int* p = allocateFor<int>(sd, total, "Field Info");
    std::fill(p, p + total, 0);
    auto take = [&p](std::size_t n) {
        int* at = p;
        p += n;
        return at;
    };
    sd->ExtDynkin = take(N * sd->RepSize);
    sd->Weight_num = take(N);
    sd->Dimensions = Dims == 1 ? take(N) : nullptr;
    sd->OrbitLabel = take(N);
    sd->OrbitGenerator = take(N);
    sd->OrbitPosition = take(N);
    sd->Stabilizer = M ? take(M * N) : nullptr;
    sd->Charges = M ? take(M * N) : nullptr;
    sd->Conjugates = take(N);
    sd->info = Contents == 1 ? take(4 * N) : nullptr;
}

// ---------------------------------------------------------------------------------------------
// Shared helpers

namespace store_internal {

void rememberRecord(SpectrumData* sd) {
    setCache(sd, sd->level);
}

int mult(const SpectrumData* sd) {
    return sd->SimpleCurrents ? sd->SimpleCurrents->Mult : 0;
}

int groupOrder(const SpectrumData* sd) {
    return sd->SimpleCurrents ? sd->SimpleCurrents->Order : 1;
}

const int* decomp(const SpectrumData* sd, int J) {
    return sd->SimpleCurrents->Decomp + static_cast<std::size_t>(J) * sd->SimpleCurrents->Mult;
}

std::string libraryDirectory() {
    const char* home = std::getenv("HOME");
    const DefaultType* path = findDefaultPointer("TarvikPath");
    const char* sub = path && path->value ? path->value : "Library/Tarvik";
    return std::string(home ? home : "") + "/" + sub;
}

} // namespace store_internal
