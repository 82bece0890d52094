// The simple currents of the current theory that may extend its chiral algebra or take part in
// its simple-current invariants: the effective center, the currents J of order N whose weight
// times N is an integer, and its elements of order two; and the extensions themselves, the
// integer-spin subgroups of the center up to the symmetries of the theory.
#include "modular/Modular.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "modular/ModularExtensions.h"
#include "modular/ModularInternal.h"
#include "numeric/Sorting.h"
#include "numeric/VectorUtility.h"
#include "tensor/Coset.h"

#include <algorithm>
#include <cmath>
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

// ============================================================ Extensions

namespace {

VectorSpace Extensions = declareVectorSpace("Extensions", 100);
// The factor labels of each used generator, NTensor per row, in the order of UsedGenerators.
std::vector<int> ExtensionCurrents;
int ExtensionCurrentLength = 0;
std::vector<int> UsedGenerators;
// The product counter the list was collected under, -1 before the first collection. A block is
// no product: its list also carries the theory counter, since a new block leaves the product
// counter alone.
int ExtensionNr = -1;
int ExtensionMode = 0;
int ExtensionCFT = -1;
int* Required = nullptr;

constexpr int FlagCount = 3;

bool listValid() {
    if (ExtensionNr != QueryTensor() || ExtensionMode != tensorMode())
        return false;
    return tensorMode() || ExtensionCFT == QueryCFT();
}

int superParameter() {
    return findInternalParameter("Super") ? *static_cast<int*>(getIntParPointer("Super")) : 0;
}

// The generators of every listed subgroup, each once, and their factor labels.
void recordUsedGenerators(const Subgroup* list) {
    UsedGenerators.clear();
    for (const Subgroup* sg = list; sg; sg = sg->next)
        for (int k = 0; k < sg->size; k++)
            if (std::find(UsedGenerators.begin(), UsedGenerators.end(), sg->gen[k]) ==
                UsedGenerators.end())
                UsedGenerators.push_back(sg->gen[k]);
    ExtensionCurrents.clear();
    ExtensionCurrentLength = 0;
    if (!tensorMode())
        return;
    TensorProduct* TP = getCurrentTensor();
    ExtensionCurrentLength = TP->NTensor;
    for (int g : UsedGenerators) {
        const int* row = TensorField(TP, g);
        ExtensionCurrents.insert(ExtensionCurrents.end(), row, row + TP->NTensor);
    }
}

int largestGeneratorCount(const Subgroup* list) {
    int G = 0;
    for (const Subgroup* sg = list; sg; sg = sg->next)
        G = std::max(G, sg->size);
    return G;
}

// The elements of a field list under "Super" in tensor mode: first-factor label and whether the
// total weight is 1.
template <class Test> int anyElement(std::span<const int> algebra, Test test) {
    if (!superParameter() || !tensorMode() || algebra.empty())
        return 0;
    TensorProduct* TP = getCurrentTensor();
    for (int e : algebra) {
        const int* v = GradedMinimalFormForLabel(TP, e);
        const bool weightOne = std::fabs(tensorWeight(TP, v) - 1.0) < Tolerance;
        if (test(v[0], weightOne))
            return 1;
    }
    return 0;
}

// Prepares row n for subgroup sg: generators, -1, zeros, flags. False when the required currents
// are not all among its elements.
bool fillRow(int* row, const Subgroup* sg, int G) {
    std::fill(row, row + G + 1 + FlagCount, 0);
    std::vector<int> elements(sg->gen, sg->gen + sg->size);
    for (int k = 0; k < sg->size; k++)
        row[k] = sg->gen[k];
    row[sg->size] = -1;
    if (!elements.empty())
        MOD_closeAlgebra(elements);
    row[G + 1] = checkSupersymmetryForExtension(elements);
    row[G + 2] = checkNonChiralityForExtension(elements);
    row[G + 3] = checkSpinorialForExtension(elements);
    return checkPresenceOfRequiredCurrents(elements) == 1;
}

void printExtensions(int G) {
    static const char rule[] = "-------------------------------------------------\n";
    Print("\nExtensions\n");
    Print("%s", rule);
    for (int n = 0; n < Extensions.Nfill; n++) {
        const int* row = rowOf(&Extensions, n);
        Print("Nr. %4d ", n);
        for (int k = 0; k <= G && row[k] != -1; k++)
            if (row[k] != 0)
                Print("%d ", row[k]);
        if (row[G + 1] == 1)
            Print("(Supersymmetric) ");
        if (row[G + 2] == 1)
            Print("(Non-chiral) ");
        if (row[G + 3] == 1 && row[G + 1] == 0)
            Print("(Spinorial) ");
        Print("\n");
    }
    Print("%s", rule);
    Print("Computation completed; %d Chiral algebra extensions\n", Extensions.Nfill);
}

} // namespace

