// Simple-current arithmetic of a block: the action J*i, products and powers of currents,
// stabilizers, the fixed-point test, the permutations of the currents by outer automorphisms,
// the current-action table, and the grading into NS and R sectors.
#include "store/Storemanager.h"

#include "base/Error.h"
#include "lie/Tarvik.h"
#include "numeric/VectorUtility.h"
#include "store/StoremanagerInternal.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using store_internal::allocateFor;
using store_internal::decomp;
using store_internal::groupOrder;
using store_internal::mult;
using store_internal::releaseFor;

namespace {

AllocCount StoreWork = ALLOC_COUNTER("Storemanager");

// One work array per operation, so that a result of one survives a call of another.
GuardedArray<int> actionProduct("product", &StoreWork);
GuardedArray<int> fusionProduct("product", &StoreWork);
GuardedArray<int> powerProduct("product", &StoreWork);
GuardedArray<int> stabilizerList("stabilizer", &StoreWork);
VectorSpace restrictedPermutations = declareVectorSpace("Integer spin permutations", 10);

const int* ordersOf(const SpectrumData* sd) {
    return sd->SimpleCurrents->Orders;
}

// Brings the product to the representative that the orbit tables store: each stabilizer
// generator, read from the last, reduces the product's component at its pivot modulo its own
// component there, leaving the components above the pivot unchanged.
void reduceModuloStabilizer(const SpectrumData* sd, int primary, int* product) {
    int M = mult(sd);
    const int* orders = ordersOf(sd);
    int bound = M;
    for (int k = M - 1; k >= 0; k--) {
        int s = sd->Stabilizer[primary * M + k];
        if (s == 0)
            continue;
        const int* d = decomp(sd, s);
        int pivot = 0;
        for (int c = bound - 1; c >= 0; c--)
            if (d[c] != 0) {
                pivot = c;
                break;
            }
        bound = pivot;
        if (product[pivot] == 0 || d[pivot] == 0)
            continue;
        int f = orders[pivot] - product[pivot] / d[pivot];
        for (int c = 0; c <= pivot; c++)
            product[c] = (product[c] + f * d[c]) % orders[c];
    }
}

// The components of a position as one number, factor 0 counting fastest.
long long positionCode(const SpectrumData* sd, const int* components) {
    long long code = 0;
    for (int c = mult(sd) - 1; c >= 0; c--)
        code = code * ordersOf(sd)[c] + components[c];
    return code;
}

// The end of the orbit that starts at g: its members follow g without a gap.
int orbitEnd(const SpectrumData* sd, int g) {
    int step = 1, last = g;
    while (last + step < sd->Nprimaries && sd->OrbitGenerator[last + step] == g) {
        last += step;
        step *= 2;
    }
    for (; step > 0; step /= 2)
        if (last + step < sd->Nprimaries && sd->OrbitGenerator[last + step] == g)
            last += step;
    return last + 1;
}

// The member of the field's orbit whose position has the given components, or -1. The blocks
// lay an orbit out by ascending position, so a bisection finds it; an orbit laid out otherwise
// is searched member by member. The fixed orbits of the large minimal models are thousands long.
int searchOrbit(const SpectrumData* sd, int primary, const int* product) {
    int M = mult(sd);
    int g = sd->OrbitGenerator[primary];
    if (sd->OrbitGenerator[g] != g)
        return -1;
    const long long wanted = positionCode(sd, product);
    int low = g, high = orbitEnd(sd, g);
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (positionCode(sd, decomp(sd, sd->OrbitPosition[middle])) < wanted)
            low = middle + 1;
        else
            high = middle;
    }
    if (low < sd->Nprimaries && sd->OrbitGenerator[low] == g &&
        compareVec(M, decomp(sd, sd->OrbitPosition[low]), product) == 0)
        return low;
    for (int f = g; f < sd->Nprimaries && sd->OrbitGenerator[f] == g; f++)
        if (compareVec(M, decomp(sd, sd->OrbitPosition[f]), product) == 0)
            return f;
    return -1;
}

