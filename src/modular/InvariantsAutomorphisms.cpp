// The search for permutation invariants: fields are split into classes no symmetry of S and T
// can mix, and the products of permutations inside the classes are enumerated level by level.
#include "modular/Invariants.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Terminal.h"
#include "modular/InvariantsInternal.h"
#include "modular/Modular.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

using namespace invariants_internal;

namespace {

constexpr double STolerance = 1e-10;
// The largest class whose orderings are all tried.
constexpr std::size_t MaxClassSize = 10;

struct SValue {
    double re = 0, im = 0;
};

bool sameS(const SValue& a, const SValue& b) {
    return std::hypot(a.re - b.re, a.im - b.im) <= STolerance;
}

// S of the current theory, read once for the search.
class SCache {
public:
    explicit SCache(int N) : N_(N), s_(static_cast<std::size_t>(N) * N) {
        for (int i = 0; i < N; i++)
            for (int j = 0; j < N; j++)
                compS(i, j, &at(i, j).re, &at(i, j).im);
    }
    SValue& at(int i, int j) { return s_[static_cast<std::size_t>(i) * N_ + j]; }

private:
    int N_;
    std::vector<SValue> s_;
};

bool integerDifference(const rat& a, const rat& b) {
    // a - b = (a.num b.den - b.num a.den) / (a.den b.den)
    const std::int64_t num =
        static_cast<std::int64_t>(a.num) * b.den - static_cast<std::int64_t>(b.num) * a.den;
    const std::int64_t den = static_cast<std::int64_t>(a.den) * b.den;
    return den != 0 && num % den == 0;
}

// The classes of fields that a permutation invariant may mix: equal weights modulo 1 and equal
// S entries against every field that is alone in its class. The vacuum is alone from the start
// and its column takes part like any other, so that quantum dimensions are kept too.
std::vector<int> automorphismClasses(int N, const std::vector<double>& S_re,
                                     const std::vector<double>& S_im,
                                     const std::vector<int>& weightClass) {
    std::vector<int> cls(static_cast<std::size_t>(N), 0);
    auto S = [&](int i, int j) {
        const std::size_t k = static_cast<std::size_t>(i) * N + j;
        return SValue{S_re[k], S_im[k]};
    };
    std::vector<int> open(static_cast<std::size_t>(N), 0);
    int c = 1;
    for (int i = 1; i < N; i++) {
        if (cls[i])
            continue;
        cls[i] = c;
        for (int j = i + 1; j < N; j++)
            if (!cls[j] && weightClass[j] == weightClass[i]) {
                cls[j] = c;
                open[j] = open[i] = 1;
            }
        c++;
    }
    auto shares = [&](int i) {
        for (int j = 1; j < N; j++)
            if (j != i && cls[j] == cls[i])
                return true;
        return false;
    };
    for (bool closed = N >= 2; closed;) {
        closed = false;
        for (int f = 0; f < N; f++) {
            if (open[f])
                continue;
            for (int i = 1; i < N; i++) {
                if (!open[i])
                    continue;
                for (int j = i + 1; j < N; j++)
                    if (cls[j] == cls[i] && !sameS(S(j, f), S(i, f)))
                        cls[j] = c;
                c++;
            }
            for (int i = 1; i < N; i++)
                if (open[i] && !shares(i)) {
                    open[i] = 0;
                    closed = true;
                }
        }
    }
    return cls;
}

} // namespace

