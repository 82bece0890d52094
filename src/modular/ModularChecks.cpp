// Identities that the modular data of a theory must satisfy and no single computation verifies:
// unitarity and (ST)^3 = S^2, trace identities that express traces of S and T through fusion
// coefficients (with their counterparts for the fixed-point resolution of a block), integrality
// of resolved fusion coefficients, and the Frobenius-Schur indicators. Deviations are reported,
// never repaired; the largest one is kept for the summary line.
#include "modular/Modular.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Terminal.h"
#include "modular/Invariants.h"
#include "modular/ModularInternal.h"
#include "modular/VerlindeKernel.h"
#include "store/Storemanager.h"

#include <algorithm>
#include <complex>
#include <cstdio>
#include <iterator>
#include <map>
#include <numbers>
#include <set>
#include <vector>

using namespace modular_internal;

namespace {

using Complex = std::complex<double>;

constexpr int FusionFailed = -9998;
constexpr int FusionStopped = -9999;

// exp(2 pi i x).
Complex turn(double x) {
    return std::polar(1.0, 2.0 * std::numbers::pi * x);
}

Complex S(int i, int j) {
    double re, im;
    compS(i, j, &re, &im);
    return {re, im};
}

// A fixed-point current of the current block, with its shift and its fixed-point theory.
struct FixedCurrent {
    int J;
    int shift;
    SpectrumData* theory;
};

// What every check reads: the real first row of S, the exponents of T and, for a single block,
// the fixed-point currents.
struct CheckData {
    int N = 0;
    std::vector<double> S0;
    std::vector<double> L;
    std::vector<FixedCurrent> fixed;

