algebra a 2 1
check CP 3:1
