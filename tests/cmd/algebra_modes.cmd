# Modes of single building blocks: "algebra a 25 1" passes only because its rank raised "Maxrank"
# above 20; A25 level 1 has 26 fields, all simple currents, and field 1 is a fundamental (26).
# A twisted algebra has no modular data, so its Modular commands are refused.
total primaries
algebra a 25 1
total primaries
total simple_currents
dimension 1
algebra at 1 2
status
total primaries
dimension 0
