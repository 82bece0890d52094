# The orientifolds of su(2) level 4 fill the orbit table of that block; the minimal-model product
# entered with "g" afterwards must not be answered from it. Of its 16 simple currents (0,q,s), of
# weight s^2/8 - q^2/16 modulo 1, only the identity and (0,4,0) have integer spin: two extensions.
algebra a 1 4
collect orientifolds
g minimal 2 2
collect extensions
