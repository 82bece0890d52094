// A hand-made context for the generic search: one orientifold, the unitary boundaries 0-7 as
// a, a', b, b', c, c', d, d', no tensors, and the chiral intersections
//   I(0,2) = 2, I(0,3) = 1, I(0,4) = I(0,5) = I(2,6) = I(4,7) = -3, I(4,6) = 3,
// completed by I(y,x) = -I(x,y) and I(x',y') = -I(x,y). Every brane has Re R(x,0) = 0.1; one
// Ishibashi label with metric phase 1/2 couples with R(x,1) - R(x',1) = 1, 1, 2, 1 for a, b, c,
// d.
#pragma once

#include "search/SearchSMGeneric.h"

#include <cmath>
#include <map>
#include <numbers>
#include <utility>

class ChainFixture : public GenericSearchContext {
public:
    explicit ChainFixture(double fourGamma0 = 1.4) : FourGamma0(fourGamma0) {
        const int given[][3] = {{0, 2, 2},  {0, 3, 1},  {0, 4, -3}, {0, 5, -3},
                                {2, 6, -3}, {4, 7, -3}, {4, 6, 3}};
        for (const auto& g : given) {
            const int x = g[0], y = g[1], v = g[2];
            I[{x, y}] = v;
            I[{y, x}] = -v;
            I[{x ^ 1, y ^ 1}] = -v;
            I[{y ^ 1, x ^ 1}] = v;
        }
    }
    int usableCount() override { return 8; }
    int usableLabel(int j) override { return j; }
    int conjugate(int x) override { return x ^ 1; }
    int groupType(int) override { return 0; }
    double tension(int) override { return 0.1; }
    void diagonal(int, int* Ann, int* Moe, int* Adj) override { *Ann = *Moe = *Adj = 0; }
    void intersection(int x, int y, int* G, int* D) override {
        *G = at(x, y);
        *D = at(x, y ^ 1);
    }
    // The largest unitary stack the orientifold's tension admits: 2 N 0.1 <= |4 Gamma0|.
    int maximalCP(int) override { return static_cast<int>(FourGamma0 / 0.2 + 1e-9); }
    double crosscap() override { return FourGamma0 / 4; }
    int usedIshibashiCount() override { return 1; }
    double ishibashiPhase(int) override { return std::numbers::pi; }
    std::complex<double> reflection(int x, int) override {
        static const double couplings[4] = {1, 1, 2, 1};
        return (x & 1) ? 0.0 : couplings[x / 2];
    }
    double tadpoleRHS(int n, int*, int* mults) override {
        double s = -FourGamma0;
        for (int k = 0; k < n; k++)
            s += 2 * mults[k] * 0.1;
        return s;
    }
    int fileId() override { return 122224; }
    int mipfId() override { return 36; }

private:
    double FourGamma0;
    std::map<std::pair<int, int>, int> I;
    int at(int x, int y) const {
        auto it = I.find({x, y});
        return it == I.end() ? 0 : it->second;
    }
};
