# Integer solutions of the tadpole conditions of su(3) level 1, bosonic: D = 24, multiplicity
# 2^12 = 4096, one independent row N_0 + 2 N_pair = 4096 with Sp(N_0) on boundary 0 (variable
# N_0/2) and U(N) on the conjugate pair 1/2. Its non-negative solutions are N_0/2 = 0..2048 with
# N = 2048 - N_0/2: 2049 of them. The default stops at the first; completeness 1 lists all (the
# loops are short), also by the plain loops. The parametrised solution is the basic one plus one
# kernel vector trading the two variables; any parameter value 0..7 solves the row, parameter 1
# does not exist.
algebra a 2 1
set Tadpole show_solution on
solve tadpole
set Tadpole show_solution off
set Tadpole completeness 1
solve tadpole
solve tadpole loops
set Tadpole completeness 3
solve tadpole
browse tadpole kernel
check tadpole parameters 0:7
check tadpole parameters 0:0
check tadpole parameters 1:1
