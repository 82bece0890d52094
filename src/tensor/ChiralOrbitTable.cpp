#include "tensor/ChiralOrbitTable.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <utility>

namespace coset_internal {

namespace {

bool sameRat(const rat& a, const rat& b) {
    return static_cast<long long>(a.num) * b.den == static_cast<long long>(b.num) * a.den;
}

} // namespace

CurrentChains::CurrentChains(SpectrumData* sd, std::vector<int> currents)
    : sd_(sd), currents_(std::move(currents)) {
    const bool labelsAreFields = std::all_of(currents_.begin(), currents_.end(), [&](int c) {
        return c >= 0 && c < sd->Nprimaries && simpleAction(sd, c, 0) == c;
    });
    const bool hasOne = std::binary_search(currents_.begin(), currents_.end(), 1);
    step_ = !labelsAreFields ? 0 : hasOne ? 1 : (currents_.size() > 1 ? currents_[1] : 0);
    auto indexOf = [&](int c) {
        const auto it = std::lower_bound(currents_.begin(), currents_.end(), c);
        return it != currents_.end() && *it == c ? static_cast<int>(it - currents_.begin()) : -1;
    };
    std::vector<char> planned(currents_.size(), 0);
    for (std::size_t d = 0; d < currents_.size(); d++) {
        if (planned[d])
            continue;
        planned[d] = 1;
        plan_.push_back({static_cast<int>(d), -1});
        if (step_ <= 0)
            continue;
        for (int from = static_cast<int>(d);;) {
            const int next =
                indexOf(simpleAction(sd, step_, currents_[static_cast<std::size_t>(from)]));
            if (next < 0 || planned[static_cast<std::size_t>(next)])
                break;
            planned[static_cast<std::size_t>(next)] = 1;
            plan_.push_back({next, from});
            from = next;
        }
    }
}

void CurrentChains::act(int x, int* out) const {
    for (const Step& s : plan_)
        out[s.index] = s.from < 0
                           ? simpleAction(sd_, currents_[static_cast<std::size_t>(s.index)], x)
                           : simpleAction(sd_, step_, out[s.from]);
}

ChiralOrbitTable::ChiralOrbitTable(TensorProduct* TP)
    : TP_(TP), N_(TP->NTensor), rows_(rowCount(TP->ChiralAlgebra)) {
    const std::size_t N = static_cast<std::size_t>(N_);
    currents_.resize(N);
    offset_.resize(N + 1, 0);
    for (std::size_t k = 0; k < N; k++) {
        std::vector<int>& column = currents_[k];
        for (int J = 0; J < rows_; J++)
            column.push_back(rowOf(TP->ChiralAlgebra, J)[k]);
        std::sort(column.begin(), column.end());
        column.erase(std::unique(column.begin(), column.end()), column.end());
        offset_[k + 1] = offset_[k] + static_cast<int>(column.size());
    }
    position_.resize(static_cast<std::size_t>(rows_) * N);
    for (int J = 0; J < rows_; J++)
        for (std::size_t k = 0; k < N; k++) {
            const std::vector<int>& column = currents_[k];
            const int c = rowOf(TP->ChiralAlgebra, J)[k];
            position_[static_cast<std::size_t>(J) * N + k] =
                offset_[k] + static_cast<int>(std::lower_bound(column.begin(), column.end(), c) -
                                              column.begin());
        }
    groupFactors();
    action_.resize(static_cast<std::size_t>(offset_[N]));
    term_.resize(action_.size());
    term64_.resize(action_.size());
    for (std::size_t k = 0; k < N; k++)
        chains_.emplace_back(factor(TP, static_cast<int>(k)), currents_[k]);
    // A coset's weights count modulo 1: its images are compared by their rational weights.
    exact_ = !TP->genuineCoset && commonDenominator();
}

// Neighbouring factors of few currents are read as one: a group's position is the mixed-radix
// number of its factors' positions, and its terms, per combination set, the sums of theirs.
void ChiralOrbitTable::groupFactors() {
    constexpr int GroupTerms = 4096;
    std::vector<int> firstOf;
    int size = 0;
    for (int k = 0; k < N_; k++) {
        const int n = offset_[k + 1] - offset_[k];
        if (firstOf.empty() || static_cast<long long>(size) * n > GroupTerms) {
            firstOf.push_back(k);
            groupTermStart_.push_back(groupTermStart_.empty() ? 0 : groupTermStart_.back() + size);
            size = 1;
        }
        size *= n;
    }
    firstOf.push_back(N_);
    groupTermStart_.push_back((groupTermStart_.empty() ? 0 : groupTermStart_.back()) + size);
    groupFirst_ = firstOf;
    const std::size_t groups = firstOf.size() - 1;
    columnPosition_.assign(groups, std::vector<int>(static_cast<std::size_t>(rows_)));
    for (std::size_t g = 0; g < groups; g++)
        for (int J = 0; J < rows_; J++) {
            int code = 0;
            for (int k = firstOf[g + 1] - 1; k >= firstOf[g]; k--)
                code = code * (offset_[k + 1] - offset_[k]) +
                       position_[static_cast<std::size_t>(J) * N_ + k] - offset_[k];
            columnPosition_[g][static_cast<std::size_t>(J)] = groupTermStart_[g] + code;
        }
    groupTerm_.resize(static_cast<std::size_t>(groupTermStart_.back()));
}

// The terms of each group for the present combination: factor k's terms summed over its
// combinations with the factors before it in the group, the first factor counting fastest.
void ChiralOrbitTable::fillGroupTerms() {
    for (std::size_t g = 0; g + 1 < groupFirst_.size(); g++) {
        std::int64_t* out = groupTerm_.data() + groupTermStart_[g];
        int filled = 1;
        out[0] = 0;
        for (int k = groupFirst_[g]; k < groupFirst_[g + 1]; k++) {
            const int n = offset_[k + 1] - offset_[k];
            // Combination c of the factors before k, position p of k: entry p * filled + c.
            for (int p = n - 1; p >= 0; p--)
                for (int c = filled - 1; c >= 0; c--)
                    out[p * filled + c] =
                        out[c] + term64_[static_cast<std::size_t>(offset_[k] + p)];
            filled *= n;
        }
    }
}

void ChiralOrbitTable::actOn(const int* v) {
    for (int k = 0; k < N_; k++)
        chains_[static_cast<std::size_t>(k)].act(v[k], action_.data() + offset_[k]);
}

void ChiralOrbitTable::setField(const int* v) {
    actOn(v);
    TensorRatWeight(TP_, v, &fieldWeight_);
    fieldScaled_ = 0;
    // The largest sum of terms, one from each factor, bounds every weight compared.
    __int128 bound = 0;
    for (int k = 0; k < N_; k++) {
        for (int at = offset_[k]; at < offset_[k + 1]; at++)
            term_[static_cast<std::size_t>(at)] =
                exact_ ? scaledWeight(k, action_[static_cast<std::size_t>(at)]) : 0;
        __int128 largest = 0;
        for (int at = offset_[k]; at < offset_[k + 1]; at++) {
            const __int128 t = term_[static_cast<std::size_t>(at)];
            largest = std::max(largest, t < 0 ? -t : t);
        }
        bound += largest;
        if (exact_)
            fieldScaled_ += scaledWeight(k, v[k]);
    }
    const __int128 limit = __int128{1} << 62;
    fits64_ = exact_ && bound < limit && fieldScaled_ < limit && -fieldScaled_ < limit;
    if (fits64_) {
        for (std::size_t at = 0; at < term_.size(); at++)
            term64_[at] = static_cast<std::int64_t>(term_[at]);
        fillGroupTerms();
    }
}

// The terms are those of tensorWeight and the flips those of GradedMinimalForm, factor by
// factor, so that an image costs look-ups only.
void ChiralOrbitTable::prepareGradedImages() {
    const bool isGraded = graded() != 0;
    gradedLabel_.resize(action_.size());
    for (int k = 0; k < N_; k++) {
        SpectrumData* sd = factor(TP_, k);
        const int sign = signOf(TP_, k);
        auto term = [&](int label) {
            return sign * static_cast<double>(sd->Weight_num[label]) / sd->Weight_denom;
        };
        for (int at = offset_[k]; at < offset_[k + 1]; at++) {
            GradedLabel& g = gradedLabel_[static_cast<std::size_t>(at)];
            const int a = action_[static_cast<std::size_t>(at)];
            g = GradedLabel{a, a, 0.0, 0.0, 0, false, false};
            // A label the block refused (reported there) is left as it is.
            if (a < 0)
                continue;
            if (isGraded && sd->graded) {
                const int p = sd->multiplets[a];
                const int d = sd->Weight_num[p] - sd->Weight_num[a];
                g.graded = true;
                g.flips = d < 0 || (d == 0 && a > p);
                g.distance = std::abs(d);
                g.label = g.flips ? p : a;
                g.flipped = sd->multiplets[g.label];
                g.flippedTerm = term(g.flipped);
            }
            g.term = term(g.label);
        }
    }
}

double ChiralOrbitTable::gradedImage(int J, int* m) const {
    const int* position = position_.data() + static_cast<std::size_t>(J) * N_;
    int flips = 0, tracked = -1, trackedDistance = 0;
    for (int k = 0; k < N_; k++) {
        const GradedLabel& g = gradedLabel_[static_cast<std::size_t>(position[k])];
        m[k] = g.label;
        if (!g.graded)
            continue;
        if (tracked < 0 || g.distance < trackedDistance) {
            tracked = k;
            trackedDistance = g.distance;
        }
        flips += g.flips ? 1 : 0;
    }
    // An odd number of flips leaves the sector: the cheapest factor is flipped once more.
    if (flips % 2 == 0)
        tracked = -1;
    double h = 0.0;
    for (int k = 0; k < N_; k++) {
        const GradedLabel& g = gradedLabel_[static_cast<std::size_t>(position[k])];
        if (k == tracked) {
            m[k] = g.flipped;
            h += g.flippedTerm;
        } else {
            h += g.term;
        }
    }
    return h;
}

const std::vector<int>& ChiralOrbitTable::keptElements() {
    kept_.clear();
    if (!fits64_) {
        std::vector<int> m(static_cast<std::size_t>(N_) + 1);
        for (int J = 0; J < rows_; J++)
            if (member(J, m.data()))
                kept_.push_back(J);
        return kept_;
    }
    // Group by group over all elements: a gathered sum the compiler can keep in registers.
    weights_.assign(static_cast<std::size_t>(rows_), 0);
    for (std::size_t g = 0; g < columnPosition_.size(); g++) {
        const int* position = columnPosition_[g].data();
        const std::int64_t* term = groupTerm_.data();
        std::int64_t* weight = weights_.data();
        for (int J = 0; J < rows_; J++)
            weight[J] += term[position[J]];
    }
    const auto target = static_cast<std::int64_t>(fieldScaled_);
    for (int J = 0; J < rows_; J++)
        if (weights_[static_cast<std::size_t>(J)] == target)
            kept_.push_back(J);
    return kept_;
}

bool ChiralOrbitTable::member(int J, int* m) const {
    if (exact_) {
        const int* position = position_.data() + static_cast<std::size_t>(J) * N_;
        __int128 weight = 0;
        for (int k = 0; k < N_; k++)
            weight += term_[static_cast<std::size_t>(position[k])];
        if (weight != fieldScaled_)
            return false;
        image(J, m);
        return true;
    }
    image(J, m);
    rat hm;
    TensorRatWeight(TP_, m, &hm);
    return sameRat(fieldWeight_, hm);
}

bool ChiralOrbitTable::commonDenominator() {
    std::int64_t common = 1;
    for (int k = 0; k < N_; k++) {
        const int den = factor(TP_, k)->Weight_denom;
        if (den <= 0 || !factor(TP_, k)->Weight_num)
            return false;
        const std::int64_t g = std::gcd(common, std::int64_t{den});
        if (__builtin_mul_overflow(common / g, std::int64_t{den}, &common))
            return false;
    }
    for (int k = 0; k < N_; k++)
        scale_.push_back(signOf(TP_, k) * (common / factor(TP_, k)->Weight_denom));
    return true;
}

// A label the block refused (reported there) adds nothing rather than reading outside.
__int128 ChiralOrbitTable::scaledWeight(int k, int label) const {
    if (label < 0)
        return 0;
    return static_cast<__int128>(factor(TP_, k)->Weight_num[label]) *
           scale_[static_cast<std::size_t>(k)];
}

} // namespace coset_internal