    CheckData() {
        const double* first = initSMATRIX();
        N = totalPrimaries();
        S0.assign(first, first + N);
        L.resize(N);
        for (int i = 0; i < N; i++)
            L[i] = currentLogT(i);
        SpectrumData* sd = currentBlock();
        if (!sd)
            return;
        SM_initFCFTData(sd);
        for (int c = 0; c < sd->FCFTnumber && sd->FixedPointCFT; c++)
            if (sd->FixedPointCFT[c])
                fixed.push_back(
                    {sd->FixedPointCurrents[c], sd->FCFTshifts[c], sd->FixedPointCFT[c]});
    }
    Complex T(int i) const { return turn(L[i]); }
    // exp(-i pi shift x) of the resolution phases.
    static Complex shiftPhase(int shift, double x) {
        return std::polar(1.0, -std::numbers::pi * shift * x);
    }
};

char* compare(char* txt, const char* label, Complex left, Complex right) {
    return checkC(txt, label, left.real(), left.imag(), right.real(), right.imag());
}

enum class Walk { Done, Stopped, Aborted, Failed };

char* reportBroken(char* txt, Walk w) {
    return txt + std::sprintf(txt, w == Walk::Failed ? "Error\n" : "aborted\n");
}

// Calls visit(i, j, k, N_ij^k) for every non-zero coefficient, i outermost, one progress step per
// triple; ends at a stopped or failed coefficient after its report.
template <class Visit> Walk walkFusion(const char* routine, const char* title, int N, Visit visit) {
    startProgressInfo(title, static_cast<double>(N) * N * N, 1);
    std::vector<int> n(N);
    Walk result = Walk::Done;
    for (int i = 0; i < N && result == Walk::Done; i++)
        for (int j = 0; j < N && result == Walk::Done; j++) {
            if (fusionProduct(i, j, 0, n.data()) == FusionStopped)
                std::fill(n.begin(), n.end(), FusionStopped);
            for (int k = 0; k < N; k++) {
                if (incrementProgressInfo()) {
                    result = Walk::Stopped;
                    break;
                }
                if (n[k] == FusionStopped) {
                    Alert(routine, 0, 100301, "computation aborted");
                    result = Walk::Aborted;
                    break;
                }
                if (n[k] == FusionFailed) {
                    Alert(routine, 1, 100301, "Error in fusion computation");
                    result = Walk::Failed;
                    break;
                }
                if (n[k] != 0)
                    visit(i, j, k, n[k]);
            }
        }
    stopProgressInfo(title);
    return result;
}

// ---- STcheck ----

struct STFailures {
    bool modular = false;
    bool unitary = false;
    bool full = false;
};

// Judges one pair from its sums: right = sum_k S(i,k) T_k S(k,j), U = sum_k S(i,k) conj S(j,k).
char* judgePair(char* txt, const char* end, int i, int j, const CheckData& d, Complex right,
                Complex U, STFailures& f) {
    const Complex left = S(i, j) * std::conj(d.T(i)) * std::conj(d.T(j));
    const double dev = std::abs(left - right);
    noteDeviation(dev);
    const Complex sum = U;
    if (i == j)
        U -= 1.0;
    noteDeviation(std::abs(U));
    const bool modularFails = dev * dev > 1e-10;
    const bool unitaryFails = std::norm(U) > 1e-10;
    if ((modularFails || unitaryFails) && txt >= end) {
        txt += std::sprintf(txt, "Further failures ignored\n");
        f.full = true;
        return txt;
    }
    if (modularFails) {
        f.modular = true;
        const Complex ratio = left / right;
        txt += std::sprintf(txt,
                            "(ST)^3=S^2 failure for (%d,%d):  Ratio %7.4f+%7.4f i;\n"
                            "                               Angle: %7.4f\n",
                            i, j, ratio.real(), ratio.imag(),
                            std::acos(ratio.real() / std::abs(ratio)) / (2.0 * std::numbers::pi));
    }
    if (unitaryFails) {
        f.unitary = true;
        txt += std::sprintf(txt, "Unitarity  failure for (%d,%d): %7.4f+%7.4f i) \n", i, j,
                            sum.real(), sum.imag());
    }
    return txt;
}

char* checkPair(char* txt, const char* end, int i, int j, const CheckData& d, bool symmetric,
                STFailures& f) {
    Complex right = 0.0, U = 0.0;
    for (int k = 0; k < d.N; k++) {
        const Complex sik = S(i, k);
        right += sik * d.T(k) * S(k, j);
        U += sik * std::conj(symmetric ? S(k, j) : S(j, k));
    }
    return judgePair(txt, end, i, j, d, right, U, f);
}

// From this many fields on, the sums of a pair come from the orbit structure; below, where the
// cost is small, each is summed over k as it always was, so that the printed deviations stay.
int OrbitSumFields = 1000;

bool phasesAgree(const FusionColumns& t, bool* stopped);

// Every row of S follows its orbit start's: S(J a, k) = w^q_k(J) S(a, k), w = exp(2 pi i/G), with
// the integer charges q_k of k. Fields of one charge vector (a class) share these phases, so for
// i = J a and j = K c
//   sum_k S(i,k) T_k S(k,j)    = sum_cl w^(q_cl(J) + q_cl(K)) Y_ac(cl), Y_ac(cl) = sum S(a,k)
//   S(c,k) T_k, sum_k S(i,k) conj S(j,k)   = sum_cl w^(q_cl(J) - q_cl(K)) Z_ac(cl), Z_ac(cl) = sum
//   S(a,k) conj S(c,k),
// the inner sums over the k of the class. The phase vectors of the pairs (J, K) take at most G
// values, so each orbit pair needs G sums over the classes, and each field pair a look-up.
class OrbitPairSums {
public:
    OrbitPairSums(const CheckData& d, const FusionColumns& t) : d_(d), t_(t) {
        G_ = groupOrder();
        orbits_ = t.points();
        for (int k = 0; k < d.N; k++)
            T_.push_back(d.T(k));
        std::map<const int*, int> classOfVector;
        classOf_.resize(d.N);
        for (int k = 0; k < d.N; k++) {
            const int* q = getOrbitInfo(k)->charge;
            auto [at, added] = classOfVector.emplace(q, static_cast<int>(charges_.size()));
            if (added)
                charges_.push_back(q);
            classOf_[k] = at->second;
        }
        sumOf_ = phaseVectors(+1, sums_);
        differenceOf_ = phaseVectors(-1, differences_);
    }

