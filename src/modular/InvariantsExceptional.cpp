// Invariants given as matrices: read from the user's text (sums of products of field sums, or a
// permutation in cycles), built in for a few blocks, checked against S, and turned into records.
#include "modular/Invariants.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/StringUtility.h"
#include "base/Terminal.h"
#include "modular/InvariantsInternal.h"
#include "modular/Modular.h"
#include "numeric/MathUtility.h"
#include "store/Storemanager.h"
#include "tensor/Coset.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <string>
#include <vector>

using namespace invariants_internal;

namespace {

// The work area the text and built-in builders fill, N x N row-major.
GuardedArray<int> modmat{"modmat", &Invariants_alloc};

int* zeroedMatrix(int N) {
    const std::size_t n = static_cast<std::size_t>(N) * static_cast<std::size_t>(N);
    int* Z = modmat.reserve(static_cast<int>(n > 0 ? n : 1));
    std::fill(Z, Z + n, 0);
    return Z;
}

// The items "k*a" or "a" of a field sum, as (k, a).
std::vector<std::pair<int, int>> items(const char* group) {
    std::vector<std::pair<int, int>> result;
    std::string text(group);
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('+', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string item = text.substr(start, end - start);
        if (!item.empty()) {
            const std::size_t star = item.find('*');
            if (star == std::string::npos)
                result.emplace_back(1, std::atoi(item.c_str()));
            else
                result.emplace_back(std::atoi(item.substr(0, star).c_str()),
                                    std::atoi(item.substr(star + 1).c_str()));
        }
        start = end + 1;
    }
    return result;
}

} // namespace

int addEntries(int* Z, const char* left, const char* right, int mult) {
    const int N = theoryPrimaries();
    const char* groups[2] = {left, right};
    std::vector<std::pair<int, int>> parsed[2];
    for (int side = 0; side < 2; side++) {
        for (const char* p = groups[side]; *p; p++)
            if (!std::isdigit(static_cast<unsigned char>(*p)) && *p != '+' && *p != '*') {
                Alert("addEntries", side, 100302, "Invalid character \"%c\" in input string", *p);
                return 0;
            }
        parsed[side] = items(groups[side]);
        for (const auto& item : parsed[side])
            if (item.second < 0 || item.second >= N) {
                Alert("addEntries", 2 + side, 100302, "Label %d out of range", item.second);
                return 0;
            }
    }
    for (const auto& [k, a] : parsed[0])
        for (const auto& [kk, b] : parsed[1])
            Z[static_cast<std::size_t>(a) * N + b] += k * mult * kk;
    return 1;
}

int* buildAutomorphism(int* Z, const char* inputstring) {
    const int N = theoryPrimaries();
    std::fill(Z, Z + static_cast<std::size_t>(N) * N, 0);
    for (int a = 0; a < N; a++)
        Z[static_cast<std::size_t>(a) * N + a] = 1;
    const char* p = inputstring;
    auto next2 = [](const char* q) {
        return std::string(1, q[0]) + (q[0] ? std::string(1, q[1]) : std::string());
    };
    while (*p) {
        if (*p != '<') {
            Alert("buildAutomorphism", 1, 100302, "Syntax error: %s...", next2(p).c_str());
            return nullptr;
        }
        p++;
        std::vector<int> cycle;
        for (;;) {
            if (*p == '\0')
                return nullptr;
            if (!std::isdigit(static_cast<unsigned char>(*p))) {
                Alert("buildAutomorphism", 0, 100302, "Non-numerical label: %s...",
                      next2(p).c_str());
                return nullptr;
            }
            char* end = nullptr;
            const long label = std::strtol(p, &end, 10);
            if (label < 0 || label >= N) {
                Alert("buildAutomorphism", cycle.empty() ? 2 : 3, 100302, "Label: %ld out of range",
                      label);
                return nullptr;
            }
            cycle.push_back(static_cast<int>(label));
            p = end;
            if (*p == ',') {
                p++;
                continue;
            }
            if (*p == '>' && cycle.size() >= 2) {
                p++;
                break;
            }
            if (*p == '\0' && cycle.size() == 1)
                return nullptr;
            // A lone label closed at once is no cycle: a second label was expected.
            if (*p == '>') {
                Alert("buildAutomorphism", 0, 100302, "Non-numerical label: %s...",
                      next2(p).c_str());
                return nullptr;
            }
            Alert("buildAutomorphism", 2, 100302, "Syntax error: %s...", next2(p).c_str());
            return nullptr;
        }
        const std::size_t n = cycle.size();
        for (std::size_t k = 0; k < n; k++) {
            const int a = cycle[k];
            const int b = cycle[(k + 1) % n];
            Z[static_cast<std::size_t>(a) * N + a] = 0;
            Z[static_cast<std::size_t>(a) * N + b] = 1;
        }
    }
    return Z;
}

