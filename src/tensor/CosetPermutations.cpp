// Symmetries of a tensor product: outer automorphisms of the factors combined with permutations
// of identical factors, the pairs among them that map the chiral algebra into itself, the images
// of the simple currents under each (composed from the images of the group's generators and
// cached within "Maxperm" and "Maxcurrent"), and the exchange of two identical factors acting on
// the fields, with resolved fixed points completed by fusion.
#include "tensor/Coset.h"

#include "base/Error.h"
#include "base/Output.h"
#include "numeric/Permutations.h"
#include "numeric/VectorUtility.h"
#include "tensor/CosetInternal.h"

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

using namespace coset_internal;

namespace {

int IgnoreOuterAutomorphims = 0;
TensorFusionProduct theoryFusion = nullptr;

// One numbering of symmetries: the images of the generators per symmetry, and the rows of the
// shared cache table that its currents were given.
struct Numbering {
    std::vector<int> BasicPermutations; // symmetry s, generator g at s * generators + g
    int generators = 0;
    int symmetries = 0;
    std::vector<int> Register; // per current: its cache row, -1 while none
    int nextRow = 0;
    int permsize = 0;
    int cursize = 0;
};

Numbering productNumbering;   // rows of TensorOuterPerm
Numbering extensionNumbering; // every pair, outer * Nperm + perm

std::vector<int> outerBuffer;
std::vector<int> permBuffer;
// Asked for in the innermost loops of the invariant searches: no allocation per image.
std::vector<int> imageComponents;
std::vector<int> lastImages;
bool lastImagesValid = false;

int* pairOf(TensorProduct* TP, int s) {
    return rowOf(TP->TensorOuterPerm, s);
}

// ---------------------------------------------------------------- Acting on label vectors

int* applyTensorOuterAutomorphismToCurrentCombination(TensorProduct* TP, int o, const int* v) {
    const int N = TP->NTensor;
    outerBuffer.assign(static_cast<std::size_t>(N) + 1, 0);
    const int* choice = rowOf(TP->TensorOuterAutomorphisms, o);
    for (int k = 0; k < N; k++) {
        int label = v[k];
        const VectorSpace* autos = factor(TP, k)->CurrentOuterAutomorphisms;
        if (choice[k] != 0 && autos && label >= 0 && label < autos->id_size)
            label = rowOf(autos, choice[k])[label];
        outerBuffer[static_cast<std::size_t>(k)] = label;
    }
    outerBuffer[static_cast<std::size_t>(N)] = v[N];
    return outerBuffer.data();
}

int* applyTensorPermutationToCurrentCombination(TensorProduct* TP, int p, const int* v) {
    const int N = TP->NTensor;
    permBuffer.assign(static_cast<std::size_t>(N) + 1, 0);
    const int* P = rowOf(TP->TensorPermutations, p);
    for (int k = 0; k < N; k++)
        permBuffer[static_cast<std::size_t>(k)] = v[P[k]];
    permBuffer[static_cast<std::size_t>(N)] = v[N];
    return permBuffer.data();
}

int* applyPair(TensorProduct* TP, int o, int p, const int* v) {
    return applyTensorPermutationToCurrentCombination(
        TP, p, applyTensorOuterAutomorphismToCurrentCombination(TP, o, v));
}

// ---------------------------------------------------------------- The candidate pairs

int automorphismCount(const SpectrumData* sd) {
    if (IgnoreOuterAutomorphims)
        return 1;
    return rowCount(sd->CurrentOuterAutomorphisms);
}

int loadOuterAutomorphisms(TensorProduct* TP) {
    const int N = TP->NTensor;
    std::vector<int> bounds(static_cast<std::size_t>(N));
    for (int k = 0; k < N; k++)
        bounds[static_cast<std::size_t>(k)] = automorphismCount(factor(TP, k));
    // Conjugating every factor at once maps everything onto its conjugate; one complex factor
    // without it is enough to leave that out.
    if (!IgnoreOuterAutomorphims)
        for (int k = 0; k < N; k++)
            if (factor(TP, k)->Complexity == 1 && bounds[static_cast<std::size_t>(k)] == 2) {
                bounds[static_cast<std::size_t>(k)] = 1;
                break;
            }
    VectorSpace* outer = TP->TensorOuterAutomorphisms;
    initVectorCollection(outer, N, 1500);
    for (Odometer combination(bounds); !combination.done(); combination.advance()) {
        std::copy(combination.index().begin(), combination.index().end(),
                  rowOf(outer, outer->Nfill));
        addVectorToSpace(outer);
    }
    return outer->Nfill;
}

// Classes of identical factors in factor order: the same block in the same position (G or H).
std::vector<std::vector<int>> identicalFactorClasses(TensorProduct* TP) {
    const int N = TP->NTensor;
    std::vector<int> taken(static_cast<std::size_t>(N), 0);
    std::vector<std::vector<int>> classes;
    for (int k = 0; k < N; k++) {
        if (taken[static_cast<std::size_t>(k)])
            continue;
        std::vector<int> members{k};
        for (int l = k + 1; l < N; l++)
            if (!taken[static_cast<std::size_t>(l)] && factor(TP, l) == factor(TP, k) &&
                TP->GH[l] == TP->GH[k]) {
                taken[static_cast<std::size_t>(l)] = 1;
                members.push_back(l);
            }
        classes.push_back(members);
    }
    return classes;
}

// The permutations of each class, and their products with the rows of the earlier classes: the
// direct product of the classes' symmetric groups, the identity first.
int getAllTensorPermutations(TensorProduct* TP) {
    const int N = TP->NTensor;
    VectorSpace* perms = TP->TensorPermutations;
    initVectorCollection(perms, N, 100);
    RowIndex index;
    index.reset(perms);
    auto addScratch = [&] {
        if (index.findScratch() < 0)
            index.appendScratch();
    };
    for (const std::vector<int>& c : identicalFactorClasses(TP)) {
        const int n = static_cast<int>(c.size());
        const int R = perms->Nfill;
        VectorSpace* all = generateAllPermutations(n);
        for (int t = 0; t < all->Nfill; t++) {
            const int* q = rowOf(all, t);
            int* row = rowOf(perms, perms->Nfill);
            for (int k = 0; k < N; k++)
                row[k] = k;
            for (int i = 0; i < n; i++)
                row[c[static_cast<std::size_t>(i)]] = c[static_cast<std::size_t>(q[i])];
            addScratch();
        }
        const int Rnew = perms->Nfill;
        for (int r = 1; r < R; r++)
            for (int m = R; m < Rnew; m++) {
                int* row = rowOf(perms, perms->Nfill);
                const int* earlier = rowOf(perms, r);
                const int* added = rowOf(perms, m);
                for (int k = 0; k < N; k++)
                    row[k] = earlier[added[k]];
                addScratch();
            }
    }
    balanceVectorCollection(perms);
    const int total = perms->Nfill;
    if (invariantInfoLevel() >= 1 || total > 10000)
        Print("Total number of permutations respecting tensor product factors: %d\n", total);
    return total;
}

// Every user current, moved by the pair, lies in the chiral algebra. A current moved out of it
// only rules the pair out, so the look-up is the quiet one.
int CheckAutomorphismTimesPermutation(TensorProduct* TP, int o, int p) {
    for (int r = 0; r < rowCount(TP->Currents); r++) {
        const int* image = applyPair(TP, o, p, rowOf(TP->Currents, r));
        if (findRow(TP->ChiralAlgebra, image) < 0)
            return 0;
    }
    return 1;
}

// Every label of a occurs in b and every label of b in a.
bool sameLabelSet(int n, const int* a, const int* b) {
    for (int k = 0; k < n; k++)
        if (Present(b, n, a[k]) < 0 || Present(a, n, b[k]) < 0)
            return false;
    return true;
}

// A permutation only rearranges labels: unless every current moved by o alone has the label set
// of some chiral-algebra element, no permutation can complete o to a symmetry.
int CheckAutomorphismModuloPermutations(TensorProduct* TP, int o) {
    const int N = TP->NTensor;
    for (int r = 0; r < rowCount(TP->Currents); r++) {
        const int* image =
            applyTensorOuterAutomorphismToCurrentCombination(TP, o, rowOf(TP->Currents, r));
        bool found = false;
        for (int m = 0; m < rowCount(TP->ChiralAlgebra) && !found; m++)
            found = sameLabelSet(N, image, rowOf(TP->ChiralAlgebra, m));
        if (!found)
            return 0;
    }
    return 1;
}

// ---------------------------------------------------------------- Images of the simple currents

// The symmetries act on the simple currents alone: their rows suffice, as after "collect
// extensions", which computes no more.
bool spectrumReady(TensorProduct* TP) {
    return TP->NTensor > 0 && (!TP->InputDataChanged || TP->SimpleCurrentRowsAvailable) &&
           TP->SimpleCurrents && TP->TensorSimpleCurrentOrder > 0 &&
           CT_spectrumRows(TP) >= TP->TensorSimpleCurrentOrder;
}

// The field of the generator g of the simple-current group moved by the pair (o, p).
int generatorImage(TensorProduct* TP, int o, int p, int g) {
    const int N = TP->NTensor;
    const int* moved = applyPair(TP, o, p, TensorField(TP, DG_basis(TP->SimpleCurrents, g)));
    std::vector<int> v(moved, moved + N + 1);
    v[static_cast<std::size_t>(N)] = 0;
    return findOrbit(TP, v.data(), nullptr);
}

// pairOfSymmetry gives the (outer, perm) pair of each symmetry number.
template <class PairOf>
void computeBasicPermutations(TensorProduct* TP, Numbering& num, int symmetries,
                              PairOf pairOfSymmetry) {
    const int mult = TP->SimpleCurrents->Mult;
    num.generators = mult;
    num.symmetries = symmetries;
    num.BasicPermutations.assign(static_cast<std::size_t>(symmetries) * mult, -1);
    for (int s = 0; s < symmetries; s++) {
        const auto [o, p] = pairOfSymmetry(s);
        for (int g = 0; g < mult; g++)
            num.BasicPermutations[static_cast<std::size_t>(s) * mult + g] =
                generatorImage(TP, o, p, g);
    }
}

// A symmetry acts on the group as a homomorphism: the image of c = sum e_g g is sum e_g B(g).
int composeImage(TensorProduct* TP, const Numbering& num, int s, int c) {
    Discrete_Group* dg = TP->SimpleCurrents;
    if (s < 0 || s >= num.symmetries || c < 0 || c >= dg->Order)
        return -1;
    const int mult = dg->Mult;
    const int* basic = num.BasicPermutations.data() + static_cast<std::size_t>(s) * mult;
    // The group's table of components when it has one; it is read for every image.
    auto component = [dg, mult](int e, int j) {
        return dg->Decomp ? dg->Decomp[static_cast<std::size_t>(e) * mult + j]
                          : DG_decomp(dg, e, j);
    };
    std::vector<int>& image = imageComponents;
    image.assign(static_cast<std::size_t>(mult), 0);
    for (int g = 0; g < mult; g++) {
        const int e = component(c, g);
        if (e == 0)
            continue;
        if (basic[g] < 0 || basic[g] >= dg->Order)
            return -1;
        for (int j = 0; j < mult; j++)
            image[static_cast<std::size_t>(j)] += e * component(basic[g], j);
    }
    for (int j = 0; j < mult; j++)
        image[static_cast<std::size_t>(j)] %= dg->Orders[j];
    return DG_findElement(dg, image.data());
}

int computeCurrentPermutation(TensorProduct* TP, int s, int c) {
    return composeImage(TP, productNumbering, s, c);
}

int computeCurrentPermutationForExtension(TensorProduct* TP, int s, int c) {
    return composeImage(TP, extensionNumbering, s, c);
}

// Sizes the shared cache for num (the other numbering loses its rows) and fills it with -1.
void prepareCache(TensorProduct* TP, Numbering& num, int symmetries, int currents,
                  const char* routine, int position) {
    Numbering& other = &num == &productNumbering ? extensionNumbering : productNumbering;
    other.Register.assign(other.Register.size(), -1);
    other.cursize = 0;
    const int maxperm = maxPerm();
    const int maxcurrent = maxCurrent();
    num.permsize = symmetries;
    if (num.permsize > maxperm) {
        Alert(routine, 0, 100201, "Only %d permutations are stored", maxperm);
        num.permsize = maxperm;
    }
    num.cursize = currents;
    if (num.cursize > maxcurrent) {
        num.cursize = maxcurrent;
        Alert(routine, position, 100201, "Permutations stored for only %d (out of %d) currents",
              maxcurrent, currents);
    }
    num.Register.assign(static_cast<std::size_t>(TP->TensorSimpleCurrentOrder), -1);
    num.nextRow = 0;
    VectorSpace* cache = TP->CurrentPermutations;
    initVectorCollection(cache, num.permsize, std::max(num.cursize, 1));
    if (static_cast<long long>(num.cursize) * num.permsize > 10000)
        Print("Allocated %d x %d integers for CurrPerms\n", num.cursize, num.permsize);
    for (int r = 0; r < num.cursize; r++) {
        std::fill_n(rowOf(cache, cache->Nfill), num.permsize, -1);
        addVectorToSpace(cache);
    }
}

template <class Compute>
int cachedImage(TensorProduct* TP, Numbering& num, int perm, int current, Compute compute) {
    if (perm < 0 || perm >= num.symmetries || current < 0 ||
        current >= static_cast<int>(num.Register.size()))
        return -1;
    int& row = num.Register[static_cast<std::size_t>(current)];
    if (row < 0 && num.nextRow < num.cursize)
        row = num.nextRow++;
    if (perm >= num.permsize || row < 0 || row >= num.cursize)
        return compute(TP, perm, current);
    int& entry = rowOf(TP->CurrentPermutations, row)[perm];
    if (entry == -1)
        entry = compute(TP, perm, current);
    return entry;
}

// ---------------------------------------------------------------- Exchange of two factors

// Before the exchange, both factors must exist and hold the same block.
bool refuseFactorPair(TensorProduct* TP, int a, int b) {
    for (int k : {a, b})
        if (k < 0 || k >= TP->NTensor) {
            Alert("ComputePermutation", 2, 100302, "Tensor factor %d does not exist", k);
            return true;
        }
    if (factor(TP, a) != factor(TP, b)) {
        Alert("ComputePermutation", 0, 100302, "This is not a permutation");
        return true;
    }
    return false;
}

int exchangeImage(TensorProduct* TP, int a, int b, int i) {
    const int N = TP->NTensor;
    std::vector<int> v(TensorField(TP, i), TensorField(TP, i) + N + 1);
    std::swap(v[static_cast<std::size_t>(a)], v[static_cast<std::size_t>(b)]);
    v[static_cast<std::size_t>(N)] = 0;
    for (int m = 0; m < rowCount(TP->ChiralAlgebra); m++) {
        rat Q;
        TensorRatCharge(TP, rowOf(TP->ChiralAlgebra, m), v.data(), &Q);
        if (intcheck(&Q) != 0) {
            Alert("ComputePermutation", 1, 100302,
                  "This permutation is not a symmetry of the algebra");
            return -1;
        }
    }
    const int j = findOrbit(TP, v.data(), nullptr);
    if (j == -1) {
        Alert("ComputePermutation", 1, 100302, "This permutation is not a symmetry of the algebra");
        return -1;
    }
    const int order = StabilizerOrder(TP, j);
    if (order >= 2) {
        Print("Field %d is resolved into %d irreducible components\n", i, order);
        return -2;
    }
    return j;
}

constexpr int Open = -2;

bool applyResolution(std::vector<int>& image, int Nres, const int* r1, const int* r2) {
    const int N = static_cast<int>(image.size());
    for (int k = 0; k < Nres; k++) {
        const int x = r1[k], y = r2[k];
        for (int f : {x, y})
            if (f < 0 || f >= N) {
                Alert("CloseTensorPermutations", 2, 100302, "Field %d does not exist", f);
                return false;
            }
        const int ix = image[static_cast<std::size_t>(x)];
        const int iy = image[static_cast<std::size_t>(y)];
        if ((ix != Open && ix != y) || (iy != Open && iy != x)) {
            Alert("CloseTensorPermutations", 0, 100302, "Incorrect degeneracy resolution");
            return false;
        }
        image[static_cast<std::size_t>(x)] = y;
        image[static_cast<std::size_t>(y)] = x;
    }
    return true;
}

// The one open field with a non-zero coefficient in n, with the count of such fields.
int onlyOpenField(const std::vector<int>& n, const std::vector<int>& image, int* count) {
    int last = -1;
    *count = 0;
    for (std::size_t k = 0; k < n.size(); k++)
        if (n[k] > 0 && image[k] == Open) {
            ++*count;
            last = static_cast<int>(k);
        }
    return last;
}

// One pass over the pairs of fields with known images: a fusion product whose only open field
// has one open partner in the product of the images fixes both. -1 on a contradiction, else the
// number of pairs fixed.
int completionPass(TensorProduct* TP, std::vector<int>& image) {
    const int N = static_cast<int>(image.size());
    std::vector<int> N1(static_cast<std::size_t>(N)), N2(static_cast<std::size_t>(N));
    int added = 0;
    for (int i = TP->TensorSimpleCurrentOrder; i < N; i++) {
        const int ii = image[static_cast<std::size_t>(i)];
        if (ii < i)
            continue;
        std::printf("i=%d\n", i);
        for (int j = i + 1; j < N; j++) {
            const int ij = image[static_cast<std::size_t>(j)];
            if (ij < j)
                continue;
            std::printf("j=%d\n", j);
            if (theoryFusion(i, j, N1.data()) != 0 || theoryFusion(ii, ij, N2.data()) != 0)
                return -1;
            int count1 = 0, count2 = 0;
            const int k1 = onlyOpenField(N1, image, &count1);
            const int k2 = onlyOpenField(N2, image, &count2);
            std::printf("cnt=%d\n", count1);
            if (count1 != 1 || count2 != 1)
                continue;
            if (N1[static_cast<std::size_t>(k1)] != N2[static_cast<std::size_t>(k2)]) {
                Alert("CloseTensorPermutations", 1, 212404,
                      "Permutation violation (type 2) for %d x %d", i, j);
                return -1;
            }
            image[static_cast<std::size_t>(k1)] = k2;
            image[static_cast<std::size_t>(k2)] = k1;
            std::printf("Added %d and %d\n", k1, k2);
            added++;
        }
    }
    return added;
}

} // namespace

