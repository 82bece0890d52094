// Fusion coefficients of the current theory from S by the Verlinde formula, with the
// simple-current selection rule and the sum over orbit starts when the orbit table is valid.
// The sums read S from the column table; whole products are computed once per simple-current
// orbit of their first factor and reuse the symmetry N_ab^c = N_ba^c = N_{a c*}^{b*}.
#include "base/Allocation.h"
#include "base/Error.h"
#include "base/Terminal.h"
#include "modular/Modular.h"
#include "modular/ModularInternal.h"
#include "modular/VerlindeKernel.h"
#include "numeric/LargeInteger.h"
#include "store/Storemanager.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace modular_internal;

namespace {

constexpr int FusionFailed = -9998;
constexpr int FusionStopped = -9999;

bool useOrbitShortCut(int vacuum) {
    return vacuum == 0 && orbitDataValid();
}

void conjugateIf(bool negative, double* im) {
    if (negative)
        *im = -*im;
}

// The unrounded generic sum of GenericVerlinde.
void verlindeSum(int i, int j, int k, int range, MODMAT X, MODMAT Y, MODMAT Z, MODMAT S, double* re,
                 double* im) {
    double sumRe = 0.0, sumIm = 0.0;
    for (int m = 0; m < range; m++) {
        double xr, xi, yr, yi, zr, zi, sr, si;
        X(m, std::abs(i), &xr, &xi);
        Y(m, std::abs(j), &yr, &yi);
        Z(m, std::abs(k), &zr, &zi);
        S(m, 0, &sr, &si);
        if (m > 0) {
            conjugateIf(i < 0, &xi);
            conjugateIf(j < 0, &yi);
            conjugateIf(k < 0, &zi);
        }
        const double pr = xr * yr - xi * yi, pi = xr * yi + xi * yr;
        sumRe += (pr * zr - pi * zi) / sr;
        sumIm += (pr * zi + pi * zr) / sr;
    }
    *re = sumRe;
    *im = sumIm;
}

// False when some basis current J has Q_J(i) + Q_J(j) != Q_J(k).
bool passesSelectionRule(int i, int j, int k) {
    int* map = nullptr;
    Discrete_Group* dg = getCenter(&map);
    const int order = groupOrder();
    const int* qi = getOrbitInfo(i)->charge;
    const int* qj = getOrbitInfo(j)->charge;
    const int* qk = getOrbitInfo(k)->charge;
    for (int f = 0; f < dg->Mult; f++) {
        const int J = map[DG_basis(dg, f)];
        if ((qi[J] + qj[J] - qk[J]) % order != 0)
            return false;
    }
    return true;
}

// sum over all fields m of Re(S(i,m) S(j,m) conj S(k,m) / S(vacuum,m)).
double directFusionValue(int i, int j, int k, int vacuum) {
    const int N = totalPrimaries();
    double sum = 0.0;
    for (int m = 0; m < N; m++) {
        double ar, ai, br, bi, cr, ci, vr, vi;
        compS(i, m, &ar, &ai);
        compS(j, m, &br, &bi);
        compS(k, m, &cr, &ci);
        compS(vacuum, m, &vr, &vi);
        const double pr = ar * br - ai * bi, pi = ar * bi + ai * br;
        const double qr = pr * cr + pi * ci, qi = pi * cr - pr * ci;
        if (vacuum == 0) {
            sum += qr / vr;
        } else {
            const double d = vr * vr + vi * vi;
            sum += (qr * vr + qi * vi) / d;
        }
    }
    return sum;
}

// A coefficient is a sum of terms far larger than itself once it runs into the thousands, and
// double precision then misses its integer by more than 1e-7 (6654.0000001 at G2 level 60): the
// tolerance grows with the value, relative 1e-10 above 1000.
double coefficientTolerance(double value) {
    return Tolerance * std::max(1.0, 1e-3 * std::fabs(value));
}

// DoubleToInt(value), without its call where the value is within the tolerance of an int, as
// nearly every coefficient is: a full listing rounds N^3 / G of them.
int nearestCoefficient(double value) {
    const double r = value > 0 ? std::trunc(value + 0.5) : -std::trunc(0.5 - value);
    if (std::fabs(value - r) <= coefficientTolerance(value) && std::fabs(r) < 2147483647.0)
        return static_cast<int>(r);
    return DoubleToInt(value);
}

int roundFusion(int i, int j, int k, double value) {
    const int n = nearestCoefficient(value);
    const double d = std::fabs(value - n);
    if (d <= coefficientTolerance(value))
        return n;
    if (d <= 0.01) {
        Alert("fusion", 0, 100201, "Fusion rule inaccuracy for fields %d, %d and %d\nvalue %15.7f",
              i, j, k, value);
        return n;
    }
    Alert("fusion", 1, 212302, "Fusion rule failure for fields %d, %d and %d\nvalue %15.7f", i, j,
          k, value);
    return FusionFailed;
}

// S(start of orbit m, k) for every orbit m: real parts, then imaginary parts, as the table of
// columns holds them.
std::vector<double> orbitColumn(int k) {
    const int L = getNOrbit();
    std::vector<double> column(2 * static_cast<std::size_t>(L));
    for (int m = 0; m < L; m++)
        compS(orbitMap()[m], k, &column[m], &column[L + m]);
    return column;
}

// length(m) / S(m, 0) at every orbit start m, the weights of the orbit sums.
std::vector<double> orbitWeights() {
    const int L = getNOrbit();
    const std::vector<double> vacuum = orbitColumn(0);
    std::vector<double> weight(static_cast<std::size_t>(L));
    for (int m = 0; m < L; m++)
        weight[m] = static_cast<double>(getOrbitInfo(orbitMap()[m])->length) / vacuum[m];
    return weight;
}

// One coefficient on orbits from the columns of its three fields and the vacuum alone, summed as
// from the table. With the orbit S in row files a table of every field would bring in every row,
// where one column brings in one.
double fewColumnsSum(int i, int j, int k) {
    const std::vector<double> weight = orbitWeights(), a = orbitColumn(i), b = orbitColumn(j),
                              c = orbitColumn(k);
    return tripleProductSum(weight.data(), a.data(), b.data(), c.data(), getNOrbit());
}

// x = length(m) S(m,a) S(m,b) / S(m,vacuum) at every point m of the table, real parts then
// imaginary parts (none when S is real); a division by a real S(m,vacuum) keeps to real
// arithmetic.
void preparePair(const FusionColumns& t, int a, int b, int vacuum, double* x) {
    const int L = t.points();
    const double *sa = t.column(a), *sb = t.column(b), *sv = t.column(vacuum);
    if (t.real()) {
        for (int m = 0; m < L; m++)
            x[m] = t.length(m) * (sa[m] * sb[m] / sv[m]);
        return;
    }
    for (int m = 0; m < L; m++) {
        const double ar = sa[m], ai = sa[L + m], br = sb[m], bi = sb[L + m];
        const double vr = sv[m], vi = sv[L + m];
        const double pr = ar * br - ai * bi, pi = ar * bi + ai * br;
        double re, im;
        quotientOf(pr, pi, vr, vi, &re, &im);
        x[m] = t.length(m) * re;
        x[L + m] = t.length(m) * im;
    }
}

// ---- getRijk's prepared pair ----
GuardedArray<double> RealRow("RealRow", fusionCounter()); // Size real parts, then Size imaginary
int Size = 0;
MODMAT AUX1 = nullptr;
MODMAT AUX2 = nullptr;
int preparedI = 0, preparedJ = 0, preparedVacuum = 0;
bool preparedOnOrbits = false;
const FusionColumns* preparedColumns = nullptr; // null: the row is read through AUX1 and AUX2
int preparedClass = 0;

void prepareThroughCallbacks(int i, int j, int vacuum) {
    AUX1 = preparedOnOrbits ? S_aux1 : compS;
    AUX2 = preparedOnOrbits ? S_aux2 : compS;
    Size = preparedOnOrbits ? getNOrbit() : totalPrimaries();
    double* row = RealRow.reserve(2 * Size);
    auto column = [](int x) { return [x](int m, double* re, double* im) { AUX1(m, x, re, im); }; };
    productRow(Size, column(i), column(j), column(vacuum), row, row + Size);
}

void prepareRijk(int i, int j, int vacuum) {
    preparedOnOrbits = useOrbitShortCut(vacuum);
    preparedI = i, preparedJ = j, preparedVacuum = vacuum;
    preparedColumns = fusionColumns(preparedOnOrbits, true);
    if (!preparedColumns) {
        prepareThroughCallbacks(i, j, vacuum);
        return;
    }
    Size = preparedColumns->sumLength();
    preparePair(*preparedColumns, i, j, vacuum, RealRow.reserve(2 * preparedColumns->points()));
    preparedClass = preparedColumns->productClass(i, j);
}

// ---- Whole products ----

// The products a x b of one field a with every field b, made row by row as they are asked for
// and kept until another a is asked for. With orbits, a is an orbit start and the rows serve
// every field J a of its orbit: N_{Ja,j}^k = N_{a,Jj}^k.
class ProductRows {
public:
    bool holds(const FusionColumns& t, int a, int vacuum) const {
        return stamp_ == QueryCFT() && onOrbits_ == t.onOrbits() && a_ == a && vacuum_ == vacuum;
    }
    bool holdsAny(const FusionColumns& t, int vacuum) const {
        return stamp_ == QueryCFT() && onOrbits_ == t.onOrbits() && vacuum_ == vacuum;
    }
    int first() const { return a_; }
    // Room for every row: each holds the fields of one class.
    static bool fits(const FusionColumns& t) {
        const long long doubles = static_cast<long long>(totalPrimaries()) * t.largestClass();
        return (doubles + 16) * sizeof(double) <= AllocRefuseLimit;
    }
    // The unrounded N_{ab}^k for the fields k of class *cls, in the table's order; *cls is -1
    // when no field can occur in a x b.
    const double* row(const FusionColumns& t, int a, int b, int vacuum, int* cls) {
        if (!holds(t, a, vacuum))
            begin(t, a, vacuum);
        if (offset_[b] < 0)
            compute(t, b);
        *cls = class_[b];
        return values_.X + offset_[b];
    }

private:
    void begin(const FusionColumns& t, int a, int vacuum) {
        const int N = totalPrimaries();
        stamp_ = QueryCFT();
        onOrbits_ = t.onOrbits();
        a_ = a;
        vacuum_ = vacuum;
        offset_.assign(N, -1);
        class_.assign(N, -1);
        values_.reserve(N * t.largestClass());
        used_ = 0;
    }

