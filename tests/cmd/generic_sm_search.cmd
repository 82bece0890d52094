# The generic standard-model search on the Gepner model 122224 with invariant 36 of the
# symmetric, permutation-free collection: 40 usable boundaries. Every chiral intersection of a
# colour stack that passes the tension test with a weak stack is 0 or +-4 here, so no weak stack
# gives three families: the search ends at the weak link, writes the empty ".none" marker and no
# ".pre_models", and a second run on the same invariant is skipped.
build cy 122224
set Selection symmetric on
set Reject permutations on
collect simple_current_invariants
select invariant 36
set SM_search info_level 1
# One bound alone is refused; equal bounds leave no colour stack
search generic_sm 7 7
# An upper bound beyond the usable boundaries is cut to their number (the tag [0:40])
search generic_sm 0 100
system ls ~/N_Tensor122224
search generic_sm 0 100
# A negative label is refused before anything is written (which ends the background run)
search generic_sm -2 5
