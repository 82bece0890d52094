// The bulk invariant of a simple-current group and an X matrix. Field a pairs with J_b a for the
// group elements b that meet the charge condition: Q_i(a) + sum_j X_ij b_j / N_i is an integer
// for every basis current J_i. The tests run on integer numerators (units of 1/N_i), not on
// reduced rationals: they sit in the innermost loops of the search.
#include "modular/Invariants.h"

#include "base/Error.h"
#include "base/Output.h"
#include "modular/InvariantsInternal.h"
#include "modular/Modular.h"
#include "numeric/VectorUtility.h"

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <vector>

using namespace invariants_internal;

namespace {

// A charge that is no multiple of 1/N_i: the field pairs with nothing.
constexpr int NoCharge = -1;

int groupOrder(const SCData* MD) {
    return MD->dg->Order;
}

int mult(const SCData* MD) {
    return MD->dg->Mult;
}

const int* components(const SCData* MD, int e) {
    return MD->dg->Decomp + static_cast<std::size_t>(e) * mult(MD);
}

int basisCurrent(const SCData* MD, int i) {
    return MD->map[DG_basis(MD->dg, i)];
}

// Q_i(a) as a numerator over `units`; the vacuum has charge 0.
int fieldCharge(const SCData* MD, int i, int a, int units) {
    if (a == 0)
        return 0;
    const rat* q = simpleCurrentCharge(basisCurrent(MD, i), a);
    const long long scaled = static_cast<long long>(units) * q->num;
    if (scaled % q->den != 0)
        return NoCharge;
    return mod(static_cast<int>(scaled / q->den), units);
}

int exponent(const SCData* MD) {
    int D = 1;
    for (int i = 0; i < mult(MD); i++)
        D = std::lcm(D, MD->dg->Orders[i]);
    return D;
}

// The rows of the mirror test over the common denominator D: entry (i, j) is X_ji D / N_j.
void mirrorRows(const SCData* MD, int D, int* C) {
    const int M = mult(MD);
    for (int i = 0; i < M; i++)
        for (int j = 0; j < M; j++)
            C[i * M + j] = MD->Xmatrix[j * M + i] * (D / MD->dg->Orders[j]) % D;
}

// Calls visit(e, sums) for every group element e in order, where sums[r] is the sum over j of
// C[r M + j] b_j(e) modulo Mod[r] (entries of C reduced modulo Mod[r]). Element numbers count
// with factor 0 fastest, so each step adds one column, and takes N_j columns back where a
// component wraps: no division in the walk, which runs for every candidate of a search.
template <class Visit>
void walkElements(const Discrete_Group* dg, const std::vector<int>& C, const std::vector<int>& Mod,
                  Visit visit) {
    const int M = dg->Mult;
    const int rows = static_cast<int>(Mod.size());
    static std::vector<int> b, sums, wrap;
    b.assign(static_cast<std::size_t>(M), 0);
    sums.assign(static_cast<std::size_t>(rows), 0);
    wrap.assign(static_cast<std::size_t>(rows * std::max(M, 1)), 0);
    for (int r = 0; r < rows; r++)
        for (int j = 0; j < M; j++)
            wrap[static_cast<std::size_t>(r * M + j)] =
                static_cast<int>(static_cast<long long>(dg->Orders[j]) * C[r * M + j] % Mod[r]);
    for (int e = 0; e < dg->Order; e++) {
        if (!visit(e, sums.data()))
            return;
        for (int j = 0; j < M; j++) {
            const bool carry = ++b[static_cast<std::size_t>(j)] == dg->Orders[j];
            for (int r = 0; r < rows; r++) {
                int s = sums[static_cast<std::size_t>(r)] + C[static_cast<std::size_t>(r * M + j)];
                if (s >= Mod[static_cast<std::size_t>(r)])
                    s -= Mod[static_cast<std::size_t>(r)];
                if (carry) {
                    s -= wrap[static_cast<std::size_t>(r * M + j)];
                    if (s < 0)
                        s += Mod[static_cast<std::size_t>(r)];
                }
                sums[static_cast<std::size_t>(r)] = s;
            }
            if (!carry)
                break;
            b[static_cast<std::size_t>(j)] = 0;
        }
    }
}

std::vector<int> directRows(const SCData* MD) {
    const int M = mult(MD);
    return std::vector<int>(MD->Xmatrix, MD->Xmatrix + M * M);
}

std::vector<int> orders(const SCData* MD) {
    return std::vector<int>(MD->dg->Orders, MD->dg->Orders + mult(MD));
}

// The elements b a field pairs through depend on its charge vector alone, which is itself an
// element number: each vector's list is found once per table.
class PairingTable {
public:
    explicit PairingTable(const SCData* MD) : MD_(MD), M_(mult(MD)) {
        const int n = groupOrder(MD);
        sums_.resize(static_cast<std::size_t>(n) * M_);
        walkElements(MD->dg, directRows(MD), orders(MD), [this](int e, const int* s) {
            std::copy(s, s + M_, sums_.begin() + static_cast<std::ptrdiff_t>(e) * M_);
            return true;
        });
        lists_.resize(static_cast<std::size_t>(n));
        known_.assign(static_cast<std::size_t>(n), 0);
    }