// Offers every permutation of the fields, other than the identity, that keeps the classes and S.
// Returns the number offered.
int searchAutomorphismsWith(int N, const std::vector<double>& S_re, const std::vector<double>& S_im,
                            const std::vector<int>& weightClass,
                            int (*offer)(int*, int, int, int, int)) {
    const std::vector<int> cls = automorphismClasses(N, S_re, S_im, weightClass);
    auto S = [&](int i, int j) {
        const std::size_t k = static_cast<std::size_t>(i) * N + j;
        return SValue{S_re[k], S_im[k]};
    };
    // Classes of two or more members, in the order of their smallest member.
    std::vector<std::vector<int>> members;
    {
        std::vector<int> seen;
        for (int i = 1; i < N; i++) {
            if (std::find(seen.begin(), seen.end(), cls[i]) != seen.end())
                continue;
            seen.push_back(cls[i]);
            std::vector<int> m;
            for (int j = i; j < N; j++)
                if (cls[j] == cls[i])
                    m.push_back(j);
            if (m.size() >= 2)
                members.push_back(m);
        }
    }
    const int K = static_cast<int>(members.size());
    if (K == 0)
        return 0;
    // The orderings of a class grow with its factorial: a larger class is cut to its first
    // members, the others stay fixed and are compared like the members of every level.
    std::vector<int> cut(static_cast<std::size_t>(N), 0);
    for (std::vector<int>& m : members)
        if (m.size() > MaxClassSize) {
            Alert("getSubPermutations", 0, 100201,
                  "Sub-permutation exceeding maximum (%d > %d)\nResetting to %d",
                  static_cast<int>(m.size()), static_cast<int>(MaxClassSize),
                  static_cast<int>(MaxClassSize));
            for (std::size_t t = MaxClassSize; t < m.size(); t++)
                cut[static_cast<std::size_t>(m[t])] = 1;
            m.resize(MaxClassSize);
        }
    std::vector<std::vector<int>> mask(K + 1, std::vector<int>(N, 0)), below = mask;
    for (int l = 0; l < K; l++)
        for (int x : members[l])
            mask[l][x] = 1;
    below[K] = cut;
    for (int l = K - 1; l >= 0; l--)
        for (int i = 0; i < N; i++)
            below[l][i] = below[l + 1][i] + mask[l][i];
    // The fields of each level's check, the class itself first: its own pairs fail soonest.
    std::vector<std::vector<int>> rest(static_cast<std::size_t>(K));
    for (int l = 0; l < K; l++)
        for (int i = 0; i < N; i++)
            if (below[l][i] && !mask[l][i])
                rest[l].push_back(i);
    std::vector<std::vector<int>> perm(K + 1, std::vector<int>(N));
    for (int i = 0; i < N; i++)
        perm[K][i] = i;
    for (int l = 0; l < K; l++)
        perm[l] = perm[K];
    // The current ordering of each class, the members in increasing order standing for the
    // identity; perm[l] differs from perm[l+1] on the members of class l only.
    std::vector<std::vector<int>> ordering = members;
    auto apply = [&](int l) {
        const std::vector<int>& m = members[l];
        for (std::size_t t = 0; t < m.size(); t++)
            perm[l][m[t]] = perm[l + 1][ordering[l][t]];
    };
    auto levelOK = [&](int l) {
        const std::vector<int>& p = perm[l];
        auto same = [&](int i, int j) { return sameS(S(p[i], p[j]), S(i, j)); };
        for (int i : members[l])
            for (int j : members[l])
                if (!same(i, j))
                    return false;
        for (int i : rest[l])
            for (int j : members[l])
                if (!same(i, j) || !same(j, i))
                    return false;
        return true;
    };
    std::vector<int> Z(static_cast<std::size_t>(N) * N);
    int offered = 0;
    int d = 0;
    for (;;) {
        // Ctrl-C ends the search; what was offered stays.
        if (stopSignal)
            return offered;
        // The odometer: the next ordering of class d, or back to the identity and one level up.
        while (!std::next_permutation(ordering[d].begin(), ordering[d].end())) {
            apply(d);
            if (++d == K)
                return offered;
        }
        apply(d);
        if (!levelOK(d))
            continue;
        bool passed = true;
        for (int l = d - 1; l >= 0; l--) {
            perm[l] = perm[l + 1];
            if (!levelOK(l)) {
                d = l;
                passed = false;
                break;
            }
        }
        if (!passed)
            continue;
        std::fill(Z.begin(), Z.end(), 0);
        for (int i = 0; i < N; i++)
            Z[static_cast<std::size_t>(i) * N + perm[0][i]] = 1;
        offer(Z.data(), 0, 1, 0, 1);
        offered++;
        d = 0;
    }
}

void searchAutomorphisms() {
    const int N = theoryPrimaries();
    if (N < 2)
        return;
    initSMATRIX();
    std::vector<double> re(static_cast<std::size_t>(N) * N), im(re.size());
    for (int i = 0; i < N; i++)
        for (int j = 0; j < N; j++)
            compS(i, j, &re[static_cast<std::size_t>(i) * N + j],
                  &im[static_cast<std::size_t>(i) * N + j]);
    // Weight classes modulo 1, numbered by first occurrence; the vacuum's class is its own.
    std::vector<rat> weights(static_cast<std::size_t>(N));
    for (int i = 0; i < N; i++)
        weights[i] = *ratWeight(i);
    std::vector<int> weightClass(static_cast<std::size_t>(N), -1);
    weightClass[0] = 0;
    int next = 1;
    for (int i = 1; i < N; i++) {
        if (weightClass[i] >= 0)
            continue;
        weightClass[i] = next;
        for (int j = i + 1; j < N; j++)
            if (weightClass[j] < 0 && integerDifference(weights[i], weights[j]))
                weightClass[j] = next;
        next++;
    }
    searchAutomorphismsWith(N, re, im, weightClass, acceptCandidateInvariant);
}
