# Selection criteria on su(3) at level 1, shown, cleared one by one and all at once; clearing the
# loop command bounds the loops at 2000000, emptying the store at 2000000000. The subgroup start,
# the primary selection and the automatic choice show nothing. A pair that is not "i:j" ends the
# run.
algebra a 2 1
show selection criteria
set require left 1 2
set present right 2
set forbid left 0
set forbid right 1 2
set selection automorphism 1:2 2:1
set autoselect 3
show selection criteria
set selection automorphism of
show selection criteria
reset selection
show selection criteria
set loop_command off
show loop end
reset invariants
show loop end
start subgroup 1 2
set Primary_selection vacuum
set autoselect off
show selection criteria
set selection automorphism 1:x
show selection criteria
