# Bosonic su(3) at level 1 holds two built tadpole rows and one independent row, numbered 0 to 2;
# the independent row reads n + N = 2048 for Sp(2n) on boundary 0 and U(N) on the pair (1,2).
# The last row is shown; a number beyond it, up to the largest int, is refused. The second
# start refuses a brane number below one, the smallest int included.
algebra a 2 1
browse tadpole equations 2
browse tadpole equations 2147483647
