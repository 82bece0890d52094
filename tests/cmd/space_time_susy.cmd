# Supersymmetry multiplets: IIA and IIB in ten dimensions, a half hypermultiplet of the heterotic
# string in six, and the listing of all right types for E8 on the left in ten dimensions.
browse susy 10 16+ 16- V V
browse susy 10 16+ 16+ V V
browse susy 6 8 0 M 0
browse susy 10 16
# A dimension above 26 ends a background run.
browse Lorentz 27
