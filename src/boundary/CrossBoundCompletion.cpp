// Completion of consistent but incomplete boundary sets. The missing boundaries lie in the
// orthogonal complement of the present ones inside the Ishibashi directions; written as complex
// combinations x of an orthonormal basis of it, their annuli with the present members and their
// Moebius strip are linear in x with integer values in known ranges. m independent such
// equations are inverted and every integer point of their ranges is tested as a boundary.
//
// The reports that end one set's attempt are warnings: the assembly goes on with the next set
// and ends with its verdict, also in a background run.
#include "boundary/CrossBoundSearch.h"

#include "boundary/CrossBoundInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "modular/Modular.h"
#include "numeric/Loops.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <vector>

using namespace crossbound_internal;

namespace {

int infoLevel() {
    return BoundarySearchInfo ? *BoundarySearchInfo : 0;
}

int capacity() {
    return BoundarySearchCapacity ? *BoundarySearchCapacity : 1;
}

bool zeroRow(int n, const double* row) {
    return std::all_of(row, row + n, [](double x) { return std::fabs(x) < 1e-7; });
}

bool equalRows(int n, const double* a, const double* b, double sign) {
    for (int k = 0; k < n; k++)
        if (std::fabs(a[k] - sign * b[k]) >= 1e-7)
            return false;
    return true;
}

// The basis vectors of the complement; the free member slots of the set being completed point
// here until the next set is completed.
std::vector<double> NewBounds;
std::vector<double> Eqns;   // m rows: left half real, imaginary; right half real, imaginary
std::vector<int> sweepWork; // pivot columns, column marks, minima, maxima, loop vector
std::vector<double> newVector;
std::vector<double> unsignedVector;

// x at the pivot columns from the values y of the chosen equations, through the right halves.
void solutionOf(const ComplEqnInfo& info, const int* y, double* x) {
    const int m = info.Size;
    std::fill(x, x + 2 * m, 0.0);
    for (int r = 0; r < m; r++) {
        const double* row = info.Eqns + static_cast<std::size_t>(r) * 4 * m;
        const int p = info.sweep[r];
        for (int q = 0; q < m; q++) {
            x[p] += y[q] * row[2 * m + q];
            x[m + p] += y[q] * row[3 * m + q];
        }
    }
}

// Row r minus f times row q over both halves; f is complex.
void subtractRow(double* rowR, const double* rowQ, int m, double fr, double fi) {
    for (int half = 0; half < 2; half++) {
        double* R = rowR + 2 * m * half;
        const double* Q = rowQ + 2 * m * half;
        for (int j = 0; j < m; j++) {
            double pr, pi;
            complexProduct(fr, fi, Q[j], Q[m + j], &pr, &pi);
            R[j] -= pr;
            R[m + j] -= pi;
        }
    }
}

void complexQuotient(double ar, double ai, double br, double bi, double* qr, double* qi) {
    const double d = br * br + bi * bi;
    *qr = (ar * br + ai * bi) / d;
    *qi = (ai * br - ar * bi) / d;
}

bool entryZero(const double* row, int m, int j) {
    return CZeroCheck(row[j], row[m + j]) != 0;
}

// The conjugate check of the present members, the basis of their complement in the free member
// slots and its overlap check; false after the report that ends the attempt.
bool buildBasis(int L, BoundarySet* set) {
    const int N = set->Nfield;
    const int m = L - set->Count;
    const std::size_t width = 2 * static_cast<std::size_t>(N);
    NewBounds.assign(static_cast<std::size_t>(m) * width, 0.0);
    for (int j = 0; j < m; j++)
        set->Bound[static_cast<std::size_t>(set->Count + j)] = NewBounds.data() + j * width;
    for (int a = 0; a < set->Count; a++) {
        int conjugates = 0;
        for (int b = 0; b < set->Count; b++) {
            double z, zi;
            VectorVerlinde(0, N, &z, &zi, compS, set->Bound[static_cast<std::size_t>(a)],
                           set->Bound[static_cast<std::size_t>(b)], SBI.Szero);
            if (std::fabs(z - 1.0) < 1e-7) {
                if (++conjugates > 1) {
                    Alert("attempt_completion", 0, 212204,
                          "Multiple boundary conjugates for label %d", a);
                    return false;
                }
            } else if (std::fabs(z) >= 1e-7) {
                Alert("attempt_completion", 1, 212204, "Boundary conjugation error: entry %15.7f",
                      z);
                return false;
            }
        }
        if (conjugates == 0) {
            Alert("attempt_completion", 2, 212204, "No conjugate for boundary %d", a);
            return false;
        }
    }
    int made = 0;
    for (int p = 0; p < N && made < m; p++) {
        if (!isIshibashiLabel(p))
            continue;
        double* v = NewBounds.data() + made * width;
        std::fill(v, v + width, 0.0);
        v[p] = 1.0;
        for (int b = 0; b < set->Count + made; b++) {
            const double* B = set->Bound[static_cast<std::size_t>(b)];
            double cr, ci;
            ComplexInnerProduct(N, B, B + N, v, v + N, &cr, &ci);
            for (int k = 0; k < N; k++) {
                double pr, pi;
                complexProduct(cr, ci, B[k], B[N + k], &pr, &pi);
                v[k] -= pr;
                v[N + k] -= pi;
            }
        }
        bool zero = true;
        for (int k = 0; k < N && zero; k++)
            zero = CZeroCheck(v[k], v[N + k]) != 0;
        if (zero)
            continue;
        NormalizeComplexVec(N, v, v + N);
        if (infoLevel() >= 6) {
            char text[64];
            std::snprintf(text, sizeof text, "Boundary basis vector %d", set->Count + made);
            PrintComplexVec(N, v, v + N, text);
        }
        made++;
    }
    if (made < m) {
        Alert("attempt_completion", 3, 112201, "Cannot find orthogonal vector");
        CompletionImpossible = 1;
        return false;
    }
    for (int a = 0; a < set->Count; a++)
        for (int j = 0; j < m; j++) {
            double re, im;
            VectorVerlinde(0, N, &re, &im, compS, NewBounds.data() + j * width,
                           set->Bound[static_cast<std::size_t>(a)], SBI.Szero);
            if (!CZeroCheck(re, im)) {
                Alert("attempt_completion", 4, 212204,
                      "Extra vector %d contributes to A(0,%d,%d);\nCompletion impossible\n",
                      set->Count + j, a, set->Count + j);
                return false;
            }
        }
    return true;
}

} // namespace