// ============================================================ Symmetries of the product

void setIgnoreOuterAutomorphisms(int A) {
    IgnoreOuterAutomorphims = A;
}

void setTensorFusionProduct(TensorFusionProduct fusion) {
    theoryFusion = fusion;
}

void CT_SymmetrizeTensorProduct(TensorProduct* TP) {
    if (TP->PermutationsAvailable || !spectrumReady(TP))
        return;
    const int Nouter = loadOuterAutomorphisms(TP);
    const int Nperm = getAllTensorPermutations(TP);
    Print("Degeneracies: %d outer automorphisms, %d permutations.\n", Nouter, Nperm);
    VectorSpace* pairs = TP->TensorOuterPerm;
    initVectorCollection(pairs, 2, 1000);
    for (int o = 0; o < Nouter; o++) {
        if (Nperm > 25 && !CheckAutomorphismModuloPermutations(TP, o))
            continue;
        for (int p = 0; p < Nperm; p++)
            if (CheckAutomorphismTimesPermutation(TP, o, p)) {
                int* pair = rowOf(pairs, pairs->Nfill);
                pair[0] = o;
                pair[1] = p;
                addVectorToSpace(pairs);
            }
    }
    CT_getCurrentPermutation(TP, -1, 0);
    const int order = TP->SimpleCurrents->Order;
    VectorSpace* table = TP->CurrPerms;
    const int rows = std::min(pairs->Nfill, 1000);
    initVectorCollection(table, order, std::max(rows, 1));
    for (int s = 0; s < rows; s++) {
        int* row = rowOf(table, table->Nfill);
        for (int c = 0; c < order; c++)
            row[c] = computeCurrentPermutation(TP, s, c);
        addVectorToSpace(table);
    }
    TP->PermutationsAvailable = 1;
}

