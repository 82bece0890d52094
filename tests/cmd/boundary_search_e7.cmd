# The E7 invariant of su(2) at level 16 (field 2j is Dynkin j, 2j+1 is Dynkin 16-j): Maxloop 5
# reaches every absolute maximum, and the seven candidates give one complete set whose
# fundamental annulus is the E7 diagram: node 6 joins arms of one node (1), two (5-3) and three
# (2-4-0).
algebra a 1 16
select exceptional_invariant
set Boundary_search info_level 1
search boundaries 5
get NIMrep 2
