// The modular invariants of the c=1 orbifold of parameter N known in closed form: the twist
// automorphism (even N), the automorphisms of coprime splittings N = p q, and the extensions by a
// square M^2 dividing N, which give the orbifold of parameter N/M^2. The fields are those of the
// block: currents 0 to 3, the fields of charge x at 4 to N+2, twist fields at N+3 to N+6.
#include "modular/Invariants.h"

#include "base/Error.h"
#include "base/Output.h"
#include "lie/Galois.h"
#include "modular/InvariantsInternal.h"
#include "modular/Modular.h"
#include "store/Storemanager.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <numeric>
#include <vector>

using invariants_internal::theoryPrimaries;

namespace {

GuardedArray<int> orbifoldMatrix{"modmat", &Invariants_alloc};
GuardedArray<int> orbitArea{"orbit", &Invariants_alloc};

int* zeroedOrbifoldMatrix(int Nprim) {
    const std::size_t n = static_cast<std::size_t>(Nprim) * Nprim;
    int* Z = orbifoldMatrix.reserve(static_cast<int>(std::max<std::size_t>(n, 1)));
    std::fill(Z, Z + n, 0);
    return Z;
}

// A block of fields ended by -1, in the module's work area.
class Block {
public:
    explicit Block(int Nprim) : at_(orbitArea.reserve(Nprim + 10)) { at_[0] = -1; }
    void add(int field) {
        at_[size_++] = field;
        at_[size_] = -1;
    }
    void addCharge(int ch) { add(getOrbifoldFieldWithCharge(ch)); }
    int first() const { return at_[0]; }
    void addTo(int* Z, int times) const {
        for (int k = 0; k < times; k++)
            addOrbitToModularMatrix(Z, at_);
    }

private:
    int* at_;
    int size_ = 0;
};

void permutationMatrix(int* Z, int Nprim, const std::vector<int>& image) {
    for (int i = 0; i < Nprim; i++)
        Z[static_cast<std::size_t>(i) * Nprim + image[static_cast<std::size_t>(i)]] = 1;
}

// 1 <-> 3, N+3 <-> N+5, N+4 <-> N+6.
std::vector<int> twistImage(int N) {
    std::vector<int> image(static_cast<std::size_t>(N + 7));
    std::iota(image.begin(), image.end(), 0);
    for (auto [a, b] : {std::pair{1, 3}, std::pair{N + 3, N + 5}, std::pair{N + 4, N + 6}})
        std::swap(image[static_cast<std::size_t>(a)], image[static_cast<std::size_t>(b)]);
    return image;
}

void evenExtension(int* Z, int N, int M) {
    const int Nprim = N + 7, h = M / 2;
    for (int first : {0, 2}) {
        Block b(Nprim);
        b.add(first);
        b.add(first + 1);
        for (int j = 1; j < h; j++)
            b.addCharge(j * N / h);
        b.addTo(Z, 1);
    }
    for (int r = M; r < N / M; r += M) {
        Block b(Nprim);
        for (int j = 0; j < h; j++) {
            b.addCharge(j * N / h + r);
            b.addCharge((j + 1) * N / h - r);
        }
        b.addTo(Z, 1);
    }
    Block middle(Nprim);
    for (int j = 0; j < h; j++)
        middle.addCharge((2 * j + 1) * N / M);
    middle.addTo(Z, 2);
    for (int twist : {N + 3, N + 4}) {
        Block b(Nprim);
        b.add(twist);
        b.addTo(Z, 2);
    }
}

void oddExtension(int* Z, int N, int M) {
    const int Nprim = N + 7, n = N / M / M;
    for (int i = 0; i < Nprim; i++) {
        Block b(Nprim);
        if (i <= 3) {
            b.add(i);
            for (int j = 1; j <= (M - 1) / 2; j++)
                b.addCharge((2 * j - i % 2) * n * M);
        } else if (i > N + 2) {
            b.add(i);
        } else {
            const int k = orbifoldCharge(i);
            if (k % M != 0)
                continue;
            int l = (k / M) % (2 * n);
            if (l > n)
                l = std::abs(l - 2 * n);
            if (l == 0 || l == n)
                continue;
            for (int t = 0; t < M; t++)
                b.addCharge(N - std::abs(N - l * M - t * 2 * n * M));
            if (b.first() != i)
                continue;
        }
        b.addTo(Z, 1);
    }
}

} // namespace