    const std::vector<int>& elementsFor(int a) {
        int code = 0, weight = 1;
        for (int i = 0; i < M_; i++) {
            const int q = fieldCharge(MD_, i, a, MD_->dg->Orders[i]);
            if (q == NoCharge)
                return none_;
            code += q * weight;
            weight *= MD_->dg->Orders[i];
        }
        std::vector<int>& list = lists_[static_cast<std::size_t>(code)];
        if (!known_[static_cast<std::size_t>(code)]) {
            const int* q = components(MD_, code);
            for (int b = 0; b < groupOrder(MD_); b++)
                if (pairs(q, b))
                    list.push_back(b);
            known_[static_cast<std::size_t>(code)] = 1;
        }
        return list;
    }

private:
    bool pairs(const int* q, int b) const {
        const int* s = sums_.data() + static_cast<std::size_t>(b) * M_;
        for (int i = 0; i < M_; i++)
            if ((q[i] + s[i]) % MD_->dg->Orders[i] != 0)
                return false;
        return true;
    }

    const SCData* MD_;
    int M_;
    std::vector<int> sums_; // sum_j X_ij b_j mod N_i for every element b
    std::vector<std::vector<int>> lists_;
    std::vector<char> known_;
    std::vector<int> none_;
};

// The partner search's buffer: distinct partners from 0, the fixing currents from `order`.
std::vector<int> partnerBuffer;

// The partners of a (sorted, distinct) and the currents among the pairing elements that fix a.
int collectPartners(const SCData* MD, PairingTable& table, int a, int* buffer, int* fixcnt) {
    const int order = groupOrder(MD);
    int p = 0, f = 0;
    for (int b : table.elementsFor(a)) {
        const int x = simpleFusion(MD->map[b], a);
        buffer[p++] = x;
        if (x == a)
            buffer[order + f++] = MD->map[b];
    }
    std::sort(buffer, buffer + p);
    p = static_cast<int>(std::unique(buffer, buffer + p) - buffer);
    *fixcnt = f;
    return p;
}

int* partnerArea(const SCData* MD) {
    partnerBuffer.assign(2 * static_cast<std::size_t>(groupOrder(MD)) + 1, 0);
    return partnerBuffer.data();
}

bool integerDifference(const rat& x, const rat& y) {
    const long long num =
        static_cast<long long>(x.num) * y.den - static_cast<long long>(y.num) * x.den;
    return num % (static_cast<long long>(x.den) * y.den) == 0;
}

// The weights of the fields, read once each while one invariant is built.
class Weights {
public:
    const rat& operator()(int lbl) {
        if (static_cast<std::size_t>(lbl) >= known_.size()) {
            known_.resize(static_cast<std::size_t>(lbl) + 1, 0);
            values_.resize(static_cast<std::size_t>(lbl) + 1);
        }
        if (!known_[static_cast<std::size_t>(lbl)]) {
            values_[static_cast<std::size_t>(lbl)] = *ratWeight(lbl);
            known_[static_cast<std::size_t>(lbl)] = 1;
        }
        return values_[static_cast<std::size_t>(lbl)];
    }

private:
    std::vector<char> known_;
    std::vector<rat> values_;
};

int orbitUnder(const SCData* MD, const int* kernel, int* Rep, int a, Weights& weight) {
    const int K = MD->KernelSize;
    const rat ha = weight(a);
    for (int k = 0; k < K; k++) {
        Rep[k] = simpleFusion(kernel[k], a);
        if (!integerDifference(weight(Rep[k]), ha))
            return 0;
    }
    std::sort(Rep, Rep + K);
    const int distinct = static_cast<int>(std::unique(Rep, Rep + K) - Rep);
    const int s = K / distinct;
    return Rep[0] < a ? -s : s;
}

// Lays the partner lists out; null keeps the record's own primary selection out of it.
class InvariantBuilder {
public:
    InvariantBuilder(BulkInvariant* bi, const IntegerList* selection)
        : bi_(bi), MD_(bi->MD), table_(bi->MD), selection_(selection) {}