void reportMissingField(const SpectrumData* sd, int current, int primary, const int* product) {
    int M = mult(sd);
    printVec(M, decomp(sd, current), "Current decomposition ");
    printVec(M, decomp(sd, sd->OrbitPosition[primary]), "Field decomposition ");
    printVec(M, product, "Product ");
    printVec(M, sd->Stabilizer + primary * M, "Stabilizer ");
    Alert("SM_SimpleAction", 1, 212404, "Field not found for (%d) x (%d)", current, primary);
}

// The current whose components are given; -1 after the report when there is none.
int currentOfComponents(SpectrumData* sd, const int* components, const char* routine) {
    int J = lookup(components, sd->SimpleCurrents->Decomp, mult(sd), groupOrder(sd));
    if (J < 0)
        Alert(routine, 0, 212404, "Current not found");
    return J;
}

void addIdentityRow(VectorSpace* c, int n) {
    std::vector<int> row(n);
    for (int i = 0; i < n; i++)
        row[i] = i;
    addVectorToCollection(c, row.data());
}

// D of even rank: the permutations of the currents 1, 2, 3 by the outer automorphisms, all
// six (triality) at rank 4.
void addDPermutations(SpectrumData* sd) {
    static int rows[6][4] = {{0, 1, 2, 3}, {0, 3, 2, 1}, {0, 2, 1, 3},
                             {0, 1, 3, 2}, {0, 2, 3, 1}, {0, 3, 1, 2}};
    int n = sd->rank == 4 ? 6 : 2;
    initVectorCollection(sd->CurrentOuterAutomorphisms, 4, n);
    for (int r = 0; r < n; r++)
        addVectorToCollection(sd->CurrentOuterAutomorphisms, rows[r]);
}

void releaseGrading(SpectrumData* sd) {
    releaseFor(sd, sd->grade, sd->Nprimaries, "Grade ");
    releaseFor(sd, sd->multiplets, sd->Nprimaries, "Grade multiplets ");
    sd->grade = nullptr;
    sd->multiplets = nullptr;
}

bool checkGradeCurrent(SpectrumData* sd, int J) {
    if (mult(sd) == 0 || !SM_currentCheck(sd, J) || SM_getCurrentOrder(sd, J) != 2) {
        Alert("SM_grade", 0, 100302, "Grade current should have order 2");
        return false;
    }
    rat h;
    SM_getRatWeight(sd, J, &h);
    if (halfintcheck(&h) > 1) {
        Alert("SM_grade", 1, 100302, "Grade current should have (half)-integer spin");
        return false;
    }
    return true;
}

// Sector and grade partner of every field; false after a report.
bool gradeFields(SpectrumData* sd, int J) {
    for (int i = 0; i < sd->Nprimaries; i++) {
        rat Q;
        SM_getRatCharge(sd, J, i, &Q);
        int kind = halfintcheck(&Q);
        if (kind > 1) {
            Alert("SM_grade", 2, 212404, "Charge of field %d invalid for grading", i);
            return false;
        }
        sd->grade[i] = kind == 0 ? 'N' : 'R';
        sd->multiplets[i] = SM_SimpleAction(sd, J, i);
        if (sd->multiplets[i] == i) {
            Alert("SM_grade", 3, 100302,
                  "Current %d has fixed points and cannot be used as grade current", J);
            return false;
        }
    }
    return true;
}

// Replaces the NS-current table by the given list.
void storeNSCurrents(SpectrumData* sd, const std::vector<int>& list) {
    std::size_t n = std::max<std::size_t>(list.size(), 1);
    if (sd->NSCurrents)
        sd->NSCurrents = static_cast<int*>(reallocate(sd->NSCurrents, n * sizeof(int),
                                                      sd->NSCurrentCount * sizeof(int),
                                                      &sd->TotalAlloc, "NS currents"));
    else
        sd->NSCurrents = allocateFor<int>(sd, n, "NS currents");
    sd->NSCurrentCount = static_cast<int>(n);
    std::copy(list.begin(), list.end(), sd->NSCurrents);
}

