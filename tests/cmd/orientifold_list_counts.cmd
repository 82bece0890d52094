# The two counts of the Default mode follow the current theory and bulk invariant: 0 without
# modular data; su(2) at level 3 has K = J (tension (2/sqrt5) cos(pi/10)) and K = 0 (no
# tension); su(2) at level 4 with its D-type invariant has two orientifolds, of tensions 1/sqrt2
# (crosscap sign +1) and 1/sqrt6 (-1), each reached by K = 0 and K = J, so the choice K = J with
# sign -1 is the second entry; a non-symmetric invariant (so(8) at level 1 with the 3-cycle of its
# currents) has none. The list commands under the oriented set-up refuse that invariant with the
# text of the unoriented one; the refusal goes last.
Total All_orientifolds
Total Orientifolds
algebra a 1 3
Total All_orientifolds
Total Orientifolds
algebra a 1 4
set autoselect 1
select simple_current_invariant 1
Total All_orientifolds
Total Orientifolds
browse Orientifolds
set kleinbottle 1
set crosscap_signs -1
identify orientifold
browse current Orientifold
algebra d 4 1
set Reject permutations off
set autoselect 2
select simple_current_invariant 1 2
Total All_orientifolds
Total Orientifolds
identify orientifold
