// Ishibashi and boundary labels, checked against what holds without our code: a diagonal
// invariant has one label of each kind per field; a simple-current invariant has as many
// boundary labels as Ishibashi labels (completeness). su(2) level 4 with its D-type invariant
// |x0 + x4|^2 + 2|x2|^2 (Dynkin labels) has the Ishibashi states 0, 4 and two on 2, and the
// boundaries 0, 1 (charge 1/2 under the current: it breaks the extension) and the two resolved
// fixed points [2, 0] and [2, J]. su(3) level 3 extended by its Z3 has the fixed point (1,1)
// with three Ishibashi states and three boundaries.
#include "CrossBoundTestHelpers.h"

#include "tensor/FixedPoints.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <vector>

using namespace boundarytest;

namespace {

struct Expected {
    int label;
    int current;
    int multiplicity;
};

class Labels : public BoundaryTest {
protected:
    void TearDown() override {
        BoundaryTest::TearDown();
        own.clear();
    }
    // A record of the test, kept alive until the current invariant has been reset.
    BulkInvariant* keep(BulkInvariant* bi) {
        own.emplace_back(bi);
        return bi;
    }
    std::vector<std::unique_ptr<BulkInvariant>> own;
};

// ---- Diagonal invariants ----

struct DiagonalCase {
    int type, rank, level, fields;
};

class DiagonalLabels : public Labels, public testing::WithParamInterface<DiagonalCase> {};

TEST_P(DiagonalLabels, OneLabelOfEachKindPerField) {
    const DiagonalCase& c = GetParam();
    theory(c.type, c.rank, c.level);
    ASSERT_EQ(TotalIshibashi(), c.fields);
    ASSERT_EQ(TotalBoundaries(), c.fields);
    for (int i = 0; i < c.fields; i++) {
        EXPECT_EQ(ishibashi(i).label, i);
        EXPECT_EQ(ishibashi(i).current, 0);
        EXPECT_EQ(ishibashi(i).multiplicity, 1);
        EXPECT_EQ(boundary(i).label, i);
        EXPECT_EQ(boundary(i).isfixed, 0);
        EXPECT_EQ(boundary(i).symmetry_breaking, 0);
        ASSERT_NE(boundary(i).fptype, nullptr);
        EXPECT_EQ(boundary(i).fptype->dg->Order, 1);
        EXPECT_EQ(getFirstBoundaryForPrimary(i), i);
    }
}

// su(2) level k has k + 1 fields, su(3) level 1 three, so(8) level 1 four.
INSTANTIATE_TEST_SUITE_P(Blocks, DiagonalLabels,
                         testing::Values(DiagonalCase{1, 1, 1, 2}, DiagonalCase{1, 1, 2, 3},
                                         DiagonalCase{1, 1, 3, 4}, DiagonalCase{1, 1, 4, 5},
                                         DiagonalCase{1, 2, 1, 3}, DiagonalCase{4, 4, 1, 4}));

// ---- su(2) level 4, D-type invariant ----

TEST_F(Labels, DTypeInvariantOfSu2Level4) {
    theory(1, 1, 4);
    BulkInvariant* D = simpleCurrentInvariant(1);
    ASSERT_NE(D, nullptr);
    const int f0 = fieldOf({0}), f1 = fieldOf({1}), f2 = fieldOf({2}), f3 = fieldOf({3}),
              f4 = fieldOf({4});
    ASSERT_EQ(invtest::dense(D)[f2][f2], 2) << "the D-type invariant";
    const int J = f4; // the simple current

    ASSERT_EQ(TotalIshibashi(), 4);
    const std::vector<Expected> states = {{f0, 0, 1}, {f4, 0, 1}, {f2, 0, 2}, {f2, J, 2}};
    for (int m = 0; m < 4; m++) {
        EXPECT_EQ(ishibashi(m).label, states[m].label) << m;
        EXPECT_EQ(ishibashi(m).current, states[m].current) << m;
        EXPECT_EQ(ishibashi(m).multiplicity, states[m].multiplicity) << m;
    }

    ASSERT_EQ(TotalBoundaries(), 4);
    const int odd = std::min(f1, f3); // the orbit of Dynkin 1 and 3 is named by its smaller field
    EXPECT_EQ(boundary(0).label, f0);
    EXPECT_EQ(boundary(1).label, odd);
    EXPECT_EQ(boundary(1).symmetry_breaking, 1);
    EXPECT_EQ(boundary(0).symmetry_breaking + boundary(2).symmetry_breaking, 0);
    EXPECT_EQ(boundary(0).isfixed + boundary(1).isfixed, 0);
    for (int a : {2, 3}) {
        EXPECT_EQ(boundary(a).label, f2);
        EXPECT_EQ(boundary(a).isfixed, 1);
        EXPECT_EQ(boundary(a).fptype, boundary(2).fptype) << "one stabiliser type";
    }
    EXPECT_EQ(boundary(2).fp, 0);
    EXPECT_EQ(boundary(3).fp, J);
    EXPECT_EQ(boundary(2).fptype->dg->Order, 2);
    EXPECT_EQ(boundary(2).fptype->stab_order, 2);
    EXPECT_EQ(SymBsymB(1), '*');
    EXPECT_EQ(SymBsymB(2), ' ');

    for (auto [field, first] : {std::pair{f0, 0}, {f4, 0}, {f1, 1}, {f3, 1}, {f2, 2}})
        EXPECT_EQ(getFirstBoundaryForPrimary(field), first) << field;

    int NF = 0;
    int* stab = nullptr;
    ASSERT_EQ(makeOrbit(f2, &NF, &stab), 1);
    ASSERT_EQ(NF, 2);
    EXPECT_EQ(stab[0], 0);
    EXPECT_EQ(stab[1], J);
    EXPECT_EQ(makeAlternatingStabilizer(f2, NF, stab), 2);
    EXPECT_EQ(makeOrbit(std::max(f1, f3), &NF, &stab), 0);
    EXPECT_EQ(getAlternator(J, J), 1);
    rat X;
    computeXMatrixEntry(J, J, &X);
    EXPECT_EQ(X.num, 0);
    EXPECT_EQ(checkBoundarySymmetry(f1), 1);
    EXPECT_EQ(checkBoundarySymmetry(f2), 0);

    EXPECT_EQ(isIshibashiLabel(f1), 0);
    EXPECT_EQ(IshibashiMultiplicity(f2), 2);
    EXPECT_EQ(getIshibashiLabel(f2), 2);
    EXPECT_EQ(getIshibashiField(3), f2);
    EXPECT_EQ(getBoundaryField(3), f2);
    EXPECT_EQ(getBoundaryFixed(3), 1);
}

// The query leaves the Klein bottles of an earlier search alone.
TEST_F(Labels, SimpleCurrentBoundaryOnlyAnswers) {
    theory(1, 1, 4);
    ASSERT_NE(simpleCurrentInvariant(1), nullptr);
    ASSERT_EQ(TotalBoundaries(), 4);
    VectorSpace* store = crossbound_internal::KleinBottleStorage;
    int* row = resetVectorCollection(store);
    row[0] = 1;
    addVectorToSpace(store);
    EXPECT_EQ(SimpleCurrentBoundary(0), 1) << "the vacuum orbit";
    EXPECT_EQ(SimpleCurrentBoundary(1), 0);
    EXPECT_EQ(store->Nfill, 1);
    resetVectorCollection(store);
}

// su(3) level 3: the Z3 orbits of (0,0), (1,0) and (0,1), and the fixed point (1,1) whose whole
// stabiliser is untwisted. Triality 1 and 2 break the extension.
TEST_F(Labels, Su3Level3FixedPointHasThreeBoundaries) {
    theory(1, 2, 3);
    std::vector<int> generator = {1, 0, 0, 0};
    invtest::outputOf([&] { selectBulkInvariantInSubgroup(generator.data(), 1); });
    const int fixed = fieldOf({1, 1});
    ASSERT_EQ(invtest::dense(*getCurrentBulk())[fixed][fixed], 3);
    ASSERT_EQ(TotalIshibashi(), 6);
    ASSERT_EQ(TotalBoundaries(), 6);
    std::set<int> psi, broken;
    for (int a = 0; a < 6; a++) {
        if (boundary(a).label == fixed) {
            EXPECT_EQ(boundary(a).isfixed, 1);
            psi.insert(boundary(a).fp);
        }
        if (boundary(a).symmetry_breaking)
            broken.insert(boundary(a).label);
    }
    EXPECT_EQ(psi, (std::set<int>{0, 1, 2})) << "the three currents";
    const int t1 = std::min({fieldOf({1, 0}), fieldOf({0, 2}), fieldOf({2, 1})});
    const int t2 = std::min({fieldOf({0, 1}), fieldOf({2, 0}), fieldOf({1, 2})});
    EXPECT_EQ(broken, (std::set<int>{t1, t2}));
}

// ---- Completeness of every simple-current invariant ----

class Completeness : public Labels, public testing::WithParamInterface<modulartest::TheoryCase> {};

TEST_P(Completeness, AsManyBoundariesAsIshibashiLabels) {
    const modulartest::TheoryCase& c = GetParam();
    theory(c.type, c.rank, c.level);
    parameter("Reject permutations") = 0;
    int invariants = 0;
    for (int n = 0; n < 100; n++) {
        BulkInvariant* bi = simpleCurrentInvariant(n);
        if (!bi)
            break;
        invariants++;
        const int labels = LabelCount(bi);
        EXPECT_EQ(TotalIshibashi(), labels) << "invariant " << n;
        EXPECT_EQ(TotalBoundaries(), labels) << "invariant " << n;
    }
    EXPECT_GT(invariants, 1);
}

// Fixed points under Z2, Z3, Z4 and Z2 x Z2 (so(8) level 2 with and without discrete torsion).
INSTANTIATE_TEST_SUITE_P(
    Blocks, Completeness,
    testing::Values(modulartest::TheoryCase{1, 1, 8}, modulartest::TheoryCase{1, 2, 3},
                    modulartest::TheoryCase{1, 2, 6}, modulartest::TheoryCase{1, 3, 4},
                    modulartest::TheoryCase{4, 4, 1}, modulartest::TheoryCase{4, 4, 2},
                    modulartest::TheoryCase{5, 6, 3}),
    modulartest::theoryName);

// ---- Exceptional invariants ----

// The E6 invariant of su(2) level 10: |x0+x6|^2 + |x3+x7|^2 + |x4+x10|^2 in Dynkin labels.
TEST_F(Labels, E6InvariantGetsItsLabelsOnly) {
    theory(1, 1, 10);
    const invtest::Matrix Z = su2E6Matrix();
    BulkInvariant* E6 = keep(invtest::fromMatrix(Z).release());
    ASSERT_EQ(E6->simpleCurrentInvariant, 0);
    makeCurrent(E6);

    ASSERT_EQ(TotalIshibashi(), 6);
    std::set<int> dynkin;
    for (int m = 0; m < 6; m++) {
        dynkin.insert(dynkinOf(ishibashi(m).label));
        EXPECT_EQ(ishibashi(m).current, 0);
        EXPECT_EQ(ishibashi(m).multiplicity, 1);
    }
    EXPECT_EQ(dynkin, (std::set<int>{0, 3, 4, 6, 7, 10}));
    ASSERT_EQ(TotalBoundaries(), 6);
    for (int a = 0; a < 6; a++)
        EXPECT_EQ(boundary(a).label, a) << "numbered like the Ishibashi labels";
    EXPECT_EQ(isRefCoefAvailable(), 0) << "no boundary table yet";

    // The standard Klein bottle K_i = Z(i, i): every su(2) field is self-conjugate.
    std::vector<int> K(11, -1);
    resetExceptionalKleinBottle(K.data());
    for (int f = 0; f < 11; f++)
        EXPECT_EQ(K[f], dynkin.count(dynkinOf(f)) ? 1 : 0) << "Dynkin " << dynkinOf(f);
    const int* installed = crossbound_internal::ExceptionalKlein.X;
    EXPECT_EQ(std::vector<int>(installed, installed + 11), K) << "set by the orientifold reset";
    EXPECT_EQ(crossbound_internal::KleinBottleModInvNr, QueryBulkInvariant());
}

// The conjugation invariant of su(3) level 1 pairs 1 with its conjugate 2: one Ishibashi state,
// and the standard Klein bottle Z(i, i^c) is 1 on every field.
TEST_F(Labels, ConjugationInvariantOfSu3Level1) {
    theory(1, 2, 1);
    invtest::outputOf([] { setConjugationInvariant(); });
    ASSERT_EQ((*getCurrentBulk())->simpleCurrentInvariant, 0);
    EXPECT_EQ(TotalIshibashi(), 1);
    EXPECT_EQ(TotalBoundaries(), 1);
    EXPECT_EQ(ishibashi(0).label, 0);
    std::vector<int> K(3, -1);
    resetExceptionalKleinBottle(K.data());
    EXPECT_EQ(K, (std::vector<int>{1, 1, 1}));
}

// ---- Counts that do not match the invariant ----

// A diagonal invariant of su(2) level 20 claiming one Ishibashi label: the 21 labels are built
// all the same (never more than the room for the claimed count), with a report.
TEST_F(Labels, TooSmallIshibashiCountIsReportedAndTheLabelsGrow) {
    theory(1, 1, 20);
    BulkInvariant* bi = keep(allocNewBulkInvariant(nullptr));
    bi->IshibashiLabelCount = 1;
    makeCurrent(bi);
    int total = 0;
    const std::string err = modulartest::reportsOf([&] { total = TotalIshibashi(); });
    EXPECT_NE(err.find("Ishibashi label count error"), std::string::npos) << err;
    ASSERT_EQ(total, 21);
    for (int m = 0; m < 21; m++)
        EXPECT_EQ(ishibashi(m).label, m);
    EXPECT_EQ(TotalBoundaries(), 21);
    EXPECT_EQ(boundary(20).label, 20);
}

// A simple-current record of su(2) level 20 with the trivial group but only the vacuum on the
// diagonal: one Ishibashi label, 21 orbits and so 21 boundaries, far beyond the one claimed.
TEST_F(Labels, TooManyBoundariesAreReportedAndAllKept) {
    theory(1, 1, 20);
    BulkInvariant* bi = keep(allocNewBulkInvariant(nullptr));
    for (int i = 0; i < 21; i++) {
        bi->orbitlength[i] = bi->multiplicity[i] = 0;
        bi->orbits[i] = nullptr;
    }
    int* area = bi->Data.X + 3 * 21;
    area[0] = 0; // the vacuum's partner
    area[1] = 0; // and the current of its diagonal state
    bi->orbits[0] = area;
    bi->orbitlength[0] = bi->multiplicity[0] = 1;
    bi->trivial = 0;
    bi->IshibashiLabelCount = 1;
    makeCurrent(bi);
    int total = 0;
    const std::string err = modulartest::reportsOf([&] { total = TotalBoundaries(); });
    EXPECT_NE(err.find("Too many boundaries"), std::string::npos) << err;
    EXPECT_EQ(err.find("Ishibashi label count error"), std::string::npos) << err;
    EXPECT_EQ(TotalIshibashi(), 1);
    ASSERT_EQ(total, 21);
    for (int a = 0; a < 21; a++) {
        EXPECT_EQ(boundary(a).label, a);
        EXPECT_EQ(boundary(a).isfixed, 0);
    }
}

} // namespace
