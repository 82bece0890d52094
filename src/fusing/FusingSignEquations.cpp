// Sign equations modulo 2: each pentagon or hexagon equation, whose terms are right up to sign,
// becomes linear equations over the sign bits of the unknowns in its terms.
#include "fusing/Fusing.h"

#include "base/Error.h"
#include "base/Output.h"
#include "modular/Modular.h"
#include "numeric/EquationCollections.h"
#include "numeric/MathUtility.h"

#include <algorithm>
#include <cmath>
#include <iterator>

std::unique_ptr<SignEquationStore> PolyNom;
VectorSpace FailedEquations = declareVectorSpace("FailedEquations", 40);

// ---- The store ----

SignEquationStore::SignEquationStore(int nvar) : pivotRow(nvar, -1), occurs(nvar) {}

namespace {

// a := a xor b for sorted lists of unknowns.
void xorInto(std::vector<int>& a, const std::vector<int>& b) {
    std::vector<int> out;
    out.reserve(a.size() + b.size());
    std::set_symmetric_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
    a.swap(out);
}

bool contains(const std::vector<int>& row, int var) {
    return std::binary_search(row.begin(), row.end(), var);
}

} // namespace

int SignEquationStore::add(std::vector<int> vars, int rhs) {
    std::sort(vars.begin(), vars.end());
    // Pairs of equal unknowns cancel.
    std::vector<int> eq;
    for (std::size_t k = 0; k < vars.size(); k++) {
        if (k + 1 < vars.size() && vars[k] == vars[k + 1]) {
            k++;
            continue;
        }
        eq.push_back(vars[k]);
    }
    rhs &= 1;
    // Reduced rows hold their pivot alone, so one pass over the original unknowns suffices.
    const std::vector<int> original = eq;
    for (int v : original)
        if (pivotRow[v] >= 0 && contains(eq, v)) {
            xorInto(eq, rows[pivotRow[v]]);
            rhs ^= rhss[pivotRow[v]];
        }
    if (eq.empty()) {
        if (rhs == 0)
            return 0;
        rejected++;
        return -1;
    }
    const int pivot = eq.front();
    const int r = static_cast<int>(rows.size());
    for (int other : occurs[pivot]) {
        if (other == r || !contains(rows[other], pivot))
            continue;
        std::vector<int>& row = rows[other];
        const std::vector<int> before = row;
        xorInto(row, eq);
        rhss[other] ^= rhs;
        for (int v : row)
            if (!contains(before, v))
                occurs[v].push_back(other);
    }
    occurs[pivot].clear();
    for (int v : eq)
        occurs[v].push_back(r);
    rows.push_back(std::move(eq));
    rhss.push_back(rhs);
    pivots.push_back(pivot);
    pivotRow[pivot] = r;
    return 1;
}

void SignEquationStore::solve(std::vector<int>& bits) const {
    bits.resize(pivotRow.size(), 0);
    for (std::size_t r = 0; r < rows.size(); r++) {
        int value = rhss[r];
        for (int v : rows[r])
            if (v != pivots[r])
                value ^= bits[v] & 1;
        bits[pivots[r]] = value;
    }
}

void resetSignEquations() {
    PolyNom = std::make_unique<SignEquationStore>(PentagonVariables.Nfill);
    initVectorCollection(&FailedEquations, 4, 40);
}

// ---- The sign search ----

namespace {

std::vector<int> flipResult;

} // namespace

