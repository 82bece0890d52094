# The E8 invariant of su(2) at level 28 (field 2j is Dynkin j, 2j+1 is Dynkin 28-j): Maxloop 9
# reaches every absolute maximum and finds eight candidates, all pairwise compatible. With
# capacity 1 their 255 combinations and 256 sets overflow the stores: the set is still found,
# but the verdict stays open. With capacity 2 the search is complete, and the fundamental annulus
# is the E8 diagram: node 7 joins arms of one node (3), two (5-1) and four (6-4-2-0).
algebra a 1 28
select exceptional_invariant
search boundaries 9
set Boundary_search capacity 2
search boundaries 9
get NIMrep 2
