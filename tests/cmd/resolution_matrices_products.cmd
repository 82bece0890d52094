# Resolution matrices S^J of A1_4 x A1_4 extended by (J,J). The current 1 = (J,0) fixes the fields
# 2 = (vacuum, triplet) and 5 = (triplet, vacuum), and the two resolved fields 6 and 7 of
# (triplet, triplet). Field 2 has no fixed points of the extension, so S^J(2,2) is |G| = 2 times
# S(0,0) = 1/(2 sqrt 3) of A1_4 times S^J = i of the triplet of A1_4: i/sqrt 3. On these four
# fields S^J = i/sqrt 3 times ((1,0,1,1),(0,1,1,-1),(1,1,-1,0),(1,-1,0,-1)), unitary with square -1.
# O^J = S^J exp(i pi 6/4) = -i S^J, with the shift 6 of A1_4.
tensor
g a 1 4
g a 1 4
current 1 1
compute spectrum
browse fixed_points 1
get S_fix 1 2 2
get S_fix 1 2 5
get S_fix 1 2 6
get S_fix 1 2 7
get S_fix 1 5 5
get S_fix 1 5 6
get S_fix 1 5 7
get S_fix 1 6 6
get S_fix 1 6 7
get S_fix 1 7 7
get S_fix 1 7 6
get S_ola 1 2 2
get S_ola 1 6 6
# The vacuum is not fixed.
get S_fix 1 2 0
# A building block that is no created or fixed-point theory has no check; the refusal ends the
# run.
single
algebra a 1 4
compute spectrum
check fp_conj