int* FindSignFlips(double* Eq, int size, int* firstnonzero) {
    const double target = Eq[size];
    std::vector<int> free;
    for (int t = 0; t < size; t++)
        if (!ZeroCheck(Eq[t])) {
            if (*firstnonzero == -1)
                *firstnonzero = t;
            // The overall sign of a homogeneous equation is free: the reference keeps its own.
            if (t != *firstnonzero || !ZeroCheck(target))
                free.push_back(t);
        }
    if (*firstnonzero == -1) {
        if (ZeroCheck(target))
            return nullptr;
        PrintDoubleVec(size + 1, Eq, " > ");
        Alert("FindSignFlips", 0, 212404, "Unsolvable equation (size %d)", size);
        return nullptr;
    }
    const int n = static_cast<int>(free.size());
    std::vector<int> flips(size, 0), first, second;
    // Odometer order, the last term changing fastest.
    for (long long code = 0; code < (1LL << n); code++) {
        for (int m = 0; m < n; m++)
            flips[free[m]] = static_cast<int>((code >> (n - 1 - m)) & 1);
        double rest = target;
        for (int t = 0; t < size; t++)
            rest -= (1 - 2 * flips[t]) * Eq[t];
        if (!ZeroCheck(rest))
            continue;
        if (first.empty()) {
            first = flips;
            continue;
        }
        second = flips;
        break;
    }
    if (first.empty()) {
        PrintDoubleVec(size + 1, Eq, " > ");
        Alert("FindSignFlips", 1, 212404, "Unsolvable equation");
        return nullptr;
    }
    if (second.empty()) {
        flipResult = first;
        return flipResult.data();
    }
    if (size == 4 && ZeroCheck(target)) {
        auto same = [&](int x, int y) { return ZeroCheck(std::fabs(Eq[x]) - std::fabs(Eq[y])); };
        int code = 0;
        if (same(0, 1) && same(2, 3) && !same(0, 2))
            code = -3;
        else if (same(0, 2) && same(1, 3) && !same(0, 1))
            code = -4;
        else if (same(0, 3) && same(1, 2) && !same(0, 1))
            code = -5;
        if (code != 0) {
            *firstnonzero = code;
            flipResult = second;
            return flipResult.data();
        }
    }
    *firstnonzero = -2;
    return nullptr;
}

// ---- Records to equations ----

namespace {

// The row of the unknown with these labels; -1 after reporting that there is none.
int unknownRow(std::array<int, 6> labels) {
    const int row = findVectorInCollection(&PentagonVariables, labels.data());
    if (row < 0) {
        PrintVec(6, labels.data(), "Not found: ");
        Alert("ChangePentagonEquationEntry", 0, 212404, "Variable not found");
    }
    return row;
}

// Toggles one unknown into the list; an unknown met twice cancels in the store.
void toggle(std::vector<int>& list, std::array<int, 6> labels) {
    const int row = unknownRow(labels);
    if (row >= 0)
        list.push_back(row);
}

std::array<int, 6> signRow(int x, int y, int z) {
    return {-1, -1, std::max(x, y), std::min(x, y), z, -1};
}

// The unknowns of term index u (0 the right-hand side, t + 1 left-hand term t).
void pentagonTerm(const PentagonData& d, int u, std::vector<int>& list) {
    if (u == 0) {
        for (int f = 0; f < 2; f++)
            toggle(list, {d.rhslbls[0][f], d.rhslbls[1][f], d.rhslbls[2][f], d.rhslbls[3][f],
                          d.rhslbls[4][f], d.rhslbls[5][f]});
        return;
    }
    const auto& c = d.conlbls[u - 1];
    for (int f = 0; f < 3; f++)
        toggle(list, {c[0][f], c[1][f], c[2][f], c[3][f], c[4][f], c[5][f]});
}

void hexagonTerm(const PentagonData& d, int u, std::vector<int>& list) {
    if (u == 0) {
        const auto& r = d.rhslbls;
        const int p = r[0][0], rr = r[1][0], j = r[3][0], l = r[4][0], k = r[5][0];
        toggle(list, {p, rr, r[2][0], j, l, k});
        toggle(list, signRow(j, l, rr));
        toggle(list, signRow(k, l, getConjugate(p)));
        return;
    }
    const auto& c = d.conlbls[u - 1];
    for (int f = 0; f < 2; f++)
        toggle(list, {c[0][f], c[1][f], c[2][f], c[3][f], c[4][f], c[5][f]});
    toggle(list, signRow(c[1][0], c[5][0], getConjugate(c[2][0])));
}

void recordFailed(const PentagonData& d) {
    int key[4] = {d.labels[0], d.labels[1], d.labels[2], d.labels[3]};
    if (findVectorInCollection(&FailedEquations, key) < 0)
        addVectorToCollection(&FailedEquations, key);
}

using TermUnknowns = void (*)(const PentagonData&, int, std::vector<int>&);

// Sign equations of one record from its signed term values; 1 on a contradiction.
int addEquations(PentagonData* d, std::vector<double>& Eq, TermUnknowns unknowns,
                 const char* routine) {
    int first = -1;
    const int size = d->scontr + 1;
    const int* sol = FindSignFlips(Eq.data(), size, &first);
    if (first == -2) {
        recordFailed(*d);
        return 0;
    }
    // No sign choice makes the equation hold: no solution exists.
    if (!sol)
        return first >= 0 ? 1 : 0;
    const std::vector<int> flips(sol, sol + size);
    if (first <= -3) {
        // Two pairs of equal magnitude: each pair's relative sign is fixed, not the pairs'.
        static const int pairs[3][4] = {{0, 1, 2, 3}, {0, 2, 1, 3}, {0, 3, 1, 2}};
        const int* pr = pairs[-3 - first];
        for (int h = 0; h < 2; h++) {
            std::vector<int> list;
            unknowns(*d, pr[2 * h], list);
            unknowns(*d, pr[2 * h + 1], list);
            if (PolyNom->add(list, flips[pr[2 * h]] ^ flips[pr[2 * h + 1]]) < 0)
                Alert(routine, h, 212404, "No solution");
        }
        return 0;
    }
    for (int t = first + 1; t < size; t++) {
        if (ZeroCheck(Eq[t]))
            continue;
        std::vector<int> list;
        unknowns(*d, first, list);
        unknowns(*d, t, list);
        if (PolyNom->add(list, flips[t]) < 0) {
            Alert(routine, 0, 212404, "No solution");
            return 1;
        }
    }
    return 0;
}

} // namespace

