# Building blocks in single-algebra mode. A_r at level k has binomial(k+r, r) primaries and its
# centre Z_(r+1) gives the simple currents; dimensions follow Weyl's formula.
status
algebra a 1 1
algebra a 1 2
algebra a 1 3
algebra a 1 4
# The field of Dynkin label 2 is the triplet; all of SU(2) level 4 has dimensions 1 to 5
dynkin 2
dimension 0:4
algebra a 2 1
algebra a 2 3
# (1,1) is the octet; the ten fields of A2 level 3 have dimensions (a+1)(b+1)(a+b+2)/2
dynkin 1 1
dimension 0:9
# D4 level 1: singlet and the three 8s, centre Z2 x Z2
algebra d 4 1
dimension 0:3
# E8 level 2: 1, 248 and 3875, no simple current but the identity
algebra e 8 2
dimension *
# G2 level 1: singlet and the 7; F4 level 2: 1, 26, 52, 273, 324
algebra g 2 1
dynkin 0 1
dimension 1
algebra f 4 2
dimension *
# A free boson of radius R has R primaries, all simple currents
algebra u 4
total primaries
total simple_currents
algebra u 2
# A twisted algebra: its spectrum, but no modular data
algebra at 1 2
total primaries
status
# "single" prints the mode and computes the spectrum again; a second "compute spectrum" is silent
algebra b 3 1
single
compute spectrum
total primaries
