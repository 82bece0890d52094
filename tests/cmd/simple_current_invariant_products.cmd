# Simple-current invariants of products, counted by hand: a group of M independent Z2 currents of
# integer or half-integer weight has [n over M]_2 subgroups of M generators in Z2^n, each with
# 2^(M(M-1)/2) matrices X. Permutations of the factors are not taken into account.
set Reject permutations off
# A1_1 x A1_1: J has weight 1/4, so only (J,J), of weight 1/2, lies in the effective centre: the
# diagonal invariant and the one of (J,J), which exchanges (0,J) and (J,0).
tensor
g a 1 1
g a 1 1
compute spectrum
search MIPF simple_current
# (A1_4)^2: every current has integer weight; 1 + 3 subgroups Z2 + 2 for Z2 x Z2 = 6.
reset tensor
g a 1 4
g a 1 4
compute spectrum
search MIPF simple_current
# (A1_4)^3: 1 + 7 + 7 * 2 + 1 * 8 = 30, all different.
g a 1 4
compute spectrum
collect simple_current_invariants
# (A1_2)^3: again 30, but J has weight 1/2 and its invariant in A1_2 is the diagonal one; of the
# 30 matrices only 6 differ (each commutes with S and T).
reset tensor
g a 1 2
g a 1 2
g a 1 2
compute spectrum
collect simple_current_invariants
# su(4)_1 from A1_2 x A1_2 extended by (J,J): its one current (J,0), of weight 1/2, gives the
# charge conjugation, which exchanges the 4 (field 2) and the 4-bar (field 3).
reset tensor
g a 1 2
g a 1 2
current 1 1
compute spectrum
collect simple_current_invariants
browse bulk_invariant 1