std::vector<int> currentsOfSector(const SpectrumData* sd, bool nsOnly) {
    std::vector<int> list;
    for (int J = 0; J < groupOrder(sd); J++)
        if (!nsOnly || sd->grade[J] == 'N')
            list.push_back(J);
    return list;
}

} // namespace

namespace store_internal {

int groupAction(SpectrumData* sd, int current, int primary) {
    int M = mult(sd);
    int* product = actionProduct.reserve(M);
    const int* dJ = decomp(sd, current);
    const int* dp = decomp(sd, sd->OrbitPosition[primary]);
    for (int c = 0; c < M; c++)
        product[c] = (dJ[c] + dp[c]) % ordersOf(sd)[c];
    reduceModuloStabilizer(sd, primary, product);
    int f = searchOrbit(sd, primary, product);
    if (f < 0)
        reportMissingField(sd, current, primary, product);
    return f;
}

} // namespace store_internal

// ---------------------------------------------------------------------------------------------
// Current arithmetic

int SM_SimpleAction(SpectrumData* sd, int current, int primary) {
    if (groupOrder(sd) == 1)
        return primary;
    if (!SM_fieldCheck(sd, primary)) {
        Alert("SM_SimpleAction", 0, 212404, "Primary out of range (%d > %d) Alg(%d,%d,%d)", primary,
              sd->Nprimaries, sd->type, sd->rank, sd->level);
        return -1;
    }
    if (!SM_currentCheck(sd, current)) {
        Alert("SM_SimpleAction", 2, 212404, "Current out of range (%d >= %d)", current,
              groupOrder(sd));
        return -1;
    }
    if (sd->type == 27) {
        // The gravitino action is kept per field; it is missing only while the block is built.
        if (current == 1 && sd->GravitinoAction)
            return sd->GravitinoAction[primary];
        const int f = SM_MinimalSimpleAction(sd, current, primary);
        if (f >= 0)
            return f;
    }
    return store_internal::groupAction(sd, current, primary);
}

int SM_SimpleCurrentFusion(SpectrumData* sd, int cur1, int cur2) {
    if (sd->type == 27)
        return SM_MinimalSimpleCurrentFusion(sd, cur1, cur2);
    int M = mult(sd);
    if (M == 0)
        return 0;
    if (!SM_currentCheck(sd, cur1) || !SM_currentCheck(sd, cur2)) {
        Alert("SM_SimpleCurrentFusion", 0, 212404, "Current not found");
        return -1;
    }
    int* product = fusionProduct.reserve(M);
    for (int c = 0; c < M; c++)
        product[c] = (decomp(sd, cur1)[c] + decomp(sd, cur2)[c]) % ordersOf(sd)[c];
    return currentOfComponents(sd, product, "SM_SimpleCurrentFusion");
}

int SM_SimpleCurrentPower(SpectrumData* sd, int cur1, int power) {
    if (sd->type == 27)
        return SM_MinimalSimpleCurrentPower(sd, cur1, power);
    int M = mult(sd);
    if (M == 0)
        return 0;
    if (!SM_currentCheck(sd, cur1)) {
        Alert("SM_SimpleCurrentPower", 0, 212404, "Current not found");
        return -1;
    }
    int* product = powerProduct.reserve(M);
    for (int c = 0; c < M; c++)
        product[c] = mod(power * decomp(sd, cur1)[c], ordersOf(sd)[c]);
    return currentOfComponents(sd, product, "SM_SimpleCurrentPower");
}

int SM_MakeStabilizer(SpectrumData* sd, int primary, int** stab) {
    int* list = stabilizerList.reserve(groupOrder(sd));
    *stab = list;
    list[0] = 0;
    if (groupOrder(sd) == 1)
        return 1;
    if (!SM_fieldCheck(sd, primary)) {
        Alert("SM_MakeStabilizer", 1, 212404, "Primary out of range (%d > %d) Alg(%d,%d,%d)",
              primary, sd->Nprimaries, sd->type, sd->rank, sd->level);
        return -1;
    }
    int M = mult(sd);
    int len = 1;
    // Each generator g appends the cosets gH, g^2 H, ... of the group H found so far.
    for (int k = 0; k < M; k++) {
        int g = sd->Stabilizer[primary * M + k];
        if (g == 0)
            continue;
        int x = SM_SimpleCurrentFusion(sd, g, list[0]);
        int j = 0;
        while (Present(list, len, x) < 0) {
            if (x < 0 || len >= groupOrder(sd)) {
                Alert("SM_MakeStabilizer", 0, 212404, "Stabilizer inconsistency");
                return -1;
            }
            list[len++] = x;
            if (++j >= len) {
                Alert("SM_MakeStabilizer", 0, 212404, "Stabilizer inconsistency");
                return -1;
            }
            x = SM_SimpleCurrentFusion(sd, g, list[j]);
        }
    }
    return len;
}

