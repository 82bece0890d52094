// The pentagon and hexagon equations of the current block: enumeration, display with a filter,
// numeric checks and the self-test of all equations and of S.
#include "fusing/Fusing.h"
#include "fusing/FusingInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "modular/Modular.h"
#include "numeric/MathUtility.h"
#include "store/Storemanager.h"

#include <algorithm>
#include <cmath>

using fusing::CopiedMatrix;

void PentagonData::clearTerms() {
    scontr = 0;
    contribs.clear();
    conlbls.clear();
    contribss.clear();
    leftweight.clear();
    leftphasefactor.clear();
    epslhs.clear();
}

int PentagonData::addTerm() {
    contribs.push_back({0.0, 0.0, 0.0});
    conlbls.push_back({});
    contribss.push_back(0);
    leftweight.push_back(0.0);
    leftphasefactor.push_back(0.0);
    epslhs.push_back(1);
    return scontr++;
}

namespace {

constexpr double Pi = 3.14159265358979323846;

std::vector<int> outcomeList, hexagonList;

// The print filter of the pentagon display.
int USE = 0;
int filterLabels[4] = {0, 0, 0, 0};

void setLabels(int (&rhs)[6][2], int f, std::array<int, 6> l) {
    for (int m = 0; m < 6; m++)
        rhs[m][f] = l[m];
}

void setTermLabels(PentagonData& d, int t, int f, std::array<int, 6> l) {
    for (int m = 0; m < 6; m++)
        d.conlbls[t][m][f] = l[m];
}

// The fields reached from the list `from` by fusing with x, in order of first appearance.
void productStep(const std::vector<int>& from, int x, std::vector<int>& to) {
    const int N = getCurrentSD()->Nprimaries;
    std::vector<char> seen(N, 0);
    to.clear();
    for (int y : from)
        for (int z = 0; z < N; z++)
            if (!seen[z] && fusingCoupling(y, x, z) != 0) {
                seen[z] = 1;
                to.push_back(z);
            }
}

// Runs `act` on every completed pentagon record; false from it stops the enumeration.
bool enumeratePentagon(int a, int i, int j, int k, const std::function<bool(PentagonData&)>& act) {
    SpectrumData* sd = getCurrentSD();
    if (!sd)
        return true;
    int size = 0;
    const int* list = getOutcomingStates(a, i, j, k, &size);
    const std::vector<int> outcomes(list, list + size);
    const int qBound = fusingLabelBound();
    CopiedMatrix M1, M2, M3, M4, M5;
    PentagonData d;
    d.labels[0] = a;
    d.labels[1] = i;
    d.labels[2] = j;
    d.labels[3] = k;
    for (int o : outcomes) {
        const int b = getConjugate(o);
        for (int q = 0; q < qBound; q++) {
            if (!M1.take(a, i, j, q) || M1.n == 0)
                continue;
            const int qc = getConjugate(q);
            for (int rr = 0; rr < M1.n; rr++) {
                const int r = M1.qLabel(rr);
                if (!M2.take(a, r, k, b) || M2.n == 0)
                    continue;
                const int qRow = M2.p(qc);
                if (qRow < 0)
                    break;
                for (int ll = 0; ll < M2.n; ll++) {
                    const int l = M2.qLabel(ll);
                    for (int pp = 0; pp < M1.n; pp++) {
                        const int p = M1.pLabel(pp);
                        d.clearTerms();
                        d.RHS1 = M1.at(pp, rr);
                        d.RHS2 = M2.at(qRow, ll);
                        setLabels(d.rhslbls, 0, {p, r, a, i, j, q});
                        setLabels(d.rhslbls, 1, {qc, l, a, r, k, b});
                        const double rhs = d.RHS1 * d.RHS2;
                        const bool present = M3.take(p, j, k, b) && M3.n > 0;
                        const int qcRow = present ? M3.p(qc) : -1;
                        if (qcRow < 0) {
                            if (!present && ZeroCheck(rhs))
                                continue;
                            if (!ZeroCheck(rhs))
                                PrintInconsistent(a, i, j, q, r, k, b, p, l, 0.0, rhs, 0);
                            break;
                        }
                        for (int ss = 0; ss < M3.n; ss++) {
                            const int s = M3.qLabel(ss);
                            const double f1 = M3.at(qcRow, ss);
                            if (!M4.take(a, i, s, b))
                                continue;
                            const int p4 = M4.p(p), l4 = M4.q(l);
                            if (p4 < 0 || l4 < 0)
                                continue;
                            const double f2 = M4.at(p4, l4);
                            const int lc = getConjugate(l), sc = getConjugate(s);
                            if (!M5.take(lc, i, j, k))
                                continue;
                            const int s5 = M5.p(sc), r5 = M5.q(r);
                            if (s5 < 0 || r5 < 0)
                                continue;
                            const int t = d.addTerm();
                            d.contribs[t] = {f1, f2, M5.at(s5, r5)};
                            setTermLabels(d, t, 0, {qc, s, p, j, k, b});
                            setTermLabels(d, t, 1, {p, l, a, i, s, b});
                            setTermLabels(d, t, 2, {sc, r, lc, i, j, k});
                            d.contribss[t] = s;
                        }
                        if (!act(d))
                            return false;
                    }
                }
            }
        }
    }
    return true;
}

double pentagonLHS(const PentagonData& d) {
    double lhs = 0.0;
    for (int t = 0; t < d.scontr; t++)
        lhs += d.contribs[t][0] * d.contribs[t][1] * d.contribs[t][2];
    return lhs;
}

// The two records of one hexagon equation: real and imaginary part.
struct HexagonPair {
    PentagonData re, im;
    double rhsR = 0.0, rhsI = 0.0, lhsR = 0.0, lhsI = 0.0;
    int p = 0, r = 0, l = 0;
};

bool enumerateHexagon(int i, int j, int k, const std::function<bool(HexagonPair&)>& act) {
    SpectrumData* sd = getCurrentSD();
    if (!sd)
        return true;
    int size = 0;
    const int* list = getHexagonOutcomingStates(i, j, k, &size);
    const std::vector<int> outcomes(list, list + size);
    CopiedMatrix M1, M2, M3;
    HexagonPair h;
    for (PentagonData* d : {&h.re, &h.im}) {
        d->labels[0] = -1;
        d->labels[1] = i;
        d->labels[2] = j;
        d->labels[3] = k;
    }
    const int ic = getConjugate(i);
    for (int o : outcomes) {
        // F[i j l k] needs l in the conjugate of the product.
        const int l = getConjugate(o);
        if (!M3.take(i, j, l, k) || M3.n == 0)
            continue;
        const bool haveM1 = M1.take(i, j, k, l);
        M2.take(i, l, j, k);
        for (int pp = 0; pp < M3.n; pp++)
            for (int rr = 0; rr < M3.n; rr++) {
                const int p = M3.pLabel(pp), r = M3.qLabel(rr);
                h.p = p;
                h.r = r;
                h.l = l;
                const double w = SM_realWeight(sd, p) + SM_realWeight(sd, r) -
                                 SM_realWeight(sd, i) - SM_realWeight(sd, j) -
                                 SM_realWeight(sd, k) - SM_realWeight(sd, l);
                const int e1 = getEpsilon(j, l, r), e2 = getEpsilon(l, k, getConjugate(p));
                const double f = M3.at(pp, rr);
                double cR, cI;
                complexImExp(Pi * w, 0.0, &cR, &cI);
                h.rhsR = e2 * f * e1 * cR;
                h.rhsI = e2 * f * e1 * cI;
                h.lhsR = h.lhsI = 0.0;
                for (PentagonData* d : {&h.re, &h.im}) {
                    d->clearTerms();
                    d->RHS1 = f;
                    setLabels(d->rhslbls, 0, {p, r, i, j, l, k});
                    d->epsrhs1 = e1;
                    d->epsrhs2 = e2;
                    d->weight = w;
                }
                h.re.phasefactor = cR;
                h.im.phasefactor = cI;
                const int n1 = haveM1 ? M1.n : 0;
                for (int ss = 0; ss < n1; ss++) {
                    const int s = M1.qLabel(ss), sc = getConjugate(s);
                    const int sRow = M2.p(sc), pRow = M1.p(p), rCol = M2.q(r);
                    if (sRow < 0)
                        Alert("compute_hexagon", 0, 212404, "Q-conjugate not found");
                    if (pRow < 0)
                        Alert("compute_hexagon", 1, 212404, "P1 not found");
                    if (rCol < 0)
                        Alert("compute_hexagon", 1, 212404, "R2 not found");
                    const double f1 = pRow >= 0 ? M1.at(pRow, ss) : 0.0;
                    const double f2 = sRow >= 0 && rCol >= 0 ? M2.at(sRow, rCol) : 0.0;
                    const int eps = getEpsilon(l, s, ic);
                    const double hs = SM_realWeight(sd, s);
                    double pR, pI;
                    complexImExp(-Pi * hs, 0.0, &pR, &pI);
                    h.lhsR += eps * f1 * f2 * pR;
                    h.lhsI += eps * f1 * f2 * pI;
                    for (PentagonData* d : {&h.re, &h.im}) {
                        const int t = d->addTerm();
                        d->contribs[t] = {f1, f2, 0.0};
                        setTermLabels(*d, t, 0, {p, s, i, j, k, l});
                        setTermLabels(*d, t, 1, {sc, r, i, l, j, k});
                        d->contribss[t] = s;
                        d->epslhs[t] = eps;
                        d->leftweight[t] = hs;
                        d->leftphasefactor[t] = d == &h.re ? pR : pI;
                    }
                }
                if (!act(h))
                    return false;
            }
    }
    return true;
}

void printHexagonSums(const HexagonPair& h) {
    Print("RHS=(%15.7f, %15.7f)\n", h.rhsR, h.rhsI);
    Print("LHS=(%15.7f, %15.7f)\n", h.lhsR, h.lhsI);
    print_hexagon(&h.re);
    print_hexagon(&h.im);
}

bool factorsNonZero(const PentagonData& d, int t, int factors) {
    for (int f = 0; f < factors; f++)
        if (ZeroCheck(d.contribs[t][f]))
            return false;
    return true;
}

void printFactor(const PentagonData& d, int t, int f) {
    Print("%d%d[%d%d%d%d]=%-8.4f", d.conlbls[t][0][f], d.conlbls[t][1][f], d.conlbls[t][2][f],
          d.conlbls[t][3][f], d.conlbls[t][4][f], d.conlbls[t][5][f], d.contribs[t][f]);
}

} // namespace

