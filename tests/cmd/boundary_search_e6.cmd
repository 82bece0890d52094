# The E6 invariant of su(2) at level 10 (field 2j is Dynkin j, 2j+1 is Dynkin 10-j) with the
# standard Klein bottle. Free columns are the vacuum and fields 6 to 10, whose absolute maxima
# (quantum dimensions) are 2 or 3, so Maxloop 3 is exhaustive: the four candidates of the two
# long-arm ends and their neighbours (a real pair and a conjugate pair) give the one complete
# set, whose fundamental annulus is the E6 diagram (arms of 2, 2 and 1 nodes round node 5).
# "reset boundary_search" keeps the stored set, so it can still be loaded. Maxloop 1 cuts the
# free columns: the completion of the two long-arm ends finds the set, but the verdict stays
# open. With the second Klein bottle the search finds the set of self-conjugate boundaries.
algebra a 1 10
select exceptional_invariant
set Boundary_search info_level 1
search boundaries 3
get NIMrep 2
set Boundary_search info_level 0
reset boundary_search
select boundary_set 0
annulus 0
search boundaries 1
search Klein_bottle
select klein nr 1
search boundaries 3
annulus 0
