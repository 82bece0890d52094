# A second start with the default limit of 2000 MB writes the rows silently; that it creates the
# directories shows that the first run left none behind.
tensor
g g 2 50
g g 2 4
compute spectrum
fusion 1 1 0
