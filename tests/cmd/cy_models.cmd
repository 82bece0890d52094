# Products of N=2 minimal models with c = 9, named by their levels: D5 level 1 and one N=2
# model per level, extended by the current with 1 in every factor and by the even grade flips.
# The counts were found independently of the program.
build cy 33333
supersymmetric
build cy 111111111
supersymmetric
build cy 11777
supersymmetric
build cy 1131313
supersymmetric
build cy 115519
supersymmetric
build cy 133313
supersymmetric
# 9600 free orbits, and 16 orbits of fields with l = 3 in every factor, each resolved into 2
build cy 6666
supersymmetric
# The same product without the current: tensor mode, no spectrum
build non_susy_cy 33333
status
# A code that is not in the table is refused (and ends a background run)
build cy 12345
