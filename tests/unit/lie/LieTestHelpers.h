// Shared helpers of the tests of the module Tarvik.
#pragma once

#include "lie/Tarvik.h"

#include <gtest/gtest.h>

#include <functional>

#include <string>
#include <vector>

namespace lietest {

// Every extended weight (affine label last) whose labels times the comarks add up to the level,
// enumerated directly rather than through the spectrum code under test.
inline std::vector<std::vector<int>> integrableWeights(int type, int rank, int level) {
    Cartan(type, rank);
    const std::vector<int> theta(getTheta(), getTheta() + rank + 1);
    std::vector<std::vector<int>> out;
    std::vector<int> w(rank + 1, 0);
    std::function<void(int, int)> fill = [&](int pos, int left) {
        if (pos == rank + 1) {
            if (left == 0)
                out.push_back(w);
            return;
        }
        for (int v = 0; v * theta[pos] <= left; v++) {
            w[pos] = v;
            fill(pos + 1, left - v * theta[pos]);
        }
        w[pos] = 0;
    };
    fill(0, level);
    return out;
}

// Number of times text occurs in s.
inline int occurrences(const std::string& s, const std::string& text) {
    int n = 0;
    for (std::size_t p = s.find(text); p != std::string::npos; p = s.find(text, p + 1))
        n++;
    return n;
}

// Runs f and returns what it wrote to the error output, where reports go.
template <class F> std::string reportsOf(F f) {
    testing::internal::CaptureStderr();
    f();
    return testing::internal::GetCapturedStderr();
}

struct Algebra {
    int type;
    int rank;
    const char* name;
};

// Every untwisted algebra family at a few ranks, with the exceptional ones.
inline std::vector<Algebra> untwistedAlgebras() {
    return {{1, 1, "A1"}, {1, 2, "A2"}, {1, 3, "A3"}, {1, 5, "A5"}, {2, 2, "B2"},
            {2, 3, "B3"}, {2, 5, "B5"}, {3, 2, "C2"}, {3, 3, "C3"}, {3, 5, "C5"},
            {4, 3, "D3"}, {4, 4, "D4"}, {4, 5, "D5"}, {4, 6, "D6"}, {5, 2, "G2"},
            {5, 4, "F4"}, {5, 6, "E6"}, {5, 7, "E7"}, {5, 8, "E8"}};
}

inline std::vector<Algebra> twistedAlgebras() {
    return {{11, 1, "A(2)"},   {12, 2, "B2(2)"},  {12, 4, "B4(2)"},
            {13, 1, "B1(2t)"}, {13, 3, "B3(2t)"}, {14, 3, "C3(2)"},
            {14, 5, "C5(2)"},  {15, 4, "F(2)"},   {16, 2, "G(3)"}};
}

} // namespace lietest