int* buildMatrix(const char* inputstring) {
    const int N = theoryPrimaries();
    int* Z = zeroedMatrix(N);
    if (inputstring[0] == '<')
        return buildAutomorphism(Z, inputstring);
    std::string text(inputstring);
    char* p = text.data();
    bool first = true;
    for (;;) {
        if (*p == '\0')
            return Z;
        if (!first) {
            if (*p != '+') {
                Alert("buildMatrix", 3, 100302, "Syntax error: unexpected %c", *p);
                return nullptr;
            }
            p++;
            if (*p == '\0')
                return Z;
        }
        first = false;
        int mult = 1;
        if (*p != '(') {
            if (!std::isdigit(static_cast<unsigned char>(*p))) {
                Alert("buildMatrix", 0, 100302, "Non-numerical multiplicity factor: %c...", *p);
                return nullptr;
            }
            char* end = nullptr;
            mult = static_cast<int>(std::strtol(p, &end, 10));
            p = end;
            if (*p == '\0')
                return Z;
            if (p[0] != '*' || p[1] != '(') {
                Alert("buildMatrix", 1, 100302, "Syntax error: %c%c...", p[0], p[1] ? p[1] : ' ');
                return nullptr;
            }
            p++;
        }
        char* open = std::strchr(p, '(');
        if (!open)
            return Z;
        char* next = nullptr;
        char* left = findBracketContents(open, '(', ')', &next);
        if (!left)
            return nullptr;
        p = next;
        char* right = nullptr;
        if (p[0] == '^' && p[1] == '2') {
            right = left;
            p += 2;
        } else if (p[0] == '(' || p[0] == '*') {
            char* ropen = p[0] == '(' ? p : std::strchr(p, '(');
            if (!ropen) {
                Alert("buildMatrix", 2, 100302, "Syntax error");
                return nullptr;
            }
            right = findBracketContents(ropen, '(', ')', &next);
            if (!right)
                return nullptr;
            p = next;
        } else {
            Alert("buildMatrix", 1, 100302, "Missing anti-holomorphic factor");
            return nullptr;
        }
        if (!addEntries(Z, left, right, mult))
            return nullptr;
    }
}

int checkInvariant(const int* Z, int maxerr) {
    const int N = theoryPrimaries();
    // The commutator is formed from the non-zero entries only: a sparse Z costs N per entry.
    struct Entry {
        int a, b, z;
    };
    std::vector<std::vector<Entry>> rows(static_cast<std::size_t>(N));
    std::vector<Entry> all;
    for (int a = 0; a < N; a++)
        for (int b = 0; b < N; b++)
            if (const int z = Z[static_cast<std::size_t>(a) * N + b]) {
                rows[static_cast<std::size_t>(a)].push_back({a, b, z});
                all.push_back({a, b, z});
            }
    std::vector<double> re(static_cast<std::size_t>(N)), im(static_cast<std::size_t>(N));
    int failures = 0;
    double total = 0;
    int result = 1;
    startProgressInfo("Checking Modular Invariant", N, 1);
    for (int i = 0; i < N && result; i++) {
        std::fill(re.begin(), re.end(), 0.0);
        std::fill(im.begin(), im.end(), 0.0);
        for (const Entry& e : rows[static_cast<std::size_t>(i)])
            for (int j = 0; j < N; j++) {
                double sr = 0, si = 0;
                compS(e.b, j, &sr, &si);
                re[static_cast<std::size_t>(j)] += e.z * sr;
                im[static_cast<std::size_t>(j)] += e.z * si;
            }
        for (const Entry& e : all) {
            double sr = 0, si = 0;
            compS(i, e.a, &sr, &si);
            re[static_cast<std::size_t>(e.b)] -= e.z * sr;
            im[static_cast<std::size_t>(e.b)] -= e.z * si;
        }
        for (int j = 0; j < N; j++) {
            const double r = re[static_cast<std::size_t>(j)];
            const double m = im[static_cast<std::size_t>(j)];
            total += r * r + m * m;
            if (!ZeroCheck(r) || !ZeroCheck(m)) {
                Alert("checkInvariant", 0, 100208,
                      "Invariance failure for %d,%d\nDeviations: %25.15f, %25.15f", i, j, r, m);
                if (++failures > maxerr) {
                    result = 0;
                    break;
                }
            }
        }
        if (incrementProgressInfo())
            result = 0;
    }
    stopProgressInfo("Checking Modular Invariant");
    if (failures > 0) {
        Alert("checkInvariant", 2, 100208,
              "Number of failures: %d\nTotal deviation (r.m.s.): %25.15f", failures,
              std::sqrt(total));
        return 0;
    }
    return result;
}

