# Output that a background run wrote before the line that ends it is complete: the listing of
# su(2) level 20 (about 11 kB, several buffers of standard output) and then a current with a
# fixed point (l = 10) as grade current, which ends the run. Fields 2m and 2m+1 are the Dynkin
# labels m and 20-m for m < 10, field 20 is l = 10; l1 x l2 = |l1-l2|, |l1-l2|+2, ...,
# min(l1+l2, 40-l1-l2).
algebra a 1 20
fusion
grade 1
print never