    // Row b, together with the next rows of b's class that are not there yet: they contain the
    // same fields, so that they share the reading of the columns, and whoever lists products asks
    // for them next. An entry whose mirror N_{a c*}^{b*} is already known is copied, the others
    // are summed over contiguous columns.
    void compute(const FusionColumns& t, int b) {
        const int cls = t.productClass(a_, b);
        if (cls < 0) {
            offset_[b] = used_;
            class_[b] = -1;
            return;
        }
        std::vector<int>& rows = batch_;
        rows.assign(1, b);
        const int own = t.classOf(b);
        for (int p = t.position(b) + 1; p < t.classEnd(own) && rows.size() < BatchRows; p++)
            if (offset_[t.fieldAt(p)] < 0)
                rows.push_back(t.fieldAt(p));
        const int first = t.classStart(cls), count = t.classEnd(cls) - first;
        // The mirror of (r, c) is entry r* of row c*, which holds the class of every r*.
        const bool mirrors =
            std::all_of(rows.begin(), rows.end(), [&](int r) { return t.conjugate(r) >= 0; });
        pending_.clear();
        pendingAt_.clear();
        copies_.clear();
        for (int p = first; p < first + count; p++) {
            const int cc = t.conjugate(t.fieldAt(p));
            if (mirrors && cc >= 0 && offset_[cc] >= 0 && class_[cc] >= 0 &&
                t.classOf(t.conjugate(b)) == class_[cc])
                copies_.push_back(p - first);
            else {
                pending_.push_back(t.columnAt(p));
                pendingAt_.push_back(p - first);
            }
        }
        const int length = t.sumLength();
        x_.resize(rows.size() * static_cast<std::size_t>(2 * t.points()));
        for (std::size_t r = 0; r < rows.size(); r++)
            preparePair(t, a_, rows[r], vacuum_, x_.data() + r * length);
        const int P = static_cast<int>(pending_.size());
        sums_.resize(rows.size() * P);
        dotColumns(x_.data(), static_cast<int>(rows.size()), pending_.data(), P, length,
                   sums_.data());
        for (std::size_t r = 0; r < rows.size(); r++) {
            double* out = values_.X + used_;
            for (int e = 0; e < P; e++)
                out[pendingAt_[e]] = sums_[r * P + e];
            for (int at : copies_) {
                const int cc = t.conjugate(t.fieldAt(first + at));
                out[at] = values_.X[offset_[cc] + t.position(t.conjugate(rows[r])) -
                                    t.classStart(class_[cc])];
            }
            offset_[rows[r]] = used_;
            class_[rows[r]] = cls;
            used_ += count;
        }
    }

