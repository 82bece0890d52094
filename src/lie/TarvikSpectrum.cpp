// The integrable highest weights of an affine algebra at a level, numbered so that every
// simple-current orbit is a run of consecutive fields, with orbits, stabilisers, charges and
// conformal weights.
#include "lie/Tarvik.h"

#include "base/Error.h"
#include "base/Memory.h"
#include "lie/TarvikInternal.h"
#include "numeric/Loops.h"
#include "numeric/MathUtility.h"
#include "numeric/VectorUtility.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

using tarvik_internal::InLevel;
using tarvik_internal::InRank;

namespace {

// Key of the last spectrum; enumerated is false when that spectrum had no enumeration.
int StType = INT_MIN;
int StRank = INT_MIN;
int StLevel = INT_MIN;
int StCenter = 0;
bool enumerated = false;
int Nenumerated = 0;

int* enumeration() {
    return findExistingMemory("ExtendedDynkin").iSpace;
}
int* labels() {
    return findExistingMemory("Labels").iSpace;
}

// Constant blocks of the special spectra.
int trivialZero[4] = {0, 0, 0, 0};
int isingLabels[3] = {0, 2, 1};
int isingCenterOrders[1] = {2};
int isingOrbitBase[18] = {0, 0, 1, 0, 0, 2, 0, 1, 0, 0, 0, 1, 0, 0, 1, 0, 8, 1};

// One orbit as found by orbgen_: members (column-major, leading dimension ld), the current that
// reaches each member, charges, length and the three fixed flags of D of even rank.
struct Orbit {
    int ld = 0;
    std::vector<int> members;
    std::vector<int> positions;
    std::vector<int> chars;
    int len = 0;
    int flags[3] = {0, 0, 0};