    // The sums of orbit a against every orbit.
    void startOrbit(int a) {
        const int C = classes();
        const int L = orbits_;
        std::vector<Complex> Y(C), Z(C);
        R_.assign(static_cast<std::size_t>(L) * sums_.size(), 0.0);
        V_.assign(static_cast<std::size_t>(L) * differences_.size(), 0.0);
        for (int c = 0; c < L; c++) {
            std::fill(Y.begin(), Y.end(), 0.0);
            std::fill(Z.begin(), Z.end(), 0.0);
            for (int k = 0; k < d_.N; k++) {
                const double* col = t_.column(k);
                const Complex sa(col[a], col[L + a]), sc(col[c], col[L + c]);
                Y[classOf_[k]] += sa * sc * T_[k];
                Z[classOf_[k]] += sa * std::conj(sc);
            }
            transform(Y, sums_, &R_[static_cast<std::size_t>(c) * sums_.size()]);
            transform(Z, differences_, &V_[static_cast<std::size_t>(c) * differences_.size()]);
        }
    }

    Complex T(int k) const { return T_[k]; }

    // For i on the orbit started last and any j.
    Complex right(int i, int j) const {
        const OrbitInfo *oi = getOrbitInfo(i), *oj = getOrbitInfo(j);
        return R_[static_cast<std::size_t>(oj->orbit_index) * sums_.size() +
                  sumOf_[pairIndex(oi->current, oj->current)]];
    }
    Complex unitary(int i, int j) const {
        const OrbitInfo *oi = getOrbitInfo(i), *oj = getOrbitInfo(j);
        return V_[static_cast<std::size_t>(oj->orbit_index) * differences_.size() +
                  differenceOf_[pairIndex(oi->current, oj->current)]];
    }

private:
    int classes() const { return static_cast<int>(charges_.size()); }
    std::size_t pairIndex(int J, int K) const {
        return static_cast<std::size_t>(J) * G_ + static_cast<std::size_t>(K);
    }

    // The distinct vectors q_cl(J) + sign q_cl(K) mod G over the classes, and each pair's one.
    std::vector<int> phaseVectors(int sign, std::vector<std::vector<int>>& vectors) const {
        std::map<std::vector<int>, int> numbers;
        std::vector<int> of(static_cast<std::size_t>(G_) * G_);
        std::vector<int> q(classes());
        for (int J = 0; J < G_; J++)
            for (int K = 0; K < G_; K++) {
                for (int cl = 0; cl < classes(); cl++)
                    q[cl] = mod(charges_[cl][J] + sign * charges_[cl][K], G_);
                auto [at, added] = numbers.emplace(q, static_cast<int>(vectors.size()));
                if (added)
                    vectors.push_back(q);
                of[pairIndex(J, K)] = at->second;
            }
        return of;
    }

    static void transform(const std::vector<Complex>& x,
                          const std::vector<std::vector<int>>& vectors, Complex* out) {
        for (std::size_t v = 0; v < vectors.size(); v++) {
            Complex sum = 0.0;
            for (std::size_t cl = 0; cl < x.size(); cl++)
                sum += Complex(PhasesR[vectors[v][cl]], PhasesI[vectors[v][cl]]) * x[cl];
            out[v] = sum;
        }
    }

