# so(8) at level 1: triality permutes its three non-trivial simple currents in all six ways.
algebra d 4 1
Browse permutations
# su(4) at level 1 from A1 at level 2 twice, extended by (J, J): 0 the vacuum, 1 the 6, 2 and 3
# the 4 and the 4-bar, both resolved from the doublets (s, s). The exchange of the two factors
# is an improper rotation of so(6) = su(4): it fixes the vacuum and the 6 and swaps the 4 with
# the 4-bar, which their labels cannot tell apart. The product has two symmetries, the identity
# and the exchange, both fixing its two simple currents.
tensor
g a 1 2
g a 1 2
current 1 1
compute spectrum
Browse permutations
get permutation 0 1 1
get permutation 0 1 2
compute permutations 0 1
compute permutations 0 1 2:3
# (A1 level 4)^2: every subgroup of the center Z2 x Z2 has integer spin; with the torsion of the
# whole group 1 + 3 + 2 = 6 invariants, and 5 once the subgroups that the exchange maps onto each
# other count once.
reset tensor
g a 1 4
g a 1 4
compute spectrum
search MIPF simple_current
set Reject permutations off
search MIPF simple_current
# (A1 level 4)^3: 30 invariants, 14 up to the permutations of the three factors.
set Reject permutations on
reset tensor
g a 1 4
g a 1 4
g a 1 4
compute spectrum
Browse permutations
search MIPF simple_current
set Reject permutations off
search MIPF simple_current
# A factor that does not exist is refused.
get permutation 0 3 1
