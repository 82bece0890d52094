// Shifted orbits: in a product of factor orbits the combinations of integer charge, if any, are
// one combination of simple currents times the orbits' first fields, up to the simple currents
// of the extended product. The shift is found by elimination over a triangular table of charges
// and cached by the charges it cancels. Also the simple-current pass of graded products, which
// runs over the NS and then the R simple currents of the factors.
#include "tensor/Coset.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Terminal.h"
#include "numeric/VectorUtility.h"
#include "store/Storemanager.h"
#include "tensor/ChiralOrbitTable.h"
#include "tensor/CosetInternal.h"

#include <algorithm>
#include <numeric>
#include <vector>

using namespace coset_internal;

namespace {

// What the last preparation made; the older family takes its charges with respect to the
// user's currents and searches a range of NS currents instead of eliminating.
struct Shifts {
    bool older = false;
    int nG = 0;
    std::vector<int> generatorRows;           // chiral-algebra rows
    std::vector<int> orders;                  // N_g
    std::vector<std::vector<int>> currents;   // the shift current of each generator
    std::vector<int> table;                   // C[g][h] at g * nG + h, units of 1/N_h
    std::vector<std::vector<int>> candidates; // older family: NS currents of each factor
    std::vector<int> ranges;                  // older family: positions searched per factor
};
Shifts shifts;
// Every simple current of each factor, walked in chains; made afresh by each preparation.
std::vector<CurrentChains> factorCurrents;

VectorSpace* chargeList = nullptr;    // needed charges (2 nG ints), then the shift (NTensor)
VectorSpace* basicCurrents = nullptr; // one basis current of one factor each
VectorSpace* orbitSet = nullptr;      // the result of getFullSimpleCurrentOrbit
RowIndex orbitSetIndex;
GuardedArray<int> shifted("Shifted", cosetAlloc());

void makeCurrentColumns(TensorProduct* TP);

VectorSpace* collection(VectorSpace*& s, const char* name) {
    if (!s)
        s = NewVectorSpace(0, 0, 100, cosetAlloc(), name);
    return s;
}

rat chargeOf(TensorProduct* TP, const int* J, const int* v) {
    rat Q;
    TensorRatCharge(TP, J, v, &Q);
    return Q;
}

// N Q for the charge Q = p/q of a field with respect to a current of order N.
int units(const rat& Q, int N) {
    return static_cast<int>(static_cast<long long>(N) * Q.num / Q.den);
}

const int* generatorRow(TensorProduct* TP, int g) {
    return rowOf(TP->ChiralAlgebra, shifts.generatorRows[static_cast<std::size_t>(g)]);
}

std::vector<int> power(TensorProduct* TP, const int* J, int n) {
    const int* p = tensorPower(TP, J, n);
    return std::vector<int>(p, p + TP->NTensor);
}

void startChargeList(TensorProduct* TP) {
    VectorSpace* list = collection(chargeList, "Charge list");
    initVectorCollection(list, 2 * shifts.nG + TP->NTensor, 100);
    setIdentificationSize(list, 2 * shifts.nG);
}

// The charges that G must be shifted by: minus its charge with respect to each generator, as
// (numerator modulo denominator, denominator).
std::vector<int> neededCharges(TensorProduct* TP, const int* G) {
    std::vector<int> key;
    for (int g = 0; g < shifts.nG; g++) {
        const rat Q = chargeOf(TP, generatorRow(TP, g), G);
        key.push_back(mod(-Q.num, Q.den));
        key.push_back(Q.den);
    }
    return key;
}

// The stored shift for these charges: its row, or -1.
int storedShift(TensorProduct* TP, const std::vector<int>& key) {
    int* scratch = rowOf(chargeList, chargeList->Nfill);
    copyVec(static_cast<int>(key.size()), scratch, key.data());
    nullifyVec(TP->NTensor, scratch + key.size());
    return findRow(chargeList, scratch);
}

// Stores the shift (null: no combination of integer charge) for the charges.
void storeShift(TensorProduct* TP, const std::vector<int>& key, const int* t) {
    std::vector<int> row(key);
    if (t)
        row.insert(row.end(), t, t + TP->NTensor);
    else {
        row.resize(key.size() + static_cast<std::size_t>(TP->NTensor), 0);
        if (TP->NTensor > 0)
            row[key.size()] = -1;
    }
    addVectorToCollection(chargeList, row.data());
}

// The stored shift of a row times G, or null when the row says there is none.
int* shiftedFromList(TensorProduct* TP, int r, const int* G) {
    const int* t = rowOf(chargeList, r) + 2 * shifts.nG;
    if (TP->NTensor > 0 && t[0] == -1)
        return nullptr;
    int* out = shifted.reserve(TP->NTensor + 1);
    tensorSimpleAction(TP, t, G, out);
    return out;
}

// The first field of orbit o_k in every factor.
std::vector<int> orbitStarts(TensorProduct* TP, const int* o) {
    std::vector<int> G(static_cast<std::size_t>(TP->NTensor));
    for (int k = 0; k < TP->NTensor; k++) {
        SpectrumData* sd = factor(TP, k);
        SM_makeOrbitPointers(sd);
        G[static_cast<std::size_t>(k)] = sd->OrbitPointers[o[k]];
    }
    return G;
}

void makeBasicCurrents(TensorProduct* TP) {
    VectorSpace* basic = collection(basicCurrents, "Basic currents");
    const int N = TP->NTensor;
    initVectorCollection(basic, N, 100);
    for (int k = 0; k < N; k++) {
        Discrete_Group* group = factor(TP, k)->SimpleCurrents;
        for (int j = 0; group && j < group->Mult; j++) {
            int* row = rowOf(basic, basic->Nfill);
            nullifyVec(N, row);
            row[k] = DG_basis(group, j);
            addVectorToSpace(basic);
        }
    }
}

// The order of current c in a factor: its powers acting on the vacuum until they return; 0 when
// they do not return within the factor's fields.
int currentOrder(SpectrumData* sd, int c) {
    int x = 0;
    for (int m = 1; m <= sd->Nprimaries; m++) {
        x = simpleAction(sd, c, x);
        if (x == 0)
            return m;
        if (x < 0)
            return 0;
    }
    return 0;
}

// The order of every element of the chiral algebra: the algebra acts factor by factor, so it is
// the least common multiple of the orders of its components. Walking the powers through the
// algebra, with a search per step, costs far more. An order left 0 is found by that walk.
std::vector<int> chiralAlgebraOrders(TensorProduct* TP) {
    const int N = TP->NTensor;
    const int n = rowCount(TP->ChiralAlgebra);
    std::vector<std::vector<int>> known(static_cast<std::size_t>(N));
    for (int k = 0; k < N; k++)
        known[static_cast<std::size_t>(k)].assign(
            static_cast<std::size_t>(currentsOf(factor(TP, k))), -1);
    std::vector<int> orders(static_cast<std::size_t>(n), 0);
    for (int e = 0; e < n; e++) {
        const int* row = rowOf(TP->ChiralAlgebra, e);
        long long order = 1;
        for (int k = 0; k < N && order > 0; k++) {
            std::vector<int>& cache = known[static_cast<std::size_t>(k)];
            const int c = row[k];
            const bool cached = c >= 0 && c < static_cast<int>(cache.size());
            if (cached && cache[static_cast<std::size_t>(c)] < 0)
                cache[static_cast<std::size_t>(c)] = currentOrder(factor(TP, k), c);
            const long long ok =
                cached ? cache[static_cast<std::size_t>(c)] : currentOrder(factor(TP, k), c);
            order = ok > 0 ? std::lcm(order, ok) : 0;
            if (order > n)
                order = 0;
        }
        orders[static_cast<std::size_t>(e)] = static_cast<int>(order);
    }
    return orders;
}

void prepareShifts(TensorProduct* TP) {
    factorCurrents.clear();
    const int N = TP->NTensor;
    const int n = rowCount(TP->ChiralAlgebra);
    std::vector<int> orders = chiralAlgebraOrders(TP), map(static_cast<std::size_t>(n), 0);
    Discrete_Group* dg = DG_mapProduct(map.data(), orders.data(), n, TP, chiralProduct);
    shifts = Shifts{};
    shifts.nG = dg->Mult;
    for (int b = 0; b < dg->Mult; b++) {
        shifts.generatorRows.push_back(map[static_cast<std::size_t>(DG_basis(dg, b))]);
        shifts.orders.push_back(dg->Orders[b]);
    }
    makeBasicCurrents(TP);
    const int nG = shifts.nG;
    shifts.table.assign(static_cast<std::size_t>(nG) * nG, 0);
    for (int g = 0; g < nG; g++) {
        const int Ng = shifts.orders[static_cast<std::size_t>(g)];
        std::vector<int> shift(static_cast<std::size_t>(N), 0);
        int charge = Ng;
        for (int b = 0; b < rowCount(basicCurrents); b++)
            charge = OptimizeCharge(TP, generatorRow(TP, g), rowOf(basicCurrents, b), shift.data(),
                                    charge, Ng);
        for (int h = 0; h < nG; h++) {
            const int Nh = shifts.orders[static_cast<std::size_t>(h)];
            shifts.table[static_cast<std::size_t>(g * nG + h)] =
                modshift(units(chargeOf(TP, generatorRow(TP, h), shift.data()), Nh), Nh);
        }
        ReduceLeadingCharges(TP, generatorRow(TP, g), shift.data(), basicCurrents, charge, Ng);
        shifts.currents.push_back(shift);
    }
    startChargeList(TP);
    makeCurrentColumns(TP);
    for (int k = 0; k < N; k++)
        SM_makeNSCurrents(factor(TP, k), 0);
}

// Elimination over the triangular table; t collects the shift, s = t G.
int* eliminate(TensorProduct* TP, const std::vector<int>& key, const std::vector<int>& G) {
    const int N = TP->NTensor;
    const int nG = shifts.nG;
    int* s = shifted.reserve(N + 1);
    copyVec(N, s, G.data());
    std::vector<int> t(static_cast<std::size_t>(N), 0);
    for (int g = 0; g < nG; g++) {
        const int Ng = shifts.orders[static_cast<std::size_t>(g)];
        const int n = mod(-units(chargeOf(TP, generatorRow(TP, g), s), Ng), Ng);
        const int d = shifts.table[static_cast<std::size_t>(g * nG + g)];
        // A zero charge of the shift current cannot cancel anything; nothing may divide by it.
        if (d == 0)
            Alert("computeShiftedOrbit", 0, 212404, "Vanishing shift current charge (generator %d)",
                  g);
        if (d == 0 || n % d != 0) {
            storeShift(TP, key, nullptr);
            return nullptr;
        }
        const std::vector<int> P =
            power(TP, shifts.currents[static_cast<std::size_t>(g)].data(), n / d);
        tensorSimpleAction(TP, P.data(), s, s);
        tensorSimpleAction(TP, P.data(), t.data(), t.data());
    }
    storeShift(TP, key, t.data());
    return s;
}

// ---- The older family ----

void prepareOlderShifts(TensorProduct* TP) {
    factorCurrents.clear();
    const int N = TP->NTensor;
    shifts = Shifts{};
    shifts.older = true;
    shifts.nG = TP->Ngenerator;
    for (int g = 1; g <= TP->Ngenerator; g++)
        shifts.generatorRows.push_back(g);
    for (int k = 0; k < N; k++) {
        SpectrumData* sd = factor(TP, k);
        SM_makeNSCurrents_ZNX_VERSION(sd, 0);
        const int* list = sd->NSCurrents;
        shifts.candidates.emplace_back(list, list + (list ? sd->NSCurrentCount : 0));
        shifts.ranges.push_back(std::min(currentsOf(sd) / 2, sd->NSCurrentCount));
    }
    // The last factor's range shrinks while a chiral-algebra element carries its last candidate
    // onto an earlier one.
    if (N > 0) {
        SpectrumData* last = factor(TP, N - 1);
        const std::vector<int>& list = shifts.candidates.back();
        int b = shifts.ranges.back();
        for (int m = 0; b > 1 && m < rowCount(TP->ChiralAlgebra);) {
            const int x = list[static_cast<std::size_t>(b - 1)];
            const int y = simpleAction(last, rowOf(TP->ChiralAlgebra, m)[N - 1], x);
            if (Present(list.data(), b - 1, y) >= 0) {
                b--;
                m = 1;
            } else {
                m++;
            }
        }
        shifts.ranges.back() = b;
    }
    startChargeList(TP);
    makeCurrentColumns(TP);
}

bool chargesMatch(TensorProduct* TP, const int* candidate, const std::vector<int>& key) {
    for (int g = 0; g < shifts.nG; g++) {
        const rat Q = chargeOf(TP, generatorRow(TP, g), candidate);
        if (mod(Q.num, Q.den) != key[static_cast<std::size_t>(2 * g)] ||
            Q.den != key[static_cast<std::size_t>(2 * g + 1)])
            return false;
    }
    return true;
}

int* searchOlderShift(TensorProduct* TP, const std::vector<int>& key, const std::vector<int>& G) {
    const int N = TP->NTensor;
    std::vector<int> candidate(static_cast<std::size_t>(N));
    for (Odometer pos(shifts.ranges); !pos.done(); pos.advance()) {
        for (int k = 0; k < N; k++)
            candidate[static_cast<std::size_t>(k)] = shifts.candidates[static_cast<std::size_t>(
                k)][static_cast<std::size_t>(pos.index()[static_cast<std::size_t>(k)])];
        if (!chargesMatch(TP, candidate.data(), key))
            continue;
        storeShift(TP, key, candidate.data());
        int* out = shifted.reserve(N + 1);
        tensorSimpleAction(TP, candidate.data(), G.data(), out);
        return out;
    }
    storeShift(TP, key, nullptr);
    return nullptr;
}

// ---- Expanding a shifted combination by the simple currents ----

// Per member of the set: whether it is the first member of its chiral-algebra orbit there. The
// later ones have the same orbit generator and give the full pass nothing new.
std::vector<char> firstOfOrbit;

// Distinct products are told apart by their whole rows.
void expandByRows(TensorProduct* TP, const std::vector<int>& shift, VectorSpace* set) {
    orbitSetIndex.reset(set);
    for (int c = 0; c < TP->TensorSimpleCurrentOrder; c++) {
        tensorSimpleAction(TP, TensorField(TP, c), shift.data(), rowOf(set, set->Nfill));
        if (orbitSetIndex.findScratch() < 0) {
            orbitSetIndex.appendScratch();
            firstOfOrbit.push_back(1);
        }
    }
}

// Every product lies in the product of the factor orbits of o, whose fields are contiguous runs,
// so a product is told by its positions in the runs: a number below the product of the run
// lengths, marked in a table instead of hashing whole rows. Factors whose run is one field long
// take no part. The chiral algebra keeps a product within the runs, so its orbit is marked the
// same way.
constexpr long long MarkLimit = 1LL << 22;
std::vector<int> memberMarks, orbitMarks;
int markStamp = 0;

struct Run {
    int k;
    int start;
    int length;
    long long radix;
    std::vector<int> position; // of J s_k in the run, per current J of the factor
};

// The runs of the factors where o has more than one field; false when they are too long for
// the tables or the action leaves them.
const CurrentChains& currentsOfFactor(TensorProduct* TP, int k) {
    SpectrumData* sd = factor(TP, k);
    const auto at = static_cast<std::size_t>(k);
    if (factorCurrents.size() <= at)
        factorCurrents.resize(at + 1, CurrentChains(nullptr, {}));
    if (factorCurrents[at].block() != sd || factorCurrents[at].size() != currentsOf(sd)) {
        std::vector<int> all(static_cast<std::size_t>(currentsOf(sd)));
        std::iota(all.begin(), all.end(), 0);
        factorCurrents[at] = CurrentChains(sd, std::move(all));
    }
    return factorCurrents[at];
}

bool runsOf(TensorProduct* TP, const int* o, const std::vector<int>& shift, std::vector<Run>& runs,
            long long& total) {
    total = 1;
    for (int k = 0; k < TP->NTensor; k++) {
        SpectrumData* sd = factor(TP, k);
        const int start = sd->OrbitPointers[o[k]];
        const int end = o[k] + 1 < sd->Norbits ? sd->OrbitPointers[o[k] + 1] : sd->Nprimaries;
        if (end - start <= 1)
            continue;
        Run run{k, start, end - start, total, {}};
        const CurrentChains& chains = currentsOfFactor(TP, k);
        run.position.resize(static_cast<std::size_t>(chains.size()));
        chains.act(shift[static_cast<std::size_t>(k)], run.position.data());
        for (int& p : run.position) {
            p -= start;
            if (p < 0 || p >= run.length)
                return false;
        }
        total *= run.length;
        if (total > MarkLimit)
            return false;
        runs.push_back(std::move(run));
    }
    return true;
}

void newStamp(long long total) {
    for (std::vector<int>* marks : {&memberMarks, &orbitMarks})
        if (marks->size() < static_cast<std::size_t>(total))
            marks->resize(static_cast<std::size_t>(total), 0);
    if (++markStamp == 0) {
        std::fill(memberMarks.begin(), memberMarks.end(), 0);
        std::fill(orbitMarks.begin(), orbitMarks.end(), 0);
        markStamp = 1;
    }
}

// Marks the chiral-algebra orbit of the member x; false when it was marked before.
bool markOrbit(TensorProduct* TP, const std::vector<Run>& runs, const int* x, long long code) {
    if (orbitMarks[static_cast<std::size_t>(code)] == markStamp)
        return false;
    // In graded mode orbits are taken up to grade flips; each member counts on its own there.
    const int elements = graded() ? 1 : rowCount(TP->ChiralAlgebra);
    for (int m = 0; m < elements; m++) {
        const int* J = rowOf(TP->ChiralAlgebra, m);
        long long image = 0;
        for (const Run& run : runs) {
            const int p = simpleAction(factor(TP, run.k), J[run.k], x[run.k]) - run.start;
            image += (p >= 0 && p < run.length ? p : 0) * run.radix;
        }
        orbitMarks[static_cast<std::size_t>(m == 0 ? code : image)] = markStamp;
    }
    return true;
}

// The simple-current rows factor by factor, so that one factor's labels of all rows lie together;
// made by each preparation of the shifts, when the simple-current rows are final. For a label a of
// factor k, the positions of J a in its run for the rows' J: the per-row part of a product's
// number, made on first use.
std::vector<std::vector<int>> currentColumns;
std::vector<std::vector<std::vector<int>>> positionColumns;
long long positionEntries = 0;
constexpr long long PositionEntryLimit = 1LL << 25;
std::vector<int> codes, scratchColumn;
bool orbitWise = false;

void makeCurrentColumns(TensorProduct* TP) {
    const int n = TP->TensorSimpleCurrentOrder;
    currentColumns.assign(static_cast<std::size_t>(TP->NTensor), std::vector<int>(n));
    positionColumns.assign(static_cast<std::size_t>(TP->NTensor), {});
    positionEntries = 0;
    for (int c = 0; c < n; c++) {
        const int* row = TensorField(TP, c);
        for (int k = 0; k < TP->NTensor; k++)
            currentColumns[static_cast<std::size_t>(k)][static_cast<std::size_t>(c)] = row[k];
    }
}

const int* positionColumn(TensorProduct* TP, const Run& run, int label) {
    const std::size_t k = static_cast<std::size_t>(run.k);
    std::vector<std::vector<int>>& byLabel = positionColumns[k];
    if (byLabel.size() < static_cast<std::size_t>(factor(TP, run.k)->Nprimaries))
        byLabel.resize(static_cast<std::size_t>(factor(TP, run.k)->Nprimaries));
    std::vector<int>& column = byLabel[static_cast<std::size_t>(label)];
    if (!column.empty())
        return column.data();
    const std::vector<int>& labels = currentColumns[k];
    // Past the limit the column is made for this product only.
    const bool kept = positionEntries + static_cast<long long>(labels.size()) <= PositionEntryLimit;
    std::vector<int>& out = kept ? column : scratchColumn;
    out.resize(labels.size());
    for (std::size_t c = 0; c < labels.size(); c++)
        out[c] = run.position[static_cast<std::size_t>(labels[c])];
    if (kept)
        positionEntries += static_cast<long long>(labels.size());
    return out.data();
}

bool expandByPositions(TensorProduct* TP, const int* o, const std::vector<int>& shift,
                       VectorSpace* set) {
    const int N = TP->NTensor;
    const int n = TP->TensorSimpleCurrentOrder;
    std::vector<Run> runs;
    long long total = 1;
    if (currentColumns.size() != static_cast<std::size_t>(N) ||
        (N > 0 && currentColumns[0].size() != static_cast<std::size_t>(n)) ||
        !runsOf(TP, o, shift, runs, total))
        return false;
    newStamp(total);
    codes.assign(static_cast<std::size_t>(n), 0);
    for (const Run& run : runs) {
        const int* position = positionColumn(TP, run, shift[static_cast<std::size_t>(run.k)]);
        const int radix = static_cast<int>(run.radix);
        int* code = codes.data();
        for (int c = 0; c < n; c++)
            code[c] += position[c] * radix;
    }
    long long marked = 0;
    for (int c = 0; c < n && marked < total; c++) {
        const int code = codes[static_cast<std::size_t>(c)];
        int& mark = memberMarks[static_cast<std::size_t>(code)];
        if (mark == markStamp)
            continue;
        mark = markStamp;
        marked++;
        const int* row = TensorField(TP, c);
        int* out = rowOf(set, set->Nfill);
        copyVec(N, out, shift.data());
        for (const Run& run : runs)
            out[run.k] = run.start + run.position[static_cast<std::size_t>(row[run.k])];
        firstOfOrbit.push_back(markOrbit(TP, runs, out, code) ? 1 : 0);
        addVectorToSpace(set);
    }
    return true;
}

// ---- The graded simple-current pass ----

struct GradeLists {
    std::vector<std::vector<int>> ns, r;
};

GradeLists gradeLists(TensorProduct* TP) {
    GradeLists lists;
    int gcount = 0;
    for (int k = 0; k < TP->NTensor; k++) {
        SpectrumData* sd = factor(TP, k);
        const int Np = sd->Nprimaries;
        std::vector<int> space(2 * static_cast<std::size_t>(Np));
        int Nc = 0, Rc = 0, Nm = 0, Rm = 0;
        SM_makeGradeMap(sd, space.data(), &Nc, &Rc, &Nm, &Rm, &gcount);
        lists.ns.emplace_back(space.begin(), space.begin() + Nc);
        lists.r.emplace_back(space.begin() + Np, space.begin() + Np + Rc);
    }
    return lists;
}

std::vector<int> sizes(const std::vector<std::vector<int>>& lists) {
    std::vector<int> n;
    for (const std::vector<int>& l : lists)
        n.push_back(static_cast<int>(l.size()));
    return n;
}

int gradedPass(TensorProduct* TP, int mode, bool older) {
    if (!TP->InputDataChanged)
        return 0;
    const int N = TP->NTensor;
    const GradeLists lists = gradeLists(TP);
    setGenuineCoset(TP);
    const char* title = older ? "Computing spectrum" : "Computing simple current spectrum";
    startProgressInfo(title, Odometer(sizes(lists.ns)).total() + Odometer(sizes(lists.r)).total(),
                      1);
    startSpectrumRows(TP);
    resetVectorCollection(TP->CurrPerms);
    prepareFactorActions(TP);
    computeChiralAlgebra(TP);
    const bool limited = !older && mode != 2;
    std::vector<int> v(static_cast<std::size_t>(N) + 1, 0);
    for (const std::vector<std::vector<int>>* sector : {&lists.ns, &lists.r}) {
        int mult = 0;
        FPType* fp = nullptr;
        v[0] = -2;
        filter(TP, v.data(), &mult, &fp);
        for (Odometer pos(sizes(*sector)); !pos.done(); pos.advance()) {
            if (incrementProgressInfo()) {
                finishSpectrumRows(TP);
                return -1;
            }
            const std::vector<int>& index = pos.index();
            for (std::size_t k = 0; k < index.size(); k++)
                v[k] = (*sector)[k][static_cast<std::size_t>(index[k])];
            v[static_cast<std::size_t>(N)] = 0;
            const int n = filter(TP, v.data(), &mult, &fp);
            if (storeAdmittedRows(TP, v.data(), n, fp, limited, title) == -1)
                return -1;
        }
    }
    return finishSimpleCurrentPass(TP, title, older);
}

} // namespace

