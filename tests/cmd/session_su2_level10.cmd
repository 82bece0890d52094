# A session on SU(2) level 10. The fields come in simple-current orbits {l, 10-l}: labels 0 to 10
# are l = 0, 10, 1, 9, 2, 8, 3, 7, 4, 6, 5, with h = l(l+2)/48 and
# S_lm = sqrt(1/6) sin(pi (l+1)(m+1)/12).
algebra a 1 10
display
# l = 1 and l = 9: sqrt(1/6) sin(5 pi/3) = -1/sqrt(8)
s 2 3
# l = 6: 6 x 6 = 0 + 2 + 4 + 6 + 8, the labels 0, 4, 8, 9 and 5
fusion 9 9
check unitarity
# The current J (l = 10) has order 2 and fixes l = 5 alone
get order 1 0
get order 1 10
orbit 1 2
orbit 1 10
browse fixed_points 1
get weight 3
get conjugate 1
status
table suppress algebras alloc
browse algebras
help s
help check unitarity
# J has spin 5/2, but its fixed point l = 5 forbids grading by it
grade 1
