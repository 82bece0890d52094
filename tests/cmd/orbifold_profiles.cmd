# Profiles on the orbifold interval 0 <= x <= 1 of the c=1 orbifold at N = 16. The Cardy boundary
# of the field (1, x) has R((1, q)) = S = (1/sqrt8) cos(pi q x / N), and the profile
# sum_q cos(pi q p / 2N) R((1, q)) peaks at p = 2x: boundary 6 is (1, 2), a D0-brane at x = 2/16,
# with f(4) = (1/sqrt8) (sum_q cos^2(pi q / 8) + 1) = 8/sqrt8. The vacuum boundary sits at the
# fixed point x = 0. The crosscap has its O-planes at both fixed points, x = 0 and x = 1.
algebra orbifold 16
Localize boundary 0
Localize boundary 6
Localize crosscap
# A twist field gives a D1-brane: a flat profile, and the D1-brane entries 0 and 1/sqrt2.
algebra orbifold 4
Localize boundary 7
# In tensor mode the theory is no single block, even when its factor is a free boson: refused,
# which ends a background run.
tensor
g u 8
compute spectrum
Localize boundary 0
