# Type I: D8 at level 1 extended by its spinor is E8 at level 1, one primary and one boundary,
# read in ten dimensions. Both chirality checks need four dimensions, so the bulk is non-chiral
# and every search stops at once; a new search still writes the statistics header, whose
# bulk-invariant line stays unfinished before the non-chiral closing.
tensor
g d 8 1
current 1
set Super on
compute spectrum
set SM_search new_search on
search sm_solution 0 7 0
system sed -E -f quartet_stat_mask.sed ~/N_Tensor/Susy_MIPF__000.stat
# The stop cleared the pre-selections: no boundary selection is printed any more.
search standard_model 3 5
# A resumed search moves nothing and only appends its closing.
set SM_search new_search off
search standard_model
system ls ~/N_Tensor
system grep -c Non-chiral ~/N_Tensor/Susy_MIPF__000.stat
# With every earlier file present, a new search moves the seven search files to "_0" and keeps
# the trace; the next one moves the statistics file to the first free "_1".
system rm ~/N_Tensor/*
system cd ~/N_Tensor && touch Susy_MIPF__000.msol Susy_MIPF__000.glob Susy_MIPF__000.err Susy_MIPF__000.att Susy_MIPF__000.tpi Susy_MIPF__000.hsol Susy_MIPF__000.stat Susy_MIPF__000.trace
set SM_search new_search on
search standard_model
system ls ~/N_Tensor
search standard_model
system ls ~/N_Tensor
# Refused before any pre-selection is set: the next search has none to print.
search sm_solution 0 1 0 0 0 0 0
search standard_model 1 2 3 4 5 6 7 0 1
