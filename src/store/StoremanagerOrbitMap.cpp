// Orbit tables for blocks the system builds itself: from an action of the simple currents on the
// fields (a callback in the builder's own numbering), or from the S matrix alone, where the
// currents are the fields of quantum dimension one and the action follows from the Verlinde
// formula. The fields are renumbered so that the currents come first, numbered as elements of
// their group, and every orbit is a run of fields starting with its generator.
#include "store/Storemanager.h"

#include "base/Error.h"
#include "store/StoremanagerInternal.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <vector>

using store_internal::allocateFor;
using store_internal::mult;

namespace {

AllocCount OrbitMapWork = ALLOC_COUNTER("Storemanager orbit map");
GuardedArray<int> orbitLengths("OrbitLengths", &OrbitMapWork);
GuardedArray<int> workArea("WorkArea", &OrbitMapWork);
GuardedArray<int> currentList("SimpleCurrents", &OrbitMapWork);
GuardedArray<int> mapWork("map", &OrbitMapWork);
GuardedArray<double> sCache("Cache", &OrbitMapWork);

// The builder's action as a group product for the identification of the currents. A label that
// is no field would send the identification round for ever, so it answers the identity and the
// failure is remembered instead.
struct GuardedAction {
    SIMFUS action;
    void* xtra;
    int Nprimaries;
    bool failed = false;
};

int guardedProduct(int a, int b, void* x) {
    auto* g = static_cast<GuardedAction*>(x);
    const int r = g->action(a, b, g->xtra);
    if (r < 0 || r >= g->Nprimaries) {
        g->failed = true;
        return 0;
    }
    return r;
}

void reportBrokenAction(int current, int field) {
    Alert("getMap", 2, 212404, "Current %d gives no field on %d; orbits not built", current, field);
}

int* stabilizerRow(SpectrumData* sd, int field) {
    return sd->Stabilizer + static_cast<std::size_t>(field) * mult(sd);
}

// The orbit of old field f gets the new labels from `next` on. False after a report when the
// action gives no field.
bool walkOrbit(SpectrumData* sd, int* map, GuardedAction& act, int f, int orbit, int& next) {
    const int N = sd->Nprimaries;
    Discrete_Group* dg = sd->SimpleCurrents;
    int* stabilizer = orbitLengths.X + dg->Order;
    int* basis = orbitLengths.X + 2 * dg->Order;
    int nstab = 0;
    const int first = next;
    for (int k = 0; k < dg->Order; k++) {
        const int x = act.action(map[k], f, act.xtra);
        if (x < 0 || x >= N) {
            reportBrokenAction(map[k], f);
            return false;
        }
        if (x == f)
            stabilizer[nstab++] = k;
        if (map[N + x] != -1)
            continue;
        if (next >= N) {
            reportBrokenAction(map[k], f);
            return false;
        }
        map[next] = x;
        map[N + x] = next;
        sd->OrbitLabel[next] = orbit;
        sd->OrbitPosition[next] = k;
        sd->OrbitGenerator[next] = first;
        next++;
    }
    const int M = mult(sd);
    if (M == 0)
        return true;
    const int nbasis = DG_findOrderedBasis(stabilizer, basis, dg, nstab);
    for (int L = first; L < next; L++) {
        if (sd->OrbitLabel[L] != orbit)
            Alert("getMap", 0, 212404, "WRONG ORBIT");
        int* row = stabilizerRow(sd, L);
        std::fill(row, row + M, 0);
        std::copy(basis, basis + std::min(nbasis, M), row);
    }
    return true;
}

// Identifies the group of the Ncur currents; false after a report when the action gives no field.
bool identifyCurrents(SpectrumData* sd, int* map, int Ncur, GuardedAction& act) {
    const int N = sd->Nprimaries;
    int* orders = orbitLengths.reserve(3 * std::max(Ncur, 1));
    std::fill(orders, orders + 3 * std::max(Ncur, 1), 0);
    std::fill(map + N, map + 2 * N, -1);
    sd->SimpleCurrents = DG_mapProduct(map, orders, Ncur, &act, guardedProduct);
    // A group of another order than the currents given (reported by the identification) would
    // send the orbit walk past the currents.
    if (act.failed || sd->SimpleCurrents->Order != Ncur) {
        Alert("getMap", 3, 212404, "Simple currents do not form a group; orbits not built");
        return false;
    }
    return true;
}

// The walk once the tables exist: currents, then every other orbit.
bool buildOrbits(SpectrumData* sd, int* map, int Ncur, GuardedAction& act) {
    const int N = sd->Nprimaries;
    for (int c = 0; c < Ncur; c++) {
        sd->OrbitLabel[c] = 0;
        sd->OrbitGenerator[c] = 0;
        sd->OrbitPosition[c] = c;
        map[N + map[c]] = c;
    }
    int next = Ncur;
    int orbit = 0;
    for (int f = Ncur; f < N; f++) {
        if (map[N + f] != -1)
            continue;
        if (!walkOrbit(sd, map, act, f, ++orbit, next))
            return false;
    }
    sd->Norbits = N > 0 ? sd->OrbitLabel[N - 1] + 1 : 0;
    if (next != N)
        Alert("getMap", 1, 110402, "Count discrepancy (%d != %d)", next, N);
    return true;
}

// ---- The block known by its S matrix ----

double realS(SpectrumData* sd, int i, int j, double* im) {
    double re = 0.0;
    SM_getS(sd, i, j, &re, im);
    return re;
}

// Label row, weight numerator and dimension of every field, to be put back in a new order.
struct FieldRows {
    int width;
    int* rows;
};

FieldRows saveFieldRows(SpectrumData* sd) {
    const int w = sd->RepSize + 2;
    int* rows = workArea.reserve(w * std::max(sd->Nprimaries, 1));
    for (int i = 0; i < sd->Nprimaries; i++) {
        int* r = rows + static_cast<std::size_t>(i) * w;
        std::copy(SM_getRep(sd, i), SM_getRep(sd, i) + sd->RepSize, r);
        r[sd->RepSize] = sd->Weight_num[i];
        r[sd->RepSize + 1] = sd->Dimensions ? sd->Dimensions[i] : 0;
    }
    return {w, rows};
}

// Field n gets the saved row of field order[n].
void restoreFieldRows(SpectrumData* sd, const FieldRows& saved, const int* order) {
    for (int n = 0; n < sd->Nprimaries; n++) {
        const int* r = saved.rows + static_cast<std::size_t>(order[n]) * saved.width;
        std::copy(r, r + sd->RepSize, SM_getRep(sd, n));
        sd->Weight_num[n] = r[sd->RepSize];
        if (sd->Dimensions)
            sd->Dimensions[n] = r[sd->RepSize + 1];
    }
}

// Field 0, then every field whose S(0, j) equals S(0, 0): quantum dimension one.
int findSimpleCurrents(SpectrumData* sd, int* list) {
    double im00 = 0.0;
    const double s00 = realS(sd, 0, 0, &im00);
    int n = 0;
    list[n++] = 0;
    for (int j = 1; j < sd->Nprimaries; j++) {
        double im = 0.0;
        const double re = realS(sd, 0, j, &im);
        if (std::fabs(im) < Tolerance && std::fabs(re - s00) < Tolerance)
            list[n++] = j;
    }
    return n;
}

void allocateOrbitInfo(SpectrumData* sd) {
    const std::size_t N = sd->Nprimaries;
    const std::size_t M = mult(sd);
    int* p = allocateFor<int>(sd, (2 * M + 3) * N, "Orbit Info");
    std::fill(p, p + (2 * M + 3) * N, 0);
    sd->OrbitLabel = p;
    sd->OrbitGenerator = p + N;
    sd->OrbitPosition = p + 2 * N;
    sd->Stabilizer = M ? p + 3 * N : nullptr;
    sd->Charges = M ? p + (3 + M) * N : nullptr;
}

// The S-matrix action for a whole reordering pass: the vacuum row and the rows of the currents
// are read once, and the product J x i is looked for only among the fields of the quantum
// dimension of i (column 0 of the Verlinde product), in label order, so that the answer is the
// one the full search gives. Valid while the field order stays as it was when it was made.
class IndexedAction {
public:
    IndexedAction(SpectrumData* sd, int Ncur)
        : sd_(sd), N_(sd->Nprimaries), vacuum_(row(0)), currents_(static_cast<std::size_t>(Ncur)) {
        byDimension_.resize(static_cast<std::size_t>(N_));
        for (int k = 0; k < N_; k++)
            byDimension_[k] = {vacuum_[k].real(), k};
        std::sort(byDimension_.begin(), byDimension_.end());
    }

