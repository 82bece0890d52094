# Oriented chiral intersections I(0,b) on the Gepner model 133313 (1400 boundaries, no fixed
# points). The row sums to 63, the class-1 contents of the massless fields; the chirality
# I(0,b) - I(b,0) is +1 and -1 for 48 boundaries each and +2 and -2 for 6 each, as an independent
# model of the extended S matrix gives.
build cy 133313
Intersect 0 0:1399
# The transposed pair has the opposite chirality
Intersect 76 129
Intersect 129 76
# Without the superstring reading nothing can be prepared: the reason is given (and, being a
# refusal, ends the background run)
set Super OFF
Intersect 0 17
