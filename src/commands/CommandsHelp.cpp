#include "commands/Commands.h"

#include "base/Output.h"

#include <initializer_list>

namespace {

void lines(std::initializer_list<const char*> texts) {
    for (const char* t : texts)
        Print("%s", t);
}

} // namespace

void HLP_bulk() {
    lines({"    ALL invariants are implictly charge conjugated in boundary\n",
           "    and crosscap computations. Hence the \"Diagonal\" invariant\n",
           "    gives the Cardy case, and \"Conjugation\" gives the diagonal\n",
           "    invariant, for which there is no built-in algorithm.\n",
           "    Closed string spectra are computed without this implicit\n",
           "    conjugation; there \"Conjugation\" really means charge\n",
           "    conjugation: \"Diagonal\" really means diagonal."});
}

void HLP_susy() {
    lines({"    D:    Space time dimension (should be at least 2).\n",
           "    sym:  1 symmetric, -1 antisymmetric, 0 no symmetrization\n",
           "          (the default).\n",
           "\n",
           "    The chiral supersymmetries of the left and the right\n",
           "    world-sheet side are given as the number of supercharges:\n",
           "       16, 8, 4, 2 or 0,\n",
           "    or as Fn, where n is a number of fermions.\n",
           "    Each may be followed by \"+\" or \"-\" to fix its chirality.\n",
           "    Left plus right may not exceed 32 supercharges.\n",
           "\n",
           "    The multiplets are labelled by:\n",
           "       V:  vector multiplet\n",
           "       M:  matter multiplet\n",
           "       0:  the multiplet of the identity (graviton)\n",
           "       S:  spinor multiplet\n",
           "    each optionally followed by its chirality \"+\" or \"-\".\n",
           "\n",
           "    Examples:\n",
           "       browse susy 10 16+ 16+    type IIB in ten dimensions\n",
           "       browse susy 10 16+ 16-    type IIA in ten dimensions\n",
           "\n",
           "    The first example shows the multiplets of the chiral\n",
           "    supersymmetries 16+ on both sides, the second those\n",
           "    of opposite chiralities.\n",
           "\n",
           "    Parameters that are absent are scanned:\n",
           "       no parameters:       all dimensions and all types\n",
           "       D only:              all types in dimension D\n",
           "       D and left type:     all right types that can\n",
           "                            accompany the left type\n",
           "       D, left and right:   the multiplets of that type\n",
           "\n",
           "    Without \"+\" or \"-\" both chiralities are shown\n",
           "    where the dimension distinguishes them.\n",
           "    In odd dimensions there is no chirality and\n",
           "    \"+\" and \"-\" are ignored.\n",
           "    The symmetrization sym applies to identical\n",
           "    left and right types only.\n",
           "    The multiplets are listed with their degrees of freedom.\n"});
}

void HLP_space_dim() {
    lines({"    The dimension \"D\" should be between 3 and 10.\n",
           "    The default value (0 initially, not selectable) \n",
           "    is given by the maximal SO(D) factor contained in the\n",
           "    first tensor factor.\n"});
}

void HLP_decomp() {
    lines({"    The parameter col_i fixes the information that is shown\n",
           "    for tensor factor i. Its value is the name of a column\n",
           "    of the spectrum table of that factor, for instance\n",
           "       browse decomp 100 dim rat rat\n",
           "    shows the dimension of the first factor and the rational\n",
           "    conformal weights of the second and third.\n",
           "    An absent col_i repeats the last one given, or \"label\"\n",
           "    when none is given.\n"});
}

void HLP_maxrank() {
    lines({"    Maximal rank is used internally for array allocation,\n",
           "    and is automatically increased if necessary.\n",
           "    Keep this parameter as small as possible to avoid\n",
           "    excessive memory allocation. \n",
           "    The computation of S becomes unaccurate for ranks larger than 20.\n"});
}

void HLP_use_orbits() {
    lines({"    This parameter determines whether simple current orbits\n",
           "    are used in the computation of modular matrices.\n", "    Possible values:\n",
           "       0: orbits are ignored; every matrix element is\n",
           "          computed for each pair of fields;\n",
           "       1: orbits are used, but the matrix elements are\n", "          not stored;\n",
           "       2: orbits are used and the matrix elements are\n", "          stored.\n",
           "    Larger values act as 2. Changing this parameter\n",
           "    erases all modular data.\n"});
}

void HLP_super() {
    lines({"    This enables spectrum analysis for CFT's that can be\n",
           "    interpreted as heterotic or type-II strings in D=3 to 10\n",
           "    space-time dimensions. The first tensor factor must be\n",
           "    B_4, D_5, B_5, D_6, B_6, D_7, B_7 or D_8 at level 1,\n",
           "    describing the space-time fermions.\n",
           "    The total central charge must be 26-D, with an E_8\n",
           "    level 1 factor for the heterotic case; when the total\n",
           "    is 18-D, the E_8 level 1 factor is implicit.\n",
           "    Otherwise the spectrum is analysed as a plain CFT.\n"});
}

void HLP_graded() {
    lines({"    When this switch is on tensor products are computed that\n",
           "    combine only purely NS or purely R sectors of the graded\n", "    factors.\n",
           "    A factor is graded with the command \"grade\".\n",
           "    N=2 minimal models are graded automatically.\n",
           "    Factors that are not graded are tensored normally.\n",
           "    When the switch is off all factors are tensored\n",
           "    normally. Changing this switch erases all modular\n", "    data.\n"});
}