    Orbit(int type, int rank) : ld(orbitLeadingDimension(type, rank)) {
        members.assign(static_cast<std::size_t>(ld) * (rank + 1), 0);
        positions.assign(ld, 0);
        chars.assign(2 * ld, 0);
    }
    void member(int m, int rank, int* out) const {
        for (int j = 0; j <= rank; j++)
            out[j] = members[m + j * ld];
    }
};

struct Results {
    int* Nprimaries;
    int* Norbits;
    int* AdjDimension;
    int* RepSize;
    int* DualCoxeter;
    int* CenterOrder;
    int* CenterMult;
    int* weight_denom;
    int* Complex;
    double* CentralCharge;
    int** ExtDynkin;
    int** CenterOrders;
    int** OrbitBase;
};

void setConstants(const Results& r, int n, int norbits, int adj, int size, int g, int center,
                  int mult, int denom, int complex, double c) {
    *r.Nprimaries = n;
    *r.Norbits = norbits;
    *r.AdjDimension = adj;
    *r.RepSize = size;
    *r.DualCoxeter = g;
    *r.CenterOrder = center;
    *r.CenterMult = mult;
    *r.weight_denom = denom;
    *r.Complex = complex;
    *r.CentralCharge = c;
}

void trivialSpectrum(const Results& r) {
    setConstants(r, 1, 1, 0, 1, 1, 1, 0, 1, 0, 0.0);
    *r.ExtDynkin = trivialZero;
    *r.CenterOrders = trivialZero;
    *r.OrbitBase = trivialZero;
}

void isingSpectrum(const Results& r) {
    setConstants(r, 3, 2, 0, 1, -1, 1, 1, 16, 0, 0.5);
    *r.ExtDynkin = isingLabels;
    *r.CenterOrders = isingCenterOrders;
    *r.OrbitBase = isingOrbitBase;
}

void forgetSpectrum() {
    StType = StRank = StLevel = INT_MIN;
    enumerated = false;
}

// Appends the extended weight of one loop point; false when the affine label is no integer.
bool appendWeight(int rank, const int* loop, int remainder, int affineComark, int*& area,
                  int& capacity) {
    if (remainder % affineComark != 0)
        return false;
    int need = (Nenumerated + 1) * (rank + 1);
    if (need >= capacity) {
        Alert("spectrum_", 1, 112210, "Unexpected need for memory re-allocation");
        capacity = (Nenumerated + 1000) * (rank + 1) + 10;
        area = getIntSpace("ExtendedDynkin", capacity);
    }
    int* row = area + Nenumerated * (rank + 1);
    std::copy(loop, loop + rank, row);
    row[rank] = remainder / affineComark;
    Nenumerated++;
    return true;
}

// The ways to spend the level on the nodes, each label costing its comark: the coefficient of
// x^level in the product over the nodes of 1 / (1 - x^comark).
double countWeights(const std::vector<int>& comarks, int level) {
    std::vector<double> ways(static_cast<std::size_t>(level) + 1, 0.0);
    ways[0] = 1.0;
    for (int comark : comarks)
        for (int s = comark; s <= level; s++)
            ways[s] += ways[s - comark];
    return ways[level];
}

// Ints asked of the enumeration area for that many weights: their labels, rounded up to whole
// 10000s. Beyond half the int range the allocator refuses the area anyway.
double enumerationRequest(double weights, int rank) {
    const double ints = std::min(weights * (rank + 1), double(INT_MAX / 2));
    return std::floor(ints / 10000) * 10000 + 10000;
}

// All extended weights with non-negative labels and comark-weighted sum equal to the level, in
// increasing lexicographic order. The area is sized from their number, so that it never grows.
void enumerateWeights(int rank, int level) {
    std::vector<int> comarks(getTheta(), getTheta() + rank + 1);
    int capacity = static_cast<int>(enumerationRequest(countWeights(comarks, level), rank));
    int* area = getIntSpace("ExtendedDynkin", capacity);
    std::vector<int> max(rank, level + 1), loop(rank, 0);
    int leftOver = 0;
    Nenumerated = 0;
    if (incrementBoundedInit(rank, max.data(), loop.data(), comarks.data(), level, &leftOver))
        return;
    do {
        appendWeight(rank, loop.data(), leftOver, comarks[rank], area, capacity);
    } while (!incrementBounded(rank, max.data(), loop.data(), comarks.data(), level, &leftOver));
}

int* allocateBlock(int ints, AllocCount* Space, const char* name) {
    int* block =
        static_cast<int*>(allocate(sizeof(int) * static_cast<std::size_t>(ints), Space, name));
    std::fill(block, block + ints, 0);
    return block;
}

// Offsets into the orbit block of N fields with CM cyclic factors of the centre.
struct OrbitLayout {
    int N, CM;
    int orbit(int L) const { return L; }
    int generator(int L) const { return N + L; }
    int position(int L) const { return 2 * N + L; }
    int stabiliser(int L, int w) const { return 3 * N + CM * L + w; }
    int charge(int L, int w) const { return (3 + CM) * N + CM * L + w; }
    int weight(int L) const { return (3 + 2 * CM) * N + L; }
};

void freeBosonOrbits(int* base, int N) {
    OrbitLayout at{N, 1};
    for (int i = 0; i < N; i++) {
        base[at.position(i)] = i;
        base[at.charge(i, 0)] = (N - i) % N;
        int m = i <= N / 2 ? i : N - i;
        base[at.weight(i)] = m * m;
    }
}

void singletonOrbits(int* base, int N, int CM) {
    OrbitLayout at{N, CM};
    for (int i = 0; i < N; i++) {
        base[at.orbit(i)] = i;
        base[at.generator(i)] = i;
    }
}

// Copies the weights to their field rows and stores the conformal-weight numerators.
void fillFields(int type, int rank, int level, int g, int denom, int center, int CM, int* dynkin,
                int* base) {
    OrbitLayout at{Nenumerated, CM};
    for (int i = 0; i < Nenumerated; i++) {
        int L = center < 2 ? i : labels()[i];
        if (L < 0)
            continue;
        const int* row = enumeration() + i * (rank + 1);
        std::copy(row, row + rank + 1, dynkin + L * (rank + 1));
        rat c = *RCasimir(row, type, rank);
        rat h{0, 1};
        torat2(c.num, (g + level) * c.den, &h);
        simplifyRat(&h);
        base[at.weight(L)] = static_cast<int>(static_cast<long long>(denom) * h.num / h.den);
    }
}

void stabiliserWords(int type, int rank, const Orbit& orbit, int* words) {
    int len = orbit.len;
    words[0] = 0;
    words[1] = 0;
    switch (type) {
    case 1:
        words[0] = len % (rank + 1);
        break;
    case 2:
    case 3:
        words[0] = len % 2;
        break;
    case 4:
        if (rank % 2 == 1) {
            words[0] = len % 4;
            break;
        }
        if (orbit.flags[0] == 1 && orbit.flags[1] == 1 && orbit.flags[2] == 1) {
            words[0] = 1;
            words[1] = 2;
        } else {
            for (int c = 0; c < 3; c++)
                if (orbit.flags[c] == 1)
                    words[0] = c + 1;
        }
        break;
    case 5:
        words[0] = rank == 6 ? len % 3 : rank == 7 ? len % 2 : 0;
        break;
    default:
        break;
    }
}

// Numbers the fields of one orbit consecutively, from its generator.
void labelOrbit(int type, int rank, int* nfill, int* ofill, int N, const Orbit& orbit,
                int* OrbitBase) {
    int CM = CenterMultiplicity(type, rank);
    OrbitLayout at{N, CM};
    int stab[2];
    stabiliserWords(type, rank, orbit, stab);
    bool evenD = type == 4 && rank % 2 == 0;
    int first = *nfill;
    std::vector<int> w(rank + 1);
    for (int m = 0; m < orbit.len; m++) {
        orbit.member(m, rank, w.data());
        int index = Orderedlookup(w.data(), enumeration(), rank + 1, Nenumerated);
        if (index < 0) {
            Alert("kmrep_", 1, 212404, "Representation not found");
            return;
        }
        int L = *nfill;
        labels()[index] = L;
        OrbitBase[at.orbit(L)] = *ofill - 1;
        OrbitBase[at.generator(L)] = first;
        OrbitBase[at.position(L)] = orbit.positions[m];
        int c1 = orbit.chars[m], c2 = orbit.chars[m + orbit.ld];
        for (int k = 0; k < CM; k++)
            OrbitBase[at.stabiliser(L, k)] = stab[k];
        if (evenD) {
            OrbitBase[at.charge(L, 0)] = (c1 + c2) / 2;
            OrbitBase[at.charge(L, 1)] = (c1 + c2) % 2;
        } else if (CM > 0) {
            OrbitBase[at.charge(L, 0)] = c1;
        }
        (*nfill)++;
    }
}

bool sameWeight(const int* a, const int* b, int n) {
    return std::equal(a, a + n, b);
}

void storeMember(Orbit& o, int m, const int* w, int rank, int position) {
    for (int j = 0; j <= rank; j++)
        o.members[m + j * o.ld] = w[j];
    o.positions[m] = position;
}

// Images of w under J^m for m = 0 .. order-1 until the first image equal to w.
int cyclicOrbit(int type, int rank, const int* w, int order, Orbit& o) {
    std::vector<int> image(rank + 1);
    storeMember(o, 0, w, rank, 0);
    o.len = order;
    for (int m = 1; m < order; m++) {
        if (type == 1)
            simplea_(rank, w, image.data(), m);
        else if (type == 2)
            simpleb_(rank, w, image.data(), m);
        else if (type == 3)
            simplec_(rank, w, image.data(), m);
        else if (type == 4)
            simpled_(rank, w, image.data(), m);
        else
            simplee_(rank, w, image.data(), m);
        if (sameWeight(image.data(), w, rank + 1)) {
            o.len = m;
            return 0;
        }
        storeMember(o, m, image.data(), rank, m);
    }
    return 0;
}

// D of even rank: Z2 x Z2; images equal to w are left out and flag the current fixing it.
int evenDOrbit(int rank, const int* w, Orbit& o) {
    std::vector<int> image(rank + 1);
    storeMember(o, 0, w, rank, 0);
    int listed = 1;
    for (int c = 1; c <= 3; c++) {
        if (simpled_(rank, w, image.data(), c))
            return 1;
        bool fixed = sameWeight(image.data(), w, rank + 1);
        o.flags[c - 1] = fixed ? 1 : 2;
        if (!fixed)
            storeMember(o, listed++, image.data(), rank, c);
    }
    int product = o.flags[0] * o.flags[1] * o.flags[2];
    if (product == 2)
        Alert("orbgen_", 1, 212404, "Unexpected orbit length");
    o.len = product > 1 ? product / 2 : 1;
    return 0;
}

void permuteLabels(const int* perm, int n, const int* in, int* out) {
    for (int p = 0; p < n; p++)
        out[p] = in[perm[p]];
}

// Position of the Dynkin label lambda(i) of an extended weight of rank r.
int labelPos(int i, int r) {
    return i == 0 ? r : i - 1;
}

void dMiddleReversed(int r, const int* in, int* out) {
    for (int i = 2; i <= r - 2; i++)
        out[labelPos(i, r)] = in[labelPos(r - i, r)];
}

} // namespace

