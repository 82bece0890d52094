// Bounds of the Galois-invariant search: a box per coefficient, the inequalities that shrink
// it, echelon stores for the equations, and the pairwise elimination that derives new
// inequalities until the box is small enough to be searched point by point.
#include "lie/Solve.h"

#include "base/Error.h"
#include "base/Memory.h"
#include "numeric/MathUtility.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <set>
#include <vector>

namespace {

constexpr int InitialBound = 10000;
constexpr int SmallBox = 999999;
constexpr int MaxInequalities = 4000;

// The bounds, held in the work area "CollectEqn": minim first, then maxim.
int Nbound = 0;
int* minim = nullptr;
int* maxim = nullptr;

// The inequality table in the work area "Bounds", rows of TableRow ints; the set keeps each
// stored row once so that a new row is recognised without scanning the table.
int TableRow = 1;
int BFILL = 0;
int* Table = nullptr;
std::set<std::vector<int>> StoredRows;

int BoundsCut = 0;

int* tableRow(int r) {
    return Table + static_cast<std::int64_t>(r) * TableRow;
}

int clampToInt(std::int64_t x) {
    return static_cast<int>(std::clamp<std::int64_t>(x, INT_MIN, INT_MAX));
}

// Coefficients that the bounds cover; a form longer than that is cut to the bounds.
int coefficientsOf(int Ntot) {
    return std::clamp(Ntot - 1, 0, Nbound);
}

// Divides a 64-bit row by the gcd of its entries and narrows it to ints; false when it does
// not fit, in which case the row is useless to a 32-bit search.
bool narrowRow(std::vector<std::int64_t>& row, int* out) {
    std::int64_t g = 0;
    for (std::int64_t x : row)
        g = std::gcd(g, x < 0 ? -x : x);
    for (std::size_t k = 0; k < row.size(); k++) {
        std::int64_t x = g > 1 ? row[k] / g : row[k];
        if (x > INT_MAX || x < -INT_MAX)
            return false;
        out[k] = static_cast<int>(x);
    }
    return true;
}

// Appends a normalised inequality unless it is stored already; true when it was new.
bool storeInequality(int Ntot, const int* E) {
    std::vector<int> key(E, E + Ntot);
    if (StoredRows.count(key))
        return false;
    Table = getIntSpace("Bounds", (BFILL + 10) * TableRow);
    if (!Table)
        return false;
    std::copy(E, E + Ntot, tableRow(BFILL));
    BFILL++;
    StoredRows.insert(std::move(key));
    return true;
}

std::int64_t boundContribution(int coefficient, int v) {
    return static_cast<std::int64_t>(coefficient) * (coefficient > 0 ? maxim[v] : minim[v]);
}

int* echelonHeader(const char* StorageName, int N, int rows) {
    return getIntSpace(StorageName, N + (rows + 10) * N);
}

// Removes the pivot columns of the stored rows from the new row (64-bit, kept reduced).
void reduceByStoredRows(const int* header, const int* rows, int N, int fill,
                        std::vector<std::int64_t>& row) {
    for (int p = 0; p < fill; p++) {
        const int c = header[p];
        if (c < 0) {
            std::printf("******* WRONG ********\n");
            continue;
        }
        const std::int64_t a = row[c];
        if (a == 0)
            continue;
        const int* stored = rows + static_cast<std::int64_t>(p) * N;
        const std::int64_t b = stored[c];
        const std::int64_t g = std::gcd(a < 0 ? -a : a, b < 0 ? -b : b);
        std::int64_t common = 0;
        for (int k = 0; k < N; k++) {
            row[k] = (b / g) * row[k] - (a / g) * stored[k];
            common = std::gcd(common, row[k] < 0 ? -row[k] : row[k]);
        }
        if (common > 1)
            for (std::int64_t& x : row)
                x /= common;
    }
}

// Clears column col of the earlier rows with the new row stored as row `fill`.
void backEliminate(int* rows, int N, int fill, int col) {
    const int* added = rows + static_cast<std::int64_t>(fill) * N;
    std::vector<std::int64_t> row(N);
    for (int q = 0; q < fill; q++) {
        int* earlier = rows + static_cast<std::int64_t>(q) * N;
        const std::int64_t d = earlier[col];
        if (d == 0)
            continue;
        const std::int64_t e = added[col];
        const std::int64_t g = std::gcd(d < 0 ? -d : d, e < 0 ? -e : e);
        for (int k = 0; k < N; k++)
            row[k] = (e / g) * earlier[k] - (d / g) * added[k];
        std::vector<int> reduced(N);
        if (narrowRow(row, reduced.data()))
            std::copy(reduced.begin(), reduced.end(), earlier);
        else
            Alert("CollectEqn", 1, 212404, "Integer overflow in the elimination of column %d", col);
    }
}

// The combination of rows a and b that cancels coefficient v, reduced; false when it is zero
// or too large.
bool combineRows(int Ntot, int a, int b, int v, int* out) {
    const int* ra = tableRow(a);
    const int* rb = tableRow(b);
    const std::int64_t fa = std::abs(static_cast<std::int64_t>(ra[v]));
    const std::int64_t fb = std::abs(static_cast<std::int64_t>(rb[v]));
    std::vector<std::int64_t> row(Ntot);
    bool zero = true;
    for (int k = 0; k < Ntot; k++) {
        row[k] = fa * rb[k] + fb * ra[k];
        zero = zero && row[k] == 0;
    }
    return !zero && narrowRow(row, out);
}

// One forced step of reduceLoopLen; true when some bound moved.
bool forceShrink(int n) {
    bool moved = false;
    for (int v = 0; v < n; v++) {
        if (minim[v] < -1) {
            minim[v]++;
            moved = true;
        }
        if (maxim[v] > 1) {
            maxim[v]--;
            moved = true;
        }
    }
    return moved;
}

std::vector<int> boundSnapshot(int n) {
    std::vector<int> s(minim, minim + n);
    s.insert(s.end(), maxim, maxim + n);
    return s;
}

} // namespace

