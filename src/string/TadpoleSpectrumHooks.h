// What the tadpole solver asks of a brane configuration beyond its spectrum: chirality, which
// needs the intersection analysis.
#pragma once

struct ChanPatonData;

// 1 when some stack or pair of stacks carries chiral matter.
int checkSolutionChirality(ChanPatonData* CPD);
