// The simple-current invariant search: every subgroup of the center (up to the theory's
// symmetries), every admissible X matrix of it, and the analysis of each candidate against the
// selection criteria, which numbers it, stores it or makes it current and may run the loop
// command on it. Scans, collections, the choice of one invariant of a subgroup and the building
// of an invariant from its number all run through here.
#include "modular/Invariants.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Terminal.h"
#include "interpreter/Interpreter.h"
#include "modular/InvariantsInternal.h"
#include "modular/Modular.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace invariants_internal;

namespace {

SC_ANALYSE MIPF_analysis_fcn = computeInvariant;
int Randomization = 0;
int SelectCurrentBulk = 0;
int ScanMIPFCount = 0;
// Set when a scan of the center visited every subgroup to the end.
bool scanCompleted = false;
// Set when the candidate asked for by number became the current invariant.
int BuiltByNumber = 0;

std::unique_ptr<BulkInvariant> TempBulk;
// The record of one-subgroup searches without a record of their own, the record of the scan over
// all subgroups and that of the generic group search.
std::unique_ptr<SCData> subgroupRecord;
std::unique_ptr<SCData> scanRecord;
std::unique_ptr<SCData> genericRecord;

SearchCriteria& criteria() {
    return searchCriteria();
}

// A loop command runs inside the X loops of a search. A search it started would overwrite the
// records, the candidate and the subgroup list that the running one goes on with.
bool insideLoops = false;

class LoopsRunning {
public:
    LoopsRunning() { insideLoops = true; }
    ~LoopsRunning() { insideLoops = false; }
    LoopsRunning(const LoopsRunning&) = delete;
    LoopsRunning& operator=(const LoopsRunning&) = delete;
};

bool nestedSearch(const char* routine) {
    if (!insideLoops)
        return false;
    Alert(routine, 9, 100201, "A simple-current search is running; no second one is started");
    return true;
}

int infoLevel() {
    return param(Par::InfoLevel);
}

// A rejection or a step of the analysis, told from info level 4 on.
int tell(const char* text, int rc) {
    return invariantSelectionInformation(text, rc);
}

SCData* recordOf(std::unique_ptr<SCData>& record) {
    if (!record)
        record = std::make_unique<SCData>();
    return record.get();
}

BulkInvariant* candidate() {
    if (!TempBulk)
        TempBulk.reset(allocNewBulkInvariant("temp"));
    return TempBulk.get();
}

// The candidate lends the search's record; before a search writes into that record again, a
// current candidate moves into the local record, so the current invariant stays what it was.
void releaseCurrentCandidate() {
    BulkInvariant** current = getCurrentBulk();
    if (!TempBulk || *current != TempBulk.get())
        return;
    copyBulkInvariant(getLocalBulk(), TempBulk.get());
    *current = getLocalBulk();
}

void clearRecord(SCData* MD) {
    if (MD->sg && MD->sg_was_allocated)
        DG_freeSubgroup(MD->sg);
    MD->sg = nullptr;
    MD->sg_was_allocated = 0;
    MD->dg = DG_trivial();
    MD->PermutationFunction = nullptr;
    MD->CurrentCurrentCharge = nullptr;
    MD->CurrentWeight = nullptr;
    MD->DataPointer = nullptr;
    MD->ChargeMapAvailable = 0;
    MD->MIPF_id = MD->Subgroup_id = -1;
    MD->Ngen = 0;
    MD->AutoSelect = -1;
    MD->SymmetryRequired = MD->Automorphism = MD->Extension = 0;
    MD->RejectPermutations = MD->AutoStore = MD->AlgebraRestrictions = 0;
    MD->KernelSize = 1;
    MD->Symmetric = 1;
    MD->loopsize = MD->stabsize = MD->SelectionCount = MD->truncated = 0;
}

// The criteria in force when the invariant is generated.
void recordCriteria(SCData* MD) {
    MD->SymmetryRequired = param(Par::SelectionSymmetric);
    MD->Automorphism = param(Par::SelectionAutomorphism);
    MD->Extension = param(Par::SelectionExtension);
    MD->RejectPermutations = param(Par::RejectPermutations);
    MD->AutoStore = param(Par::Autostore);
    MD->AlgebraRestrictions = algebraRestrictionsSet();
}

void startSubgroupLoops(SCData* MD) {
    MD->AutoSelect = -1;
    criteria().SubgroupSelectionCount = 0;
    Randomization = 0;
}

// Each required pair (i, j): the first partner of i is j.
bool pairingsHold(SCData* MD) {
    const int* pairs = criteria().AutomorphismSelection;
    if (!param(Par::SelectionAutomorphism) || !pairs)
        return true;
    for (const int* p = pairs; p[0] != -1; p += 2)
        if (getRightField(MD, p[0]) != p[1])
            return false;
    return true;
}

int displaySize() {
    const IntegerList* selection = criteria().PrimarySelection;
    return selection ? selection->cnt + 1 : theoryPrimaries();
}

// Subgroup selection: the n-th candidate when a number is set; otherwise a cyclic group's only
// candidate, or the user's answer.
int chooseInSubgroup(SCData* MD, BulkInvariant* temp) {
    makeSimpleCurrentBulkInvariant(temp);
    MD->MIPF_id = MD->Subgroup_id = -1;
    const int count = criteria().SubgroupSelectionCount;
    if (criteria().AutoSelectionNumber != 0)
        return criteria().AutoSelectionNumber == count ? -5 : 0;
    if (MD->dg->Mult < 2)
        return -5;
    Print("Auto select nr. %d; MIPF nr. %d\n", count, totalMIPFCount());
    printMonodromy(MD);
    printBulkInvariant(temp, displaySize());
    Print("\n");
    const int answer =
        Alert("computeInvariant", 0, 332209, "Invariant Nr. %d; Accept this one?", count);
    return answer == 1 ? -5 : 0;
}

// The candidate's identifier: its storage number when it is stored, else its scan number. False
// when an equal invariant was stored already.
bool numberCandidate(SCData* MD, BulkInvariant* temp, bool* built) {
    MD->Subgroup_id = criteria().SubgroupLabel;
    totalMIPFCount()++;
    if (param(Par::Autostore) != 1) {
        MD->MIPF_id = ScanMIPFCount;
        return true;
    }
    MD->MIPF_id = TotalInvariants();
    makeSimpleCurrentBulkInvariant(temp);
    *built = true;
    BulkInvariant* stored = storeBulkInvariant(nullptr, temp, 1, infoLevel() > 0 ? 1 : 0);
    if (stored && stored != temp) {
        tell("Already present in storage\n", 0);
        return false;
    }
    return true;
}

// The next listed identifier is visited; any other is not, unless all are.
bool selectedNumber(int id) {
    SearchCriteria& c = criteria();
    if (c.MIPFSelection[c.NextSelectedMIPF] == id) {
        c.NextSelectedMIPF++;
        return true;
    }
    return c.MIPFSelection[0] == -2;
}

} // namespace

