#include "numeric/Loops.h"

#include "base/Error.h"
#include "numeric/MathUtility.h"
#include "numeric/VectorUtility.h"

namespace {

double lastLoopLength = 0.0;

// The highest value of a level under the remaining budget; a zero weight leaves only the cap.
int weightedCeiling(int cap, int coeff, int budget) {
    if (coeff == 0)
        return cap;
    return MinVal(cap, budget / coeff);
}

int weightedCeiling(int cap, double coeff, double budget) {
    if (coeff == 0.0)
        return cap;
    double q = budget / coeff;
    return q < cap ? static_cast<int>(q < -2147483648.0 ? -2147483648.0 : q) : cap;
}

} // namespace

// ---------------------------------------------------------------- box steps

int incrementInit(int Size, const int* Min, const int* Max, int* Loop) {
    for (int i = 0; i < Size; ++i) {
        Loop[i] = Min[i];
        if (Max[i] <= Min[i])
            return 1;
    }
    return 0;
}

int increment(int Size, const int* Min, const int* Max, int* Loop) {
    for (int i = Size - 1; i >= 0; --i) {
        if (++Loop[i] < Max[i])
            return 0;
        Loop[i] = Min[i];
    }
    return 1;
}

// With cut set, every point that shares the outer values and has a larger value at the
// innermost level above its minimum is skipped.
int incrementCut(int Size, const int* Min, const int* Max, int* Loop, int cut) {
    if (!cut)
        return increment(Size, Min, Max, Loop);
    int j = Size - 1;
    while (j >= 0 && Loop[j] <= Min[j])
        --j;
    if (j < 0)
        return 1;
    Loop[j] = Min[j];
    if (j == 0)
        return 1;
    return increment(j, Min, Max, Loop);
}

// ---------------------------------------------------------------- weighted steps

int incrementBoundedInit(int Size, const int* Max, int* Loop, const int* Coeff, int Limit,
                         int* LeftOver) {
    for (int i = 0; i < Size; ++i) {
        Loop[i] = 0;
        if (Max[i] <= 0)
            return 1;
        if (Coeff[i] < 0) {
            Alert("incrementBoundedInit", 0, 112412, "Negative coefficient");
            return 1;
        }
    }
    *LeftOver = Limit;
    return 0;
}

int incrementBounded(int Size, const int* Max, int* Loop, const int* Coeff, int Limit,
                     int* LeftOver) {
    if (Size <= 0)
        return 1;
    int i = Size - 1;
    // S: the weighted sum of the levels outside level i.
    int S = Limit - *LeftOver - Coeff[i] * Loop[i];
    for (;;) {
        int ceiling = weightedCeiling(Max[i] - 1, Coeff[i], Limit - S);
        if (++Loop[i] <= ceiling) {
            *LeftOver = Limit - S - Coeff[i] * Loop[i];
            return 0;
        }
        Loop[i] = 0;
        if (--i < 0)
            return 1;
        S -= Coeff[i] * Loop[i];
    }
}

int incrementBoundedInit_Double(int Size, const int* Max, int* Loop, const double* Coeff,
                                double Limit, double* LeftOver) {
    for (int i = 0; i < Size; ++i) {
        Loop[i] = 0;
        if (Max[i] < 0)
            return 1;
        if (Coeff[i] < 0.0) {
            Alert("incrementBoundedInit_Double", 0, 112412, "Negative coefficient");
            return 1;
        }
    }
    *LeftOver = Limit;
    return 0;
}

int incrementBounded_Double(int Size, const int* Min, const int* Max, int* Loop,
                            const double* Coeff, double Limit, double* LeftOver) {
    if (Size <= 0)
        return 1;
    int i = Size - 1;
    double S = Limit - *LeftOver - Coeff[i] * Loop[i];
    for (;;) {
        int ceiling = weightedCeiling(Max[i], Coeff[i], Limit - S);
        if (++Loop[i] <= ceiling) {
            *LeftOver = Limit - S - Loop[i] * Coeff[i];
            return 0;
        }
        Loop[i] = Min[i];
        if (--i < 0)
            return 1;
        S -= Coeff[i] * Loop[i];
    }
}

// ---------------------------------------------------------------- squeezed and binomial steps

