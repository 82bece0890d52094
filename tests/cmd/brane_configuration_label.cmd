# A label beyond the 1400 boundaries of 133313 is refused
build brane_configuration 133313 0 0 1400:1 0:1 1:1 2:1