namespace coset_internal {

bool startsChiralOrbit(int member) {
    return firstOfOrbit[static_cast<std::size_t>(member)] != 0;
}

bool oneMemberPerOrbit() {
    return orbitWise;
}

} // namespace coset_internal

int modshift(int i, int N) {
    const int m = mod(i, N);
    return m == 0 ? N : m;
}

int OptimizeCharge(TensorProduct* TP, const int* gen, const int* basis, int* result, int charge,
                   int order) {
    const int N = order;
    const int c = modshift(units(chargeOf(TP, gen, basis), N), N);
    const int g = GCD(c, charge);
    if (g == charge)
        return charge;
    const int M = N / g;
    if (M < 1) {
        Alert("OptimizeCharge", 0, 212404, "No solution for optimized charge");
        return N;
    }
    for (int x = 0; x < M; x++)
        for (int y = 0; y < M; y++) {
            if (mod(x * (c / g) + y * (charge / g), M) != 1 % M)
                continue;
            const std::vector<int> bx = power(TP, basis, x);
            const std::vector<int> sy = power(TP, result, y);
            tensorSimpleAction(TP, bx.data(), sy.data(), result);
            if (mod(units(chargeOf(TP, gen, result), N), N) != g % N)
                Alert("OptimizeCharge", 0, 212404, "WRONG solution for optimized charge");
            return g;
        }
    Alert("OptimizeCharge", 0, 212404, "No solution for optimized charge");
    return N;
}