    static constexpr std::size_t BatchRows = 8;
    int stamp_ = -1, a_ = -1, vacuum_ = 0;
    bool onOrbits_ = false;
    std::vector<int> offset_, class_;
    GuardedArray<double> values_{"Fusion rows", fusionCounter()};
    int used_ = 0;
    std::vector<double> x_, sums_;
    std::vector<const double*> pending_;
    std::vector<int> pendingAt_, copies_, batch_;
};

ProductRows productRows;

// The fields k that a product may contain, ascending, with the unrounded N_ij^k; the others are 0.
struct ProductTerms {
    const int* fields = nullptr;
    const double* values = nullptr;
    int count = 0;
};

// A whole product on orbits with the orbit S in row files, without the table of every field,
// which would bring in every row at once: the product reads the rows of its own two fields and
// those of the orbits holding a field it may contain, and the fields of one orbit follow each other
// so that each row is brought in once. The fields come out ascending, as from the table.
class FileProduct {
public:
    void compute(int i, int j, ProductTerms* terms) {
        const int N = totalPrimaries(), L = getNOrbit(), G = groupOrder();
        const std::vector<double> weight = orbitWeights(), a = orbitColumn(i), b = orbitColumn(j);
        value_.assign(N, 0.0);
        seen_.assign(N, 0);
        for (int o = 0; o < L; o++) {
            const int* members = getOrbitInfo(orbitMap()[o])->orbit;
            for (int J = 0; J < G; J++) {
                const int k = members[J];
                if (seen_[k] || !passesSelectionRule(i, j, k))
                    continue;
                seen_[k] = 1;
                const std::vector<double> c = orbitColumn(k);
                value_[k] = tripleProductSum(weight.data(), a.data(), b.data(), c.data(), L);
            }
        }
        fields_.clear();
        values_.clear();
        for (int k = 0; k < N; k++)
            if (seen_[k]) {
                fields_.push_back(k);
                values_.push_back(value_[k]);
            }
        terms->fields = fields_.data();
        terms->values = values_.data();
        terms->count = static_cast<int>(fields_.size());
    }

private:
    std::vector<double> value_, values_;
    std::vector<char> seen_;
    std::vector<int> fields_;
};

FileProduct fileProduct;
int FileProductStamp = -1; // the theory whose first product was read from the row files

// False when the tables do not fit, and the coefficients must be summed one by one. With the orbit
// S in row files the table reads every row: the first product of a theory reads only its own; from
// the second on, a listing, the table is built when it fits, as the rows are then read once for
// all products.
bool productTerms(int i, int j, int vacuum, ProductTerms* terms) {
    const bool onOrbits = useOrbitShortCut(vacuum);
    const bool rowFiles = onOrbits && getNOrbit() >= rowFileThreshold();
    if (rowFiles && !fusionColumns(onOrbits, false) && FileProductStamp != QueryCFT()) {
        FileProductStamp = QueryCFT();
        fileProduct.compute(i, j, terms);
        return true;
    }
    const FusionColumns* t = fusionColumns(onOrbits, true);
    if (rowFiles && (!t || !ProductRows::fits(*t))) {
        fileProduct.compute(i, j, terms);
        return true;
    }
    if (!t || !ProductRows::fits(*t))
        return false;
    auto firstOf = [&](int x) { return onOrbits ? getOrbitStart(x) : x; };
    // N_ij^k = N_ji^k: the rows already there serve either order.
    if (productRows.holdsAny(*t, vacuum) && firstOf(j) == productRows.first() &&
        firstOf(i) != productRows.first())
        std::swap(i, j);
    const int a = firstOf(i);
    const int b = onOrbits ? simpleFusion(getOrbitInfo(i)->current, j) : j;
    int cls = -1;
    terms->values = productRows.row(*t, a, b, vacuum, &cls);
    terms->count = cls < 0 ? 0 : t->classEnd(cls) - t->classStart(cls);
    terms->fields = cls < 0 ? nullptr : t->fieldsFrom(t->classStart(cls));
    return true;
}

} // namespace

