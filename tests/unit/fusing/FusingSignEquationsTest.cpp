#include "FusingTestHelpers.h"

#include <algorithm>
#include <array>
#include <string>

using namespace fusingtest;

namespace {

// The search on the signed terms of one equation (target last).
TEST(SignSearch, Cases) {
    struct Case {
        const char* what;
        std::vector<double> eq;
        int first;
        std::vector<int> flips; // empty: no result
    };
    const double h = 0.7071067811865476;
    const std::vector<Case> cases = {
        // -1 + 1 = 0 needs no flip; 1 + 1 = 0 needs the second term flipped.
        {"unique", {-1.0, 1.0, 0.0}, 0, {0, 0}},
        {"unique flipped", {1.0, 1.0, 0.0}, 0, {0, 1}},
        // h h + h h - 1 = 0 has one solution; zero terms keep flip 0 and the reference moves on.
        {"zero terms", {0.0, -1.0, 0.0, 0.5, 0.5, 0.0}, 1, {0, 0, 0, 0, 0}},
        {"unsolvable", {1.0, 0.3, 0.0}, 0, {}},
        {"all zero", {0.0, 0.0, 0.0}, -1, {}},
        // Four equal magnitudes: 1 - 1 + 1 - 1 in several ways.
        {"ambiguous", {h, h, h, h, 0.0}, -2, {}},
        // Two pairs: |E0| = |E1|, |E2| = |E3|; the second solution found is returned.
        {"paired 01|23", {1.0, 1.0, 0.5, 0.5, 0.0}, -3, {0, 1, 1, 0}},
        {"paired 02|13", {1.0, 0.5, 1.0, 0.5, 0.0}, -4, {0, 1, 1, 0}},
        {"paired 03|12", {1.0, 0.5, 0.5, 1.0, 0.0}, -5, {0, 1, 0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<double> eq = c.eq;
        int first = -1;
        const int* sol = nullptr;
        {
            Captured quiet;
            sol = FindSignFlips(eq.data(), static_cast<int>(eq.size()) - 1, &first);
        }
        EXPECT_EQ(first, c.first);
        ASSERT_EQ(sol != nullptr, !c.flips.empty());
        if (sol) {
            EXPECT_EQ(std::vector<int>(sol, sol + c.flips.size()), c.flips);
        }
    }
}

TEST(SignSearch, UnsolvableIsReported) {
    std::vector<double> eq = {1.0, 0.3, 0.0};
    int first = -1;
    Captured cap;
    EXPECT_EQ(FindSignFlips(eq.data(), 2, &first), nullptr);
    EXPECT_NE(cap.err().find("Unsolvable equation"), std::string::npos);
}

// x0 + x1 = 1, x1 + x2 = 0, then x0 + x2 = 1 is implied, x0 + x2 = 0 contradicts; a repeated
// unknown cancels. The stored rows stay reduced: every pivot in its own row only.
TEST(SignStore, ReducesAndDetectsContradictions) {
    SignEquationStore s(4);
    EXPECT_EQ(s.add({0, 1}, 1), 1);
    EXPECT_EQ(s.add({1, 2}, 0), 1);
    EXPECT_EQ(s.add({0, 2}, 1), 0);
    EXPECT_EQ(s.add({2, 0}, 0), -1);
    EXPECT_EQ(s.add({3, 3}, 0), 0);
    EXPECT_EQ(s.add({3, 3}, 1), -1);
    for (int r = 0; r < s.equations(); r++)
        for (int v : s.row(r))
            if (s.pivotOf(v) >= 0) {
                EXPECT_EQ(s.pivotOf(v), r);
            }
    std::vector<int> bits(4, 0);
    s.solve(bits);
    EXPECT_EQ(bits[0] ^ bits[1], 1);
    EXPECT_EQ(bits[1] ^ bits[2], 0);
}

class SignEquations : public FusingTest {
protected:
    // Every equation's signs into the store; false on a contradiction.
    static bool collect(int max) {
        getPentagonVariables(max);
        resetSignEquations();
        return getPentagonEquations(max) == 1 && getHexagonEquations(max) == 1;
    }
    // The solution with every free bit 0, applied as flips.
    static void useSolution() {
        flippedvars.assign(PentagonVariables.Nfill, 0);
        PolyNom->solve(flippedvars);
    }
};

// Ising's signs are right already: the equations hold with no flip, and the vacuum entry's
// equation cancels out entirely.
TEST_F(SignEquations, IsingNeedsNoFlip) {
    useIsing();
    Captured quiet;
    ASSERT_TRUE(collect(3));
    useSolution();
    for (int f : flippedvars)
        EXPECT_EQ(f, 0);
    EXPECT_EQ(FailedEquations.Nfill, 0);
}

// Free bosons: with every sign +1 the hexagons fail; the solution of the sign equations makes
// every equation hold, also for 6 and 10 fields, whose self-conjugate field N/2 has the
// Frobenius-Schur indicator -1.
TEST_F(SignEquations, BosonSignsAreSolved) {
    for (int N : {4, 6, 10}) {
        SCOPED_TRACE(N);
        useBoson(N);
        Captured cap;
        ASSERT_TRUE(collect(N));
        useSolution();
        EXPECT_EQ(checkPolynomial(N, 1), 0) << cap.out();
    }
}

// The orbifold's computed signs solve its equations: nothing contradicts, and the solution with
// every free bit 0 keeps every equation holding.
TEST_F(SignEquations, OrbifoldEquationsAreConsistent) {
    for (int N : {2, 3, 4}) {
        SCOPED_TRACE(N);
        use(SM_getData(7, N, 0));
        Captured cap;
        ASSERT_TRUE(collect(fusingLabelBound()));
        useSolution();
        EXPECT_EQ(checkPolynomial(99, 1), 0) << cap.out();
    }
}

} // namespace

namespace {

// A pentagon whose four terms have magnitudes 1, 1, 2, 2 fixes only the relative sign within
// each pair: two equations, right-hand side with term 0 and term 1 with term 2.
TEST_F(SignEquations, PairedPentagonGivesTwoRelativeEquations) {
    useIsing();
    getPentagonVariables(3);
    resetSignEquations();
    PentagonData d;
    d.RHS1 = 1.0;
    d.RHS2 = 1.0;
    const int rhs[2][6] = {{0, 0, 2, 2, 2, 2}, {1, 1, 2, 2, 2, 2}};
    for (int f = 0; f < 2; f++)
        for (int m = 0; m < 6; m++)
            d.rhslbls[m][f] = rhs[f][m];
    const int terms[3][6] = {{0, 1, 2, 2, 2, 2}, {1, 0, 2, 2, 2, 2}, {2, 0, 1, 2, 2, 1}};
    const double values[3] = {1.0, 2.0, -2.0};
    // Factors 1 and 2 stay the vacuum entry F_00[0 0 0 0] and cancel between the terms.
    for (int t = 0; t < 3; t++) {
        d.addTerm();
        d.contribs[t] = {values[t], 1.0, 1.0};
        for (int m = 0; m < 6; m++)
            d.conlbls[t][m][0] = terms[t][m];
    }
    EXPECT_EQ(addPentagonEquation(&d), 0);
    EXPECT_EQ(PolyNom->equations(), 2);
    EXPECT_EQ(FailedEquations.Nfill, 0);
    auto row = [](std::array<int, 6> l) {
        return findVectorInCollection(&PentagonVariables, l.data());
    };
    // -1 + 1 = 0 fixes x(00) + x(11) + x(01) = 0, and 2 - 2 = 0 fixes x(10) + x(20[1221]) = 0.
    const int x00 = row({0, 0, 2, 2, 2, 2}), x11 = row({1, 1, 2, 2, 2, 2}),
              x01 = row({0, 1, 2, 2, 2, 2}), x10 = row({1, 0, 2, 2, 2, 2}),
              x20 = row({2, 0, 1, 2, 2, 1});
    for (int x : {x00, x11, x01, x10, x20})
        ASSERT_GE(x, 0);
    EXPECT_EQ(PolyNom->add({x00, x11, x01}, 0), 0);
    EXPECT_EQ(PolyNom->add({x10, x20}, 0), 0);
    EXPECT_EQ(PolyNom->add({x10, x20}, 1), -1);
    EXPECT_EQ(PolyNom->add({x00, x10}, 0), 1);
}

} // namespace

namespace {

class UnusedOperations : public FusingTest {
protected:
    static int row(std::array<int, 6> labels) {
        return findVectorInCollection(&PentagonVariables, labels.data());
    }
    static std::vector<int> listOf(const int* list) {
        std::vector<int> out;
        for (; *list >= 0; list++)
            out.push_back(*list);
        return out;
    }
};

// An unknown toggled twice leaves the list; one that does not exist is reported and left out.
TEST_F(UnusedOperations, ToggleOneUnknown) {
    useIsing();
    getPentagonVariables(3);
    int list[8] = {-1};
    const int entry[6] = {0, 1, 2, 2, 2, 2}, missing[6] = {0, 0, 1, 2, 2, 2};
    EXPECT_EQ(ChangePentagonEquationEntry(list, 8, entry), 0);
    EXPECT_EQ(listOf(list), std::vector<int>{row({0, 1, 2, 2, 2, 2})});
    Captured cap;
    EXPECT_EQ(ChangePentagonEquationEntry(list, 8, missing), -1);
    EXPECT_NE(cap.err().find("Variable not found"), std::string::npos);
    EXPECT_EQ(ChangePentagonEquationEntry(list, 8, entry), 0);
    EXPECT_TRUE(listOf(list).empty());
}

// Ising, a = i = j = k = sigma: F_ps[2222], F_sc q[2222] and the signs eps(2,q;2), eps(2,2;q),
// eps(s,2;2), eps(2,2;s). With s = q the signs cancel in pairs; an sc that is not the conjugate
// of s is reported, the toggling still done.
TEST_F(UnusedOperations, HexagonSignsCancelInPairs) {
    useIsing();
    getPentagonVariables(3);
    struct Case {
        int p, s, sc, q;
        std::vector<std::array<int, 6>> expected;
        bool invalid;
    };
    const std::vector<Case> cases = {
        {0,
         1,
         1,
         0,
         {{0, 1, 2, 2, 2, 2},
          {1, 0, 2, 2, 2, 2},
          {-1, -1, 2, 0, 2, -1},
          {-1, -1, 2, 2, 0, -1},
          {-1, -1, 2, 1, 2, -1},
          {-1, -1, 2, 2, 1, -1}},
         false},
        {0, 1, 1, 1, {{0, 1, 2, 2, 2, 2}, {1, 1, 2, 2, 2, 2}}, false},
        {0, 1, 0, 1, {{0, 1, 2, 2, 2, 2}, {0, 1, 2, 2, 2, 2}}, true},
    };
    for (const Case& c : cases) {
        int list[10] = {-1};
        Captured cap;
        ChangePentagonEquationEntries(list, 10, c.p, c.s, c.sc, c.q, 2, 2, 2, 2);
        std::vector<int> want;
        for (const auto& l : c.expected) {
            const int r = row(l);
            // The same unknown twice cancels.
            auto at = std::find(want.begin(), want.end(), r);
            if (at != want.end())
                want.erase(at);
            else
                want.push_back(r);
        }
        EXPECT_EQ(listOf(list), want) << c.q << c.sc;
        EXPECT_EQ(cap.err().find("Invalid inversion relation 1 != 0^c (2 2 2 2)") !=
                      std::string::npos,
                  c.invalid);
    }
}

TEST_F(UnusedOperations, StoreIdentifierAndPrint) {
    useIsing();
    getPentagonVariables(3);
    SignEquationStore store(PentagonVariables.Nfill);
    const int eq[3] = {4, 7, -1};
    EXPECT_EQ(addToPolynomialEquations(eq, 1, &store), 1);
    EXPECT_EQ(addToPolynomialEquations(eq, 1, &store), 0);
    EXPECT_EQ(addToPolynomialEquations(eq, 0, &store), -1);
    int id[6] = {-1, -1, 0, 0, 0, -1};
    setHexagonSignIdentifier(id, 1, 2, 2);
    EXPECT_EQ(std::vector<int>(id, id + 6), (std::vector<int>{-1, -1, 2, 1, 2, -1}));
    std::vector<int> dense(PentagonVariables.Nfill + 1, 0);
    dense[3] = dense[5] = 1;
    dense.back() = 1;
    Captured cap;
    PrintPentagonEquation(dense.data());
    EXPECT_EQ(cap.out(), "Equation:\n3\n5\nRHS 1\n");
}

} // namespace
