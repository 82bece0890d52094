// The current block for the fusing tests: the Ising block of the N=0 series, a free boson, with
// the gauge settings and flips every test starts from.
#pragma once

#include "fusing/Fusing.h"
#include "modular/Modular.h"
#include "modular/ModularTestHelpers.h"
#include "store/Storemanager.h"
#include "tensor/Coset.h"
#include "tensor/TensorTestHelpers.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace fusingtest {

using testsupport::Captured;

class FusingTest : public testing::Test {
protected:
    void SetUp() override {
        tensortest::registerParameters();
        modulartest::registerModularParameters();
        initializeCoset();
        savedMode = getCosetMode();
        savedBlock = getCurrentSD();
        GaugeChoice = 2;
        GaugeChoiceParameter = 0;
        UseFlippedVariables = 0;
        flippedvars.clear();
    }
    void TearDown() override {
        GaugeChoice = 2;
        GaugeChoiceParameter = 0;
        UseFlippedVariables = 0;
        flippedvars.clear();
        setCosetMode(savedMode);
        setCurrentSD(savedBlock);
    }
    static SpectrumData* use(SpectrumData* sd) {
        EXPECT_NE(sd, nullptr);
        setCosetMode(0);
        setCurrentSD(sd);
        CFTChanged();
        return sd;
    }
    // Fields 0, 1 (weight 1/2) and 2 (weight 1/16).
    static SpectrumData* useIsing() {
        if (!SM_findCFT("minimal N=0 1"))
            createMinimal0(1);
        return use(SM_findCFT("minimal N=0 1"));
    }
    // A free boson of N fields, field k of charge k.
    static SpectrumData* useBoson(int N) { return use(SM_getData(0, N, 0)); }

    int savedMode = 0;
    SpectrumData* savedBlock = nullptr;
    // The solver writes its sign-flip files in the working directory unless a file is named.
    testsupport::TempWorkingDir workDir;
};

// A matrix with its basis, copied out of the shared buffers.
struct Matrix {
    int n = 0;
    std::vector<int> q, p;
    std::vector<double> entries;
    bool present = false;

    double at(int row, int column) const { return entries[row * n + column]; }
};

inline Matrix fusingMatrix(int a, int b, int c, int d) {
    Matrix m;
    int* basis = nullptr;
    const double* M = getFusingMatrix(a, b, c, d, &m.n, &basis);
    m.present = M != nullptr;
    if (M) {
        m.q.assign(basis, basis + m.n);
        m.p.assign(basis + m.n, basis + 2 * m.n);
        m.entries.assign(M, M + m.n * m.n);
    }
    return m;
}

// Gauge fixing, then every equation's signs; false on a contradiction.
inline bool fixAndCollect(int max) {
    getPentagonVariables(max);
    resetSignEquations();
    chooseFusingGauge();
    getFusingGaugeVariables(max);
    return getPentagonEquations(max) == 1 && getHexagonEquations(max) == 1;
}

// The unknowns the stored equations leave free.
inline std::vector<int> freeUnknowns() {
    std::vector<int> free;
    for (int v = 0; v < PentagonVariables.Nfill; v++)
        if (PolyNom->pivotOf(v) < 0)
            free.push_back(v);
    return free;
}

// The choices of the free unknowns that set exactly one of them.
inline std::vector<std::vector<int>> singleChoices(std::size_t count) {
    std::vector<std::vector<int>> choices;
    for (std::size_t t = 0; t < count; t++) {
        choices.emplace_back(count, 0);
        choices.back()[t] = 1;
    }
    return choices;
}

// 1 when the choice of the free unknowns vars is a gauge transformation of the basic solution.
inline int identityClassOf(const std::vector<int>& vars, const std::vector<int>& bits) {
    return identityGaugeClassCheck(static_cast<int>(vars.size()), bits.data(), vars.data());
}

// The sign bits with every free unknown 0.
inline void storeBasicSolution() {
    BasicSolution.assign(PentagonVariables.Nfill, 0);
    PolyNom->solve(BasicSolution);
}

} // namespace fusingtest
