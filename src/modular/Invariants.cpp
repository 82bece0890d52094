// The records of a bulk invariant: making, resetting, copying and comparing them, their normal
// form and the quantities read off a record.
#include "modular/Invariants.h"

#include "base/Error.h"
#include "modular/InvariantsInternal.h"
#include "modular/Modular.h"

#include <algorithm>
#include <vector>

using namespace invariants_internal;

AllocCount Invariants_alloc = ALLOC_COUNTER("Invariants");

namespace {

// Room a new record's simple-current data starts with.
constexpr int InitialMapRoom = 300;
constexpr int InitialMonodromyRoom = 72;

void releaseSubgroup(SCData* md) {
    if (md->sg && md->sg_was_allocated)
        DG_freeSubgroup(md->sg);
    md->sg = nullptr;
    md->sg_was_allocated = 0;
}

// Copies count ints (no more than src holds) into dst, which gets room for count.
void copyInts(GuardedArray<int>& dst, const GuardedArray<int>& src, int count) {
    if (count <= 0 || !src.reserved())
        return;
    dst.reserve(count);
    const int n = std::min(count, src.X_oldsize);
    std::copy(src.X, src.X + n, dst.X);
    std::fill(dst.X + n, dst.X + count, 0);
}

// dst's view at the offset that src's view has in its array; the array start when it lies
// outside.
int* rebase(const int* view, const GuardedArray<int>& src, GuardedArray<int>& dst) {
    if (!view || !src.reserved() || view < src.X || view > src.X + src.X_oldsize)
        return dst.X;
    return dst.X + (view - src.X);
}

void copySimpleCurrentData(SCData* dst, const SCData* src) {
    dst->dg = src->dg;
    if (!src->dg || src->dg->Order <= 1)
        return;
    const int order = src->dg->Order, M = src->dg->Mult;
    copyInts(dst->map, src->map, src->map.X_oldsize);
    dst->AllOrders = rebase(src->AllOrders, src->map, dst->map);
    dst->inverse_map = rebase(src->inverse_map, src->map, dst->map);
    copyInts(dst->Monodromies, src->Monodromies, 2 * M * M);
    dst->Xmatrix = dst->Monodromies.X + M * M;
    copyInts(dst->Kernels, src->Kernels, 2 * order);
    dst->LeftKernel = dst->Kernels.X;
    dst->RightKernel = dst->Kernels.X + order;
    if (src->loopsize != 0) {
        copyInts(dst->factor, src->factor, 3 * src->loopsize);
        dst->row = dst->factor.X + src->loopsize;
        dst->col = dst->factor.X + 2 * src->loopsize;
    }
    if (src->stabsize != 0)
        copyInts(dst->Stabilizer, src->Stabilizer, src->stabsize);
    if (src->ChargeMapAvailable == 1)
        copyInts(dst->ChargeMap, src->ChargeMap, src->ChargeMap.X_oldsize);
    dst->ChargeMapAvailable = src->ChargeMapAvailable;
    dst->Ngen = src->Ngen;
    copyInts(dst->Generators, src->Generators, std::max(src->Ngen, 1));
    dst->MIPF_id = src->MIPF_id;
    dst->Subgroup_id = src->Subgroup_id;
    dst->AutoSelect = src->AutoSelect;
    dst->SymmetryRequired = src->SymmetryRequired;
    dst->Automorphism = src->Automorphism;
    dst->Extension = src->Extension;
    dst->RejectPermutations = src->RejectPermutations;
    dst->KernelSize = src->KernelSize;
    dst->loopsize = src->loopsize;
    dst->stabsize = src->stabsize;
    dst->Symmetric = src->Symmetric;
}

void copyExceptionalData(ExceptBoundData* dst, const ExceptBoundData* src) {
    if (src->Nprimaries == 0)
        return;
    allocExceptBound(dst, src->Nprimaries, src->Nlabels);
    const int n = 2 * (src->Nprimaries + src->Nprimaries * src->Nlabels);
    std::copy(src->Data.X, src->Data.X + n, dst->Data.X);
    std::copy(src->Klein.X, src->Klein.X + src->Nprimaries, dst->Klein.X);
    dst->BoundariesLoaded = src->BoundariesLoaded;
    dst->CrosscapsLoaded = src->CrosscapsLoaded;
}

// Labels a row of a simple-current invariant carries beyond its partners: the currents that fix
// the field, one per unit of multiplicity.
int extraLabels(const BulkInvariant* bi, int i) {
    return bi->simpleCurrentInvariant == 1 && bi->trivial == 0 ? bi->multiplicity[i] : 0;
}

// Labels of row i of a record lying inside its partner area, from the row start on.
int labelsLeftInArea(const BulkInvariant* bi, int i) {
    const int* areaEnd = bi->Data.X + 3 * bi->Nprimaries + bi->orbitspace;
    return static_cast<int>(areaEnd - bi->orbits[i]);
}

bool sameRow(const BulkInvariant* a, const BulkInvariant* b, int i, std::vector<int>& left,
             std::vector<int>& right) {
    const int n = a->orbitlength[i];
    if (a->multiplicity[i] != b->multiplicity[i] || n != b->orbitlength[i])
        return false;
    if (n == 0 || std::equal(a->orbits[i], a->orbits[i] + n, b->orbits[i]))
        return true;
    left.assign(a->orbits[i], a->orbits[i] + n);
    right.assign(b->orbits[i], b->orbits[i] + n);
    std::sort(left.begin(), left.end());
    std::sort(right.begin(), right.end());
    return left == right;
}

// What resetBulkInvariant does before laying out the rows.
void resetFlagsAndGroup(BulkInvariant* bi) {
    bi->trivial = 1;
    bi->simpleCurrentInvariant = 1;
    bi->conjugation = 0;
    bi->symmetric = 1;
    bi->EDT->CrosscapsLoaded = bi->EDT->BoundariesLoaded = 0;
    SCData* md = bi->MD;
    makeTrivialGroup(md);
    releaseSubgroup(md);
    md->truncated = 0;
    md->PermutationFunction = nullptr;
    md->Generators.reserve(std::max(md->Generators.X_oldsize, 1));
    md->Generators[0] = 0;
    md->Ngen = 0;
    md->MIPF_id = md->Subgroup_id = -1;
    md->SymmetryRequired = param(Par::SelectionSymmetric);
    md->Automorphism = param(Par::SelectionAutomorphism);
    md->Extension = param(Par::SelectionExtension);
    md->RejectPermutations = param(Par::RejectPermutations);
    md->AutoSelect = 1;
}

// A record with its simple-current data prepared and without rows.
std::unique_ptr<BulkInvariant> newRecord(const char* name) {
    auto bi = std::make_unique<BulkInvariant>();
    bi->name = name ? name : "UNDEFINED";
    SCData* md = bi->MD;
    md->map.reserve(InitialMapRoom);
    md->Monodromies.reserve(InitialMonodromyRoom);
    md->Xmatrix = md->Monodromies.X + 1;
    makeTrivialGroup(md);
    resetFlagsAndGroup(bi.get());
    return bi;
}

} // namespace