    const CheckData& d_;
    const FusionColumns& t_;
    int G_ = 1, orbits_ = 0;
    std::vector<const int*> charges_; // per class, its charge vector
    std::vector<int> classOf_;
    std::vector<Complex> T_;
    std::vector<std::vector<int>> sums_, differences_;
    std::vector<int> sumOf_, differenceOf_;
    std::vector<Complex> R_, V_;
};

// A failing pair with its sums, kept to be written in the order of the direct check.
struct FailedPair {
    int i, j;
    Complex right, U;
    bool operator<(const FailedPair& o) const { return i != o.i ? i < o.i : j < o.j; }
};

// More failing pairs than this fill the report before the last one is reached.
constexpr std::size_t KeptFailures = 400;

// Notes the deviations of a pair; true when it fails either test.
bool pairFails(const OrbitPairSums& sums, int i, int j, Complex right, Complex U) {
    const Complex left = S(i, j) * std::conj(sums.T(i)) * std::conj(sums.T(j));
    const double dev = std::abs(left - right);
    noteDeviation(dev);
    if (i == j)
        U -= 1.0;
    noteDeviation(std::abs(U));
    return dev * dev > 1e-10 || std::norm(U) > 1e-10;
}

// Every pair (i, j), i <= j, orbit after orbit with its sums from the orbit structure; the
// failures are then written in the order of the direct check. False when the orbit structure is
// not at hand (the direct check follows). *stopped is set when the user stopped it.
bool checkPairsOnOrbits(char*& txt, const char* end, const CheckData& d, STFailures& f,
                        bool* stopped) {
    if (d.N < OrbitSumFields || !orbitDataValid())
        return false;
    const FusionColumns* t = fusionColumns(true, true);
    if (!t)
        return false;
    startProgressInfo("Checking unitarity", d.N, 1);
    const bool followsStarts = phasesAgree(*t, stopped);
    stopProgressInfo("Checking unitarity");
    if (*stopped || !followsStarts)
        return *stopped;
    std::vector<std::vector<int>> members(static_cast<std::size_t>(t->points()));
    for (int i = 0; i < d.N; i++)
        members[static_cast<std::size_t>(getOrbitInfo(i)->orbit_index)].push_back(i);
    OrbitPairSums sums(d, *t);
    std::set<FailedPair> failed;
    startProgressInfo("Checking unitarity", d.N * (d.N + 1.0) / 2.0, 1);
    for (int a = 0; a < t->points() && !*stopped; a++) {
        sums.startOrbit(a);
        for (int i : members[static_cast<std::size_t>(a)])
            for (int j = i; j < d.N && !*stopped; j++) {
                if (incrementProgressInfo()) {
                    *stopped = true;
                    break;
                }
                const Complex right = sums.right(i, j), U = sums.unitary(i, j);
                if (!pairFails(sums, i, j, right, U))
                    continue;
                failed.insert({i, j, right, U});
                if (failed.size() > KeptFailures)
                    failed.erase(std::prev(failed.end()));
            }
    }
    stopProgressInfo("Checking unitarity");
    if (*stopped)
        return true;
    for (auto p = failed.begin(); p != failed.end() && !f.full; ++p)
        txt = judgePair(txt, end, p->i, p->j, d, p->right, p->U, f);
    return true;
}

char* summary(char* txt) {
    if (getAccuracy() < 1e-10)
        txt += std::sprintf(txt, "All trace tests OK\n");
    return txt + std::sprintf(txt, "Maximal deviation: %15.2g\n", getAccuracy());
}

// ---- Trace identities ----

// The fusion sums of the traces of S and ST and their fixed-point counterparts.
struct TraceSums {
    Complex trS = 0.0, trST = 0.0;
    std::vector<Complex> RHSJ; // per fixed-point current: the S^J sum, then the S^J T^J sum
};

// ---- Resolved fusion ----

// A stabilizer and its group, kept apart from getStabilizer's list, which the next call reuses.
struct Stabilizer {
    Discrete_Group* group = nullptr;
    std::vector<int> currents; // the currents that fix the field
    std::vector<int> labels;   // the current of each group element
    bool take(int field) {
        int* list = nullptr;
        group = getStabilizer(field, &list);
        if (!group)
            return false;
        const int H = (*getCurrentBulk())->MD->dg->Order;
        currents.assign(list, list + group->Order);
        labels.assign(list + H, list + H + group->Order);
        return true;
    }
    int size() const { return static_cast<int>(currents.size()); }
    // The group element of current J; -1 when J does not fix the field.
    int element(int J) const {
        for (int e = 0; e < size(); e++)
            if (labels[e] == J)
                return e;
        return -1;
    }
    // psi_alpha(J), in turns.
    double character(int alpha, int J) const {
        rat D;
        DG_character(group, alpha, element(J), &D);
        return static_cast<double>(D.num) / D.den;
    }
};

} // namespace

