# A negative type would end the list early; it is refused.
tensor
g d 8 1
current 1
set Super on
compute spectrum
search standard_model -1
