// Gauge fixing of the sign unknowns and gauge transformations: rescaling a coupling (a, b, c) by
// a sign changes every entry that contains it, so some signs are fixed before the pentagon and
// hexagon signs go into the store, and two solutions are the same when a gauge maps one on the
// other.
#include "fusing/Fusing.h"
#include "fusing/FusingInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "modular/Modular.h"

#include <algorithm>
#include <array>
#include <map>

using fusing::blockType;

std::vector<std::array<int, 3>> FusingGaugeVariables;
std::vector<int> BasicSolution;

namespace {

bool isEntry(const int* v) {
    return v[0] != -1;
}

std::map<std::array<int, 3>, int> gaugeIndex;

void addFixing(int row, int rhs, const char* routine) {
    if (PolyNom->add({row}, rhs) < 0)
        Alert(routine, 1, 212404, "No solution");
}

} // namespace

// ---- Predicates on one unknown ----

int fixExternalIncomingIdentity(const int* v) {
    return isEntry(v) && (v[3] == 0 || v[4] == 0 || v[5] == 0);
}
int fixInternalIdentity(const int* v) {
    return isEntry(v) && (v[0] == 0 || v[1] == 0);
}
int fixExternalOutgoingIdentity(const int* v) {
    return isEntry(v) && v[2] == 0;
}
int fixFaaaa(const int* v) {
    return isEntry(v) && v[0] == 0 && v[1] == 0 && v[2] == v[3] && v[3] == v[4] && v[4] == v[5];
}
int fixEpsilonaa0(const int* v) {
    return !isEntry(v) && v[2] == v[3] && v[4] == 0;
}
int fixEpsilon(const int* v) {
    return !isEntry(v);
}
int fixAllFusing(const int* v) {
    return isEntry(v);
}
int fixExternalSimpleCurrent(const int* v) {
    return blockType() == 7 && isEntry(v) && (v[2] == 2 || v[3] == 2 || v[4] == 2 || v[5] == 2);
}
int fixInternalSimpleCurrent(const int* v) {
    return blockType() == 7 && isEntry(v) && (v[0] == 2 || v[1] == 2);
}
int fixMultiSimpleCurrent(const int* v) {
    if (!isEntry(v))
        return 0;
    int n = 0;
    for (int k = 2; k < 6; k++)
        n += simpleCurrentCheck(v[k]) ? 1 : 0;
    return n > 1;
}
int fixReferenceEpsilons(const int* v) {
    return !isEntry(v) && v[2] >= 4 && v[3] >= 4 && v[4] >= 4 && v[2] != v[3] && v[3] != v[4] &&
           v[2] != v[4];
}
int fixReferenceFusings(const int* v) {
    if (!isEntry(v) || v[2] < 4 || v[3] < 4 || v[4] < 4 || v[5] < 4)
        return 0;
    if (v[3] == v[4] || v[4] == v[5] || v[3] == v[5])
        return 0;
    int n = 0;
    countFusingCouplings(v[2], v[3], v[4], v[5], &n);
    return n < 2;
}
int fixReference(const int* v) {
    return fixReferenceEpsilons(v) || fixReferenceFusings(v);
}

int fixPrimaryPropagation(const int* v) {
    if (blockType() != 7 || !isEntry(v))
        return 0;
    const int p = v[0], q = v[1], a = v[2], b = v[3], c = v[4], d = v[5];
    if (fusing::inV(p) || fusing::inV(q))
        return 0;
    return channelCheck(a, b, p) == 1 && channelCheck(c, d, p) == 1 && channelCheck(a, d, q) == 1 &&
           channelCheck(b, c, q) == 1;
}

int fixFusingGauge(const int* v) {
    if (!v) {
        Print("Fixing fusings with external incoming identity\n");
        Print("Fixing fusings with internal identity\n");
        if (blockType() == 7)
            Print("Fixing fusings with internal primary propagation\n");
        Print("Fixing fusings with external outgoing identity\n");
        Print("Fixing Fusing matrices F_00[aaaa]\n");
        Print("Fixing epsilon_aa^0\n");
        return 0;
    }
    if (!isEntry(v))
        return fixEpsilonaa0(v);
    return fixExternalIncomingIdentity(v) || fixInternalIdentity(v) || fixPrimaryPropagation(v) ||
           fixExternalOutgoingIdentity(v) || fixFaaaa(v);
}

int frobeniusSchurIndicator(int a) {
    // A free boson of N fields: the self-conjugate field N/2 has indicator (-1)^(N/2). Its
    // modular data are not needed for that (and are large for many fields); other blocks ask the
    // facade.
    if (a == 0)
        return 1;
    if (blockType() != 0)
        return getSchurIndex(a);
    const int N = fusingLabelBound();
    return (N % 2 == 0 && 2 * a == N && (N / 2) % 2 == 1) ? -1 : 1;
}

