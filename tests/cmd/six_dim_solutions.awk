# Checks every six-dimensional tadpole solution report in the file: both anomaly verdicts, the
# gravitational anomaly condition H - V + 29 T = 273 on the printed totals, and the closed-string
# matter of K3, H + T = 20 (the 21 tensors of type IIB on K3 less the universal hyper, split by
# the Klein bottle). Prints the number of reports and one line per failure.
function check() {
    if (!open) return
    n++
    if (!grav || !gauge) print "solution " n ": anomaly verdict missing"
    if (H - V + 29 * T != 273) print "solution " n ": H - V + 29 T = " H - V + 29 * T
    if (Hc + Tc != 20) print "solution " n ": closed H + T = " Hc + Tc
    if (T != Tc) print "solution " n ": tensor counts differ"
}
/--- Solution \(CP multiplicities\)/ { check(); open = 1; grav = gauge = 0 }
/^Massless Matter:/ { Hc = $3; Tc = $7 }
/^ +Hyper: / { H = $2 }
/^ +Tensor: / { T = $2 }
/^ +Vector: / { V = $2 }
/^Gravitational anomaly cancellation OK/ { grav = 1 }
/^Gauge anomaly cancellation OK/ { gauge = 1 }
END { check(); print n " six-dimensional solutions checked" }
