algebra a 2 1
solve tadpole simple -2147483648
