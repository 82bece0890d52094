# The standard-model factors su(3) + su(2) + u(1) + u(1) at level 1 (U(1) radii 30 and 20) and
# the current J = (triplet, doublet, 1, 4): weight 1/3 + 1/4 + 1/60 + 16/40 = 1 and order 30,
# every power of integer weight. Filtering by J^k glues so(10) (k = 1) and its subalgebras over
# su(3) + su(2) + u(1) + u(1): the reported dimension counts 12 plus the dimensions of the light
# roots of the right algebra.
set OutputDir ~/out
tensor
g a 2 1
g a 1 1
g u 30
g u 20
compute spectrum
set Heterotic factors 4
# Candidates of weight exactly 0 or 1: 25.
compute heterotic
# k = 1: so(10), 45 = 13 + 32.
add filter 1 1 1 4
compute filter
# k = 2: su(4) + su(2) + su(2), 15 + 3 + 3 = 21.
reset filter
add filter 2 0 2 8
compute filter
# k = 3: 15 = su(3) + su(2) + su(2) + u(1): the two singlet roots turn a u(1) into su(2).
reset filter
add filter 0 1 3 12
compute filter
# k = 5: su(5) + u(1), 24 + 1 = 25.
reset filter
add filter 2 1 5 0
compute filter
# k = 10: su(3) + su(2) + u(1) + u(1) alone, 13.
reset filter
add filter 1 0 10 0
compute filter
# k = 15 records nothing new.
reset filter
add filter 0 1 15 0
compute filter
system cat ~/out/*/*.algebra
# A name entered after "compute heterotic" changes the spectrum records: "compute filter" asks
# for a new set-up.
set Particle factors 4
name rep Q 1 1 29 1
compute filter
