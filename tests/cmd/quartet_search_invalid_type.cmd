# Only the basic types 0 to 7 may be chosen; nothing is searched.
tensor
g d 8 1
current 1
set Super on
compute spectrum
search standard_model 3 8