void HLP_restricted_spectrum() {
    lines({"    If the spectrum computation is limited to massless states or\n",
           "    simple currents, modular properties do not work afterwards;\n",
           "    they need the full spectrum (\"compute spectrum\").\n",
           "    In single algebra mode the full spectrum is always\n", "    computed.\n",
           "    The command \"display massless\" always computes the full\n", "    spectrum.\n"});
}

void HLP_restore() {
    lines({"    Valid choices for \"column\" are those listed by the command\n",
           "    \"Table info spectrum\". The \"list\" and \"unlist\" \n",
           "    commands are in fact short forms for \"Table suppress Spectrum [col.]\"\n",
           "    or \"Table restore Spectrum [col.] plus the same for TensorSpectrum\"\n"});
}

void HLP_newcol() {
    lines({"    The column is added to the \"Spectrum\" or \"TensorSpectrum\" table,\n",
           "    whichever belongs to the current mode.\n",
           "    The name of the column is also its header.\n",
           "    The expression is evaluated for each row i, with every\n",
           "    \"#\" in it replaced by i, and its value is shown in the\n", "    column.\n",
           "    Example: new column twice 2*#\n"});
}

void HLP_create() {
    lines({"    Add the current coset/tensor theory as a new CFT to the\n",
           "    store. It is stored on an equal footing with the affine\n",
           "    algebras, and can be tensored with anything in store.\n",
           "    Note that the labels of the fields usually change,\n",
           "    because the fields of a coset are regrouped into\n", "    simple current orbits.\n",
           "    The new CFT is selected with \"algebra cft [name]\".\n"});
}

void HLP_current() {
    lines({"    Current_i must be a valid current in the i-th factor\n",
           "    Currents are labelled 0-N, where 0 is the identity\n",
           "    and N the order of the center.\n",
           "    The current label is the one shown by `show labels'.\n"});
}

void HLP_fusion() {
    lines({"    No parameters:                display all\n",
           "    One parameter  (i):           display i x (all)\n",
           "    Two parameters (i)(j):        display i x j = sum N_i_j^k (k)\n",
           "    Three parameters (i)(j)(k):   display N_i_j^k\n"});
}

void HLP_pfusion() {
    lines({"    Definition: Y_(i,j,k)=Sum_n S_in P_jn (P_kn)^*\057 S_0n \n",
           "       (see \"help pmatrix\" for the definition of P)\n\n",
           "    No parameters:                display all\n",
           "    One parameter  (i):           display i x (all)\n",
           "    Two parameters (i)(j):        display i x j = sum N_i_j^k (k)\n",
           "    Notation: (i) x (j) = Sum_k Y_i_j^k (k) \n"});
}

void HLP_s() {
    lines({"    No parameters:           display all\n",
           "    One parameter  (i):      display row i\n",
           "    Two parameters (i)(j):   display row S(i,j)\n"});
}

void HLP_pmatrix() {
    Print("    Definition: P=T^(1/2) S T^2 S T^(1/2)\n");
    HLP_s();
}

void HLP_types() {
    lines({"    The following algebra types are allowed:\n\n",
           "    type = A-E (untwisted affine Lie algebras)\n",
           "    type = At, Bt, Ct, Ft, Gt (twisted affine Lie algebras)\n",
           "    type = Bc (twisted B-tilde)\n", "    type = U  (U(1))\n\n",
           "    All types except U require two parameters, rank and level\n",
           "    Type U has only one parameter, namely the number of primaries.\n",
           "    (For example, `Algebra U 2' is SU(2) level 1)\n\n"});
}

void HLP_algebra() {
    lines({"    In Single Algebra mode this command automatically\n",
           "    computes the spectrum and enables the computation of \n",
           "    modular properties when available. To display the\n",
           "    spectrum use the command `Display'.\n\n"});
    HLP_types();
}

void HLP_twists() {
    lines({"    The simple current twists F and G are computed, as well\n",
           "    as the fixed-point CFT of each current.\n",
           "    F(J,K) is the shift of the conformal spin of the current\n",
           "    induced by J in the fixed-point CFT of K.\n",
           "    G(J,K) is defined by eta_J eta_K = G(J,K) eta_JK.\n",
           "    For WZW models F and G should be equal.\n"});
}

void HLP_check_twists() {
    HLP_twists();
    lines({"\n", "    `Check twists' is the same as `Browse etatwists',\n",
           "    but it does not show the twists.\n",
           "    Only cases with F unequal to G are reported.\n",
           "    Nothing is shown if the check was succesful.\n"});
}

void HLP_minimal() {
    lines({"    Labels for minimal model representations\n",
           "    ----------------------------------------\n", "    N=0:          (r,s,t)\n",
           "    N=1 (k odd):  (r,s,t)\n", "    N=1 (k even): (r,s,t,f)\n",
           "    N=2:           (l,q,s)  (standard notation)\n",
           "    t=0: NS ground state, t=2: NS excited state,\n",
           "    t=1: R ground state,  t=3: R excited state;\n",
           "    f=-1: not a fixed point, f=0 or 1: resolved fixed point.\n", "\n",
           "    Note that N=1 and N=2 are treated as ordinary CFT's \n",
           "    i.e. both supermultiplet members are primaries. \n"});
}

void HLP_compute() {
    lines({"Compute\n", "    The spectrum of the current theory is computed,\n",
           "    but not displayed.\n", "    In single algebra mode this has no effect, since the\n",
           "    spectrum is computed when the algebra is loaded.\n",
           "    In tensor mode it starts the computation of the\n",
           "    spectrum of the extended tensor product, and enables\n",
           "    the computation of S and of the other modular\n", "    properties.\n",
           "    Use \"display\" to show the result.\n"});
}
