# Without orientifold the E6 invariant of su(2) at level 10 (field 2j is Dynkin j, 2j+1 is
# Dynkin 10-j) has two complete boundary sets from ten candidates. Their coefficients agree in
# modulus, their annuli (the E6 diagram) agree as stored, and they differ by phases: a quarter
# turn at fields 6 and 7 (Dynkin 3 and 7), 0 or a half turn at fields 0, 1, 8, 9, consistently
# over all boundaries. Set 0 is self-conjugate, set 1 pairs two boundaries twice. A new search
# (with orientifold, one set) releases both, so set 1 is gone.
algebra a 1 10
select exceptional_invariant
set Orientifold off
set Boundary_search info_level 1
search boundaries 3
set Boundary_search info_level 0
annulus 0
select boundary_set 1
annulus 0
annulus 2
set Orientifold on
search boundaries 3
select boundary_set 1
