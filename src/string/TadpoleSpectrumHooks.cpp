// Until the chirality of a configuration's spectrum can be read, every configuration counts as
// non-chiral.
#include "string/TadpoleSpectrumHooks.h"

int checkSolutionChirality(ChanPatonData*) {
    return 0;
}
