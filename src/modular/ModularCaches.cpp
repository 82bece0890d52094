// The caches of the current theory's S: the simple-current orbit table (S between any two fields
// is S between their orbit starts times a monodromy phase), S on orbit starts, and the full packed
// S with T squared for small theories. Each is stamped with the CFT counter and refilled, not
// freed, when the theory changes.
#include "base/Allocation.h"
#include "base/Error.h"
#include "base/Output.h"
#include "base/Terminal.h"
#include "modular/Modular.h"
#include "modular/ModularInternal.h"
#include "store/Storemanager.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <deque>
#include <map>
#include <numbers>
#include <vector>

using namespace modular_internal;

namespace {

AllocCount ModularAlloc = ALLOC_COUNTER("Modular");

constexpr double NotComputed = -99999999.0;

// The caches grow with the square of the field count or the group order. A count past half the
// int range is far beyond what the allocator grants, so it is handed to it to be refused before
// the int products and indices that follow could overflow.
template <class T> T* reserveSquare(GuardedArray<T>& a, long long rows, long long columns) {
    const long long n = rows * columns;
    if (n > INT_MAX / 2)
        allocate(static_cast<std::size_t>(n) * sizeof(T), &ModularAlloc, a.label());
    return a.reserve(static_cast<int>(n));
}

// ---- Simple-current group ----
Discrete_Group* SimpleCurrentCenter = nullptr;
GuardedArray<int> CenterMap("CenterMap", &ModularAlloc);
GuardedArray<int> InverseCenterMap("InverseCenterMap", &ModularAlloc);
int CenterStamp = -1;

// ---- Orbit table ----
std::vector<OrbitInfo> Primaries;
GuardedArray<int> CurMultTable("CurMultTable", &ModularAlloc);
GuardedArray<int> WeightArrays("Weights", &ModularAlloc); // Weights, Weights_den, OrbitMap
int* Weights = nullptr;
int* Weights_den = nullptr;
int* OrbitMap = nullptr;
int NOrbit = 0;
int G = 1;
// The counter under which the table could not be built; not tried again for that theory.
int OrbitDataFailed = -1;
// The orbit lists, one block of G ints per orbit, all released together.
struct OrbitListStore {
    std::vector<int*> lists;
    int length = 0; // ints in each list
    void release() {
        for (int* list : lists)
            freespace(list, sizeof(int) * length, &ModularAlloc, "Orbit pointer");
        lists.clear();
    }
    ~OrbitListStore() { release(); }
};
OrbitListStore OrbitLists;
// Each distinct charge vector once; a deque keeps the rows in place as it grows, so the
// records' pointers stay valid.
std::deque<std::vector<int>> AllCharges_0;
std::map<std::vector<int>, int> chargeNumbers;
std::vector<double> phasesR, phasesI;

// ---- Orbit S ----
MODMAT compute_s_base = nullptr;
GuardedArray<double> SBase("SBase", &ModularAlloc);
double* SBase_Im = nullptr;
// Per row of the lower triangle: 1 once its entries hold a value or NotComputed. A row is marked
// when first reached, so that setting up costs the number of orbits rather than its square: a
// theory of many orbits asks for few of their pairs.
std::vector<unsigned char> SBaseRowMarked;

// ---- Full S ----
GuardedArray<double> SMATRIX("SMATRIX", &ModularAlloc);
int SMATRIXsize = 0;

int packedIndex(int i, int j, int N) {
    if (i > j)
        std::swap(i, j);
    return i * (2 * N - 1 - i) / 2 + j;
}

// ---- initOrbitData steps ----

// Releases the orbit lists of the previous theory, which also reads the new group order.
void growOrbitTable(int N) {
    releaseOrbitP();
    allocateModularOrbitData(0);
    if (static_cast<int>(Primaries.size()) < N)
        Primaries.resize(N + 10);
    reserveSquare(CurMultTable, G, G);
    WeightArrays.reserve(3 * N);
    Weights = WeightArrays.X;
    Weights_den = Weights + N;
    OrbitMap = Weights_den + N;
    AllCharges_0.clear();
    chargeNumbers.clear();
}

void fillCurrentProducts(Discrete_Group* dg, const int* map) {
    for (int a = 0; a < G; a++)
        for (int b = 0; b < G; b++)
            CurMultTable[map[a] * G + map[b]] = DG_product(a, b, dg);
}

// Places every field on its orbit and gathers the weights over one common denominator. False when
// the theory could not say where a current takes some field (it has reported why): no table then.
bool buildOrbits(int N) {
    for (int x = 0; x < N; x++)
        Primaries[x].orbit_start = -1;
    NOrbit = 0;
    int L = 1;
    for (int x = 0; x < N; x++) {
        const rat* w = ratWeight(x);
        Weights_den[x] = w->den;
        Weights[x] = mod(w->num, w->den);
        L = SCM(L, w->den);
        if (Primaries[x].orbit_start != -1)
            continue;
        int* list = allocateModularOrbitData(1);
        OrbitMap[NOrbit] = x;
        Primaries[x].length = 0;
        Primaries[x].orbit = list;
        for (int J = 0; J < G; J++) {
            const int y = J == 0 ? x : directAction(J, x);
            if (y < 0 || y >= N)
                return false;
            list[J] = y;
            OrbitInfo& r = Primaries[y];
            if (r.orbit_start == -1) {
                r.current = J;
                r.orbit_index = NOrbit;
                r.orbit_start = x;
                if (y != x)
                    r.orbit = nullptr;
                Primaries[x].length++;
            }
        }
        NOrbit++;
    }
    for (int x = 0; x < N; x++)
        Weights[x] *= L / Weights_den[x];
    for (int x = 0; x < N; x++)
        Weights_den[x] = L;
    return true;
}

int* storeChargeVector(const std::vector<int>& q) {
    auto found = chargeNumbers.find(q);
    if (found != chargeNumbers.end())
        return AllCharges_0[found->second].data();
    AllCharges_0.push_back(q);
    chargeNumbers.emplace(q, static_cast<int>(AllCharges_0.size()) - 1);
    if (static_cast<int>(AllCharges_0.size()) > G)
        Alert("initOrbitData", 0, 212404, "Too many charges generated");
    return AllCharges_0.back().data();
}

// Each charge is a multiple of 1/G (its denominator is the order of a cyclic factor of the
// group), so G Q is an exact integer.
void computeCharges(int N) {
    std::vector<int> q(G);
    rat Q;
    for (int x = 0; x < N; x++) {
        for (int J = 0; J < G; J++) {
            monodromyCharge(J, x, &Q);
            q[J] = mod(static_cast<int>(static_cast<long long>(G) * Q.num / Q.den), G);
        }
        Primaries[x].charge = storeChargeVector(q);
    }
}

void fillPhases() {
    phasesR.assign(G, 1.0);
    phasesI.assign(G, 0.0);
    for (int k = 0; k < G; k++) {
        // Quarter turns exactly, so that real S stays free of rounding noise in its imaginary
        // part.
        if ((4 * k) % G == 0) {
            static constexpr double quarterR[] = {1.0, 0.0, -1.0, 0.0};
            static constexpr double quarterI[] = {0.0, 1.0, 0.0, -1.0};
            phasesR[k] = quarterR[4 * k / G];
            phasesI[k] = quarterI[4 * k / G];
            continue;
        }
        phasesR[k] = std::cos(2.0 * std::numbers::pi * k / G);
        phasesI[k] = std::sin(2.0 * std::numbers::pi * k / G);
    }
    PhasesR = phasesR.data();
    PhasesI = phasesI.data();
}

// From the row-file threshold on, the orbit S is too large for memory: rows on disk instead.
void setUpOrbitS() {
    if (NOrbit >= rowFileThreshold()) {
        compSBaseFromDisk(-1, 0, nullptr, nullptr);
        compute_s_base = compSBaseFromDisk;
    } else {
        compute_s_base = compSBase;
        reserveSquare(SBase, NOrbit + 1, NOrbit);
        SBase_Im = SBase.X + (NOrbit + 1) * NOrbit / 2;
        SBaseRowMarked.assign(static_cast<std::size_t>(NOrbit), 0);
    }
    OrbitSAvailable = CFTCounter;
    if (debugInit() == 1)
        ProgressPrint("##init: Orbit S matrix initialized\n");
}

// ---- initSMATRIX steps ----

// False when the user stopped it.
bool fillPackedS(int N) {
    SMATRIXsize = N;
    reserveSquare(SMATRIX, N + 3, N);
    const int half = N * (N + 1) / 2;
    startProgressInfo("Initiating S", static_cast<double>(half), 1);
    for (int i = 0; i < N; i++)
        for (int j = i; j < N; j++) {
            if (incrementProgressInfo()) {
                SMATRIXavailable = -1;
                SMATRIXWasAborted = 1;
                stopProgressInfo("Initiating S");
                return false;
            }
            double re, im;
            compS(i, j, &re, &im);
            const int p = packedIndex(i, j, N);
            SMATRIX[p] = re;
            SMATRIX[half + p] = im;
        }
    return true;
}

void fillTsquared(int N) {
    double* Tsq = SMATRIX.X + N * (N + 1);
    for (int i = 0; i < N; i++) {
        double re = 0.0, im = 0.0;
        directT(i, &re, &im);
        Tsq[i] = re * re - im * im;
        Tsq[N + i] = 2.0 * re * im;
    }
}

} // namespace

