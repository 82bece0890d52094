// The search context: its counts on su(2) at level k (k + 1 Cardy boundaries, two orientifolds of
// tensions (2/sqrt(k+2)) cos(pi/(2k+4)) and (2/sqrt(k+2)) sin(pi/(2k+4)) for even k, 0 for odd k),
// its cache per bulk invariant, and the numbering of usable boundaries beyond the label limit.
#include "boundary/CrossBoundTestHelpers.h"

#include "base/Parameters.h"
#include "string/Intersections.h"
#include "string/SearchSetup.h"
#include "string/Tadpole.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace {

// Field contents for the current block, as a string reading would provide them: the context asks
// only whether there are any.
class WithContents {
public:
    WithContents()
        : sd_(getCurrentSD()), info_(4 * static_cast<std::size_t>(sd_->Nprimaries), 0),
          old_(sd_->info) {
        sd_->info = info_.data();
    }
    ~WithContents() { sd_->info = old_; }
    WithContents(const WithContents&) = delete;
    WithContents& operator=(const WithContents&) = delete;

private:
    SpectrumData* sd_;
    std::vector<int> info_;
    int* old_;
};

class SearchContext : public boundarytest::BoundaryTest {
protected:
    static SearchData* build() {
        SearchData* SD = nullptr;
        invtest::outputOf([&] { SD = initStandardModelSearch(); });
        return SD;
    }
};

TEST_F(SearchContext, CountsOfSu2AgainstTheClosedForms) {
    for (int k = 1; k <= 4; k++) {
        SCOPED_TRACE(testing::Message() << "k=" << k);
        theory(1, 1, k);
        WithContents contents;
        SearchData* SD = build();
        ASSERT_NE(SD, nullptr);
        EXPECT_EQ(SD->Bnd, k + 1);
        EXPECT_EQ(SD->Ishi, k + 1);
        EXPECT_EQ(SD->Ori, 2);
        EXPECT_EQ(SD->Ori_eff, k % 2 == 0 ? 2 : 1);
        const double x = std::numbers::pi / (2 * (k + 2)), n = 2 / std::sqrt(k + 2.0);
        EXPECT_NEAR(SD->OI[0]->Tension, n * std::cos(x), 1e-9);
        EXPECT_NEAR(SD->OI[1]->Tension, k % 2 == 0 ? n * std::sin(x) : 0.0, 1e-9);
        EXPECT_EQ(SD->bndcnt, k + 1);
        for (int b = 0; b < SD->Bnd; b++) {
            EXPECT_EQ(SD->BoundaryMap[b], b);
            EXPECT_EQ(SD->InverseBoundaryMap[b], b);
        }
        // Every orientifold's boundary conjugates are there for the searches.
        for (int o = 0; o < SD->Ori; o++)
            EXPECT_EQ(SD->OI[o]->ConjugatesAvailable, SD->OI[o]->OrientifoldNr);
    }
}

TEST_F(SearchContext, BuiltOncePerBulkInvariant) {
    theory(1, 1, 2);
    // A build without field contents fails and is tried again at the next call.
    EXPECT_EQ(build(), nullptr);
    WithContents contents;
    SearchData* SD = build();
    ASSERT_NE(SD, nullptr);
    // Marks that only a rebuild overwrites.
    SD->bndcnt = -5;
    SD->Ori = -5;
    EXPECT_EQ(build(), SD);
    EXPECT_EQ(SD->bndcnt, -5);
    EXPECT_EQ(SD->Ori, -5);
    // The counts alone are refreshed on request.
    SD->Bnd = SD->Ishi = -1;
    EXPECT_EQ(getSearchData(), SD);
    EXPECT_EQ(SD->Bnd, 3);
    EXPECT_EQ(SD->Ishi, 3);
    EXPECT_EQ(SD->bndcnt, -5);
    invtest::outputOf([] { bulkInvariantChanged(); });
    EXPECT_EQ(build(), SD);
    EXPECT_EQ(SD->bndcnt, 3);
    EXPECT_EQ(SD->Ori, 2);
}

