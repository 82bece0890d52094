// Bosons against fermions in the open sector of a non-supersymmetric configuration: rows whose
// net multiplicity vanishes pair up as supersymmetry multiplets would.
#include "base/Output.h"
#include "numeric/Sorting.h"
#include "numeric/VectorUtility.h"
#include "string/OpenSpectrumAnalysis.h"
#include "string/OpenSpectrumInternal.h"
#include "string/Tadpole.h"

#include <cstdlib>
#include <vector>

namespace {

void addRow(VectorSpace* S, const int* row, int width, int mult) {
    copyVec(width, rowOf(S, S->Nfill), row);
    addToCountedCollection(S, mult);
}

} // namespace

int OpenStringDim(int len, const int* rep, const int* type, const int* dims) {
    int d = 1;
    for (int f = 0; f < len; f++) {
        const int N = dims[f];
        switch (std::abs(rep[f])) {
        case 1:
            d *= N;
            break;
        case 2:
            d *= N * (N + 1) / 2;
            break;
        case 3:
            d *= N * (N - 1) / 2;
            break;
        case 4:
            d *= type[f] == 0 ? N * N : 1;
            break;
        default:
            break;
        }
    }
    return d;
}

void analyseNonSusySpectrum(VectorSpace* Fermions, VectorSpace* Bosons, ChanPatonData* CPD) {
    const int n = CPD->Nactive;
    std::vector<int> row(static_cast<std::size_t>(n) + 1, 0);
    // The gauginos: the adjoint of every factor, 4 unitary, 3 orthogonal, 2 symplectic.
    for (int f = 0; f < n; f++) {
        const int t = CPD->Types[static_cast<std::size_t>(f)];
        row.assign(row.size(), 0);
        row[static_cast<std::size_t>(f)] = t == 0 ? 4 : t == 1 ? 3 : 2;
        addRow(Fermions, row.data(), n + 1, -1);
    }
    for (int r = 0; r < rowCount(Fermions); r++)
        addRow(Bosons, rowOf(Fermions, r), n + 1, -2 * countOf(Fermions, r));
    int net = 0, dimension = 0, susy = 0, nonSusy = 0, squares = 0, weighted = 0;
    for (int r = 0; r < rowCount(Bosons); r++) {
        const int m = countOf(Bosons, r);
        const int d = OpenStringDim(n, rowOf(Bosons, r), CPD->Types.data(), CPD->dims.data());
        net += m;
        dimension += m * d;
        (m == 0 ? susy : nonSusy)++;
        squares += m * m;
        weighted += m * m * d;
    }
    Print("\n\nNon-susy statistics \nNet representation sum: %d\nNet dimension sum: %d\nNumber of "
          "susy multiplets: %d\nNumber of non-susy multiplets:  %d\nSum of squared net "
          "multiplicities: %d\nDimension weighted sum of squared net multiplicities: %d\n\n",
          net, dimension, susy, nonSusy, squares, weighted);
    Print("\n\nNon-susy statistics summary: %d %d %d %d %d %d\n\n", net, dimension, susy, nonSusy,
          squares, weighted);
}