// ============================================================ Unitarity and (ST)^3 = S^2

char* STcheck(char* txt, int maxlen) {
    resetAccuracy();
    const bool symmetric = S_Symmetric() == 1;
    const CheckData d;
    if (stopSignal == 1)
        return txt;
    char* start = txt;
    STFailures f;
    const char* end = start + maxlen - 100;
    bool stopped = false;
    if (checkPairsOnOrbits(txt, end, d, f, &stopped)) {
        if (stopped)
            return txt;
    } else if (d.N > 0) {
        startProgressInfo("Checking unitarity", d.N * (d.N + 1.0) / 2.0, 1);
        for (int i = 0; i < d.N && !f.full; i++)
            for (int j = i; j < d.N && !f.full; j++) {
                if (incrementProgressInfo()) {
                    stopProgressInfo("Checking unitarity");
                    return txt;
                }
                txt = checkPair(txt, end, i, j, d, symmetric, f);
            }
        stopProgressInfo("Checking unitarity");
    }
    if (f.modular)
        Alert("STcheck", 0, 100208, "ST^3 = S^2 test failed");
    if (f.unitary)
        Alert("STcheck", 1, 100208, "Unitarity test failed");
    if (!f.modular && !f.unitary)
        txt += std::sprintf(txt, "ST^3 = S^2 and unitarity test OK\n");
    return summary(txt);
}

void modular_internal::setOrbitCheckFields(int fields) {
    OrbitSumFields = fields;
}

// ============================================================ Unitarity of the whole S

namespace {

constexpr double ElementTolerance = 1e-9;

// Every element against its orbit start: S(K m, y) = w^(G Q_K(y)) S(m, y). False at the first
// element that differs, or when stopped (*stopped is then set).
bool phasesAgree(const FusionColumns& t, bool* stopped) {
    const int N = totalPrimaries(), L = t.points();
    for (int x = 0; x < N; x++) {
        if (incrementProgressInfo()) {
            *stopped = true;
            return false;
        }
        const OrbitInfo* ox = getOrbitInfo(x);
        const int m = getOrbitInfo(ox->orbit_start)->orbit_index;
        for (int y = 0; y < N; y++) {
            const double* c = t.column(y);
            const int q = getOrbitInfo(y)->charge[ox->current];
            const Complex expected = Complex(PhasesR[q], PhasesI[q]) * Complex(c[m], c[L + m]);
            if (std::abs(S(x, y) - expected) > ElementTolerance)
                return false;
        }
    }
    return true;
}

// sum_m |orbit m| conj S(m,a) S(m,b) - delta_ab for a and b of one class, a block of rows at a
// time: row r of x is |orbit m| S(m,a) and, for complex S, row rows + r is |orbit m| i S(m,a)
// with its real and imaginary halves swapped, whose products with column b are the real and
// the imaginary part of the sum.
bool classUnitary(const FusionColumns& t, int cls, bool* stopped) {
    constexpr int Block = 32;
    const int first = t.classStart(cls), count = t.classEnd(cls) - first;
    const int L = t.points(), length = t.sumLength();
    const bool complex = !t.real();
    std::vector<const double*> columns(count);
    for (int e = 0; e < count; e++)
        columns[e] = t.columnAt(first + e);
    std::vector<double> x, out;
    for (int r0 = 0; r0 < count; r0 += Block) {
        const int rows = std::min(Block, count - r0);
        const int total = complex ? 2 * rows : rows;
        x.assign(static_cast<std::size_t>(total) * length, 0.0);
        for (int r = 0; r < rows; r++) {
            if (incrementProgressInfo()) {
                *stopped = true;
                return false;
            }
            const double* a = columns[r0 + r];
            double* re = &x[static_cast<std::size_t>(r) * length];
            for (int m = 0; m < length; m++)
                re[m] = t.length(m % L) * a[m];
            if (!complex)
                continue;
            double* im = &x[static_cast<std::size_t>(rows + r) * length];
            for (int m = 0; m < L; m++) {
                im[m] = -t.length(m) * a[L + m];
                im[L + m] = t.length(m) * a[m];
            }
        }
        out.resize(static_cast<std::size_t>(total) * count);
        dotColumns(x.data(), total, columns.data(), count, length, out.data());
        for (int r = 0; r < rows; r++)
            for (int b = 0; b < count; b++) {
                const double re =
                    out[static_cast<std::size_t>(r) * count + b] - (r0 + r == b ? 1.0 : 0.0);
                const double im =
                    complex ? out[static_cast<std::size_t>(rows + r) * count + b] : 0.0;
                if (re * re + im * im >= 1e-10)
                    return false;
            }
    }
    return true;
}

} // namespace