CompletionSystem CompSystem;

double* CompletionSystem::row(int k) {
    return CompEq.data() + static_cast<std::size_t>(k) * 2 * m;
}

void CompletionSystem::start(int size) {
    m = size;
    limit = 10 * capacity() * m;
    CompEq.assign(static_cast<std::size_t>(limit) * 2 * m, 0.0);
    CompMinima.assign(static_cast<std::size_t>(limit), 0);
    CompMaxima.assign(static_cast<std::size_t>(limit), 0);
    CompUsed.assign(static_cast<std::size_t>(limit), 0);
    CompEqCount = 0;
}

void ProcessCompEq(int m, int isMoebius) {
    CompletionSystem& s = CompSystem;
    double* E = s.row(s.CompEqCount);
    const int n = 2 * m;
    if (zeroRow(n, E))
        return;
    for (int k = 0; k < s.CompEqCount; k++) {
        double* K = s.row(k);
        if (equalRows(n, E, K, 1.0))
            return;
        if (!equalRows(n, E, K, -1.0))
            continue;
        if (isMoebius)
            return;
        // A value both at least 0 and at most 0 from an annulus pair; a Moebius row takes the
        // annulus's sign and lower bound.
        if (s.CompMinima[static_cast<std::size_t>(k)] == 0) {
            s.CompMaxima[static_cast<std::size_t>(k)] = 0;
        } else {
            std::copy(E, E + n, K);
            s.CompMinima[static_cast<std::size_t>(k)] = 0;
        }
        return;
    }
    double norm = 0.0;
    for (int j = 0; j < n; j++)
        norm += E[j] * E[j];
    const int maximum = static_cast<int>(std::sqrt(norm) + 0.001);
    s.CompMaxima[static_cast<std::size_t>(s.CompEqCount)] = maximum;
    s.CompMinima[static_cast<std::size_t>(s.CompEqCount)] = isMoebius ? -maximum : 0;
    if (s.CompEqCount >= s.limit - 1) {
        Alert("ProcessCompEq", 0, 520218,
              "Equation overflow;  additional equations will not be used");
        return;
    }
    s.CompEqCount++;
}

int getNextCompEq(int) {
    const CompletionSystem& s = CompSystem;
    int best = -1;
    long long bestRange = 0;
    for (int k = 0; k < s.CompEqCount; k++) {
        const auto u = static_cast<std::size_t>(k);
        if (s.CompUsed[u])
            continue;
        const long long range = static_cast<long long>(s.CompMaxima[u]) - s.CompMinima[u];
        if (range >= 2147483646)
            continue;
        if (best < 0 || range < bestRange) {
            best = k;
            bestRange = range;
        }
    }
    return best;
}

