// Galois symmetry of a block: the signed maps by which a scale s acts on the fields. Only the
// generators of the unit group modulo the Galois modulus and the primes dividing it are folded
// through the Weyl group; every other scale is a composition of these cached rows.
#include "store/Storemanager.h"

#include "base/Allocation.h"
#include "base/Error.h"
#include "lie/Galois.h"
#include "lie/Tarvik.h"
#include "numeric/MathUtility.h"
#include "numeric/Sorting.h"
#include "store/StoremanagerInternal.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

using store_internal::allocateFor;

namespace {

bool affine(const SpectrumData* sd) {
    return sd->type >= 1 && sd->type <= 5;
}

int modulusOf(const SpectrumData* sd) {
    return GaloisModulus(sd->type, sd->rank, sd->level);
}

std::size_t fields(const SpectrumData* sd) {
    return static_cast<std::size_t>(std::max(sd->Nprimaries, 0));
}

// The primes p < M that divide M, increasing.
std::vector<int> primeDivisors(int M) {
    std::vector<int> primes;
    for (int i = 0; prime(i) > 0 && prime(i) < M; i++)
        if (M % prime(i) == 0)
            primes.push_back(prime(i));
    return primes;
}

// The image of field l under the scale, found among the fields; -1 when there is none (with the
// message unless quiet) or, for scale rows, when the image lies on a wall.
int imageField(SpectrumData* sd, int l, int scale, bool wallsVanish, int* sign) {
    int* image = nullptr;
    int* copy = nullptr;
    *sign = Galois(sd->type, sd->rank, sd->level, SM_getRep(sd, l), &image, &copy, scale);
    const int size = sd->RepSize;
    std::vector<int> labels(copy, copy + size);
    if (wallsVanish) {
        if (std::any_of(labels.begin(), labels.end(), [](int a) { return a < 0; }))
            return -1;
        const int m = findRep(labels.data(), size, sd->Nprimaries, sd->type, sd->rank, sd->level);
        if (m >= 0 && m < sd->Nprimaries && compareVec(size, SM_getRep(sd, m), labels.data()) == 0)
            return m;
        return SM_getLabelNoMessage(sd, labels.data());
    }
    return SM_getLabel(sd, labels.data());
}

// The signed map of one scale by folding every field; the signs are taken relative to field 0.
void foldedMap(SpectrumData* sd, int scale, bool wallsVanish, int* map) {
    int sign0 = 1;
    for (int l = 0; l < sd->Nprimaries; l++) {
        int sign = 1;
        const int m = imageField(sd, l, scale, wallsVanish, &sign);
        if (l == 0)
            sign0 = sign;
        map[l] = m < 0 ? 0 : sign0 * sign * (m + 1);
    }
}

void identityMap(int N, int* map) {
    for (int l = 0; l < N; l++)
        map[l] = l + 1;
}

// map = map followed by row.
void composeWith(int N, int* map, const int* row) {
    std::vector<int> result(static_cast<std::size_t>(N));
    multiplyOrbits(N, map, row, result.data());
    std::copy(result.begin(), result.end(), map);
}

int* scaleRow(const SpectrumData* sd, int r) {
    return sd->ScaleGenerators + static_cast<std::size_t>(r) * fields(sd);
}

// Where the print functions stop: the text needs room for one more map.
bool roomFor(const char* start, const char* at, std::size_t room, std::size_t need) {
    return static_cast<std::size_t>(at - start) + need <= room;
}

void reportTruncated(const char* routine) {
    Alert(routine, 1, 100201, "Text area full; remaining orbits not printed");
}

} // namespace

void SM_initGalois(SpectrumData* sd) {
    const int M = modulusOf(sd);
    int n = 0;
    const int* generators = GaloisOrbits(M, &n);
    sd->NumberOfGaloisGenerators = n;
    if (sd->GaloisGenerators || n == 0)
        return;
    std::vector<int> gens(generators, generators + n);
    sd->GaloisGenerators =
        allocateFor<int>(sd, static_cast<std::size_t>(n) * fields(sd), "Galois generators");
    for (int j = 0; j < n; j++)
        SM_computeGaloisOrbit(sd, gens[static_cast<std::size_t>(j)],
                              sd->GaloisGenerators + static_cast<std::size_t>(j) * fields(sd));
}

void SM_initScales(SpectrumData* sd) {
    if (sd->ScaleGenerators)
        return;
    const std::vector<int> primes = primeDivisors(modulusOf(sd));
    if (primes.empty())
        return;
    sd->ScaleGenerators = allocateFor<int>(sd, primes.size() * fields(sd), "Scale generators");
    for (std::size_t r = 0; r < primes.size(); r++)
        SM_computeScaleOrbit(sd, primes[r], scaleRow(sd, static_cast<int>(r)));
}

int SM_computeGaloisOrbit(SpectrumData* sd, int scale, int* map) {
    foldedMap(sd, scale, false, map);
    for (int l = 0; l < sd->Nprimaries; l++)
        if (map[l] != l + 1)
            return 1;
    return 0;
}

int SM_computeScaleOrbit(SpectrumData* sd, int scale, int* map) {
    foldedMap(sd, scale, true, map);
    return std::any_of(map, map + fields(sd), [](int e) { return e != 0; }) ? 1 : 0;
}

