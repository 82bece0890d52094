// Branching tables and the space-time reading of fields: not built yet. Until they are, the
// cells of the table "Lorentz" stay empty.
#include "tensor/Branching.h"

namespace {

char* writeNothing(char* txt) {
    *txt = '\0';
    return txt;
}

} // namespace

char* BR_getNotationString(char* txt, void*, int) {
    return writeNothing(txt);
}
char* BR_getInterpretationString(char* txt, void*, int) {
    return writeNothing(txt);
}
char* BR_getDOFString(char* txt, void*, int) {
    return writeNothing(txt);
}