namespace invariants_internal {

int runAnalysis(SCData* MD) {
    return MIPF_analysis_fcn(MD);
}

void setRandomization() {
    Randomization = 1;
}

} // namespace invariants_internal

// ============================================================ One candidate

int computeInvariant(SCData* MD) {
    SearchCriteria& c = criteria();
    const int I = infoLevel();
    c.SubgroupSelectionCount++;
    if (I > 3)
        Inform("\n\nTesting new invariant; subgroup selection count %d\n",
               c.SubgroupSelectionCount);
    // Any number of random samples makes the candidates' order random.
    if (c.AutoSelectionNumber != 0 && param(Par::MIPFRandom) != 0) {
        Alert("computeInvariant", 1, 100302,
              "Auto select is inconsistent with randomization; switching off autoselect\n");
        c.AutoSelectionNumber = 0;
    }
    if (param(Par::RejectPermutations) && !Randomization && MD->sg && MD->sg->permsize > 0 &&
        MD->sg->Stabilizer) {
        if (!checkPermutationAcceptance(MD))
            return tell("Rejected by permutation test\n", 0);
    } else {
        MD->stabsize = 0;
    }
    getXKernels(MD);
    if (param(Par::SelectionAutomorphism) && MD->KernelSize != 1)
        return tell("Rejected;  not an automorphism\n", 0);
    if (param(Par::SelectionExtension) && MD->KernelSize == 1)
        return tell("Rejected; not an extension\n", 0);
    if (!checkAlgebraSelectionCriteria(MD->KernelSize, MD->LeftKernel, MD->KernelSize,
                                       MD->RightKernel))
        return tell("Rejected by algebra requirements\n", 0);
    if (!pairingsHold(MD))
        return tell("Rejected by automorphism requirements\n", 0);
    MD->AutoSelect = c.SubgroupSelectionCount;
    BulkInvariant* temp = candidate();
    temp->MD = MD;
    if (c.PerformSubgroupSelection)
        return chooseInSubgroup(MD, temp);
    bool built = false;
    if (!numberCandidate(MD, temp, &built))
        return 1;
    ScanMIPFCount++;
    if (!selectedNumber(MD->MIPF_id))
        return tell("Not a selected MIPF number\n", 0);
    if (I <= 1 && !c.LoopCommand && !SelectCurrentBulk)
        return 1;
    if (MD->MIPF_id > param(Par::LoopEnd))
        return tell("Reached user-defined end of loops", -5);
    // The current invariant is always a built one, whatever made it current.
    if (!built)
        makeSimpleCurrentBulkInvariant(temp);
    setCurrentBulkInvariant(temp);
    if (SelectCurrentBulk)
        BuiltByNumber = 1;
    if (I >= 2) {
        printMonodromy(MD);
        if (I >= 3)
            printBulkInvariant(temp, displaySize());
        Print("\n");
    }
    if (c.LoopCommand && MD->MIPF_id >= param(Par::LoopStart) &&
        MD->MIPF_id <= param(Par::LoopEnd) && executeCommandLine(c.LoopCommand) != 0) {
        // A loop command left out after Ctrl-C is a stop, not an error.
        if (stopSignal)
            return -2;
        return tell("Error during loop action", -3);
    }
    if (c.MIPFSelection[c.NextSelectedMIPF] == -1)
        return tell("End of loops", -5);
    return tell("Returning success", 1);
}

