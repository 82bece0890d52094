# The brane scan of 133313: one orientifold (every current is a square) and 1400 boundaries; the
# file goes to a folder E<tensor id> below the output directory, made when it is missing. Its
# 728 lines (672 conjugate pairs, 56 self-conjugate orthogonal boundaries) are checked in the
# unit tests; here the scan's report.
build cy 133313
branescan
