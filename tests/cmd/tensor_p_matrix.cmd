# P = T^1/2 S T^2 S T^1/2 of extended products, against P worked out from the closed-form S and T.
# su(4) level 1 from two A1 level 2 (S as in tensor_modular_su4, weights 0, 1/2, 3/8, 3/8, c = 3):
# P = [[-r, r, 0, 0], [r, r, 0, 0], [0, 0, (1+i)/2, (1-i)/2], [0, 0, (1-i)/2, (1+i)/2]],
# r = 1/sqrt 2; the vacuum and the 6 are real (indicator 1), the 4 and the 4-bar complex (0).
# Y_22^k = -delta_k3; (1) x (j) = (j) for j = 0, 1 and -(j) for the 4 and the 4-bar.
tensor
g a 1 2
g a 1 2
current 1 1
compute spectrum
pmatrix
get schur
pfusion 2 2
pfusion 1
get g_schur 2 0
check modular
check hopf
check pmat
# su(3) level 1 from A1 level 4: P = [[-s, s, s], [s, x, y], [s, y, x]], s = 1/sqrt 3,
# x = s/2 + i/2, y = conj x; the triplets are complex.
reset tensor
g a 1 4
current 1
compute spectrum
pmatrix
get schur
check hopf
# so(8) level 1 from su(3) level 3: P = diag(-1, 1, 1, 1), every field real.
reset tensor
g a 2 3
current 1
compute spectrum
pmatrix
get schur
check modular