int fusingLabelBound() {
    SpectrumData* sd = fusing::currentBlockOrNull();
    if (!sd)
        return 0;
    if (sd->type == 7)
        return std::min(sd->rank + 3, sd->Nprimaries);
    return sd->Nprimaries;
}

int* getOutcomingStates(int a, int i, int j, int k, int* size) {
    std::vector<int> first{a}, second;
    productStep(first, i, second);
    productStep(second, j, first);
    productStep(first, k, outcomeList);
    *size = static_cast<int>(outcomeList.size());
    return outcomeList.data();
}

int* getHexagonOutcomingStates(int i, int j, int k, int* size) {
    std::vector<int> first{i}, second;
    productStep(first, j, second);
    productStep(second, k, hexagonList);
    *size = static_cast<int>(hexagonList.size());
    return hexagonList.data();
}

void forEachPentagonRecord(int a, int i, int j, int k,
                           const std::function<bool(const PentagonData&)>& visit) {
    enumeratePentagon(a, i, j, k, [&](PentagonData& d) { return visit(d); });
}

void forEachHexagonRecord(
    int i, int j, int k,
    const std::function<bool(const PentagonData&, const PentagonData&)>& visit) {
    enumerateHexagon(i, j, k, [&](HexagonPair& h) { return visit(h.re, h.im); });
}

