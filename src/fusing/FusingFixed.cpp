// Signs fixed outside the standard gauge rules: by hand, from the sign-flip input file, and the
// relative sign of two unknowns carried over from the other class of the orbifold rank.
#include "fusing/Fusing.h"
#include "fusing/FusingInternal.h"

#include "base/Error.h"
#include "base/Output.h"
#include "numeric/VectorUtility.h"

#include <cstdio>

std::vector<std::array<int, 6>> FixedVariables;

namespace {

void addFixing(int row, int rhs, const char* routine) {
    if (PolyNom && PolyNom->add({row}, rhs) < 0)
        Alert(routine, 1, 212404, "No solution");
}

void fixByLabels(const int* vector, int rhs, const char* routine) {
    int labels[6];
    std::copy(vector, vector + 6, labels);
    const int v = findVectorInCollection(&PentagonVariables, labels);
    if (v < 0) {
        Alert(routine, 0, 112301, "fusing matrix not found");
        return;
    }
    addFixing(v, rhs, routine);
}

} // namespace

void initializeFixVars() {
    FixedVariables.clear();
}

void addFixedVariables(const int* vector) {
    std::array<int, 6> row{};
    std::copy(vector, vector + 6, row.begin());
    FixedVariables.push_back(row);
}

void fixVars(const int* vector) {
    fixByLabels(vector, 0, "fixVars");
}

void fixAndFlipVars(const int* vector) {
    fixByLabels(vector, 1, "fixAndFlipVars");
}

void fixVarFromSignFlipFile(int row) {
    const int* v = rowOf(&PentagonVariables, row);
    switch (getSignFlipFromFile(v[0], v[1], v[2], v[3], v[4], v[5])) {
    case 1:
        addFixing(row, 0, "fixVars");
        break;
    case -1:
        addFixing(row, 1, "fixAndFlipVars");
        break;
    default:
        break;
    }
}

void manualGaugeFixing() {
    for (const std::array<int, 6>& row : FixedVariables) {
        fixVars(row.data());
        printVec(6, row.data(), "Manually fixed");
    }
}

namespace {

struct Signed {
    int signature[11];
    int code;
    fusing::SignDigits digits;
};

Signed signedRow(int v) {
    Signed s{};
    computeSignatureForLabels(rowOf(&PentagonVariables, v), s.signature);
    s.code = fusing::storedSignCode(s.signature);
    s.digits = fusing::signDigits(s.code);
    return s;
}

// The digit of the current rank class and that of the other one.
void splitDigits(const Signed& s, int& current, int& other) {
    current = fusing::currentClassDigit(s.digits);
    // With the digits exchanged the current class reads the other one.
    other = fusing::currentClassDigit({s.digits.l, s.digits.h});
}

void showEquation(int rhs, const Signed& v, const Signed& w) {
    std::printf("Adding equation for (rhs=%d):\n", rhs);
    int record[12];
    std::copy(v.signature, v.signature + 11, record);
    record[11] = v.code;
    printVec(12, record, "sig1");
    std::copy(w.signature, w.signature + 11, record);
    record[11] = w.code;
    printVec(12, record, "sig2");
    std::printf("s1=%d,s2=%d,t1=%d,t2=%d\n", v.digits.h, v.digits.l, w.digits.h, w.digits.l);
    std::fflush(stdout);
}

void relateByOtherClass(int v, const Signed& sv, int w, const Signed& sw) {
    int cv, ov, cw, ow;
    splitDigits(sv, cv, ov);
    splitDigits(sw, cw, ow);
    if (ov == 0 || ow == 0 || (cv != 0 && cw != 0))
        return;
    int result;
    if (cv == 0 && cw == 0) {
        const int rhs = (ov + ow) % 2;
        if (sv.signature[0] == 13)
            showEquation(rhs, sv, sw);
        result = PolyNom->add({v, w}, rhs);
    } else if (cv != 0) {
        // x_v is known, so x_w follows with the relative sign of the other class.
        result = PolyNom->add({w}, (cv + 1 + ov + ow) % 2);
    } else {
        result = PolyNom->add({v}, (cw + 1 + ov + ow) % 2);
    }
    if (result < 0)
        Alert("fixRelativeNdependence", 0, 212404, "No Solution");
}

} // namespace

void fixRelativeNdependence() {
    Print("Fixing relative (-1)^N dependence\n");
    if (!PolyNom)
        return;
    std::vector<Signed> rows;
    for (int v = 0; v < PentagonVariables.Nfill; v++)
        rows.push_back(signedRow(v));
    for (int v = 1; v < PentagonVariables.Nfill; v++) {
        if (!fusing::hasWrappedChannel(rows[v].signature))
            continue;
        for (int w = 0; w < v; w++)
            if (rows[w].signature[0] == rows[v].signature[0] &&
                fusing::hasWrappedChannel(rows[w].signature))
                relateByOtherClass(v, rows[v], w, rows[w]);
    }
}
