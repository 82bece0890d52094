// The quartet construction: candidate triplets (a, c, o) class by class into the pair tree, then
// per type the lepton stack d, the two-form couplings, the weak stacks b and the quartet table
// with the standard-model profile of each quartet.
#include "base/Error.h"
#include "base/Output.h"
#include "base/SystemUtility.h"
#include "base/Terminal.h"
#include "boundary/CrossBound.h"
#include "numeric/MathUtility.h"
#include "numeric/VectorUtility.h"
#include "search/ZNX_Quartets.h"
#include "search/ZNX_SearchInternal.h"
#include "search/ZNX_SearchSM.h"
#include "string/Anomalies.h"
#include "string/Intersections.h"
#include "string/SearchPreselection.h"
#include "string/SearchSetup.h"
#include "string/StringTheory.h"

#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <numbers>

namespace quartet {

namespace {

std::unique_ptr<IntersectionPair> IP;
CandidateInfo CI;
VectorSpace SM_Profiles = declareVectorSpace("SM_Profiles", 100);
std::vector<double> TwoFormCouplings, TwoFormCouplings2;
// Weak-stack flags per boundary label, valid for (WeakC, WeakOri).
std::vector<int> WeakFlags;
int WeakC = -1, WeakOri = -1;
int CBraneCount = 0, TripletCount = 0, CBraneDone = 0, TripletDone = 0;
double TypeStart = 0.0, LastReport = 0.0;

constexpr double TensionScale = 1e8;
constexpr double CouplingScale = 1e6;
constexpr int PairRoom = 110;
constexpr int PairGrowth = 11;

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

int families() {
    return value(parameters().Nfamily, 3);
}

const int* conjugates(int o) {
    OrientifoldInfo* OI = state().SD->OI[o];
    if (OI->ConjugatesAvailable != OI->OrientifoldNr)
        loadOrientifoldConjugates(OI, 0);
    return OI->Conjugates.X;
}

double tension(int o) {
    return state().SD->OI[o]->Tension;
}

double R(int x) {
    double r = 0.0, i = 0.0;
    getCurrentReflectionCoefficient(0, x, &r, &i);
    return r;
}

int moebius(int o, int x) {
    setStoredOrientifold(o);
    const int m = getMoebius(0, x);
    return tension(o) < 0 ? -m : m;
}

int I(int x, int y) {
    return ComputeIntersectionForClassMember(x, y);
}

int scaled(double x) {
    return IntegerPart(x * TensionScale);
}

// Budget left for a and d after c: 2|T(o)| - R(c).
double budget(const IntersectionPair* p) {
    return 2 * std::fabs(tension(p->ori)) - R(p->c);
}

void inOrder(const IntersectionPair* p, auto&& visit) {
    if (!p)
        return;
    inOrder(p->left.get(), visit);
    visit(p);
    inOrder(p->right.get(), visit);
}

bool before(int c1, int o1, int c2, int o2) {
    return c1 < c2 || (c1 == c2 && o1 < o2);
}

// ---- Candidate triplets ----

struct Partner {
    int x;
    int chir;
};

void triplesOfMember(int m, const std::vector<Partner>& partners, int N) {
    SearchState& S = state();
    const int* orbits = getFullBoundaryOrbits();
    const int J = orbits[3 * m + 1], p = orbits[3 * m + 2], leader = orbits[3 * m];
    std::vector<int> cand;
    for (const Partner& x : partners) {
        if (x.chir != (p == -1 ? -N : N))
            continue;
        const int f = J == 0 ? x.x : FastBoundaryCurrentFusion(J, x.x);
        cand.push_back(p == -1 ? f : conjugates(p)[f]);
    }
    const int pre = getOrientifoldPreselection();
    const int preA = getBoundary_a_Preselection(), preC = getBoundary_c_Preselection(),
              preD = getBoundary_d_Preselection();
    for (int o = 0; o < S.SD->Ori_eff; o++) {
        if (pre != -1 && o != pre)
            continue;
        const int* conj = conjugates(o);
        if (conj[m] == m || I(m, conj[m]) != 0 || MaximalCPGroup(m, o) < 1)
            continue;
        for (int c : cand) {
            if (Present(cand.data(), static_cast<int>(cand.size()), conj[c]) < 0)
                continue;
            if (2 * std::fabs(tension(o)) - R(c) - R(m) < 0 || getDiagonalChirality(o, c) != 0 ||
                getDiagonalChirality(o, m) != 0)
                continue;
            if (!(S.BasicTypesOnly == 1 && conj[c] == c))
                AddPairToList(c, o, m);
            if (preA != -1 && c == preC && o == pre) {
                if (leader == preA)
                    Print("Found selected (a,c,orientifold) combination\n");
                if (leader == preD)
                    Print("Found selected (d,c,orientifold) combination\n");
            }
        }
    }
}

// The classes: returns the number of slots kept.
int analyseClasses(int classes, int realClasses) {
    SearchState& S = state();
    SearchData* SD = S.SD;
    const int N = families();
    const int* orbits = getFullBoundaryOrbits();
    std::vector<int> flag(at(SD->bndcnt), 1);
    startProgressInfo("Searching (a,c,i) triplets", static_cast<double>(SD->bndcnt) * realClasses,
                      1);
    double mark = CPUTime();
    int kept = 0;
    for (int k = 0; k < classes; k++) {
        resetLastBoundaryClassIntersection();
        if (BoundaryClassPreselectionCheck(k) == 0 || getBoundaryClassReality(k) == 1) {
            dumpBoundaryIntersectionData(k);
        } else {
            const int a = getLeadingClassBoundary(k);
            std::vector<Partner> partners;
            for (int u = 0; u < SD->bndcnt; u++) {
                incrementProgressInfo();
                if (flag[at(u)] != 1)
                    continue;
                const int x = SD->InverseBoundaryMap[u];
                int chir = 0;
                const int n = ComputeIntersectionUsingTranspose(a, x, &chir);
                storeIntersectionData(getLastClass(), u, n, chir);
                if (std::abs(chir) == N)
                    partners.push_back({x, chir});
            }
            std::vector<int> members;
            for (int u = 0; u < SD->bndcnt; u++)
                if (orbits[3 * SD->InverseBoundaryMap[u]] == a)
                    members.push_back(u);
            keepBoundaryIntersectionData(k);
            kept++;
            if (partners.empty()) {
                // A leader without partner has members without partner: none is tried again.
                for (int u : members)
                    flag[at(u)] = 0;
            } else {
                for (int u : members)
                    triplesOfMember(SD->InverseBoundaryMap[u], partners, N);
            }
            incrementBoundaryClassIntersectionPointer();
        }
        if (getBackground() && CPUTime() - mark > 1000)
            Print("Finished: %d/%d classes (%d stored)\n", k, classes, kept);
        mark = CPUTime();
    }
    stopProgressInfo("Searching (a,c,i) triplets");
    return kept;
}

// ---- Quartets of one type ----

bool nodePasses(const IntersectionPair* p, int base) {
    switch (base) {
    case 0:
    case 1:
        return p->GroupType == 0 && checkCbraneTwoFormCouplings(p) != 1;
    case 2:
    case 3:
        return p->GroupType == 1;
    case 4:
    case 5:
        return p->GroupType == -1;
    case 6:
    case 7:
        return p->GroupType == 0 && checkCbraneTwoFormCouplings(p) == 1;
    default:
        return false;
    }
}

void analyseNode(const IntersectionPair* p) {
    SearchState& S = state();
    if (CPUTime() - LastReport > 500) {
        const double now = CPUTime();
        Print("Done: %d/%d C-Branes,%d/%d Triplets; %d Quartets found (%7.2f sec./%7.2f sec. "
              "total)\n",
              CBraneDone, CBraneCount, TripletDone, TripletCount,
              static_cast<int>(S.Quartets.size()), now - TypeStart, now);
        std::fflush(stdout);
        LastReport = now;
    }
    CBraneDone++;
    if (!nodePasses(p, S.PrefType % 10))
        return;
    storeTwoFormCouplings(p);
    const IntegerList* labels = getTwoFormLabels();
    const int L = labels ? labels->cnt : 0;
    const double B = budget(p);
    const int* conj = conjugates(p->ori);
    for (int k = 0; k < p->size; k++) {
        const double rk = R(p->a[at(k)]);
        if (B - 3 * rk < 0)
            continue;
        for (int j = 0; j < p->size; j++) {
            if (S.PrefType == 9 || (S.PrefType <= 8 && j == k) || (S.PrefType >= 10 && j != k))
                continue;
            const int a = p->a[at(k)], d = p->a[at(j)];
            const double C = B - 3 * rk - R(d);
            if (C < 0)
                continue;
            TripletDone++;
            if (I(a, d) != 0 || I(a, conj[d]) != 0)
                continue;
            double MBL = 0, MB = 0, ML = 0;
            bool match = true;
            for (int t = 0; t < L; t++) {
                const double A = TwoFormCouplings[at(k * L + t)];
                const double D = TwoFormCouplings[at(j * L + t)];
                if (ZeroCheck(A - TwoFormCouplings2[at(j * L + t)]) == 0)
                    match = false;
                MBL += (A - D) * (A - D);
                MB += A * A;
                ML += D * D;
            }
            if (!match)
                continue;
            int tensions[5] = {scaled(rk), 0, scaled(R(p->c)), scaled(R(d)),
                               scaled(std::fabs(tension(p->ori)))};
            findWeakBrane(a, p->c, d, p->ori, C, MBL, MB, ML, tensions);
        }
    }
}

void groupTypeTest(int o, int c) {
    OrientifoldInfo* OI = state().SD->OI[o];
    const int m = moebius(o, c);
    const int sign = (m > 0) - (m < 0);
    if (OI->GroupTypes && sign * OI->GroupTypes[c] < 0) {
        Print("GROUP TYPE TEST FAILED\n");
        std::exit(1);
    }
}

// Base type by the stack c: not its own image, orthogonal or symplectic.
int baseOf(int o, int c, int first) {
    if (conjugates(o)[c] != c)
        return first;
    const int m = moebius(o, c);
    return m > 0 ? first + 2 : m < 0 ? first + 4 : first;
}

} // namespace

CandidateInfo& currentCandidate() {
    return CI;
}

VectorSpace* getProfiles() {
    return &SM_Profiles;
}

IntersectionPair* getPairTree() {
    return IP.get();
}

void freeIntersectionPairs() {
    IP.reset();
}

void AddPairToList(int c, int i, int a) {
    std::unique_ptr<IntersectionPair>* slot = &IP;
    while (*slot) {
        IntersectionPair* p = slot->get();
        if (p->c == c && p->ori == i) {
            if (p->a.size() == p->a.capacity())
                p->a.reserve(p->a.size() + PairGrowth);
            p->a.push_back(a);
            p->size++;
            return;
        }
        slot = before(p->c, p->ori, c, i) ? &p->left : &p->right;
    }
    auto node = std::make_unique<IntersectionPair>();
    node->c = c;
    node->ori = i;
    node->size = 1;
    node->a.reserve(PairRoom);
    node->a.push_back(a);
    if (conjugates(i)[c] == c) {
        const int m = moebius(i, c);
        node->GroupType = m > 0 ? 1 : m < 0 ? -1 : 0;
    }
    *slot = std::move(node);
}

void countIntersectionPairs(const IntersectionPair* p, int* cbranes, int* triplets) {
    inOrder(p, [&](const IntersectionPair* q) {
        if (q->size < 2)
            return;
        (*cbranes)++;
        const double B = budget(q);
        for (int k = 0; k < q->size; k++)
            for (int j = 0; j < q->size; j++) {
                const double rk = R(q->a[at(k)]);
                if (j != k && B - 3 * rk >= 0 && B - 3 * rk - R(q->a[at(j)]) >= 0)
                    (*triplets)++;
            }
    });
}

int checkCbraneTwoFormCouplings(const IntersectionPair* p) {
    const IntegerList* labels = getTwoFormLabels();
    const int cc = conjugates(p->ori)[p->c];
    setStoredOrientifold(p->ori);
    for (int k = 0; labels && k < labels->cnt; k++) {
        double r1 = 0, i1 = 0, r2 = 0, i2 = 0;
        getCurrentReflectionCoefficient(labels->list[k], p->c, &r1, &i1);
        getCurrentReflectionCoefficient(labels->list[k], cc, &r2, &i2);
        if (ZeroCheck(r1 - r2) == 0 || ZeroCheck(i1 - i2) == 0)
            return 1;
    }
    return 0;
}

void storeTwoFormCouplings(const IntersectionPair* p) {
    const IntegerList* labels = getTwoFormLabels();
    const int L = labels ? labels->cnt : 0;
    const int* conj = conjugates(p->ori);
    setStoredOrientifold(p->ori);
    TwoFormCouplings.assign(at(p->size * L), 0.0);
    TwoFormCouplings2.assign(at(p->size * L), 0.0);
    auto difference = [&](int t, int x) {
        double r1 = 0, i1 = 0, r2 = 0, i2 = 0;
        getCurrentReflectionCoefficient(t, x, &r1, &i1);
        getCurrentReflectionCoefficient(t, conj[x], &r2, &i2);
        return std::complex<double>(r1 - r2, i1 - i2);
    };
    for (int k = 0; k < L; k++) {
        const int t = labels->list[k];
        int n = 0, d = 1;
        getIshibashiMetric(t, &n, &d);
        // Half the metric phase.
        const std::complex<double> phase = std::polar(1.0, std::numbers::pi * n / d);
        const std::complex<double> dc = difference(t, p->c);
        for (int j = 0; j < p->size; j++) {
            const std::complex<double> da = difference(t, p->a[at(j)]);
            TwoFormCouplings[at(j * L + k)] = (phase * (da - dc)).imag();
            TwoFormCouplings2[at(j * L + k)] = (phase * da).imag();
        }
    }
}

const std::vector<double>& getTwoFormCouplings() {
    return TwoFormCouplings;
}
const std::vector<double>& getTwoFormCouplings2() {
    return TwoFormCouplings2;
}

void findWeakBrane(int a, int c, int d, int o, double C, double MBL, double MB, double ML,
                   int* tensions) {
    SearchState& S = state();
    const int Bnd = S.SD->Bnd;
    if (c != WeakC || o != WeakOri || static_cast<int>(WeakFlags.size()) != Bnd) {
        WeakFlags.assign(at(Bnd), 1);
        WeakC = c;
        WeakOri = o;
    }
    const int preA = getBoundary_a_Preselection(), preB = getBoundary_b_Preselection(),
              preC = getBoundary_c_Preselection(), preD = getBoundary_d_Preselection(),
              preO = getOrientifoldPreselection();
    if ((preA != -1 && preA != a) || (preC != -1 && preC != c) || (preD != -1 && preD != d) ||
        (preO != -1 && preO != o))
        return;
    if (preA != -1)
        Print("Found selected (a,c,d,orientifold) combination\n");
    CI.MBL = MBL;
    CI.MB = MB;
    CI.ML = ML;
    const int N = families();
    const int* conj = conjugates(o);
    const bool odd = S.PrefType % 2 == 1;
    for (int b = 0; b < Bnd; b++) {
        int& flag = WeakFlags[at(b)];
        if (preB != -1 && b != preB) {
            flag = 0;
            continue;
        }
        if (flag != 1)
            continue;
        const int bc = conj[b];
        int base = 0;
        double RHS = 0;
        if (bc == b) {
            if (odd) {
                flag = 0;
                continue;
            }
            if (R(b) - C > 1e-7 || I(a, b) != N || I(d, b) != N)
                continue;
            if (I(c, b) != 0 || moebius(o, b) > 0) {
                flag = 0;
                continue;
            }
            base = baseOf(o, c, 0);
            RHS = R(b) - C;
        } else {
            if (!odd) {
                flag = 0;
                continue;
            }
            if (2 * R(b) - C > 1e-7)
                continue;
            const int Icb = I(c, b), Icbc = I(c, bc);
            if (Icbc + Icb != 0 || Icbc < 0 || (Icbc == 0 && b > bc)) {
                flag = 0;
                continue;
            }
            const int Iab = I(a, b), Iabc = I(a, bc), Idb = I(d, b), Idbc = I(d, bc);
            if (Iabc + Iab != N || Idb + Idbc != N || Idb != 3 * (Iabc - Iab) + (Icbc - Icb) + Idbc)
                continue;
            if (getDiagonalChirality(o, b) == 1) {
                flag = 0;
                continue;
            }
            base = baseOf(o, c, 1);
            RHS = 2 * R(b) - C;
        }
        if (conj[c] == c)
            groupTypeTest(o, c);
        if (ZeroCheck(MBL) == 0)
            base += 6;
        IncStat(o, base + (d == a ? 10 : 0), 0, 0);
        CI.boundaries = {a, conj[a], b, bc, c, conj[c], d, conj[d]};
        CI.nr = 8;
        CI.type = base;
        CI.ori = o;
        if (base != S.PrefType % 10) {
            printVec(8, CI.boundaries.data(), "Boundaries");
            Alert("findWeakBrane", bc == b ? 1 : 0, 212404, "Non-preferred type (CI=%d,Pref=%d)",
                  base, S.PrefType);
        }
        tensions[1] = scaled(R(b));
        for (int i = 0; i < 5; i++)
            CI.tensions[at(i)] = tensions[i];
        if (preA != -1)
            Print("Found selected (a,c,b,d,orientifold) combination\n");
        storeQuartet(RHS);
    }
}

void storeQuartet(double RHS) {
    SearchState& S = state();
    CI.SMdata[1] = ZeroCheck(RHS) ? 0 : 1;
    CI.SMid = computeStandardModelData();
    const auto& B = CI.boundaries;
    QuartetRow q{};
    q[0] = B[0];
    q[1] = B[2];
    q[2] = B[4];
    q[3] = B[6];
    q[4] = CI.ori;
    q[5] = CI.type + (B[6] == B[0] ? 10 : 0);
    q[6] = static_cast<int>(CI.MBL * CouplingScale + 1e-6);
    q[7] = static_cast<int>(CI.MB * CouplingScale + 1e-6);
    q[8] = static_cast<int>(CI.ML * CouplingScale + 1e-6);
    for (int i = 0; i < 5; i++)
        q[at(9 + i)] = CI.tensions[at(i)];
    q[14] = CI.SMid;
    q[15] = 0;
    q[StatusField] = 0;
    q[17] = -1;
    S.Quartets.push_back(q);
    S.RHSs.push_back(RHS);
}

int computeStandardModelData() {
    const int N = families();
    const auto& B = CI.boundaries;
    const int a = B[0], ac = B[1], b = B[2], bc = B[3], c = B[4], cc = B[5], d = B[6], dc = B[7];
    auto& v = CI.SMdata;
    for (int i = 2; i < ProfileSize; i++)
        v[at(i)] = 0;
    v[0] = CI.type;
    struct Numbers {
        int n, chir, t;
    };
    auto full = [](int x, int y) {
        Numbers r{};
        r.n = FullIntersectionForClassMember(x, y, &r.chir);
        r.t = 2 * r.n - r.chir;
        return r;
    };
    const bool selfB = bc == b;
    // The pairs of x with the weak stack: extra pairs, chirality and count differences.
    auto weak = [&](int x, int pairs, int chirIdx, int tIdx, int chirFactor, int subtract) {
        const Numbers xb = full(x, b), xbc = full(x, bc);
        v[at(pairs)] = selfB ? (xbc.t - subtract) / 2 : (xb.t + xbc.t - subtract) / 2;
        if (!selfB) {
            v[at(chirIdx)] = chirFactor * (xbc.chir - xb.chir);
            v[at(tIdx)] = xbc.t - xb.t;
        }
    };
    weak(a, 2, 9, 12, 3, N);
    v[3] = full(ac, cc).n - N;
    v[4] = full(ac, c).n - N;
    weak(d, 5, 10, 13, 1, N);
    v[6] = full(dc, c).n - N;
    v[7] = full(dc, cc).n - N;
    weak(c, 8, 11, 14, 1, 0);
    v[15] = full(a, d).n;
    v[16] = full(a, dc).n;
    auto diagonal = [&](int x, int at0, bool self) {
        int A = 0, M = 0, Adj = 0;
        getDiagonalInfo(CI.ori, x, &A, &M, &Adj);
        v[at(at0)] = (A + M) / 2;
        v[at(at0 + 1)] = (A - M) / 2;
        v[at(at0 + 2)] = self ? 0 : Adj;
    };
    diagonal(a, 17, false);
    diagonal(b, 20, selfB);
    diagonal(c, 23, cc == c);
    diagonal(d, 26, false);
    v[29] = 0;
    for (int i = 0; i < 5; i++)
        v[at(30 + i)] = CI.tensions[at(i)];
    int* row = rowOf(&SM_Profiles, SM_Profiles.Nfill);
    for (int i = 0; i < ProfileSize; i++)
        row[i] = v[at(i)];
    row[ProfileSize] = ProfileStatus;
    return addToCountedCollection(&SM_Profiles, 1);
}

void setQuartetInfo(const int* v) {
    CI.type = v[5];
    CI.nr = 8;
    CI.ori = v[4];
    CI.MBL = v[6] / CouplingScale;
    CI.MB = v[7] / CouplingScale;
    CI.ML = v[8] / CouplingScale;
    const int* conj = conjugates(v[4]);
    CI.boundaries = {v[0], conj[v[0]], v[1], conj[v[1]], v[2], conj[v[2]], v[3], conj[v[3]]};
    for (int i = 0; i < 5; i++)
        CI.tensions[at(i)] = v[9 + i];
    CI.SMid = v[14];
}

int FindBaryonAndLeptonBranes() {
    SearchState& S = state();
    freeIntersectionPairs();
    WeakC = WeakOri = -1;
    const int classes = getBoundaryClassSize();
    int realClasses = 0;
    for (int k = 0; k < classes; k++)
        if (getBoundaryClassReality(k) == 0)
            realClasses++;
    const double start = CPUTime();
    const int stored = analyseClasses(classes, realClasses);
    Print("Class analysis finished; %d classes (out of %d) stored\n", stored, realClasses);
    Print("CPU time: %7.2f sec.\n", CPUTime() - start);
    std::fflush(stdout);
    loadGlobalAnomalies(0);
    CBraneCount = TripletCount = 0;
    countIntersectionPairs(IP.get(), &CBraneCount, &TripletCount);
    Print("Number of candidate C-type branes: %d; Number of candidate triplets: %d\n", CBraneCount,
          TripletCount);
    for (const int* t = S.TypeList.data(); *t != -1; t++) {
        initCountedVectorCollection(&SM_Profiles, ProfileRowSize, 100);
        analyseStandardModelType(*t);
    }
    return 0;
}

void analyseIntersectionPairs() {
    CBraneDone = TripletDone = 0;
    TypeStart = LastReport = CPUTime();
    WeakC = WeakOri = -1;
    inOrder(IP.get(), [](const IntersectionPair* p) {
        if (p->size >= 2)
            analyseNode(p);
    });
}

} // namespace quartet
