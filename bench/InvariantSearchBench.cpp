// The simple-current invariant search over every subgroup of a center Z2^n with all their X
// matrices, as "Scan Simple_current_invariants" does it on (A1 level 2)^n without currents and
// without symmetry reduction: sum over M of [n over M]_2 2^(M(M-1)/2) candidates, 151470 for
// n = 6 and 4590 for n = 5, each analysed by the search's own analysis (kernels, criteria,
// numbering).
//
// First with the center given abstractly: current S (a subset of the n factors, as a bit set) has
// weight |S|/2 and every two currents have monodromy charge 0, as the currents J of A1 level 2
// have. Each subgroup is closed and identified as the scan does it, with the group's own product
// in place of the theory's; nothing is stored. Then on the real product as the current theory,
// through the function of the commands "Scan Simple_current_invariants" (nothing stored) and
// "collect simple_current_invariants" (the distinct invariants stored), with "Reject
// permutations" off.
#include "base/Output.h"
#include "base/Parameters.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "store/Storemanager.h"
#include "tensor/Coset.h"

#include <benchmark/benchmark.h>

#include <bit>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void noCharge(int, int, rat* Q, void*) {
    Q->num = 0;
    Q->den = 1;
}

void halfTheFactors(int current, rat* h, void*) {
    h->num = std::popcount(static_cast<unsigned>(current));
    h->den = 2;
}

// The accepted candidates of every subgroup of Z2^n.
int scanAllSubgroups(int n) {
    std::vector<int> orders(static_cast<std::size_t>(n), 2);
    Discrete_Group* center = DG_find(orders.data(), n);
    Subgroup* list = DG_buildSubgroups(center);
    std::vector<int> elements(static_cast<std::size_t>(center->Order) + 1);
    std::vector<int> map(static_cast<std::size_t>(center->Order));
    std::vector<int> allOrders(static_cast<std::size_t>(center->Order));
    int total = 0;
    for (Subgroup* sg = list; sg; sg = sg->next) {
        std::copy(sg->gen, sg->gen + sg->size, elements.begin());
        const int size = DG_closeSubgroup(elements.data(), sg->size, center, DG_product);
        std::fill(allOrders.begin(), allOrders.end(), 0);
        Discrete_Group* dg = DG_mapSubProduct(map.data(), allOrders.data(), size, elements.data(),
                                              center, DG_product);
        total += GSC_computeAllGroupInvariants(dg, map.data(), noCharge, halfTheFactors,
                                               computeInvariant, nullptr);
    }
    return total;
}

void ScanSubgroupsOfZ2Power(benchmark::State& state) {
    // A block current for the facade; the search reads nothing of it but its field count.
    setCosetMode(0);
    setCurrentSD(SM_getData(1, 1, 2));
    const int n = static_cast<int>(state.range(0));
    int total = 0;
    for (auto _ : state) {
        setMIPFSelection(nullptr);
        total = scanAllSubgroups(n);
        benchmark::DoNotOptimize(total);
    }
    state.counters["candidates"] = total;
    state.counters["candidates/s"] = benchmark::Counter(
        static_cast<double>(total), benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(ScanSubgroupsOfZ2Power)->Arg(5)->Arg(6)->Unit(benchmark::kMillisecond);

// (A1 level 2)^n without currents as the current theory, as "compute spectrum" makes it; its
// number of fields, 3^n.
int currentPowerOfA1Level2(int n) {
    static const bool bound = [] {
        setBackground(1);
        addInternalParameter("Reject permutations", "OFF", 't', 0);
        initializeInvariants();
        return true;
    }();
    (void)bound;
    TensorProduct* TP = getCurrentTensor();
    resetCoset(TP);
    SpectrumData* sd = SM_getData(1, 1, 2);
    for (int k = 0; k < n; k++)
        addTensorFactor(TP, sd, 0);
    computeTensorSpectrum(TP);
    setCosetMode(1);
    setCurrentTotals(NumberOfTensorPrimaries(TP), NumberOfTensorSimpleCurrents(TP));
    CFTChanged();
    return *NumberOfTensorPrimaries(TP);
}

// The number the search reports after `label` in its output, which is captured; -1 if none.
struct Reported {
    std::string text;
    int after(const std::string& label) const {
        const auto at = text.find(label);
        return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + label.size());
    }
};

Reported searchCaptured(int autostore) {
    returnBufferOn();
    buildMultipleSimpleCurrentInvariants(nullptr, autostore);
    Reported out{std::string(getReturnBuffer(), getReturnPointer())};
    returnBufferOff();
    return out;
}

// "Scan Simple_current_invariants" (0) or "collect simple_current_invariants" (1) on the real
// product of range(0) factors; range(1) is the count the search must report.
void SearchProductOfA1Level2(benchmark::State& state, int autostore) {
    const int n = static_cast<int>(state.range(0));
    const int fields = currentPowerOfA1Level2(n);
    Reported out;
    for (auto _ : state)
        out = searchCaptured(autostore);
    const int total = out.after("Total number of MIPFs generated: ");
    if (total != state.range(1))
        state.SkipWithError(("unexpected report: " + out.text).c_str());
    state.counters["fields"] = fields;
    state.counters["candidates"] = total;
    state.counters["candidates/s"] = benchmark::Counter(
        static_cast<double>(total), benchmark::Counter::kIsIterationInvariantRate);
    if (autostore)
        state.counters["stored"] = out.after("stored ");
}

void ScanProductOfA1Level2(benchmark::State& state) {
    SearchProductOfA1Level2(state, 0);
}

void CollectProductOfA1Level2(benchmark::State& state) {
    SearchProductOfA1Level2(state, 1);
}

BENCHMARK(ScanProductOfA1Level2)->Args({6, 151470})->Unit(benchmark::kMillisecond);
BENCHMARK(CollectProductOfA1Level2)->Args({5, 4590})->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
