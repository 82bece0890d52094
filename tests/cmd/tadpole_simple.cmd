# Few-brane solutions of su(3) level 1, bosonic: N_0 + 2 N_pair = 4096 (one independent row, two
# variables). One brane: Sp(4096) or U(2048), two cases; the average multiplicity is 4096 times
# the tension over the mean identity reflection coefficient, all equal here: 4096. Two branes:
# Sp(2k) x U(2048 - k), k = 1..2047, in the one subset - more solutions than subsets with fewer
# rows than branes, so the growing search stops. The global statistics then count each group.
# The ".fbd" lines: model, invariant, orientifold, rows, branes, subsets, solutions, chiral,
# average. A brane number below four is refused.
set OutputDir ~/out
algebra a 2 1
initialize simple_solution_stat 4
solve tadpole simple 1
browse stat_simplesol
initialize simple_solution_stat 4
file ~/simple.txt
terminal off
solve tadpole simple
browse stat_simplesol
file off
terminal on
system grep -E "^(Trying|Number of sol|Solution explosion|Sp\(4096\)|Sp\(4094\)|U\(2048\)|U\(1\)|Total number)" ~/simple.txt
system cat ~/out/*/*.fbd
initialize simple_solution_stat 3
