# C needs rank 2 or more; the word "c" alone is type C, not "cft"
algebra c 2 1
algebra c 1 1
