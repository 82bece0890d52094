# Tadpole equations of su(2) level 4 with the Klein bottle current (tension 0.7886751), bosonic
# reading D = 26 - 2 = 24, multiplicity 4096. The massless Ishibashi labels are those of the
# identity and of Dynkin label 4; the variables are the pairs of Dynkin labels 0/4 and 1/3 and the
# orthogonal Dynkin label 2. The two real rows follow from S of su(2)_4, normalised by their first
# coefficient; their sum and difference give N_0 + N_2 = 2048 and N_1 = 2048. The cache: a second
# listing builds nothing, "fix CPmult" rebuilds (the pair 1/3 fixed at 2048 leaves
# N_0 + N_2 = 2048), and a completeness change reaches the next listing even while the system is
# cached. Without the current (K = 0) every boundary is self-conjugate.
algebra a 1 4
set kleinbottle 1
display
browse CP
set Init_debug on
browse tadpole equations
browse tadpole equations 2
set Init_debug off
check tadpole solution 1:2048 2:2048
check tadpole solution 0:2048 1:2048
check tadpole solution 0:2048
set Tadpole completeness 3
browse tadpole equations 0
set Init_debug on
fix CPmult 2:2048
browse tadpole equations
set Init_debug off
reset tadpole
set kleinbottle 0
browse tadpole equations 0
algebra a 1 1
set kleinbottle 0
browse tadpole equations
algebra a 1 2
browse tadpole equations
