# su(3) at level 1 with its diagonal invariant treated as exceptional: the real boundary has the
# vacuum as diagonal annulus, the complex one the field 2 (its conjugate, added with it, the
# field 1). The reports of info level 3 show the candidates with their annulus and Moebius
# vectors and the complete set with all annuli: the fusion rules of Z3. Changing "Orientifold"
# between two tries drops the first candidate; completion finds it again and the set of three
# is rebuilt, but it equals the set stored before, so no new complete set is counted. After
# "reset boundary_search" there is nothing to assemble. Two entries for three fields are
# refused.
algebra a 2 1
make bulk exceptional
set Boundary_search info_level 3
try boundary 1,0,0
try boundary 0,0,1
try boundary 0,0,1
assemble
moebius 0
set Boundary_search info_level 1
set Orientifold off
try boundary 1,0,0
set Orientifold on
try boundary 0,0,1
assemble
reset boundary_search
assemble
try boundary 1,1