namespace modular_internal {

const double* PhasesR = nullptr;
const double* PhasesI = nullptr;

bool orbitDataValid() {
    return OrbitDataAvailable == CFTCounter;
}
int groupOrder() {
    return G;
}
const int* curMultTable() {
    return CurMultTable.X;
}
const int* orbitMap() {
    return OrbitMap;
}

} // namespace modular_internal

// ============================================================ Simple-current group

Discrete_Group* getCenter(int** map) {
    if (CenterStamp != CFTCounter) {
        std::vector<int> identified;
        SimpleCurrentCenter = centerOfTheory(identified);
        const int order = SimpleCurrentCenter->Order;
        CenterMap.reserve(order);
        InverseCenterMap.reserve(order);
        for (int e = 0; e < order; e++)
            CenterMap[e] = identified[e];
        for (int e = 0; e < order; e++)
            InverseCenterMap[CenterMap[e]] = CenterMap[e];
        CenterStamp = CFTCounter;
    }
    if (map)
        *map = CenterMap.X;
    return SimpleCurrentCenter;
}

int* allocateModularOrbitData(int mode) {
    if (mode == 0) {
        OrbitLists.release();
        G = getCenter(nullptr)->Order;
        OrbitLists.length = G;
        return nullptr;
    }
    int* list = static_cast<int*>(allocate(sizeof(int) * G, &ModularAlloc, "Orbit pointer"));
    OrbitLists.lists.push_back(list);
    return list;
}