int orbitLeadingDimension(int type, int rank) {
    if (type == 4)
        return 4;
    return std::max(Center(type, rank), 1);
}

int simplea_(int rank, const int* in, int* out, int shift) {
    int n = rank + 1;
    int m = (shift + 100 * n) % n;
    std::vector<int> old(in, in + n);
    for (int i = 0; i <= rank; i++)
        out[labelPos(i, rank)] = old[labelPos((i + m) % n, rank)];
    return 0;
}

int simpleb_(int rank, const int* in, int* out, int shift) {
    std::vector<int> old(in, in + rank + 1);
    std::copy(old.begin(), old.end(), out);
    if ((shift + 1000) % 2 == 1) {
        out[labelPos(0, rank)] = old[labelPos(1, rank)];
        out[labelPos(1, rank)] = old[labelPos(0, rank)];
    }
    return 0;
}

int simplec_(int rank, const int* in, int* out, int shift) {
    std::vector<int> old(in, in + rank + 1);
    std::copy(old.begin(), old.end(), out);
    if ((shift + 1000) % 2 == 1)
        for (int i = 0; i <= rank; i++)
            out[labelPos(i, rank)] = old[labelPos(rank - i, rank)];
    return 0;
}

int simpled_(int rank, const int* in, int* out, int shift) {
    if (rank == 2) {
        Alert("simpled_", 0, 112312, "Rank 2 not allowed for type D");
        return 1;
    }
    int r = rank;
    std::vector<int> old(in, in + r + 1);
    std::copy(old.begin(), old.end(), out);
    int current = (shift + 1000) % 4;
    if (current == 0)
        return 0;
    if (current == 2) {
        std::swap(out[labelPos(0, r)], out[labelPos(1, r)]);
        std::swap(out[labelPos(r - 1, r)], out[labelPos(r, r)]);
        return 0;
    }
    // Currents 1 and 3 move the four end labels and reverse the middle of the chain.
    bool odd = r % 2 == 1;
    int from0 = current == 1 ? r : r - 1;
    int from1 = current == 1 ? r - 1 : r;
    int toRm1 = (current == 1) == odd ? 0 : 1;
    out[labelPos(0, r)] = old[labelPos(from0, r)];
    out[labelPos(1, r)] = old[labelPos(from1, r)];
    out[labelPos(r - 1, r)] = old[labelPos(toRm1, r)];
    out[labelPos(r, r)] = old[labelPos(1 - toRm1, r)];
    dMiddleReversed(r, old.data(), out);
    return 0;
}

