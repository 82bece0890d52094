# The record of one invariant in a scan knows two modes, 0 (Hodge data) and 1 (MIPF data); the
# mode sizes its rows, so any other is refused, the largest int included.
tensor
g d 8 1
current 1
set Super on
compute spectrum
account heterotic 2147483647
