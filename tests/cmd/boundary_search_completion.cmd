# Completion of incomplete sets, on the E6 invariant of su(2) at level 10 (field 2j is Dynkin j,
# 2j+1 is Dynkin 10-j). With the second Klein bottle every boundary is real and self-conjugate;
# three of the four candidates leave the trivalent node's neighbour (diagonal annulus
# 1,1,0,0,2,2,0,0,3,3,0) to the completion equations, which find it, restart the assembly and
# give the E6 diagram. With the standard Klein bottle, Maxloop 1 finds only the two long-arm
# ends; completion adds their neighbours and the set is found, but the cut loops leave the verdict
# open. The D-type invariant of su(2) at level 4 has an Ishibashi label held twice by one primary,
# which a set of coefficients per primary cannot hold: no orthogonal vector, no complete set, and
# the warning does not end the background run.
algebra a 1 10
select exceptional_invariant
search Klein_bottle
select klein nr 1
set Boundary_search info_level 1
try boundary 1,0,0,0,0,0,0,0,0,1,0
try boundary 1,1,0,0,0,0,0,0,1,1,0
try boundary 1,0,0,0,1,1,0,0,1,2,0
assemble
set Boundary_search info_level 0
annulus 2
algebra a 1 10
select exceptional_invariant
set Boundary_search info_level 1
search boundaries 1
algebra a 1 4
select simple_current_invariant 1
set Boundary_search info_level 0
search boundaries