    void build() {
        const int N = bi_->Nprimaries;
        treated_.assign(static_cast<std::size_t>(N), 0);
        selected_.assign(static_cast<std::size_t>(N), selection_ ? 0 : 1);
        Rep_.assign(static_cast<std::size_t>(std::max(MD_->KernelSize, 1)), 0);
        buffer_.assign(2 * static_cast<std::size_t>(groupOrder(MD_)) + 1, 0);
        for (int a : fieldsToTreat())
            treat(a);
        if (overflow_)
            reportStorageOverflow("makeSimpleCurrentBulkInvariant", 0);
    }

private:
    std::vector<int> fieldsToTreat() {
        const int N = bi_->Nprimaries;
        std::vector<int> fields;
        if (!selection_) {
            fields.resize(static_cast<std::size_t>(N));
            std::iota(fields.begin(), fields.end(), 0);
            return fields;
        }
        fields.push_back(0);
        for (int k = 0; k < selection_->cnt; k++)
            fields.push_back(selection_->list.X[k]);
        for (int a : fields)
            if (a >= 0 && a < N)
                selected_[static_cast<std::size_t>(a)] = 1;
        return fields;
    }

    void treat(int a) {
        if (a < 0 || a >= bi_->Nprimaries || treated_[static_cast<std::size_t>(a)])
            return;
        int s = orbitUnder(MD_, MD_->LeftKernel, Rep_.data(), a, weight_);
        if (s != 0 && !selected_[static_cast<std::size_t>(Rep_[0])]) {
            a = Rep_[0];
            if (treated_[static_cast<std::size_t>(a)])
                return;
            s = orbitUnder(MD_, MD_->LeftKernel, Rep_.data(), a, weight_);
        }
        const int m = std::abs(s);
        if (a == 0 && s != 0) {
            std::copy(Rep_.begin(), Rep_.begin() + MD_->KernelSize, bi_->left_extension);
            bi_->left_extension_size = MD_->KernelSize;
        }
        if (s == 0) {
            setRow(a, 0, 0, nullptr);
            return;
        }
        if (s < 0 && MD_->Symmetric == 1)
            return; // the orbit's smallest member lays it out
        const std::vector<int> members(Rep_.begin(), Rep_.begin() + MD_->KernelSize / m);
        if (MD_->Symmetric == 1) {
            int f = 0;
            const int p = collectPartners(MD_, table_, a, buffer_.data(), &f);
            int* list = place(p, f);
            for (int x : members)
                setRow(x, list ? p : 0, m, list);
            return;
        }
        for (int x : members) {
            int f = 0;
            const int p = collectPartners(MD_, table_, x, buffer_.data(), &f);
            int* list = place(p, f);
            setRow(x, list ? p : 0, m, list);
        }
    }

    // The p partners followed by the f fixing currents; null when the area has no room.
    int* place(int p, int f) {
        if (used_ + p + f > bi_->orbitspace) {
            overflow_ = true;
            return nullptr;
        }
        int* start = bi_->Data.X + 3 * bi_->Nprimaries + used_;
        std::copy(buffer_.begin(), buffer_.begin() + p, start);
        const int order = groupOrder(MD_);
        std::copy(buffer_.begin() + order, buffer_.begin() + order + f, start + p);
        used_ += p + f;
        return start;
    }

