// The printed forms of the two label sets. Everything goes through Print, so that it reaches the
// output file and captured command output too.
#include "boundary/CrossBound.h"

#include "boundary/CrossBoundInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Tables.h"
#include "modular/Invariants.h"
#include "modular/Modular.h"
#include "tensor/FixedPoints.h"

#include <algorithm>

using namespace crossbound_internal;

namespace {

const BoundaryLabel& boundary(int a) {
    return BoundaryLabels[static_cast<std::size_t>(a)];
}

// Labels of a primary with several untwisted stabiliser elements show their psi.
bool showsCharacter(const BoundaryLabel& b) {
    return b.fptype && b.fptype->dg && b.fptype->dg->Order > 1;
}

// Consecutive fields form one run of table rows; the header comes with the first run only.
void printFieldRuns(const std::vector<int>& fields) {
    const char* table = getCosetMode() == 1 ? "TensorSpectrum" : "Spectrum";
    const int header = getHeader(table);
    std::size_t start = 0;
    for (std::size_t k = 1; k <= fields.size(); k++) {
        if (k < fields.size() && fields[k] == fields[k - 1] + 1)
            continue;
        printSpectrum(fields[start], fields[k - 1] + 1, 0);
        setHeader(table, 0);
        start = k;
    }
    setHeader(table, header);
}

} // namespace

char SymBsymB(int a) {
    return boundary(a).symmetry_breaking ? '*' : ' ';
}

void showBoundaryLabels(int min, int max) {
    if (BoundaryLabelCount == 0) {
        Print("No boundary labels known\n");
        return;
    }
    if (min == 0 && max == BoundaryLabelCount - 1)
        Print("Boundary labels: (In total %d; * indicates symmetry breaking)\n",
              BoundaryLabelCount);
    for (int a = std::max(min, 0); a <= max && a < BoundaryLabelCount; a++) {
        const BoundaryLabel& b = boundary(a);
        Print("Nr. %-5d   ", a);
        if (showsCharacter(b))
            Print("[%d,%d] %c\n", b.label, b.fp, SymBsymB(a));
        else
            Print("%d %c\n", b.label, SymBsymB(a));
    }
}

void showIshibashiLabels(int min, int max) {
    Print("Ishibashi labels: (In total %d)\n", IshibashiLabelCount);
    for (int m = std::max(min, 0); m <= max && m < IshibashiLabelCount; m++) {
        const IshibashiLabel& l = IshibashiLabels[static_cast<std::size_t>(m)];
        Print("Nr. %-5d   ", m);
        if (l.multiplicity >= 2 || l.current != 0)
            Print("(%d,%d)\n", l.label, l.current);
        else
            Print("%d\n", l.label);
    }
}

void showBoundaryLabelDetails(int a) {
    if (BoundaryLabelCount == 0) {
        Print("No boundary labels known\n");
        return;
    }
    if (a < 0 || a >= BoundaryLabelCount)
        return;
    const BoundaryLabel& b = boundary(a);
    Print("Boudary label %d\n", a);
    if (showsCharacter(b))
        Print("[%d,%d]\n", b.label, b.fp);
    else
        Print("%d\n", b.label);
    if (b.symmetry_breaking)
        Print("Breaks bulk symmetry of the MIPF\n");
    // One row per bulk current: a fixed point shows once for each current that fixes it.
    const SCData* MD = currentBulk()->MD;
    const int order = MD && MD->dg ? MD->dg->Order : 1;
    std::vector<int> fields;
    for (int k = 0; k < order; k++)
        fields.push_back(MD && MD->dg ? simpleFusion(MD->map[k], b.label) : b.label);
    printFieldRuns(fields);
}

namespace {

// "Orbit: " and the image under every group position, comma-separated.
template <class Image> void printOrbit(int order, Image image) {
    Print("Orbit: ");
    for (int k = 0; k < order; k++)
        Print(k + 1 < order ? "%d," : "%d\n", image(k));
}

bool orbitsShown(const char* routine) {
    if (OrbitDataAvailable == QueryBulkInvariant())
        return true;
    Alert(routine, 0, 100302, "Orbit information not available");
    return false;
}

} // namespace

void showBoundaryOrbit(int a) {
    if (!orbitsShown("showBoundaryOrbit"))
        return;
    const BoundaryLabel& b = boundary(a);
    Print("Boundary label %d=(%d,%d); Orbit location (%d,%d)\n", a, b.label, b.fp, b.orbit_start,
          b.orbit_member);
    printOrbit(BoundaryOrder, [a](int k) { return getBoundaryOrbitImage(a, k); });
}

void showIshibashiOrbit(int m) {
    if (!orbitsShown("showIshibashiOrbit"))
        return;
    const IshibashiLabel& l = IshibashiLabels[static_cast<std::size_t>(m)];
    Print("Ishibashi label %d=(%d,%d); Orbit location (%d,%d)\n", m, l.label, l.current,
          l.orbit_start, l.orbit_member);
    printOrbit(IshiOrder, [m](int k) { return getIshibashiOrbitImage(m, k); });
}
