// S-matrix elements given in closed form (G2, the two minimal-model types) and those of the
// exceptional algebras F4, E6, E7 and E8, which sum determinants over the cosets of a subgroup
// of signed coordinate permutations in the Weyl group.
#pragma once

// rep1 and rep2: Dynkin labels (positions 0 .. rank-1). Both outputs are always written.
void TarvikG(const int* rep1, const int* rep2, double* somr, double* somi, int level);
void TarvikF(const int* rep1, const int* rep2, double* somr, double* somi, int level);
void TarvikE6(const int* rep1, const int* rep2, double* somr, double* somi, int level);
void TarvikE7(const int* rep1, const int* rep2, double* somr, double* somi, int level);
void TarvikE8(const int* rep1, const int* rep2, double* somr, double* somi, int level);

// Minimal models: fields (l, m, s) for type 27; type 26 reads s only. The rank is not used.
void SmatMinCFT(const int* rep1, const int* rep2, double* somr, double* somi, int rank, int level);
void SmatMinFCFT(const int* rep1, const int* rep2, double* somr, double* somi, int rank, int level);