int simplee_(int rank, const int* in, int* out, int shift) {
    static const int e6J[] = {6, 5, 2, 1, 0, 3, 4};
    static const int e6J2[] = {4, 3, 2, 5, 6, 1, 0};
    static const int e7J[] = {4, 3, 2, 1, 0, 7, 6, 5};
    std::vector<int> old(in, in + rank + 1);
    std::copy(old.begin(), old.end(), out);
    if (rank == 6) {
        int m = (shift + 3000) % 3;
        if (m == 1)
            permuteLabels(e6J, 7, old.data(), out);
        else if (m == 2)
            permuteLabels(e6J2, 7, old.data(), out);
    } else if (rank == 7 && (shift + 2000) % 2 == 1) {
        permuteLabels(e7J, 8, old.data(), out);
    }
    return 0;
}

void charges_(int type, int rank, const int* rep, int* char1, int* char2) {
    int r = rank;
    int c1 = 0, c2 = 0;
    auto l = [rep](int i) { return rep[i - 1]; };
    if (type == 1) {
        for (int i = 1; i <= r; i++)
            c1 -= i * l(i);
        c1 = mod(c1, r + 1);
    } else if (type == 2) {
        c1 = mod(l(r), 2);
    } else if (type == 3) {
        for (int i = 1; i <= r; i += 2)
            c1 += l(i);
        c1 = mod(c1, 2);
    } else if (type == 4) {
        for (int i = 1; i <= r - 2; i += 2)
            c1 += 2 * l(i);
        c1 = mod(c1 + (r - 2) * l(r - 1) + r * l(r), 4);
        c2 = mod(l(r - 1) + l(r), 2);
    } else if (type == 5 && rank == 6) {
        c1 = mod(l(2) + l(5) - l(1) - l(4), 3);
    } else if (type == 5 && rank == 7) {
        c1 = mod(l(4) + l(6) + l(7), 2);
    }
    *char1 = c1;
    *char2 = c2;
}

