# Invariants whose boundaries are known in closed form, searched as exceptional ones. su(2) at
# level 4 (field 2j is Dynkin j, 2j+1 is Dynkin 4-j) with its diagonal invariant: the conversion
# is announced, the three candidates give the Cardy set, whose fundamental annulus is the fusion
# graph of Dynkin 1, a path of five nodes; with the Klein bottle current J the boundaries pair up
# as two pairs and one self-conjugate, the Moebius strip of the vacuum is 1 only on that one, and
# the Klein bottle is 1 everywhere. su(3) at level 1: two candidates (the real boundary and one
# of the complex pair) give the Z3 set.
algebra a 1 4
set Boundary_search info_level 1
search boundaries
set Boundary_search info_level 0
get NIMrep 2
annulus 0
moebius 0
klein
algebra a 2 1
make bulk exceptional
set Boundary_search info_level 1
search boundaries
set Boundary_search info_level 0
annulus 0
