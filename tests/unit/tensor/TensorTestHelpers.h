// Shared helpers of the tests of the tensor products: the parameters the module binds, a fresh
// current product per test, real blocks of the store, made-up blocks with chosen weights and
// dimensions, and captured output.
#pragma once

#include "base/Error.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "store/Storemanager.h"
#include "tensor/Coset.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <complex>
#include <string>
#include <vector>

namespace tensortest {

inline void registerParameters() {
    struct P {
        const char* name;
        const char* value;
        char type;
    };
    for (const P& p : {P{"Graded", "0", 'i'}, P{"Super", "0", 'i'}, P{"Trace_resolution", "0", 'i'},
                       P{"Create show_info", "0", 'i'}, P{"Reject permutations", "1", 'i'},
                       P{"Max_primaries", "2000000000", 'i'}, P{"Maxperm", "100000", 'i'},
                       P{"Maxcurrent", "1000", 'i'}, P{"ZNX_VERSION", "0", 'i'},
                       P{"Invariant info_level", "0", 'i'}, P{"Heterotic factors", "1", 'i'}})
        if (!findInternalParameter(p.name))
            addInternalParameter(p.name, p.value, p.type, 0);
}

// Every test starts from an empty current product with "Graded" and "Super" off.
class TensorTest : public testing::Test {
protected:
    void SetUp() override {
        registerParameters();
        initializeCoset();
        setIntPar("Graded", 0);
        setIntPar("Super", 0);
        setIntPar("Heterotic factors", 1);
        flushErrors();
        unbufferErrors();
        TP = getCurrentTensor();
        resetCoset(TP);
        TP->InputDataChanged = 1;
    }
    void TearDown() override {
        setIntPar("Graded", 0);
        setIntPar("Super", 0);
        resetCoset(getCurrentTensor());
    }
    TensorProduct* TP = nullptr;
};

inline SpectrumData* block(int type, int rank, int level) {
    SpectrumData* sd = SM_getData(type, rank, level);
    EXPECT_NE(sd, nullptr) << type << "," << rank << "," << level;
    return sd;
}

// The A1 field of spin j, given as 2j (its Dynkin label).
inline int spin(SpectrumData* sd, int twoJ) {
    for (int i = 0; i < sd->Nprimaries; i++)
        if (SM_getRep(sd, i)[0] == twoJ)
            return i;
    ADD_FAILURE() << "no A1 field with Dynkin label " << twoJ;
    return -1;
}

// A made-up block with these weights (numerators over den) and, when given, dimensions; fields
// have one label each, equal to the field number.
inline SpectrumData* madeUpBlock(const std::string& name, const std::vector<int>& weights, int den,
                                 const std::vector<int>& dimensions = {}) {
    SpectrumData* sd = allocateSpectrumData(name.c_str());
    sd->Nprimaries = static_cast<int>(weights.size());
    sd->Norbits = sd->Nprimaries;
    sd->RepSize = 1;
    SM_allocFieldInfo(sd, dimensions.empty() ? 0 : 1, 0);
    sd->Weight_denom = den;
    for (int i = 0; i < sd->Nprimaries; i++) {
        sd->ExtDynkin[i] = i;
        sd->OrbitGenerator[i] = i;
        sd->Weight_num[i] = weights[static_cast<std::size_t>(i)];
        if (!dimensions.empty())
            sd->Dimensions[i] = dimensions[static_cast<std::size_t>(i)];
    }
    return sd;
}

inline void addFactors(TensorProduct* TP, const std::vector<SpectrumData*>& blocks, int gh = 0) {
    for (SpectrumData* sd : blocks)
        addTensorFactor(TP, sd, gh);
}

inline std::vector<int> row(VectorSpace* s, int r, int n) {
    const int* p = s->Space + static_cast<long long>(s->rowsize) * r;
    return std::vector<int>(p, p + n);
}

// A hand-made spectrum: the given rows, each with its fixed-point label.
inline void storeSpectrum(TensorProduct* TP, const std::vector<std::vector<int>>& rows) {
    initVectorCollection(TP->TensorSpectrum, TP->NTensor + 1, 10);
    for (std::vector<int> r : rows)
        addVectorToCollection(TP->TensorSpectrum, r.data());
}

inline bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The element a matrix function (its arguments, then the real and imaginary part) writes.
template <class F, class... Args> std::complex<double> element(F f, Args... args) {
    double re = 0.0, im = 0.0;
    f(args..., &re, &im);
    return {re, im};
}

using Matrix = std::vector<std::vector<std::complex<double>>>;

inline Matrix product(const Matrix& a, const Matrix& b) {
    const std::size_t N = a.size();
    Matrix c(N, std::vector<std::complex<double>>(N));
    for (std::size_t i = 0; i < N; i++)
        for (std::size_t k = 0; k < N; k++)
            for (std::size_t j = 0; j < N; j++)
                c[i][j] += a[i][k] * b[k][j];
    return c;
}

using testsupport::Captured;

} // namespace tensortest
