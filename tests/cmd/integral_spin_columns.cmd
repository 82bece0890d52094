# The integer-spin fields of four copies of A1 at level 4 (weights 0, 1/8, 1/3, 5/8, 1 for
# l = 0..4) are listed in columns, as there are 15 or more: the 16 products of l 0 and 4 (spin
# the number of l=4 factors), three l=2 with one l 0 or 4 (spins 1, 2; 8 fields), three l=1 with
# one l=3 (spin 1) and three l=3 with one l=1 (spin 2): 32 fields, spins 0 1 2 3 4 occurring
# 1, 12, 14, 4, 1 times.
tensor
g a 1 4
g a 1 4
g a 1 4
g a 1 4
compute spectrum
browse integral_spin
