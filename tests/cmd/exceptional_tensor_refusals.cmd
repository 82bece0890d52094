# A factor without a built-in invariant stops the product before anything is built.
tensor
g a 1 10
g a 1 12
compute spectrum
select exceptional_invariant 1 1
