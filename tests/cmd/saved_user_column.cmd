# Preferences saved while a user column exists. The column is not there at the next start
# (saved_user_column.then.cmd), which must still read the file back and run in the background.
algebra a 1 2
list Dim
new column sq #*#
display
save preferences
