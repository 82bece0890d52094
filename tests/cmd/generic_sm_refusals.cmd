# The non-supersymmetric search needs a chiral extension: su(2) at level 1 read without the
# superstring is not chiral, so no tachyon analysis runs. The supersymmetric search takes no or
# two bounds; one is refused (which ends the background run).
algebra a 1 1
chiral
search non_susy_sm
search generic_sm 7
