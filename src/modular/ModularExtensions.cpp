// The simple currents of the current theory that may extend its chiral algebra or take part in
// its simple-current invariants: the effective center, the currents J of order N whose weight
// times N is an integer, and its elements of order two.
#include "modular/Modular.h"

#include "modular/ModularInternal.h"

#include <vector>

using namespace modular_internal;

namespace {

std::vector<int> effectiveCenter;
int effectiveCenterStamp = -2;
std::vector<int> orderTwoCenter;

// The number of factors J needed to reach the identity; a product that never returns (a failed
// look-up) stops after the order of the whole center.
int currentOrder(int J) {
    if (J == 0)
        return 1;
    const int limit = CenterOrder();
    int x = J;
    int n = 1;
    while (x != 0 && n <= limit) {
        x = simpleProduct(J, x, nullptr);
        n++;
    }
    return n;
}

} // namespace

int effectiveCenterCheck(int J) {
    const long long N = currentOrder(J);
    rat h = *ratWeight(J);
    simplifyRat(&h);
    RatToFrac(&h);
    return (N * h.num) % h.den == 0 ? 1 : 0;
}

const int* getEffectiveCenter() {
    if (effectiveCenterStamp != QueryCFT()) {
        const int Ncur = CenterOrder();
        effectiveCenter.assign(static_cast<std::size_t>(Ncur), 0);
        for (int J = 0; J < Ncur; J++)
            effectiveCenter[static_cast<std::size_t>(J)] = effectiveCenterCheck(J);
        effectiveCenterStamp = QueryCFT();
    }
    return effectiveCenter.data();
}

int SubgroupEffectiveCenterCheck(int order, const int* currents) {
    const int* table = getEffectiveCenter();
    const int Ncur = static_cast<int>(effectiveCenter.size());
    for (int k = 0; k < order; k++)
        if (currents[k] < 0 || currents[k] >= Ncur || table[currents[k]] != 1)
            return 0;
    return 1;
}

int* computeOrderTwoCenter(int* size) {
    int* map = nullptr;
    Discrete_Group* dg = getCenter(&map);
    DG_findOrdersFast(dg);
    orderTwoCenter.clear();
    for (int e = 0; e < dg->Order; e++)
        if (dg->AllOrders[e] == 2 && effectiveCenterCheck(map[e]))
            orderTwoCenter.push_back(e);
    *size = static_cast<int>(orderTwoCenter.size());
    return orderTwoCenter.data();
}
