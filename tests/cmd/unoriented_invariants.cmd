# su(3) at level 1: P_00 = -1/sqrt3 < 0, so the crosscaps change sign: tension 1/sqrt3, the
# Klein bottle keeps the self-conjugate vacuum only, and M(0,0) = -1.
algebra a 2 1
browse current Orientifold
get crosscap
klein
moebius 0 0
check full_open
# su(2) at level 4 with the D-type invariant |x0 + x4|^2 + 2 |x2|^2 (fields in the order of the
# Dynkin labels 0, 4, 1, 3, 2). K = 0 or the current, crosscap sign +1 or -1: the sign decides,
# K does not (the current is in the bulk group). Sign +1: tension 1/sqrt2 and Klein bottle
# (1,1,0,0,2), the field of weight 1/3 symmetrised twice; sign -1: tension 1/sqrt6 and
# (1,1,0,0,0). The metric of the Ishibashi state (2,J) is -1 for sign +1.
algebra a 1 4
set autoselect 1
select simple_current_invariant 1
browse signs
browse metric
klein
check full_open
check trace_formula
set crosscap_signs -1
browse signs
klein
check full_open
set kleinbottle 1
browse current Orientifold
klein
check full_open
set crosscap_signs 1
browse current Orientifold
klein
check full_open
check trace_formula
annulus
moebius
annulus 4 1
moebius 4 1
# The same tables without orbits, with orbit sums and with the orbit store; "check annulus"
# compares the orbit sums with the direct ones under every boundary current, silently.
set Use_orbits 0
algebra a 1 4
select simple_current_invariant 1
annulus 4
moebius 4
set Use_orbits 1
algebra a 1 4
select simple_current_invariant 1
annulus 4
moebius 4
check annulus * * *
set Use_orbits 2
algebra a 1 4
select simple_current_invariant 1
annulus 4
moebius 4
check annulus * * *
