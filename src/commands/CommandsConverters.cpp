#include "commands/CommandsInternal.h"

#include "base/Error.h"
#include "boundary/CrossBound.h"
#include "tensor/Coset.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <strings.h>

using namespace commands;

namespace {

// The one record every converter fills; the interpreter copies it at once.
ConversionResult result{};

ConversionResult* answer(int rc, int value = 0, int max = 0) {
    result = {rc, value, max};
    return &result;
}

const char* text(void* key) {
    return static_cast<const char*>(key);
}

// Labels are compared by magnitude in 64 bits, so that the most negative int is refused too.
bool magnitudeBelow(int value, int Max) {
    return std::llabs(static_cast<long long>(value)) < Max;
}

bool inRange(int value, int Max) {
    return value >= 0 && value < Max;
}

ConversionResult* convertColonRange(const char* key, const char* colon, int Max, int count,
                                    int strictMaximum) {
    const std::string firstText(key, colon);
    int first = 0;
    int second = 0;
    if (convertToInteger(firstText.c_str(), &first) != 0 ||
        convertToInteger(colon + 1, &second) != 0)
        return answer(1);
    if (first > second) {
        Alert("convertToRange", 0, 100301, "Minimum (%d) > Maximum (%d) (parameter %d)", first,
              second, count);
        return answer(2);
    }
    if (strictMaximum != 1)
        return answer(0, first, first);
    if (!inRange(first, Max)) {
        Alert("convertToRange", 1, 100301, "Minimum (%d) out of range (parameter %d)", first,
              count);
        return answer(2);
    }
    if (!inRange(second, Max)) {
        Alert("convertToRange", 2, 100301, "Maximum (%d) out of range (parameter %d)", second,
              count);
        return answer(2);
    }
    return answer(-1, first, second);
}

// A negative label stands for the conjugate of its magnitude; a label whose conjugate is not
// known is refused rather than passed on.
ConversionResult* conjugated(const char* routine, const char* txt, int count) {
    if (result.rc != 0 || result.value >= 0)
        return &result;
    const int value = result.value;
    const int conjugate = getConjugate(-value);
    if (conjugate < 0) {
        Alert(routine, 0, 100301, "Value %d is not a %s (parameter %d)", value, txt, count);
        return answer(2);
    }
    return answer(0, conjugate, conjugate);
}

// rc 0 with the value, or rc 1 for a text that is no integer.
bool readInteger(void* key, int* value) {
    if (convertToInteger(text(key), value) != 0) {
        answer(1);
        return false;
    }
    return true;
}

ConversionResult* refuse(const char* routine, int position, int code, const char* message,
                         int value) {
    Alert(routine, position, code, message, value);
    return answer(2);
}

// Raises "Maxrank" without its change action; the rise stays.
void raiseMaxrank(int value, int margin) {
    if (maxrank && value > *maxrank - 1)
        *maxrank = value > INT_MAX - margin ? INT_MAX : value + margin;
}

ConversionResult* factorLabel(void* key, int count, const char* routine, const char* tooMany,
                              const char* invalid, int (*check)(SpectrumData*, int)) {
    TensorProduct* TP = getCurrentTensor();
    if (count >= TP->NTensor) {
        Alert(routine, 0, 100301, "%s", tooMany);
        return answer(1);
    }
    int value = 0;
    if (convertToInteger(text(key), &value) != 0)
        return answer(2);
    if (!check(getTensorFactor(TP, count), value)) {
        Alert(routine, 1, 100301, invalid, value);
        return answer(3);
    }
    return answer(0, value, value);
}

} // namespace

ConversionResult* ConversionReturn(int rc) {
    result.rc = rc;
    return &result;
}

ConversionResult* convertToRange(void* key, int Max, int count, const char* txt, int strictMaximum,
                                 int checkRange) {
    const char* typed = text(key);
    if (std::strcmp(typed, "*") == 0)
        return answer(-1, 0, Max - 1);
    if (const char* colon = std::strchr(typed, ':'))
        return convertColonRange(typed, colon, Max, count, strictMaximum);
    int value = 0;
    if (convertToInteger(typed, &value) != 0)
        return answer(1);
    if (checkRange == 0 && !inRange(value, Max)) {
        Alert("convertToRange", 3, 100301, "Value %d is not a %s (parameter %d)", value, txt,
              count);
        return answer(2);
    }
    if (checkRange == 1 && !magnitudeBelow(value, Max)) {
        Alert("convertToRange", 4, 100301, "Value %d is not a %s (parameter %d)", value, txt,
              count);
        return answer(2);
    }
    return answer(0, value, value);
}