int CT_TotalOuterAutomorphisms(TensorProduct* TP) {
    CT_SymmetrizeTensorProduct(TP);
    return TP->PermutationsAvailable ? rowCount(TP->TensorOuterPerm) : 0;
}

VectorSpace* CT_getCurrentOuterAutomorphisms(TensorProduct* TP) {
    // Rows made for other currents or factors must not be shown as this product's.
    if (!TP->PermutationsAvailable) {
        resetVectorCollection(TP->CurrPerms);
        CT_SymmetrizeTensorProduct(TP);
    }
    return TP->CurrPerms;
}

int CT_getCurrentPermutation(TensorProduct* TP, int perm, int current) {
    if (perm != -1 && !TP->PermutationsAvailable)
        return -1;
    if (perm == -1) {
        const int symmetries = rowCount(TP->TensorOuterPerm);
        prepareCache(TP, productNumbering, symmetries, TP->TensorSimpleCurrentOrder,
                     "CT_getCurrentPermutation", 1);
        computeBasicPermutations(TP, productNumbering, symmetries, [TP](int s) {
            const int* pair = pairOf(TP, s);
            return std::pair<int, int>(pair[0], pair[1]);
        });
        return 0;
    }
    return cachedImage(TP, productNumbering, perm, current, computeCurrentPermutation);
}

