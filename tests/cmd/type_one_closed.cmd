# The closed string of type I: D8 at level 1 extended by its spinor is E8 in ten dimensions with
# only the vacuum. The vacuum pairs with itself in the vector class; its Klein bottle coefficient
# 1 keeps the symmetric part of (V,V) twice, halved: one N=1 supergravity multiplet (graviton,
# dilaton, two-form with gravitino and dilatino), nothing antisymmetric.
tensor
g d 8 1
current 1
set Super on
compute spectrum
browse type-I
# The same bulk invariant and orientifold again: nothing is computed anew.
browse type-I
# The Klein bottle needs a symmetric invariant: so(8) at level 1 with the non-symmetric invariant
# of the 3-cycle of its currents is refused with the unoriented set-up's text (ending the run).
single
algebra d 4 1
set Reject permutations off
set autoselect 2
select simple_current_invariant 1 2
browse type-I
