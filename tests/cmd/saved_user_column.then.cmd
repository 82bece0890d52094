# The second start: one notice for the settings of the missing column, the saved choice of the
# dimension column kept, no column "sq".
algebra a 1 2
display