namespace {

// F_00[a a a a] and eps(a,a;0) carry no gauge freedom once the vacuum couplings are fixed: their
// signs are values, not choices. Both carry the indicator of the self-conjugate field a: F_00 is
// the indicator over the quantum dimension, and R^{aa}_0 = eps(a,a;0) exp(-2 pi i h_a) is the
// indicator times the inverse twist. The equations alone leave eps(a,a;0) open where a second
// braiding with the twist of a shifted by 1/2 also solves them.
bool fixedByValue(const int* v) {
    return fixFaaaa(v) || fixEpsilonaa0(v);
}

int fixedBit(const int* v) {
    if (!fixedByValue(v) || v[2] == 0)
        return 0;
    const double value = getFusingVariableValue(v);
    const int sign = value < 0 ? -1 : 1;
    return sign == frobeniusSchurIndicator(v[2]) ? 0 : 1;
}

// The largest label + 1 among the unknowns: their gauge couplings lie below it.
int labelBoundOfUnknowns() {
    int bound = 0;
    for (int v = 0; v < PentagonVariables.Nfill; v++)
        for (int k = 0; k < 6; k++)
            bound = std::max(bound, rowOf(&PentagonVariables, v)[k] + 1);
    return bound;
}

} // namespace

void fixRelativeSignsForSignatures() {
    Print("Fixing relative signs for elements with the same signature\n");
    // Equal signatures are tied to the first unknown of their group: as many equations as
    // unknowns, not one per pair.
    std::map<std::array<int, 11>, int> first;
    for (int v = 0; v < PentagonVariables.Nfill; v++) {
        std::array<int, 11> s{};
        computeSignatureForLabels(rowOf(&PentagonVariables, v), s.data());
        auto [it, fresh] = first.emplace(s, v);
        if (!fresh && PolyNom->add({v, it->second}, 0) < 0)
            Alert("fixRelativeSignsForSignatures", 0, 212404, "No Solution");
    }
}

void chooseFusingGauge() {
    fixFusingGauge(nullptr);
    getFusingGaugeVariables(labelBoundOfUnknowns());
    // The gauge bits the fixed unknowns have used up. An identity rule fixes an entry only when
    // its couplings still leave a gauge to choose its sign: otherwise its sign is a product of
    // fixed ones and the data decide it (a field with indicator -1 makes some such products -1).
    SignEquationStore used(static_cast<int>(FusingGaugeVariables.size()));
    for (int v = 0; v < PentagonVariables.Nfill; v++) {
        const int* row = rowOf(&PentagonVariables, v);
        if (fixFusingGauge(row)) {
            const bool choice = used.add(getFusingGaugeEquation(row), 0) == 1;
            if (choice || fixedByValue(row)) {
                const int bit = fixedBit(row);
                addFixing(v, bit, bit ? "fixAndFlipVars" : "fixVars");
            }
        }
        if (Iterate)
            fixVarFromSignFlipFile(v);
    }
    // Only the orbifold has signatures; elsewhere all would share one and be tied together.
    if (blockType() == 7)
        fixRelativeSignsForSignatures();
    manualGaugeFixing();
}

// ---- Gauge transformations ----

void getFusingGaugeVariables(int max) {
    FusingGaugeVariables.clear();
    gaugeIndex.clear();
    for (int a = 0; a < max; a++)
        for (int b = 0; b < max; b++)
            for (int c = 0; c < max; c++)
                if (fusingCoupling(a, b, c) == 1) {
                    gaugeIndex.emplace(std::array<int, 3>{a, b, c},
                                       static_cast<int>(FusingGaugeVariables.size()));
                    FusingGaugeVariables.push_back({a, b, c});
                }
}

std::vector<int> getFusingGaugeEquation(const int* v) {
    std::vector<std::array<int, 3>> couplings;
    if (isEntry(v)) {
        const int p = v[0], q = v[1], a = v[2], b = v[3], c = v[4], d = v[5];
        couplings = {{b, getConjugate(p), getConjugate(a)},
                     {c, d, getConjugate(p)},
                     {q, d, getConjugate(a)},
                     {b, c, q}};
    } else {
        couplings = {{v[2], v[3], v[4]}, {v[3], v[2], v[4]}};
    }
    std::vector<int> list;
    for (std::size_t k = 0; k < couplings.size(); k++) {
        auto it = gaugeIndex.find(couplings[k]);
        if (it == gaugeIndex.end()) {
            Alert("getFusingGaugeEquation", isEntry(v) ? static_cast<int>(k) : 0, 212404,
                  "Coupling not found");
            continue;
        }
        list.push_back(it->second);
    }
    // The store cancels a coupling that occurs twice.
    return list;
}

int identityGaugeClassCheck(int nvar, const int* loop, const int* vars) {
    SignEquationStore gauge(static_cast<int>(FusingGaugeVariables.size()));
    std::map<int, int> freeBit;
    for (int t = 0; t < nvar; t++) {
        freeBit[vars[t]] = loop[t] & 1;
        if (gauge.add(getFusingGaugeEquation(rowOf(&PentagonVariables, vars[t])), loop[t]) < 0)
            return 0;
    }
    for (int r = 0; r < PolyNom->equations(); r++) {
        const std::vector<int>& row = PolyNom->row(r);
        int pivot = -1;
        for (int u : row)
            if (PolyNom->pivotOf(u) == r)
                pivot = u;
        int bit = PolyNom->rhs(r);
        for (int u : row)
            if (u != pivot) {
                auto it = freeBit.find(u);
                bit ^= it == freeBit.end() ? 0 : it->second;
            }
        const int basic = pivot < static_cast<int>(BasicSolution.size()) ? BasicSolution[pivot] : 0;
        if (gauge.add(getFusingGaugeEquation(rowOf(&PentagonVariables, pivot)), bit ^ basic) < 0)
            return 0;
    }
    return 1;
}