    static int act(int cur, int prim, void* x) {
        return static_cast<IndexedAction*>(x)->product(cur, prim);
    }

private:
    using cplx = std::complex<double>;

    std::vector<cplx> row(int f) const {
        std::vector<cplx> r(static_cast<std::size_t>(N_));
        for (int m = 0; m < N_; m++) {
            double im = 0.0;
            const double re = realS(sd_, f, m, &im);
            r[m] = {re, im};
        }
        return r;
    }

    const std::vector<cplx>& currentRow(int cur) {
        if (cur >= static_cast<int>(currents_.size()))
            currents_.resize(static_cast<std::size_t>(cur) + 1);
        std::vector<cplx>& r = currents_[static_cast<std::size_t>(cur)];
        if (r.empty())
            r = row(cur);
        return r;
    }

    bool matches(int k, const std::vector<cplx>& target) const {
        for (int m = 0; m < N_; m++) {
            double im = 0.0;
            const double re = realS(sd_, k, m, &im);
            if (!ZeroCheck(re - target[m].real()) || !ZeroCheck(im - target[m].imag()))
                return false;
        }
        return true;
    }

    int product(int cur, int prim) {
        const std::vector<cplx>& J = currentRow(cur);
        const std::vector<cplx> P = row(prim);
        std::vector<cplx> target(static_cast<std::size_t>(N_));
        for (int m = 0; m < N_; m++)
            target[m] = J[m] * P[m] / vacuum_[m].real();
        const double d = target[0].real();
        auto lo = std::lower_bound(byDimension_.begin(), byDimension_.end(),
                                   std::pair<double, int>{d - 2 * Tolerance, -1});
        std::vector<int> candidates;
        for (auto at = lo; at != byDimension_.end() && at->first <= d + 2 * Tolerance; ++at)
            candidates.push_back(at->second);
        std::sort(candidates.begin(), candidates.end());
        for (int k : candidates)
            if (matches(k, target))
                return k;
        Alert("SM_GenericSimpleAction", 0, 212404, "No fusion product found for %d x %d\n", cur,
              prim);
        return -1;
    }

