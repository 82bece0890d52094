# Ishibashi and boundary labels. A diagonal invariant has one label of each kind per field:
# su(2) at level k has k + 1 fields, su(3) at level 1 three.
algebra a 1 1
total ishibashi
total boundaries
algebra a 1 2
total ishibashi
total boundaries
algebra a 1 3
total ishibashi
total boundaries
algebra a 2 1
total ishibashi
total boundaries
check completeness
algebra a 1 4
total ishibashi
total boundaries
browse boundary
browse Ishibashi 3
browse reps boundary 3
# su(2) at level 4: fields 0 to 4 are the Dynkin labels 0, 4, 1, 3, 2. The D-type invariant
# |x0 + x4|^2 + 2 |x2|^2 (Dynkin labels) pairs 0 and 1 with themselves and field 4 twice: four
# Ishibashi states, (4,0) and (4,1) on field 4. Its boundaries are the orbits {0,1} and {2,3},
# the second marked: Dynkin 1 has charge 1/2 under the current, which breaks the extension;
# and the fixed point 4, resolved into [4,0] and [4,1] by the two characters of its stabiliser.
display
set autoselect 1
select simple_current_invariant 1
total ishibashi
total boundaries
browse Ishibashi
browse boundary
check completeness
# The details of a boundary show the spectrum rows of J f for both currents J: the orbit of
# boundary 1 in one run, the fixed point twice.
browse reps boundary 1
browse reps boundary 3
# The resets of the orientifold and of the boundary search leave the labels alone.
reset Orientifold
reset boundary_search
total boundaries
# Back to the diagonal invariant, from the Boundary and from the Modular mode.
reset bulk
total boundaries
select simple_current_invariant 1
select diagonal_invariant
total ishibashi
# so(8) at level 1: its simple-current invariants are the six permutations of the three fields
# of weight 1/2 that fix the vacuum. Diagonal: four labels of each kind; a transposition pairs
# the vacuum and one field with themselves and has the orbits {0, J} and the other two fields:
# two of each; a 3-cycle pairs only the vacuum, and the whole group has one orbit: one of each.
algebra d 4 1
set Reject permutations off
set loop_command {total ishibashi; total boundaries; check completeness}
Scan Simple_current_invariants
