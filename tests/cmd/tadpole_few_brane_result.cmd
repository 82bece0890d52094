# su(3) level 9 (c = 6, bosonic D = 20) with unitary stacks only: the loops would be far too
# long, so "Tadpole completeness" 1 lets only the few-brane search run. It accepts three
# solutions, which must be reported as three, not as one. The search leaves no threshold behind:
# checking one of its one-stack solutions afterwards shows it instead of rejecting it as known.
algebra a 2 9
set Tadpole unitary_groups_only on
set Tadpole completeness 1
set Tadpole show_solution on
solve tadpole
check CP 46:256
