// The orbit of a label combination under the chiral algebra, read column by column: the
// algebra's distinct currents in each factor act on the combination once, and every element is a
// row of positions among them. A pass over many combinations builds the table once.
#pragma once

#include "tensor/CosetInternal.h"

#include <cstdint>
#include <vector>

namespace coset_internal {

// A group of currents of one block acting on one label. The group is walked in chains of a step
// current (the gravitino, whose action the block keeps as a table, where the group holds it), so
// that only one current per coset of the step current acts directly. A chain reads a current's
// label as the field the current makes of the vacuum; where a block labels them otherwise, every
// current acts directly.
class CurrentChains {
public:
    // currents ascending, without repeats.
    CurrentChains(SpectrumData* sd, std::vector<int> currents);
    SpectrumData* block() const { return sd_; }
    int size() const { return static_cast<int>(currents_.size()); }
    // out[d] is currents[d] acting on label x.
    void act(int x, int* out) const;

private:
    // How an image is found: directly (from < 0), or as the step current acting on the image
    // under the current at position from.
    struct Step {
        int index;
        int from;
    };
    SpectrumData* sd_;
    std::vector<int> currents_;
    std::vector<Step> plan_;
    int step_ = 0;
};

class ChiralOrbitTable {
public:
    explicit ChiralOrbitTable(TensorProduct* TP);
    int rows() const { return rows_; }
    // The weight of the combination set last.
    const rat& fieldWeight() const { return fieldWeight_; }

    // Makes v the combination whose orbit is read.
    void setField(const int* v);
    // The same for image and gradedImage alone, without the weights that member compares.
    void actOn(const int* v);
    // Element J acting on the combination, written to m.
    void image(int J, int* m) const {
        const int* position = position_.data() + static_cast<std::size_t>(J) * N_;
        for (int k = 0; k < N_; k++)
            m[k] = action_[static_cast<std::size_t>(position[k])];
    }
    // Prepares gradedImage for the combination set last (by either call).
    void prepareGradedImages();
    // Element J acting on the combination, brought to its graded minimal form in graded mode,
    // written to m; returns the weight of m as tensorWeight sums it.
    double gradedImage(int J, int* m) const;
    // The same, when the image has the combination's weight; the weights are integers over the
    // common denominator of the factors, so this costs a sum of looked-up terms.
    bool member(int J, int* m) const;
    // The elements whose images keep the combination's weight, in order.
    const std::vector<int>& keptElements();

private:
    bool commonDenominator();
    void groupFactors();
    void fillGroupTerms();
    __int128 scaledWeight(int k, int label) const;

    TensorProduct* TP_;
    int N_;
    int rows_;
    std::vector<std::vector<int>> currents_; // the distinct currents of each factor
    std::vector<int> offset_;                // where a factor's currents start in the tables
    std::vector<int> position_;              // per element and factor, an index into the tables
    std::vector<CurrentChains> chains_;      // per factor, its column's currents
    std::vector<int> action_;                // per current, its action on the combination
    std::vector<__int128> term_;             // per current, the weight of that image
    std::vector<std::int64_t> term64_;       // the same, while every sum fits in 64 bits
    std::vector<std::vector<int>> columnPosition_; // per group and element, into groupTerm_
    std::vector<int> groupFirst_;                  // the first factor of each group, then N
    std::vector<int> groupTermStart_;              // where a group's terms start, then the end
    std::vector<std::int64_t> groupTerm_;          // per group combination, the sum of terms
    std::vector<std::int64_t> weights_;            // per element, the weight of its image
    std::vector<int> kept_;
    // Per current: the graded minimal label of its image in the factor, the label when the
    // factor is flipped once more, their weight terms, and how the flip is decided.
    struct GradedLabel {
        int label, flipped;
        double term, flippedTerm;
        int distance;
        bool graded, flips;
    };
    std::vector<GradedLabel> gradedLabel_;
    std::vector<std::int64_t> scale_;
    rat fieldWeight_{};
    __int128 fieldScaled_ = 0;
    bool exact_ = false;  // weights compared over the common denominator
    bool fits64_ = false; // and every sum for the present combination fits in 64 bits
};

// The smallest member of the orbit of v (graded minimal forms in graded mode), the table built
// once for a pass over many combinations.
int* getRepresentative(TensorProduct* TP, int* v, ChiralOrbitTable& orbit);

} // namespace coset_internal
