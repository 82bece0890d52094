// The one entry for a single S-matrix element of a building block given by its algebra triple.
#include "lie/Smatrix.h"

#include "lie/S_analytic.h"
#include "lie/Tarvik.h"

#include <cmath>
#include <numbers>

namespace {

constexpr const char* Routine = "SDirect";

// exp(-2 pi i ab / N) / sqrt(N) for the free boson of radius N.
void freeBoson(int radius, int a, int b, double* sumr, double* sumi) {
    const double angle = 2 * a * b * std::numbers::pi / radius;
    const double root = std::sqrt(static_cast<double>(radius));
    *sumr = std::cos(angle) / root;
    *sumi = -std::sin(angle) / root;
}

bool exceptionalRank(int rank) {
    return rank == 2 || rank == 4 || rank == 6 || rank == 7 || rank == 8;
}

// A supported type whose rank or level has no formula. B of rank 1 is kept: the spectrum
// enumerates it as A1 at twice the level, and the B formula gives exactly that S-matrix.
bool outsideDomain(int type, int rank, int level) {
    if (rank < 0 || level < 0)
        return true;
    if (type == 4)
        return rank < 3;
    if (type == 5)
        return !exceptionalRank(rank);
    return false;
}

void exceptional(int rank, int level, const int* rep1, const int* rep2, double* sumr,
                 double* sumi) {
    switch (rank) {
    case 2:
        TarvikG(rep1, rep2, sumr, sumi, level);
        break;
    case 4:
        TarvikF(rep1, rep2, sumr, sumi, level);
        break;
    case 6:
        TarvikE6(rep1, rep2, sumr, sumi, level);
        break;
    case 7:
        TarvikE7(rep1, rep2, sumr, sumi, level);
        break;
    default:
        TarvikE8(rep1, rep2, sumr, sumi, level);
        break;
    }
}

bool hasRoutine(int type) {
    return (type >= 1 && type <= 5) || type == 13 || type == 26 || type == 27;
}

void dispatch(int type, int rank, int level, const int* rep1, const int* rep2, double* sumr,
              double* sumi) {
    switch (type) {
    case 1:
        TarvikA(rep1, rep2, sumr, sumi, rank, level);
        break;
    case 2:
        // The level-1 table names the fields of rank 2 and more; B1 is A1 at twice the level.
        if (level > 1 || rank == 1)
            TarvikB(rep1, rep2, sumr, sumi, rank, level);
        else
            TarvikB1(rep1, rep2, sumr, sumi, rank);
        break;
    case 3:
        if (level != 1)
            TarvikC(rep1, rep2, sumr, sumi, rank, level);
        else
            TarvikC1(rep1, rep2, sumr, sumi, rank, level);
        break;
    case 4:
        if (level > 1)
            TarvikD(rep1, rep2, sumr, sumi, rank, level);
        else
            TarvikD1(rep1, rep2, sumr, sumi, rank);
        break;
    case 5:
        exceptional(rank, level, rep1, rep2, sumr, sumi);
        break;
    case 13:
        TarvikBtilde(rep1, rep2, sumr, sumi, rank, level);
        break;
    case 26:
        SmatMinFCFT(rep1, rep2, sumr, sumi, rank, level);
        break;
    case 27:
        SmatMinCFT(rep1, rep2, sumr, sumi, rank, level);
        break;
    default:
        break;
    }
}

} // namespace

void SDirect(int type, int rank, int level, const int* rep1, const int* rep2, double* sumr,
             double* sumi) {
    // Callers read both parts whatever happens, so a triple without a formula gets 0.
    *sumr = 0.0;
    *sumi = 0.0;
    if (type == 0) {
        if (rank < 1)
            InputError(type, rank, level, Routine);
        else
            freeBoson(rank, rep1[0], rep2[0], sumr, sumi);
        return;
    }
    if (rank == 0 || level == 0) {
        *sumr = 1.0;
        return;
    }
    if (!hasRoutine(type)) {
        typecheck(type, rank, level, 1, Routine);
        return;
    }
    if (outsideDomain(type, rank, level)) {
        InputError(type, rank, level, Routine);
        return;
    }
    dispatch(type, rank, level, rep1, rep2, sumr, sumi);
}
