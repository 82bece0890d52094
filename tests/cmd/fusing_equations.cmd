# Pentagon and hexagon equations. Ising with all signs +1: every equation and S from the
# matrices hold, so the self-test prints its headings only. The pentagons of 2 2 2 2 with the
# filter on F[2 2 1 1] are the two with the factor F_02[2 2 1 1] = 1/2: 0.7071 * 1 = 1 * 0.5 *
# 1.4142 and 0.3536 * (-1) = 1 * 0.5 * (-0.7071). The hexagons of 2 1 2 carry the phases
# e^{-i pi/16} (h = 1/16) on both sides. Orbifold N = 5: every equation on the untwisted fields
# holds. U(1) of 4 fields with every sign +1 breaks a hexagon (e^{-i pi/8} against its negative).
algebra minimal 0 1
fusing polynomial 99
fusing pentagon 0 0 0 0
fusing pentagon 2 2 2 2
fusing hexagon 2 1 2
fusing filter 2 2 1 1
fusing show pentagon 2 2 2 2
fusing filter 0 0 0 0
fusing show hexagon 2 1 2
algebra orbifold 5
fusing polynomial 99
algebra u 4
fusing hexagon 1 2 3
