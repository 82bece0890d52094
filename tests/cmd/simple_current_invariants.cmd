# su(2) at level 4: fields 0 and 1 are the vacuum and the current (Dynkin labels 0 and 4, weights
# 0 and 1), 2 and 3 its orbit of Dynkin labels 1 and 3 (weights 1/8 and 5/8), 4 the fixed point
# (Dynkin 2, weight 1/3). The current has integer weight: besides the diagonal invariant its
# subgroup gives the D invariant (0+1)^2 + 2*(4)^2, with 1 + 1 + 2 = 4 Ishibashi labels.
algebra a 1 4
search MIPF simple_current
collect simple_current_invariants
browse invariants
browse bulk_invariant 1
# Not stored: built by its number.
reset invariants
browse bulk_invariant 1
set autoselect 1
select simple_current_invariant 1
browse MIPF
# so(8) at level 1: the six permutations of the three fields of weight 1/2 are invariants;
# triality relates them in three classes (identity, transposition, 3-cycle).
algebra d 4 1
search MIPF simple_current
set Reject permutations off
Scan Simple_current_invariants
# Invariants 1, 3 and 5: two transpositions and a 3-cycle, visited in increasing order.
set loop_command {browse MIPF}
Scan Invariants 5 1 3
# The loops end at number 2: invariant 3 is not visited.
set loop_command {print "visited"}
set loop end 2
Scan Invariants 5 1 3
# Invariant 4 is not stored: browsing it would build it by a second search inside the running
# one, which is refused, and the loop command fails.
set loop_command {browse bulk_invariant 4}
Scan Invariants 1
