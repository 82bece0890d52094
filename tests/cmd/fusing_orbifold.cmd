# Fusing matrices of the c=1 orbifold. At N = 4 the doublets are 4 = (1,1), 5 = (1,3),
# 6 = (1,2) and the twist fields start at 7. F[6 6 6 6] (2j = N) has the four currents as
# channels; F[4 4 4 4] the currents 0, 2 and the doublet of 2j; two different doublets a = c,
# b = d exchange the sum and difference channels. Every braiding sign is +1 for even N. At
# N = 3 (doublets 4 = (1,1), 5 = (1,2)) the entry F_pq[1 4 5 5] with p = 5, q = 4 is 1 in the
# naive gauge, -1 in convention 0 and +1 in convention 1; the braiding sign of the wrapped
# channel 2 + 2 -> 2 is -1, of 1 + 1 -> 2 +1. A twist field has no matrix: the refusal goes last.
algebra orbifold 4
fusing matrix 6 6 6 6
fusing matrix 4 4 4 4
fusing matrix 4 6 4 6
fusing entry 5 6 1 4 4 6
fusing epsilon 4 4 2
fusing epsilon 6 4 *
algebra orbifold 3
display
fusing entry 5 4 1 4 5 5
fusing epsilon 5 5 5
fusing epsilon 4 4 5
algebra orbifold 4
fusing matrix 7 7 0 0