// ============================================================ Orbit table

void initOrbitData() {
    if (OrbitDataAvailable == CFTCounter || OrbitDataFailed == CFTCounter || S_Symmetric() == 0 ||
        useOrbits() == 0)
        return;
    const int N = totalPrimaries();
    int* map = nullptr;
    Discrete_Group* dg = getCenter(&map);
    growOrbitTable(N);
    fillCurrentProducts(dg, map);
    if (!buildOrbits(N)) {
        OrbitDataFailed = CFTCounter;
        return;
    }
    // The table is complete: the charges read products from it.
    OrbitDataAvailable = CFTCounter;
    computeCharges(N);
    fillPhases();
    if (debugInit() == 1)
        ProgressPrint("##init: Simple current orbits available\n");
    if (useOrbits() < 2)
        return;
    setUpOrbitS();
    setUpOrbitP();
}

OrbitInfo* getOrbitInfo(int lbl) {
    return &Primaries[lbl];
}

int getNOrbit() {
    return NOrbit;
}

int getOrbitStart(int lbl) {
    return Primaries[lbl].orbit_start;
}

int* getChargePointer(int i) {
    return AllCharges_0[i].data();
}

int getNumberOfChargeVectors() {
    return static_cast<int>(AllCharges_0.size());
}

int findChargeVector(const int* charge) {
    auto found = chargeNumbers.find(std::vector<int>(charge, charge + G));
    if (found == chargeNumbers.end()) {
        Alert("findChargeVector", 0, 212404, "Charge vector not found\n");
        return -1;
    }
    return found->second;
}

// ============================================================ S

void compSBase(int o1, int o2, double* Re, double* Im) {
    if (o1 < o2)
        std::swap(o1, o2);
    const int row = (o1 + 1) * o1 / 2;
    if (!SBaseRowMarked[static_cast<std::size_t>(o1)]) {
        std::fill_n(SBase.X + row, o1 + 1, NotComputed);
        std::fill_n(SBase_Im + row, o1 + 1, NotComputed);
        SBaseRowMarked[static_cast<std::size_t>(o1)] = 1;
    }
    const int p = row + o2;
    if (SBase[p] < -1.5) {
        const int r1 = OrbitMap[o1], r2 = OrbitMap[o2];
        directS(std::min(r1, r2), std::max(r1, r2), &SBase[p], &SBase_Im[p]);
    }
    *Re = SBase[p];
    *Im = SBase_Im[p];
}

