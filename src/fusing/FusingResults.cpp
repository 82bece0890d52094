// The text of a sign unknown and the report of a solution type by type: which unknowns keep
// their computed sign, which are flipped and which the equations leave open.
#include "fusing/Fusing.h"
#include "fusing/FusingInternal.h"

#include "base/Output.h"

#include <algorithm>
#include <cstdio>

using fusing::blockType;

std::string PrintFusing(const int* vector, int show_type) {
    const int p = vector[0], q = vector[1], a = vector[2], b = vector[3], c = vector[4],
              d = vector[5];
    char buffer[256];
    if (p == -1) {
        std::snprintf(buffer, sizeof buffer, "    eps_%d_%d^%d", a, b, c);
        return buffer;
    }
    std::snprintf(buffer, sizeof buffer, "    F_%d_%d[%d,%d,%d,%d]", p, q, a, b, c, d);
    std::string text = buffer;
    if (blockType() != 7)
        return text;
    if (show_type == 1)
        text += std::string(" (type ") + getVariableTypeName(getVariableType(vector)) + ")";
    std::snprintf(buffer, sizeof buffer, " (Fusing cond. %d %d %d %d)", channelCheck(a, b, p),
                  channelCheck(c, d, p), channelCheck(a, d, q), channelCheck(b, c, q));
    return text + buffer;
}

int printFlippedEntries(int /*size*/, int* vec, void* /*data*/) {
    const std::string text = PrintFusing(vec, 1);
    const int a = vec[2], b = vec[3], c = vec[4];
    if (vec[0] == -1) {
        const bool orbifold = blockType() == 7;
        Print("%s (current value %d)", text.c_str(),
              orbifold ? getOrbifoldEpsilon(a, b, c) : getEpsilon(a, b, c));
        if (orbifold && fusing::isDoublet(a) && fusing::isDoublet(b) && fusing::isDoublet(c))
            Print(" Charges %d %d %d; Channel check %d\n", fusing::paramOf(a), fusing::paramOf(b),
                  fusing::paramOf(c), channelCheck(a, b, c));
        else
            Print("\n");
        return 0;
    }
    int n = 0;
    countFusingCouplings(a, vec[3], vec[4], vec[5], &n);
    if (n == 1)
        Print("%s\n", text.c_str());
    else
        Print("%s  (entry of %d x %d matrix)\n", text.c_str(), n, n);
    return 0;
}

namespace {

// Types whose unknowns were all determined when last asked with mode 1.
std::vector<int> knownTypes;

bool isKnown(int type) {
    return std::find(knownTypes.begin(), knownTypes.end(), type) != knownTypes.end();
}

void markKnown(int type) {
    if (knownTypes.size() < 100 && !isKnown(type))
        knownTypes.push_back(type);
}

void printList(const char* heading, const std::vector<int>& rows) {
    Print("%s", heading);
    if (rows.empty()) {
        Print(" NONE\n");
        return;
    }
    if (heading[std::char_traits<char>::length(heading) - 1] != '\n')
        Print("\n");
    for (int v : rows)
        printFlippedEntries(6, rowOf(&PentagonVariables, v), nullptr);
}

void reportType(int type, const std::vector<int>& rows, const int* vars, int mode) {
    const char* name = getVariableTypeName(type);
    std::vector<int> gaugeFixed, unchanged, flipped;
    int open = 0;
    for (int v : rows) {
        if (vars[v] >= 2)
            open++;
        else if (vars[v] == 1)
            flipped.push_back(v);
        else if (fixFusingGauge(rowOf(&PentagonVariables, v)))
            gaugeFixed.push_back(v);
        else
            unchanged.push_back(v);
    }
    if (open > 0)
        Print("Variables of type %s are not fully determined\n", name);
    else if (mode == 1)
        markKnown(type);
    if (flipped.empty()) {
        Print("NO variables of type %s are flipped\n", name);
    } else if (gaugeFixed.empty() && unchanged.empty() && open == 0) {
        Print("ALL variables of type %s are flipped\n", name);
    } else {
        Print("Variables of type %s are partially flipped\n", name);
        printList(" > Unchanged (fixed by gauge condition):", gaugeFixed);
        printList(" > Unchanged:", unchanged);
        char heading[64];
        std::snprintf(heading, sizeof heading, " > Flipped: (cnt1=%d)\n",
                      static_cast<int>(flipped.size()));
        printList(heading, flipped);
    }
}

} // namespace

void PrintResultByType(const int* vars, int mode) {
    const bool orbifold = blockType() == 7;
    if (mode == 1)
        knownTypes.clear();
    const int* order = getVariableTypeOrder();
    for (int k = 0; k < 100 && order[k] != -1; k++) {
        const int type = order[k];
        if (isKnown(type))
            continue;
        std::vector<int> rows;
        for (int v = 0; v < PentagonVariables.Nfill; v++)
            if (getVariableType(rowOf(&PentagonVariables, v)) == type)
                rows.push_back(v);
        if (rows.empty()) {
            if (mode == 1) {
                if (orbifold)
                    Print("Variables of type %s were not found\n", getVariableTypeName(type));
                markKnown(type);
            }
            continue;
        }
        reportType(type, rows, vars, mode);
    }
    if (mode == 1 && orbifold)
        for (int type : knownTypes)
            Print("type %s will be omitted henceforth\n", getVariableTypeName(type));
}