SCData::~SCData() {
    releaseSubgroup(this);
}

namespace invariants_internal {

void reportStorageOverflow(const char* routine, int position) {
    Alert(routine, position, 120505, "Storage overflow in modular invariant data");
}

bool RowWriter::put(int i, const int* labels, int count) {
    if (count <= 0) {
        bi_->orbits[i] = nullptr;
        return true;
    }
    if (used_ + count > bi_->orbitspace) {
        if (!overflow_)
            reportStorageOverflow(routine_, position_);
        overflow_ = true;
        bi_->orbits[i] = nullptr;
        bi_->orbitlength[i] = bi_->multiplicity[i] = 0;
        return false;
    }
    int* start = bi_->Data.X + 3 * bi_->Nprimaries + used_;
    std::copy(labels, labels + count, start);
    bi_->orbits[i] = start;
    used_ += count;
    return true;
}

std::unique_ptr<BulkInvariant> newCopyOfBulkInvariant(const char* name, const BulkInvariant* bi) {
    std::unique_ptr<BulkInvariant> copy = newRecord(name);
    copyBulkInvariant(copy.get(), bi);
    return copy;
}

void makeTrivialGroup(SCData* md) {
    md->dg = DG_trivial();
    md->map.reserve(std::max(md->map.X_oldsize, 2));
    md->map[0] = 0;
    md->AllOrders = md->map.X + 1;
    md->AllOrders[0] = 1;
    md->inverse_map = md->map.X;
    md->Kernels.reserve(std::max(md->Kernels.X_oldsize, 2));
    md->Kernels[0] = md->Kernels[1] = 0;
    md->LeftKernel = md->Kernels.X;
    md->RightKernel = md->Kernels.X + 1;
    md->KernelSize = 1;
    md->loopsize = 0;
    md->stabsize = 0;
    md->Symmetric = 1;
}

void sortLabels(int* list, int size) {
    if (size > 1)
        std::sort(list, list + size);
}

int theoryPrimaries() {
    return getTotalPrimaries();
}

} // namespace invariants_internal

