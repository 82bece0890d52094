# su(3) at level 1 from A1 at level 4 extended by J: the vacuum and the two resolved triplets of
# weight 1/3. S = (1/sqrt 3) [[1, 1, 1], [1, w, w^2], [1, w^2, w]] with w = exp(2 pi i/3); fusion
# is Z_3; the two triplets are conjugate. J lies in the chiral algebra: the product has no simple
# current but the vacuum, and the triplets, of quantum dimension 1, are found from S.
tensor
g a 1 4
current 1
compute spectrum
s
fusion
get conjugate 1
check unitarity
check symmetry
check conjugates
check orbits
browse simple_currents
# so(8) at level 1 from su(3) at level 3 extended by J: three resolved fields of weight 1/2,
# S = (1/2) [[1, 1, 1, 1], [1, 1, -1, -1], [1, -1, 1, -1], [1, -1, -1, 1]], symmetric under
# triality; fusion Z_2 x Z_2; every field is its own conjugate.
reset tensor
g a 2 3
current 1
compute spectrum
s
fusion
get conjugate *
check unitarity
check symmetry
check conjugates
check orbits
# The Ising model as A1_1 x A1_1 / A1_2 with (J, J, J): 1, epsilon (1/2), sigma (1/16).
# S = (1/2) [[1, 1, r], [1, 1, -r], [r, -r, 0]] with r = sqrt 2, sigma x sigma = 1 + epsilon.
reset tensor
g a 1 1
g a 1 1
h a 1 2
current 1 1 1
compute spectrum
s
fusion
check unitarity
check symmetry
check conjugates
check orbits
# In single-algebra mode "expand" shows the Dynkin labels of a field of the block: the last one
# entered, A1 at level 2, whose field 1 is the current (2,0).
single
expand 1
