# The E6 invariant of su(2) at level 10 with the second Klein bottle of the search, which
# changes the signs of fields 6 and 7 (Dynkin 3 and 7). Now the four real boundaries with
# A^0 = 1 admit Moebius strips; the complete set is again the E6 diagram, every boundary is its
# own conjugate (identity vacuum annulus), and the open and closed checks pass.
algebra a 1 10
select exceptional_invariant
search Klein_bottle
select klein nr 1
try boundary 1,0,0,0,0,0,0,0,0,1,0
try boundary 1,1,0,0,0,0,0,0,1,1,0
try boundary 1,0,0,0,1,1,0,0,1,2,0
try boundary 1,1,0,0,2,2,0,0,3,3,0
assemble
annulus 2
annulus 0
moebius 0
klein
check full_open
