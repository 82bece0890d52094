#include "boundary/TachyonFreeCases.h"

#include "base/SystemUtility.h"
#include "boundary/CrossBound.h"
#include "modular/Invariants.h"
#include "modular/ModularFileNames.h"
#include "tensor/Coset.h"

#include <cstdio>

namespace {

TACHYON_FREE_PRINTER modelPrinter = nullptr;

int orientifoldNumber() {
    const OrientifoldInfo* O = getCurrentOrientifold();
    return O ? O->SequenceNumber : -1;
}

} // namespace

void setTachyonFreeModelPrinter(TACHYON_FREE_PRINTER printer) {
    modelPrinter = printer;
}

int registerTachyonFreeCase(int mode) {
    if (mode != 0 && mode != 1)
        return 0;
    const int extension = getCurrentTensor()->ExtensionNumber;
    if (FILE* f = Fopen(getCurrentOutputFileNameForExtension(".cases"), "a")) {
        if (mode == 0)
            std::fprintf(f, "Extension %d, MIPF %d (oriented)\n", extension, getMIPF_ID());
        else
            std::fprintf(f, "Extension %d,MIPF %d, orientifold %d\n", extension, getMIPF_ID(),
                         orientifoldNumber());
        Fclose(f);
    }
    if (modelPrinter)
        modelPrinter(mode);
    return 1;
}
