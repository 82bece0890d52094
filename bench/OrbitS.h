// Shared by the benchmarks of S on products.
#pragma once

#include "modular/Modular.h"

// Makes the orbit table of the current theory and S between every pair of orbit starts; returns
// the sum of the real parts, so that nothing is optimised away.
inline double everyOrbitS() {
    initOrbitData();
    const int n = getNOrbit();
    double sum = 0.0;
    for (int o1 = 0; o1 < n; o1++)
        for (int o2 = 0; o2 <= o1; o2++) {
            double re, im;
            compSBase(o1, o2, &re, &im);
            sum += re;
        }
    return sum;
}
