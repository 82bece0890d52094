#include "commands/Commands.h"
#include "commands/CommandsAlgebraInvariants.h"
#include "commands/CommandsBoundary.h"
#include "commands/CommandsBraneSpectrum.h"
#include "commands/CommandsChecks.h"
#include "commands/CommandsDisplay.h"
#include "commands/CommandsExceptional.h"
#include "commands/CommandsExtensions.h"
#include "commands/CommandsFileNames.h"
#include "commands/CommandsFixedPoints.h"
#include "commands/CommandsGalois.h"
#include "commands/CommandsGenericSearch.h"
#include "commands/CommandsHeterotic.h"
#include "commands/CommandsIntersections.h"
#include "commands/CommandsInvariants.h"
#include "commands/CommandsModular.h"
#include "commands/CommandsQuartetSearch.h"
#include "commands/CommandsScans.h"
#include "commands/CommandsSpaceTime.h"
#include "commands/CommandsStringSpectra.h"
#include "commands/CommandsSymmetry.h"
#include "commands/CommandsTadpole.h"
#include "commands/CommandsUnoriented.h"

#include "interpreter/IntCommands.h"

namespace {

// Each family of commands, once written, hands its definitions over here.
void installCommandFamilies() {
    installSingleAlgebraCommands();
    installTensorCommands();
    installFileNameCommands();
    installDisplayCommands();
    installModularCommands();
    installFixedPointCommands();
    installInvariantCommands();
    installAlgebraInvariantCommands();
    installSpaceTimeCommands();
    installBoundaryCommands();
    installUnorientedCommands();
    installExceptionalCommands();
    installCheckCommands();
    installGaloisCommands();
    installExtensionCommands();
    installSymmetryCommands();
    installHeteroticCommands();
    installStringSpectrumCommands();
    installScanCommands();
    installTadpoleCommands();
    installTadpoleBoundCommands();
    installBraneSpectrumCommands();
    installIntersectionCommands();
    installQuartetSearchCommands();
    installFusingSignCommands();
    installGenericSearchCommands();
}

} // namespace

void initializeCommands() {
    static bool done = false;
    if (done)
        return;
    done = true;
    initializeGeneralCommands();
    installCommandFamilies();
    registerApplicationCommands();
}
