# The extension of su(3) at level 1 by its Z3 of currents: K = (1,1,1) matches the torus, one
# label, tension 1. A sign -1 on the odd factor Z3 is replaced by +1 with a warning, which ends
# a background run.
algebra a 2 1
set autoselect 1
select simple_current_invariant 1
browse current Orientifold
klein
check full_open
set crosscap_signs -1
browse current Orientifold
