# Extensions of A1_2 x A1_2. The simple currents are (0,0), (J,0) and (0,J) of weight 1/2, and
# (J,J) of weight 1, label 3: the integer-spin subgroups are the trivial one and {0, (J,J)}.
# Extending by (J,J) gives su(4)_1: the vacuum, the 6 of weight 1/2, and the fixed point (j=1,j=1)
# of weight 3/16 + 3/16 resolved into the 4 and the 4-bar of weight 3/8.
tensor
g a 1 2
g a 1 2
total extensions
collect extensions
total extensions
select extension 1
display
# The list stays valid while the factors are the same.
total extensions
select extension 0
total primaries
# A new factor makes the list stale.
g a 1 2
total extensions
# Requiring (J,J) drops the trivial extension.
reset tensor
g a 1 2
g a 1 2
compute simple_current_spectrum
set require extension 3
collect extensions
select extension 0
display
# Once an extension is computed the requirement is gone.
reset tensor
g a 1 2
g a 1 2
collect extensions