void compS(int i, int j, double* Re, double* Im) {
    if (SMATRIXavailable == CFTCounter) {
        const int p = packedIndex(i, j, SMATRIXsize);
        *Re = SMATRIX[p];
        *Im = SMATRIX[SMATRIXsize * (SMATRIXsize + 1) / 2 + p];
        return;
    }
    if (OrbitSAvailable == CFTCounter && orbitDataValid()) {
        const OrbitInfo& a = Primaries[i];
        const OrbitInfo& b = Primaries[j];
        compute_s_base(a.orbit_index, b.orbit_index, Re, Im);
        const int k = (a.charge[b.current] + Primaries[b.orbit_start].charge[a.current]) % G;
        if (k != 0) {
            const double r = *Re * PhasesR[k] - *Im * PhasesI[k];
            *Im = *Re * PhasesI[k] + *Im * PhasesR[k];
            *Re = r;
        }
        return;
    }
    directS(i, j, Re, Im);
}

void S_aux1(int o, int j, double* Re, double* Im) {
    compS(OrbitMap[o], j, Re, Im);
}

void S_aux2(int o, int j, double* Re, double* Im) {
    S_aux1(o, j, Re, Im);
    const int length = Primaries[OrbitMap[o]].length;
    *Re *= length;
    *Im *= length;
}

double* initFirstRow() {
    if (FirstRowAvailable != CFTCounter) {
        const int N = totalPrimaries();
        SMATRIX.reserve(N);
        for (int i = 0; i < N; i++) {
            double im;
            compS(i, 0, &SMATRIX[i], &im);
        }
        FirstRowAvailable = CFTCounter;
        if (debugInit() == 1)
            ProgressPrint("##init: First row of S initialized\n");
    }
    return SMATRIX.X;
}

double* initSMATRIX() {
    if (OrbitDataAvailable != CFTCounter)
        initOrbitData();
    if (SMATRIXavailable == CFTCounter || FirstRowAvailable == CFTCounter)
        return SMATRIX.X;
    if (SMATRIXWasAborted == 1 || S_Symmetric() == 0)
        return initFirstRow();
    const int N = totalPrimaries();
    if (N > smatrixMaxsize()) {
        SMATRIXavailable = -1;
        if (!orbitDataValid())
            Alert("initSMATRIX", 0, 100218,
                  "Too many primaries; Internal storage for full matrix S not used.\nThis may "
                  "result in slower execution.\nCurrently the maximum number of primaries is %d",
                  smatrixMaxsize());
        return initFirstRow();
    }
    if (!fillPackedS(N))
        return initFirstRow();
    fillTsquared(N);
    SMATRIXavailable = FirstRowAvailable = CFTCounter;
    stopProgressInfo("Initiating S");
    if (debugInit() == 1)
        ProgressPrint("##init: S matrix initialized\n");
    return SMATRIX.X;
}

// ============================================================ Conjugates and currents from S

int getGenericConjugate(int lbl) {
    const int N = totalPrimaries();
    std::vector<double> re(N), im(N);
    bool real = true;
    for (int j = 0; j < N; j++) {
        compS(lbl, j, &re[j], &im[j]);
        im[j] = -im[j];
        if (std::fabs(im[j]) >= Tolerance)
            real = false;
    }
    if (real)
        return lbl;
    for (int c = 0; c < N; c++) {
        bool match = true;
        for (int j = 0; j < N && match; j++) {
            double r, i;
            compS(c, j, &r, &i);
            match = std::fabs(r - re[j]) < Tolerance && std::fabs(i - im[j]) < Tolerance;
        }
        if (match)
            return c;
    }
    Alert("getGenericConjugate", 0, 212404, "No conjugate found");
    return -1;
}

void getExceptionalSimpleCurrents(int Ncur) {
    const int N = totalPrimaries();
    double s00, im;
    compS(0, 0, &s00, &im);
    for (int j = Ncur; j < N; j++) {
        double s0j;
        compS(0, j, &s0j, &im);
        if (std::fabs(s00 - s0j) < Tolerance)
            Print("Exceptional simple current: %d\n", j);
    }
}