    void setRow(int x, int p, int m, int* list) {
        bi_->orbitlength[x] = p;
        bi_->multiplicity[x] = list ? m : 0;
        bi_->orbits[x] = list;
        treated_[static_cast<std::size_t>(x)] = 1;
    }

    BulkInvariant* bi_;
    SCData* MD_;
    PairingTable table_;
    const IntegerList* selection_;
    Weights weight_;
    std::vector<char> treated_;
    std::vector<char> selected_;
    std::vector<int> Rep_;
    std::vector<int> buffer_;
    int used_ = 0;
    bool overflow_ = false;
};

void buildSimpleCurrentInvariant(BulkInvariant* bi, const IntegerList* selection) {
    SCData* MD = bi->MD;
    const int N = theoryPrimaries();
    const int order = groupOrder(MD);
    allocBulkInvariantData(bi, N, (order + 1) * N);
    if (order == 1) {
        setDiagonalInvariant(bi);
        return;
    }
    bi->left_extension_size = 0;
    InvariantBuilder(bi, selection).build();
    bi->trivial = 0;
    bi->conjugation = 0;
    bi->simpleCurrentInvariant = 1;
    bi->hasTachyons = bi->susy_L = bi->susy_R = -1;
    bi->symmetric = MD->Symmetric;
    bi->IshibashiLabelCount = LabelCount(bi);
    bi->right_extension = bi->orbits[0];
}

} // namespace

// ============================================================ The pairing condition

int checkDeltaArgument(SCData* MD, int a, int b) {
    const int M = mult(MD);
    const int* e = components(MD, b);
    for (int i = 0; i < M; i++) {
        const int N = MD->dg->Orders[i];
        const int q = fieldCharge(MD, i, a, N);
        if (q == NoCharge)
            return 0;
        long long sum = q;
        for (int j = 0; j < M; j++)
            sum += static_cast<long long>(MD->Xmatrix[i * M + j]) * e[j];
        if (sum % N != 0)
            return 0;
    }
    return 1;
}

int checkDeltaArgumentMirror(SCData* MD, int a, int b) {
    const int M = mult(MD);
    const int D = exponent(MD);
    std::vector<int> C(static_cast<std::size_t>(M * M));
    mirrorRows(MD, D, C.data());
    const int* e = components(MD, b);
    for (int i = 0; i < M; i++) {
        const int q = fieldCharge(MD, i, a, D);
        if (q == NoCharge)
            return 0;
        long long sum = q;
        for (int j = 0; j < M; j++)
            sum += static_cast<long long>(C[static_cast<std::size_t>(i * M + j)]) * e[j];
        if (sum % D != 0)
            return 0;
    }
    return 1;
}

int checkDeltaArgumentForCharges(SCData* MD, const int* Charges, int b) {
    const int M = mult(MD);
    const int* e = components(MD, b);
    for (int i = 0; i < M; i++) {
        long long sum = Charges[i];
        for (int j = 0; j < M; j++)
            sum += static_cast<long long>(MD->Xmatrix[i * M + j]) * e[j];
        if (sum % MD->dg->Orders[i] != 0)
            return 0;
    }
    return 1;
}

// ============================================================ Kernels and partners

void allocateKernel(SCData* MD) {
    const int order = groupOrder(MD);
    MD->Kernels.reserve(2 * order);
    MD->LeftKernel = MD->Kernels.X;
    MD->RightKernel = MD->Kernels.X + order;
}

void getXKernels(SCData* MD) {
    allocateKernel(MD);
    const int M = mult(MD);
    const int D = exponent(MD);
    // Rows 0 .. M-1 test the vacuum's partners, rows M .. 2M-1 the mirror condition.
    static std::vector<int> C, Mod;
    C.assign(MD->Xmatrix, MD->Xmatrix + M * M);
    C.resize(static_cast<std::size_t>(2 * M * M));
    mirrorRows(MD, D, C.data() + M * M);
    Mod.assign(MD->dg->Orders, MD->dg->Orders + M);
    Mod.resize(static_cast<std::size_t>(2 * M), D);
    int right = 0, left = 0;
    walkElements(MD->dg, C, Mod, [&](int e, const int* s) {
        if (std::all_of(s, s + M, [](int x) { return x == 0; }))
            MD->RightKernel[right++] = MD->map[e];
        if (std::all_of(s + M, s + 2 * M, [](int x) { return x == 0; }))
            MD->LeftKernel[left++] = MD->map[e];
        return true;
    });
    if (left != right)
        Alert("getXKernels", 0, 212404, "Different sizes for left- and right chiral algebras");
    MD->KernelSize = right;
}

