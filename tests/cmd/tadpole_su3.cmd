# Tadpole equations of su(3) level 1 with its diagonal invariant, bosonic reading: D = 26 - 2 = 24
# and the orientifold multiplicity 2^12 = 4096. The identity crosscap coefficient is 1/sqrt3 after
# the sign flip and every reflection coefficient of the identity is 1/sqrt3 as well (S_{a0} all
# equal), so the identity row reads 2 R N_0/2 + (R + R) N_pair - 4096 R / ... : divided by the
# first coefficient 2 R, the Sp(N_0) variable (half the multiplicity) and the unitary pair have
# coefficient 1 and the constant is -2048. The non-trivial massless field gives the second row.
# Fixing the pair at 100 moves 100 into the constant.
algebra a 2 1
browse CP
browse tadpole equations
check tadpole solution 0:2048
check tadpole solution 0:2047
check tadpole solution 0:1000 1:1048
fix CPmult 1:100
browse tadpole equations
check tadpole solution 0:1948
reset tadpole
browse tadpole equations 0
check tadpole solution 2:1
