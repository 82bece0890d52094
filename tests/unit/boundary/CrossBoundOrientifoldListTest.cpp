// The list of inequivalent orientifolds. su(2) at level k with its diagonal invariant has two
// choices, K = 0 with tension (2/sqrt(k+2)) sin(pi/(2(k+2))) (zero at odd k) and K = J with
// (2/sqrt(k+2)) cos(pi/(2(k+2))); nothing identifies them. su(2) at level 4 with the D-type
// invariant (bulk group {0, J}) has four choices; J lies in the bulk group, so K = J is the shift
// of K = 0 and only the crosscap sign matters: +1 gives tension 1/sqrt2, -1 gives 1/sqrt6.
#include "CrossBoundTestHelpers.h"
#include "modular/ProductTestHelpers.h"

#include "base/SystemUtility.h"
#include "base/Terminal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <numbers>
#include <vector>

using namespace boundarytest;
namespace cbi = crossbound_internal;

namespace {

class OrientifoldList : public BoundaryTest {
protected:
    void TearDown() override {
        parameter("Orientifold info_level") = 0;
        cbi::N_Ori = 0; // the other tests start without a list
        BoundaryTest::TearDown();
    }
    static int quietKlein(int K) {
        int r = 0;
        invtest::outputOf([&] { r = setKlein(K); });
        return r;
    }
    static int quietLoad() {
        int n = 0;
        invtest::outputOf([&] { n = loadOrientifolds(); });
        return n;
    }
    // su(2) at level 4 with its D-type invariant, set up for the open string.
    bool dType() {
        theory(1, 1, 4);
        return simpleCurrentInvariant(1) != nullptr && initializeOpenString() == 0;
    }
    static std::vector<int> rowClasses() {
        std::vector<int> c;
        for (const cbi::OrientifoldRow& r : cbi::AllOri)
            c.push_back(r.cls);
        return c;
    }
    static std::vector<std::vector<int>> rowChoices() {
        std::vector<std::vector<int>> v;
        for (const cbi::OrientifoldRow& r : cbi::AllOri) {
            std::vector<int> x{r.K};
            x.insert(x.end(), r.signs.begin(), r.signs.end());
            v.push_back(x);
        }
        return v;
    }
};

TEST_F(OrientifoldList, Su2ListAgainstTheClosedForms) {
    for (int k = 1; k <= 4; k++) {
        SCOPED_TRACE(testing::Message() << "k=" << k);
        theory(1, 1, k);
        ASSERT_EQ(initializeOpenString(), 0);
        OrientifoldInfo* user = getCurrentOrientifold();
        ASSERT_EQ(quietLoad(), 2);
        const double x = std::numbers::pi / (2 * (k + 2)), n = 2 / std::sqrt(k + 2.0);
        OrientifoldInfo* first = getOrientifoldByNumber(0);
        OrientifoldInfo* second = getOrientifoldByNumber(1);
        EXPECT_EQ(first->KBC, 1);
        EXPECT_NEAR(first->Tension, n * std::cos(x), 1e-9);
        EXPECT_EQ(second->KBC, 0);
        EXPECT_NEAR(second->Tension, k % 2 == 0 ? n * std::sin(x) : 0.0, 1e-9);
        EXPECT_EQ(first->SequenceNumber, 0);
        EXPECT_EQ(second->SequenceNumber, 1);
        EXPECT_EQ(TotalOrientifoldsWithTension(), k % 2 == 0 ? 2 : 1);
        EXPECT_EQ(getCurrentOrientifold(), user) << "the list leaves the current record alone";
        EXPECT_EQ(user->KBC, 0);
        // The diagonal invariant's group has no cyclic factor: the choice is K alone.
        const int mult = (*getCurrentBulk())->MD->dg->Mult;
        ASSERT_EQ(mult, 0);
        int withJ = -1, without = -1;
        invtest::outputOf([&] {
            withJ = findOrientifoldClass(mult, 1, nullptr);
            without = findOrientifoldClass(mult, 0, nullptr);
        });
        EXPECT_EQ(withJ, 0);
        EXPECT_EQ(without, 1);
    }
}

// Ctrl-C during the collection leaves no list behind that would pass for complete: the next
// request builds it whole.
TEST_F(OrientifoldList, AStoppedCollectionIsBuiltAgainNextTime) {
    ASSERT_TRUE(dType());
    stopSignal = 1;
    int n = -1;
    const std::string out = invtest::outputOf([&] { n = loadOrientifolds(); }).first;
    stopSignal = 0;
    EXPECT_EQ(n, 0);
    EXPECT_NE(out.find("Orientifold collection stopped"), std::string::npos) << out;
    EXPECT_EQ(quietLoad(), 2);
    EXPECT_NEAR(getOrientifoldByNumber(0)->Tension, 1 / std::sqrt(2.0), 1e-9);
    EXPECT_NEAR(getOrientifoldByNumber(1)->Tension, 1 / std::sqrt(6.0), 1e-9);
}

TEST_F(OrientifoldList, KleinCurrentsOfTheDType) {
    ASSERT_TRUE(dType());
    int built = 0;
    invtest::outputOf([&] { built = initKleinInfo(); });
    ASSERT_EQ(built, 1);
    // J is a bulk current: admissible, in the class of the identity, reached through J itself.
    EXPECT_EQ(cbi::OrderTwoCurrents, std::vector<int>{1});
    EXPECT_EQ(cbi::SquareCurrents, std::vector<int>{0});
    EXPECT_EQ(cbi::CurrentRoots, std::vector<int>{0});
    EXPECT_EQ(cbi::KleinInfo[0].rep, 0);
    EXPECT_EQ(cbi::KleinInfo[1].rep, 0);
    EXPECT_EQ(cbi::KleinInfo[1].bulk, 1);
}

TEST_F(OrientifoldList, DTypeRowsClassesAndIdentification) {
    ASSERT_TRUE(dType());
    ASSERT_EQ(quietLoad(), 2);
    EXPECT_EQ(rowChoices(), (std::vector<std::vector<int>>{{0, 1}, {0, -1}, {1, 1}, {1, -1}}));
    EXPECT_EQ(rowClasses(), (std::vector<int>{0, 1, 0, 1}));
    const double expected[] = {1 / std::sqrt(2.0), 1 / std::sqrt(6.0)};
    for (int i = 0; i < 2; i++) {
        const OrientifoldInfo* OI = getOrientifoldByNumber(i);
        EXPECT_EQ(OI->KBC, 0) << i;
        EXPECT_EQ(OI->CrosscapSigns[0], i == 0 ? 1 : -1) << i;
        EXPECT_NEAR(OI->Tension, expected[i], 1e-9) << i;
    }
    ASSERT_EQ(quietKlein(1), 1);
    int minus = -1;
    ASSERT_EQ(setCrosscapSigns(1, &minus), 1);
    EXPECT_EQ(matchToNewOrientifoldList(getCurrentOrientifold()), 1);
}

// The maps on the D-type: the shift by the identity and the reduction by the square of the
// identity give the choice back; the shift by J moves K = 0 to K = J and keeps the sign.
TEST_F(OrientifoldList, MapsOfTheDType) {
    ASSERT_TRUE(dType());
    int built = 0;
    invtest::outputOf([&] { built = initKleinInfo(); });
    ASSERT_EQ(built, 1);
    for (int K : {0, 1})
        for (int s : {1, -1}) {
            SCOPED_TRACE(testing::Message() << "K=" << K << " s=" << s);
            int in[] = {K, s}, out[] = {-7, -7};
            computeOrientifoldShift(in, out, 0);
            EXPECT_EQ(out[0], K);
            EXPECT_EQ(out[1], s);
            computeOrientifoldRootReduction(in, out, 0);
            EXPECT_EQ(out[0], K);
            EXPECT_EQ(out[1], s);
            computeOrientifoldShift(in, out, 1);
            EXPECT_EQ(out[0], 1 - K);
            EXPECT_EQ(out[1], s);
        }
}

// An odd number of simple currents: one orientifold, K = 0, without enumeration.
TEST_F(OrientifoldList, OddNumberOfCurrentsGivesOneOrientifold) {
    theory(1, 2, 1);
    ASSERT_EQ(initializeOpenString(), 0);
    ASSERT_EQ(quietLoad(), 1);
    EXPECT_EQ(getOrientifoldByNumber(0)->KBC, 0);
    EXPECT_NEAR(getOrientifoldByNumber(0)->Tension, 1 / std::sqrt(3.0), 1e-9);
    EXPECT_NE(cbi::KleinInfoInitialized, QueryBulkInvariant());
}

// The table prints descending tension with K and the sign of the trivial group left out.
TEST_F(OrientifoldList, TableOfSu2LevelTwo) {
    theory(1, 1, 2);
    ASSERT_EQ(initializeOpenString(), 0);
    quietLoad();
    testsupport::Captured cap;
    printOrientifoldList();
    EXPECT_EQ(cap.out(), "-------------------------------------------------\n"
                         "                  Orientifolds                        \n"
                         "-------------------------------------------------\n"
                         "\n  Nr. |         Tension  |   KBC | Crosscap signs\n"
                         "-------------------------------------------------\n"
                         "    0 |        0.9238795 |     1 | \n"
                         "    1 |        0.3826834 |     0 | \n"
                         "-------------------------------------------------\n\n");
}

// The current invariant's list: the maps join only choices of equal tension without complaint,
// the list runs by descending tension, and every enumerated choice is identified with an entry
// of its class's tension. True when the bulk group has two even factors, whose signs then run
// (+,+), (+,-), (-,+), (-,-) for each K.
bool expectConsistentList() {
    const BulkInvariant* bi = *getCurrentBulk();
    EXPECT_EQ(initializeOpenString(), 0);
    int N = 0;
    const auto [out, err] = invtest::outputOf([&] { N = loadOrientifolds(); });
    EXPECT_EQ(err, "");
    EXPECT_GT(N, 0);
    std::vector<double> classTension(static_cast<std::size_t>(N), -1);
    for (std::size_t r = 0; r < cbi::AllOri.size(); r++) {
        double& T = classTension[static_cast<std::size_t>(cbi::AllOri[r].cls)];
        if (T < 0)
            T = cbi::Tensions[r];
        EXPECT_NEAR(cbi::Tensions[r], T, 1e-7) << "row " << r;
    }
    for (int i = 1; i < N; i++)
        EXPECT_GE(getOrientifoldByNumber(i - 1)->Tension,
                  getOrientifoldByNumber(i)->Tension - 1e-7);
    const int mult = bi->MD->dg->Mult;
    for (const cbi::OrientifoldRow& r : cbi::AllOri) {
        int found = -1;
        std::vector<int> signs = r.signs;
        invtest::outputOf([&] { found = findOrientifoldClass(mult, r.K, signs.data()); });
        EXPECT_GE(found, 0);
        if (found < 0)
            continue;
        EXPECT_NEAR(getOrientifoldByNumber(found)->Tension,
                    classTension[static_cast<std::size_t>(r.cls)], 1e-7);
    }
    const int* orders = bi->MD->dg->Orders;
    if (mult != 2 || orders[0] % 2 != 0 || orders[1] % 2 != 0)
        return false;
    std::vector<std::vector<int>> firstK;
    for (const cbi::OrientifoldRow& r : cbi::AllOri)
        if (r.K == cbi::AllOri[0].K)
            firstK.push_back(r.signs);
    EXPECT_EQ(firstK, (std::vector<std::vector<int>>{{1, 1}, {1, -1}, {-1, 1}, {-1, -1}}));
    return true;
}

TEST_F(OrientifoldList, EverySymmetricInvariantOfSomeBlocks) {
    struct Theory {
        int type, rank, level;
    };
    parameter("Reject permutations") = 0;
    for (const Theory& t : {Theory{4, 4, 1}, Theory{1, 1, 8}, Theory{1, 3, 2}, Theory{4, 6, 1}})
        for (int n = 1; n <= 12; n++) {
            theory(t.type, t.rank, t.level);
            if (!simpleCurrentInvariant(n))
                break;
            if ((*getCurrentBulk())->symmetric != 1)
                continue;
            SCOPED_TRACE(testing::Message()
                         << t.type << "," << t.rank << "," << t.level << " invariant " << n);
            expectConsistentList();
        }
}

// Products of su(2) at level 1 with the diagonal invariant: every current K is admissible and
// its own class modulo squares, and exchanging factors identifies the K with the same number of
// factor currents. Only K = the product of all currents has a tension, the product of the
// factors' (2/sqrt3) cos(pi/6) = 1.
class ProductList : public OrientifoldList {
protected:
    void SetUp() override {
        OrientifoldList::SetUp();
        TP = producttest::startProductTest();
    }
    void TearDown() override {
        setProcessorClock(nullptr);
        producttest::withdrawProduct(TP);
        OrientifoldList::TearDown();
    }
    void su2LevelOne(int factors) {
        su2Levels(std::vector<int>(static_cast<std::size_t>(factors), 1));
    }
    void su2Levels(const std::vector<int>& levels) {
        resetInvariantStore();
        resetCoset(TP);
        for (int k : levels)
            addTensorFactor(TP, SM_getData(1, 1, k), 0);
        invtest::outputOf([&] { ASSERT_EQ(computeTensorSpectrum(TP), 0); });
        producttest::makeCurrent(TP);
        ASSERT_EQ(initializeOpenString(), 0);
    }
    // The number of factor currents in current K of the product.
    int factorCurrents(int K) {
        int n = 0;
        const int* labels = TensorField(TP, K);
        for (int k = 0; k < TP->NTensor; k++)
            n += labels[k] != 0;
        return n;
    }
    // Classes never join currents with different numbers of factor currents.
    void expectClassesRespectTheCount() {
        std::vector<int> count(cbi::AllOri.size(), -1);
        for (const cbi::OrientifoldRow& r : cbi::AllOri) {
            int& c = count[static_cast<std::size_t>(r.cls)];
            const int n = factorCurrents(r.K);
            if (c == -1)
                c = n;
            EXPECT_EQ(c, n) << "K=" << r.K;
        }
    }
    TensorProduct* TP = nullptr;
};

TEST_F(ProductList, PermutationsOfIdenticalFactorsIdentifyChoices) {
    struct Case {
        int factors, reject, expected;
    };
    for (const Case& c : {Case{2, 1, 3}, Case{2, 0, 4}, Case{8, 1, 9}, Case{8, 0, 256}}) {
        SCOPED_TRACE(testing::Message() << c.factors << " factors, reject " << c.reject);
        parameter("Reject permutations") = c.reject;
        su2LevelOne(c.factors);
        std::string out;
        int n = 0;
        out = invtest::outputOf([&] { n = loadOrientifolds(); }).first;
        EXPECT_EQ(n, c.expected);
        EXPECT_EQ(out.find("Large orientifold degeneracy: 1 x 1 x 40320") != std::string::npos,
                  c.factors == 8 && c.reject == 1);
        EXPECT_EQ(out.find("aborted"), std::string::npos);
        EXPECT_EQ(TotalOrientifoldsWithTension(), 1);
        const OrientifoldInfo* first = getOrientifoldByNumber(0);
        EXPECT_EQ(factorCurrents(first->KBC), c.factors);
        EXPECT_NEAR(first->Tension, 1.0, 1e-9);
        expectClassesRespectTheCount();
    }
}

// su(2) level 4 squared: the invariants of its Z2 x Z2 centre, one with two even factors.
TEST_F(ProductList, EverySymmetricInvariantOfSu2LevelFourSquared) {
    parameter("Reject permutations") = 0;
    int twoEvenFactors = 0;
    for (int n = 1; n <= 12; n++) {
        su2Levels({4, 4});
        if (!simpleCurrentInvariant(n))
            break;
        if ((*getCurrentBulk())->symmetric != 1)
            continue;
        SCOPED_TRACE(testing::Message() << "invariant " << n);
        twoEvenFactors += expectConsistentList();
    }
    EXPECT_GT(twoEvenFactors, 0);
}

// su(2) level 1 squared with the automorphism invariant of the current (J,J) of weight 1/2: the
// currents (J,0) and (0,J) have charge 1/2 under it and are no Klein bottle currents; (J,J) is a
// bulk current and lies in the class of the identity.
TEST_F(ProductList, HalfChargeUnderAnOrderTwoBulkCurrentIsNotAdmissible) {
    parameter("Reject permutations") = 0;
    bool seen = false;
    for (int n = 1; n <= 8 && !seen; n++) {
        su2LevelOne(2);
        if (!simpleCurrentInvariant(n))
            break;
        const SCData* MD = (*getCurrentBulk())->MD;
        if (MD->dg->Order != 2 || factorCurrents(MD->map[1]) != 2)
            continue;
        seen = true;
        ASSERT_EQ(initializeOpenString(), 0);
        ASSERT_GT(quietLoad(), 0);
        for (int K = 0; K < 4; K++)
            EXPECT_EQ(cbi::KleinInfo[static_cast<std::size_t>(K)].rep,
                      factorCurrents(K) == 1 ? -2 : 0)
                << K;
        for (const cbi::OrientifoldRow& r : cbi::AllOri)
            EXPECT_NE(factorCurrents(r.K), 1) << r.K;
    }
    EXPECT_TRUE(seen);
}

// A processor clock that runs a minute per reading makes every step loop give up after eleven
// fruitless steps: equivalent choices may stay apart, which is announced, but inequivalent ones
// never join.
TEST_F(ProductList, GivingUpIsAnnouncedAndKeepsClassesApart) {
    su2LevelOne(8);
    setProcessorClock([]() -> std::clock_t {
        static std::clock_t t = 0;
        return t += 60 * 1000000L;
    });
    std::string out;
    int n = 0;
    out = invtest::outputOf([&] { n = loadOrientifolds(); }).first;
    setProcessorClock(nullptr);
    EXPECT_NE(out.find("Analyzed 11 permutations; giving up at time"), std::string::npos);
    EXPECT_NE(out.find("Orientifold identification aborted\n"), std::string::npos);
    EXPECT_GT(n, 9);
    expectClassesRespectTheCount();
}

} // namespace