VectorSpace* CT_getIntegerSpinPermutations(TensorProduct* TP, IntegerList* Currents) {
    if (!spectrumReady(TP))
        return nullptr;
    const int Nouter = loadOuterAutomorphisms(TP);
    const int Nperm = getAllTensorPermutations(TP);
    Print("Permutations: %d; Outer automorphisms: %d\n", Nperm, Nouter);
    CT_getCurrentPermutationForExtension(TP, -1, Currents ? Currents->cnt : 0);
    return nullptr;
}

int CT_getCurrentPermutationForExtension(TensorProduct* TP, int perm, int current) {
    if (perm == -1) {
        const int Nperm = rowCount(TP->TensorPermutations);
        const int total = CT_getTotalOuterAutomorphismCount(TP);
        prepareCache(TP, extensionNumbering, total, current, "CT_getCurrentPermutationForExtension",
                     0);
        computeBasicPermutations(TP, extensionNumbering, total, [Nperm](int s) {
            return std::pair<int, int>(s / Nperm, s % Nperm);
        });
        return 0;
    }
    return cachedImage(TP, extensionNumbering, perm, current,
                       computeCurrentPermutationForExtension);
}

int CT_getTotalOuterAutomorphismCount(TensorProduct* TP) {
    return rowCount(TP->TensorPermutations) * rowCount(TP->TensorOuterAutomorphisms);
}

