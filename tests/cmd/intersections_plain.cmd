# The plain method (sums over every Ishibashi label, no orbits) gives the same numbers as the
# orbit method with its charge classes (intersections_cy): the start of the row I(0,b) on 133313
# and the transposed pair 76, 129.
set Use_orbits 0
build cy 133313
Intersect 0 0:299
Intersect 76 129
Intersect 129 76