void makeExceptionalBulkInvariant(const int* Z, BulkInvariant* bi, int store, int prnt) {
    const int N = theoryPrimaries();
    std::int64_t T = 0;
    for (std::size_t k = 0; k < static_cast<std::size_t>(N) * N; k++)
        T += std::abs(Z[k]);
    std::int64_t column0 = 0;
    for (int a = 0; a < N; a++)
        column0 += Z[static_cast<std::size_t>(a) * N];
    // The vacuum column may sum to more than the N slots of the extension list: the list then
    // takes the end of the partner area.
    const std::int64_t extra = column0 > N ? column0 : 0;
    resetBulkInvariant(bi);
    allocBulkInvariantData(bi, N, static_cast<int>(T + extra));
    bi->simpleCurrentInvariant = 0;
    bi->conjugation = 0;
    bi->hasTachyons = bi->susy_L = bi->susy_R = -1;
    int* area = bi->Data.X + 3 * N;
    int used = 0;
    for (int a = 0; a < N; a++) {
        const int* row = Z + static_cast<std::size_t>(a) * N;
        int g = 0;
        for (int b = 0; b < N; b++)
            g = std::gcd(g, row[b]);
        bi->multiplicity[a] = g;
        int length = 0;
        if (g != 0)
            for (int b = 0; b < N; b++)
                for (int r = 0; r < row[b] / g; r++)
                    area[used + length++] = b;
        bi->orbitlength[a] = length;
        bi->orbits[a] = length ? area + used : nullptr;
        used += length;
    }
    if (extra)
        bi->left_extension = area + T;
    int size = 0;
    for (int a = 0; a < N; a++)
        for (int r = 0; r < Z[static_cast<std::size_t>(a) * N]; r++)
            bi->left_extension[size++] = a;
    bi->left_extension_size = size;
    bi->right_extension = bi->orbits[0];
    bi->trivial = 0;
    int ishibashi = 0;
    for (int a = 0; a < N; a++)
        ishibashi += Z[static_cast<std::size_t>(a) * N + a];
    bi->IshibashiLabelCount = ishibashi;
    bool symmetric = true;
    for (int a = 0; a < N && symmetric; a++)
        for (int b = a + 1; b < N && symmetric; b++)
            symmetric =
                Z[static_cast<std::size_t>(a) * N + b] == Z[static_cast<std::size_t>(b) * N + a];
    bi->symmetric = symmetric ? 1 : 0;
    if (prnt == 1) {
        if (store == 0)
            Print("\nModular invariant partition function: \n");
        printBulkInvariant(bi, 0);
        Print("\n");
    }
    if (store == 1 && param(Par::Autostore))
        storeBulkInvariant(nullptr, bi, 1, 1);
}

int acceptCandidateInvariant(int* Z, int check, int store, int select, int prnt) {
    BulkInvariant* target = select ? getLocalBulk() : getDummyBulk();
    if (store == 1)
        store = param(Par::Autostore) ? 1 : 0;
    if (check == 1) {
        if (!checkInvariant(Z, 10)) {
            if (select == 1 || store == 1)
                Alert("acceptCandidateInvariant", 1, 100302, "Not modular invariant");
            else
                Print("Not modular invariant\n");
            return 0;
        }
        if (store == 0 && select == 0)
            Print("Modular invariance OK\n");
    }
    if (prnt == 1)
        Print("-------------------------------------------------------\n");
    if (store == 1 || select == 1 || prnt == 1)
        makeExceptionalBulkInvariant(Z, target, store, prnt);
    if (select == 1) {
        setCurrentBulkInvariant(target);
        bulkInvariantChanged();
    }
    return 1;
}

int buildInvariant(const char* invstring, int select) {
    std::string text(invstring ? invstring : "");
    for (char& c : text)
        if (c == '\n')
            c = ' ';
    stripblanks(text.data());
    text.resize(std::strlen(text.c_str()));
    if (!text.empty() && std::isalnum(static_cast<unsigned char>(text[0]))) {
        BulkInvariant* bi = getBulkInvariantForUserInput(text.c_str());
        if (!bi || !checkSelectionCriteria(bi))
            return 1;
        if (select == 1) {
            setCurrentBulkInvariant(bi);
            bulkInvariantChanged();
        }
        return 0;
    }
    initSMATRIX();
    int* Z = buildMatrix(text.c_str());
    if (!Z)
        return 0;
    const int N = theoryPrimaries();
    if (std::all_of(Z, Z + static_cast<std::size_t>(N) * N, [](int z) { return z == 0; })) {
        Alert("buildInvariant", 0, 100302, "Invariant is zero");
        return 0;
    }
    acceptCandidateInvariant(Z, 1, 1, select, 0);
    return 0;
}

void buildExceptionalInvariant(int mode) {
    const int N = theoryPrimaries();
    int* Z = zeroedMatrix(N);
    if (mode == -1)
        return;
    if (mode > 6) {
        Alert("buildExceptionalInvariant", 0, 212404,
              "Invalid mode %d (in buildExceptionalInvariant)", mode);
        std::exit(1);
    }
    for (int i = 0; i < N; i++)
        for (int j = 0; j < N; j++)
            Z[static_cast<std::size_t>(j) * N + i] = ExceptionalModularMatrix(i, j, mode);
    acceptCandidateInvariant(Z, 1, 1, 1, 1);
}

void buildExceptionalTensorInvariant(const int* modes) {
    const int N = theoryPrimaries();
    int* Z = zeroedMatrix(N);
    getExceptionalTensorModularMatrix(Z, modes);
    // A large product is taken unchecked: its S comes element by element from the factors.
    if (N >= 150) {
        Print("Too many primaries; invariant not checked\n");
        acceptCandidateInvariant(Z, 0, 1, 1, 1);
    } else {
        acceptCandidateInvariant(Z, 1, 1, 1, 1);
    }
}