void ReduceLeadingCharges(TensorProduct* TP, const int* gen, const int* curr,
                          VectorSpace* BasicCurrents, int charge, int order) {
    if (charge == 0)
        return;
    for (int r = 0; r < rowCount(BasicCurrents); r++) {
        int* row = rowOf(BasicCurrents, r);
        const int m = mod(-units(chargeOf(TP, gen, row), order), order);
        const std::vector<int> P = power(TP, curr, m / charge);
        tensorSimpleAction(TP, P.data(), row, row);
    }
}

int* computeShiftedOrbit(TensorProduct* TP, const int* o) {
    if (!o) {
        prepareShifts(TP);
        return nullptr;
    }
    const std::vector<int> G = orbitStarts(TP, o);
    const std::vector<int> key = neededCharges(TP, G.data());
    const int r = storedShift(TP, key);
    return r >= 0 ? shiftedFromList(TP, r, G.data()) : eliminate(TP, key, G);
}

int* computeShiftedOrbit_ZNX_VERSION(TensorProduct* TP, const int* o) {
    if (!o) {
        prepareOlderShifts(TP);
        return nullptr;
    }
    std::vector<int> G = orbitStarts(TP, o);
    for (int k = 0; k < TP->NTensor; k++) {
        SpectrumData* sd = factor(TP, k);
        int& label = G[static_cast<std::size_t>(k)];
        if (sd->graded && sd->grade[label] == 'R')
            label = sd->multiplets[label];
    }
    const std::vector<int> key = neededCharges(TP, G.data());
    const int r = storedShift(TP, key);
    return r >= 0 ? shiftedFromList(TP, r, G.data()) : searchOlderShift(TP, key, G);
}

VectorSpace* getFullSimpleCurrentOrbit(TensorProduct* TP, const int* o) {
    if (TP->TensorSimpleCurrentOrder == 0) {
        Alert("getFullSimpleCurrentOrbit", 0, 212404, "Simple currents not available");
        return nullptr;
    }
    const int N = TP->NTensor;
    VectorSpace* set = collection(orbitSet, "Full simple current orbit");
    initVectorCollection(set, N, 100);
    firstOfOrbit.clear();
    orbitWise = false;
    const int* s =
        shifts.older ? computeShiftedOrbit_ZNX_VERSION(TP, o) : computeShiftedOrbit(TP, o);
    if (!s)
        return set;
    const std::vector<int> shift(s, s + N);
    orbitWise = expandByPositions(TP, o, shift, set);
    if (!orbitWise) {
        resetVectorCollection(set);
        firstOfOrbit.clear();
        expandByRows(TP, shift, set);
    }
    orbitWise = orbitWise && !graded();
    return set;
}

int computeGradedTensorSpectrum(TensorProduct* TP, int mode) {
    return gradedPass(TP, mode, false);
}

int computeGradedTensorSpectrum_ZNX_VERSION(TensorProduct* TP, int mode) {
    return gradedPass(TP, mode, true);
}
