# The fusing commands read every label they name, so a missing one is refused by the command
# line instead of being read from an empty slot. Ising block: F[1 2 2 1] = 2 in full; the
# self-test up to the largest int checks all three labels; then the pentagon filter with one
# label of four.
algebra minimal 0 1
compute spectrum
fusing matrix 1 2 2 1
fusing polynomial 2147483647
fusing filter 0