int addPentagonEquation(PentagonData* data) {
    std::vector<double> Eq(data->scontr + 2, 0.0);
    Eq[0] = -(data->RHS1 * data->RHS2);
    for (int t = 0; t < data->scontr; t++)
        Eq[t + 1] = data->contribs[t][0] * data->contribs[t][1] * data->contribs[t][2];
    return addEquations(data, Eq, pentagonTerm, "addPentagonEquation");
}

int addHexagonEquation(PentagonData* data) {
    std::vector<double> Eq(data->scontr + 2, 0.0);
    Eq[0] = -(data->RHS1 * data->epsrhs1 * data->epsrhs2 * data->phasefactor);
    for (int t = 0; t < data->scontr; t++)
        Eq[t + 1] = data->contribs[t][0] * data->contribs[t][1] * data->epslhs[t] *
                    data->leftphasefactor[t];
    return addEquations(data, Eq, hexagonTerm, "addHexagonEquation");
}

// ---- Operations the solver does not use ----

int ChangePentagonEquationEntry(int* vector, int size, const int* idvec) {
    const int row = unknownRow({idvec[0], idvec[1], idvec[2], idvec[3], idvec[4], idvec[5]});
    if (row < 0)
        return -1;
    addEntryToBinaryVector_OLD(vector, size, row, 0);
    return 0;
}

void ChangePentagonEquationEntries(int* vector, int size, int p, int s, int sc, int q, int a, int i,
                                   int j, int k) {
    const int first[6] = {p, s, a, i, j, k}, second[6] = {sc, q, a, k, j, i};
    ChangePentagonEquationEntry(vector, size, first);
    ChangePentagonEquationEntry(vector, size, second);
    AddHexagonSigns(vector, size, p, s, sc, q, a, i, j, k);
}

void AddHexagonSigns(int* vector, int size, int /*p*/, int s, int sc, int q, int a, int i, int j,
                     int k) {
    if (sc != getConjugate(s))
        Alert("addHexagonSigns", 0, 212404, "Invalid inversion relation %d != %d^c (%d %d %d %d)",
              s, sc, a, i, j, k);
    const int ac = getConjugate(a);
    for (const std::array<int, 6>& sign :
         {signRow(i, q, ac), signRow(j, k, q), signRow(s, k, ac), signRow(i, j, s)})
        ChangePentagonEquationEntry(vector, size, sign.data());
}

int addToPolynomialEquations(const int* Eq, int lhs, SignEquationStore* store) {
    std::vector<int> list;
    for (const int* e = Eq; *e >= 0; e++)
        list.push_back(*e);
    return store->add(std::move(list), lhs);
}

void setHexagonSignIdentifier(int* id, int i, int j, int k) {
    id[2] = std::max(i, j);
    id[3] = std::min(i, j);
    id[4] = k;
}

void PrintPentagonEquation(const int* eq) {
    Print("Equation:\n");
    const int n = PentagonVariables.Nfill;
    for (int v = 0; v < n; v++)
        if (eq[v] == 1)
            Print("%d\n", v);
    Print("RHS %d\n", eq[n]);
}
