# Tadpole solutions of single algebras, bosonic (D = 26 - c, multiplicity 2^(D/2)):
# e8 level 1 (D = 18): one boundary, orthogonal, carrying the whole multiplicity 512.
# su(2) level 1 with the Klein bottle current (D = 24): the two boundaries form one unitary pair,
# 2 N = 2 * 4096 ... U(4096); without the current the O-plane has no tension and nothing solves.
# e6 level 1 (D = 20, multiplicity 1024): N_0 + 2 N_pair = 1024 has 513 solutions.
# su(2) level 4 with the Klein bottle current: U(n) on the pair of Dynkin labels 0/4, U(2048) on
# 1/3 and SO(2048 - n) on 2, n = 0..2048: 2049 solutions (all checked by the script below). The
# simple-current boundaries 0/4 alone cannot carry N_1 = 2048, and without the current no
# solution exists.
set Tadpole show_solution on
algebra e 8 1
solve tadpole
algebra a 1 1
set kleinbottle 1
solve tadpole
set kleinbottle 0
solve tadpole
set Tadpole show_solution off
set Tadpole completeness 1
algebra e 6 1
solve tadpole
algebra a 1 4
set kleinbottle 1
display
file ~/su2.txt
terminal off
set Tadpole show_solution on
solve tadpole
set Tadpole show_solution off
file off
terminal on
system awk -f tadpole_su2_solutions.awk ~/su2.txt
solve tadpole SCB
reset tadpole
set kleinbottle 0
solve tadpole
