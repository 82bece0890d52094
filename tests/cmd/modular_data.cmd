# Modular data of su(2) level 4: fields 0-4 are the Dynkin labels 0, 4, 1, 3, 2 (simple-current
# orbits first); S_ab = sqrt(2/6) sin(pi (a+1)(b+1)/6), h_a = a(a+2)/24, Q_J(a) = a/2 mod 1.
algebra a 1 4
s 2 3
s 4
# 2 x 2 = 0 + 2 + 4; 1 x 3 contains 2; 3 x 3 = 0 + 2 does not contain 4
fusion 4 4
fusion 2 3 4
fusion 3 3 1
get weight 4
get weight 2
get weight 1
get charge 1 2
get charge 1 4
get order 1 0
get order 1 4
get conjugate 3
orbit 1 2
orbit 1 4
browse fixed_points 1
simple_fusion 1 2
check simple 1
check simple 4
check unitarity
check symmetry
check orbits
check conjugates
compute S_sum 0
# su(2) level 10: fields 2, 3 and 9 are the Dynkin labels 1, 9 and 6; 6 x 6 = 0 + 2 + 4 + 6 + 8
algebra a 1 10
s 2 3
fusion 9 9
get order 1 0
# S continued to real labels, at labels 1 and 3: sqrt(1/6) sin(2 pi/3)
Compute S_analytic 1 1 3
# su(3) level 1: Z3 fusion with complex S
algebra a 2 1
s 1
fusion 1 1 2
get charge 1 2
get conjugate 1
get order 1 2
check unitarity 1 2
# E8 level 2 is the Ising model: 1 = epsilon (h 3/2), 2 = sigma (h 15/16)
algebra e 8 2
s
fusion 2 2
fusion 1 2 2
get weight 2