    SpectrumData* sd_;
    int N_;
    std::vector<cplx> vacuum_;
    std::vector<std::vector<cplx>> currents_;
    std::vector<std::pair<double, int>> byDimension_;
};

// Charges from the weights: h_f + h_b - h_(b f) for the generator b of each cyclic factor.
bool chargesFromWeights(SpectrumData* sd) {
    const int M = mult(sd);
    IndexedAction action(sd, sd->SimpleCurrents->Order);
    Discrete_Group* dg = sd->SimpleCurrents;
    for (int f = 0; f < sd->Nprimaries; f++)
        for (int c = 0; c < M; c++) {
            const int b = DG_basis(dg, c);
            const int x = IndexedAction::act(b, f, &action);
            if (x < 0)
                return false;
            const long long num =
                static_cast<long long>(sd->Weight_num[f]) + sd->Weight_num[b] - sd->Weight_num[x];
            const int q = static_cast<int>(num * dg->Orders[c] / sd->Weight_denom);
            sd->Charges[static_cast<std::size_t>(f) * M + c] = mod(q, dg->Orders[c]);
        }
    return true;
}

} // namespace

int SM_getMap(int* map, int Ncur, SpectrumData* sd, SIMFUS simple_action, void* xtra, int Dims,
              int Contents) {
    GuardedAction act{simple_action, xtra, sd->Nprimaries};
    if (!identifyCurrents(sd, map, Ncur, act))
        return -1;
    SM_allocFieldInfo(sd, Dims, Contents);
    return buildOrbits(sd, map, Ncur, act) ? 0 : -1;
}

int SM_GenericSimpleAction(int cur, int prim, void* X) {
    auto* sd = static_cast<SpectrumData*>(X);
    const int N = sd->Nprimaries;
    double* cache = sCache.reserve(2 * N + 10);
    for (int m = 0; m < N; m++) {
        double ji = 0.0, ii = 0.0, oi = 0.0;
        const double jr = realS(sd, cur, m, &ji);
        const double ir = realS(sd, prim, m, &ii);
        const double o = realS(sd, 0, m, &oi);
        cache[m] = (jr * ir - ji * ii) / o;
        cache[N + m] = (jr * ii + ji * ir) / o;
    }
    for (int k = 0; k < N; k++) {
        bool equal = true;
        for (int m = 0; m < N && equal; m++) {
            double im = 0.0;
            const double re = realS(sd, k, m, &im);
            equal = ZeroCheck(re - cache[m]) && ZeroCheck(im - cache[N + m]);
        }
        if (equal)
            return k;
    }
    Alert("SM_GenericSimpleAction", 0, 212404, "No fusion product found for %d x %d\n", cur, prim);
    return -1;
}

int SM_genericReorder(SpectrumData* sd) {
    const int N = sd->Nprimaries;
    FieldRows saved = saveFieldRows(sd);
    int* list = currentList.reserve(N + 10);
    const int Ncur = findSimpleCurrents(sd, list);
    std::printf("Total number of simple currents: %d\n", Ncur);
    // Currents first, in the order found; the others keep their order.
    std::vector<int> order(list, list + Ncur);
    std::vector<bool> isCurrent(static_cast<std::size_t>(N), false);
    for (int c = 0; c < Ncur; c++)
        isCurrent[static_cast<std::size_t>(list[c])] = true;
    for (int i = 0; i < N; i++)
        if (!isCurrent[static_cast<std::size_t>(i)])
            order.push_back(i);
    restoreFieldRows(sd, saved, order.data());
    int* map = mapWork.reserve(2 * N + 10);
    IndexedAction indexed(sd, Ncur);
    GuardedAction act{IndexedAction::act, &indexed, N};
    if (!identifyCurrents(sd, map, Ncur, act))
        return -1;
    allocateOrbitInfo(sd);
    if (!buildOrbits(sd, map, Ncur, act))
        return -1;
    saved = saveFieldRows(sd);
    restoreFieldRows(sd, saved, map);
    return chargesFromWeights(sd) ? 0 : -1;
}
