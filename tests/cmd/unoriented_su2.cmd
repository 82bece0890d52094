# Orientifolds of su(2) at level k with the diagonal invariant. The fields are ordered by the
# Dynkin labels (0,k), (k,0), then the rest: at level 4 the fields 0..4 carry l = 0, 4, 1, 3, 2.
# U(l) = P(K, l): with K = 0 the tension is P_00 = (2/sqrt(k+2)) sin(pi/(2(k+2))), 0 at odd k
# (where P_00 vanishes), and K_l = (-1)^l, M_a = (-1)^a; with K = J it is the cosine
# (2/sqrt(k+2)) cos(pi/(2(k+2))): 1.0000000, 0.9238795, 0.8506508, 0.7886751 for k = 1..4,
# K_l = 1 for all l, and M_a = 0 except
# M_{k/2} = 1. The annulus of field i is fusion N_ia^b for K = 0 and N_ia^(Jb) for K = J. The
# metric is g_l = exp(-2 pi i Q_K(l)): 1 for K = 0, and -1 (2/4) for odd l when K = J. The
# trivial invariant has no sign choices: "browse signs" shows no phase table.
algebra a 1 1
browse current Orientifold
klein
set kleinbottle 1
browse current Orientifold
klein
check full_open
algebra a 1 2
display
browse current Orientifold
klein
moebius 0
annulus 2
check full_open
check trace_formula
set kleinbottle 1
browse current Orientifold
klein
moebius 0
annulus 2
check full_open
check trace_formula
check UNIMrep moebius * * *
algebra a 1 3
display
browse current Orientifold
klein
moebius 0
check full_open
set kleinbottle 1
browse current Orientifold
klein
moebius 0
check full_open
check trace_formula
algebra a 1 4
display
browse current Orientifold
browse signs
klein
moebius 0
annulus 2
check full_open
check trace_formula
check UNIMrep moebius * * *
get crosscap
browse metric
set kleinbottle 1
browse current Orientifold
browse signs
browse metric
klein
moebius
annulus 2
check full_open
check trace_formula
check UNIMrep moebius * * *
check UNIMrep klein * *
