# The search for a tachyon-free extension of D5 times the N=2 models of levels 1, 1, 7, 7, 7:
# the light fields of each factor, the 64 supercurrents (either spinor class of D5 with either
# Ramond ground state that is a simple current in each factor: 5/8 + 3/8 = 1), the spinor
# candidates and the scalar currents tried after each of them. No choice removes every
# tachyon; the search ends and the next command runs on the product it left in tensor mode.
search tachyons 11777
status
# A code that is not in the table is refused (and ends a background run)
search tachyons 12345
