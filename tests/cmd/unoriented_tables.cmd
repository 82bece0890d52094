# The annulus and Moebius tables switch from matrices to lines above 30 boundaries. su(2) level
# 29 (30 boundaries, K = 0): the matrix of field 2 (Dynkin 1) is fusion with spin 1/2. Level 30
# (31 boundaries): the non-zero entries A(2,0,b) line by line, a blank line before b = 0 only
# (A(2,0,b) = 1 for Dynkin 1 alone), nothing for the zero A(2,2,2); M(0,a) = (-1)^l is 1 for
# field 5 (an even Dynkin label) and -1 for field 2 (Dynkin 1).
algebra a 1 29
annulus 2
algebra a 1 30
total boundaries
annulus 2 0
annulus 2 2 2
moebius 0 5
moebius 0 2