int compute_pentagon(int a, int i, int j, int k, int action) {
    const bool ok = enumeratePentagon(a, i, j, k, [&](PentagonData& d) {
        if (action == 1) {
            if (pentagon_trigger(&d, 0, 0, 0, 0) != 0)
                print_pentagon(&d);
        } else if (action == 2) {
            const double lhs = pentagonLHS(d), rhs = d.RHS1 * d.RHS2;
            if (ZeroCheck(lhs - rhs))
                return true;
            PrintInconsistent(a, i, j, d.rhslbls[5][0], d.rhslbls[1][0], k, d.rhslbls[5][1],
                              d.rhslbls[0][0], d.rhslbls[1][1], lhs, rhs, 0);
            print_pentagon(&d);
            if (!ZeroCheck(lhs + rhs))
                Alert("compute_pentagon", 0, 212404, "Not just a sign error");
            return false;
        } else if (action == 3) {
            return addPentagonEquation(&d) == 0;
        }
        return true;
    });
    return ok ? 1 : 0;
}

int compute_hexagon(int i, int j, int k, int action) {
    const bool ok = enumerateHexagon(i, j, k, [&](HexagonPair& h) {
        if (action == 1) {
            Print("Labels: (p,r,i,j,k,l)=(%d,%d,%d,%d,%d,%d)\n", h.p, h.r, i, j, k, h.l);
            printHexagonSums(h);
        } else if (action == 2) {
            if (ZeroCheck(h.lhsR - h.rhsR) && ZeroCheck(h.lhsI - h.rhsI))
                return true;
            Print("Failure: (p,r,i,j,k,l)=(%d,%d,%d,%d,%d,%d)\n", h.p, h.r, i, j, k, h.l);
            printHexagonSums(h);
            return false;
        } else if (action == 3) {
            return addHexagonEquation(&h.re) == 0 && addHexagonEquation(&h.im) == 0;
        }
        return true;
    });
    return ok ? 1 : 0;
}