// ============================================================ Making and freeing

BulkInvariant* allocNewBulkInvariant(const char* name) {
    std::unique_ptr<BulkInvariant> bi = newRecord(name);
    resetBulkInvariant(bi.get());
    return bi.release();
}

void freeBulkInvariant(BulkInvariant* bi) {
    std::unique_ptr<BulkInvariant> owned(bi);
}

BulkInvariant* allocBulkInvariant(BulkInvariant* bi) {
    return bi ? bi : allocNewBulkInvariant(nullptr);
}

void allocBulkInvariantData(BulkInvariant* bi, int Np, int orbitspace) {
    sizeBulkInvariantData(bi, Np, orbitspace);
    std::fill(bi->Data.X, bi->Data.X + 3 * Np + orbitspace, 0);
    std::fill(bi->orbits.X, bi->orbits.X + Np, nullptr);
}

void invariants_internal::sizeBulkInvariantData(BulkInvariant* bi, int Np, int orbitspace) {
    bi->Data.reserve(3 * Np + orbitspace);
    bi->orbits.reserve(Np);
    bi->Nprimaries = Np;
    bi->orbitspace = orbitspace;
    bi->orbitlength = bi->Data.X;
    bi->multiplicity = bi->Data.X + Np;
    bi->left_extension = bi->Data.X + 2 * Np;
    bi->right_extension = bi->orbits[0];
}

void resetBulkInvariant(BulkInvariant* bi) {
    if (!bi) {
        Alert("resetBulkInvariant", 0, 120505, "Attempt to reset NULL invariant pointer");
        return;
    }
    if (!bi->EDT) {
        Alert("resetBulkInvariant", 1, 120505, "Attempt to reset NULL data pointer");
        return;
    }
    if (!bi->MD) {
        Alert("resetBulkInvariant", 2, 120505, "Attempt to reset NULL simple current pointer");
        return;
    }
    int N = theoryPrimaries();
    resetFlagsAndGroup(bi);
    bi->IshibashiLabelCount = N;
    if (N < 1) {
        N = 1;
        bi->IshibashiLabelCount = 0;
    }
    allocBulkInvariantData(bi, N, N);
    bi->left_extension[0] = 0;
    bi->left_extension_size = 1;
    RowWriter rows(bi, "resetBulkInvariant");
    for (int i = 0; i < N; i++) {
        bi->orbitlength[i] = bi->multiplicity[i] = 1;
        rows.put(i, &i, 1);
    }
    bi->hasTachyons = bi->susy_L = bi->susy_R = -1;
    bi->right_extension = bi->orbits[0];
}

void setDiagonalInvariant(BulkInvariant* bi) {
    resetBulkInvariant(bi);
    if (bi && bi->MD)
        bi->MD->Subgroup_id = bi->MD->MIPF_id = 0;
}

// ============================================================ Normal form, equality, copies

void adjustBulkInvariant(BulkInvariant* bi) {
    for (int i = 0; i < bi->Nprimaries; i++)
        if (bi->orbitlength[i] == 0 || bi->multiplicity[i] == 0)
            bi->orbitlength[i] = bi->multiplicity[i] = 0;
}

