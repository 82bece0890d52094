# A second start in the same output directory reloads spectra and algebras: no algebra is new
# and every count of ".heterotic" doubles.
set OutputDir ~/out
tensor
g d 8 1
g d 8 1
compute spectrum
set Heterotic factors 2
compute heterotic
add filter 1 0
add filter 0 1
compute filter
add filter 2 2
compute filter
system cat ~/out/*/*.heterotic
