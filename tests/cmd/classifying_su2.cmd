# Classifying-algebra coefficients of su(2) at levels 2 and 3 with the diagonal invariant and
# K = 0: every boundary is its own conjugate and R(m, a) = S(m, a), so the sum over boundaries
# is the Verlinde formula and X equals the fusion coefficient N printed beside it. At level 2 in
# the field order (0,2), (2,0), (1,1): N(2,2,0) = N(2,2,1) = 1, N(2,2,2) = 0. The command runs
# under the oriented set-up, so a non-symmetric invariant is refused; the refusal goes last.
algebra a 1 2
display
get class_alg * * *
algebra a 1 3
display
get class_alg * * *
algebra d 4 1
set Reject permutations off
set autoselect 2
select simple_current_invariant 1 2
get class_alg 0 0 0