int CheckCompEqSolution(int m, const double* x) {
    CompletionSystem& s = CompSystem;
    for (int k = 0; k < s.CompEqCount; k++) {
        const double* E = s.row(k);
        double re = 0.0, im = 0.0;
        for (int j = 0; j < m; j++) {
            double pr, pi;
            complexProduct(E[j], E[m + j], x[j], x[m + j], &pr, &pi);
            re += pr;
            im += pi;
        }
        int value;
        const auto u = static_cast<std::size_t>(k);
        if (!ComplexToInteger(re, im, &value) || value < s.CompMinima[u] || value > s.CompMaxima[u])
            return 0;
    }
    return 1;
}

int checkComplEqns(int m, int* y, void* data) {
    const auto& info = *static_cast<ComplEqnInfo*>(data);
    const BoundarySet* set = info.BS;
    const int N = set->Nfield;
    std::vector<double> x(2 * static_cast<std::size_t>(m));
    solutionOf(info, y, x.data());
    newVector.assign(2 * static_cast<std::size_t>(N), 0.0);
    double* w = newVector.data();
    for (int j = 0; j < m; j++) {
        const double* v = set->Bound[static_cast<std::size_t>(set->Count + j)];
        for (int k = 0; k < N; k++) {
            double pr, pi;
            complexProduct(x[j], x[m + j], v[k], v[N + k], &pr, &pi);
            w[k] += pr;
            w[N + k] += pi;
        }
    }
    if (!CheckNewBoundary(N, w))
        return 0;
    unsignedVector.assign(2 * static_cast<std::size_t>(N), 0.0);
    copyToUnsigned(N, unsignedVector.data(), w);
    if (addBoundaryCandidate(N, unsignedVector.data()) == -1)
        return 0;
    if (infoLevel() >= 6)
        PrintComplexVec(m, x.data(), x.data() + m, "Solution: (basis coefficients)");
    if (infoLevel() >= 3)
        PrintComplexVec(N, unsignedVector.data(), unsignedVector.data() + N,
                        "New (unsigned) boundary ");
    return 1;
}

