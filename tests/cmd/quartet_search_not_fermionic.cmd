# Read bosonically the search is refused before any file is written (the second start finds none).
tensor
g d 8 1
current 1
compute spectrum
set SM_search new_search on
search standard_model
