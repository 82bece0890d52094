# The brane scan of 133313: one orientifold (every current is a square) and 1400 boundaries; the
# file goes to a folder E<tensor id> below the output directory (the home folder here), made
# when it is missing. Expected from an independent model of the extended S, T and P: 728 lines,
# the 56 self-conjugate boundaries orthogonal and without net tensors, |col5| 0, 1, 2 on 491,
# 219, 18 lines and |col6| on 584, 126, 18; A >= |M| with A - M even throughout; 594 boundaries
# whose diagonal sector alone is chiral.
build cy 133313
branescan
system awk -f branes_counts.awk ~/E133313/MIPF_0_0.branes
system grep -E "^ +(76|125|1375) " ~/E133313/MIPF_0_0.branes
# Column 8 minus column 9 is the chirality of (a, a^c): 1 for the line of 76 and 79
Intersect 76 79
