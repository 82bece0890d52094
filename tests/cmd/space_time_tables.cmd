# Branching tables of the covariant lattice and the Lorentz representations of a dimension.
# E8 > D4: 248 = (28,1) + (1,28) + (8v,8v) + (8s,8s) + (8c,8c); E6 > D5: 27 = 1 + 16 + 10;
# E7 > D6: 56 = (12,2) + (32',1).
check branching 5 8 4 4
check branching 5 6 4 5
check branching 5 7 4 6
browse Lorentz 10
browse Lorentz 4
browse Lorentz 9
# A pair that is not built in ends a background run.
check branching 1 3 4 4
