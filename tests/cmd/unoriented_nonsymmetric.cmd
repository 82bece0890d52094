# so(8) at level 1 with the non-symmetric invariant of the 3-cycle of its currents: the signs are
# not meaningful, and the current orientifold, which has no tension here, is refused with the
# text of the unoriented set-up; the refusal ends a background run.
algebra d 4 1
set Reject permutations off
set autoselect 2
select simple_current_invariant 1 2
browse signs
browse current Orientifold
total ishibashi