// ============================================================ Exchange of two factors

int ComputePermutation(TensorProduct* TP, int a, int b, int i) {
    if (refuseFactorPair(TP, a, b))
        return -1;
    if (i < 0 || i >= rowCount(TP->TensorSpectrum)) {
        Alert("ComputePermutation", 3, 100302, "Field %d does not exist", i);
        return -1;
    }
    return exchangeImage(TP, a, b, i);
}

int* CloseTensorPermutations(TensorProduct* TP, int a, int b, int Nres, const int* resolve1,
                             const int* resolve2) {
    if (!TP)
        return lastImagesValid ? lastImages.data() : nullptr;
    lastImagesValid = false;
    if (refuseFactorPair(TP, a, b))
        return nullptr;
    const int N = rowCount(TP->TensorSpectrum);
    std::vector<int> image(static_cast<std::size_t>(N));
    for (int i = 0; i < N; i++) {
        image[static_cast<std::size_t>(i)] = exchangeImage(TP, a, b, i);
        if (image[static_cast<std::size_t>(i)] == -1)
            return nullptr;
    }
    if (!applyResolution(image, Nres, resolve1, resolve2))
        return nullptr;
    if (theoryFusion) {
        int added = 0;
        while ((added = completionPass(TP, image)) > 0) {
        }
        if (added < 0)
            return nullptr;
    }
    for (int i = 0; i < N; i++) {
        if (image[static_cast<std::size_t>(i)] == Open)
            Print("Permutation %d not resolved\n", i);
        else
            Print("%d <==> %d\n", i, image[static_cast<std::size_t>(i)]);
    }
    lastImages = std::move(image);
    lastImagesValid = true;
    return lastImages.data();
}