TEST_F(SearchContext, NumberingOnItsOwnReadsTheCurrentInvariant) {
    theory(1, 1, 2);
    {
        WithContents contents;
        ASSERT_NE(build(), nullptr);
    }
    theory(1, 1, 4);
    int count = 0;
    invtest::outputOf([&] { count = getUsableBoundaries(); });
    EXPECT_EQ(count, 5);
    const SearchData* SD = getSearchData();
    EXPECT_EQ(SD->Ori_eff, 2);
    for (int b = 0; b < 5; b++)
        EXPECT_EQ(SD->InverseBoundaryMap[SD->BoundaryMap[b]], b);
}

// Without the superstring reading the intersections cannot be prepared; the context is built
// all the same, and its classes stay unprepared.
TEST_F(SearchContext, BuiltWhenIntersectionsCannotBePrepared) {
    theory(1, 1, 3);
    WithContents contents;
    const int before = getIntersectionsInitiated();
    SearchData* SD = build();
    ASSERT_NE(SD, nullptr);
    EXPECT_EQ(SD->bndcnt, 4);
    EXPECT_EQ(getIntersectionsInitiated(), before);
    EXPECT_NE(getIntersectionsInitiated(), QueryBulkInvariant());
}

// Labels 0 .. limit (or .. currents) keep their own label; the rest only as images.
struct Numbering {
    const char* what;
    int limit, currents;
    std::vector<std::vector<int>> conjugates;
    std::vector<int> map;
    int count;
    bool limited;
};

TEST(UsableBoundaries, NumberingBeyondTheLimit) {
    // Involutions of six labels: o0 swaps 0/5 and 2/3, o1 swaps 2/5, o2 swaps 0/4.
    const std::vector<int> o0{5, 1, 3, 2, 4, 0}, o1{0, 1, 5, 3, 4, 2}, o2{4, 1, 2, 3, 0, 5};
    const Numbering cases[] = {
        {"all below the limit", 5, 0, {o0, o1}, {0, 1, 2, 3, 4, 5}, 6, false},
        // 5 is the image of 0 and gets index 2 at i = 0; 2, the image of 5 under o1, gets 3 when
        // the pass reaches 5; 3, the image of 2, is never reached: there is one pass.
        {"one pass over the images", 1, 0, {o0, o1}, {0, 1, 3, -1, -1, 2}, 4, true},
        // Both images of 0 are new: they are numbered in the order of the orientifolds.
        {"orientifolds in list order", 1, 0, {o0, o2}, {0, 1, -1, -1, 3, 2}, 4, true},
        {"orientifolds in list order", 1, 0, {o2, o0}, {0, 1, -1, -1, 2, 3}, 4, true},
        {"no orientifold", 1, 0, {}, {0, 1, -1, -1, -1, -1}, 2, true},
        {"simple currents beyond the limit", 1, 4, {}, {0, 1, 2, 3, 4, -1}, 5, true},
        {"limit one below the last label", 4, 0, {}, {0, 1, 2, 3, 4, -1}, 5, true},
    };
    for (const Numbering& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<const int*> conj;
        for (const std::vector<int>& o : c.conjugates)
            conj.push_back(o.data());
        std::vector<int> map(6, -7), inverse(6, -7);
        int count = 0;
        testsupport::Captured cap;
        count = numberUsableBoundaries(6, c.limit, c.currents, conj, map.data(), inverse.data());
        const std::string said = cap.out() + cap.err();
        EXPECT_EQ(count, c.count);
        EXPECT_EQ(map, c.map);
        for (int b = 0; b < 6; b++) {
            if (map[b] >= 0) {
                EXPECT_EQ(inverse[map[b]], b) << b;
            }
        }
        const std::size_t at = said.find("Maximal number of boundaries reached");
        EXPECT_EQ(at != std::string::npos, c.limited) << said;
        if (at != std::string::npos) {
            EXPECT_EQ(said.find("Maximal number", at + 1), std::string::npos) << "said once";
        }
    }
}

} // namespace
