// The orbit table a spectrum pass reads orbits from must give what the chiral algebra gives
// element by element: the image of every combination under every element, and whether it keeps
// the combination's exact weight.
#include "TensorTestHelpers.h"

#include "tensor/ChiralOrbitTable.h"
#include "tensor/Coset.h"
#include "tensor/CosetInternal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace tensortest;

namespace {

using V = std::vector<int>;

bool sameExactWeight(TensorProduct* TP, const int* a, const int* b) {
    rat ha;
    rat hb;
    TensorRatWeight(TP, a, &ha);
    TensorRatWeight(TP, b, &hb);
    return static_cast<long long>(ha.num) * hb.den == static_cast<long long>(hb.num) * ha.den;
}

// Every combination of the first fields of each factor against every element of the algebra;
// returns how many images their graded minimal form moved.
int expectTableMatchesAlgebra(TensorProduct* TP, int fieldsPerFactor) {
    const int N = TP->NTensor;
    coset_internal::ChiralOrbitTable orbit(TP);
    EXPECT_EQ(orbit.rows(), rowCount(TP->ChiralAlgebra));
    int moved = 0;
    V v(static_cast<std::size_t>(N) + 1, 0);
    V direct(static_cast<std::size_t>(N) + 1, 0);
    V fromTable(static_cast<std::size_t>(N) + 1, 0);
    int kept = 0;
    for (int code = 0;; code++) {
        int rest = code;
        for (int k = 0; k < N; k++) {
            v[static_cast<std::size_t>(k)] =
                std::min(rest % fieldsPerFactor, TP->TensorFactors[k]->Nprimaries - 1);
            rest /= fieldsPerFactor;
        }
        if (rest > 0)
            break;
        orbit.setField(v.data());
        // The elements kept, found with the factors read in groups, are those member keeps.
        std::vector<int> members;
        for (int J = 0; J < orbit.rows(); J++)
            if (orbit.member(J, fromTable.data()))
                members.push_back(J);
        EXPECT_EQ(orbit.keptElements(), members) << "combination " << code;
        orbit.prepareGradedImages();
        for (int J = 0; J < orbit.rows(); J++) {
            tensorSimpleAction(TP, rowOf(TP->ChiralAlgebra, J), v.data(), direct.data());
            // The graded minimal form of the image and its weight, as the table gives them.
            V form = direct;
            GradedMinimalForm(TP, form.data());
            const double h = orbit.gradedImage(J, fromTable.data());
            EXPECT_EQ(V(fromTable.begin(), fromTable.begin() + N),
                      V(form.begin(), form.begin() + N))
                << "graded form of element " << J << " on combination " << code;
            EXPECT_EQ(h, tensorWeight(TP, form.data())) << J << " " << code;
            moved += form != direct ? 1 : 0;
            orbit.image(J, fromTable.data());
            EXPECT_EQ(V(fromTable.begin(), fromTable.begin() + N),
                      V(direct.begin(), direct.begin() + N))
                << "element " << J << " on combination " << code;
            if (testing::Test::HasFailure())
                return moved;
            const bool same = sameExactWeight(TP, v.data(), direct.data());
            EXPECT_EQ(orbit.member(J, fromTable.data()), same) << J << " " << code;
            kept += same ? 1 : 0;
        }
    }
    // The identity keeps every weight, so a table that kept nothing would be suspect.
    EXPECT_GT(kept, 0);
    return moved;
}

// D5 at level 1 and six N=2 minimal models at k = 2 extended by the world-sheet supercurrent
// (weight 5/8 + 6/16 = 1), as "build cy 222222" makes it: the gravitino has order 8 (the D5
// spinor 4, the minimal models 2(k+2)), and the columns are the cyclic groups it generates,
// walked in chains of it.
TEST_F(TensorTest, OrbitTableOfAnExtendedMinimalProduct) {
    SpectrumData* m2 = block(27, 2, 2);
    addFactors(TP, {block(4, 5, 1), m2, m2, m2, m2, m2, m2});
    const V J(7, 1);
    ASSERT_EQ(addNewCurrent(TP, J.data()), 0);
    computeChiralAlgebra(TP);
    ASSERT_EQ(rowCount(TP->ChiralAlgebra), 8);
    EXPECT_EQ(expectTableMatchesAlgebra(TP, 3), 0) << "ungraded";
}

// "build cy 6666" graded (the D5 spinor and vector sectors paired, the minimal models by their
// own grading; gravitino weight 5/8 + 4 x 3/32 = 1): an image is brought to its graded minimal
// form, with an odd number of moves evened out at the factor of the smallest weight difference.
TEST_F(TensorTest, GradedOrbitTableOfAnExtendedMinimalProduct) {
    SpectrumData* d5 = block(4, 5, 1);
    SM_grade(d5, 2);
    SpectrumData* m6 = block(27, 2, 6);
    addFactors(TP, {d5, m6, m6, m6, m6});
    const V J(5, 1);
    ASSERT_EQ(addNewCurrent(TP, J.data()), 0);
    setIntPar("Graded", 1);
    computeChiralAlgebra(TP);
    ASSERT_GT(rowCount(TP->ChiralAlgebra), TP->NGradChirCurr);
    EXPECT_GT(expectTableMatchesAlgebra(TP, 4), 0);
}

// A1 at level 4 three times with two currents: columns of Z2 on labels that are not the
// currents' own fields (the current of A1 is the field of highest spin).
TEST_F(TensorTest, OrbitTableOfTwoCurrents) {
    SpectrumData* k4 = block(1, 1, 4);
    addFactors(TP, {k4, k4, k4});
    for (const V& J : {V{1, 1, 0}, V{0, 1, 1}})
        ASSERT_EQ(addNewCurrent(TP, J.data()), 0);
    computeChiralAlgebra(TP);
    ASSERT_EQ(rowCount(TP->ChiralAlgebra), 4);
    EXPECT_EQ(expectTableMatchesAlgebra(TP, 5), 0) << "ungraded";
}

} // namespace