void CollectExtensions() {
    if (listValid())
        return;
    if (tensorMode()) {
        const VectorSpace* currents = getCurrentTensor()->Currents;
        if (currents && currents->Nfill > 0) {
            Alert("CollectExtensions", 0, 100302,
                  "Collect extensions only works for unexteded algebras");
            return;
        }
    }
    int* map = nullptr;
    Discrete_Group* dg = getSimpleCurrentGroup(&map);
    std::vector<int> marks(static_cast<std::size_t>(dg->Order), 0);
    for (int i = 0; i < std::min(CenterOrder(), dg->Order); i++)
        if (integerSpinCurrent(i))
            marks[static_cast<std::size_t>(i)] = 1;
    const int P = MOD_computeIntegerSpinPermutation(0, -1);
    const Subgroup* list = DG_buildInequivalentSubgroupsSelected(dg, marks.data(), P,
                                                                 MOD_computeIntegerSpinPermutation);
    recordUsedGenerators(list);
    const int G = largestGeneratorCount(list);
    int count = 0;
    for (const Subgroup* sg = list; sg; sg = sg->next)
        count++;
    initVectorCollection(&Extensions, G + 1 + FlagCount, count);
    setIdentificationSize(&Extensions, G + 1);
    for (const Subgroup* sg = list; sg; sg = sg->next)
        if (fillRow(rowOf(&Extensions, Extensions.Nfill), sg, G))
            addToCollection(&Extensions);
    printExtensions(G);
    ExtensionNr = QueryTensor();
    ExtensionMode = tensorMode();
    ExtensionCFT = QueryCFT();
}

VectorSpace* getExtensions() {
    if (!listValid())
        CollectExtensions();
    return &Extensions;
}

int TotalExtensions() {
    return listValid() ? Extensions.Nfill : -1;
}

const int* getExtensionCurrent(int g) {
    if (g == 0)
        return nullptr;
    const auto at = std::find(UsedGenerators.begin(), UsedGenerators.end(), g);
    if (at == UsedGenerators.end() || ExtensionCurrentLength == 0) {
        printVec(static_cast<int>(UsedGenerators.size()), UsedGenerators.data(), "list");
        Alert("getExtensionCurrent", 0, 212404, "ExtensionCurrent %d not found", g);
        return nullptr;
    }
    const auto row = static_cast<std::size_t>(at - UsedGenerators.begin());
    return ExtensionCurrents.data() + row * static_cast<std::size_t>(ExtensionCurrentLength);
}

int MOD_getExtensionNumber() {
    return tensorMode() ? getExtensionNumber(getCurrentTensor()) : -1;
}

int SelectExtension(int n) {
    TensorProduct* TP = getCurrentTensor();
    if (!extensionExists(n)) {
        assignExtensionNumber(TP, -1);
        return 0;
    }
    const int* row = rowOf(&Extensions, n);
    for (int k = 0; row[k] != -1; k++)
        if (const int* J = getExtensionCurrent(row[k]))
            addNewCurrent(TP, J);
    assignExtensionNumber(TP, n);
    return 1;
}

int extensionExists(int n) {
    // A list collected for other factors names currents the product does not have.
    if (n >= 0 && n < TotalExtensions())
        return 1;
    Alert("SelectExtension", 0, 100302, "Extension number %d does not exist", n);
    return 0;
}

void setRequireExtension(int* currents) {
    Required = currents;
}

int checkPresenceOfRequiredCurrents(std::span<const int> algebra) {
    if (!Required)
        return 1;
    for (const int* r = Required; *r != -1; r++)
        if (std::find(algebra.begin(), algebra.end(), *r) == algebra.end())
            return 0;
    return 1;
}

int checkSupersymmetryForExtension(std::span<const int> algebra) {
    return anyElement(algebra,
                      [](int first, bool weightOne) { return first % 2 != 0 && weightOne; });
}

int checkNonChiralityForExtension(std::span<const int> algebra) {
    return anyElement(algebra, [](int first, bool weightOne) { return first == 2 && weightOne; });
}

int checkSpinorialForExtension(std::span<const int> algebra) {
    return anyElement(algebra, [](int first, bool) { return first % 2 != 0; });
}
