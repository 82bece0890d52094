# Type I from D8 at level 1 (fields: 0 vacuum, 1 spinor s of weight 1, 2 vector v of weight 1/2,
# 3 spinor c of weight 1) extended by s: the chiral algebra is E8 at level 1, c = 8 = 18 - 10, so
# space-time has ten dimensions and a second E8 is implied. Both sides carry 16 supercharges of
# the same chirality: type IIB; flipping one chirality gives IIA. There is no field besides the
# vacuum, hence no matter and no tachyon.
set OutputDir ~/out
tensor
g d 8 1
current 1
set Super on
compute spectrum
browse type-II
browse type-II flipped
browse heterotic
chiral
# A tachyon-free closed string is recorded once (".cases" and ".notach"); no orientifold is
# visited, and no tachyon is left for a Klein bottle to cancel.
check tachyon
cancellableTachyon
system cat ~/out/N_Tensor/*.cases
