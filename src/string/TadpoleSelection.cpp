#include "base/Error.h"
#include "base/Output.h"
#include "boundary/CrossBound.h"
#include "modular/Modular.h"
#include "string/Tadpole.h"
#include "string/TadpoleInternal.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

constexpr int MaxFixed = 24;

std::vector<int> ActBound, FixVar, RequireConfinement;
std::vector<int> FixVarSet;
int ActBoundSet = 0;
int ReqConf = 0;
int ActiveBoundaryStatus = -2;

// Boundaries the equations switched off (identical columns, group-type criteria) belong to the
// orientifold and reading they were built for: another orientifold has other conjugates, group
// types and crosscaps, so its columns are judged afresh.
std::vector<char> DerivedOff;
std::array<int, 4> DerivedStamp{-10, -10, -10, -10};

// Sized again at the next use: a parameter change may come before any theory has boundaries.
void clearDerived() {
    if (std::find(DerivedOff.begin(), DerivedOff.end(), 1) != DerivedOff.end())
        tadpole::selectionChanged();
    DerivedOff.clear();
    DerivedStamp = {-10, -10, -10, -10};
}

void refresh() {
    if (ActiveBoundaryStatus != QueryBulkInvariant())
        initActiveBoundaries(-3);
    if (DerivedStamp != tadpole::readingKey()) {
        clearDerived();
        DerivedOff.assign(static_cast<std::size_t>(TotalBoundaries()), 0);
        DerivedStamp = tadpole::readingKey();
    }
}

bool derivedOff(int a) {
    return a >= 0 && a < static_cast<int>(DerivedOff.size()) &&
           DerivedOff[static_cast<std::size_t>(a)] != 0;
}

int conjugateOf(int a) {
    const int* c = getAnnulusConjugates();
    return c ? c[a] : a;
}

bool validLabel(int a) {
    return a >= 0 && a < static_cast<int>(ActBound.size());
}

} // namespace

int initActiveBoundaries(int a) {
    const auto n = static_cast<std::size_t>(TotalBoundaries());
    ActBound.assign(n, 0);
    FixVar.assign(n, -1);
    RequireConfinement.assign(n, 0);
    ReqConf = 0;
    FixVarSet.clear();
    clearDerived();
    tadpole::selectionChanged();
    if (a == -1) {
        ActBoundSet = 0;
        return 0;
    }
    if (a == -3)
        ActBound.assign(n, 1);
    ActBoundSet = 1;
    ActiveBoundaryStatus = QueryBulkInvariant();
    return 0;
}

void tadpole::resetSelection() {
    if (ActiveBoundaryStatus != -2)
        initActiveBoundaries(-3);
    else
        clearDerived();
}

void tadpole::switchOffDerived(int a) {
    refresh();
    if (a < 0 || a >= static_cast<int>(DerivedOff.size()) || !initTadpole())
        return;
    DerivedOff[static_cast<std::size_t>(a)] = 1;
    DerivedOff[static_cast<std::size_t>(conjugateOf(a))] = 1;
    tadpole::selectionChanged();
}

int ActiveBoundaries(int a) {
    refresh();
    if (derivedOff(a))
        return 0;
    if (!ActBoundSet)
        return 1;
    return validLabel(a) ? ActBound[static_cast<std::size_t>(a)] : 0;
}

int FixedVariables(int a) {
    refresh();
    if (!ActBoundSet || !validLabel(a))
        return -1;
    return FixVar[static_cast<std::size_t>(a)];
}

void setActBound(int a, int value) {
    refresh();
    if (!validLabel(a) || !initTadpole())
        return;
    ActBound[static_cast<std::size_t>(a)] = value;
    ActBound[static_cast<std::size_t>(conjugateOf(a))] = value;
    tadpole::selectionChanged();
}

int setFixVar(int a, int value) {
    refresh();
    if (!validLabel(a) || !initTadpole())
        return 0;
    if (FixVar[static_cast<std::size_t>(a)] != -1)
        return 1;
    // Replacing an entry would leave its value fixed without listing it: refuse instead.
    if (static_cast<int>(FixVarSet.size()) >= MaxFixed) {
        // A limit the user meets with a long list, not an inconsistency: refused, the run goes on.
        Alert("setFixVar", 0, 100213, "Too many fixed variables (max=24)");
        return 0;
    }
    const auto c = static_cast<std::size_t>(conjugateOf(a));
    FixVar[static_cast<std::size_t>(a)] = FixVar[c] = value;
    ActBound[static_cast<std::size_t>(a)] = ActBound[c] = 0;
    FixVarSet.push_back(a);
    tadpole::selectionChanged();
    return 1;
}

void setRequireConfinement(int i) {
    refresh();
    if (!validLabel(i))
        return;
    RequireConfinement[static_cast<std::size_t>(i)] = 1;
    ReqConf = 1;
}

int getRequireConfinement(int a) {
    refresh();
    return ActBoundSet && validLabel(a) ? RequireConfinement[static_cast<std::size_t>(a)] : 0;
}

int getFixedVariables() {
    refresh();
    return ActBoundSet ? static_cast<int>(FixVarSet.size()) : 0;
}

const int* getFixedVariableList() {
    return FixVarSet.data();
}

int activeBoundarySelection() {
    refresh();
    return ActBoundSet;
}

int cpLabelWidth(int Nbnd) {
    if (Nbnd <= 99)
        return 2;
    if (Nbnd <= 999)
        return 3;
    if (Nbnd <= 9999)
        return 4;
    return 7;
}

void browseCP() {
    if (!initTadpole())
        return;
    const int n = TotalBoundaries();
    const int w = cpLabelWidth(n);
    const int* types = getTadpoleGroupTypes();
    for (int b = 0; b < n; b++) {
        const char* group = types[b] == 0    ? "U"
                            : types[b] == 1  ? "SO"
                            : types[b] == -1 ? "Sp"
                                             : nullptr;
        if (group)
            Print("Label %*d       Group type %s(N)\n", w, b, group);
    }
}
