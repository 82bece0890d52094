// The heterotic filter: the closure of the user's simple-current combinations into a group, its
// abstract structure, and the generation of every simple-current invariant of that group.
#include "base/Error.h"
#include "base/Output.h"
#include "modular/Invariants.h"
#include "numeric/Discrete.h"
#include "numeric/VectorUtility.h"
#include "string/Heterotic.h"
#include "string/HeteroticInternal.h"
#include "tensor/Coset.h"

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace heterotic_internal;

namespace {

GuardedArray<int> elementMap{"map"};

// Products of rows of one collection, looked up in it; -1 after the report.
int productIn(VectorSpace* rows, TensorProduct* TP, int i, int j, const char* routine,
              const char* message) {
    const int NT = TP->NTensor;
    std::vector<int> out(static_cast<std::size_t>(NT));
    combine(TP, rowOf(rows, i), rowOf(rows, j), out.data());
    const int r = findRow(rows, out.data());
    if (r >= 0)
        return r;
    std::printf("Multiplying %d x %d\n", i, j);
    printVec(NT, rowOf(rows, i), "i");
    printVec(NT, rowOf(rows, j), "j");
    printVec(NT, out.data(), "out");
    Alert(routine, 0, 212404, "%s", message);
    return -1;
}

// Closes the generators into the filter; false after the report of a product that fails the
// effective-center test.
bool closeFilter(TensorProduct* TP) {
    const int NT = TP->NTensor;
    std::vector<int> product(static_cast<std::size_t>(NT), 0);
    enterOnce(&HeteroticFilter, product.data());
    bool added = true;
    while (added) {
        added = false;
        for (int g = 0; g < rowCount(&HeteroticFilterGenerators); g++)
            for (int e = 0; e < rowCount(&HeteroticFilter); e++) {
                combine(TP, rowOf(&HeteroticFilterGenerators, g), rowOf(&HeteroticFilter, e),
                        product.data());
                if (!CT_effectiveCenterCheck(TP, product.data())) {
                    PrintVec(NT, rowOf(&HeteroticFilterGenerators, g), "Generator");
                    PrintVec(NT, rowOf(&HeteroticFilter, e), "Filter element");
                    Alert("ComputeFilter", 1, 100302,
                          "The product of these two lies outside the effective center");
                    return false;
                }
                if (enterOnce(&HeteroticFilter, product.data()))
                    added = true;
            }
    }
    return true;
}

} // namespace

int FilterProduct(int i, int j, void* X) {
    auto* C = static_cast<FilterContext*>(X);
    return productIn(C->filter, C->TP, i, j, "FilterProduct", "Filter product not found");
}

void CurrentCurrentChargeForFilter(int i, int j, rat* Q, void* X) {
    auto* C = static_cast<FilterContext*>(X);
    TensorRatCharge(C->TP, rowOf(C->filter, j), rowOf(C->filter, i), Q);
}

void CurrentWeightForFilter(int i, rat* Q, void* X) {
    auto* C = static_cast<FilterContext*>(X);
    TensorRatWeight(C->TP, rowOf(C->filter, i), Q);
}

int TensorOrbitLength(TensorProduct* TP, int* vector) {
    return combinationOrder(TP, vector);
}

int ComputeFilter(TensorProduct* TP, int) {
    const std::string change = setupChange(TP);
    if (!change.empty()) {
        Alert("ComputeFilter", 0, 100302, "%s; run \"compute heterotic\" first", change.c_str());
        return 1;
    }
    if (!closeFilter(TP))
        return 1;
    const int F = rowCount(&HeteroticFilter);
    int* map = elementMap.reserve(2 * F + 10);
    std::fill(map, map + 2 * F + 10, 0);
    for (int e = 0; e < F; e++)
        map[F + e] = combinationOrder(TP, rowOf(&HeteroticFilter, e));
    resetCandidateChargeCodes();
    static FilterContext context;
    context = FilterContext{TP, &HeteroticFilter, 0};
    Discrete_Group* dg = DG_mapProduct(map, map + F, F, &context, FilterProduct);
    if (oldAlgorithm())
        return 0;
    const int r =
        GSC_computeAllGroupInvariants(dg, map, CurrentCurrentChargeForFilter,
                                      CurrentWeightForFilter, GSC_analyseInvariant, &context);
    // Repeated spectra reach the file only at every hundredth report; the end of the command
    // writes what the run counted.
    if (rowCount(&Spectra) > 0)
        writeHeteroticFile();
    return r == -5 ? 1 : 0;
}
