# Boundary conjugates of su(2) at level k and su(3) at level 1 with their diagonal invariants.
# The conjugate b of a has A(0, a, b) = 1, and the annulus of the vacuum is delta_{ab} for K = 0
# and delta_{a, J b} for K = J: every boundary is self-conjugate for K = 0, while for K = J the
# Dynkin label l is paired with k - l (fields ordered (0,k), (k,0), then the rest). su(3) level 1
# pairs the two conjugate representations. The command runs under the oriented set-up, so a
# non-symmetric invariant is refused with the text of the unoriented one; the refusal goes last.
algebra a 1 4
display
browse conjugation boundary *
set kleinbottle 1
browse conjugation boundary *
browse current Orientifold
algebra a 1 3
display
browse conjugation boundary *
set kleinbottle 1
browse conjugation boundary *
algebra a 2 1
browse conjugation boundary *
algebra d 4 1
set Reject permutations off
set autoselect 2
select simple_current_invariant 1 2
browse conjugation boundary 0
