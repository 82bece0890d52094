# Negative field and current labels stand for the conjugate field. SU(3) level 1 is the Z3 fusion
# ring: label 1 is (0,1), label 2 its conjugate (1,0), both of weight 1/3, and
# S = (1/sqrt 3) [[1, 1, 1], [1, w, w*], [1, w*, w]] with w = exp(2 pi i/3).
algebra a 2 1
s -1 1
get conjugate -1
get conjugate -2
fusion -1 1 0
fusion 1 1 2
# Q_J(a) = h_J + h_a - h_Ja modulo 1
get charge 1 *
get charge -1 1
check conjugates
check symmetry
simple_fusion 1
orbit -1 1
# Only the labels 0, 1 and 2 exist, and -3 is no better
s 3 0
