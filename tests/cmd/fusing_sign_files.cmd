# Sign-flip files of the Ising block (rank 0: the digit h of each code 3h + l). Every entry has
# one signature (type 28 "fusing"), every braiding sign another (27): one record each, code 3
# (h = 1, the sign kept), written "%d " each, a line per record, an empty line at the end.
# Records of types Ising lacks are carried into the output and checked there:
# - one type-2 record with h = 2, l = 1 comes out unchanged;
# - parities (1,0,0,0,0,0), (0,1,0,0,0,0), (0,0,1,0,0,0) kept (code 3) say y1 = y2 = y3 = y7,
#   (1,1,1,0,0,0) flipped (code 6) says y1 + y2 + y3 + y7 = 1: the file is not kept and the
#   older file of that name stays;
# - two records with a wrapped channel, one with h = l (code 4), one with h != l (code 5): the
#   relative sign of the two rank classes differs, which ends the run (the second start shows
#   that the older file is intact).
algebra minimal 0 1
fusing solve 0 ~/x
system cat ~/x0
system printf '2 1 0 1 0 1 0 0 0 0 0 7\n' > ~/one
fusing solve 0 ~/one
system cat ~/one0
system printf '2 1 1 1 1 1 0 0 0 0 0 3 2 1 1 1 1 0 1 0 0 0 0 3\n2 1 1 1 1 0 0 1 0 0 0 3\n2 1 1 1 1 1 1 1 0 0 0 6\n' > ~/four
system printf 'older\n' > ~/four0
fusing solve 0 ~/four
system cat ~/four0
system printf '2 1 0 1 0 0 0 0 0 0 0 4\n2 1 0 1 0 1 0 0 0 0 0 5\n' > ~/two
system printf 'older\n' > ~/two0
fusing solve 0 ~/two
