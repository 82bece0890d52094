# With every boundary of su(3) level 1 fixed there is no loop variable left: the identity row
# N_0/2 + N_pair = 2048 holds for Sp(2048) and the pair at 1024, so every row is the constant 0;
# the pair at 1000 leaves the constant -24 and the system is inconsistent.
algebra a 2 1
fix CPmult 0:2048 1:1024
browse tadpole equations
check tadpole solution
fix CPmult 0:2048 1:1000
check tadpole solution
