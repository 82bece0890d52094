# A15 at level 12 has binomial(27, 12) = 17383860 fields of 16 labels: each table takes 1.1e9
# bytes, but the work area that enumerates them takes twice what it asks for, 2.2e9 bytes, past
# the ceiling of a single allocation. Refused at once with the block-size message, which ends a
# background run.
algebra a 15 1
algebra a 15 12
