set Tadpole show_solution on
tensor
g d 8 1
set Super on
compute spectrum
set kleinbottle 0
set Tadpole allow_tachyons on
set Tadpole completeness 1
solve tadpole
