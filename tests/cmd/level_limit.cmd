# The largest level of every affine algebra is the preference "MaximalLevel", 50 unless the
# defaults file says otherwise: A1 at level 50 has its 51 fields, E8 at level 51 is refused
# before anything is computed, which ends a background run.
algebra a 1 50
algebra e 8 51
