// Simple currents with fixed points: which currents count as distinct, which fix weights at a
// level, the orbit Lie algebra of each, and how a fixed weight folds to a weight of it.
#include "lie/Tarvik.h"

#include "base/Allocation.h"
#include "base/Error.h"
#include "numeric/MathUtility.h"
#include "numeric/VectorUtility.h"

#include <algorithm>
#include <cstddef>
#include <initializer_list>

namespace {

GuardedArray<int> Repr("Repr");

struct OrbitAlgebra {
    int* type;
    int* rank;
    int* level;
    int* shift;
    void set(int t, int r, int k) const {
        *type = t;
        *rank = r;
        *level = k;
    }
};

int noFixedPoints() {
    Alert("FCFT2", 1, 112312, "Current without fixed points");
    return -1;
}

int orbitAlgebraA(int rank, int k, int c, const OrbitAlgebra& out) {
    const int n = rank + 1;
    const int kp = k * c / n;
    out.set(1, c - 1, kp);
    if (c == 0 || (n * kp) % c != 0)
        return noFixedPoints();
    *out.shift = kp * (n * n - c * c) / c;
    return 0;
}

int orbitAlgebraC(int r, int k, const OrbitAlgebra& out) {
    if (r % 2 == 0) {
        out.set(13, r / 2, k);
        *out.shift = 5 * k * (r / 2);
        return 0;
    }
    out.set(3, (r - 1) / 2, k / 2);
    if (k % 2 != 0)
        return noFixedPoints();
    *out.shift = 3 * r * (k / 2);
    return 0;
}

int orbitAlgebraD(int r, int k, int current, const OrbitAlgebra& out) {
    if (current == 2) {
        out.set(3, r - 2, k / 2);
        if (k % 2 != 0)
            return noFixedPoints();
        *out.shift = 3 * k;
        return 0;
    }
    if (current != 1 && current != 3)
        return -1;
    if (r % 2 == 1) {
        out.set(3, (r - 3) / 2, k / 4);
        if (k % 4 != 0)
            return noFixedPoints();
        *out.shift = (3 * r + 6) * (k / 4);
        return 0;
    }
    out.set(2, r / 2, k / 2);
    if (k % 2 != 0)
        return noFixedPoints();
    *out.shift = 3 * (k / 2) * (r / 2);
    return 0;
}

int orbitAlgebraE(int r, int k, const OrbitAlgebra& out) {
    if (r == 6) {
        out.set(5, 2, k / 3);
        if (k % 3 != 0)
            return noFixedPoints();
        *out.shift = 16 * (k / 3);
        return 0;
    }
    if (r == 7) {
        out.set(5, 4, k / 2);
        if (k % 2 != 0)
            return noFixedPoints();
        *out.shift = 9 * (k / 2);
        return 0;
    }
    Alert("FCFT2", 2, 212404, "Unexpected control flow");
    return -1;
}

// ---- Folding ----
// Label lambda(i) of an extended weight: lambda(0) is stored last.
struct Labels {
    const int* e;
    int r;
    int operator()(int i) const { return i == 0 ? e[r] : e[i - 1]; }
};

// Writes lambda(from..to) and then lambda(0) into out; returns 0.
int writeFolded(const Labels& L, int from, int to, int* out) {
    int n = 0;
    for (int i = from; i <= to; i++)
        out[n++] = L(i);
    out[n] = L(0);
    return 0;
}

bool mirrored(const Labels& L, int from, int to) {
    for (int i = from; i <= to; i++)
        if (L(i) != L(L.r - i))
            return false;
    return true;
}

int foldA(const int* e, int* out, int rank, int current) {
    const int n = rank + 1;
    const int d = GCD(mod(current, n), n);
    for (int j = 0; j <= rank; j++)
        if (e[j] != e[j % d])
            return -1;
    if (d == 1)
        out[0] = 0;
    else
        copyVec(d, out, e);
    return 0;
}

int foldC(const Labels& L, int* out, int level) {
    const int r = L.r;
    if (r % 2 == 1 && level % 2 != 0)
        return -3;
    if (L(0) != L(r) || !mirrored(L, 1, r / 2))
        return -1;
    return writeFolded(L, 1, r / 2, out);
}

int foldD(const Labels& L, int* out, int level, int current) {
    const int r = L.r;
    if (current == 2) {
        if (level % 2 != 0)
            return -3;
        if (L(0) != L(1) || L(r - 1) != L(r))
            return -1;
        return writeFolded(L, 2, r - 1, out);
    }
    if (current != 1 && current != 3) {
        Alert("fold", 0, 212404, "Unexpected control flow");
        return 0;
    }
    if (r % 2 == 1) {
        if (level % 4 != 0)
            return -3;
        if (L(0) != L(1) || L(1) != L(r - 1) || L(r - 1) != L(r) || !mirrored(L, 2, (r - 1) / 2))
            return -1;
        return writeFolded(L, 2, (r - 1) / 2, out);
    }
    if (level % 2 != 0)
        return -3;
    const int partnerOf1 = current == 1 ? r - 1 : r;
    const int partnerOf0 = current == 1 ? r : r - 1;
    if (L(1) != L(partnerOf1) || L(0) != L(partnerOf0) || !mirrored(L, 2, r / 2))
        return -1;
    return writeFolded(L, 1, r / 2, out);
}

bool equalAt(const int* e, std::initializer_list<int> positions) {
    const int first = e[*positions.begin()];
    return std::all_of(positions.begin(), positions.end(), [&](int p) { return e[p] == first; });
}

int foldE(const int* e, int* out, int rank) {
    if (rank == 6) {
        if (!equalAt(e, {0, 4, 6}) || !equalAt(e, {1, 3, 5}))
            return -1;
        out[0] = e[1];
        out[1] = e[2];
        out[2] = e[0];
        return 0;
    }
    if (rank == 7) {
        if (!equalAt(e, {0, 4}) || !equalAt(e, {1, 3}) || !equalAt(e, {5, 7}))
            return -1;
        const int picked[] = {0, 1, 2, 6, 7};
        for (int i = 0; i < 5; i++)
            out[i] = e[picked[i]];
        return 0;
    }
    copyVec(rank + 1, out, e);
    return 0;
}

} // namespace

