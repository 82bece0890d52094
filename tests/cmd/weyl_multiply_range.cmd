# The Weyl group of A2 is S3, of order 6, with elements numbered 0 (the identity) to 5. Products
# with the identity are the other factor; s1 and s2 (elements 1 and 2) are involutions.
algebra a 2 1
Weyl Order
Weyl Multiply 0 5
Weyl Multiply 4 0
Weyl Multiply 1 1
Weyl Multiply 2 2
# Element 6 does not exist: an input error, reported before the group is searched
Weyl Multiply 6 0