// Fields of different charges have orthogonal columns once every element follows its orbit
// start (the sum over an orbit of w^(Q_K(b) - Q_K(a)) vanishes), so that only products within a
// class remain, each summed over the orbit starts: about N^3 / G^2 multiply-adds instead of N^3.
int unitarityOnOrbits() {
    initSMATRIX();
    if (stopSignal == 1)
        return -1;
    const bool onOrbits = orbitDataValid();
    const FusionColumns* t = fusionColumns(onOrbits, true);
    if (!t)
        return 0;
    const int N = totalPrimaries();
    const char* title = "Checking unitarity";
    startProgressInfo(title, onOrbits ? 2.0 * N : N, 1);
    bool stopped = false;
    bool holds = !onOrbits || phasesAgree(*t, &stopped);
    for (int cls = 0; holds && cls < static_cast<int>(t->classCount()); cls++)
        holds = classUnitary(*t, cls, &stopped);
    stopProgressInfo(title);
    return stopped ? -1 : holds ? 1 : 0;
}

// ============================================================ Trace identities

char* BVSTcheck(char* txt) {
    const CheckData d;
    const std::size_t F = d.fixed.size();
    TraceSums r;
    r.RHSJ.assign(2 * F, 0.0);
    const Walk w =
        walkFusion("BVSTcheck", "Checking Tr(S) and Tr(ST)", d.N, [&](int i, int j, int k, int n) {
            const double term = n * d.S0[i] * d.S0[j] * d.S0[k];
            const Complex a = term * turn(4 * d.L[i] + 4 * d.L[k] - 2 * d.L[j]);
            const Complex b = term * turn(6 * d.L[i] + 3 * d.L[k] - 2 * d.L[j]);
            r.trS += a;
            r.trST += b;
            for (std::size_t c = 0; c < F; c++) {
                const Complex f = S(d.fixed[c].J, i) / d.S0[i];
                r.RHSJ[c] += a * f;
                r.RHSJ[F + c] += b * f;
            }
        });
    if (w != Walk::Done)
        return reportBroken(txt, w);
    Complex trS = 0.0, trST = 0.0;
    for (int i = 0; i < d.N; i++) {
        trS += S(i, i);
        trST += S(i, i) * d.T(i);
    }
    txt = compare(txt, "Tr(S)", trS, r.trS);
    txt = compare(txt, "Tr(ST)", trST, r.trST);
    char label[80];
    for (std::size_t c = 0; c < F; c++) {
        const FixedCurrent& fc = d.fixed[c];
        double re, im;
        SM_computeTraceS(fc.theory, &re, &im);
        std::snprintf(label, sizeof label, "Tr(S^J), current %d", fc.J);
        txt =
            compare(txt, label, CheckData::shiftPhase(fc.shift, 0.25) * Complex(re, im), r.RHSJ[c]);
        SM_computeTraceST(fc.theory, &re, &im);
        std::snprintf(label, sizeof label, "Tr(S^JT^J), current %d", fc.J);
        txt = compare(txt, label, CheckData::shiftPhase(fc.shift, 1.0 / 6.0) * Complex(re, im),
                      r.RHSJ[F + c]);
    }
    return txt;
}

