# Spectra of tadpole solutions with the parametrised summary ("Tadpole completeness" 3).
# Type I: D8 at level 1 extended by its spinor is E8 with one boundary; the orthogonal stack of
# 32 branes gives SO(32), rank 16, 32 x 31 / 2 = 496 gauge bosons and, E8 having one class, no
# matter. The closed sector is printed once with the first report and then only referred to.
tensor
g d 8 1
current 1
set Super on
compute spectrum
set Tadpole show_spectrum on
set Tadpole detailed_spectrum on
set Tadpole completeness 3
solve tadpole
# Bosonic strings have no open spectrum analysis: each solution says so. e8 at level 1 (D = 18,
# multiplicity 2^9): SO(512) of rank 256.
set Tadpole detailed_spectrum off
set Super off
single
algebra e 8 1
solve tadpole
# su(2) at level 1 with the Klein bottle current J (D = 24): the two boundaries form one unitary
# pair, U(4096) of rank 4096.
algebra a 1 1
set kleinbottle 1
solve tadpole
# su(3) at level 1 (D = 24): Sp(4096 - 2 N) on the vacuum boundary and U(N) on the pair (1,2),
# N = 0..2048, 2049 solutions; the rank 2048 - N + N = 2048 does not depend on N, so the summary
# gives it whatever the basic solution.
algebra a 2 1
file ~/su3.txt
terminal off
solve tadpole
file off
terminal on
system grep -c "Bosonic open string spectrum analysis not yet built in" ~/su3.txt
system grep -A 12 "SOLUTION SUMMARY" ~/su3.txt
