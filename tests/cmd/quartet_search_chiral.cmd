# The frame of the search on a chiral model: the Gepner model 133313 with the second simple-current
# invariant (280 boundaries, one orientifold). A new search writes the header and completes the
# bulk-invariant line with the usable boundaries, the invariant's criteria switches, its
# auto-selection and its one generator. The 56 classes give 17 c stacks with 38 triplets (the same
# count as a pass over all pairs of boundaries), none of which closes to a quartet.
build cy 133313
collect simple_current_invariants
select invariant 2
set SM_search new_search on
search standard_model 3 5
system sed -E -f quartet_stat_mask.sed ~/N_Tensor133313/Susy_MIPF__002.stat
# Resumed searches append the count of added solutions; on one pre-selected orientifold and
# boundary a the search is partial, and the pre-selections stay for the next search.
set SM_search new_search off
search standard_model
search sm_solution 0 3 5
search standard_model
system tail -n 9 ~/N_Tensor133313/Susy_MIPF__002.stat | sed -E -f quartet_stat_mask.sed
system ls ~/N_Tensor133313
