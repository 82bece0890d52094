# The free boson of radius 8: R(l, a) = exp(-2 pi i l a / 8) / sqrt8, so the profile
# f(p) = sum_k exp(i pi k p / 16) c_k of boundary a is (1/sqrt8) sum_k exp(i pi k (p + 4a) / 16):
# one peak, at p = (32 - 4a) mod 32, of modulus 8/sqrt8 = 2 sqrt2. The crosscap, U(l) = P(0, l)
# = 1/2 on the even l, peaks at the two antipodal points p = 0 and 16.
algebra u 8
Localize boundary 1
Localize boundary 3
Localize crosscap
# su(2) is no free boson: refused, which ends a background run.
algebra a 1 4
Localize crosscap
