# Counts over a ".branes" file of the brane scan (columns: a, a^c, orbit start, group type, net
# symmetric, net antisymmetric, adjoints, A_a, A_c, M_a, M_c).
function abs(x) { return x < 0 ? -x : x }
{
    lines++
    if ($1 == $2) {
        self++
        if ($4 == 1) orthogonal++
        if ($5 != 0 || $6 != 0) selfTensors++
    }
    sym[abs($5)]++
    anti[abs($6)]++
    # Annulus and Moebius numbers of one sector: A >= |M| and A - M even.
    if ($8 < abs($10) || ($8 - $10) % 2 != 0 || $9 < abs($11) || ($9 - $11) % 2 != 0) bad++
    # {a} is chiral when I(a,a^c) - I(a^c,a) is not 0 or the two Moebius sums differ.
    if ($8 != $9 || ($8 != 0 && $10 != $11)) chiral += ($1 == $2 ? 1 : 2)
}
END {
    printf "lines %d, self-conjugate %d (orthogonal %d, with tensors %d)\n", lines, self, orthogonal, selfTensors
    printf "|col5| 0/1/2: %d/%d/%d; |col6| 0/1/2: %d/%d/%d\n", sym[0], sym[1], sym[2], anti[0], anti[1], anti[2]
    printf "annulus/Moebius violations %d; chiral boundaries %d\n", bad, chiral
}
