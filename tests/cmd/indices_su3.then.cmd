# A second run reads all ten records and computes nothing.
algebra a 2 3
indices
indices 6
