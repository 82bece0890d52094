# Extending the c=1 orbifold of parameter N by its weight-one current (0,2) undoes the orbifold:
# the circle theory with 2N primaries. The fields of kind 1 are the fixed points of that
# current; they are resolved with the fixed-point theory C_{N-2} at level 1, and the result has
# unitary S with (ST)^3 = S^2. At N = 4 the current (0,1) has weight 1 too, with the fixed points
# (1,2) and two twist fields, resolved with B_1 at level 1.
# The Z2 permutation orbifold of the orbifold at N = 2 (9 fields): 9 x 8 / 2 + 4 x 9 = 72 fields,
# and 2 x 4 simple currents (the pairs (J, J), symmetric and antisymmetric).
algebra orbifold 2
create permutation
check modular
tensor
g orbifold 4
current 2
compute spectrum
check modular
reset tensor
g orbifold 4
current 1
compute spectrum
check modular
reset tensor
g orbifold 6
current 2
compute spectrum
check modular
reset tensor
g orbifold 8
current 2
compute spectrum
check modular
