# Invariants from extensions of the chiral algebra of A1 (field 2j is l = j, field 2j+1 is
# l = k-j; l has weight l(l+2)/(4(k+2))). Level 28: the integer-spin fields are l 0, 28, 10, 18
# (spins 0, 7, 1, 3); l 0+10+18+28 gives E8, |l0+l10+l18+l28|^2 + |l6+l12+l16+l22|^2, and
# l 0+28 gives D with 2|l14|^2 after the gcd step; l 0+10 projects negatively on l=3. Level 10:
# l 0+6 gives E6 and one field bounded by one copy makes a loop of 2. Level 16: l 0+16 gives D
# with 2|l8|^2. Surplus multiplicities go back to the interpreter, so that line goes last.
algebra a 1 28
set autostore off
browse integral_spin
check algebra 1 1 1 1
check algebra 1 1 0 0
check algebra 1 0 1 0
algebra a 1 10
check homomorphism 0 9
search MIPF extension
algebra a 1 16
check homomorphism 0 1
algebra a 1 3
browse integral_spin
search MIPF extension
algebra a 1 16
check algebra 1 1 7