// Partner lists count as equal when they hold the same labels with the same repetitions, in any
// order: (1,1,2) and (1,2,2) are Z(i,1) = 2 m and Z(i,1) = m, two different invariants.
int compareBulkInvariants(BulkInvariant* bi, BulkInvariant* bj) {
    adjustBulkInvariant(bi);
    adjustBulkInvariant(bj);
    if (bi->Nprimaries != bj->Nprimaries)
        return -1;
    static std::vector<int> left, right;
    for (int i = 0; i < bi->Nprimaries; i++)
        if (!sameRow(bi, bj, i, left, right))
            return -1;
    return 0;
}

void copyBulkInvariant(BulkInvariant* bj, const BulkInvariant* bi) {
    if (bj == bi)
        return;
    bj->trivial = bi->trivial;
    bj->simpleCurrentInvariant = bi->simpleCurrentInvariant;
    bj->conjugation = bi->conjugation;
    bj->symmetric = bi->symmetric;
    bj->hasTachyons = bi->hasTachyons;
    bj->susy_L = bi->susy_L;
    bj->susy_R = bi->susy_R;
    bj->IshibashiLabelCount = bi->IshibashiLabelCount;
    const int N = bi->Nprimaries;
    // Every row is written below; only what lies beyond the lists is cleared.
    sizeBulkInvariantData(bj, N, bi->orbitspace);
    bj->left_extension_size = bi->left_extension_size;
    RowWriter rows(bj, "copyBulkInvariant");
    for (int i = 0; i < N; i++) {
        bj->orbitlength[i] = bi->orbitlength[i];
        bj->multiplicity[i] = bi->multiplicity[i];
        const int count = bi->orbits[i] ? std::min(bi->orbitlength[i] + extraLabels(bi, i),
                                                   labelsLeftInArea(bi, i))
                                        : 0;
        rows.put(i, bi->orbits[i], count);
    }
    int* area = bj->Data.X + 3 * N;
    int areaEnd = bj->orbitspace;
    // A list longer than its N slots sits at the end of the partner area, as its builder put it.
    const int extension = bi->left_extension_size;
    if (extension > N) {
        areaEnd -= extension;
        bj->left_extension = area + areaEnd;
    }
    std::copy(bi->left_extension, bi->left_extension + extension, bj->left_extension);
    if (extension <= N)
        std::fill(bj->left_extension + extension, bj->left_extension + N, 0);
    std::fill(area + rows.used(), area + areaEnd, 0);
    bj->right_extension = bj->orbits[0];
    if (bi->simpleCurrentInvariant == 1)
        copySimpleCurrentData(bj->MD, bi->MD);
    else
        copyExceptionalData(bj->EDT, bi->EDT);
}

// ============================================================ Read-outs

int LabelCount(const BulkInvariant* bi) {
    int count = 0;
    for (int i = 0; i < bi->Nprimaries; i++)
        for (int k = 0; k < bi->orbitlength[i]; k++)
            if (bi->orbits[i][k] == i)
                count += bi->multiplicity[i];
    return count;
}

int* BulkInvariantToMatrix(const BulkInvariant* bi) {
    static std::vector<int> matrix;
    const std::size_t N = static_cast<std::size_t>(bi->Nprimaries);
    matrix.assign(N * N, 0);
    for (std::size_t i = 0; i < N; i++)
        for (int k = 0; k < bi->orbitlength[i]; k++)
            matrix[static_cast<std::size_t>(bi->orbits[i][k]) * N + i] += bi->multiplicity[i];
    return matrix.data();
}

void makeExceptional(BulkInvariant* bi) {
    bi->simpleCurrentInvariant = 0;
}

void allocExceptBound(ExceptBoundData* EDT, int Np, int Nlabels) {
    EDT->Data.reserve(2 * (Np + Np * Nlabels));
    EDT->Gamma = EDT->Data.X;
    EDT->Bound = EDT->Data.X + 2 * Np;
    EDT->Klein.reserve(Np);
    EDT->Nprimaries = Np;
    EDT->Nlabels = Nlabels;
}

int MIPFIdentifier(const BulkInvariant* bi) {
    return bi->MD->MIPF_id;
}

int getMIPF_ID() {
    return MIPFIdentifier(*getCurrentBulk());
}
