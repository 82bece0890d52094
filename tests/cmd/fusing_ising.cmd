# Fusing matrices of the Ising block of the N=0 series: fields 0, 1 (weight 1/2) and 2 (1/16).
# F[2 2 2 2] = diag(1,2) H diag(1,1/2) with H the Hadamard matrix over sqrt 2; the single
# couplings F[1 2 2 1] = 2, F[2 2 1 1] = 1/2, F[1 2 1 2] = -1; no coupling for an odd number of
# spin fields or two energy fields into a spin field. Every braiding sign is +1, and there is no
# gauge to change the entry. An affine block has no fusing matrices: the refusal goes last.
algebra minimal 0 1
compute spectrum
get weight 1
get weight 2
fusing matrix 2 2 2 2
fusing matrix * * 2 2
fusing matrix 1 1 1 2
fusing entry 1 1 2 2 2 2
fusing entry 0 0 2 2 2 2
fusing epsilon 2 2 1
fusing epsilon * 1 *
fusing epsilon 1 1 2
algebra a 1 2
fusing matrix 1 1 1 1