int GenericVerlinde(int i, int j, int k, int range, MODMAT X, MODMAT Y, MODMAT Z, MODMAT S) {
    initSMATRIX();
    if (stopSignal == 1)
        return INT_MAX;
    double re, im;
    verlindeSum(i, j, k, range, X, Y, Z, S, &re, &im);
    return roundGenericSum(i, j, k, re, im);
}

int roundGenericSum(int i, int j, int k, double re, double im) {
    const int rounded = static_cast<int>(std::lround(re));
    if (std::fabs(re - rounded) > 1e-7)
        Alert("GenericVerlinde", 0, 212302,
              "Generic fusion rule failure for fields %d, %d and %d\nvalue %15.7f (converted to "
              "%d)",
              i, j, k, re, rounded);
    if (std::fabs(im) >= 1e-7)
        Alert("GenericVerlinde", 1, 212302,
              "Non-zero imaginary part in generic fusion coefficient\nfor fields %d, %d and %d; "
              "value %15.7f",
              i, j, k, im);
    return rounded;
}

int fusion(int i, int j, int k, int vacuum) {
    initSMATRIX();
    if (stopSignal == 1)
        return FusionStopped;
    // The orbit sum takes the same rounding rule as the direct one, so that neither a failed nor
    // a stopped sum is ever handed on as a coefficient.
    const bool onOrbits = useOrbitShortCut(vacuum);
    if (onOrbits && !passesSelectionRule(i, j, k))
        return 0;
    // Without orbits a table is worth building only for whole products, not for one coefficient;
    // nor is it with the orbit S in row files.
    const bool columnsServe = vacuum == 0 && (onOrbits || S_Symmetric() == 1);
    const bool rowFiles = getNOrbit() >= rowFileThreshold();
    const FusionColumns* t =
        columnsServe ? fusionColumns(onOrbits, onOrbits && !rowFiles) : nullptr;
    if (t)
        return roundFusion(
            i, j, k,
            tripleProductSum(t->weights(), t->column(i), t->column(j), t->column(k), t->points()));
    if (onOrbits && rowFiles)
        return roundFusion(i, j, k, fewColumnsSum(i, j, k));
    if (onOrbits) {
        double re, im;
        verlindeSum(i, j, -k, getNOrbit(), S_aux1, S_aux1, S_aux2, S_aux1, &re, &im);
        return roundFusion(i, j, k, re);
    }
    return roundFusion(i, j, k, directFusionValue(i, j, k, vacuum));
}