void conjg_(int type, int rank, const int* rep1, int* rep2) {
    static const int e6[] = {4, 3, 2, 1, 0, 5, 6};
    std::vector<int> old(rep1, rep1 + rank + 1);
    std::copy(old.begin(), old.end(), rep2);
    if (type == 1) {
        for (int p = 0; p < rank; p++)
            rep2[p] = old[rank - 1 - p];
    } else if (type == 5 && rank == 6) {
        permuteLabels(e6, 7, old.data(), rep2);
    } else if (type == 4 && rank % 2 == 1) {
        std::swap(rep2[rank - 2], rep2[rank - 1]);
    }
}

int orbgen_(int type, int rank, const int* rep, int* orbs, int* lbl, int* len, int* len1, int* len2,
            int* len3) {
    Orbit o(type, rank);
    int failed = 0;
    if (type == 1)
        failed = cyclicOrbit(type, rank, rep, rank + 1, o);
    else if (type == 2 || type == 3)
        failed = cyclicOrbit(type, rank, rep, 2, o);
    else if (type == 4 && rank % 2 == 1)
        failed = cyclicOrbit(type, rank, rep, 4, o);
    else if (type == 4)
        failed = evenDOrbit(rank, rep, o);
    else if (type == 5 && (rank == 6 || rank == 7))
        failed = cyclicOrbit(type, rank, rep, rank == 6 ? 3 : 2, o);
    else {
        Alert("orbgen_", 0, 212404, "Unexpected control flow");
        return 1;
    }
    std::copy(o.members.begin(), o.members.end(), orbs);
    std::copy(o.positions.begin(), o.positions.end(), lbl);
    *len = o.len;
    *len1 = o.flags[0];
    *len2 = o.flags[1];
    *len3 = o.flags[2];
    return failed;
}

namespace {

int orbitOf(int type, int rank, const int* rep, Orbit& o) {
    return orbgen_(type, rank, rep, o.members.data(), o.positions.data(), &o.len, &o.flags[0],
                   &o.flags[1], &o.flags[2]);
}

// The orbit of rep from its generator, the member of smallest charge code.
void startOrbit(int type, int rank, const int* rep, Orbit& o) {
    orbitOf(type, rank, rep, o);
    std::vector<int> w(rank + 1), generator(rep, rep + rank + 1);
    int best = 10000;
    for (int m = 0; m < o.len; m++) {
        o.member(m, rank, w.data());
        int c1 = 0, c2 = 0;
        charges_(type, rank, w.data(), &c1, &c2);
        if (100 * c1 + c2 < best) {
            best = 100 * c1 + c2;
            generator = w;
        }
    }
    orbitOf(type, rank, generator.data(), o);
    for (int m = 0; m < o.len; m++) {
        o.member(m, rank, w.data());
        charges_(type, rank, w.data(), &o.chars[m], &o.chars[m + o.ld]);
    }
}

} // namespace

void start_(int type, int rank, int /*level*/, const int* rep, int* orbs, int* lbl, int* chars,
            int* len, int* len1, int* len2, int* len3) {
    Orbit o(type, rank);
    startOrbit(type, rank, rep, o);
    std::copy(o.members.begin(), o.members.end(), orbs);
    std::copy(o.positions.begin(), o.positions.end(), lbl);
    std::copy(o.chars.begin(), o.chars.end(), chars);
    *len = o.len;
    *len1 = o.flags[0];
    *len2 = o.flags[1];
    *len3 = o.flags[2];
}