int* getRightFields(SCData* MD, int a, int* orblen, int* fixcnt) {
    PairingTable table(MD);
    int* buffer = partnerArea(MD);
    *orblen = collectPartners(MD, table, a, buffer, fixcnt);
    return buffer;
}

int getRightField(SCData* MD, int a) {
    for (int b = 0; b < groupOrder(MD); b++)
        if (checkDeltaArgument(MD, a, b))
            return simpleFusion(MD->map[b], a);
    Alert("getRightField", 0, 212404, "No anti-chiral partner found for field %d", a);
    return -1;
}

int getLeftOrbit(SCData* MD, int* Rep, int a) {
    Weights weight;
    return orbitUnder(MD, MD->LeftKernel, Rep, a, weight);
}

int getRightOrbit(SCData* MD, int* Rep, int a) {
    Weights weight;
    return std::abs(orbitUnder(MD, MD->RightKernel, Rep, a, weight));
}

// ============================================================ The invariant

void makeSimpleCurrentBulkInvariant(BulkInvariant* bi) {
    const IntegerList* selection = searchCriteria().PrimarySelection;
    if (selection)
        bi->MD->truncated = 1;
    else
        bi->MD->truncated = 0;
    buildSimpleCurrentInvariant(bi, selection);
}

void RecomputeBulkInvariant(BulkInvariant* bi) {
    if (!bi || bi->MD->truncated != 1)
        return;
    Print("Recomputing MIPF (because of previous truncation)\n");
    buildSimpleCurrentInvariant(bi, nullptr);
}

int checkInvolution(SCData* MD) {
    PairingTable table(MD);
    const int N = theoryPrimaries();
    auto firstPartner = [&](int a) {
        const std::vector<int>& list = table.elementsFor(a);
        if (list.empty()) {
            Alert("checkInvolution", 0, 212404, "No anti-chiral partner found for field %d", a);
            return -1;
        }
        return simpleFusion(MD->map[list.front()], a);
    };
    for (int a = 0; a < N; a++) {
        const int b = firstPartner(a);
        if (b < 0 || firstPartner(b) != a)
            return 0;
    }
    return 1;
}

// For each element a, read as a charge vector, the current whose element b compensates it. The
// decided entries form a group: products of decided ones are decided at once.
void makeChargeMap(SCData* MD) {
    if (MD->ChargeMapAvailable == 1)
        return;
    const int order = groupOrder(MD);
    const int target = order / std::max(MD->KernelSize, 1);
    MD->ChargeMap.reserve(order);
    int* map = MD->ChargeMap.X;
    std::fill(map, map + order, -2);
    std::vector<int> compensator(static_cast<std::size_t>(order), -1);
    int count = 0;
    for (int a = 0; a < order && count < target; a++) {
        if (map[a] != -2)
            continue;
        int b = 0;
        while (b < order && !checkDeltaArgumentForCharges(MD, components(MD, a), b))
            b++;
        if (b == order) {
            map[a] = -1;
            continue;
        }
        map[a] = MD->map[b];
        compensator[static_cast<std::size_t>(a)] = b;
        count++;
        std::vector<int> decided;
        for (int c = 0; c < order; c++)
            if (map[c] >= 0)
                decided.push_back(c);
        for (int c : decided) {
            const int ac = DG_product(a, c, MD->dg);
            if (map[ac] != -2)
                continue;
            const int bc = DG_product(b, compensator[static_cast<std::size_t>(c)], MD->dg);
            map[ac] = MD->map[bc];
            compensator[static_cast<std::size_t>(ac)] = bc;
            count++;
        }
    }
    if (count >= target) {
        std::replace(map, map + order, -2, -1);
        return;
    }
    printVec(order, map, "ChargeMap");
    std::printf("Total: %d\n", count);
}
