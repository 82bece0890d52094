// Six dimensions with eight supercharges: the closed string's hyper and tensor multiplets from the
// Klein bottle, the open string's vector and hyper multiplets, and the anomaly tests.
#include "base/Error.h"
#include "base/Output.h"
#include "boundary/CrossBound.h"
#include "numeric/VectorUtility.h"
#include "store/StringData.h"
#include "string/OpenSpectrumAnalysis.h"
#include "string/StringTheory.h"

namespace {

// Hyper and tensor counts of the closed string (h in quarters, t in halves).
struct ClosedCount {
    int h = 4;
    int t = 0;
    bool fields = false;
};

ClosedCount countClosed() {
    ClosedCount c;
    const IntegerList* M = getMasslessLabels();
    for (int k = 1; M && k < M->cnt; k++) {
        const int m = M->list[k];
        const int K = getKleinBottle(m);
        const int* info = getRepInfo(m);
        const int w = info ? info[1] : 0;
        c.h += 2 * w * (w + K);
        c.t += (w - K) * w;
        c.fields = true;
    }
    return c;
}

// H hypers beyond the identity's, T tensors, H1 = H + 1 and t twice the tensors; -1 after a
// report when the hypers are fractional.
int sixDimensionalClosedCount(int* H, int* T, int* H1, int* t) {
    const ClosedCount c = countClosed();
    *t = c.t;
    if (!c.fields) {
        *T = 0;
        *H1 = 1;
        *H = 0;
        return 1;
    }
    if (c.h % 4 != 0) {
        Alert("SixDimensionalAnalysis", 0, 212404,
              "Fractional multiplet multiplicity: Hyper=%d/4; Tensor=%d/2\n", c.h, c.t);
        return -1;
    }
    *T = c.t / 2;
    *H1 = c.h / 4;
    *H = *H1 - 1;
    return 1;
}

} // namespace

int SixDimensionalClosedAnalysis() {
    const Heterotic* H = getStringData();
    const int D = H ? H->SpaceTimeDim : -1;
    if (D != 6)
        Alert("SixDimensionalClosedAnalysis", 0, 112311,
              "Further analysis not available for dimension %d", D);
    Print("Closed sector content:\n");
    Print("   Identity component: 1 Supergravity multiplet + 1 Hyper multiplet\n");
    int hyper = 0, tensor = 0, h1 = 0, t = 0;
    if (sixDimensionalClosedCount(&hyper, &tensor, &h1, &t) < 0)
        return -1;
    Print("   Massless Matter:    %d Hyper mutiplets + %d Tensor Multiplets\n", hyper, tensor);
    return 1;
}
