# The E6 invariant of su(2) at level 10 (field 2j is Dynkin j, 2j+1 is Dynkin 10-j): the 32
# candidates K_i = K^std_i - 2 n_i keep four rows with crosscaps on the Ishibashi primaries; the
# Klein bottle constraint and the trace formula keep rows 0 and 1. Gamma_0 = sqrt(S00 sum S(i,0)
# K_i) = 0.4247082 and the trace values are those of S and P in closed form; row 1 exchanges
# fields 0/1 and 8/9. K_1 = -1 gives a crosscap square on field 2, which ends the run.
algebra a 1 10
select exceptional_invariant
search Klein_bottle
search Klein_bottle kbc
search Klein_bottle trace
search Klein_bottle all
set Boundary_search info_level 2
select klein nr 1
total ishibashi
select klein
select klein 1:-1
klein
