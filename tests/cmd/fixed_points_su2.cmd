# su(2) at level 4: fields 0-4 are the Dynkin labels 0, 4, 1, 3, 2. The current 1 (label 4,
# h = 1) fixes field 4 (label 2); its fixed-point theory is trivial, with shift 6:
# S^J = exp(-6 pi i/4) = i, O^J = 1, eta = -6/4 mod 1 = 1/2 ("-1"), F = 4 h_J mod 4 = 0 ("1"),
# G = 2 eta - eta(J^2) = 0.
algebra a 1 4
get S_fix 1 4 4
get S_ola 1 4 4
get twist 4 1 1
get twist 4 0 1
get fcft_shift 1
browse eta
browse twists
browse etatwists
browse simple_currents
# Field 2 (label 1) is not fixed: a notice, and the command line goes on.
get S_fix 1 2 4
get twist 2 1 1
# The trivial fixed-point theory becomes current.
get fcft 1
# su(2) at level 2: fields 0, 1, 2 are the labels 0, 2, 1; shift 3: S^J = exp(-3 pi i/4),
# eta = 1/4 (" i"), F = 4 h_J = 2 ("-1"), G = 2 eta = 1/2.
algebra a 1 2
get twist 2 1 1
get S_fix 1 2 2
browse eta
browse etatwists
# su(2) at level 1 fixes nothing: asking for S^J stops the run.
algebra a 1 1
get S_fix 1 0 0