void initBound(int Nvar) {
    Nbound = std::max(Nvar, 0);
    int* area = getIntSpace("CollectEqn", 2 * Nbound);
    minim = area;
    maxim = area ? area + Nbound : nullptr;
    for (int v = 0; v < Nbound && area; v++) {
        minim[v] = -InitialBound;
        maxim[v] = InitialBound;
    }
    TableRow = Nbound + 1;
    BFILL = 0;
    Table = getIntSpace("Bounds", 10 * TableRow);
    StoredRows.clear();
    BoundsCut = 0;
}

int Normalize(int N, int* vec) {
    int g = 0;
    for (int k = 0; k < N; k++)
        g = std::gcd(g, std::abs(vec[k]));
    if (g > 1)
        for (int k = 0; k < N; k++)
            vec[k] /= g;
    return g;
}

void BoundAnalysis(int Ntot, const int* E) {
    const int n = coefficientsOf(Ntot);
    std::int64_t total = 0;
    bool constant = true;
    for (int u = 0; u < n; u++)
        if (E[u] != 0) {
            total += boundContribution(E[u], u);
            constant = false;
        }
    // A derived contradiction (a negative constant >= 0) leaves no point in the box.
    if (constant && E[Ntot - 1] < 0 && n > 0) {
        maxim[0] = minim[0] - 1;
        return;
    }
    // A coefficient's own update never changes its contribution (a positive coefficient
    // contributes through maxim and raises minim, a negative one the reverse).
    for (int v = 0; v < n; v++) {
        const int c = E[v];
        if (c == 0)
            continue;
        const std::int64_t R =
            -static_cast<std::int64_t>(E[Ntot - 1]) - (total - boundContribution(c, v));
        const int limit = clampToInt(R / c);
        if (c > 0)
            minim[v] = std::max(minim[v], limit);
        else
            maxim[v] = std::min(maxim[v], limit);
    }
}

int Bound(int Ntot, int* Eqn) {
    if (Ntot != TableRow) {
        Alert("Bound", 0, 212404, "Inequality of %d entries for %d coefficients", Ntot, Nbound);
        return 0;
    }
    if (Normalize(Ntot, Eqn) == 0)
        return 0;
    if (!storeInequality(Ntot, Eqn))
        return 0;
    BoundAnalysis(Ntot, Eqn);
    return 1;
}

int CollectEqn(const char* StorageName, int N, const int* Eqn, int* fill) {
    if (N < 1)
        return 0;
    int* header = echelonHeader(StorageName, N, *fill);
    if (!header)
        return 0;
    if (*fill == 0)
        std::fill(header, header + N, -1);
    int* rows = header + N;
    std::vector<std::int64_t> row(Eqn, Eqn + N);
    reduceByStoredRows(header, rows, N, *fill, row);
    int col = N - 1;
    while (col >= 0 && row[col] == 0)
        col--;
    if (col < 0)
        return 0;
    int* added = rows + static_cast<std::int64_t>(*fill) * N;
    if (!narrowRow(row, added)) {
        Alert("CollectEqn", 0, 212404, "Integer overflow in the elimination of column %d", col);
        return 0;
    }
    if (*fill < N)
        header[*fill] = col;
    backEliminate(rows, N, *fill, col);
    (*fill)++;
    return 1;
}