char* BVS2TNcheck(char* txt, int maxpower) {
    const CheckData d;
    const std::size_t F = d.fixed.size();
    std::vector<Complex> A(d.N, 0.0);
    std::vector<std::vector<Complex>> B(F, std::vector<Complex>(d.N, 0.0));
    std::vector<int> selfPairs(d.N, 0); // N_ii^0
    const Walk w =
        walkFusion("BVS2TNcheck", "Checking Tr(S^2T^n)", d.N, [&](int i, int j, int k, int n) {
            if (i == j && k == 0)
                selfPairs[i] = n;
            const Complex phase = double(n) * turn(2 * d.L[i] - 2 * d.L[j]);
            A[k] += phase * d.S0[i] * d.S0[j];
            for (std::size_t c = 0; c < F; c++)
                B[c][k] += phase * d.S0[j] * S(d.fixed[c].J, i);
        });
    if (w != Walk::Done)
        return reportBroken(txt, w);
    char label[80];
    for (int n = 0; n < maxpower; n++) {
        Complex left = 0.0, right = 0.0;
        for (int i = 0; i < d.N; i++) {
            left += double(selfPairs[i]) * turn(n * d.L[i]);
            right += A[i] * A[i] * turn(n * d.L[i]);
        }
        std::snprintf(label, sizeof label, "Tr(S^JT^%d)", n);
        txt = compare(txt, label, left, right);
        for (std::size_t c = 0; c < F; c++) {
            const FixedCurrent& fc = d.fixed[c];
            double re, im;
            SM_computeTraceS2TN(fc.theory, &re, &im, n);
            Complex fixedRight = 0.0;
            for (int k = 0; k < d.N; k++)
                fixedRight += A[k] * B[c][k] * turn(n * d.L[k]);
            std::snprintf(label, sizeof label, "Tr(S^JT^%d), current %d", n, fc.J);
            txt = compare(txt, label,
                          CheckData::shiftPhase(fc.shift, 0.5 - n / 12.0) * Complex(re, im),
                          fixedRight);
        }
    }
    return txt;
}

char* BVSTQcheck(char* txt) {
    const CheckData d;
    const std::size_t F = d.fixed.size();
    std::vector<Complex> X(d.N, 0.0);
    std::vector<std::vector<Complex>> Y(F, std::vector<Complex>(d.N, 0.0));
    startProgressInfo("Checking Tr(ST)^2", static_cast<double>(d.N) * d.N, 1);
    for (int a = 0; a < d.N; a++)
        for (int i = 0; i < d.N; i++) {
            if (incrementProgressInfo()) {
                stopProgressInfo("Checking Tr(ST)^2");
                return reportBroken(txt, Walk::Stopped);
            }
            const Complex sT = S(i, a) * turn(3 * d.L[i]);
            X[a] += d.S0[i] * sT;
            for (std::size_t c = 0; c < F; c++)
                Y[c][a] += sT * S(d.fixed[c].J, i);
        }
    stopProgressInfo("Checking Tr(ST)^2");
    Complex left = 0.0, right = 0.0;
    for (int a = 0; a < d.N; a++) {
        for (int b = 0; b < d.N; b++)
            left += S(a, b) * S(a, b) * d.T(a) * d.T(b);
        right += X[a] * X[a] * X[a] * d.T(a) / d.S0[a];
    }
    const Complex T0 = d.N > 0 ? d.T(0) : 1.0;
    txt = compare(txt, "Tr(ST)^2", left, T0 * right);
    char label[80];
    for (std::size_t c = 0; c < F; c++) {
        const FixedCurrent& fc = d.fixed[c];
        double re, im;
        SM_computeTraceSTQ(fc.theory, &re, &im);
        Complex fixedRight = 0.0;
        for (int a = 0; a < d.N; a++)
            fixedRight += Y[c][a] * X[a] * X[a] * d.T(a) / d.S0[a];
        std::snprintf(label, sizeof label, "Tr(S^JT^J)^2 for current %d\n", fc.J);
        txt = compare(txt, label, CheckData::shiftPhase(fc.shift, 1.0 / 3.0) * Complex(re, im),
                      T0 * fixedRight);
    }
    return txt;
}

