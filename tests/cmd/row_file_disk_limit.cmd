# G2 at level 50 times G2 at level 4 has 676 x 9 = 6084 fields and no simple current but the
# vacuum, so 6084 orbits: from 5000 on the orbit S and P rows go to files of the output directory.
# Measured by the first row, all S rows would take about 1 GB, beyond a limit of 0 MB: a background
# run cannot ask, refuses, and computes each row when it is needed. Every G2 representation is
# self-conjugate, so N_11^0 = 1.
set S_matrix maxdisk 0
tensor
g g 2 50
g g 2 4
compute spectrum
fusion 1 1 0
