# The observable sector holds at most 24 boundaries: su(3) level 9 has 55, and fixing all of
# them is refused at the 25th listed one (a conjugate is fixed with its partner, not listed). The
# refusal is a limit of the command, not an inconsistency: the run goes on.
algebra a 2 9
fix CPmult 0:2 1:2 2:2 3:2 4:2 5:2 6:2 7:2 8:2 9:2 10:2 11:2 12:2 13:2 14:2 15:2 16:2 17:2 18:2 19:2 20:2 21:2 22:2 23:2 24:2 25:2 26:2 27:2 28:2 29:2 30:2 31:2 32:2 33:2 34:2 35:2 36:2 37:2 38:2 39:2 40:2 41:2 42:2 43:2 44:2 45:2 46:2 47:2 48:2 49:2 50:2 51:2 52:2 53:2 54:2
total boundaries