int ConvertToBasic(int current, int type, int rank) {
    if (current == 0)
        return 0;
    switch (type) {
    case 1: {
        const int n = rank + 1;
        return mod(GCD(mod(current, n), n), n);
    }
    case 2:
    case 3:
        return mod(current, 2);
    case 4: {
        int c = mod(current, 4);
        return c == 3 && rank % 2 == 1 ? 1 : c;
    }
    case 5:
        if (rank == 6)
            return current % 3 == 0 ? 0 : 1;
        return rank == 7 ? mod(current, 2) : 0;
    default:
        return 0;
    }
}

int FixedPointCheck(int type, int rank, int level, int current) {
    if (current == 0)
        return 1;
    switch (type) {
    case 1: {
        const int n = rank + 1;
        if (n % current != 0)
            Alert("FixedPointCheck", 1, 112412, "Invalid current in routine FixedPointCheck");
        const int d = n / current;
        return d != 0 && level % d == 0;
    }
    case 2:
        return 1;
    case 3:
        return (rank * level) % 2 == 0;
    case 4:
        if (level % 2 != 0)
            return 0;
        if (rank % 2 == 0 || level % 4 == 0)
            return 1;
        return current == 2;
    case 5:
        if (rank == 6)
            return level % 3 == 0;
        if (rank == 7)
            return level % 2 == 0;
        return 0;
    default:
        Alert("FixedPointCheck", 0, 112412, "Invalid type in routine FixedPointCheck");
        return 0;
    }
}

int FixedCurrents(int type, int rank, int level, int** Fcurrents, AllocCount* Space) {
    *Fcurrents = nullptr;
    const int n = type >= 1 && type <= 5 ? Center(type, rank) : 0;
    if (n < 2)
        return 0;
    int* list = Repr.reserve(n);
    int count = 0;
    for (int c = 1; c < n; c++)
        if (ConvertToBasic(c, type, rank) == c && FixedPointCheck(type, rank, level, c) == 1)
            list[count++] = c;
    if (count == 0)
        return 0;
    const std::size_t bytes = static_cast<std::size_t>(count) * sizeof(int);
    *Fcurrents = static_cast<int*>(allocate(bytes, Space, "Fixed currents"));
    copyVec(count, *Fcurrents, list);
    return count;
}

int FCFT2(int type, int rank, int level, int current, int* FCFTtype, int* FCFTrank, int* FCFTlevel,
          int* FCFTshift) {
    const OrbitAlgebra out{FCFTtype, FCFTrank, FCFTlevel, FCFTshift};
    if (type < 1 || type > 5) {
        Alert("FCFT2", 0, 112312, "Incorrect type");
        return -1;
    }
    if (current == 0) {
        out.set(type, rank, level);
        *FCFTshift = 0;
        return 0;
    }
    switch (type) {
    case 1:
        return orbitAlgebraA(rank, level, current, out);
    case 2:
        out.set(13, rank - 1, level);
        *FCFTshift = (2 * rank + 1) * level;
        return 0;
    case 3:
        return orbitAlgebraC(rank, level, out);
    case 4:
        return orbitAlgebraD(rank, level, current, out);
    default:
        return orbitAlgebraE(rank, level, out);
    }
}

int FCFT(int type, int rank, int level, int current, int* FCFTtype, int* FCFTrank, int* FCFTlevel,
         int* FCFTshift) {
    const int result = FCFT2(type, rank, level, current, FCFTtype, FCFTrank, FCFTlevel, FCFTshift);
    if (result != 0)
        return result;
    if (*FCFTrank * *FCFTlevel == 0) {
        *FCFTtype = 1;
        *FCFTrank = 0;
        *FCFTlevel = 0;
    }
    if ((*FCFTtype == 2 || *FCFTtype == 3) && *FCFTrank == 1)
        *FCFTtype = 1;
    return result;
}

int fold(const int* Edynk, int* Edynk2, int type, int rank, int level, int current) {
    if (type == 0)
        return -3;
    if (current == 0) {
        copyVec(rank + 1, Edynk2, Edynk);
        return 0;
    }
    const Labels L{Edynk, rank};
    switch (type) {
    case 1:
        return foldA(Edynk, Edynk2, rank, current);
    case 2:
        if (L(0) != L(1))
            return -1;
        return writeFolded(L, 2, rank, Edynk2);
    case 3:
        return foldC(L, Edynk2, level);
    case 4:
        return foldD(L, Edynk2, level, current);
    case 5:
        return foldE(Edynk, Edynk2, rank);
    default:
        Alert("fold", 1, 212404, "Unexpected control flow");
        return 0;
    }
}