void AddBounds(const char* StorageName, int Ntot, int fill) {
    int* header = echelonHeader(StorageName, Ntot, fill);
    if (!header)
        return;
    for (int p = 0; p < fill; p++) {
        int* row = header + Ntot + static_cast<std::int64_t>(p) * Ntot;
        if (Normalize(Ntot, row) == 0)
            continue;
        Bound(Ntot, row);
        for (int k = 0; k < Ntot; k++)
            row[k] = -row[k];
        Bound(Ntot, row);
    }
}

void RemoveDependences(const char* storage, int Ntot, int dfill) {
    int* header = echelonHeader(storage, Ntot, dfill);
    if (!header)
        return;
    const int* rows = header + Ntot;
    for (int p = 0; p < dfill; p++)
        Normalize(Ntot, header + Ntot + static_cast<std::int64_t>(p) * Ntot);
    const int pivots = std::min(dfill, Ntot);
    for (int v = 0; v < coefficientsOf(Ntot); v++) {
        if (std::find(header, header + pivots, v) != header + pivots)
            continue;
        int L = 1;
        for (int p = 0; p < pivots; p++) {
            const int* row = rows + static_cast<std::int64_t>(p) * Ntot;
            if (row[v] == 0 || header[p] < 0)
                continue;
            const int atPivot = row[header[p]];
            L = SCM(L, std::abs(atPivot / GCD(atPivot, row[v])));
        }
        // A free coefficient moved by a multiple of L is absorbed by the pivot coefficients.
        minim[v] = 0;
        maxim[v] = L - 1;
    }
}

void ReBound(int Ntot) {
    for (int r = 0; r < BFILL; r++)
        BoundAnalysis(Ntot, tableRow(r));
}

int LoopLen(int Ntot) {
    const int n = coefficientsOf(Ntot);
    std::int64_t product = 1;
    for (int v = 0; v < n; v++) {
        const std::int64_t range = static_cast<std::int64_t>(maxim[v]) - minim[v] + 1;
        if (range < 0)
            return 0;
        if (range >= INT_MAX || INT_MAX / (range + 2) <= product)
            return INT_MAX;
        product *= range;
    }
    return static_cast<int>(product);
}

int checkBounds(int Nvar, const int* loop, int maxChk) {
    const int rows = std::min(maxChk, BFILL);
    for (int r = 0; r < rows; r++) {
        const int* row = tableRow(r);
        std::int64_t sum = 0;
        for (int v = 0; v < Nvar; v++)
            sum += static_cast<std::int64_t>(loop[v]) * row[v];
        if (sum < -static_cast<std::int64_t>(row[Nvar]))
            return 1;
    }
    return 0;
}

void generateNewBounds(int Ntot) {
    const int n = coefficientsOf(Ntot);
    int* scratch = getIntSpace("NewEqn", Ntot);
    if (!scratch || Ntot != TableRow)
        return;
    int lastAlert = 0;
    for (int a = 0; a < BFILL; a++)
        for (int b = a + 1; b < BFILL; b++)
            for (int v = 0; v < n; v++) {
                if (sign_(tableRow(a)[v]) * sign_(tableRow(b)[v]) >= 0)
                    continue;
                const bool added = combineRows(Ntot, a, b, v, scratch) && Bound(Ntot, scratch);
                const int size = LoopLen(Ntot);
                if (size <= SmallBox)
                    return;
                if (added && BFILL % 100 == 0) {
                    if (BFILL % 1000 == 0 && BFILL != lastAlert) {
                        if (Alert("generateNewBounds", 0, 214217,
                                  "Number of inequalities has reached %d;\nLoop length = %d", BFILL,
                                  size) == -1)
                            return;
                        lastAlert = BFILL;
                    }
                    ReBound(Ntot);
                }
                if (BFILL > MaxInequalities && BFILL != lastAlert) {
                    reduceLoopLen(Ntot);
                    return;
                }
            }
}

void reduceLoopLen(int Ntot) {
    const int n = coefficientsOf(Ntot);
    bool cut = false;
    int size = LoopLen(Ntot);
    while (size > SmallBox) {
        const std::vector<int> before = boundSnapshot(n);
        cut = forceShrink(n) || cut;
        ReBound(Ntot);
        size = LoopLen(Ntot);
        std::printf("Loop length: %d\n", size);
        // Every range within [-1, 1] and no inequality tightening any further: the box is
        // searched as it is.
        if (boundSnapshot(n) == before)
            break;
    }
    std::fflush(stdout);
    if (cut) {
        BoundsCut = 1;
        Alert("reduceLoopLen", 0, 100201,
              "Search box cut by force to %d points: solutions outside the cut bounds are not "
              "searched",
              size);
    }
}

void getBounds(int** min, int** max) {
    *min = minim;
    *max = maxim;
}

int getBFILL() {
    return BFILL;
}

int getBoundsCut() {
    return BoundsCut;
}

void checkSolution() {
    findMemory("Bounds");
}
