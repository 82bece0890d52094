// Shared helpers of the tests of the bounded integer solver.
#pragma once

#include "numeric/Equations.h"

#include "base/Error.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace equationstest {

// A system with its eight bound vectors, as the callers set it up.
struct System {
    EquationData ED;
    int Ncol;

    System(int ncol, const std::vector<std::vector<double>>& rows, int spare = 20) : Ncol(ncol) {
        ED.Ncol = ncol;
        ED.OrigEq = static_cast<int>(rows.size());
        ED.Size = 2 * ED.OrigEq + spare;
        ED.Equations.reserve(ED.Size * ncol);
        for (std::size_t r = 0; r < rows.size(); r++)
            std::copy(rows[r].begin(), rows[r].end(), ED.Equations.X + r * ncol);
        int* b = ED.Bounds.reserve(8 * ncol);
        std::fill(b, b + 8 * ncol, 0);
        int** vectors[8] = {&ED.min,      &ED.max,      &ED.ker_min,       &ED.ker_max,
                            &ED.loop_min, &ED.loop_max, &ED.forbidden_min, &ED.forbidden_max};
        for (int i = 0; i < 8; i++)
            *vectors[i] = b + i * ncol;
    }

    // Every variable in [lo, hi], the constant column [1, 1].
    void box(int lo, int hi) {
        for (int k = 0; k < Ncol; k++) {
            ED.min[k] = k == Ncol - 1 ? 1 : lo;
            ED.max[k] = k == Ncol - 1 ? 1 : hi;
        }
    }
    double* row(int r) { return ED.Equations.X + r * Ncol; }
};

// Print writes to the terminal only while terminal output is on.
inline void startPrintCapture() {
    TerminalOutputOn();
    testing::internal::CaptureStdout();
}
inline std::string printed() {
    std::string text = testing::internal::GetCapturedStdout();
    TerminalOutputOff();
    return text;
}

inline std::vector<int> vec(const int* v, int n) {
    return std::vector<int>(v, v + n);
}

// The homogeneous part of every caller row vanishes on v.
inline void expectKernelVector(System& s, const int* v) {
    for (int r = 0; r < s.ED.OrigEq; r++) {
        double sum = 0.0;
        for (int k = 0; k < s.Ncol - 1; k++)
            sum += s.row(r)[k] * v[k];
        EXPECT_NEAR(sum, 0.0, 1e-9) << "row " << r;
    }
    EXPECT_EQ(v[s.Ncol - 1], 0);
}

} // namespace equationstest
