# An output directory whose name holds a quote: the search's files are made there, the empty
# ".pre_models" is removed and the ".none" marker written.
set OutputDir ~/it's
build cy 122224
set Selection symmetric on
set Reject permutations on
collect simple_current_invariants
select invariant 36
search generic_sm 0 20
system ls ~/"it's"/N_Tensor122224
# A ".pre_models" that cannot be opened stops the search after the report, before any chain
# (the report ends the background run)
system mkdir ~/"it's"/N_Tensor122224/"Susy_MIPF__036[20:40].pre_models"
search generic_sm 20 40