void SM_composeGaloisOrbit(SpectrumData* sd, const int* powers, int* Orbit) {
    const int N = sd->Nprimaries;
    const int n = sd->NumberOfGaloisGenerators;
    int sign0 = 1;
    for (int l = 0; l < N; l++) {
        int x = l;
        int sign = 1;
        for (int j = 0; j < n && x >= 0; j++) {
            const int* row = sd->GaloisGenerators + static_cast<std::size_t>(j) * fields(sd);
            for (int p = 0; p < powers[j] && x >= 0; p++) {
                const int e = row[x];
                if (e < 1)
                    sign = -sign;
                x = std::abs(e) - 1;
            }
        }
        if (l == 0)
            sign0 = sign;
        Orbit[l] = x < 0 ? 0 : sign * sign0 * (x + 1);
    }
}

void SM_getGaloisOrbit(SpectrumData* sd, int scale, int* Orbit) {
    SM_initGalois(sd);
    const int M = modulusOf(sd);
    const int n = sd->NumberOfGaloisGenerators;
    std::vector<int> powers(static_cast<std::size_t>(std::max(n, 1)));
    for (int j = 0; j < n; j++)
        powers[static_cast<std::size_t>(j)] = GaloisExponent(M, scale % M, j);
    SM_composeGaloisOrbit(sd, powers.data(), Orbit);
}

int SM_getAnyOrbit(SpectrumData* sd, int scale, int* Orbit) {
    SM_initGalois(sd);
    SM_initScales(sd);
    const int N = sd->Nprimaries;
    identityMap(N, Orbit);
    const std::vector<int> primes = primeDivisors(modulusOf(sd));
    int rest = scale;
    for (std::size_t r = 0; r < primes.size(); r++)
        while (rest % primes[r] == 0) {
            composeWith(N, Orbit, scaleRow(sd, static_cast<int>(r)));
            rest /= primes[r];
        }
    std::vector<int> unit(fields(sd));
    SM_getGaloisOrbit(sd, rest, unit.data());
    composeWith(N, Orbit, unit.data());
    for (int l = 0; l < N; l++)
        if (Orbit[l] != 0 && std::abs(Orbit[l]) != l + 1)
            return 0;
    return 1;
}

void SM_galoisInvariants(SpectrumData* sd) {
    if (!affine(sd)) {
        Alert("SM_galoisInvariants:", 0, 112311, "Galois invariants not defined for this algebra");
        return;
    }
    const int M = modulusOf(sd);
    const int N = sd->Nprimaries;
    std::vector<int> flags;
    std::vector<int> map(fields(sd)), inverse(fields(sd));
    int* collection = nullptr;
    int fill = 0;
    for (int s = 1; s < M; s++) {
        if (GCD(s, M) == 1) {
            SM_getGaloisOrbit(sd, s, map.data());
            if (Collect(&collection, "GaloisOrbits", N, map.data(), &fill) != -1)
                continue;
            const int kind = InvertOrbit(N, map.data(), inverse.data());
            if (kind == -1)
                fill--; // the matrix of the map with all signs reversed is minus this one
            else
                flags.push_back(kind == 1 ? 1 : 0);
        } else if (SM_getAnyOrbit(sd, s, map.data()) == 0) {
            if (Collect(&collection, "GaloisOrbits", N, map.data(), &fill) != -1)
                continue;
            flags.push_back(0);
            map[0] = -s; // marks the row that stands for Q Q^T + Q^T Q
            Collect(&collection, "GaloisOrbits", N, map.data(), &fill);
            flags.push_back(2);
        }
    }
    ComputeGaloisInvariants(collection, flags.data(), sd->Weight_num, sd->Weight_denom, N, fill);
}

char* SM_printAllScaleOrbits(char* txt, SpectrumData* sd, std::size_t room) {
    *txt = '\0';
    if (!affine(sd)) {
        Alert("SM_printAllScaleOrbits", 0, 112311, "Scale orbits not defined for this algebra");
        return txt;
    }
    const int M = modulusOf(sd);
    const std::size_t need = fields(sd) * 120 + 600;
    std::vector<int> map(fields(sd));
    char* at = txt;
    for (int s = 2; s <= M - 2; s++) {
        if (GCD(s, M) == 1)
            continue;
        if (!roomFor(txt, at, room, need)) {
            reportTruncated("SM_printAllScaleOrbits");
            break;
        }
        SM_getAnyOrbit(sd, s, map.data());
        at = printScaleOrbit(at, sd->Nprimaries, s, map.data());
    }
    return at;
}

char* SM_printFullGalois(char* txt, SpectrumData* sd, int Tpref, int SignPref, int RemoveIdentical,
                         std::size_t room) {
    *txt = '\0';
    if (!affine(sd)) {
        Alert("SM_printFullGalois:", 0, 112311, "Galois orbits not defined for this algebra");
        return txt;
    }
    const int M = modulusOf(sd);
    const int N = sd->Nprimaries;
    const std::size_t need = fields(sd) * 40 + 200;
    std::vector<int> map(fields(sd));
    int* collection = nullptr;
    int fill = 0;
    char* at = txt;
    for (int s = 0; s < M; s++) {
        if (GCD(s, M) != 1)
            continue;
        SM_getGaloisOrbit(sd, s, map.data());
        if (RemoveIdentical == 1 &&
            Collect(&collection, "GaloisOrbits", N, map.data(), &fill) != -1)
            continue;
        if (!roomFor(txt, at, room, need)) {
            reportTruncated("SM_printFullGalois:");
            break;
        }
        at = printGaloisOrbit(at, N, sd->Weight_num, sd->Weight_denom, Tpref, SignPref, s,
                              map.data());
    }
    return at;
}

int SM_ConvertToBasic(SpectrumData* sd, int current) {
    return store_internal::reduceCurrent(sd, current);
}
