// The criteria under which invariants are selected: required, present and forbidden currents of
// the chiral algebras, automorphism pairings, the fields invariants are built for, the MIPF
// numbers to visit, the automatic choice and the loop command; their tests, display and the
// command lines that set them again.
#include "modular/Invariants.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Terminal.h"
#include "modular/InvariantsInternal.h"

#include <cstdarg>
#include <cstdio>
#include <utility>

using namespace invariants_internal;

namespace {

constexpr int ClearedLoopEnd = 2000000;

// The caller's lists, ended by -1; null while the criterion is off.
int* LeftSelection = nullptr;
int* RightSelection = nullptr;
int ReqAllLeft = 1;
int ReqAllRight = 1;
int* LeftForbidden = nullptr;
int* RightForbidden = nullptr;

SearchCriteria criteria;

int infoLevel() {
    return param(Par::InfoLevel);
}

// A rejection; its reason shows from info level 2 on.
int reject(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
int reject(const char* fmt, ...) {
    if (infoLevel() < 2)
        return 0;
    char text[200];
    va_list ap;
    va_start(ap, fmt);
    std::vsnprintf(text, sizeof text, fmt, ap);
    va_end(ap);
    Print("%s", text);
    return 0;
}

int listLength(const int* list) {
    int n = 0;
    while (list[n] != -1)
        n++;
    return n;
}

bool contains(int size, const int* algebra, int current) {
    for (int k = 0; k < size; k++)
        if (algebra[k] == current)
            return true;
    return false;
}

// The required currents of one side: all of them, or at least one.
int checkRequired(const int* required, int all, int size, const int* algebra, const char* side) {
    if (!required)
        return 1;
    const int n = listLength(required);
    bool any = false;
    for (int k = 0; k < n; k++) {
        const bool present = contains(size, algebra, required[k]);
        if (all && !present)
            return reject("Rejected; does not contain current %d\n", required[k]);
        any = any || present;
    }
    if (n == 0 || !any)
        return reject("Rejected; does not contain any required %s current\n", side);
    return 1;
}

int checkForbidden(const int* forbidden, int size, const int* algebra, const char* message) {
    if (!forbidden)
        return 1;
    for (int k = 0; forbidden[k] != -1; k++)
        if (contains(size, algebra, forbidden[k]))
            return reject(message, forbidden[k]);
    return 1;
}

int checkPairings(const BulkInvariant* bi) {
    if (bi->left_extension_size >= 2)
        return reject("Rejected: not an automorphism\n");
    if (!criteria.AutomorphismSelection)
        return 1;
    for (const int* p = criteria.AutomorphismSelection; p[0] != -1; p += 2) {
        const int i = p[0], j = p[1];
        const bool paired =
            i >= 0 && i < bi->Nprimaries && bi->orbitlength[i] > 0 && bi->orbits[i][0] == j;
        if (!paired)
            return reject("Rejected: does not map %d to %d\n", i, j);
    }
    return 1;
}

void printCurrents(const char* label, const int* currents) {
    Print("%s", label);
    for (int k = 0; currents[k] != -1; k++)
        Print(" %d", currents[k]);
    Print("\n");
}

void writeCurrents(FILE* file, const char* command, const int* currents) {
    std::fprintf(file, "%s", command);
    for (int k = 0; currents[k] != -1; k++)
        std::fprintf(file, " %d", currents[k]);
    std::fprintf(file, "\n");
}

} // namespace

namespace invariants_internal {

SearchCriteria& searchCriteria() {
    return criteria;
}

int currentSubgroupLabel() {
    return criteria.SubgroupLabel;
}

int algebraRestrictionsSet() {
    return LeftSelection || RightSelection || LeftForbidden || RightForbidden ? 1 : 0;
}

void clearPrimarySelection() {
    criteria.PrimarySelection = nullptr;
}

void prepareMIPFSelection() {
    if (criteria.MIPFSelection.reserved())
        return;
    criteria.MIPFSelection.reserve(10);
    criteria.MIPFSelection[0] = -1;
    criteria.NextSelectedMIPF = 0;
}

void clearMIPFSelection() {
    prepareMIPFSelection();
    criteria.MIPFSelection[0] = -1;
    criteria.NextSelectedMIPF = 0;
}

} // namespace invariants_internal

// ============================================================ Setters and resets

void setRequireLeft(int* currents) {
    LeftSelection = currents;
    ReqAllLeft = 1;
}

void setRequireRight(int* currents) {
    RightSelection = currents;
    ReqAllRight = 1;
}

void setRequireLeftAny(int* currents) {
    LeftSelection = currents;
    ReqAllLeft = 0;
}

void setRequireRightAny(int* currents) {
    RightSelection = currents;
    ReqAllRight = 0;
}

void setForbidLeft(int* currents) {
    LeftForbidden = currents;
}

void setForbidRight(int* currents) {
    RightForbidden = currents;
}

void setRequireAuto(int* pairs) {
    if (!pairs) {
        setParam(Par::SelectionAutomorphism, 0);
        return;
    }
    criteria.AutomorphismSelection = pairs;
    setParam(Par::SelectionAutomorphism, 1);
}

void setPrimarySelection(IntegerList* list) {
    criteria.PrimarySelection = list;
}

void setMIPFSelection(const int* selection) {
    if (!selection) {
        criteria.MIPFSelection.reserve(100);
        criteria.MIPFSelection[0] = -2;
    } else {
        const int n = listLength(selection);
        criteria.MIPFSelection.reserve(n + 1);
        for (int k = 0; k <= n; k++)
            criteria.MIPFSelection[k] = selection[k];
    }
    criteria.NextSelectedMIPF = 0;
}

// Any number of random samples makes the scan random, so no candidate has a fixed number.
void setSelection(int value) {
    if (param(Par::MIPFRandom) != 0) {
        Alert("setSelection", 0, 100302, "Autoselect is inconsistent with randomization");
        value = 0;
    }
    criteria.AutoSelectionNumber = value;
}

void setSubgroupStart(int sgstart, int tmstart) {
    criteria.SubgroupStart = sgstart;
    criteria.ScanMIPFCountStart = tmstart;
    if (param(Par::Autostore))
        Alert("setSubgroupStart", 0, 100302, "Non-zero loop start is inconsistent with autostore");
}

void setLoopCommand(char* command) {
    criteria.LoopCommand = command;
    if (command)
        return;
    setParam(Par::LoopStart, 0);
    setParam(Par::LoopEnd, ClearedLoopEnd);
}

void resetAlgebraRequirements() {
    LeftSelection = RightSelection = LeftForbidden = RightForbidden = nullptr;
    criteria.PrimarySelection = nullptr;
    criteria.AutomorphismSelection = nullptr;
}

void resetSelectionCriteria() {
    LeftSelection = RightSelection = LeftForbidden = RightForbidden = nullptr;
    criteria.PrimarySelection = nullptr;
    setParam(Par::SelectionSymmetric, 0);
    setParam(Par::SelectionExtension, 0);
    setParam(Par::SelectionAutomorphism, 0);
    criteria.AutoSelectionNumber = 0;
}

int resetSubgroupAutoSelection(int rc) {
    criteria.PerformSubgroupSelection = criteria.SubgroupSelectionCount = 0;
    return rc;
}

int resetSubgroupLabel(int rc) {
    criteria.SubgroupLabel = -1;
    if (infoLevel() <= 1)
        stopModal();
    return rc;
}

int invariantSelectionInformation(const char* text, int rc) {
    if (infoLevel() >= 4)
        Inform("%s", text);
    return rc;
}

// ============================================================ Tests

int checkSelectionCriteria(const BulkInvariant* bi) {
    if (param(Par::SelectionSymmetric) && bi->symmetric == 0)
        return reject("Rejected: not symmetric\n");
    if (param(Par::SelectionExtension) && bi->left_extension_size == 1)
        return reject("Rejected: pure automorphism\n");
    if (param(Par::SelectionAutomorphism) && !checkPairings(bi))
        return 0;
    return checkAlgebraSelectionCriteria(bi->left_extension_size, bi->left_extension,
                                         bi->orbitlength[0], bi->right_extension);
}

int checkAlgebraSelectionCriteria(int LeftSize, const int* LeftAlgebra, int RightSize,
                                  const int* RightAlgebra) {
    return checkRequired(LeftSelection, ReqAllLeft, LeftSize, LeftAlgebra, "left") &&
           checkRequired(RightSelection, ReqAllRight, RightSize, RightAlgebra, "right") &&
           checkForbidden(LeftForbidden, LeftSize, LeftAlgebra,
                          "Rejected; Left algebra contains forbidden current %d\n") &&
           checkForbidden(RightForbidden, RightSize, RightAlgebra,
                          "Rejected; Right algebra contains forbidden current %d\n");
}

int checkAutomorphismSelectionCriteria(const BulkInvariant* bi) {
    if (!param(Par::SelectionAutomorphism))
        return 1;
    return checkPairings(bi);
}

// ============================================================ Display and output

void displaySelectionCriteria(int request) {
    bool any = false;
    auto show = [&any](const char* text) {
        Print("%s", text);
        any = true;
    };
    if (param(Par::SelectionSymmetric))
        show("Selection restricted to symmetric invariants\n");
    if (param(Par::SelectionExtension))
        show("Selection restricted to non-trivial chiral algebra extensions\n");
    if (param(Par::SelectionAutomorphism)) {
        show("Selection restricted to automorphism invariants\n");
        if (criteria.AutomorphismSelection && criteria.AutomorphismSelection[0] != -1) {
            Print("Required pairings: ");
            for (const int* p = criteria.AutomorphismSelection; p[0] != -1; p += 2)
                Print(" %d:%d", p[0], p[1]);
            Print("\n");
        }
    }
    const char* leftLabel =
        ReqAllLeft ? "Required left currents (all): " : "Required left currents (any): ";
    const char* rightLabel =
        ReqAllRight ? "Required right currents (all): " : "Required right currents (any): ";
    for (const auto& [list, label] :
         {std::pair{LeftSelection, leftLabel}, std::pair{RightSelection, rightLabel},
          std::pair{LeftForbidden, "Forbidden left currents: "},
          std::pair{RightForbidden, "Forbidden right currents: "}})
        if (list) {
            printCurrents(label, list);
            any = true;
        }
    if (criteria.AutoSelectionNumber != 0) {
        Print("Auto selection: nr. %d\n", criteria.AutoSelectionNumber);
        any = true;
    }
    if (!any && request == 1)
        Print("No selection criteria\n");
}

void writeInvariantSelectionCriteria(FILE* file) {
    if (param(Par::SelectionSymmetric))
        std::fprintf(file, "set selection symmetric\n");
    if (param(Par::SelectionExtension))
        std::fprintf(file, "set selection extension\n");
    if (param(Par::SelectionAutomorphism))
        std::fprintf(file, "set selection automorphism\n");
    if (param(Par::RejectPermutations))
        std::fprintf(file, "set reject permutations\n");
    if (param(Par::Autostore) == 1)
        std::fprintf(file, "set autostore on\n");
    else if (param(Par::Autostore) == 0)
        std::fprintf(file, "set autostore off\n");
    if (LeftSelection)
        writeCurrents(file, ReqAllLeft ? "set require left" : "set present left", LeftSelection);
    if (RightSelection)
        writeCurrents(file, ReqAllRight ? "set require right" : "set present right",
                      RightSelection);
    if (LeftForbidden)
        writeCurrents(file, "set forbid left ", LeftForbidden);
    if (RightForbidden)
        writeCurrents(file, "set forbid right ", RightForbidden);
}

void printInvariantSelectionCriteria(FILE* file) {
    if (param(Par::SelectionSymmetric))
        std::fprintf(file, "Symmetric ");
    if (param(Par::SelectionExtension))
        std::fprintf(file, "Extension ");
    if (param(Par::SelectionAutomorphism))
        std::fprintf(file, "Automorphism ");
    if (param(Par::MIPFRandom) != 0)
        std::fprintf(file, "(Randomized) ");
    if (param(Par::RejectPermutations))
        std::fprintf(file, "(Permutations suppressed)");
    std::fprintf(file, "\n");
}

void generateDiagonalSelectionWarning() {
    if (param(Par::SelectionExtension))
        Print("WARNING: the diagonal invariant does not satisfy the chosen selection criteria\n");
    if (algebraRestrictionsSet())
        Print("WARNING: the diagonal invariant may not satisfy the chosen selection criteria\n");
}
