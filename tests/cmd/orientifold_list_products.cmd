# Orientifolds of products of su(2) at level 1 with the diagonal invariant: every current is
# admissible and its own class modulo squares (all squares are 0), so the choices are the
# currents K; exchanging identical factors identifies those with the same number of factor
# currents in K. Two factors: 3 classes with "Reject permutations" on (K = 0, one current, both),
# 4 with it off; the older enumeration lists the same. Eight factors without the permutations:
# 256. Only K = the product of all currents has a tension, 1 (the product of the factors'
# tensions (2/sqrt3) cos(pi/6) = 1). Changing either switch rebuilds the list.
tensor
g a 1 1
g a 1 1
compute spectrum
Total All_orientifolds
Total Orientifolds
browse Orientifolds
set Reject permutations off
Total All_orientifolds
browse Orientifolds
set Reject permutations on
set ZNX_VERSION on
browse Orientifolds
set ZNX_VERSION off
set Reject permutations off
reset tensor
g a 1 1
g a 1 1
g a 1 1
g a 1 1
g a 1 1
g a 1 1
g a 1 1
g a 1 1
compute spectrum
Total All_orientifolds
Total Orientifolds
