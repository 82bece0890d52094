// Until intersections of stacks are analysed, every configuration counts as non-chiral.
#include "string/TadpoleSpectrumHooks.h"

int checkSolutionChirality(ChanPatonData*) {
    return 0;
}
