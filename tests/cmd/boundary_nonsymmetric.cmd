# so(8) at level 1 with a non-symmetric simple-current invariant: the 3-cycle of the fields 1, 2
# and 3 pairs only the vacuum with itself, and the centre Z2 x Z2 moves every field into one
# orbit with trivial stabiliser: one Ishibashi label and one boundary, and nothing breaks.
algebra d 4 1
set Reject permutations off
set autoselect 2
select simple_current_invariant 1 2
browse bulk_invariant
total ishibashi
total boundaries
browse Ishibashi
browse boundary
check completeness
# The oriented data exist, the unoriented ones do not: the orientifold commands are refused, and
# the report ends a background run.
reset Orientifold
total ishibashi
