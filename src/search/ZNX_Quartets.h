// The quartet construction's records: the pair tree of (c, orientifold) keys with the stacks a
// that meet c and c' in the right number of families, the quartet in hand and its profile.
#pragma once

#include "numeric/Sorting.h"

#include <array>
#include <memory>
#include <vector>

namespace quartet {

inline constexpr int ProfileSize = 35;
inline constexpr int ProfileRowSize = ProfileSize + 1;
inline constexpr int ProfileStatus = 4;

struct IntersectionPair {
    std::unique_ptr<IntersectionPair> left;  // larger keys
    std::unique_ptr<IntersectionPair> right; // smaller keys
    int c = 0;
    int ori = 0;
    int size = 0;
    // 0 when c is not its own image; else 1 (orthogonal) or -1 (symplectic) by the sign of M(c).
    int GroupType = 0;
    std::vector<int> a;
};

struct CandidateInfo {
    std::array<int, 8> boundaries{}; // a, a', b, b', c, c', d, d'
    std::array<int, ProfileSize> SMdata{};
    int nr = 8;
    int type = 0;
    int ori = 0;
    std::array<int, 5> tensions{};
    int SMid = 0;
    int label = 0;
    double MBL = 0.0;
    double MB = 0.0;
    double ML = 0.0;
};

CandidateInfo& currentCandidate();
// Rows of ProfileRowSize ints, counted; emptied for each type.
VectorSpace* getProfiles();
// The pair tree's root; null when empty.
IntersectionPair* getPairTree();
void freeIntersectionPairs();

void AddPairToList(int c, int i, int a);
// Adds the c stacks and triplets of the tree to the totals.
void countIntersectionPairs(const IntersectionPair* p, int* CBraneCount, int* TripletCount);
int checkCbraneTwoFormCouplings(const IntersectionPair* IP);
// Fills both coupling tables for the node: per entry j and two-form label k, at j*L + k.
void storeTwoFormCouplings(const IntersectionPair* IP);
const std::vector<double>& getTwoFormCouplings();
const std::vector<double>& getTwoFormCouplings2();
void findWeakBrane(int a, int c, int d, int ori, double C_acd, double MBL, double MB, double ML,
                   int* tensions);
void storeQuartet(double RHS);
int computeStandardModelData();
void setQuartetInfo(const int* v);

} // namespace quartet
