// Sign-flip files in a temporary directory, the unknowns of the current block and their
// signatures, for the tests of the files and of the signs fixed from them or by hand.
#pragma once

#include "FusingTestHelpers.h"

#include <array>
#include <fstream>
#include <sstream>
#include <string>

namespace fusingtest {

inline std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void writeFile(const std::string& path, const std::string& text) {
    std::ofstream(path) << text;
}

inline int countOf(const std::string& s, const std::string& part) {
    int n = 0;
    for (std::size_t pos = s.find(part); pos != std::string::npos; pos = s.find(part, pos + 1))
        n++;
    return n;
}

// What a call reports and prints, with terminal output on meanwhile.
template <class F> std::string printed(F&& f) {
    Captured cap;
    f();
    return cap.err() + cap.out();
}

class SignFileTest : public FusingTest {
protected:
    void TearDown() override {
        setFlippedVarInputFile("begin");
        initializeFixVars();
        FusingTest::TearDown();
    }
    static SpectrumData* useOrbifold(int N) { return use(SM_getData(7, N, 0)); }
    // The unknowns of the current block, with an empty store of equations.
    static void prepareUnknowns() {
        printed([] {
            getPentagonVariables(fusingLabelBound());
            resetSignEquations();
        });
    }
    static int row(std::array<int, 6> labels) {
        return findVectorInCollection(&PentagonVariables, labels.data());
    }
    static int* rowAt(int v) { return PentagonVariables.Space + v * PentagonVariables.rowsize; }
    static std::array<int, 11> signatureOf(int v) {
        std::array<int, 11> s{};
        computeSignatureForLabels(rowAt(v), s.data());
        return s;
    }
    // A record as the files hold it, without its newline.
    static std::string record(const std::array<int, 11>& s, int code) {
        std::string text;
        for (int x : s)
            text += std::to_string(x) + " ";
        return text + std::to_string(code) + " ";
    }
    testsupport::TempDir dir;
};

} // namespace fusingtest
