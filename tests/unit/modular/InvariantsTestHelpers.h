// Shared helpers of the tests of the invariant store: a current theory with an empty store and
// the parameters at their defaults, invariants made from matrices or partner lists, and the
// matrix read back from a record's fields.
#pragma once

#include "ModularTestHelpers.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"

#include <gtest/gtest.h>

#include <memory>
#include <numeric>
#include <string>
#include <vector>

namespace invtest {

using Matrix = std::vector<std::vector<int>>;

// One row of the sparse form: the multiplicity and the partners in their order.
struct Row {
    int multiplicity;
    std::vector<int> partners;
};

// The parameters of the store at their built-in values, registered and bound afresh.
inline void registerParameters() {
    struct P {
        const char* name;
        const char* value;
        char type;
    };
    for (const P& p :
         {P{"Selection automorphism", "OFF", 't'}, P{"Selection symmetric", "OFF", 't'},
          P{"Selection extension", "OFF", 't'}, P{"Reject permutations", "ON", 't'},
          P{"MIPF random", "0", 'i'}, P{"Invariant info_level", "0", 'i'},
          P{"Invariant max_display", "100", 'i'}, P{"Invariant statistics", "OFF", 't'},
          P{"Autostore", "OFF", 't'}, P{"Reject info", "OFF", 't'}, P{"loop start", "0", 'i'},
          P{"loop end", "2000000000", 'i'}, P{"ZNX_VERSION", "OFF", 't'}})
        addInternalParameter(p.name, p.value, p.type, 0);
    initializeInvariants();
}

inline int& parameter(const char* name) {
    return *static_cast<int*>(getIntParPointer(name));
}

// Z(i,j) read off the fields: multiplicity[i] times the occurrences of j among the partners.
inline Matrix dense(const BulkInvariant* bi) {
    const int N = bi->Nprimaries;
    Matrix Z(N, std::vector<int>(N, 0));
    for (int i = 0; i < N; i++)
        for (int k = 0; k < bi->orbitlength[i]; k++)
            Z[i][bi->orbits[i][k]] += bi->multiplicity[i];
    return Z;
}

inline Matrix identity(int N) {
    Matrix Z(N, std::vector<int>(N, 0));
    for (int i = 0; i < N; i++)
        Z[i][i] = 1;
    return Z;
}

inline Matrix transposed(const Matrix& Z) {
    Matrix T(Z.size(), std::vector<int>(Z.size(), 0));
    for (std::size_t i = 0; i < Z.size(); i++)
        for (std::size_t j = 0; j < Z.size(); j++)
            T[j][i] = Z[i][j];
    return T;
}

inline Matrix product(const Matrix& A, const Matrix& B) {
    const std::size_t N = A.size();
    Matrix P(N, std::vector<int>(N, 0));
    for (std::size_t i = 0; i < N; i++)
        for (std::size_t k = 0; k < N; k++)
            for (std::size_t j = 0; j < N; j++)
                P[i][j] += A[i][k] * B[k][j];
    return P;
}

// The permutation invariant Z(i, sigma(i)) = 1.
inline Matrix permutation(const std::vector<int>& sigma) {
    Matrix Z(sigma.size(), std::vector<int>(sigma.size(), 0));
    for (std::size_t i = 0; i < sigma.size(); i++)
        Z[i][static_cast<std::size_t>(sigma[i])] = 1;
    return Z;
}

// A record holding the given rows, laid out as the store lays them out; the left chiral algebra
// holds i Z(i,0) times. Not stored.
inline std::unique_ptr<BulkInvariant> fromRows(const std::vector<Row>& rows) {
    std::unique_ptr<BulkInvariant> bi(allocNewBulkInvariant(nullptr));
    const int N = static_cast<int>(rows.size());
    int space = 0;
    for (const Row& r : rows)
        space += static_cast<int>(r.partners.size());
    allocBulkInvariantData(bi.get(), N, space);
    int* area = bi->Data.X + 3 * N;
    bi->left_extension_size = 0;
    for (int i = 0; i < N; i++) {
        const Row& r = rows[static_cast<std::size_t>(i)];
        bi->multiplicity[i] = r.multiplicity;
        bi->orbitlength[i] = static_cast<int>(r.partners.size());
        bi->orbits[i] = r.partners.empty() ? nullptr : area;
        for (int p : r.partners) {
            *area++ = p;
            if (p == 0)
                for (int m = 0; m < r.multiplicity; m++)
                    bi->left_extension[bi->left_extension_size++] = i;
        }
    }
    bi->right_extension = bi->orbits[0];
    const Matrix Z = dense(bi.get());
    bi->trivial = Z == identity(N) ? 1 : 0;
    bi->simpleCurrentInvariant = bi->trivial;
    bi->conjugation = 0;
    bi->symmetric = Z == transposed(Z) ? 1 : 0;
    bi->IshibashiLabelCount = LabelCount(bi.get());
    return bi;
}

// The sparse form of a matrix: each row's gcd as its multiplicity.
inline std::unique_ptr<BulkInvariant> fromMatrix(const Matrix& Z) {
    std::vector<Row> rows;
    for (const std::vector<int>& z : Z) {
        int g = 0;
        for (int x : z)
            g = std::gcd(g, x);
        Row r{g, {}};
        for (std::size_t j = 0; j < z.size(); j++)
            for (int c = 0; g > 0 && c < z[j] / g; c++)
                r.partners.push_back(static_cast<int>(j));
        rows.push_back(r);
    }
    return fromRows(rows);
}

// Runs f and returns what it printed and what it reported. Status lines left standing before
// and by f are ended outside and inside, so that none runs into what is captured.
template <class F> std::pair<std::string, std::string> outputOf(F f) {
    const int wasOn = OutputStatus();
    TerminalOutputOn();
    Print("%s", "");
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    f();
    Print("%s", "");
    std::string err = testing::internal::GetCapturedStderr();
    std::string out = testing::internal::GetCapturedStdout();
    if (!wasOn)
        TerminalOutputOff();
    return {out, err};
}

// A simple-current invariant of the Z2 group of the current 1 on four fields: (0+1)^2, each
// partner list followed by the fixing current 0; left and right kernels (0, 1); identifier 5.
inline std::unique_ptr<BulkInvariant> z2Invariant() {
    std::unique_ptr<BulkInvariant> z(allocNewBulkInvariant(nullptr));
    allocBulkInvariantData(z.get(), 4, 8);
    const std::vector<std::vector<int>> lists = {{0, 1, 0}, {0, 1, 0}, {}, {}};
    int* area = z->Data.X + 12;
    for (int i = 0; i < 4; i++) {
        z->multiplicity[i] = lists[i].empty() ? 0 : 1;
        z->orbitlength[i] = lists[i].empty() ? 0 : 2;
        z->orbits[i] = lists[i].empty() ? nullptr : area;
        for (int x : lists[i])
            *area++ = x;
    }
    z->left_extension[0] = 0;
    z->left_extension[1] = 1;
    z->left_extension_size = 2;
    z->right_extension = z->orbits[0];
    z->trivial = 0;
    z->IshibashiLabelCount = 2;
    int orders[] = {2};
    SCData* md = z->MD;
    md->dg = DG_find(orders, 1);
    md->map.reserve(2 + 2 * 4);
    md->map[0] = 0;
    md->map[1] = 1;
    md->AllOrders = md->map.X + 2;
    md->inverse_map = md->AllOrders + 4;
    md->inverse_map[1] = 1;
    md->Monodromies.reserve(2);
    md->Monodromies[0] = 1; // Q_J(J) = 1/2
    md->Monodromies[1] = 0;
    md->Xmatrix = md->Monodromies.X + 1;
    md->Kernels.reserve(4);
    for (int k = 0; k < 4; k++)
        md->Kernels[k] = k % 2;
    md->LeftKernel = md->Kernels.X;
    md->RightKernel = md->Kernels.X + 2;
    md->KernelSize = 2;
    md->Ngen = 1;
    md->Generators.reserve(1);
    md->Generators[0] = 1;
    md->MIPF_id = 5;
    md->Subgroup_id = 2;
    md->AutoSelect = 3;
    md->SymmetryRequired = 1;
    md->RejectPermutations = 0;
    return z;
}

// The block of a triple is the current theory with an empty store, no criteria, the parameters
// at their defaults, and its diagonal invariant current and stored silently as "Invariant_0",
// as computing its spectrum leaves them.
class InvariantsTest : public testing::Test {
protected:
    void useTheory(int type, int rank, int level) {
        registerParameters();
        resetSelectionCriteria();
        resetAlgebraRequirements();
        setLoopCommand(nullptr);
        setSubgroupStart(-1, -1); // scans start at the first subgroup
        resetInvariantStore();
        modulartest::useBlock(type, rank, level);
        storeBulkInvariant(nullptr, *getCurrentBulk(), 1, 0);
    }
    void TearDown() override {
        outputOf([] {}); // ends a status line left standing
        resetSelectionCriteria();
        resetAlgebraRequirements();
        resetInvariantStore();
        resetCurrentBulkToDiagonal();
    }
    // Stores a copy of the invariant under the name; the stored record.
    static BulkInvariant* store(const char* name, const Matrix& Z) {
        std::unique_ptr<BulkInvariant> bi = fromMatrix(Z);
        storeBulkInvariant(name, bi.get(), 1, 0);
        return findNamedBulkInvariant(name);
    }
    static BulkInvariant* current() { return *getCurrentBulk(); }
};

} // namespace invtest