// ============================================================ Labels of the current theory

ConversionResult* CONV_getLabel(void* key, int count) {
    convertToRange(key, totalPrimaries(), count, "valid label", 1, 1);
    return conjugated("CONV_getLabel", "valid label", count);
}

ConversionResult* CONV_getCurrent(void* key, int count) {
    convertToRange(key, totalCurrents(), count, "simple current label", 1, 1);
    return conjugated("CONV_getCurrent", "simple current label", count);
}

ConversionResult* CONV_getBound(void* key, int count) {
    return convertToRange(key, TotalBoundaries(), count, "boundary label", 1, 0);
}

ConversionResult* CONV_getIshibashi(void* key, int count) {
    return convertToRange(key, TotalIshibashi(), count, "Ishibashi label", 1, 0);
}

ConversionResult* CONV_getfcur(void* key, int count) {
    return factorLabel(key, count, "CONV_getfcur", "Too many current components",
                       "Invalid current: %d", SM_currentCheck);
}

ConversionResult* CONV_getffield(void* key, int count) {
    return factorLabel(key, count, "CONV_getffield", "Too many components", "Invalid field: %d",
                       SM_fieldCheck);
}

// ============================================================ Single integers

ConversionResult* CONV_getlevel(void* key, int) {
    int value = 0;
    if (!readInteger(key, &value))
        return &result;
    if (value < 1)
        return refuse("CONV_getlevel", 0, 100301, "Level should be at least 1", value);
    return answer(0, value, value);
}

ConversionResult* CONV_getrank(void* key, int) {
    int value = 0;
    if (!readInteger(key, &value))
        return &result;
    if (value < 1)
        return refuse("CONV_getrank", 0, 100301, "Rank should be at least 1", value);
    if (value > 20)
        Alert("CONV_getrank", 1, 100201, "Large ranks may lead to inaccurate results for S");
    raiseMaxrank(value, 5);
    return answer(0, value, value);
}

ConversionResult* CONV_getradius(void* key, int) {
    int value = 0;
    if (!readInteger(key, &value))
        return &result;
    if (value < 1)
        return refuse("CONV_getradius", 0, 100301, "Radius cannot be 0", value);
    raiseMaxrank(value, 2);
    if (value % 2 != 0)
        Alert("CONV_getradius", 1, 100301, "Radius should be even (continue at your own risk)");
    return answer(0, value, value);
}

ConversionResult* CONV_getdim(void* key, int) {
    int value = 0;
    if (!readInteger(key, &value))
        return &result;
    if (value < 2)
        return refuse("CONV_getdim", 0, 100301, "Dimension should be at least 2", value);
    if (value > 10 && super && *super == 1)
        Alert("CONV_getdim", 1, 112301,
              "Warning: In superstring mode dimension should be at most 10");
    return answer(0, value, value);
}

ConversionResult* CONV_getN_susy(void* key, int) {
    int value = 0;
    if (!readInteger(key, &value))
        return &result;
    if (value < 0 || value > 2)
        return refuse("CONV_getN_susy", 0, 100301, "Invalid number of supersymmetries", value);
    return answer(0, value, value);
}

ConversionResult* CONV_getRoot(void* key, int) {
    int value = 0;
    if (!readInteger(key, &value))
        return &result;
    if (cosetSwitch() == 1)
        return refuse("CONV_getRoot", 0, 100301, "No simple roots defined for tensor products",
                      value);
    const SpectrumData* sd = getCurrentSD();
    if (!sd) {
        Alert("CONV_getRoot", 3, 100301, "Simple roots of the current algebra are not available");
        return answer(2);
    }
    const int type = sd->type;
    if (type < 1 || type > 5)
        return refuse("CONV_getRoot", 1, 100301, "No simple roots defined for this algebra", value);
    if (value < 1 || value > sd->rank)
        return refuse("CONV_getRoot", 2, 100301,
                      "The label %d does not correspond to a simple root", value);
    return answer(0, value, value);
}

// ============================================================ Type words

int convertTYPE(const char* TYPE) {
    static const char* const words[] = {"U", "A",  "B",  "C",  "D",  "E",  "F",
                                        "G", "At", "Bt", "Bc", "Ct", "Ft", "Gt"};
    static const int codes[] = {0, 1, 2, 3, 4, 5, 6, 7, 11, 12, 13, 14, 15, 16};
    const std::size_t length = std::strlen(TYPE);
    for (std::size_t i = 0; i < sizeof codes / sizeof codes[0]; ++i)
        if (length <= std::strlen(words[i]) && strncasecmp(words[i], TYPE, length) == 0)
            return codes[i];
    return -1;
}