int SM_ReduceModuloStabilizer(SpectrumData* sd, int primary, int pos) {
    if (groupOrder(sd) == 1)
        return 0;
    int* stab = nullptr;
    int len = SM_MakeStabilizer(sd, primary, &stab);
    if (len <= 1)
        return pos;
    int best = pos;
    for (int s = 0; s < len; s++)
        best = std::min(best, SM_SimpleCurrentFusion(sd, stab[s], pos));
    return best;
}

int SM_fixedPointCurrent(SpectrumData* sd, int current) {
    if (sd->type >= 1 && sd->type <= 5)
        return FixedPointCheck(sd->type, sd->rank, sd->level,
                               ConvertToBasic(current, sd->type, sd->rank));
    if (sd->type == 27)
        return SM_minimalFixedPointCurrent(sd, current);
    if (sd->type == 6 && sd->rank == 2) {
        const int* l = SM_getRep(sd, current);
        return (l[0] == sd->level || l[0] == 0) && l[1] == 0 && l[2] == 0 ? 1 : 0;
    }
    if (!SM_currentCheck(sd, current))
        return 0;
    for (int i = 0; i < sd->Nprimaries; i++)
        if (SM_SimpleAction(sd, current, i) == i)
            return 1;
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Permutations of the currents

void SM_getCurrentOuterAutomorphisms(SpectrumData* sd) {
    VectorSpace* autos = sd->CurrentOuterAutomorphisms;
    int n = groupOrder(sd);
    initVectorCollection(autos, n, 2);
    addIdentityRow(autos, n);
    if (sd->Complexity == 1 && SM_ConjugatesAvailable(sd)) {
        SM_initConjugates(sd);
        addVectorToCollection(autos, sd->Conjugates);
        return;
    }
    if (sd->type == 4 && sd->rank % 2 == 0 && n == 4)
        addDPermutations(sd);
}

VectorSpace* SM_getIntegerSpinPermutations(SpectrumData* sd, IntegerList* Currents) {
    SM_getCurrentOuterAutomorphisms(sd);
    VectorSpace* autos = sd->CurrentOuterAutomorphisms;
    int n = Currents->cnt;
    if (!autos || autos->Nfill == 0 || n < 1)
        return nullptr;
    const int* L = Currents->list.X;
    initVectorCollection(&restrictedPermutations, n, autos->Nfill + 1);
    addIdentityRow(&restrictedPermutations, n);
    std::vector<int> row(n);
    for (int r = 1; r < autos->Nfill; r++) {
        const int* pi = rowOf(autos, r);
        row[0] = 0;
        for (int i = 1; i < n; i++) {
            row[i] = Present(L, n, pi[L[i]]);
            if (row[i] < 0) {
                Alert("SM_getIntegralPermutations", 1, 212404,
                      "Integer spin currents not closed under permutations");
                std::exit(1);
            }
        }
        addVectorToCollection(&restrictedPermutations, row.data());
    }
    return &restrictedPermutations;
}

// ---------------------------------------------------------------------------------------------
// Current-action table

void makeFusionTable(SpectrumData* sd) {
    int order = groupOrder(sd);
    int N = sd->Nprimaries;
    // The table of a block never changes, so a rebuild refills the same block.
    if (!sd->fusion_table)
        sd->fusion_table =
            allocateFor<int>(sd, static_cast<std::size_t>(order) * N, "Fusion table");
    for (int J = 0; J < order; J++)
        for (int i = 0; i < N; i++)
            sd->fusion_table[J * N + i] = SM_SimpleAction(sd, J, i);
}

int getResultFromFusionTable(SpectrumData* sd, int i, int j) {
    if (!SM_currentCheck(sd, i) || !SM_fieldCheck(sd, j))
        return -1;
    if (!sd->fusion_table)
        makeFusionTable(sd);
    int result = sd->fusion_table[i * sd->Nprimaries + j];
    if (i == 0 && result != j) {
        std::puts("FATAL FUSION ERROR");
        std::exit(1);
    }
    return result;
}

// ---------------------------------------------------------------------------------------------
// Grading

int SM_grade(SpectrumData* sd, int current) {
    if (sd->graded)
        return -1;
    if (!checkGradeCurrent(sd, current))
        return 1;
    sd->grade = allocateFor<char>(sd, sd->Nprimaries, "Grade ");
    sd->multiplets = allocateFor<int>(sd, sd->Nprimaries, "Grade multiplets ");
    if (!gradeFields(sd, current)) {
        releaseGrading(sd);
        return 1;
    }
    sd->gradecurr = current;
    sd->graded = 1;
    return -1;
}

int SM_makeGradeMap(SpectrumData* sd, int* space, int* Nc, int* Rc, int* Nm, int* Rm, int* gcount) {
    int N = sd->Nprimaries;
    int order = groupOrder(sd);
    if (!sd->graded) {
        for (int i = 0; i < N; i++)
            space[i] = space[N + i] = i;
        *Nc = *Rc = order;
        *Nm = *Rm = N;
        return 0;
    }
    (*gcount)++;
    *Nc = *Rc = -1;
    int nN = 0, nR = 0;
    for (int i = 0; i < N; i++) {
        if (*gcount > 1 && sd->multiplets[i] < i)
            continue;
        bool current = i < order;
        if (sd->grade[i] == 'N') {
            if (!current && nN > 0 && space[nN - 1] < order)
                *Nc = nN;
            space[nN++] = i;
        } else {
            if (!current && (nR == 0 || space[N + nR - 1] < order))
                *Rc = nR;
            space[N + nR++] = i;
        }
    }
    *Nm = nN;
    *Rm = nR;
    if (*Nc == -1)
        *Nc = nN;
    if (*Rc == -1)
        *Rc = nR;
    return 0;
}

int SM_makeNSCurrents(SpectrumData* sd, int grd) {
    int order = groupOrder(sd);
    if (!sd->graded || grd == 0) {
        storeNSCurrents(sd, currentsOfSector(sd, false));
        return order;
    }
    std::vector<int> list = currentsOfSector(sd, true);
    storeNSCurrents(sd, list);
    if (static_cast<int>(list.size()) != order / 2)
        Alert("SM_makeNSCurrents", 0, 212404, "NS current count error (%d != %d)",
              static_cast<int>(list.size()), order / 2);
    return order / 2;
}

int SM_makeNSCurrents_ZNX_VERSION(SpectrumData* sd, int) {
    int order = groupOrder(sd);
    std::vector<int> list = currentsOfSector(sd, sd->graded != 0);
    storeNSCurrents(sd, list);
    if (sd->graded && static_cast<int>(list.size()) != order / 2)
        Alert("SM_makeNSCurrents_ZNX_VERSION", 0, 212404, "NS current count error (%d != %d)",
              static_cast<int>(list.size()), order / 2);
    return 0;
}

void SM_makeOrbitPointers(SpectrumData* sd) {
    if (sd->OrbitPointers)
        return;
    sd->OrbitPointers = allocateFor<int>(sd, std::max(sd->Norbits, 1), "Orbit pointers");
    int found = 0;
    for (int i = 0; i < sd->Nprimaries; i++)
        if (sd->OrbitPosition[i] == 0) {
            if (found < sd->Norbits)
                sd->OrbitPointers[found] = i;
            found++;
        }
    if (found != sd->Norbits)
        Alert("SM_makeOrbitPointers", 0, 212404, "Orbit count discrepancy (%d != %d)", found,
              sd->Norbits);
}