int incrementSqueezed(int Size, int start, int* Loop, int* Max, int* Min, void* Data,
                      BOUND squeeze) {
    if (Size <= 0)
        return 1;
    if (start == 1) {
        nullifyVec(Size, Loop);
        squeeze(Size, Size, Loop, Max, Min, Data);
        return 0;
    }
    for (int i = Size - 1; i >= 0; --i) {
        if (++Loop[i] < Max[i]) {
            squeeze(Size, i, Loop, Max, Min, Data);
            return 0;
        }
        Loop[i] = Min[i];
    }
    return 1;
}

// The filters are accepted for the callers' sake and not consulted.
int incrementBinomial(int Ntot, int Nset, int* set, ALLOW_SINGLE, ALLOW_COMB) {
    if (Nset <= 0)
        return 0;
    if (++set[Nset - 1] < Ntot)
        return 1;
    for (int p = Nset - 2; p >= 0; --p) {
        // Position p may rise to Ntot - (Nset - p) and still leave room for the later ones.
        if (++set[p] < Ntot - (Nset - 1 - p)) {
            for (int q = p + 1; q < Nset; ++q)
                set[q] = set[p] + (q - p);
            return 1;
        }
    }
    return 0;
}

// ---------------------------------------------------------------- drivers

namespace {

struct LoopRun {
    int Size;
    int* Min;
    int* Max;
    int* Loop;
    void* Data;
    DOUBLEBOUND Squeeze;
    EVAL evaluate;
    int count = 0;

    void range(int level, int* lo, int* hi) const {
        if (Squeeze) {
            Squeeze(Size, level, Loop, Min, Max, lo, hi, Data);
        } else {
            *lo = Min[level];
            *hi = Max[level];
        }
    }

    // Evaluates the current point; true when the loop must end, with *result its value.
    bool visit(int* result) {
        int r = evaluate(Size, Loop, Data);
        if (r >= 0) {
            count += r;
            return false;
        }
        *result = r == -1 ? count + 1 : r == -2 ? count : r;
        return true;
    }

    // Carries outward from level i and sets the inner levels to the start of their ranges;
    // false when the outermost level is exhausted.
    bool nextRun(int i) {
        for (;;) {
            if (i < 0)
                return false;
            int lo;
            int hi;
            range(i, &lo, &hi);
            if (++Loop[i] > hi) {
                --i;
                continue;
            }
            int j = i + 1;
            for (; j < Size; ++j) {
                range(j, &lo, &hi);
                Loop[j] = lo;
                if (lo > hi)
                    break;
            }
            if (j == Size)
                return true;
            i = j - 1;
        }
    }
};

} // namespace

int NestedLoops(int Size, int* Min, int* Max, int* Loop, void* Data, DOUBLEBOUND Squeeze,
                EVAL evaluate) {
    if (Size <= 0)
        return 0;
    copyVec(Size, Loop, Min);
    LoopRun run{Size, Min, Max, Loop, Data, Squeeze, evaluate};
    const int inner = Size - 1;
    int result = 0;
    for (;;) {
        // The first point of an innermost run; its range holds for the whole run.
        if (run.visit(&result))
            return result;
        int lo;
        int hi;
        run.range(inner, &lo, &hi);
        while (++Loop[inner] <= hi)
            if (run.visit(&result))
                return result;
        if (!run.nextRun(inner - 1))
            return run.count;
    }
}

int RandomizedLoops(int Size, const int* Min, const int* Max, int* Loop, void* Data, int MaxSample,
                    EVAL evaluate) {
    if (Size <= 0 || MaxSample < 1)
        return 0;
    int count = 0;
    for (int sample = 0; sample < MaxSample; ++sample) {
        for (int i = 0; i < Size; ++i)
            Loop[i] = Min[i] + randomNumber(Max[i] - Min[i] + 1);
        int r = evaluate(Size, Loop, Data);
        if (r >= 0)
            count += r;
        else if (r == -1)
            return count + 1;
        else if (r == -2)
            return count;
        else
            return r;
    }
    return count;
}

double getLoopLength(int size, const int* Min, const int* Max) {
    double length = 1.0;
    for (int i = 0; i < size; ++i)
        length *= static_cast<double>(Max[i]) - Min[i] + 1;
    lastLoopLength = length;
    return length;
}
