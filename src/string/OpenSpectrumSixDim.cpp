// Six dimensions with eight supercharges: the closed string's hyper and tensor multiplets from the
// Klein bottle, the open string's vector and hyper multiplets, and the anomaly tests.
#include "base/Error.h"
#include "base/Output.h"
#include "boundary/CrossBound.h"
#include "numeric/VectorUtility.h"
#include "store/StringData.h"
#include "string/OpenSpectrum.h"
#include "string/OpenSpectrumAnalysis.h"
#include "string/OpenSpectrumAnalysisInternal.h"
#include "string/StringTheory.h"
#include "string/Tadpole.h"

#include <vector>

namespace {

const char* const Rule =
    "==========================================================================\n";

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

namespace {

// Per gauge factor its anomaly coefficient; per label its factor.
struct GaugeFactors {
    std::vector<int> anomaly;
    std::vector<int> factorOf;
};

GaugeFactors gaugeFactors(const ChanPatonData* CPD) {
    GaugeFactors G;
    G.factorOf.assign(static_cast<std::size_t>(CPD->Nbnd), -1);
    for (int a = 0; a < CPD->Nbnd; a++) {
        const int N = CPD->CPmults[static_cast<std::size_t>(a)];
        if (N == 0)
            continue;
        const int ac = CPD->OI->Conjugates.X[a];
        const int M0 = getMoebius(0, a);
        int coefficient = 0;
        if (M0 == 1 && a == ac)
            coefficient = 4 * N - 32;
        else if (M0 == -1 && a == ac)
            coefficient = 4 * N + 32;
        else if (M0 == 0 && ac > a)
            coefficient = 8 * N;
        else
            continue;
        G.factorOf[static_cast<std::size_t>(a)] = static_cast<int>(G.anomaly.size());
        if (ac != a)
            G.factorOf[static_cast<std::size_t>(ac)] = static_cast<int>(G.anomaly.size());
        G.anomaly.push_back(coefficient);
    }
    return G;
}

// The open hypers (in quarters, added to h) of every massless field, with their lines, and
// their share of the gauge anomalies.
void openHypers(const ChanPatonData* CPD, GaugeFactors* G, int* h) {
    const IntegerList* L = getMasslessLabels();
    const int factors = static_cast<int>(G->anomaly.size());
    const auto N = [CPD](int a) { return CPD->CPmults[static_cast<std::size_t>(a)]; };
    const auto conj = [CPD](int a) { return CPD->OI->Conjugates.X[a]; };
    const auto lessAnomaly = [G](int f, int value) {
        if (f >= 0)
            G->anomaly[static_cast<std::size_t>(f)] -= value;
    };
    for (int k = 1; L && k < L->cnt; k++) {
        const int m = L->list[k];
        const int* info = getRepInfo(m);
        const int w = info ? info[1] : 0;
        for (int a = 0; a < CPD->Nbnd; a++) {
            if (N(a) == 0)
                continue;
            const int f = G->factorOf[static_cast<std::size_t>(a)];
            const int ac = conj(a);
            const int A = getAnnulus(m, a, a), M = getMoebius(m, a);
            *h += (w * M + w * N(a) * A) * N(a);
            amplitudeChecks("SixDimensionalAnalysis", m, a, A, M, false);
            lessAnomaly(f, 2 * w * N(a) * A + 16 * w * M);
            PrintRep1(f, factors, A, M, w, m, a - ac);
            const int Aac = ac > a ? getAnnulus(m, a, ac) : 0;
            if (Aac != 0) {
                *h += 2 * w * N(a) * N(ac) * Aac;
                lessAnomaly(f, 4 * w * N(a) * Aac);
                PrintRep1(f, factors, Aac, 0, w, m, 0);
            }
            for (int b = a + 1; b < CPD->Nbnd; b++) {
                if (N(b) == 0 || b == ac)
                    continue;
                const int A3 = getAnnulus(m, a, b);
                const int fb = G->factorOf[static_cast<std::size_t>(b)];
                *h += N(b) * N(a) * 2 * w * A3;
                lessAnomaly(f, N(b) * 2 * w * A3);
                lessAnomaly(fb, 2 * w * A3 * N(a));
                PrintRep2(factors, f, fb, A3, w, m, a - ac, b - conj(b));
            }
        }
    }
}

} // namespace

int SixDimensionalAnalysis(ChanPatonData* CPD) {
    const Heterotic* Hd = getStringData();
    const int D = Hd ? Hd->SpaceTimeDim : -1;
    if (D != 6)
        Alert("SixDimensionalAnalysis", 0, 112311,
              "Further analysis not (yet) available for dimension %d", D);
    Print("\n%s", Rule);
    Print("        SPECTRUM ANALYSIS    \n");
    Print("%s", Rule);
    Print("Space-time dimension: %d\n", D);
    Print("----- Closed sector\n");
    Print("Identity component: 1 Supergravity multiplet + 1 Hyper multiplet\n");
    int H = 0, T = 0, H1 = 0, t = 0;
    if (sixDimensionalClosedCount(&H, &T, &H1, &t) < 0)
        return -1;
    Print("Massless Matter: %d Hyper mutiplets + %d Tensor Multiplets\n", H, T);
    Print("----- Open sector\n");
    const int V = gaugeBosonCount(CPD, 5, nullptr);
    GaugeFactors G = gaugeFactors(CPD);
    Print("Identity component: %d Vector multiplets\n", V);
    Print("--------------- Representation content -----------------------\n");
    Print("(NOTE: multiplicities are for 1/2 of a standard hypermultiplet)\n");
    PrintGroups(CPD);
    int h = 4 * H1;
    openHypers(CPD, &G, &h);
    Print("-------------------------------------------------------------\n");
    bool gaugeAnomaly = false;
    for (std::size_t f = 0; f < G.anomaly.size(); f++) {
        if (G.anomaly[f] == 0)
            continue;
        gaugeAnomaly = true;
        Alert("SixDimensionalAnalysis", 6, 212404,
              "Gauge anomaly not cancelled for group factor %d\n", static_cast<int>(f));
    }
    const int Htot = h / 4;
    Print("In total: Super:   1\n          Hyper:  %2d  (1+%d+%d)\n          Tensor: %2d\n"
          "          Vector: %2d\n",
          Htot, H, Htot - H1, T, V);
    const int g = 14 * t - 252 - H1 - V + Htot;
    if (g != 0)
        Alert("SixDimensionalAnalysis", 7, 212404,
              "Gravitational Anomaly does not cancel;\n need %d additional Hyper multiplets", -g);
    else
        Print("Gravitational anomaly cancellation OK\n");
    if (!gaugeAnomaly)
        Print("Gauge anomaly cancellation OK\n");
    Print("%s\n", Rule);
    return 1;
}
