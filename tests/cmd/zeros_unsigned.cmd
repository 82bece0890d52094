# Values that print as zero print without a sign. so(12) at level 1 (D6 as a one-factor product):
# only the Klein bottle current 2 gives the O-plane a tension; with K = 0 the identity crosscap
# vanishes and so does the tension, in the list and in the description of the choice.
tensor
g d 6 1
compute spectrum
browse Orientifolds
select orientifold 1
browse current Orientifold
get crosscap
# su(2) level 2: the crosscap of the identity is real, sin(pi/8) = 0.38268343.
single
algebra a 1 2
get crosscap 0
# su(4) level 2: the reflection coefficient of the self-conjugate field 9 on its own boundary is
# real, 1/sqrt(6) = 0.40824829.
algebra a 3 2
get reflection 9 9