void kmrep_(int type, int rank, int /*level*/, int* nfill, int* ofill, int Nprimaries, int replbl,
            int* OrbitBase) {
    if (rank > tarvik_internal::maxRankValue())
        Alert("kmrep_", 0, 212404, "Rank too large");
    if (labels()[replbl] != -1)
        return;
    Orbit o(type, rank);
    startOrbit(type, rank, enumeration() + replbl * (rank + 1), o);
    (*ofill)++;
    labelOrbit(type, rank, nfill, ofill, Nprimaries, o, OrbitBase);
}

namespace {

struct Algebra {
    int type, rank, level;
    int g, center, mult;
};

// alg.level is the enumerated level k', level the given one.
double centralCharge(const Algebra& a, int dim, int level) {
    double c = double(a.level) * dim / (a.level + a.g);
    if (a.type == 13)
        c += double(a.rank) * level * (2 * (level + a.rank) - 3) / (level + a.g);
    return c;
}

void computeOrbits(const Algebra& a, int N, int* base, int* Norbits) {
    int* lab = getIntSpace("Labels", N);
    if (a.type == 0) {
        freeBosonOrbits(base, N);
        *Norbits = 1;
    } else if (a.center < 2) {
        singletonOrbits(base, N, a.mult);
        *Norbits = N;
    } else {
        std::fill(lab, lab + N, -1);
        int nfill = 0, ofill = 0;
        for (int i = 0; i < N; i++)
            kmrep_(a.type, a.rank, a.level, &nfill, &ofill, N, i, base);
        *Norbits = ofill;
    }
}

void allocateResults(const Results& r, const Algebra& a, int N, int size, AllocCount* Space) {
    *r.OrbitBase = allocateBlock((2 * a.mult + 4) * N, Space, "Orbit data");
    *r.CenterOrders = nullptr;
    if (a.center >= 2) {
        *r.CenterOrders = allocateBlock(a.mult == 2 ? 2 : 1, Space, "Center orders");
        getCenterOrders(a.type, a.rank, a.center, *r.CenterOrders);
    }
    *r.ExtDynkin = allocateBlock(N * size, Space, "Dynkin labels");
}

bool hasNoSpectrum(int type, int rank, int level) {
    if (type == 0)
        return rank < 1;
    return type == 2 && (rank == 0 || level == 0);
}

// The trivial algebra, the Ising model and the triples without a spectrum.
bool specialSpectrum(int type, int rank, int level, const Results& res) {
    bool trivial = (rank == 0 || level == 0) && type != 0 && type != 2;
    bool ising = type == 2 && rank == 0 && level == 1;
    bool undefined = !trivial && !ising && hasNoSpectrum(type, rank, level);
    if (!trivial && !ising && !undefined)
        return false;
    if (undefined)
        InputError(type, rank, level, "spectrum_");
    forgetSpectrum();
    if (ising)
        isingSpectrum(res);
    else
        trivialSpectrum(res);
    return true;
}

struct Fields {
    int N = 0;
    int size = 1;
    int denom = 0;
    double c = 1.0;
};

// The field count, label size, weight denominator and central charge; enumerates the weights.
Fields enumerateFields(const Algebra& alg, int level, int adj) {
    Fields f;
    if (alg.type == 0) {
        f.N = alg.rank;
        f.denom = 2 * alg.rank;
        Nenumerated = 0;
        return f;
    }
    InverseCartan(tarvik_internal::metricType(alg.type, alg.rank), alg.rank);
    f.denom = 2 * getMetricNorm() * (alg.g + alg.level);
    Cartan(alg.type, alg.rank);
    f.c = centralCharge(alg, adj, level);
    f.size = alg.rank + 1;
    enumerateWeights(alg.rank, alg.level);
    f.N = Nenumerated;
    return f;
}

void rememberSpectrum(int type, int rank, int level, int center) {
    StType = type;
    StRank = rank;
    StLevel = level;
    StCenter = center;
    enumerated = type != 0;
}

} // namespace