int fusionProduct(int i, int j, int vacuum, int* n) {
    initSMATRIX();
    if (stopSignal == 1)
        return FusionStopped;
    const int N = totalPrimaries();
    ProductTerms terms;
    if (!productTerms(i, j, vacuum, &terms)) {
        int result = 0;
        for (int k = 0; k < N; k++)
            if ((n[k] = fusion(i, j, k, vacuum)) == FusionFailed || n[k] == FusionStopped)
                result = n[k];
        return result;
    }
    std::fill(n, n + N, 0);
    int result = 0;
    for (int e = 0; e < terms.count; e++) {
        const int k = terms.fields[e];
        if ((n[k] = roundFusion(i, j, k, terms.values[e])) == FusionFailed)
            result = FusionFailed;
    }
    return result;
}

double getRijk(int k, int i, int j, int vacuum) {
    if (k == -1) {
        prepareRijk(i, j, vacuum);
        return 0.0;
    }
    if (preparedColumns && !preparedColumns->validFor(preparedOnOrbits))
        prepareRijk(preparedI, preparedJ, preparedVacuum);
    if (preparedColumns) {
        if (preparedOnOrbits && preparedColumns->classOf(k) != preparedClass)
            return 0.0;
        double sum = 0.0;
        const double* column = preparedColumns->column(k);
        dotColumns(RealRow.X, 1, &column, 1, Size, &sum);
        return sum;
    }
    if (preparedOnOrbits && !passesSelectionRule(preparedI, preparedJ, k))
        return 0.0;
    const double* row = RealRow.X;
    const double* imRow = row + Size;
    double sum = 0.0;
    for (int m = 0; m < Size; m++) {
        double cr, ci;
        AUX2(m, k, &cr, &ci);
        sum += row[m] * cr + imRow[m] * ci;
    }
    return sum;
}

