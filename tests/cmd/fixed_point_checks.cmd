# With consistent fixed-point data the twists F agree with the eta twists G and obey the product
# rules, so "check twists" and "check twist_prod" print nothing.
algebra a 1 2
check twists
check twist_prod
algebra a 1 3
check twists
check twist_prod
algebra a 1 4
check twists
check twist_prod
algebra a 1 5
check twists
check twist_prod
algebra a 1 6
check twists
check twist_prod
algebra a 1 7
check twists
check twist_prod
algebra a 1 8
check twists
check twist_prod
algebra a 3 2
check twists
check twist_prod
# D4 at level 2: all three currents have fixed points, field 10 is fixed by each.
algebra d 4 2
check twists
check twist_prod
# E7 at level 2: the current (h = 3/2) fixes fields 2 and 3, of weights 21/16 and 57/80, resolved
# by F4 at level 1 with shift 9: eta = -9/4 mod 1 = 3/4 ("-i"), F = 4 h_J mod 4 = 2 ("-1"),
# G = 2 eta = 1/2 ("-1").
algebra e 7 2
check twists
check twist_prod
get weight 2
get weight 3
browse twists
browse etatwists
# Conjugacy classes of A_r: the class vector of current c is (1, 2, ..., r) c mod r+1, kept by
# every Weyl reflection, and the charges agree with it: no "lbl" line.
algebra a 2 1
check classes
algebra a 3 2
check classes
algebra a 4 1
check classes
