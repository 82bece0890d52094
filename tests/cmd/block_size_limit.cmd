# A20 at level 1 has 21 fields; at level 10 it has binomial(30, 10) = 30045015, each with 21
# labels: one table of 2.5e9 bytes, more than a single allocation may take. Refused at once with
# one message that names the line, which ends a background run.
algebra a 20 1
algebra a 20 10