namespace {

// One term of a fusion product; first tells whether it opens the sum.
char* writeTerm(char* txt, int n, int k, bool first) {
    const int a = std::abs(n);
    if (a == 1) {
        if (first)
            return txt + std::sprintf(txt, n > 0 ? " (%d) " : " - (%d) ", k);
        return txt + std::sprintf(txt, n > 0 ? " + (%d) " : " - (%d) ", k);
    }
    if (first)
        return txt + std::sprintf(txt, " %d x (%d) ", n, k);
    return txt + std::sprintf(txt, n > 0 ? " + %d x (%d) " : " - %d x (%d) ", a, k);
}

// Writes the term n (k) of a product and starts a new line after 60 characters.
char* appendTerm(char* txt, char*& lineStart, int n, int k, bool& first) {
    txt = writeTerm(txt, n, k, first);
    first = false;
    if (txt - lineStart > 60) {
        lineStart = txt;
        txt += std::sprintf(txt, "\n%14s", "");
    }
    return txt;
}

} // namespace

namespace modular_internal {

void reportCoefficient(const char* routine, int position, int i, int j, int k, double value,
                       int n) {
    if (std::fabs(value - n) > coefficientTolerance(value))
        Alert(routine, position, 212302,
              "Fusion rule failure for fields %d, %d and %d\nvalue %15.7f (converted to %d)", i, j,
              k, value, n);
    if (n < 0)
        Alert(routine, position + 1, 212302, "Negative fusion coefficient\nN(%d,%d,%d)=%22.15f\n",
              i, j, k, value);
}

} // namespace modular_internal

namespace {

// dim(i) dim(j) - sum_k N_ij^k dim(k) of the Lie algebra dimensions, while "Fusion sumcheck" is
// on and the current theory is an affine block.
class DimensionSum {
public:
    DimensionSum(int i, int j) {
        SpectrumData* sd = currentBlock();
        if (fusionSumcheck() != 1 || !sd || sd->type < 1 || sd->type > 5)
            return;
        SM_loadDimensions(sd);
        sd_ = sd;
        sum_.reset(lint_alloc(5));
        lint_copy(sum_.get(), dim(i));
        lint_multiply(sum_.get(), dim(j));
    }
    void subtract(int n, int k) {
        if (!sd_)
            return;
        LintPtr term(lint_alloc(5));
        lint_copy(term.get(), dim(k));
        lint_intprod(term.get(), n);
        lint_subtract(sum_.get(), term.get());
    }
    char* report(char* txt) {
        if (!sd_)
            return txt;
        regform(sum_.get());
        return txt +
               std::sprintf(txt, "Dimension sum rule deficit: %s\n\n", lint_string(sum_.get()));
    }

private:
    const lint* dim(int lbl) const { return sd_->Indices[lbl * (sd_->rank + 1)]; }
    SpectrumData* sd_ = nullptr;
    LintPtr sum_;
};

} // namespace

