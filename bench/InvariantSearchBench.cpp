// The simple-current invariant search over every subgroup of a center Z2^n with all their X
// matrices, as "Scan Simple_current_invariants" does it on (A1 level 2)^n without currents and
// without symmetry reduction: sum over M of [n over M]_2 2^(M(M-1)/2) candidates, 151470 for
// n = 6, each analysed by the search's own analysis (kernels, criteria, numbering), nothing
// stored.
//
// The center is given abstractly: current S (a subset of the n factors, as a bit set) has weight
// |S|/2 and every two currents have monodromy charge 0, as the currents J of A1 level 2 have.
// Each subgroup is closed and identified as the scan does it, with the group's own product in
// place of the theory's.
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "store/Storemanager.h"

#include <benchmark/benchmark.h>

#include <bit>
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

} // namespace

BENCHMARK_MAIN();