// ============================================================ One subgroup

int ComputeAllSubgroupInvariants(int* currents, int Ngen, SCData* MD) {
    if (nestedSearch("ComputeAllSubgroupInvariants"))
        return 0;
    if (!MD)
        MD = recordOf(subgroupRecord);
    releaseCurrentCandidate();
    if (MD->sg_was_allocated) {
        DG_freeSubgroup(MD->sg);
        MD->sg = nullptr;
        MD->sg_was_allocated = 0;
    }
    const int I = infoLevel();
    MD->Generators.reserve(std::max(Ngen, 1));
    std::copy(currents, currents + Ngen, MD->Generators.X);
    MD->Ngen = Ngen;
    const int n = DG_closeSubgroup(currents, Ngen, nullptr, simpleProduct);
    if (!SubgroupEffectiveCenterCheck(n, currents)) {
        PrintVec(n, currents, "Subgroup");
        Alert("ComputeAllSubgroupInvariants", 0, 100201,
              "Subgroup contains invalid currents (effective center check)");
        return 0;
    }
    if (I > 2)
        PrintVec(n, currents, "Subgroup elements:");
    const int C = CenterOrder();
    MD->map.reserve(n + 2 * C);
    MD->AllOrders = MD->map.X + n;
    MD->inverse_map = MD->AllOrders + C;
    std::fill(MD->AllOrders, MD->AllOrders + C, 0);
    MD->dg = param(Par::ZNX) == 1
                 ? DG_mapSubProduct_ZNX_VERSION(MD->map.X, MD->AllOrders, n, currents, nullptr,
                                                simpleProduct)
                 : DG_mapSubProduct(MD->map.X, MD->AllOrders, n, currents, nullptr, simpleProduct);
    std::fill(MD->inverse_map, MD->inverse_map + C, -1);
    for (int e = 0; e < MD->dg->Order && e < n; e++)
        if (MD->map[e] >= 0 && MD->map[e] < C)
            MD->inverse_map[MD->map[e]] = e;
    if (I > 2)
        printDiscreteGroup(MD->dg, MD->map.X);
    computeMonodromies(MD);
    recordCriteria(MD);
    if (MD->RejectPermutations && !MD->sg) {
        addSubgroupStabilizerToModularData(MD);
        if (MD->sg) {
            MD->sg->reject = 0;
            MD->sg->order = n;
            std::copy(currents, currents + n, MD->sg->elements);
        }
    }
    startSubgroupLoops(MD);
    LoopsRunning running;
    return param(Par::SelectionSymmetric) ? generateSymmetricInvariants(MD)
                                          : generateInvariants(MD);
}

