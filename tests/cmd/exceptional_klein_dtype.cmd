# The D invariant (0+1)^2 + 2*(4)^2 of su(2) at level 4, stored and selected by name, made
# exceptional: the working record takes the copy, so the stored record keeps its closed-form
# reflection coefficients (sqrt2 S00, sqrt2 S01, S02/sqrt2 twice). As an exceptional invariant:
# four Ishibashi labels and three Klein bottles; without a boundary set no reflection
# coefficients, which ends the run.
algebra a 1 4
set autostore on
set autoselect 1
select simple_current_invariant 1
store
select invariant Invariant_1
make bulk exceptional
total ishibashi
search Klein_bottle
select invariant Invariant_1
get reflection 0
make bulk exceptional
get reflection 0
