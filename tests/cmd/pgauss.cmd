# The Gauss-sum formula of P agrees with P for every pair of su(2) level 5 and su(3) level 3
# (for su(2) it is the closed form 2/sqrt(k+2) sin(pi (a+1)(b+1)/(2(k+2))) for a+b+k even).
algebra a 1 5
Check P-Gauss * *
algebra a 2 3
Check P-Gauss * *
# su(2) level 6: the quotient for the fixed point (label 3, field 6) is (-1)^(6/2) = -1
algebra a 1 6
check eta
# E7 has no analytic S: refused, which ends the run
algebra e 7 1
Check P-Gauss 0 0