// ============================================================ All subgroups

Subgroup* buildSubGroups(Discrete_Group* dg, int* map) {
    if (!param(Par::RejectPermutations)) {
        Print("Permutations and Outer automorphisms (if any) are ignored.\n");
        return DG_buildSubgroups(dg);
    }
    MOD_getCurrentOuterAutomorphisms();
    const int n = MOD_TotalOuterAutomorphisms();
    if (infoLevel() > 0)
        Print("Total number of permutations and automorphisms used in subgroup reduction: %d\n", n);
    computeGroupPermutation(0, -1);
    if (n <= 1)
        return DG_buildSubgroups(dg);
    const int* effective = getEffectiveCenter();
    const int Ncur = CenterOrder();
    std::vector<int> selected(static_cast<std::size_t>(dg->Order), 0);
    for (int e = 0; e < dg->Order; e++)
        selected[static_cast<std::size_t>(e)] =
            map[e] >= 0 && map[e] < Ncur ? effective[map[e]] : 0;
    return DG_buildInequivalentSubgroupsSelected(dg, selected.data(), n, computeGroupPermutation);
}

namespace {

void printTotal(int total, bool status) {
    char text[100];
    if (param(Par::Autostore))
        std::snprintf(text, sizeof text, " %d (checked %d, stored %d)", total, totalMIPFCount(),
                      TotalInvariants());
    else
        std::snprintf(text, sizeof text, " %d", total);
    if (status)
        PrintNoRepeat("Total number of MIPFs so far:", text);
    else
        Print("Total number of MIPFs generated:%s\n", text);
}

// The scan ends; a result that stopped it is told first.
int endScan(int rc, const char* text) {
    if (text)
        Inform("%s", text);
    scanRecord->sg = nullptr;
    scanRecord->PermutationFunction = nullptr;
    return resetSubgroupLabel(rc);
}

constexpr const char* ScanTitle = "Scanning subgroups";

int scanSubgroups(int* map, Subgroup* list, int K) {
    SearchCriteria& c = criteria();
    scanCompleted = false;
    bool stopped = false;
    const int I = infoLevel();
    SCData* MD = scanRecord.get();
    std::vector<int> currents(static_cast<std::size_t>(CenterOrder()) + 2);
    int total = 0;
    int label = 0;
    LoopProgress progress(ScanTitle, K);
    for (Subgroup* sg = list; sg; sg = sg->next, label++) {
        if (progress.step()) {
            stopped = true;
            break;
        }
        c.SubgroupLabel = label;
        if (K > 100) {
            char text[40];
            std::snprintf(text, sizeof text, "%d/%d", label, K);
            PrintNoRepeat("Subgroup ", text);
        }
        if (label < c.SubgroupStart)
            continue;
        if (label == c.SubgroupStart)
            ScanMIPFCount = c.ScanMIPFCountStart;
        if (sg->reject)
            continue;
        for (int k = 0; k < sg->size; k++)
            currents[static_cast<std::size_t>(k)] = map[sg->gen[k]];
        if (!SubgroupEffectiveCenterCheck(sg->size, currents.data()))
            continue;
        if (I > 1)
            PrintVec(sg->size, currents.data(), "Subgroup generated by: ");
        const bool reject = param(Par::RejectPermutations) != 0;
        MD->sg = reject ? sg : nullptr;
        MD->sg_was_allocated = 0;
        MD->PermutationFunction = reject ? computeGroupPermutation : nullptr;
        const int r = ComputeAllSubgroupInvariants(currents.data(), sg->size, MD);
        if (stopSignal) {
            stopped = true;
            break;
        }
        if (r == -3)
            return endScan(-3, "Error during loop command\n");
        if (r == -5)
            return endScan(1, "Invariant found\n");
        if (r == -2) {
            stopped = true;
            break;
        }
        total += r;
        if (sg->next && I >= 1)
            printTotal(total, true);
    }
    printTotal(total, false);
    scanCompleted = !stopped;
    return endScan(total, nullptr);
}

} // namespace

