# A text whose items all carry the coefficient 0 gives no invariant.
algebra a 1 4
check invariant (0*0)^2+(0*1)(0*2)