int pentagon_trigger(const PentagonData* data, int aa, int bb, int cc, int dd) {
    if (!data) {
        filterLabels[0] = aa;
        filterLabels[1] = bb;
        filterLabels[2] = cc;
        filterLabels[3] = dd;
        USE = (aa == 0 && bb == 0 && cc == 0 && dd == 0) ? 0 : 1;
        return 0;
    }
    if (USE == 0)
        return -1;
    auto matches = [](auto label) {
        for (int m = 0; m < 4; m++)
            if (label(m + 2) != filterLabels[m])
                return false;
        return true;
    };
    for (int f = 0; f < 2; f++)
        if (matches([&](int m) { return data->rhslbls[m][f]; }))
            return 1;
    for (int t = 0; t < data->scontr; t++) {
        if (!factorsNonZero(*data, t, 3))
            continue;
        for (int f = 0; f < 3; f++)
            if (matches([&](int m) { return data->conlbls[t][m][f]; }))
                return 1;
    }
    return 0;
}

void print_pentagon(const PentagonData* data) {
    const auto& r = data->rhslbls;
    Print("RHS factors:      %d%d[%d%d%d%d]=%-8.4f,  %d%d[%d%d%d%d]=%-8.4f\n", r[0][0], r[1][0],
          r[2][0], r[3][0], r[4][0], r[5][0], data->RHS1, r[0][1], r[1][1], r[2][1], r[3][1],
          r[4][1], r[5][1], data->RHS2);
    if (data->scontr == 0)
        Print("No contributions to LHS\n");
    for (int t = 0; t < data->scontr; t++) {
        if (!factorsNonZero(*data, t, 3))
            continue;
        Print("LHS; q=%d; factors ", data->contribss[t]);
        for (int f = 0; f < 3; f++) {
            if (f > 0)
                Print(",  ");
            printFactor(*data, t, f);
        }
        Print("\n");
    }
}