int ComputeAllSimpleCurrentInvariants(Discrete_Group* dg, int* map) {
    if (nestedSearch("ComputeAllSimpleCurrentInvariants"))
        return 0;
    const int I = infoLevel();
    criteria().SubgroupLabel = 0;
    if (dg->Mult > 3 && I > 0)
        Print("\nGenerating all subgroups of the center...\n");
    Subgroup* list = buildSubGroups(dg, map);
    int K = 0;
    for (Subgroup* sg = list; sg; sg = sg->next)
        K++;
    releaseCurrentCandidate();
    clearRecord(recordOf(scanRecord));
    if (I < 2)
        startModal();
    return scanSubgroups(map, list, K);
}

// ============================================================ The generic group

int GSC_computeAllGroupInvariants(Discrete_Group* dg, int* map, SC_CHARGE fcn, SC_WEIGHT fcn2,
                                  SC_ANALYSE fcn3, void* X) {
    if (nestedSearch("GSC_computeAllGroupInvariants"))
        return 0;
    SCData* MD = recordOf(genericRecord);
    releaseCurrentCandidate();
    clearRecord(MD);
    MD->CurrentCurrentCharge = fcn;
    MD->CurrentWeight = fcn2;
    MD->DataPointer = X;
    MD->dg = dg;
    const int order = dg->Order;
    MD->map.reserve(3 * order);
    std::copy(map, map + order, MD->map.X);
    MD->AllOrders = MD->map.X + order;
    MD->inverse_map = MD->AllOrders + order;
    std::fill(MD->AllOrders, MD->AllOrders + order, 0);
    for (int k = 0; k < order; k++) {
        const int* at = std::find(map, map + order, k);
        MD->inverse_map[k] = at == map + order ? -1 : static_cast<int>(at - map);
    }
    MD->Ngen = dg->Mult;
    MD->Generators.reserve(std::max(dg->Mult, 1));
    for (int i = 0; i < dg->Mult; i++)
        MD->Generators[i] = map[DG_basis(dg, i)];
    if (infoLevel() > 2)
        printDiscreteGroup(dg, map);
    GSC_computeMonodromies(MD);
    if (param(Par::SelectionSymmetric))
        Alert("GSC_computeAllGroupInvariants", 0, 112311, "Symmetry requirement ignored\n");
    MD->SymmetryRequired = 0;
    MD->Automorphism = param(Par::SelectionAutomorphism);
    MD->Extension = param(Par::SelectionExtension);
    MD->RejectPermutations = 0;
    MD->AutoStore = 0;
    MD->AlgebraRestrictions = algebraRestrictionsSet();
    startSubgroupLoops(MD);
    MIPF_analysis_fcn = fcn3;
    LoopsRunning running;
    const int r = generateInvariants(MD);
    MIPF_analysis_fcn = computeInvariant;
    return r;
}

// ============================================================ Scans

namespace {

// A scan of the whole center from scan number 0, outside subgroup selection.
int scanCenter(const char* routine) {
    Alert(routine, 0, 100218, "WARNING: MIPF selection numbers depend on selection criteria");
    resetSubgroupAutoSelection(0);
    ScanMIPFCount = 0;
    if (param(Par::Autostore))
        initSMATRIX();
    int* map = nullptr;
    Discrete_Group* dg = getCenter(&map);
    return ComputeAllSimpleCurrentInvariants(dg, map);
}

} // namespace