int orbifoldCharge(int lbl) {
    if (getCFTtype() != 7)
        return 0;
    const int N = getCFTrank();
    if (lbl == 1 || lbl == 3)
        return N;
    if (lbl >= 4 && lbl <= N + 2)
        return SM_getRep(getCurrentSD(), lbl)[1];
    return 0;
}

int getOrbifoldFieldWithCharge(int ch) {
    const int N = getCFTrank();
    for (int lbl = 4; lbl <= N + 2; lbl++)
        if (orbifoldCharge(lbl) == ch)
            return lbl;
    Alert("getOrbifoldFieldWithCharge", 0, 212404, "Orbifold field not found or ambiguous");
    return 0;
}

void addOrbitToModularMatrix(int* modmat, const int* orbit) {
    const int Nprim = theoryPrimaries();
    for (const int* a = orbit; *a >= 0; a++)
        for (const int* b = orbit; *b >= 0; b++)
            modmat[static_cast<std::size_t>(*a) * Nprim + *b]++;
}

int getOrbifoldExceptionalAutomorphism(int i, int p, int q) {
    const int N = getCFTrank();
    if (i <= 3 || i > N + 2)
        return i;
    const int k = orbifoldCharge(i);
    if (k % p == 0 || k % q == 0)
        return i;
    for (int j = 4; j <= N + 2; j++) {
        const int kk = orbifoldCharge(j);
        if (((k + kk) % (2 * p) == 0 && (k - kk) % (2 * q) == 0) ||
            ((k + kk) % (2 * q) == 0 && (k - kk) % (2 * p) == 0))
            return j;
    }
    return i;
}

void getOrbifoldExceptionalExtension(int* modmat, int M) {
    const int N = getCFTrank();
    const int Nprim = theoryPrimaries();
    std::fill(modmat, modmat + static_cast<std::size_t>(Nprim) * Nprim, 0);
    // Only squares M^2 dividing N give an extension.
    if (M < 2 || N % (M * M) != 0)
        return;
    if (M % 2 == 0)
        evenExtension(modmat, N, M);
    else
        oddExtension(modmat, N, M);
}

void searchInvariants() {
    if (getCFTtype() != 7)
        return;
    const int N = getCFTrank();
    const int Nprim = theoryPrimaries();
    if (Nprim != N + 7)
        return;
    int* Z = zeroedOrbifoldMatrix(Nprim);
    if (N % 2 == 0) {
        Print("Building twist automorphism\n");
        permutationMatrix(Z, Nprim, twistImage(N));
        offerCandidateInvariant(Z, 0, 1, 0, 1);
    }
    if (N / 2 < 3)
        return;
    for (int p = 2; p < N / 2; p++) {
        const int q = N / p;
        if (p * q != N || std::gcd(p, q) != 1 || q <= p)
            continue;
        Print("Building automorphism for R^2=alpha' %d/%d\n", p, q);
        Z = zeroedOrbifoldMatrix(Nprim);
        std::vector<int> image(static_cast<std::size_t>(Nprim));
        for (int i = 0; i < Nprim; i++)
            image[static_cast<std::size_t>(i)] = getOrbifoldExceptionalAutomorphism(i, p, q);
        permutationMatrix(Z, Nprim, image);
        offerCandidateInvariant(Z, 0, 1, 0, 1);
    }
    for (int M = 2; M < N / 2; M++) {
        if (M * M * ((N / M) / M) != N)
            continue;
        // Written to the terminal only, never to an output file.
        std::printf("Building extension for R^2=alpha' %d/%d^2\n", N, M);
        std::fflush(stdout);
        Z = zeroedOrbifoldMatrix(Nprim);
        getOrbifoldExceptionalExtension(Z, M);
        offerCandidateInvariant(Z, 1, 1, 0, 1);
    }
}