int SolveCompEq(int m, BoundarySet* set) {
    CompletionSystem& s = CompSystem;
    const int v = infoLevel();
    if (s.CompEqCount == 0) {
        if (v >= 5)
            Print("No equations available for completion of set %d\n", set->sequence);
        return 0;
    }
    if (v >= 5) {
        if (s.CompEqCount == 1)
            Print("One equation ");
        else
            Print("%d equations ", s.CompEqCount);
        if (m == 1)
            Print("for one variable.\n");
        else
            Print("for %d variables\n", m);
    }
    if (v >= 6) {
        Print("\n");
        for (int k = 0; k < s.CompEqCount; k++) {
            char text[96];
            std::snprintf(text, sizeof text, "Eqn %d; Minimum %d, Maximum %d ", k,
                          s.CompMinima[static_cast<std::size_t>(k)],
                          s.CompMaxima[static_cast<std::size_t>(k)]);
            PrintComplexVec(m, s.row(k), s.row(k) + m, text);
        }
    }
    const std::size_t width = 4 * static_cast<std::size_t>(m);
    Eqns.assign(static_cast<std::size_t>(m) * width, 0.0);
    sweepWork.assign(5 * static_cast<std::size_t>(m), 0);
    int *sweep = sweepWork.data(), *Swept = sweep + m, *Min = sweep + 2 * m, *Max = sweep + 3 * m,
        *Loop = sweep + 4 * m;
    std::fill(s.CompUsed.begin(), s.CompUsed.end(), 0);
    for (int r = 0; r < m;) {
        const int k = getNextCompEq(m);
        if (k < 0) {
            Alert("SolveCompEq", 0, 112201, "Insufficient constraints");
            return 0;
        }
        double* row = Eqns.data() + static_cast<std::size_t>(r) * width;
        std::fill(row, row + width, 0.0);
        std::copy(s.row(k), s.row(k) + 2 * m, row);
        row[2 * m + r] = 1.0;
        for (int q = 0; q < r; q++) {
            const double* Q = Eqns.data() + static_cast<std::size_t>(q) * width;
            const int p = sweep[q];
            if (entryZero(row, m, p))
                continue;
            double fr, fi;
            complexQuotient(row[p], row[m + p], Q[p], Q[m + p], &fr, &fi);
            subtractRow(row, Q, m, fr, fi);
        }
        int pivot = -1;
        for (int j = 0; j < m && pivot < 0; j++)
            if (!Swept[j] && !entryZero(row, m, j))
                pivot = j;
        const auto u = static_cast<std::size_t>(k);
        if (pivot < 0) {
            // Dependent on the chosen equations: kept out of every later choice.
            s.CompMinima[u] = 0;
            s.CompMaxima[u] = INT_MAX;
            continue;
        }
        sweep[r] = pivot;
        Swept[pivot] = 1;
        Min[r] = s.CompMinima[u];
        Max[r] = s.CompMaxima[u];
        s.CompUsed[u] = 1;
        r++;
    }
    for (int q = 0; q < m; q++) {
        double* Q = Eqns.data() + static_cast<std::size_t>(q) * width;
        const int p = sweep[q];
        for (int r = 0; r < m; r++) {
            double* R = Eqns.data() + static_cast<std::size_t>(r) * width;
            if (r == q || entryZero(R, m, p))
                continue;
            double fr, fi;
            complexQuotient(R[p], R[m + p], Q[p], Q[m + p], &fr, &fi);
            subtractRow(R, Q, m, fr, fi);
        }
    }
    for (int q = 0; q < m; q++) {
        double* Q = Eqns.data() + static_cast<std::size_t>(q) * width;
        const int p = sweep[q];
        const double dr = Q[p], di = Q[m + p];
        for (int half = 0; half < 2; half++)
            for (int j = 0; j < m; j++) {
                double* e = Q + 2 * m * half;
                complexQuotient(e[j], e[m + j], dr, di, &e[j], &e[m + j]);
            }
    }
    ComplEqnInfo info{Eqns.data(), m, sweep, Swept, set};
    const int found = NestedLoops(m, Min, Max, Loop, &info, nullptr, checkComplEqns);
    if (v >= 5) {
        if (found <= 0)
            Print("No additional boundaries found\n");
        else
            Print("%d additional boundaries found\n", found);
    }
    return found > 0 ? 1 : 0;
}

void attempt_completion(int L, BoundarySet* set) {
    if (set->isSubSet)
        return;
    const int N = set->Nfield;
    for (int p = 0; p < N; p++)
        if (isIshibashiLabel(p) && set->signset[static_cast<std::size_t>(p)] != 1)
            return;
    const int m = L - set->Count;
    if (m <= 0)
        return;
    initPMATRIX();
    const int v = infoLevel();
    if (v >= 5) {
        Print("\n----------------------------------------------------------\n");
        Print("Attempting to complete boundary set %d\n", set->sequence);
        Print("Boundaries present: %d; Needed: %d\n", set->Count, L);
        Print("----------------------------------------------------------\n");
    }
    if (!buildBasis(L, set))
        return;
    CompletionSystem& s = CompSystem;
    s.start(m);
    const std::size_t width = 2 * static_cast<std::size_t>(N);
    for (int i = 0; i < N; i++)
        for (int a = 0; a < set->Count; a++) {
            double* E = s.row(s.CompEqCount);
            for (int j = 0; j < m; j++)
                VectorVerlinde(i, N, &E[j], &E[m + j], compS, NewBounds.data() + j * width,
                               set->Bound[static_cast<std::size_t>(a)], SBI.Szero);
            ProcessCompEq(m, 0);
        }
    if (orientifoldOn())
        for (int i = 0; i < N; i++) {
            double* E = s.row(s.CompEqCount);
            for (int j = 0; j < m; j++)
                VectorVerlinde(i, N, &E[j], &E[m + j], compP, NewBounds.data() + j * width,
                               SBI.Gamma, SBI.Szero);
            ProcessCompEq(m, 1);
        }
    SolveCompEq(m, set);
    if (v >= 5) {
        Print("----------------------------------------------------------\n");
        Print("End of analysis of set %d\n", set->sequence);
        Print("----------------------------------------------------------\n");
    }
}

void attemptCompletion(int minSize, int L, BoundarySet* list) {
    std::vector<BoundarySet*> sets;
    for (BoundarySet* s = list; s; s = s->next.get())
        sets.push_back(s);
    for (auto it = sets.rbegin(); it != sets.rend(); ++it)
        if ((*it)->Count >= minSize)
            attempt_completion(L, *it);
}
