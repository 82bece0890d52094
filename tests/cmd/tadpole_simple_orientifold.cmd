# The orientifold column of the ".fbd" lines is the number of the current orientifold in the
# sorted list, and -1 for the user's own choice, which lies outside the list even when it equals
# an entry. su(2) level 4 (c = 2, bosonic D = 24) has two orientifolds: K = J with tension
# (3 + sqrt 3)/6 = 0.7886751, then K = 0 with (3 - sqrt 3)/6 = 0.2113249. The user's choice is
# K = 0, so its average multiplicity is that of entry 1, and entry 0's is 2 + sqrt 3 = 3.7320508
# times larger, the ratio of the tensions.
set OutputDir ~/out
algebra a 1 4
solve tadpole simple 1
browse Orientifolds
select orientifold 0
solve tadpole simple 1
select orientifold 1
solve tadpole simple 1
system cat ~/out/*/*.fbd