void spectrum_(int type, int rank, int level, int* Nprimaries, int* Norbits, int* AdjDimension,
               int* RepSize, int* DualCoxeter, int* CenterOrder, int* CenterMult, int* weight_denom,
               int* Complex, double* CentralCharge, int** ExtDynkin, int** CenterOrders,
               int** OrbitBase, AllocCount* Space) {
    Results res{Nprimaries,  Norbits,      AdjDimension, RepSize, DualCoxeter,
                CenterOrder, CenterMult,   weight_denom, Complex, CentralCharge,
                ExtDynkin,   CenterOrders, OrbitBase};
    if (specialSpectrum(type, rank, level, res))
        return;
    InLevel = level;
    InRank = rank;
    if (tarvik_internal::maxRankValue() < rank)
        tarvik_internal::raiseMaxRank(rank + 2);
    // B1 is enumerated as A1 at twice the level.
    int kp = type == 2 && rank == 1 ? 2 * level : level;
    Algebra alg{type,
                rank,
                kp,
                dualCoxeter(type, rank),
                Center(type, rank),
                CenterMultiplicity(type, rank)};
    int adj = AdjointDimension(type, rank);
    Fields f = enumerateFields(alg, level, adj);
    rememberSpectrum(type, rank, level, alg.center);
    allocateResults(res, alg, f.N, f.size, Space);
    int norbits = 0;
    computeOrbits(alg, f.N, *OrbitBase, &norbits);
    if (type == 0) {
        for (int i = 0; i < f.N; i++)
            (*ExtDynkin)[i] = i;
    } else {
        fillFields(type, rank, kp, alg.g, f.denom, alg.center, alg.mult, *ExtDynkin, *OrbitBase);
    }
    setConstants(res, f.N, norbits, adj, f.size, alg.g, alg.center, alg.mult, f.denom,
                 Complexity(type, rank), f.c);
}

double countPrimaries(int type, int rank, int level) {
    if (type == 2 && rank == 0 && level == 1)
        return 3; // the Ising model
    if (type == 0 && rank >= 1)
        return rank;
    if (type == 0 || rank == 0 || level == 0)
        return 1;
    const int kp = type == 2 && rank == 1 ? 2 * level : level;
    return countWeights(tarvik_internal::comarkList(type, rank), kp);
}

int spectrumFits(int type, int rank, int level) {
    // The widest table per field holds the labels of the weight or the words of the orbit block;
    // the enumeration area holds the labels too, but as a named work area it may take more than
    // twice what it asks for.
    const double rowInts = std::max(rank + 1, 2 * CenterMultiplicity(type, rank) + 4);
    auto bytes = [&](double fields) {
        return std::max(fields * rowInts * sizeof(int),
                        workAreaBytesAtMost('i', enumerationRequest(fields, rank)));
    };
    const double limit = static_cast<double>(AllocRefuseLimit);
    // Every comark is at least 1, so the weights are at most those with all comarks 1.
    const int kp = type == 2 && rank == 1 ? 2 * level : level;
    if (type == 0 || bytes(binomialD(kp + rank, rank)) <= limit)
        return 1;
    const double fields = countPrimaries(type, rank, level);
    if (bytes(fields) <= limit)
        return 1;
    Alert("spectrumFits", 0, 100313,
          "%s has %.15g primaries, too many for the allocation limit of %d Mb per table",
          algebraname(type, rank, level), fields, static_cast<int>(AllocRefuseLimit / 1000000));
    return 0;
}

int findRep(const int* rep, int size, int /*Nprim*/, int type, int rank, int level) {
    if (!enumerated || type != StType || rank != StRank || level != StLevel)
        return -1;
    int stride = rank + 1;
    size = std::min(size, stride);
    const int* rows = enumeration();
    int lo = 0, hi = Nenumerated - 1;
    while (lo <= hi) {
        int mid = (lo + hi) / 2;
        const int* row = rows + mid * stride;
        int cmp = 0;
        for (int j = 0; j < size && cmp == 0; j++)
            cmp = rep[j] < row[j] ? -1 : rep[j] > row[j] ? 1 : 0;
        if (cmp == 0)
            return StCenter < 2 ? mid : labels()[mid];
        if (cmp < 0)
            hi = mid - 1;
        else
            lo = mid + 1;
    }
    return -1;
}