int simpleCurrentScanCompleted() {
    return scanCompleted ? 1 : 0;
}

void buildSelectedSimpleCurrentInvariants() {
    if (nestedSearch("buildSelectedSimpleCurrentInvariants"))
        return;
    scanCenter("buildSelectedSimpleCurrentInvariants");
    Print("\n");
    clearMIPFSelection();
}

namespace {

// A chosen scan with "Autostore" on keeps the store when it holds the last chosen invariant
// already; false when the scan has nothing to visit.
bool prepareStoreForChosenScan(const int* selection) {
    if (selection[0] == -1)
        return false;
    int last = 0;
    while (selection[last + 1] != -1)
        last++;
    const std::string name = "Invariant_" + std::to_string(selection[last]);
    if (!findNamedBulkInvariant(name.c_str()))
        resetInvariantStore();
    return true;
}

void restoreCurrentInvariant(BulkInvariant* saved) {
    copyBulkInvariant(getLocalBulk(), saved);
    setCurrentBulkInvariant(getLocalBulk());
}

} // namespace

// A collection keeps what it stored: emptying the store after it would leave a collection
// without result.
void buildMultipleSimpleCurrentInvariants(int* selection, int autostore_override) {
    if (nestedSearch("buildMultipleSimpleCurrentInvariants"))
        return;
    const int wasAutostore = param(Par::Autostore);
    if (autostore_override != 2)
        setParam(Par::Autostore, autostore_override);
    std::unique_ptr<BulkInvariant> saved(allocNewBulkInvariant(nullptr));
    copyBulkInvariant(saved.get(), *getCurrentBulk());
    setMIPFSelection(selection);
    bool scan = true;
    if (param(Par::Autostore) && selection)
        scan = prepareStoreForChosenScan(selection);
    if (!selection && autostore_override == 1) {
        resetInvariantStore();
        Inform("Collecting MIPFs; Invariants storage was reset\n");
    }
    if (scan)
        buildSelectedSimpleCurrentInvariants();
    else
        clearMIPFSelection();
    if (!wasAutostore && autostore_override == 0) {
        resetInvariantStore();
        Inform("Invariants storage was reset\n");
    }
    restoreCurrentInvariant(saved.get());
    if (autostore_override != 2)
        setParam(Par::Autostore, wasAutostore);
}

// ============================================================ Choosing one invariant

int selectBulkInvariantInSubgroup(int* currents, int Ngen) {
    if (nestedSearch("selectBulkInvariantInSubgroup"))
        return 0;
    SearchCriteria& c = criteria();
    c.PerformSubgroupSelection = 1;
    c.SubgroupSelectionCount = 0;
    if (Ngen == 1 && currents[0] == 0)
        return resetSubgroupAutoSelection(0);
    displaySelectionCriteria(0);
    std::unique_ptr<BulkInvariant> saved(allocNewBulkInvariant(nullptr));
    copyBulkInvariant(saved.get(), *getCurrentBulk());
    if (ComputeAllSubgroupInvariants(currents, Ngen, nullptr) == -5) {
        setCurrentBulkInvariant(candidate());
        return resetSubgroupAutoSelection(1);
    }
    restoreCurrentInvariant(saved.get());
    return resetSubgroupAutoSelection(0);
}

// ============================================================ By number

BulkInvariant* getBulkInvariantByNumber(int n) {
    if (nestedSearch("getBulkInvariantByNumber"))
        return nullptr;
    Inform("Constructing invariant %d\n", n);
    const int selection[] = {n, -1};
    setMIPFSelection(selection);
    SelectCurrentBulk = 1;
    BuiltByNumber = 0;
    scanCenter("getBulkInvariantByNumber");
    SelectCurrentBulk = 0;
    clearMIPFSelection();
    if (!BuiltByNumber) {
        Print("No invariant found that meets criteria\n");
        return nullptr;
    }
    return *getCurrentBulk();
}