void print_hexagon(const PentagonData* data) {
    const auto& r = data->rhslbls;
    const int p = r[0][0], rr = r[1][0], i = r[2][0], j = r[3][0], l = r[4][0], k = r[5][0];
    Print("RHS:      %d%d[%d%d%d%d]=%-8.4f; eps_%d_%d^%d=%d; eps_%d_%d^%d=%d; Phs=%8.4f\n", p, rr,
          i, j, l, k, data->RHS1, j, l, rr, data->epsrhs1, l, k, getConjugate(p), data->epsrhs2,
          data->phasefactor);
    if (data->scontr == 0)
        Print("No contributions to LHS\n");
    for (int t = 0; t < data->scontr; t++) {
        if (!factorsNonZero(*data, t, 2))
            continue;
        Print("LHS; s=%d; factors ", data->contribss[t]);
        printFactor(*data, t, 0);
        Print(",  ");
        printFactor(*data, t, 1);
        Print("; eps_%d_%d^%d=%d; Phs=%8.4f\n", l, data->contribss[t], getConjugate(i),
              data->epslhs[t], data->leftphasefactor[t]);
    }
}

int checkPolynomial(int max, int useFlipped) {
    max = std::min(max, fusingLabelBound());
    if (useFlipped == 1)
        UseFlippedVariables = 1;
    int failures = 0;
    Print("Checking Hexagon\n");
    for (int i = 0; i < max; i++)
        for (int j = 0; j < max; j++)
            for (int k = 0; k < max; k++)
                failures += 1 - compute_hexagon(i, j, k, 2);
    Print("Checking Pentagon\n");
    for (int a = 0; a < max; a++)
        for (int i = 0; i < max; i++)
            for (int j = 0; j < max; j++)
                for (int k = 0; k < max; k++)
                    failures += 1 - compute_pentagon(a, i, j, k, 2);
    Print("Checking S\n");
    for (int i = 0; i < max; i++)
        for (int j = 0; j < max; j++) {
            double sR, sI, fR, fI;
            compS(i, j, &sR, &sI);
            SmatrixFromFusing(i, j, &fR, &fI);
            if (std::fabs(sR - fR) > 1e-7 || std::fabs(sI - fI) > 1e-7) {
                Alert("checkPolynomial", 0, 212404,
                      "S discrepancy: S_%d_%d=(%8.4f,%8.4f); from fusing (%8.4f,%8.4f)\n", i, j, sR,
                      sI, fR, fI);
                failures++;
            }
        }
    UseFlippedVariables = 0;
    return failures;
}

int getPentagonEquations(int max) {
    Print("Adding Pentagon equations\n");
    for (int a = 0; a < max; a++)
        for (int i = 0; i < max; i++)
            for (int j = 0; j < max; j++)
                for (int k = 0; k < max; k++)
                    if (compute_pentagon(a, i, j, k, 3) == 0)
                        return 0;
    return 1;
}

int getHexagonEquations(int max) {
    Print("Adding Hexagon equations\n");
    for (int i = 0; i < max; i++)
        for (int j = 0; j < max; j++)
            for (int k = 0; k < max; k++)
                if (compute_hexagon(i, j, k, 3) == 0)
                    return 0;
    return 1;
}

void PrintInconsistent(int a, int i, int j, int q, int r, int k, int b, int p, int l, double LHS,
                       double RHS, int) {
    Print("###########################################################\n");
    Print("a=%d,i=%d,j=%d,q=%d,r=%d,k=%d,b=%d,p=%d,l=%d\n", a, i, j, q, r, k, b, p, l);
    Print("Inconsistency: %15.7f != %15.7f\n", LHS, RHS);
}
