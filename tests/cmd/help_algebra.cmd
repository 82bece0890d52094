# Help of the keyword node "algebra": its own text, then the extender on loading algebras and
# the algebra types, then the words below it. Modular commands are not enabled before a spectrum.
help algebra
help algebra a
help get weight
help browse fixed_points
# An algebra word that does not exist
algebra xyz 1 1