char* Hopfcheck(char* txt) {
    if (stopSignal == 1)
        return txt;
    resetAccuracy();
    txt = BVSTcheck(txt);
    txt = BVS2TNcheck(txt, 6);
    txt = BVSTQcheck(txt);
    if (getAccuracy() < 1e-10)
        txt += std::sprintf(txt, "All tests OK\n");
    return txt + std::sprintf(txt, "Maximal deviation: %15.2g\n", getAccuracy());
}

// ============================================================ Resolved fusion

void CheckFusion(int a, int b, int c) {
    Stabilizer Sa, Sb, Sc;
    if (!Sa.take(a) || !Sb.take(b) || !Sc.take(c))
        return;
    std::vector<int> all(Sa.currents);
    all.insert(all.end(), Sb.currents.begin(), Sb.currents.end());
    all.insert(all.end(), Sc.currents.begin(), Sc.currents.end());
    all.resize(all.size() + CenterOrder() + 1);
    const int U =
        DG_closeSubgroup(all.data(), Sa.size() + Sb.size() + Sc.size(), nullptr, simpleProduct);
    const double scale = static_cast<double>(U) / (Sa.size() * Sb.size() * Sc.size());
    std::vector<Complex> F(static_cast<std::size_t>(Sa.size()) * Sb.size());
    for (int p = 0; p < Sa.size(); p++)
        for (int q = 0; q < Sb.size(); q++) {
            const int J = Sa.currents[p], K = Sb.currents[q];
            double re, im;
            computeFixedPointFusion(a, b, c, J, K, simpleProduct(J, K, nullptr), &re, &im);
            F[p * Sb.size() + q] = scale * Complex(re, im);
        }
    for (int alpha = 0; alpha < Sa.size(); alpha++)
        for (int beta = 0; beta < Sb.size(); beta++)
            for (int gamma = 0; gamma < Sc.size(); gamma++) {
                Complex R = 0.0;
                for (int p = 0; p < Sa.size(); p++)
                    for (int q = 0; q < Sb.size(); q++) {
                        const int J = Sa.currents[p], K = Sb.currents[q];
                        const int JK = simpleProduct(J, K, nullptr);
                        // S^JK of c vanishes when JK does not fix c.
                        if (Sc.element(JK) < 0)
                            continue;
                        R += F[p * Sb.size() + q] *
                             turn(Sa.character(alpha, J) + Sb.character(beta, K) +
                                  Sc.character(gamma, JK));
                    }
                int n = 0;
                if (ComplexToInteger(R.real(), R.imag(), &n))
                    continue;
                std::printf("########################## Fractional fusion\n");
                std::printf("Fusion_(%d,%d)(%d,%d)(%d,%d) = (%15.7f, %15.7f)\n", a, alpha, b, beta,
                            c, gamma, R.real(), R.imag());
            }
}

// ============================================================ Frobenius-Schur indicators

int getSchurIndex(int lbl) {
    const int N = totalPrimaries();
    double nu = 0.0;
    for (int m = 0; m < N; m++) {
        double slm, s0m, p0m, im;
        compS(lbl, m, &slm, &im);
        compS(0, m, &s0m, &im);
        compP(0, m, &p0m, &im);
        nu += slm * p0m * p0m / s0m;
    }
    return DoubleToInt(nu);
}

void computeGeneralizedSchurIndex(int p, int q) {
    const CheckData d;
    Complex W = 0.0;
    for (int i = 0; i < d.N; i++)
        for (int m = 0; m < d.N; m++) {
            const int Nimp = fusion(i, m, p, 0);
            if (Nimp != 0)
                W += double(Nimp) * d.S0[m] * S(q, i) * turn(-2.0 * (d.L[m] - d.L[i]));
        }
    const Complex Z = W * turn(-0.5 * (d.L[0] - d.L[q]));
    if (DoubleToInt(Z.imag()) != 0)
        Alert("computeGeneralizedSchurIndex", 1, 100402,
              "Generalized Frobenius-Schur indicator is imaginary");
    Print("Z(%d,%d) = %d\n", p, q, DoubleToInt(Z.real()));
}
