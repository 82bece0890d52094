# su(3) level 3: the index file the store writes holds the trivial and the fundamental weights;
# fusion finds the other seven. The weight (p,q) has dim (p+1)(q+1)(p+q+2)/2, index of order 2
# dim (p^2+q^2+pq+3p+3q)/12 and of order 3 (p-q)(p+2q+3)(2p+q+3)(p+1)(q+1)(p+q+2)/120.
# Field 4 is (1,2): 15, 20, -14; field 9 is (1,1): 8, 6, 0; field 3 is (0,1): 3, 1, -1.
algebra a 2 3
indices
indices 4
indices 9
indices 3