char* compF(char* txt, int i, int j, int vacuum) {
    DimensionSum dimensionSum(i, j);
    initSMATRIX();
    if (stopSignal == 1)
        return txt;
    char* lineStart = txt;
    txt += std::sprintf(txt, "(%d) x (%d) = ", i, j);
    ProductTerms terms;
    const bool whole = productTerms(i, j, vacuum, &terms);
    if (!whole)
        getRijk(-1, i, j, vacuum);
    bool first = true;
    const int count = whole ? terms.count : totalPrimaries();
    for (int e = 0; e < count; e++) {
        const int k = whole ? terms.fields[e] : e;
        const double value = whole ? terms.values[e] : getRijk(k, i, j, vacuum);
        const int n = nearestCoefficient(value);
        reportCoefficient("compF", 0, i, j, k, value, n);
        if (n == 0)
            continue;
        dimensionSum.subtract(std::abs(n), k);
        txt = appendTerm(txt, lineStart, n, k, first);
    }
    if (txt - lineStart > 15)
        txt += std::sprintf(txt, "\n");
    txt += std::sprintf(txt, "\n");
    return dimensionSum.report(txt);
}

int Unitarity_check(char*, int lbli, int lblj, double* Real, double* Im) {
    initSMATRIX();
    if (stopSignal == 1)
        return 1;
    const int N = totalPrimaries();
    double re = lbli == lblj ? -1.0 : 0.0, im = 0.0;
    for (int k = 0; k < N; k++) {
        double ar, ai, br, bi;
        compS(lbli, k, &ar, &ai);
        compS(lblj, k, &br, &bi);
        re += ar * br + ai * bi;
        im += ai * br - ar * bi;
    }
    *Real = re;
    *Im = im;
    return re * re + im * im < 1e-10 ? 1 : 0;
}

// ============================================================ P-fusion

int Pfusion(int i, int j, int k) {
    return GenericVerlinde(i, j, -k, totalPrimaries(), compS, compP, compP, compS);
}

char* compFp(char* txt, int i, int j, int vacuum) {
    initSMATRIX();
    initPMATRIX();
    if (stopSignal == 1)
        return txt;
    const int N = totalPrimaries();
    char* lineStart = txt;
    txt += std::sprintf(txt, "(%d) x (%d) = ", i, j);
    std::vector<double> rowRe(N), rowIm(N);
    productRow(
        N, [i](int m, double* re, double* im) { compS(i, m, re, im); },
        [j](int m, double* re, double* im) { compP(j, m, re, im); },
        [vacuum](int m, double* re, double* im) { compS(vacuum, m, re, im); }, rowRe.data(),
        rowIm.data());
    bool first = true;
    for (int k = 0; k < N; k++) {
        double re = 0.0, im = 0.0;
        for (int m = 0; m < N; m++) {
            double pr, pi;
            compP(k, m, &pr, &pi);
            re += rowRe[m] * pr + rowIm[m] * pi;
            im += rowIm[m] * pr - rowRe[m] * pi;
        }
        const int n = DoubleToInt(re);
        if (std::fabs(re - n) > 1e-7)
            Alert("compFp", 0, 212302,
                  "P-Fusion rule failure for fields %d, %d and %d\nvalue %15.7f (converted to %d)",
                  i, j, k, re, n);
        if (std::fabs(im) > 1e-7)
            Alert("compFp", 1, 212302,
                  "Non-zero imaginary part in p-fusion coefficient\nfor fields %d, %d and %d; "
                  "value %15.7f",
                  i, j, k, im);
        if (n != 0)
            txt = appendTerm(txt, lineStart, n, k, first);
    }
    if (txt - lineStart > 15)
        txt += std::sprintf(txt, "\n");
    if (first)
        txt += std::sprintf(txt, "  -- \n");
    return txt + std::sprintf(txt, "\n");
}
