# The Gepner model of five N=2 minimal models at k = 3 with D5 (the quintic): c = 14 = 18 - 4,
# E6 on both sides (4 supercharges each). The Hodge numbers are (1, 101): the heterotic string
# has 101 generations of one of 27, 27* and one of the other; the type-II spectrum 101 and 1
# matter multiplets of each kind. In four dimensions the chirality of E6 is not resolved.
set OutputDir ~/out
build cy 33333
browse heterotic
browse type-II
chiral
# No tachyons at all: one oriented case in ".cases" and one block in ".notach", both named after
# extension 0, the one the product is built with.
check tachyon
system cat ~/out/N_Tensor33333/*.cases
system grep -c "Oriented Tachyon-free theory" ~/out/N_Tensor33333/Ext0_000.notach
# Supersymmetric: the record line ends with the 4000 Ishibashi labels of the diagonal invariant,
# the 4 supercharges and the tachyon flag 0.
record tachyon-free f
system cat ~/out/f
# One data line: Hodge numbers 101 and 1, E6 singlets, the extra currents of both sides, 4 and 4
# supercharges, symmetric; the summary holds it once.
account heterotic 0
system cat ~/out/33333.hodge
system cat ~/out/33333.hodge_summary
